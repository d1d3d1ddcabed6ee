// Real16 sine, cosine, tangent and cotangent in radians, degrees and
// quadrant units, the pairs g_qpscn and g_qpscnq, and ulx_gdsq.
//
// Method: a = |x| is classified by its high word; it goes to the unit's
// kernel (src/fixed) directly, as its complement to a right angle, or
// reduced by the Real16 arithmetic to a remainder r (|r| about half a
// right angle at most) and a quadrant q:
//   radians   t = rhp a, u = t + bg, k = u - bg, r = (a - hpa k) - hpb k
//             (hpa has 49 bits: hpa k is exact; hpb carries the next 113)
//   degrees   t = r90 a, u = t + bg, k = u - bg, r = a - d90 k (exact)
//   quadrants u = a + bg, k = u - bg, r = a - k (exact)
// with q the low two bits of u's word 0. The complement c = (hpi - a) +
// hpc, d90 - a or 1 - a is taken as q = 1, r = -c: the quadrant rules below
// then give the complement's functions (sin a = cos c, ...), bit for bit,
// since the kernels are odd and even exactly.
//   q    sine     cosine   tangent   cotangent
//   0    sin r    cos r    tan r     cot r
//   1    cos r   -sin r   -cot r    -tan r
//   2   -sin r   -cos r    tan r     cot r
//   3   -cos r    sin r   -cot r    -tan r
// Negations, and the sign of x put on the sine, tangent and cotangent, are
// applied only to a nonzero result (so sin(-0) is +0, and a remainder of
// zero never gives -0); the radian pair g_qpscn flips its signs always.
// Quadrant-unit arguments from 2^112 on are integers: q comes from their
// low bits, r = 0.
//
// Ranges and errors (one argument reported, type 11; defaults finite / with
// the infinity flag):
//   g_qsin g_qcos     direct below 0.95, complement below 1.5707855,
//                     reduced below 1.5707855 2^63; beyond, infinities and
//                     NaNs: 204, sqrt(1/2) / NaN
//   g_qtan g_qcotan   direct below 0.7853928, reduced below 1.5707855 2^63;
//                     beyond: 215, 1 / NaN; pole (the cotangent kernel on a
//                     zero remainder, cot of 0): 216, largest / +infinity
//   g_qsind g_qcosd   direct below 54, complement below 90, reduced below
//                     90 2^63; beyond: 1402, sqrt(1/2) / NaN
//   g_qtand g_qcotd   direct up to 45 (exactly 45 included), complement
//                     below 90; beyond 90 2^63: 1403, 1 / NaN; pole: 1404
//   g_qsinq g_qcosq   direct below 0.6, complement below 1, reduced below
//                     2^112, integers beyond; no errors
//   g_qtanq g_qcotq   direct below 0.5, complement below 1; pole: 1399
//   g_qpscn           g_qsin's ranges; 204 stores sqrt(1/2) at both outputs
//                     whatever the infinity flag; g_qpscnq never reports
//
// Accuracy: real16_trig_test measures every entry against MPFR at 256
// bits (docs/accuracy.md): within 2 ulp where the reduction is exact or
// far from a multiple of a right angle; in radians near a multiple of
// pi/2 the remainder carries the error of hpa + hpb (below k 2^-159).
#include <algorithm>
#include <utility>

#include "frame/error_numbers.h"
#include "frame/resume.h"
#include "quad/operators.h"
#include "quad/real16.h"

