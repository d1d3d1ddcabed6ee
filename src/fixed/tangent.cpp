// ulx_gutc, ulx_gutd, ulx_gutq: tangent (mode 0) or cotangent (mode
// nonzero) of a reduced x in radians, degrees or quadrant units (|x| up to
// about pi/4, 45 degrees, 0.5 units); the result address comes back.
//
//   CORDIC (|x| above 2^-8; 0x3ffc6800, about 0.177 degrees; 2^-9 quadrant
//     units or more): z = |x| in Fixed128 (scale 1, 6 or 0), CS = 1, SN = 0,
//     and one-sided rotations by +atan(2^-k) for every k, in order, whose
//     angle still fits in z (the leading bit of z skips the ones that
//     cannot), until z is below one unit: SN and CS are sine and cosine
//     times a common gain. tan = SN / CS (ulx_guwd) at scale 1; cot = CS /
//     (SN 2^n), SN 2^n normalised, at scale n + 1. The sign of x is put on.
//   series down to 2^-64, s = x^2, in Real16 arithmetic:
//     radians   tan = x + x (f0 + s (f1 + ...)), cot = 1/x + x (g0 + s (g1 + ...))
//     degrees   tan = x (f0 + s (...)) + x/64, cot = (g0 + s (...))/x + 64/x
//     quadrants tan = x (f0 + s (...)) + (x + x), cot = (g0 + s (...))/x + 0.640625/x
//   below 2^-64: tan = x (x pi/180, x pi/2), cot = 1/x (180/pi / x, 2/pi / x).
// A zero x in mode 1 divides by zero in the Real16 division, which reports
// it: the callers test for the pole first.
// cordic_internal_test measures each regime against MPFR.
#include <algorithm>

#include "fixed/cordic.h"
#include "fixed/tables/angles.h"
#include "quad/operators.h"

