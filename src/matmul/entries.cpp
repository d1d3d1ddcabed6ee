// The MATMUL entries: g_matmlr (Real4), g_matmld (Real8), g_matmlq
// (Real16), g_matmlc (Complex8), g_matmlx (Complex16), g_matmlz
// (Complex32), and ulx_gmd2, ulx_gmx2, the Real8 and Complex16 products of
// operands on 8-byte boundaries, to which g_matmld and g_matmlx hand such
// calls. The argument is the address of (result, A, B) descriptors; the
// product is in the result's storage and its shape in the result
// descriptor. Error 1375 (no values) for operands that do not conform.
#include <vexmorg/vexmorg.h>

#include <cstdint>

#include "matmul/driver.h"
#include "matmul/real16_elements.h"
#include "matmul/x87_elements.h"

namespace {

using namespace vx::matmul;

bool both_aligned8(const MatmulArgs *list) {
  const auto a = reinterpret_cast<std::uintptr_t>(list->a->data_address);
  const auto b = reinterpret_cast<std::uintptr_t>(list->b->data_address);
  return ((a | b) & 7) == 0;
}

}  // namespace

void g_matmlr(const MatmulArgs *list) { matmul<X87Real<float>>(list); }
void g_matmlq(const MatmulArgs *list) { matmul<Real16Elements>(list); }
void g_matmlc(const MatmulArgs *list) { matmul<X87Complex<Complex8>>(list); }
void g_matmlz(const MatmulArgs *list) { matmul<Complex32Elements>(list); }
void ulx_gmd2(const MatmulArgs *list) { matmul<X87Real<double>>(list); }
void ulx_gmx2(const MatmulArgs *list) { matmul<X87Complex<Complex16>>(list); }

void g_matmld(const MatmulArgs *list) {
  if (both_aligned8(list)) return ulx_gmd2(list);
  matmul<X87Real<double>>(list);
}

void g_matmlx(const MatmulArgs *list) {
  if (both_aligned8(list)) return ulx_gmx2(list);
  matmul<X87Complex<Complex16>>(list);
}
