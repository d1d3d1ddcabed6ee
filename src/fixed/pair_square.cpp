// ulx_guwc and ulx_guwq: the rescaled pair of the arc kernels (the flag is
// 1 when b was the larger and the two were swapped) and the truncated
// square; the rules are those of rescale_pair and square in fixed128.h.
#include "fixed/fixed128.h"

void ulx_guwc(int32_t *flag_out, Fixed128 *a, Fixed128 *b) {
  const vx::fixed::Pair p = vx::fixed::rescale_pair(vx::fixed::load(*a), vx::fixed::load(*b));
  *flag_out = p.swapped ? 1 : 0;
  *a = vx::fixed::store(p.x);
  *b = vx::fixed::store(p.y);
}

void ulx_guwq(const Fixed128 *in, Fixed128 *out) {
  *out = vx::fixed::store(vx::fixed::square(vx::fixed::load(*in)));
}
