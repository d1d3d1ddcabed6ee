// Base-2 logarithm, table-driven: g_log2, g_alog2 (Real4; g_alog2 is the
// Fortran specific name, a separate entry with the same steps), g_dlog2
// (Real8).
//
// Real4, on the bit pattern i: rounding the fraction to five bits
// (u = i + 0x20000) picks the table point c_j (1 + j/32 below 1.5,
// (1 + j/32)/2 above) and the power e with x = 2^e m, m in [0.75, 1.5);
// f = m - c_j is exact, and
//   log2 x = e + (ln c_j + f + ln(1 + f/c_j) - f) / ln 2
//          = e + lg2m (a[j] + f) + lg2m f T,  T = -C0 + C1 f + C2 f^2 + C3 f^3
// with a[j] and the per-point series p[j] from log2_table.h.
//
// Real8: x = 2^e x' with x' in [0.75, 1.5). Next to 1 (|x' - 1| < 1/128)
// a series in u = x' - 1 whose leading coefficient 1/ln 2 is split as
// 1.4375 + q[0], so that 1.4375 u is exact. Elsewhere x' is truncated to
// nine fraction bits, c (the 512 points of atbl_table.h), and with
// s = (x' - c)/(x' + c), x'/c = (1 + s)/(1 - s):
//   log2 x = e + log2 c + (2/ln 2)(s + s^3/3 + s^5/5)
// with log2 c as a high and low pair.
//
// Special cases: subnormal arguments are scaled by 2^32 (Real4) or 2^52
// (Real8) first; powers of two give their exponent exactly (log2 of the
// smallest subnormal is -149 / -1074); plus infinity gives plus infinity.
// Errors (argument reported as value): x not greater than zero, or a NaN:
//   244 (Real4) / 245 (Real8); defaults in log_argument_error.h.
//
// Evaluation: the Real8 steps are formed in the x87 register; where the
// processor has fused multiply-adds (common/cpu.h), positive normal
// arguments take a rounding bracket on SSE instead (log2_8_fma, with the
// tables of log2_fma_table.h), with the same results, and the register
// decides only the arguments it leaves open. The Real4 formula is evaluated
// in Real8 (SSE); where that value lies too close to a midpoint between
// Real4 values to be sure of rounding like the register value, the register
// evaluation decides (real4_rounding.h). The Real4 results are those of the
// register evaluation for every argument.
//
// Accuracy against MPFR (exp_log_test), by analysis: every step is formed in the register
// with tables exact to 2^-53 (Real4) or 2^-106 (Real8) and series whose
// truncation stays below 1.3e-9 (Real4, relative to f) and 4e-19 (Real8).
// The largest errors fall where the result is small and the series term is
// a large part of it: Real4 within 0.512 ulp (next to 1.02, where the series
// error reaches 0.011 ulp), Real8 within 0.53 ulp (next to 1.0098, where k1
// as a Real8, 1.4e-17 from 2/ln 2, costs 0.022 ulp).
#include <cmath>
#include <cstdint>

#include "common/bits.h"
#include "common/cpu.h"
#include "common/math_constants.h"
#include "common/real4_rounding.h"
#include "elem/erf_gamma/double_double.h"
#include "elem/exp_log/log_argument_error.h"
#include "elem/exp_log/tables/atbl_table.h"
#include "elem/exp_log/tables/log2_fma_table.h"
#include "elem/exp_log/tables/log2_table.h"
#include "frame/resume.h"

