// Error 1375, operands that do not conform. The report carries no argument
// slot and no values: the value count and both value descriptors (address,
// type code, pad) are written 0 before the handler is called. Nothing is
// computed again whatever the handler answers; for MATMUL the result
// descriptor's strides and extents are then set to 0.
#include "frame/block_fields.h"
#include "frame/control_block.h"
#include "frame/error_numbers.h"
#include "frame/errors.h"
#include "frame/runtime_imports.h"
#include "matmul/descriptor.h"

namespace vx::matmul {

void report_mismatch() {
  put_field<std::int32_t>(ulx_lca, cb::kValueCount, 0);
  put_field<const void *>(ulx_lca, cb::kValue1Addr, nullptr);
  put_field<std::uint16_t>(ulx_lca, cb::kValue1Type, 0);
  put_field<std::uint16_t>(ulx_lca, cb::kValue1Pad, 0);
  put_field<const void *>(ulx_lca, cb::kValue2Addr, nullptr);
  put_field<std::uint16_t>(ulx_lca, cb::kValue2Type, 0);
  put_field<std::uint16_t>(ulx_lca, cb::kValue2Pad, 0);
  raise_intrinsic_error(err::kMatmulShape, nullptr, nullptr, nullptr, 0);
}

void report_shape_error(const ArrayDescriptor &r) {
  report_mismatch();
  const int rank = r.rank < 2 ? r.rank : 2;
  for (int k = 0; k < rank; ++k) {
    *r.dim[k].stride_ref = 0;
    *r.dim[k].extent_ref = 0;
  }
}

}  // namespace vx::matmul