namespace vx::qtrig {
namespace {

using quad::add;
using quad::mul;
using quad::sub;

constexpr Real16 hpi = real16_from_words(0x3fff921f, 0xb54442d1, 0x8469898c, 0xc51701b8);  // pi/2
constexpr Real16 hpc = real16_from_words(0x3f8ccd12, 0x9024e089, 0, 0);  // pi/2 - hpi
constexpr Real16 hpa = real16_from_words(0x3fff921f, 0xb54442d1, 0, 0);  // pi/2, 49 bits
constexpr Real16 hpb = real16_from_words(0x3fce08d3, 0x13198a2e, 0x03707344, 0xa4093822);
constexpr Real16 rhp = real16_from_words(0x3ffe45f3, 0x06dc9c88, 0x2a53f84e, 0xafa3ea6a);  // 2/pi
constexpr Real16 bg = real16_from_words(0x406f0000, 0, 0, 0);                              // 2^112
constexpr Real16 sq22 = real16_from_words(0x3ffe6a09, 0xe667f3bc, 0xc908b2fb, 0x1366ea96);
constexpr Real16 d90 = real16_from_words(0x40056800, 0, 0, 0);                             // 90
constexpr Real16 r90 = real16_from_words(0x3ff86c16, 0xc16c16c1, 0x6c16c16c, 0x16c16c17);  // 1/90
constexpr Real16 one = real16_from_words(0x3fff0000, 0, 0, 0);
constexpr Real16 zero = real16_from_words(0, 0, 0, 0);

enum class Fn { sin, cos, tan, cot };
enum class Unit { radians, degrees, quadrants };

constexpr std::uint32_t high_of(const Real16 &x) { return x.w[3] & ~quad::kSignBit; }
constexpr Real16 negated(Real16 x) {
  x.w[3] ^= quad::kSignBit;
  return x;
}
constexpr Real16 negated_if(bool c, const Real16 &x) { return c ? negated(x) : x; }
// A nonzero value negated; a zero as it is.
constexpr Real16 flipped_if(bool c, const Real16 &x) { return negated_if(c && high_of(x) != 0, x); }

// |x| = +-g(r) by the quadrant q; `too_large` beyond the reduction range.
struct Reduced {
  Real16 r;
  unsigned q;
  bool too_large;
};

// The high words that bound the ranges of one unit, sine and cosine or
// tangent and cotangent: below `direct` the kernel on a, below `complement`
// on the complement, below `reduced` the reduction.
struct Bounds {
  std::uint32_t direct, complement, reduced;
};
constexpr Bounds bounds(Unit u, bool tangent) {
  switch (u) {
    case Unit::radians:  // 0.9499969, 1.5707855 (just under pi/2), 1.5707855 2^63
      return tangent ? Bounds{0x3ffe921f, 0x3ffe921f, 0x403e921f}
                     : Bounds{0x3ffee666, 0x3fff921f, 0x403e921f};
    case Unit::degrees:  // 54 (45 for the tangents), 90, 90 2^63
      return {tangent ? 0x40046800u : 0x4004b000u, 0x40056800, 0x40446800};
    case Unit::quadrants:  // 0.5999985 (0.5), 1, 2^112
      return {tangent ? 0x3ffe0000u : 0x3ffe3333u, 0x3fff0000, 0x406f0000};
  }
  return {};
}

template <Unit U>
Reduced reduce(const Real16 &a, bool tangent) {
  const Bounds b = bounds(U, tangent);
  const std::uint32_t high = high_of(a);
  const bool exactly_45 = U == Unit::degrees && tangent && high == b.direct && a.w[2] == 0 &&
                          a.w[1] == 0 && a.w[0] == 0;
  if (high < b.direct || exactly_45) return {a, 0, false};
  if (high < b.complement) {  // the complement c, as r = -c in quadrant 1
    Real16 c;
    if constexpr (U == Unit::radians) c = add(sub(hpi, a), hpc);
    if constexpr (U == Unit::degrees) c = sub(d90, a);
    if constexpr (U == Unit::quadrants) ulx_gdsq(&c, 1.0, a);
    return {negated(c), 1, false};
  }
  if (high >= b.reduced) {
    if constexpr (U != Unit::quadrants) return {a, 0, true};
    // an integer n from 2^112 on (infinities and NaNs too): n mod 4 from
    // word 0 shifted by min(e - 112, 2)
    const int shift = std::min<int>(quad::exponent_of(a) - 0x3fff - 112, 2);
    return {zero, (a.w[0] << shift) & 3, false};
  }
  Real16 r, u;
  if constexpr (U == Unit::quadrants) {
    u = add(a, bg);
    r = sub(a, sub(u, bg));
  } else {
    u = add(mul(U == Unit::radians ? rhp : r90, a), bg);
    const Real16 k = sub(u, bg);
    r = U == Unit::radians ? sub(sub(a, mul(hpa, k)), mul(hpb, k)) : sub(a, mul(d90, k));
  }
  return {r, u.w[0] & 3, false};
}

// The kernels of one unit.
template <Unit U>
Real16 sine_kernel(std::int32_t mode, const Real16 &r) {
  Real16 s, c;
  if constexpr (U == Unit::radians) ulx_gusc(mode, r, &s, &c);
  if constexpr (U == Unit::degrees) ulx_gusd(mode, r, &s, &c);
  if constexpr (U == Unit::quadrants) ulx_gusq(mode, r, &s, &c);
  return mode == 1 ? s : c;
}
template <Unit U>
Real16 tangent_kernel(std::int32_t mode, const Real16 &r) {
  Real16 t;
  if constexpr (U == Unit::radians) ulx_gutc(&t, mode, r);
  if constexpr (U == Unit::degrees) ulx_gutd(&t, mode, r);
  if constexpr (U == Unit::quadrants) ulx_gutq(&t, mode, r);
  return t;
}

// The error numbers of one unit: too large to reduce (none in quadrant
// units), and the pole of the tangents.
constexpr std::int32_t range_error(Unit u, bool tangent) {
  if (u == Unit::radians) return tangent ? err::kQtanRange : err::kQsinRange;
  return tangent ? err::kQtandRange : err::kQsindRange;
}
constexpr std::int32_t pole_error(Unit u) {
  return u == Unit::radians   ? err::kQtanPole
         : u == Unit::degrees ? err::kQtandPole
                              : err::kQtanqPole;
}

template <Fn F, Unit U>
Attempt<Real16> attempt(const Real16 &x) {
  constexpr bool tangent = F == Fn::tan || F == Fn::cot;
  const Reduced red = reduce<U>(quad::with_sign(x, 0), tangent);
  if (red.too_large) {
    if constexpr (U != Unit::quadrants)
      return argument_error(range_error(U, tangent), tangent ? one : sq22, _NaN_Q);
  }
  const bool odd = (red.q & 1) != 0;
  Real16 v;
  bool negate;
  if constexpr (tangent) {
    const bool cot = (F == Fn::cot) != odd;  // the cotangent kernel is called
    if (cot && high_of(red.r) == 0) return argument_error(pole_error(U), kOverflowQ, _Inf_Q);
    v = tangent_kernel<U>(cot ? 1 : 0, red.r);
    negate = odd;
  } else {
    const bool sine = (F == Fn::sin) != odd;
    v = sine_kernel<U>(sine ? 1 : 2, red.r);
    negate = F == Fn::sin ? red.q >= 2 : (red.q == 1 || red.q == 2);
  }
  v = flipped_if(negate, v);
  if constexpr (F != Fn::cos) v = flipped_if(quad::sign_of(x) != 0, v);
  return result(v);
}

template <Fn F, Unit U>
Real16 *entry(Real16 *result, const Real16 *x) {
  return store_result(result, resume_loop<kFirstValue>(attempt<F, U>, *x));
}

// Sine and cosine of one argument from one kernel call.
struct Pair {
  Real16 s, c;
};
template <Unit U>
Attempt<Pair> pair_attempt(const Real16 &x) {
  const Reduced red = reduce<U>(quad::with_sign(x, 0), false);
  if (red.too_large) return argument_error(err::kQsinRange, Pair{sq22, sq22}, Pair{sq22, sq22});
  Pair p;
  if constexpr (U == Unit::radians) ulx_gusc(3, red.r, &p.s, &p.c);
  if constexpr (U == Unit::quadrants) ulx_gusq(3, red.r, &p.s, &p.c);
  if (red.q & 1) std::swap(p.s, p.c);
  // radians: the signs flip whatever the value; quadrant units: nonzero ones
  auto flip = [](bool c, const Real16 &v) {
    return U == Unit::radians ? negated_if(c, v) : flipped_if(c, v);
  };
  // -sin r for q 2, -cos r for q 3, and the sine odd; -sin r for q 1, -cos r for q 2
  p.s = flip((red.q >= 2) != (quad::sign_of(x) != 0), p.s);
  p.c = flip(red.q == 1 || red.q == 2, p.c);
  return result(p);
}

template <Unit U>
void pair_entry(const Real16 *x, Real16 *s, Real16 *c) {
  const Pair p = resume_loop<kFirstValue>(pair_attempt<U>, *x);
  *s = p.s;
  *c = p.c;
}

}  // namespace
}  // namespace vx::qtrig

