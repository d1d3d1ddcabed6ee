// ulx_gusc, ulx_gusd, ulx_gusq: sine and cosine of a reduced x in radians
// (|x| up to 0.9578), degrees (54.88) and quadrant units (0.6098), the
// kernels of the Real16 trigonometric functions. Mode bit 0 asks for sin x
// at sin_out, bit 1 for cos x at cos_out.
//
//   CORDIC (|x| above 2^-9; 0.5 degrees; 2^-9 quadrant units): z = |x| in
//     Fixed128 (scale 1, 6 or 0), X = rk, Y = 0, 63 rotations by
//     +-atan(2^-i), i = 1..63, each towards z = 0; the residual z (below
//     about 2^-63 radians, carried into radians for the other units) ends
//     them linearly: sin = Y + z X, cos = X - z Y. The sine takes the sign
//     of x.
//   series down to 2^-64, s = x^2, in Real16 arithmetic:
//     radians   sin = x + x (s (f0 + s (f1 + ...))), cos = g0 + s (g1 + ...)
//     degrees   sin = x/64 + x (f0 + s (f1 + ...)), f0 = pi/180 - 1/64
//     quadrants sin = (x + x) + x (f0 + s (f1 + ...)), f0 = pi/2 - 2
//   below 2^-64: sin = x (radians), x pi/180, x pi/2; cos = 1. The degree
//     and quadrant kernels store both here, whatever the mode.
// The rotation's first step always turns forward: z is positive, and a
// quadrant angle from 0.5 on has its top bit set, which is not a sign. The
// closing rotation and bit-by-bit finish of the classic schedule give way
// to the signed residual times X and Y (one product each, with the same
// first-order error); the degree and quadrant residual is converted with
// one product instead of a greedy sum of table entries.
// cordic_internal_test measures each regime against MPFR.
#include "fixed/cordic.h"
#include "fixed/tables/angles.h"
#include "quad/operators.h"

