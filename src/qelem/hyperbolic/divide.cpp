// ulx_gddq: a Real8 a divided by a Real16 b, both by value, into a Real16:
// +0 when word 3 of b is 0, otherwise g_qextd(a) / b by g_aqdq (which
// reports a division by a -0 and the quotient's overflow or underflow).
#include "qelem/real16_ops.h"

Real16 *ulx_gddq(Real16 *result, double a, Real16 b) {
  if (b.w[3] == 0) return vx::store_result(result, vx::quad::kZero);
  Real16 wide;
  g_qextd(&wide, &a);
  return g_aqdq(result, &wide, &b);
}
