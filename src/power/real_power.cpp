// Real4 and Real8 to a real power: g_arxr, g_adxd, and their cores
// ulx_gpow (Real4, in Real8 arithmetic) and ulx_gpwd (Real8); ulx_uexp.
//
// Driver (g_arxr; g_adxd alike with Real8, f_dint and its numbers):
//   y = 0: 1, for every x (a NaN too).
//   y an integer from 1 to 7 (Real4: bit pattern below 0x41000000, low 21
//     bits zero; Real8: high word below 0x40200000; and f_aint(y) == y):
//     x multiplied by itself y - 1 times in the register.
//   x < 0, y integral: the core of (-x, y), negated when y/2 is not
//     integral. x < 0, y not integral: error 263 (267), both arguments
//     reported; declined, a NaN under the infinity flag, else the power of
//     |x|.
//   x not above 0 (a zero or a NaN): y > 0 gives +0; otherwise error 262
//     (266), y reported; default +infinity under the infinity flag, else
//     3.40282002e+38 (1.7976931348623011e+308).
//   Otherwise the core; its overflow is error 1416 (1417), both arguments
//     reported, defaults as for 262.
// Every error goes through signal_arith_exception; a resume starts again at
// the top with the argument slots.
//
// ulx_gpow: x = 2^k m, m in [sqrt(2)/2, sqrt(2)] (the fraction's top 20
// bits against 0x6a09e, those of sqrt 2); s = (m - 1)/(m + 1),
// ln m = 2s + s^3 (p1 + s^2 (p2 + s^2 p3)); w = y k + y lg2e ln m with y k
// exact and kept apart. w < -127: +0; w >= 128: overflow. Otherwise
// w = n/16 + r by adding bg = 1.5 2^48, 2^r - 1 = r (a1 + r a2 + r^2 (a3 +
// r a4)), and the result (1 + that) e[n mod 16] with n div 16 added to its
// exponent field.
//
// ulx_gpwd, in the register: x = 2^e xs, xs in [0.75, 1.5) (a subnormal x
// scaled by 2^52 first), c = xs cut to nine fraction bits, the table atbl
// of log2 c as a head and a tail (c = 1 for xs in [1023/1024, 1)), and
// s = (xs - c)/(xs + c) as a 32-bit head and a tail formed exactly, so that
//   log2 x = e + log2 c + k1 s + k3 s^3 + k5 s^5 + k7 s^7
// holds to about 2^-78 relative, the Taylor coefficients 2/(k ln 2) to 64
// bits (k1 as a 29-bit head and a tail).
// It is carried as a 37-bit head L1 and the rest L2; with y as its upper 26
// bits and the lower 27, the products of y with L1 are exact, so w = y log2 x
// is known to about 2^-78 |w|. w >= 1024: overflow; w < -1080: +0.
// Otherwise w = m + j/64 + r (bg = 1.5 2^46), r in [-1/128, 1/128], and
// 2^w = 2^m (H + (L + H r P(r))), (H, L) = 2^(j/64) from exp2_table.h, P the
// five-term series of (2^r - 1)/r: 2.4e-18 relative. The product is rounded
// once to Real8 (to a subnormal below 2^-1022); a result that rounds beyond
// the largest finite Real8 overflows.
//
// Accuracy against MPFR (real_power_test): Real4 within 0.51 ulp over
// |w| < 126 (the series of ulx_gpow err by about 1e-9 relative). Real8:
// r P(r) misses 2^r - 1 by up to 2.34e-18 of 2^r (at |r| = 1/128), and
// H + (L + H r P) leaves out L (2^r - 1), up to 9.3e-17 0.0054 = 5e-19
// relative: together at most 2.85e-18 (j = 10, r = 1/128). The register sum
// adds 2^-64, and w and r, within 2^-68 of y log2 x, ln 2 2^-68. A relative
// error e of a result with significand f is e f 2^52 ulp; the largest over
// j and r, at j = 61, r = 1/128 (f = 1.947), is 0.0233 ulp, whatever |w|:
// within 0.524 ulp.
#include <cmath>
#include <cstdint>

#include "common/bits.h"
#include "elem/exp_log/exp_kernel.h"
#include "elem/exp_log/tables/atbl_table.h"
#include "elem/exp_log/tables/exp2_table.h"
#include "frame/ieee_constants.h"
#include "frame/runtime_imports.h"
#include "power/power.h"

