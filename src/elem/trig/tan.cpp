// Radian tangent and cotangent: g_tan, g_cotan (Real4), g_dtan, g_dcotan
// (Real8). The processor's tangent instruction is not used.
//
// Real4: above pi/2 the argument is taken to quadrant units (x 2/pi) and
// the nearest integer k removed with the rounding constant bg; the remainder
// r (|r| <= 1/2) goes to P (tangent in quadrant units) or Q (cotangent),
// chosen by the parity of k. Below pi/2 the radian polynomials A (tangent,
// |y| <= pi/4) and B (cotangent) work on x or on pi/2 - |x|.
//
// Real8: up to pi/4 the rational tangent x + x PQ(x^2); up to pi/2 the
// rational cotangent of pi/2 - |x|; up to 100000 a table step: |x| 2/pi is
// rounded to a multiple of 1/256, the remainder r (|r| <= pi/1024) goes to
// the short tangent G and is combined with tan(j pi/512) from `tblp` by the
// addition formula; beyond that a Cody-Waite reduction with pi/2 in three
// pieces gives a head and tail pair for PQ or RS.
//
// Errors (argument reported as value):
//   211 / 213  |x| >= 823000 / 3.53e15, infinities and NaNs: default 1.0,
//              NaN with the infinity flag
//   212 / 214  a pole (the reduced argument of a cotangent is zero):
//              default 3.40282002e+38 / 1.7976931348623011e+308, plus
//              infinity with the infinity flag, for either sign
//
// Accuracy against MPFR (trig_test, which states the bounds), by analysis:
// the kernels' own errors stay below 0.03 ulp (Real4) and 0.3 ulp (Real8)
// and they are rounded once; the reductions use 2/pi as one Real8 (Real4,
// Real8 table range) or pi/2 in three Real8 pieces (Real8 large range) and
// leave an absolute error in the reduced angle, which tan and cot carry
// with their logarithmic derivative, large only next to their zeros and
// poles.
#include <cstdint>

#include "common/bits.h"
#include "common/double_double.h"
#include "common/math_constants.h"
#include "elem/trig/tables/tan_table.h"
#include "elem/trig/tan_quadrants4.h"
#include "frame/ieee_constants.h"
#include "frame/resume.h"

