// raise_intrinsic_error and signal_arith_exception: the protocol with the
// core runtime. Field writes happen in the order the runtime expects; only
// the fields named in control_block.h are touched.
#include "frame/errors.h"

#include "common/x87.h"
#include "frame/block_fields.h"
#include "frame/control_block.h"
#include "frame/runtime_imports.h"

namespace vx {
namespace {

using Handler = void (*)(void *record);

}  // namespace

bool infinity_defaults() { return get_field<std::uint8_t>(ulx_lca, cb::kInfinityFlag) == 1; }

std::int32_t raise_intrinsic_error(std::int32_t number, void *slot1, void *slot2,
                                   const ValueRef *values, int count) {
  put_field<void *>(ulx_lca, cb::kResumeRef, ulx_lca + cb::kResumeWord);
  put_field<void *>(ulx_lca, cb::kArgSlot1, slot1);
  if (slot2 != nullptr) put_field<void *>(ulx_lca, cb::kArgSlot2, slot2);
  put_field<std::int32_t>(ulx_lca, cb::kErrorNumber, number);
  put_field<std::uint8_t>(ulx_lca, cb::kClearByte1, 0);
  put_field<std::uint8_t>(ulx_lca, cb::kClearByte2, 0);
  put_field<std::int32_t>(ulx_lca, cb::kClearWord1, 0);
  put_field<std::int32_t>(ulx_lca, cb::kClearWord2, 0);
  put_field<std::uint8_t>(ulx_lca, cb::kClearByte3, 0);
  put_field<std::uint8_t>(ulx_lca, cb::kClearByte4, 0);
  put_field<std::int32_t>(ulx_lca, cb::kClearWord3, 0);
  if (count > 0) {
    put_field<std::int32_t>(ulx_lca, cb::kValueCount, count);
    put_field<const void *>(ulx_lca, cb::kValue1Addr, values[0].address);
    put_field<std::uint16_t>(ulx_lca, cb::kValue1Type, values[0].type);
    put_field<std::uint16_t>(ulx_lca, cb::kValue1Pad, 0);
    if (count > 1) {
      put_field<const void *>(ulx_lca, cb::kValue2Addr, values[1].address);
      put_field<std::uint16_t>(ulx_lca, cb::kValue2Type, values[1].type);
      put_field<std::uint16_t>(ulx_lca, cb::kValue2Pad, 0);
    }
  }
  // A runtime always installs a handler; without one there is nobody to ask
  // for a replacement, so the default is the only answer.
  Handler handler = get_field<Handler>(ulx_lca, cb::kHandler);
  if (handler == nullptr) return 0;
  handler(ulx_lca + cb::kRecord);
  return get_field<std::int32_t>(ulx_lca, cb::kResumeWord);
}

std::int32_t signal_arith_exception(std::int32_t number, void *slot1, void *slot2,
                                    const ValueRef *values, int count) {
  if (ulx_x_init == 0) {
    ulx_x_init = 2;
    std::uint32_t record[3] = {0, 0, 0};
    ulx_xint(record);
  }
  x87::fwait();
  if (get_field<std::uint8_t>(ulx_lca, cb::kReportFlag) == 1 &&
      get_field<std::uint8_t>(ulx_lca, cb::kMuteFlag) == 0)
    return raise_intrinsic_error(number, slot1, slot2, values, count);
  return 0;
}

}  // namespace vx