namespace vx {
namespace {

using power::ld;

// ---- ulx_gpow ---------------------------------------------------------------

// ln m = 2s + s^3 (p1 + s^2 (p2 + s^2 p3)), |s| <= 0.1716
constexpr double p1 = 0.6666681595;  // near 2/3
constexpr double p2 = 0.3997479494;  // near 2/5
constexpr double p3 = 0.2992565069;  // near 2/7
constexpr double lg2e = 1.442695040888963;
// 2^r - 1 = r (a1 + r a2 + r^2 (a3 + r a4)), |r| <= 1/32
constexpr double a1 = 0.6931471801626;
constexpr double a2 = 0.2402265072804;
constexpr double a3 = 0.05550573627825;
constexpr double a4 = 0.009617941096744;
constexpr double bg16 = 422212465065984.0;  // 0x42F8000000000000: 1.5 * 2^48, ulp 1/16

}  // namespace
}  // namespace vx

double ulx_gpow(float xf, float yf, std::int32_t *flag) {
  using namespace vx;
  const double x = xf, y = yf;
  std::uint32_t h = high_word(x);
  std::int32_t k = static_cast<std::int32_t>(h >> 20) - 1023;
  std::uint32_t mh = (h & 0xfffff) | 0x3ff00000;
  if ((h & 0xfffff) > 0x6a09e) {  // m above sqrt(2): halve it
    mh -= 0x00100000;
    ++k;
  }
  const double m = real8_from_words(mh, low_word(x));
  const double s = (m - 1) / (m + 1);
  const double s2 = s * s;
  const double ln_m = 2 * s + s * s2 * (p1 + s2 * (p2 + s2 * p3));
  const double yk = y * k;  // exact: 24 by 9 bits
  const double t = y * lg2e * ln_m;
  const double w = yk + t;
  if (w < -127) return 0;
  if (!(w < 128)) {
    if (w != w) return w;
    *flag = err::kArxrOverflow;
    return kOverflowF;
  }
  const double big = w + bg16;
  const std::uint32_t n = low_word(big);
  const double r = (yk - (big - bg16)) + t;
  const double q = 1 + r * (a1 + r * a2 + r * r * (a3 + r * a4));
  const double v = q * exp2_table::e[4 * (n & 15)].high;  // 2^((n mod 16)/16)
  const std::int32_t shift = static_cast<std::int32_t>(n) >> 4;
  return real8_from_words(high_word(v) + (static_cast<std::uint32_t>(shift) << 20), low_word(v));
}

