// The load-time check of the processor's FPATAN against the bound the arc
// tangents' SSE route assumes (cpu::x87_atan).
#include "common/x87.h"
#include "elem/inverse_trig/atan_route.h"

namespace vx {

// FPATAN(y, x) within one unit of the 64-bit significand of `rounded`,
// atan2(y, x) correctly rounded to 64 bits (MPFR), at the pi/4 and pi/2
// points, next to pi and in the third quadrant.
bool x87_atan_probe() {
  struct Point {
    double y, x;
    long double rounded;
  };
  static constexpr Point kPoints[] = {
      {0x1p+0, 0x1p+0, 0xc.90fdaa22168c235p-4L},   {-0x1p+0, -0x1.8p+1, -0xb.4784afefac9e11p-2L},
      {0x1p-30, -0x1p+0, 0xc.90fdaa12168c235p-2L}, {0x1.8p+1, 0x1p-20, 0xc.90fd7f776be178ap-3L},
      {0x1p-1, 0x1p+0, 0xe.d63382b0dda7b45p-5L},   {-0x1.8p+10, 0x1p-3, -0xc.90d2ff776d7603bp-3L}};
  for (const Point &p : kPoints) {
    const long double f = x87::fpatan(p.y, p.x);
    const long double unit = __builtin_fabsl(p.rounded) * 0x1p-63L;  // at least one unit
    if (!(__builtin_fabsl(f - p.rounded) <= unit)) return false;
  }
  return true;
}

}  // namespace vx