namespace vx {
namespace {

using ld = long double;

// ---- Real4 -----------------------------------------------------------------

// 2/pi as the nearest Real8 (math_constants.h): the reduction of the Real4
// functions uses the product x 2/pi directly.
constexpr double tp = kTwoOverPi;
constexpr double bg = 6755399441055744.0;  // 0x4338000000000000: 1.5 * 2^52
constexpr double hpi = kHalfPi;
constexpr double hpm = -kHalfPi;

// A(y) = y (a0 + a1 s + ... + a7 s^7), s = y^2: tan y, |y| <= pi/4.
constexpr double a0 = 0.999999998827;      // 0x3FEFFFFFFF5EC8BB
constexpr double a1 = 0.333333574971;      // 0x3FD5555658CA307C
constexpr double a2 = 0.133325222902;      // 0x3FC110CD080C49BC
constexpr double a3 = 0.0540710682591;     // 0x3FABAF33FBAA4CED
constexpr double a4 = 0.0212372665768;     // 0x3F95BF38D59D7B18
constexpr double a5 = 0.0109323015066;     // 0x3F8663ACAB86E0D6
constexpr double a6 = -1.57223435056e-05;  // 0xBEF07C6F3801360B
constexpr double a7 = 0.00442211954316;    // 0x3F721CEDAD11EB2A
// B(y) = (b0 + b1 s + ... + b5 s^5) / y: cot y.
constexpr double b0 = 1.00000000008;       // 0x3FF0000000057F60
constexpr double b1 = -0.333333342479;     // 0xBFD555555F274669
constexpr double b2 = -0.0222220554756;    // 0xBF96C160E61205AA
constexpr double b3 = -0.00211751716411;   // 0xBF6158C15EFE88DA
constexpr double b4 = -0.00020828099515;   // 0xBF2B4CC020063CAD
constexpr double b5 = -2.59646653339e-05;  // 0xBEFB39D637228D3B

ld poly_a(ld y) {
  const ld s = y * y;
  return y * (((((((a7 * s + a6) * s + a5) * s + a4) * s + a3) * s + a2) * s + a1) * s + a0);
}
ld poly_b(ld y) {
  const ld s = y * y;
  return (((((b5 * s + b4) * s + b3) * s + b2) * s + b1) * s + b0) / y;
}
Attempt<float> pole4() { return argument_error(err::kTanPole, kOverflowF, _Inf_F); }

// One attempt of g_tan (kCot false) or g_cotan (kCot true).
template <bool kCot>
Attempt<float> tan_cot4(float x) {
  const std::uint32_t i = bits(x) & 0x7fffffff;
  if (i > 0x3fc90fdb) {  // |x| above the Real4 nearest pi/2
    // |x| >= 823000, infinities and NaNs: too large to reduce.
    if (i >= 0x4948ed80) return argument_error(err::kTanRange, 1.0f, _NaN_F);
    const ld t = ld{x} * tp;                       // x in quadrant units
    const double n = static_cast<double>(bg + t);  // stored: t rounded to the nearest integer k
    const ld r = t + (bg - n);                     // t - k, |r| <= 1/2
    const bool odd = (bits(n) & 1) != 0;           // parity of k: n's lowest significand bit
    // P (tangent) and Q (cotangent) of r quadrant units: tan_quadrants4.h.
    if (odd == kCot) {
      const ld p = tan_quadrants4::tangent(r);
      return result(static_cast<float>(kCot ? -p : p));
    }
    if (r == 0) return pole4();  // k odd (tan) or even (cot) and no remainder
    const ld q = tan_quadrants4::cotangent(r);
    return result(static_cast<float>(kCot ? q : -q));
  }
  // |x| up to pi/2, in radians: w = pi/2 - |x| with the sign of x.
  // tan: A(x) up to pi/4, beyond B(w); cot: B(x) up to pi/4, beyond A(w).
  const bool small = i <= 0x3f490fdb;  // |x| at most the Real4 nearest pi/4
  const ld y = small ? ld{x} : (x > 0 ? hpi : hpm) - ld{x};
  if (small != kCot) return result(static_cast<float>(poly_a(y)));
  if (y == 0) return pole4();  // cot of zero; tan of exactly pi/2 if it were a Real4
  return result(static_cast<float>(poly_b(y)));
}

// ---- Real8 -----------------------------------------------------------------

constexpr double xmax = 3.53e15;          // 0x43291508581D4000: argument limit
constexpr double rhp = tp;                // 2/pi: picks k and the table point only
constexpr double bg8 = 17592186044416.0;  // 0x42B0000000000000: 2^44, rounds to 1/256
constexpr double hp1 = kHalfPi;           // pi/2 head
// pi/2 - hp1 (and pi/2 - hpa - hpb) to the nearest Real8; a tail three
// units low would cost three ulps of tan next to pi/2.
constexpr double hp2 = kHalfPiLow;
constexpr double hpa = 1.5707963109016418;      // 0x3FF921FB50000000: pi/2, 25 bits
constexpr double hpb = 1.5893254712295857e-08;  // 0x3E5110B460000000: next 27 bits
constexpr double hpc = 1.5893254773528196e-08;  // 0x3E5110B4611A6263: pi/2 - hpa

// PQ(z) = z (((p4 z + p3) z + p2) z + p1) / (((z + q2) z + q1) z + q0):
// tan h = h + h PQ(h^2), |h| <= pi/4.
constexpr double dp1 = -1301.799236687197;    // 0xC09457326B1A2519
constexpr double dp2 = 83.74320685784895;     // 0x4054EF90B37F27F2
constexpr double dp3 = -0.9564226841031748;   // 0xBFEE9B03BEAC0587
constexpr double dp4 = 6.99035473756965e-05;  // 0x3F125325CCA64401
constexpr double dq0 = -3905.3977100615907;   // 0xC0AE82CBA0A737A5
constexpr double dq1 = 1813.388704598182;     // 0x409C558E089403FC
constexpr double dq2 = -95.92226350064105;    // 0xC057FB065D7D630F
// RS(z) = R(z) / S(z): cot h = 1/h + h RS(h^2).
constexpr double r1 = 18661.896982511396;     // 0x40D23979682955E2
constexpr double r2 = -1245.0626674298392;    // 0xC09374402BE406BC
constexpr double r3 = 16.457195816580885;     // 0x4030750AC8F8153A
constexpr double r4 = -0.027891753049366023;  // 0xBF9C8FA7DCB356AE
constexpr double s0 = -55985.69094753418;     // 0xC0EB56361C3E00D2
constexpr double s1 = 7467.567398791784;      // 0x40BD2B91410C1681
constexpr double s2 = -191.74470960691806;    // 0xC067F7D4A93DD75D
// G(r) = r (1 + r^2 (g1 + g2 r^2)): tan r, |r| <= pi/1024.
constexpr double g1 = 0.3333333333312733;  // 0x3FD555555554C45F
constexpr double g2 = 0.1333340406383807;  // 0x3FC11116FFFE20EF

ld pq(ld z) {
  return (((dp4 * z + dp3) * z + dp2) * z + dp1) * z / (((z + dq2) * z + dq1) * z + dq0);
}
ld poly_r(ld z) { return ((r4 * z + r3) * z + r2) * z + r1; }
ld poly_s(ld z) { return ((z + s2) * z + s1) * z + s0; }
ld rs(ld z) { return poly_r(z) / poly_s(z); }

Attempt<double> pole8() { return argument_error(err::kDtanPole, kOverflowD, _Inf_D); }

// Table step for pi/2 < |x| <= 100000: |x| = (m/256) pi/2 + r with m the
// low word of n; the tangent of the remainder t = G(r) and the table entry
// combine by the addition formula.
struct TableStep {
  ld t;        // tan r
  ld T, L;     // table entry: tan(j pi/512) (bit 7 clear) or tan((128-j) pi/512)
  bool upper;  // bit 7: the angle lies in the upper half of the quadrant
  bool odd;    // bit 8: odd quadrant
};

TableStep table_step(double ax) {
  const double n =
      static_cast<double>(rhp * ld{ax} + bg8);  // stored: |x| 2/pi rounded to a multiple of 1/256
  const double c = n - bg8;
  const ld r = (ax - hpa * ld{c}) - hpc * ld{c};
  const std::uint32_t m = low_word(n);
  const unsigned j = m & 127;
  const bool upper = (m & 128) != 0;
  const DoubleDouble &e = tblp[upper ? 128 - j : j];
  return {r * (1 + r * r * (g1 + g2 * r * r)), e.high, e.low, upper, (m & 256) != 0};
}

// 2/pi to the 64 bits of the x87 register. With 2/pi as a Real8, x 2/pi is
// off by up to |x| 2^-54, which from |x| near 1e15 on picks the integer next
// to the nearest one and leaves |hi| up to 0.97, beyond the pi/4 for which
// PQ and RS are made (several ulps lost); with 64 bits |hi| stays below
// pi/4 + 2^-40.
constexpr long double rhp_x = 0xa.2f9836e4e44152ap-4L;  // 2/pi

// Cody-Waite reduction of x (100000 < x < 3.53e15) by k pi/2 with
// pi/2 = hpa + hpb + hp2: a head and tail pair hi + lo, and k's parity.
struct Reduced {
  double hi, lo;
  bool odd;
};

Reduced reduce_large(double x) {
  const double n =
      static_cast<double>(rhp_x * x + bg);  // stored: x 2/pi rounded to the nearest integer
  const double k = n - bg;
  const double k1 = dd::upper26(k);
  const double k2 = k - k1;  // k1 hpa and k2 hpa are exact
  const double a = x - hpa * k1;
  const double b = hpb * k1 + hpa * k2;
  double e = (hpb * k1 - b + hpa * k2) + hpb * k2 + hp2 * k;  // rounding error of b, and the tail
  const double d = a - b;
  e = (a - d - b) - e;
  const double hi = d + e;
  const double lo = (d - hi) + e;
  return {hi, lo, (bits(n) & 1) != 0};
}

// tan(|x|) by the table step's addition formula when `odd` is the
// quadrant's parity; with the parity flipped the same formulas give
// -cot(|x|). False at a pole (a zero denominator).
bool tangent_from_table(const TableStep &s, bool odd, ld &v) {
  if (!s.upper) {
    if (!odd) {
      v = (s.t + s.L + s.T) / (1 - s.T * s.t);
      return true;
    }
    const ld den = s.T + s.t + s.L;
    v = (s.T * s.t - 1) / den;
    return den != 0;
  }
  if (odd) {
    v = (s.t - s.L - s.T) / (s.T * s.t + 1);
    return true;
  }
  const ld den = s.T - (s.t - s.L);
  v = (s.T * s.t + 1) / den;
  return den != 0;
}

// tan(hi + lo) for an even quadrant, -cot for an odd one. False at a pole.
bool tangent_of_reduced(const Reduced &red, bool odd, ld &v) {
  const ld hi = red.hi;
  const ld z = (red.lo + red.lo + hi) * hi;
  if (!odd) {
    v = hi + red.lo + hi * pq(z);
    return true;
  }
  if (red.hi == 0) return false;
  v = -(hi * rs(z)) - 1 / hi;
  return true;
}

// One attempt of g_dtan (kCot false) or g_dcotan (kCot true). Beyond pi/2
// both come from the same reductions: cot x = -tan(x - pi/2), so the
// cotangent takes the tangent of the neighbouring quadrant and negates it.
template <bool kCot>
Attempt<double> tan_cot8(double x) {
  const std::uint32_t h = high_word(x) & 0x7fffffff;
  const double ax = x < 0 ? -x : x;
  if (h <= 0x3fe921fb) {  // |x| below about pi/4
    const ld z = ld{x} * x;
    if (!kCot) return result(static_cast<double>(x + x * pq(z)));
    if (x == 0) return pole8();  // cot of either zero
    return result(static_cast<double>(x * rs(z) + 1 / ld{x}));
  }
  if (h <= 0x3ff921fb) {  // up to about pi/2: the other function of pi/2 - |x|
    ld v;
    if (!kCot) {  // cot y, y = pi/2 - |x|
      const ld y = (hp1 - ax) + ld{hp2};
      const ld z = y * y;
      v = (z * poly_r(z) + poly_s(z)) / (poly_s(z) * y);
    } else {  // tan y on y as a head and tail
      const double d = hp1 - ax;
      const double hi = d + hp2;
      const double lo = (d - hi) + hp2;
      const ld z = (lo + lo + ld{hi}) * hi;
      v = hi * pq(z) + lo + hi;
    }
    return result(static_cast<double>(x < 0 ? -v : v));
  }
  ld v;
  if (h <= 0x40f86a00) {  // up to 100000: table step
    const TableStep s = table_step(ax);
    if (!tangent_from_table(s, s.odd != kCot, v)) return pole8();
  } else {
    // |x| >= 3.53e15, infinities and NaNs: too large to reduce.
    if (!(ax < xmax)) return argument_error(err::kDtanRange, 1.0, _NaN_D);
    const Reduced red = reduce_large(ax);
    if (!tangent_of_reduced(red, red.odd != kCot, v)) return pole8();
  }
  if (kCot) v = -v;
  return result(static_cast<double>(x < 0 ? -v : v));
}

}  // namespace
}  // namespace vx

float g_tan(const float *x) { return vx::resume_loop(vx::tan_cot4<false>, *x); }
float g_cotan(const float *x) { return vx::resume_loop(vx::tan_cot4<true>, *x); }
double g_dtan(const double *x) { return vx::resume_loop(vx::tan_cot8<false>, *x); }
double g_dcotan(const double *x) { return vx::resume_loop(vx::tan_cot8<true>, *x); }