namespace vx {
namespace {

// ---- ulx_gpwd ---------------------------------------------------------------

// log2((1 + s)/(1 - s)) = k1 s + k3 s^3 + k5 s^5 + k7 s^7, |s| <= 2^-10,
// with the Taylor coefficients 2/(k ln 2) to 64 bits: the s^9 term left
// out is below 2^-80 of the sum. (Rounded Real8 coefficients fitted to the
// interval, 0.9617966939257624 and 0.5770786084392676, err by 1.3e-13 in
// k3: 2^-63 of log2 x, which |w| up to 1024 turns into 0.4 ulp.) k1 =
// k1h + k1l, k1h of 29 bits so that k1h times a 32-bit head of s is exact.
constexpr ld k1h = 0x1.7154765p+1L;            // 2/ln 2 to 29 bits
constexpr ld k1l = 0x1.5c17f0bbbe87fed0p-30L;  // 2/ln 2 - k1h
constexpr double k1 = 2.8853900817779268;      // 0x40071547652B82FE: 2/ln 2
static_assert(k1h + k1l - k1 < 0x1p-52 && k1 - (k1h + k1l) < 0x1p-52);
constexpr ld k3 = 0x1.ec709dc3a03fd74ap-1L;  // 2/(3 ln 2) = 0.96179669392597560
constexpr ld k5 = 0x1.2776c50ef9bfe792p-1L;  // 2/(5 ln 2) = 0.57707801635558536
constexpr ld k7 = 0x1.a61762a7aded93f6p-2L;  // 2/(7 ln 2) = 0.41219858311113240

// (2^r - 1)/r = q1 + q2 r + q3 r^2 + q4 r^3 + q5 r^4, |r| <= 1/128,
// 2.4e-18 relative.
constexpr double q1 = 0.6931471805599453;     // 0x3FE62E42FEFA39EF
constexpr double q2 = 0.24022650695877795;    // 0x3FCEBFBDFF829822
constexpr double q3 = 0.0555041086649867;     // 0x3FAC6B08D704FDB4
constexpr double q4 = 0.009618143209793031;   // 0x3F83B2AD544641FB
constexpr double q5 = 0.0013333546285662563;  // 0x3F55D87EA183AEDF
constexpr double bg64 = 105553116266496.0;    // 0x42D8000000000000: 1.5 * 2^46, ulp 1/64
constexpr double two52 = 0x1p52;

// The upper 64 - k bits of x's 64-bit significand, rounded (Dekker's split
// in the register: the rest, x - upper(x), holds at most k bits and its
// sign may differ).
template <int k>
ld upper(ld x) {
  constexpr ld factor = static_cast<ld>((std::uint64_t{1} << k) + 1);
  const ld t = x * factor;
  return t - (t - x);
}

// log2 x = l1 + l2 for a finite x > 0: l1 of at most 37 bits.
struct Log2 {
  ld l1, l2;
};

Log2 log2_split(double x) {
  std::int32_t shift = 0;
  if (x < 0x1p-1022) x *= two52, shift = 52;
  const std::uint64_t d = bits(x) - 0x3fe8000000000000;  // exponent of x/0.75 on top
  const std::uint64_t i = bits(x) - (d & 0xfff0000000000000);
  const ld e = static_cast<ld>((static_cast<std::int64_t>(d) >> 52) - shift);
  const double xs = real8_from_bits(i);
  // The last point below 1, c = 1023/1024, would leave log2 c and the
  // series of nearly opposite sizes next to 1: c = 1 there.
  const std::uint32_t j = (i >> 43) & 511;
  const double c = j == 511 ? 1.0 : real8_from_bits(i & 0xfffff80000000000);
  const DoubleDouble &t = atbl_table::atbl[j == 511 ? 0 : j];
  // s = (xs - c)/(xs + c) = sh + sl: num exact, den exact (54 bits), sh of
  // 32 bits; num - sh den is formed exactly from den's 27-bit halves.
  const ld num = ld{xs} - c, den = ld{xs} + c;
  const ld inv = 1 / den;
  const ld sh = upper<32>(num * inv);
  const ld den1 = upper<37>(den), den2 = den - den1;
  const ld sl = ((num - sh * den1) - sh * den2) * inv;
  const ld s = sh + sl, s2 = s * s;
  // log2 x = e + high + (k1h sh) + [low + k1h sl + k1l s + s^3 (k3 + k5 s^2)]
  const ld a = e + t.high;  // with its rounding error ae
  const ld ae = (e - a) + t.high;
  const ld b = k1h * sh;  // exact
  const ld ab = a + b;
  const ld abe = std::fabs(a) >= std::fabs(b) ? (a - ab) + b : (b - ab) + a;
  const ld l1 = upper<27>(ab);
  const ld rest = t.low + k1h * sl + k1l * s + s * s2 * (k3 + s2 * (k5 + s2 * k7));
  return {l1, ((ab - l1) + abe + ae) + rest};
}

}  // namespace
}  // namespace vx

double ulx_gpwd(double x, double y, std::int32_t *flag) {
  using namespace vx;
  ld w, r = 0;
  std::uint32_t v = 0;
  if (std::isfinite(x) && std::isfinite(y)) [[likely]] {
    const Log2 l = log2_split(x);
    const double y1 = dd::upper26(y), y2 = y - y1;
    const ld a = y1 * l.l1;  // exact
    const ld b = y2 * l.l1 + y * l.l2;
    w = a + b;
    if (w < 1100 && w > -1100) {
      const double big = static_cast<double>(w) + bg64;
      v = low_word(big);
      r = (a - (big - bg64)) + b;  // a - (m + j/64) exact
    }
  } else {  // y infinite or NaN, or x = +infinity (or NaN)
    const Log2 l = std::isfinite(x) ? log2_split(x) : Log2{x, 0};
    w = y * (l.l1 + l.l2);
  }
  if (!(w < 1024)) {
    if (w != w) return static_cast<double>(w);
    *flag = err::kAdxdOverflow;
    return kOverflowD;
  }
  if (w < -1080) return 0;
  const std::uint32_t j = v & 63;
  const ld poly = q1 + r * (q2 + r * (q3 + r * (q4 + r * q5)));
  const ld mant = exp_kernel::real8_mantissa(j, r, poly);
  // mant 2^m, rounded once: 2^m in two Real8 factors where it leaves their
  // range (the register holds every product).
  const std::int32_t m = static_cast<std::int32_t>(v - j) / 64;
  const double result =
      m > 1023    ? static_cast<double>(mant * real8_two_to(1023) * real8_two_to(m - 1023))
      : m < -1022 ? static_cast<double>(mant * real8_two_to(m + 100) * real8_two_to(-100))
                  : static_cast<double>(mant * real8_two_to(m));
  if (std::isinf(result)) {
    *flag = err::kAdxdOverflow;
    return kOverflowD;
  }
  return result;
}