namespace vx {
namespace {

using ld = long double;

// ---- Real4 -----------------------------------------------------------------

constexpr float norm = 4294967296.0f;  // 0x4F800000: 2^32, scales subnormals
constexpr double lg2m = kLog2e.high;   // 1/ln 2

// log2 of the positive normal number with bit pattern i, less `shift`.
// T = long double is the register evaluation; T = double the same formula
// in Real8, within 4 of its ulps of the register value (the three terms
// carry errors of a few 2^-53 of their size, and the result is at least a
// third of the largest).
template <class T>
T log2_normal4(std::uint32_t i, int shift) {
  const std::uint32_t u = i + 0x20000;  // fraction rounded to five bits
  const std::int32_t e = static_cast<std::int32_t>(u - 0x3f400000) >> 23;  // x/2^e ~ [0.75, 1.5)
  const float m = real4_from_bits(i - (static_cast<std::uint32_t>(e) << 23));
  const float c = real4_from_bits(u - ((u - 0x3f400000) & 0xff83ffff));  // table point
  const std::uint32_t j = (u >> 18) & 31;
  const T f = m - c;  // exact: m lies within 1/64 of c
  const log2_table::Series &s = log2_table::p[j];
  const T t = s.c1 * f - s.c0 + f * f * (s.c2 + s.c3 * f);
  return (e - shift) + lg2m * (log2_table::a[j] + f) + lg2m * f * t;
}

// log2 x for x > 0, plus infinity included.
float log2_positive4(float x) {
  const std::uint32_t i = bits(x);
  if (i < 0x00800000) return static_cast<float>(log2_normal4<ld>(bits(x * norm), 32));  // subnormal
  if (i >= 0x7f800000) return x;  // plus infinity
  return static_cast<float>(log2_normal4<ld>(i, 0));
}

// What log2_4 leaves, in the register and out of line: zero, negatives
// and NaNs (the error), subnormals and plus infinity.
[[gnu::noinline, gnu::cold]] Attempt<float> log2_4_rest(float x) {
  // zero, negative, NaN: error 244
  if (!(x > 0)) return log_argument_error(err::kLogDomain, x, log2_positive4);
  return result(log2_positive4(x));
}

// Positive normal x in Real8 (0 or 2^-25 < |r| < 128), the register
// deciding next to a Real4 midpoint (a chance of about 2^-18); the rest in
// the register.
Attempt<float> log2_4(float x) {
  const std::uint32_t i = bits(x);
  if (i - 0x00800000 < 0x7f000000) [[likely]]  // positive, normal and finite
    return result(via_real8<float, Real4Range::normal>(
        [i](auto e) { return log2_normal4<decltype(e)>(i, 0); }));
  return log2_4_rest(x);
}

// ---- Real8 -----------------------------------------------------------------

constexpr double norm8 = 4503599627370496.0;  // 0x4330000000000000: 2^52, scales subnormals

// log2(1 + u) = u (1.4375 + q[0] + q[1] u + ... + q[7] u^7), |u| < 1/128.
constexpr double q8 = 1.4375;  // 0x3FF7000000000000: 1/ln 2 = q8 + q[0], q8 u exact
constexpr double q[8] = {
    0.005195040888963407,  // 0x3F7547652B82FE17
    -0.7213475204444817,   // 0xBFE71547652B82FE: -1/(2 ln 2)
    0.48089834696299655,   // 0x3FDEC709DC3A049B: near 1/(3 ln 2)
    -0.36067376022225484,  // 0xBFD71547652B83FA
    0.2885390074522864,    // 0x3FD2776C50282F07
    -0.24044917262564572,  // 0xBFCEC709DA638211
    0.20611857347729742,   // 0x3FCA6217EA1771F7
    -0.1803561608319012,   // 0xBFC715E92233DB5C
};
// (2/ln 2)(s + k3 s^3 + k5 s^5) for log2((1 + s)/(1 - s)), |s| < 1/1024.
constexpr double k1 = 2.8853900817779268;  // 0x40071547652B82FE: 2/ln 2
constexpr double k3 = 0.9617966939257624;  // 0x3FEEC709DC39FC7D: ~2/(3 ln 2)
constexpr double k5 = 0.5770786084392676;  // 0x3FE2776D8ECEF894: ~2/(5 ln 2)

// x = 2^e xs with xs in [0.75, 1.5); i is xs's bit pattern.
struct Reduced8 {
  std::int64_t e;
  std::uint64_t i;
  double xs;
};

Reduced8 reduce8(double x) {
  const std::uint64_t d = bits(x) - 0x3fe8000000000000;  // exponent of x/0.75 on top
  const std::uint64_t i = bits(x) - (d & 0xfff0000000000000);
  return {static_cast<std::int64_t>(d) >> 52, i, real8_from_bits(i)};
}

// The table point c (xs truncated to nine fraction bits) and its index j,
// from xs's bit pattern or x's (they share the fraction).
double table_point(std::uint64_t i) { return real8_from_bits(i & 0xfffff80000000000); }
std::uint32_t table_index(std::uint64_t i) { return static_cast<std::uint32_t>(i >> 43) & 511; }

// xs in [0.9921875, 1.0078125), j in 508..511 or 0..3: the series next to 1.
bool near_one(std::uint64_t i) { return ((table_index(i) + 4) & 511) < 8; }

// log2 of the positive normal number x, less `shift`.
ld log2_normal8(double x, int shift) {
  const auto [e, i, xs] = reduce8(x);
  if (near_one(i)) {
    const ld u = xs - 1.0;  // exact
    const ld s =
        q[0] +
        u * (q[1] + u * (q[2] + u * (q[3] + u * (q[4] + u * (q[5] + u * (q[6] + u * q[7]))))));
    return (e - shift) + (q8 * u + u * s);
  }
  const double c = table_point(i);
  const DoubleDouble &t = atbl_table::atbl[table_index(i)];
  const ld s = (xs - ld{c}) / (xs + ld{c});  // xs - c and xs + c exact
  const ld s2 = s * s;
  // e + high is exact for |e| < 32 (|high| > 2^-7 here); beyond, it rounds.
  return (ld(e - shift) + t.high) + (t.low + s * (k1 + s2 * (k3 + k5 * s2)));
}

// log2 x for x > 0, plus infinity included.
double log2_positive8(double x) {
  const std::uint32_t h = high_word(x);
  if (h < 0x00100000) return static_cast<double>(log2_normal8(x * norm8, 52));  // subnormal
  if (h >= 0x7ff00000) return x;                                                // plus infinity
  return static_cast<double>(log2_normal8(x, 0));
}

Attempt<double> log2_8(double x) {
  if (high_word(x) - 0x00100000 < 0x7fe00000) [[likely]]  // positive, normal and finite
    return result(static_cast<double>(log2_normal8(x, 0)));
  // zero, negative, NaN: error 245
  if (!(x > 0)) return log_argument_error(err::kDlogDomain, x, log2_positive8);
  return result(log2_positive8(x));
}

// ---- Real8 with fused multiply-adds ----------------------------------------
//
// The register rounds each step of log2_normal8 to 64 bits and the sum to a
// Real8. Here the same formula, with the same coefficients and table, is
// formed as an unevaluated sum head.high + head.low + mid within b of its
// exact value V, and the register's sum lies within a of V; when the sum
// moved by slack8 |head.high| either way rounds to the same Real8, so does
// the register's sum. Otherwise (about one argument in 130) the register
// evaluation runs. (eps = 2^-64 below.)
//
// Table branch, V = (e + high) + (low + T), T = k1 S + S^3 (k3 + k5 S^2),
// S = (xs - c)/(xs + c) in [0, 2^-10): the register rounds s (S within eps),
// k1 + ... and s times it (T within 3.001 eps |T|), low + T, e + high and the
// sum, each by eps of its size: a <= eps (|V| + |e + high| + |low + T| +
// 3.001 |T|) <= 2.7 eps |V|, the worst next to the near-1 range (|V| >= 0.0112,
// |T| <= 0.2 |V|). Here high + low is top + rest (log2_fma_table.h, to
// 2^-96), with e + top exact; T is the series in w = (xs - c)/(2c) below,
// k1 w an exact pair (to 2^-100) from the tables of k1 u/(2c) (u the last
// place of xs), and the rest, mid, from w in Real8: -k1 w^2 (at most
// 2^-12.3 |V|, next to the near-1 range) is formed from p and w, each
// within two roundings of k1 w and w, in one fused multiply-add, 5 2^-53 of
// its size or 2 eps |V|; adding mid to the small parts rounds by
// 0.4 eps |V|, the series beyond w^7 and the higher powers add 0.06 eps |V|:
// b <= 2.5 eps |V|.
//
// Near-1 branch, V = e + q8 u + u s(u), s = q[0] + q[1] u + u^2 P(u),
// |u| < 2^-7: the register rounds u s, the sum with the exact q8 u and the
// sum with e (the steps of s reach V scaled by |u s| / |V| <= 2^-7):
// a <= 1.05 eps |V|. Here q8 u, q[0] u and q[1] u^2 are exact pairs,
// u^3 P(u) (at most 2^-15.5 |V|) errs by 3.1 2^-53 of its size, and the
// sums of the small parts by as much: b <= 0.45 eps |V|.
//
// slack8 = 12 eps is 2.3 times the larger a + b; head.high is V within
// 2^-52 |V|.
constexpr double slack8 = 0x1.8p-61;

// Whether V = head.high + head.low + mid, moved by slack8 |head.high|
// either way, rounds to one Real8, r: |head.low| < 2^-42 (a few units of
// head.high's last place and the rest of log2 c), |mid| <= 2^-7 |head.high|.
// The slack is added to head.low before mid joins it.
[[gnu::target("fma"), gnu::always_inline]] inline bool settle(DoubleDouble head, double mid,
                                                              double &r) {
  const double slack = head.high * slack8;
  r = head.high + ((head.low + slack) + mid);
  return r == head.high + ((head.low - slack) + mid);
}

// T = k1 S + k3 S^3 + k5 S^5 as a series in w = S/(1 - S) = (xs - c)/(2c),
// w in [0, 2^-10): S = w/(1 + w), and the w^k coefficient collects
// (-1)^(k-m) C(k-1, m-1) k_m from each S^m (k1 w - k1 w^2 + c3 w^3 + ...).
// Beyond w^7 the series adds less than 44 w^8 <= 2^-74.5.
constexpr double c3 = k1 + k3;
constexpr double c4 = -(k1 + 3 * k3);
constexpr double c5 = k1 + 6 * k3 + k5;
constexpr double c6 = -(k1 + 10 * k3 + 5 * k5);
constexpr double c7 = k1 + 15 * k3 + 15 * k5;

// settle for V of the table branch of x's bit pattern b, without a
// division: xs - c is m units of xs's last place, m the fraction bits of x
// below the top nine; the tables of reciprocals include that unit.
[[gnu::target("fma")]] inline bool table_fma(double e, std::uint64_t b, double &r) {
  const std::uint32_t j = table_index(b);
  const DoubleDouble &t = log2_fma_table::split[j];  // atbl[j] as top + rest
  const DoubleDouble &k = log2_fma_table::k1_rcp[j];
  const double m = static_cast<double>(static_cast<std::int64_t>(b & 0x7ffffffffff));  // exact
  const double p = m * k.high;
  const double pl = std::fma(m, k.low, std::fma(m, k.high, -p));  // p + pl: k1 w to 2^-100
  const double w = m * log2_fma_table::half_rcp[j];
  const double w2 = w * w;
  const double poly = std::fma(w2, std::fma(w2, c7, std::fma(c6, w, c5)), std::fma(c4, w, c3));
  const double mid = std::fma(-p, w, (w2 * w) * poly);     // -k1 w^2 + c3 w^3 + ... + c7 w^7
  const DoubleDouble h = dd::fast_two_sum(e + t.high, p);  // e + top exact, |top| > 0.0112 > p
  return settle({h.high, (h.low + pl) + t.low}, mid, r);
}

// settle for V of the near-1 branch.
[[gnu::target("fma")]] inline bool near_one_fma(double e, double u, double &r) {
  const double y = q8 * u;  // exact
  const double z = q[0] * u;
  const double ze = std::fma(q[0], u, -z);
  const double u2 = u * u;
  const double u2e = std::fma(u, u, -u2);
  const double w = q[1] * u2;
  const double we = std::fma(q[1], u2, -w);
  const double pu = std::fma(
      u, std::fma(u, std::fma(u, std::fma(u, std::fma(u, q[7], q[6]), q[5]), q[4]), q[3]), q[2]);
  const double cube = (u2 * u) * pu;
  const DoubleDouble l = dd::two_sum(z, w);  // u (q[0] + q[1] u) may cancel
  const double le = l.low + (std::fma(q[1], u2e, ze + we) + cube);
  const DoubleDouble a = dd::fast_two_sum(e, y);            // |e| >= 1 or e = 0
  const DoubleDouble h = dd::fast_two_sum(a.high, l.high);  // |q8 u| > |u s|
  return settle({h.high, a.low + h.low}, le, r);
}

// g_dlog2 where fused multiply-adds are usable: positive normal x by the
// bracket, the rest and the arguments it leaves open by log2_8. It takes the
// argument's address (noipa keeps it so) to load the bit pattern straight
// into an integer register.
[[gnu::target("fma"), gnu::noipa]] double log2_8_fma(const double *x) {
  const std::uint64_t b = bits_at(x);
  if ((b >> 52) - 1 < 0x7fe) [[likely]] {  // positive, normal and finite
    const auto [e, i, xs] = reduce8(real8_from_bits(b));
    double r;
    if (near_one(b) ? near_one_fma(static_cast<double>(e), xs - 1.0, r)
                    : table_fma(static_cast<double>(e), b, r)) [[likely]]
      return r;
  }
  return resume_loop(log2_8, *x);
}

double log2_8_baseline(const double *x) { return resume_loop(log2_8, *x); }

}  // namespace
}  // namespace vx

float g_log2(const float *x) { return vx::resume_loop(vx::log2_4, *x); }
float g_alog2(const float *x) { return vx::resume_loop(vx::log2_4, *x); }
double g_dlog2(const double *x) {
  return vx::cpu::fma_or_baseline<vx::log2_8_fma, vx::log2_8_baseline>(x);
}