using vx::qtrig::entry;
using vx::qtrig::Fn;
using vx::qtrig::Unit;

Real16 *g_qsin(Real16 *r, const Real16 *x) { return entry<Fn::sin, Unit::radians>(r, x); }
Real16 *g_qcos(Real16 *r, const Real16 *x) { return entry<Fn::cos, Unit::radians>(r, x); }
Real16 *g_qtan(Real16 *r, const Real16 *x) { return entry<Fn::tan, Unit::radians>(r, x); }
Real16 *g_qcotan(Real16 *r, const Real16 *x) { return entry<Fn::cot, Unit::radians>(r, x); }
Real16 *g_qsind(Real16 *r, const Real16 *x) { return entry<Fn::sin, Unit::degrees>(r, x); }
Real16 *g_qcosd(Real16 *r, const Real16 *x) { return entry<Fn::cos, Unit::degrees>(r, x); }
Real16 *g_qtand(Real16 *r, const Real16 *x) { return entry<Fn::tan, Unit::degrees>(r, x); }
Real16 *g_qcotd(Real16 *r, const Real16 *x) { return entry<Fn::cot, Unit::degrees>(r, x); }
Real16 *g_qsinq(Real16 *r, const Real16 *x) { return entry<Fn::sin, Unit::quadrants>(r, x); }
Real16 *g_qcosq(Real16 *r, const Real16 *x) { return entry<Fn::cos, Unit::quadrants>(r, x); }
Real16 *g_qtanq(Real16 *r, const Real16 *x) { return entry<Fn::tan, Unit::quadrants>(r, x); }
Real16 *g_qcotq(Real16 *r, const Real16 *x) { return entry<Fn::cot, Unit::quadrants>(r, x); }

void g_qpscn(const Real16 *x, Real16 *s, Real16 *c) {
  vx::qtrig::pair_entry<Unit::radians>(x, s, c);
}
void g_qpscnq(const Real16 *x, Real16 *s, Real16 *c) {
  vx::qtrig::pair_entry<Unit::quadrants>(x, s, c);
}

// a - b for a Real8 a and a Real16 b, both by value: a widened exactly
// (g_qextd), then g_aqsq.
Real16 *ulx_gdsq(Real16 *result, double a, Real16 b) {
  Real16 wide;
  g_qextd(&wide, &a);
  return g_aqsq(result, &wide, &b);
}
