// ulx_guqw and ulx_guwt: Real16 to Fixed128 at scale k (truncated) and back
// (rounded to nearest, ties to even); the rules are those of from_real16
// and to_real16 in fixed128.h. The Real16 operand of ulx_guqw comes by
// value, four words, word 0 first.
#include "fixed/fixed128.h"

void ulx_guqw(int32_t k, Real16 x, Fixed128 *out) {
  *out = vx::fixed::store(vx::fixed::from_real16(k, vx::quad::bits_of(x)));
}

void ulx_guwt(int32_t k, const Fixed128 *n, Real16 *out) {
  *out = vx::quad::real16_from_bits(vx::fixed::to_real16(k, vx::fixed::load(*n)));
}