// ---- ulx_uexp ---------------------------------------------------------------

namespace vx {
namespace {

constexpr double log2e = 1.4426950408889634;  // 0x3FF71547652B82FE
// 2^r - 1 = r (u1 + r (u2 + r u3)), 0 <= r < 1/64
constexpr double u1 = 0.693147189749263;
constexpr double u2 = 0.240223564102115;
constexpr double u3 = 0.0558054086633056;

}  // namespace
}  // namespace vx

// t = x log2e = N/64 + r with N = 64 (t - 1/128) rounded, r in [0, 1/64).
double ulx_uexp(const double *x) {
  using namespace vx;
  const double t = *x * log2e;
  const double big = (t - 0x1p-7) + bg64;
  const std::uint32_t n = low_word(big);
  const double r = t - (big - bg64);
  const double v = (1 + r * (u1 + r * (u2 + r * u3))) * exp2_table::e[n & 63].high;
  const std::int32_t shift = static_cast<std::int32_t>(n) >> 6;
  return real8_from_words(high_word(v) + (static_cast<std::uint32_t>(shift) << 20), low_word(v));
}

// ---- The drivers ------------------------------------------------------------

namespace vx {
namespace {

template <class T>
struct Kind;
template <>
struct Kind<float> {
  static bool integral(float y) { return f_aint(&y) == y; }
  // an integer from 1 to 7
  static bool small_integer(float y) {
    return bits(y) < 0x41000000 && (bits(y) & 0x1fffff) == 0 && integral(y);
  }
  static double core(float x, float y, std::int32_t *flag) { return ulx_gpow(x, y, flag); }
  static constexpr std::int32_t negative = err::kArxrNegative, zero = err::kArxrZero,
                                overflow = err::kArxrOverflow;
};
template <>
struct Kind<double> {
  static bool integral(double y) { return f_dint(&y) == y; }
  static bool small_integer(double y) { return high_word(y) < 0x40200000 && integral(y); }
  static double core(double x, double y, std::int32_t *flag) { return ulx_gpwd(x, y, flag); }
  static constexpr std::int32_t negative = err::kAdxdNegative, zero = err::kAdxdZero,
                                overflow = err::kAdxdOverflow;
};

template <class T>
struct Outcome {
  T value;
  std::int32_t error;  // 0, or the Kind's negative, zero or overflow number
};

template <class T>
Outcome<T> attempt(T x, T y) {
  using K = Kind<T>;
  if (y == 0) return {1, 0};
  if (K::small_integer(y)) {  // x * x * ... * x in the register
    ld r = x;
    for (int i = static_cast<int>(y); i > 1; --i) r *= x;
    return {static_cast<T>(r), 0};
  }
  std::int32_t flag = 0;
  if (x < 0) {
    if (!K::integral(y)) return {0, K::negative};
    const double r = K::core(-x, y, &flag);
    if (flag != 0) return {0, K::overflow};
    return {static_cast<T>(K::integral(y * T(0.5)) ? r : -r), 0};
  }
  if (!(x > 0)) return y > 0 ? Outcome<T>{0, 0} : Outcome<T>{0, K::zero};  // zero or NaN
  const double r = K::core(x, y, &flag);
  if (flag != 0) return {0, K::overflow};
  return {static_cast<T>(r), 0};
}

// The errors: reported through signal_arith_exception (262/266 with y as
// the value, the others with both arguments); a resume starts again.
template <class T>
[[gnu::noinline, gnu::cold]] T with_errors(T x, T y) {
  using detail::report_args;
  for (;;) {
    const Outcome<T> o = attempt(x, y);
    if (o.error == 0) return o.value;
    const bool resumed = o.error == Kind<T>::zero
                             ? report_args<kSecondValue>(Via::arith_exception, o.error, true, x, y)
                             : report_args<kBothValues>(Via::arith_exception, o.error, true, x, y);
    if (resumed) continue;
    if (o.error != Kind<T>::negative) return pick_default(kOverflow<T>, by_type<T>(_Inf_F, _Inf_D));
    if (infinity_defaults()) return kNaN<T>;
    x = -x;  // declined: the power of |x|
  }
}

template <class T>
[[gnu::always_inline]] inline T real_power(T x, T y) {
  const Outcome<T> o = attempt(x, y);
  if (o.error == 0) [[likely]]
    return o.value;
  return with_errors(x, y);
}

}  // namespace
}  // namespace vx

float g_arxr(const float *x, const float *y) { return vx::real_power(*x, *y); }
double g_adxd(const double *x, const double *y) { return vx::real_power(*x, *y); }