namespace {

using namespace vx::fixed;
using vx::real16_from_words;
namespace w128 = vx::w128;
namespace quad = vx::quad;

constexpr Real16 kOne = real16_from_words(0x3fff0000, 0, 0, 0);

// A table of angles with, per leading bit position b of z, the first index
// whose angle is below 2^(b + 1): none before it can fit into z.
struct Unit {
  std::int32_t scale;
  Angles angles;
  std::array<std::uint8_t, 128> first;
  std::uint32_t cordic_from;  // high word of |x| from which the rotations run
};
constexpr Unit unit(std::int32_t scale, const Angles &a, std::uint32_t cordic_from) {
  Unit u{scale, a, {}, cordic_from};
  for (int b = 0; b < 128; ++b) {
    int k = 0;
    while (k < 127 && !(b == 127 || w128::less(a[k], w128::shl({0, 1}, b + 1)))) ++k;
    u.first[b] = static_cast<std::uint8_t>(k);
  }
  return u;
}
constexpr Unit kRadians = unit(1, expanded(angles::at), 0x3ff70001);
constexpr Unit kDegrees = unit(6, expanded(angles::ad), 0x3ffc6801);
constexpr Unit kQuadrants = unit(0, expanded(angles::aq), 0x3ff60000);

// The Real16 result bits of tan |x| (cotangent false) or cot |x|.
U128 rotate(const Unit &u, U128 z, bool cotangent) {
  U128 sn = {0, 0}, cs = {0x8000000000000000, 0};  // 1 at scale 1
  for (int k = 0; k < 128 && !w128::is_zero(z);) {
    k = std::max<int>(k, u.first[127 - clz128(z)]);
    if (w128::less(z, u.angles[k])) {  // then the next angle fits
      if (++k == 128) break;
    }
    const auto shift = static_cast<unsigned>(k);
    const U128 dsn = w128::shr(cs, shift), dcs = w128::shr(sn, shift);
    sn = w128::add(sn, dsn), cs = w128::sub(cs, dcs), z = w128::sub(z, u.angles[k]);
    ++k;
  }
  if (!cotangent) return to_real16(1, divide(sn, cs));
  const int n = std::min(clz128(sn), 127);  // SN is 0 only for an x out of range
  return to_real16(n + 1, divide(cs, w128::shl(sn, static_cast<unsigned>(n))));
}

// The series of one kernel and its constants.
template <unsigned NF, unsigned NG>
struct Series {
  Real16 f[NF], g[NG];
  Real16 tan_lead, cot_lead;  // the exact leading terms: x/64 and 64/x, ...
  Real16 tan_tiny, cot_tiny;  // below 2^-64: tan = x tan_tiny, cot = cot_tiny / x
};

// tan x = x + x (f0 + s (f1 + ...)), f0 about -1.95e-35, then 1/3, 2/15,
// 17/315, ...; cot x = 1/x + x (g0 + s (g1 + ...)): -1/3, -1/45, -2/945, ...
constexpr Series<6, 5> kRadianSeries = {
    {real16_from_words(0xbf8b9f8f, 0x71600000, 0, 0),
     real16_from_words(0x3ffd5555, 0x55555555, 0x55555555, 0x55747132),
     real16_from_words(0x3ffc1111, 0x11111111, 0x11110e16, 0x48c47b50),
     real16_from_words(0x3ffaba1b, 0xa1ba1ba1, 0xedd37b1f, 0xa74cb284),
     real16_from_words(0x3ff9664f, 0x4881f8f6, 0xc93fb115, 0xc39768bf),
     real16_from_words(0x3ff8226f, 0x982ee0b8, 0xc3eb336d, 0x45cf9138)},
    {real16_from_words(0xbffd5555, 0x55555555, 0x55555555, 0x555559e2),
     real16_from_words(0xbff96c16, 0xc16c16c1, 0x6c16c168, 0x6921192c),
     real16_from_words(0xbff61566, 0xabc01156, 0x6b3c8d32, 0x6c2b7fff),
     real16_from_words(0xbff2bbd7, 0x79333f6c, 0x06fa4e1f, 0xdc448426),
     real16_from_words(0xbfef66a9, 0x608219f6, 0x9a4240d7, 0xe46381ae)},
    kOne,
    kOne,
    kOne,
    kOne};
// tan x = x (f0 + s (...)) + x dr64, f0 = pi/180 - 1/64, then the tangent
// series times (pi/180)^(2k+1); cot x = (g0 + s (...))/x + d64/x, g0 =
// 180/pi - 64; tiny: x deg, rad/x.
constexpr Series<6, 6> kDegreeSeries = {
    {real16_from_words(0x3ff5df46, 0xa2529d39, 0x15c1d8be, 0xcdd290b9),
     real16_from_words(0x3febdbb8, 0x20d942f7, 0x8787660f, 0xe9541b4b),
     real16_from_words(0x3fdedad9, 0x4eae10d7, 0x0778e45b, 0xadb4b357),
     real16_from_words(0x3fd1df9f, 0x679a3e59, 0xadefe5ce, 0xc5ba8807),
     real16_from_words(0x3fc4e500, 0xd4a4c1ab, 0x31eca9cf, 0xdea7cbf1),
     real16_from_words(0x3fb7ea82, 0x92c91875, 0x7e0e9f38, 0x04f1839f)},
    {real16_from_words(0xc001ad11, 0xf2ce1f04, 0x23cf568a, 0xc80bf2da),
     real16_from_words(0xbff77d45, 0xe2dc37c4, 0xc1d02765, 0x3bd392f7),
     real16_from_words(0xbfe7fb6f, 0x11f8cff6, 0xf6f6d283, 0xc8ada843),
     real16_from_words(0xbfd8e262, 0xda166a81, 0x18a03d4e, 0x5773e86e),
     real16_from_words(0xbfc9e180, 0xe8825bed, 0x1ec3fc56, 0xcc7ca652),
     real16_from_words(0xbfbae57b, 0x9f0295aa, 0x1a143657, 0x4ddf4181)},
    real16_from_words(0x3ff90000, 0, 0, 0),                              // dr64 = 1/64
    real16_from_words(0x40050000, 0, 0, 0),                              // d64 = 64
    real16_from_words(0x3ff91df4, 0x6a2529d3, 0x915c1d8b, 0xecdd290c),   // deg = pi/180
    real16_from_words(0x4004ca5d, 0xc1a63c1f, 0x7b86152e, 0xa6fe81a5)};  // rad = 180/pi
// tan x = x (f0 + s (...)) + (x + x), f0 = pi/2 - 2; cot x = (g0 + s
// (...))/x + gg/x, g0 = 2/pi - gg, gg = 0.640625; tiny: x hpi, rhp/x.
constexpr Series<6, 6> kQuadrantSeries = {
    {real16_from_words(0xbffdb781, 0x2aeef4b9, 0xee59d9cc, 0xeba3f91f),
     real16_from_words(0x3fff4abb, 0xce625be5, 0x2beabb8e, 0x5ee5f114),
     real16_from_words(0x3fff466b, 0xc6775aae, 0x1d247dc7, 0x6cc309f4),
     real16_from_words(0x3fff45ff, 0xf9b48e95, 0xebe2494e, 0x70f73a29),
     real16_from_words(0x3fff45f4, 0x72e36396, 0x9b33ef18, 0x6e6366c7),
     real16_from_words(0x3fff45f4, 0x2f354ba8, 0xf7d00ef1, 0x1c05cf04)},
    {real16_from_words(0xbff7067c, 0x91b1bbea, 0xd603d8a8, 0x2e0acb22),
     real16_from_words(0xbffe0c15, 0x2382d736, 0x58465bb3, 0x2e0f7107),
     real16_from_words(0xbffb60c8, 0x539c1dc1, 0x3fe95087, 0x7a3e33c8),
     real16_from_words(0xbff94b9a, 0x2f342b5b, 0x8d2a344a, 0x9ad0945c),
     real16_from_words(0xbff74747, 0x40f56c0a, 0x7e52bb68, 0x1e62f61d),
     real16_from_words(0xbff54646, 0x9504f319, 0x20ea40b2, 0x077a6e7a)},
    kOne,                                                                // unused
    real16_from_words(0x3ffe4800, 0, 0, 0),                              // gg = 0.640625
    real16_from_words(0x3fff921f, 0xb54442d1, 0x8469898c, 0xc51701b8),   // hpi = pi/2
    real16_from_words(0x3ffe45f3, 0x06dc9c88, 0x2a53f84e, 0xafa3ea6a)};  // rhp = 2/pi

enum class Lead { radians, degrees, quadrants };

template <Lead L, unsigned NF, unsigned NG>
Real16 *tangent_kernel(const Unit &u, const Series<NF, NG> &series, Real16 *result,
                       std::int32_t mode, Real16 x) {
  const U128 bits = quad::bits_of(x), a = quad::magnitude_of(bits);
  const auto high = static_cast<std::uint32_t>(a.hi >> 32);
  const bool cot = mode != 0;
  Real16 r;
  if (high >= u.cordic_from) {
    const U128 v = rotate(u, from_real16(u.scale, a), cot);
    r = quad::real16_from_bits({v.hi | quad::sign_of(bits), v.lo});
  } else if (high >= 0x3fbf0000) {  // 2^-64 <= |x|: the series
    const Real16 s = quad::mul(x, x);
    if constexpr (L == Lead::radians) {
      r = cot ? quad::add(quad::div(kOne, x), quad::mul(x, quad::horner(series.g, s)))
              : quad::add(x, quad::mul(x, quad::horner(series.f, s)));
    } else if (cot) {
      r = quad::add(quad::div(quad::horner(series.g, s), x), quad::div(series.cot_lead, x));
    } else {
      const Real16 lead = L == Lead::degrees ? quad::mul(x, series.tan_lead) : quad::add(x, x);
      r = quad::add(quad::mul(x, quad::horner(series.f, s)), lead);
    }
  } else if (cot) {  // |x| < 2^-64
    r = quad::div(series.cot_tiny, x);
  } else {
    r = L == Lead::radians ? x : quad::mul(x, series.tan_tiny);
  }
  *result = r;
  return result;
}

}  // namespace

Real16 *ulx_gutc(Real16 *result, int32_t mode, Real16 x) {
  return tangent_kernel<Lead::radians>(kRadians, kRadianSeries, result, mode, x);
}

Real16 *ulx_gutd(Real16 *result, int32_t mode, Real16 x) {
  return tangent_kernel<Lead::degrees>(kDegrees, kDegreeSeries, result, mode, x);
}

Real16 *ulx_gutq(Real16 *result, int32_t mode, Real16 x) {
  return tangent_kernel<Lead::quadrants>(kQuadrants, kQuadrantSeries, result, mode, x);
}
