// ulx_gush: sinh and cosh of x for |x| up to 1.1181730 (the sum of the
// hyperbolic angles), the kernel of the Real16 hyperbolic functions. Mode
// bit 0 asks for sinh x at sinh_out, bit 1 for cosh x at cosh_out.
//
//   |x| > 0x3ff88937 (about 0.012): hyperbolic CORDIC in Fixed128 at scale
//     1 from X = rk, Y = 0 over the shifts 1, 2, 3, 4, 4, 5, ..., 13, 13,
//     ..., 40, 40, ..., 64 (the repeats make the rotations converge), then
//     Y += X z, X += Y z on the residual z; sinh = Y with the sign of x,
//     cosh = X.
//   2^-64 <= |x|: sinh = x + x (s (f0 + s (f1 + ...))), cosh = 1 + s (g1 +
//     ...), s = x^2, in Real16 arithmetic.
//   below: sinh = x (bit for bit), cosh = 1.
// cordic_internal_test measures each regime against MPFR.
#include "fixed/cordic.h"
#include "fixed/tables/angles.h"
#include "quad/operators.h"

namespace {

using namespace vx::fixed;
using vx::real16_from_words;
namespace w128 = vx::w128;

// sinh(x)/x - 1 over x^2, and cosh: the series coefficients of the
// polynomial regime, Real16 words (word 3 first).
constexpr Real16 f[5] = {
    real16_from_words(0x3ffc5555, 0x55555555, 0x55555555, 0x55558dcd),  // ~1/6
    real16_from_words(0x3ff81111, 0x11111111, 0x1111110c, 0xade4ca98),  // ~1/120
    real16_from_words(0x3ff2a01a, 0x01a01a01, 0xa098f24c, 0x3eba215b),  // ~1/5040
    real16_from_words(0x3fec71de, 0x3a5565f7, 0xbee09508, 0x138555ad),  // ~1/362880
    real16_from_words(0x3fe5ae64, 0xa4a019a3, 0x54eb2db5, 0xa68db38c),  // ~1/39916800
};
constexpr Real16 g[6] = {
    real16_from_words(0x3fff0000, 0, 0, 0),                             // 1
    real16_from_words(0x3ffe0000, 0x00000000, 0x00000000, 0x0000b775),  // ~1/2
    real16_from_words(0x3ffa5555, 0x55555555, 0x55555547, 0x14808a1c),  // ~1/24
    real16_from_words(0x3ff56c16, 0xc16c16c1, 0x6ce4f162, 0xc7896e5a),  // ~1/720
    real16_from_words(0x3fefa01a, 0x01a00f79, 0xead3f1b8, 0x7f4a3d2c),  // ~1/40320
    real16_from_words(0x3fe927e5, 0x3aef0f9b, 0x6bde1131, 0x83145431),  // ~1/3628800
};

struct Rotated {
  U128 x, y;  // cosh and sinh at scale 1
};

// The rotations on z = |x| at scale 1 (z below 1.1181730), and the linear
// finish on the residual. X and Y stay positive: the partial angles never
// fall below the argument's least CORDIC value (0.0118 from the threshold
// 0.012). The first step always rotates forward: z is positive, and from 1
// on its top bit is the bit of weight 1, not a sign.
Rotated rotate(U128 z) {
  U128 x = load(angles::rk_hyperbolic), y = {0, 0};
  auto step = [&](int i, bool forward) {
    const U128 angle = i < 43 ? load(angles::ah[i]) : bit_at(i);
    const U128 dx = w128::shr(y, static_cast<unsigned>(i)),
               dy = w128::shr(x, static_cast<unsigned>(i));
    if (forward) {
      x = w128::add(x, dx), y = w128::add(y, dy), z = w128::sub(z, angle);
    } else {
      x = w128::sub(x, dx), y = w128::sub(y, dy), z = w128::add(z, angle);
    }
  };
  step(1, true);
  for (int i = 2; i <= 64; ++i) {
    step(i, !w128::negative(z));
    if (i == 4 || i == 13 || i == 40) step(i, !w128::negative(z));
  }
  return {add_scaled(x, y, z), add_scaled(y, x, z)};
}

}  // namespace

void ulx_gush(int32_t mode, Real16 x, Real16 *sinh_out, Real16 *cosh_out) {
  namespace quad = vx::quad;
  const U128 bits = quad::bits_of(x);
  const std::uint64_t sign = quad::sign_of(bits);
  const auto high = static_cast<std::uint32_t>(quad::magnitude_of(bits).hi >> 32);
  if (high > 0x3ff88937) {  // |x| above about 0.012: CORDIC
    const Rotated r = rotate(from_real16(1, quad::magnitude_of(bits)));
    if (mode & kWantSine) *sinh_out = quad::real16_from_bits(to_signed_real16(1, r.y, sign));
    if (mode & kWantCosine) *cosh_out = quad::real16_from_bits(to_real16(1, r.x));
  } else if (high >= 0x3fbf0000) {  // 2^-64 <= |x|: the series
    const Real16 s = quad::mul(x, x);
    if (mode & kWantSine) *sinh_out = quad::add(x, quad::mul(x, quad::mul(s, quad::horner(f, s))));
    if (mode & kWantCosine) *cosh_out = quad::horner(g, s);
  } else {  // |x| < 2^-64: sinh x = x, cosh x = 1
    if (mode & kWantSine) *sinh_out = x;
    if (mode & kWantCosine) *cosh_out = g[0];
  }
}