namespace {

using namespace vx::fixed;
using vx::real16_from_words;
namespace w128 = vx::w128;
namespace quad = vx::quad;

constexpr Real16 kOne = real16_from_words(0x3fff0000, 0, 0, 0);

struct Unit {
  std::int32_t scale;
  Angles angles;
  U128 rk;
  U128 to_radians;             // the fraction that carries the residual into radians; 0 in radians
  std::uint32_t cordic_above;  // high word of |x| above which the rotations run
};
constexpr Unit kRadians = {1, expanded(angles::at), load(angles::rk_circular), {0, 0}, 0x3ff60000};
constexpr Unit kDegrees = {6, expanded(angles::ad), load(angles::rk_circular_units),
                           load(angles::radians_per_degree_unit), 0x3ffe0000};
constexpr Unit kQuadrants = {0, expanded(angles::aq), load(angles::rk_circular_units),
                             load(angles::radians_per_quadrant_unit), 0x3ff60000};

// cos and sin of the angle z at the unit's scale, at scale 1.
struct Rotated {
  U128 cos, sin;
};
Rotated rotate(const Unit &u, U128 z) {
  U128 x = u.rk, y = {0, 0};
  for (unsigned i = 1; i <= 63; ++i) {
    const U128 dx = w128::shr(y, i), dy = w128::shr(x, i);
    if (i == 1 || !w128::negative(z)) {
      x = w128::sub(x, dx), y = w128::add(y, dy), z = w128::sub(z, u.angles[i]);
    } else {
      x = w128::add(x, dx), y = w128::sub(y, dy), z = w128::add(z, u.angles[i]);
    }
  }
  if (!w128::is_zero(u.to_radians)) z = scale_signed(z, u.to_radians);
  return {add_scaled(x, y, w128::negate_if(true, z)), add_scaled(y, x, z)};
}

// The series of one kernel: sin x = lead(x) + x tail(s), cos x = g(s).
template <unsigned NF, unsigned NG>
struct Series {
  Real16 f[NF], g[NG];
  Real16 tiny;  // sin x = x tiny below 2^-64 (radians: x itself)
};

// sin x = x + x (s (f0 + s (f1 + s (f2 + s f3)))), cos x = g0 + s (g1 + ...)
constexpr Series<4, 5> kRadianSeries = {
    {real16_from_words(0xbffc5555, 0x55555555, 0x55555555, 0x55550227),   // ~-1/6
     real16_from_words(0x3ff81111, 0x11111111, 0x11111069, 0x3c5cc3bf),   // ~1/120
     real16_from_words(0xbff2a01a, 0x01a019ff, 0xc9439dc0, 0xf582a97a),   // ~-1/5040
     real16_from_words(0x3fec71de, 0x383b32e0, 0xdfa981ba, 0xbc37aa65)},  // ~1/362880
    {kOne,                                                                // 1
     real16_from_words(0xbffdffff, 0xffffffff, 0xffffffff, 0xfffe3306),   // ~-1/2
     real16_from_words(0x3ffa5555, 0x55555555, 0x55555387, 0x5193c397),   // ~1/24
     real16_from_words(0xbff56c16, 0xc16c16be, 0xe4c14947, 0xb21119fa),   // ~-1/720
     real16_from_words(0x3fefa019, 0xfebc3684, 0x3324ccc4, 0x753710a5)},  // ~1/40320
    kOne};
// sin x = x/64 + x (f0 + s (f1 + ...)), f0 = pi/180 - 1/64, then the sine
// series in degrees; cos x = 1 - (pi/180)^2 s/2 + ...; tiny: x pi/180.
constexpr Series<6, 6> kDegreeSeries = {
    {real16_from_words(0x3ff5df46, 0xa2529d39, 0x15c1d8be, 0xcdd290b9),
     real16_from_words(0xbfeadbb8, 0x20d942f7, 0x8787660f, 0xe9504b0f),
     real16_from_words(0x3fdadad9, 0x4eae10d7, 0x0778e511, 0x859e9d88),
     real16_from_words(0xbfc9c368, 0xd9fa9509, 0x10308e7e, 0xe43a1aa5),
     real16_from_words(0x3fb7f4a6, 0x04cb7e6b, 0xcc6c63d8, 0x0fffacdf),
     real16_from_words(0xbfa56b70, 0xf25e58fd, 0xfbec5520, 0x724e90e5)},
    {kOne, real16_from_words(0xbff23f6a, 0x1db141fb, 0x98fc83bf, 0xa0a0bb26),
     real16_from_words(0x3fe309b1, 0x16a83dc8, 0xdf8a3604, 0x84144328),
     real16_from_words(0xbfd2619b, 0x85bbcad0, 0xbef91ed6, 0x8dc8da73),
     real16_from_words(0x3fc0f83a, 0xb5c6a813, 0xedfdefe0, 0xe126dab1),
     real16_from_words(0xbfaebf62, 0x05d099e4, 0xedf1b025, 0xa169e6bc)},
    real16_from_words(0x3ff91df4, 0x6a2529d3, 0x915c1d8b, 0xecdd290c)};  // deg = pi/180
// sin x = (x + x) + x (f0 + s (f1 + ...)), f0 = pi/2 - 2, then
// -(pi/2)^3/6, ...; cos x = 1 - (pi/2)^2 s/2 + ...; tiny: x pi/2.
constexpr Series<5, 5> kQuadrantSeries = {
    {real16_from_words(0xbffdb781, 0x2aeef4b9, 0xee59d9cc, 0xeba3f91f),
     real16_from_words(0xbffe4abb, 0xce625be5, 0x2beabb8e, 0x5ed6924f),
     real16_from_words(0x3ffb466b, 0xc6775aae, 0x1d24729f, 0x42d4c005),
     real16_from_words(0xbff732d2, 0xcce62bd0, 0x1b7eb1e3, 0xb68bd79b),
     real16_from_words(0x3ff25078, 0x2fd09406, 0xb92da813, 0x0c6a7423)},
    {kOne, real16_from_words(0xbfff3bd3, 0xcc9be45d, 0xe5a4adc4, 0xd989c8bc),
     real16_from_words(0x3ffd03c1, 0xf081b5ac, 0x3b351e5c, 0xa1b638f7),
     real16_from_words(0xbff955d3, 0xc7e3cbf1, 0x2c18353f, 0x809f3325),
     real16_from_words(0x3ff4e1f4, 0xfe4701c8, 0x2b8768c9, 0xc57b2807)},
    real16_from_words(0x3fff921f, 0xb54442d1, 0x8469898c, 0xc51701b8)};  // hpi = pi/2

constexpr Real16 kOne64th = real16_from_words(0x3ff90000, 0, 0, 0);  // 1/64, exact

enum class Lead { radians, degrees, quadrants };

template <Lead L, unsigned NF, unsigned NG>
void sine_kernel(const Unit &u, const Series<NF, NG> &series, std::int32_t mode, Real16 x,
                 Real16 *sin_out, Real16 *cos_out) {
  const U128 bits = quad::bits_of(x), a = quad::magnitude_of(bits);
  const auto high = static_cast<std::uint32_t>(a.hi >> 32);
  if (high > u.cordic_above) {
    const Rotated r = rotate(u, from_real16(u.scale, a));
    if (mode & kWantSine)
      *sin_out = quad::real16_from_bits(to_signed_real16(1, r.sin, quad::sign_of(bits)));
    if (mode & kWantCosine) *cos_out = quad::real16_from_bits(to_real16(1, r.cos));
  } else if (high >= 0x3fbf0000) {  // 2^-64 <= |x|: the series
    const Real16 s = quad::mul(x, x);
    if (mode & kWantSine) {
      if constexpr (L == Lead::radians) {
        *sin_out = quad::add(x, quad::mul(x, quad::mul(s, quad::horner(series.f, s))));
      } else {
        const Real16 lead = L == Lead::degrees ? quad::mul(x, kOne64th) : quad::add(x, x);
        *sin_out = quad::add(lead, quad::mul(x, quad::horner(series.f, s)));
      }
    }
    if (mode & kWantCosine) *cos_out = quad::horner(series.g, s);
  } else if constexpr (L == Lead::radians) {  // |x| < 2^-64: sin x = x, cos x = 1
    if (mode & kWantSine) *sin_out = x;
    if (mode & kWantCosine) *cos_out = kOne;
  } else {  // both stored
    *sin_out = quad::mul(x, series.tiny);
    *cos_out = kOne;
  }
}

}  // namespace

void ulx_gusc(int32_t mode, Real16 x, Real16 *sin_out, Real16 *cos_out) {
  sine_kernel<Lead::radians>(kRadians, kRadianSeries, mode, x, sin_out, cos_out);
}

void ulx_gusd(int32_t mode, Real16 x, Real16 *sin_out, Real16 *cos_out) {
  sine_kernel<Lead::degrees>(kDegrees, kDegreeSeries, mode, x, sin_out, cos_out);
}

void ulx_gusq(int32_t mode, Real16 x, Real16 *sin_out, Real16 *cos_out) {
  sine_kernel<Lead::quadrants>(kQuadrants, kQuadrantSeries, mode, x, sin_out, cos_out);
}
