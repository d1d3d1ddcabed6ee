// Hyperbolic sine and cosine, alone and paired: g_sinh, g_cosh, g_scnh,
// g_scnhq (Real4), g_dsinh, g_dcosh, g_dsch, g_dschq (Real8). The pairs store
// (sinh, cosh) through the hidden result address as a Complex8 or
// Complex16 and return it; the q forms take x in quadrant units, sinh and
// cosh of t = x pi/2.
//
// Method, on a = |x| (or |t|); the sine takes the sign of x at the end:
//   Real4  a <= 1: series; a < 8.32: E = e^a from the Real4 exponential
//          below, E/2 -+ 1/(2E); a < 88.722: e^a / 2 from the same
//          exponential with its scale lowered by one (e^-a is below the
//          rounding there); a < 89.415: (h/2) h with h = g_exp(a/2), since
//          e^a itself overflows.
//   Real8  a < 1: series; a < 18.4: H = ulx_guhy(a) = e^a / 2, H -+ 1/(4H);
//          a < 709.782: g_dexp(a) / 2; a < 710.475: (h/2) h, h = g_dexp(a/2).
//   q      t = |x| pi/2 rounded to the type (Real4 pi/2 = 1.5707964, Real8
//          hpi), the same kernels on t with the switch points taken on |x|
//          (Real4 0.63661975, 5.3, 56.482, 56.923; Real8 0.63661977, 11.7,
//          451.861, 452.302); g_scnhq's middle range uses E = g_exp(t).
//   g_exp and g_dexp return their result in the x87 register, and these
//   functions use it as it comes, unrounded: they call the exponentials'
//   kernel (exp_x87), which gives that register value, since the entries'
//   C return type rounds it. Their arguments lie inside the range the
//   entries compute without a report.
//   The pairs compute both values from one exponential; the single
//   functions are the same code asking for one of them, so g_scnh agrees
//   with g_sinh and g_cosh, and g_dsch with g_dsinh and g_dcosh, bit for
//   bit.
//
// Real4 exponential of y >= 0: t = y log2(e); n = (t - 1/128) + bg stored
// as Real8, so that n - bg is t - 1/128 rounded to a multiple of 1/64 and
// f = t - (n - bg) lies in [0, 1/64]; with j = n mod 64 (n's low word),
// E = _e[j] + _e[j] f (q0 + f (q1 + f q2)) stored as Real4, and the integer
// part of (n - bg) goes into E's exponent field. _e[j] = 2^(j/64) is the
// high part of the exponentials' table exp2_table::e.
//
// Errors (argument reported as value), beyond the last range, infinities
// and NaNs included:
//   223 g_sinh, g_cosh, g_scnh: sinh +-3.40282002e+38 by the sign of x,
//       cosh +3.40282002e+38; with the infinity flag +-infinity, +infinity.
//   223 g_scnhq: the finite values whatever the infinity flag holds.
//   224 g_dsinh, g_dcosh, g_dsch: the same with 1.7976931348623011e+308.
//   224 g_dschq: the finite values whatever the infinity flag holds.
//
// Accuracy against MPFR (hyperbolic_test states the bound of each range and
// why), by analysis: within 1.85 ulp, the largest errors coming from E (Real4) or H (Real8)
// being rounded to the type before E/2 - 1/(2E) just above 1; within 1.2
// ulp elsewhere. The q forms add the error of t, a relative 2^-24 + 2.8e-8
// (Real4) or 2^-53 + 3.9e-17 (Real8), which sinh and cosh carry multiplied
// by about t: 7.8e-6 relative (up to 130 ulp) at the top of the Real4
// range, 1.1e-13 (up to 960 ulp) at the top of the Real8 range.
#include <cmath>
#include <cstdint>

#include "common/bits.h"
#include "common/math_constants.h"
#include "elem/exp_log/exp_kernel.h"
#include "elem/exp_log/tables/exp2_table.h"
#include "elem/hyperbolic/half_exp.h"
#include "elem/hyperbolic/tables/sinh_series_table.h"
#include "frame/hidden_result.h"
#include "frame/ieee_constants.h"
#include "frame/resume.h"

namespace vx {
namespace {

using ld = long double;

// Which of the two values a caller asks for.
enum Want : unsigned { kSinh = 1, kCosh = 2, kBoth = 3 };

// sinh a and cosh a (a >= 0) as the x87 register holds them.
struct Values {
  ld sinh, cosh;
};

Values from_half_exp(ld half_e, ld quarter_inverse) {
  return {half_e - quarter_inverse, half_e + quarter_inverse};
}
Values both(ld v) { return {v, v}; }

// The ranges of |x| (or |t|), each with its kernel: the series, E/2 -+
// 1/(2E), e^a / 2 alone, the split form; beyond them the result overflows.
enum class Range { series, middle, upper, top, beyond };

// The range of a key (a bit pattern or a magnitude) from the ends of the
// first four ranges; a NaN compares with none of them and lies beyond.
template <class K>
Range range_of(K key, const K (&ends)[4]) {
  for (int i = 0; i < 4; ++i)
    if (key < ends[i]) return static_cast<Range>(i);
  return Range::beyond;
}

// ---- Real4 -----------------------------------------------------------------

// sinh x = x + x s (sp1 + s (sp2 + s sp3)), |x| <= 1.
constexpr float sp1 = 0.16666734f;    // 0x3E2AAAD8
constexpr float sp2 = 0.0083299121f;  // 0x3C087A2F
constexpr float sp3 = 0.0002039399f;  // 0x3955D8B3
// cosh x = 1 + s (cp1 + s (cp2 + s (cp3 + s cp4))), |x| <= 1.
constexpr float cp1 = 0.49999997f;    // 0x3EFFFFFF
constexpr float cp2 = 0.041666869f;   // 0x3D2AAAE1
constexpr float cp3 = 0.0013883059f;  // 0x3AB5F7D1
constexpr float cp4 = 2.548408e-05f;  // 0x37D5C6A5
// The exponential: log2(e) to the nearest Real8, not the 1.442695040888963
// two units below it (math_constants.h), the rounding constant, and
// 2^f - 1 = f (q0 + f (q1 + f q2)) for 0 <= f <= 1/64 (0.002 ulp).
constexpr double log2e = kLog2e.high;
constexpr double bg = 105553116266496.0;  // 0x42D8000000000000: 1.5 2^46, rounds to 1/64
constexpr float q0 = 0.69314718f;         // 0x3F317218
constexpr float q1 = 0.24022356f;         // 0x3E75FD2A
constexpr float q2 = 0.055805407f;        // 0x3D649436
constexpr float hpi4 = 1.5707964f;        // 0x3FC90FDB: pi/2 in Real4

// 2^scale e^y for 0 <= y < 88.73, rounded to Real4 (as described at the
// top; scale is 0 or -1).
float exp4(float y, std::int32_t scale) {
  const ld t = y * ld{log2e};
  const double n = static_cast<double>((t - 0.0078125L) + bg);  // stored: bg + multiple of 1/64
  const ld f = (bg - n) + t;                                    // in [0, 1/64]
  const std::uint32_t w = low_word(n);
  const std::uint32_t j = w & 63;
  const ld e = exp2_table::e[j].high;  // _e[j]
  const float m = static_cast<float>(e + e * f * (q0 + f * (q1 + f * q2)));
  const std::uint32_t exponent = ((w - j) << 17) + (static_cast<std::uint32_t>(scale) << 23);
  return real4_from_bits(bits(m) + exponent);
}

// e^a / 2 where e^a would overflow: (h/2) h with h = e^(a/2).
ld split_exp(ld a) {
  const ld h = exp_x87(a / 2);  // g_exp(a/2), g_dexp(a/2)
  return (0.5L * h) * h;
}

template <unsigned kWant>
Values series4(ld a) {
  Values v{0, 0};
  const ld s = a * a;
  if constexpr ((kWant & kSinh) != 0) v.sinh = a + a * s * (sp1 + s * (sp2 + s * sp3));
  if constexpr ((kWant & kCosh) != 0) v.cosh = 1 + s * (cp1 + s * (cp2 + s * (cp3 + s * cp4)));
  return v;
}

// The pair of x: sinh with the sign of x, each rounded to Real4.
Complex8 signed_pair(float x, Values v) {
  const bool negative = std::signbit(x);
  return {static_cast<float>(negative ? -v.sinh : v.sinh), static_cast<float>(v.cosh)};
}
Complex8 overflow_pair(float x, float big) { return {std::signbit(x) ? -big : big, big}; }

// Ends of the ranges of g_sinh, g_cosh and g_scnh on the bit pattern of
// |x|: 1 (included), 8.32, 88.722, 89.415; of g_scnhq on that of |x|:
// 0.63661975, 5.3, 56.482, 56.923 (|t| below 1, 8.33, 88.722, 89.415).
constexpr std::uint32_t ends4[4] = {0x3f800001, 0x41051eb8, 0x42b171aa, 0x42b2d47b};
constexpr std::uint32_t quadrant_ends4[4] = {0x3f22f983, 0x40a9999a, 0x4261ed91, 0x4263b127};

// sinh a and cosh a by range; g_scnhq (kQuadrant) takes E = g_exp(a) in
// the middle and upper ranges, the others the Real4 exponential. (Inlined
// into each attempt: as a call its two register values would go through
// memory.)
template <unsigned kWant, bool kQuadrant>
[[gnu::always_inline]] inline Values kernels4(Range r, float a) {
  switch (r) {
    case Range::series:
      return series4<kWant>(a);
    case Range::middle: {
      const ld e = kQuadrant ? exp_x87(a) : ld{exp4(a, 0)};
      return from_half_exp(0.5L * e, 0.5L / e);
    }
    case Range::upper:
      return both(kQuadrant ? 0.5L * exp_x87(a) : ld{exp4(a, -1)});
    default:
      return both(split_exp(a));
  }
}

// One attempt of g_sinh (kSinh), g_cosh (kCosh) or g_scnh (kBoth).
template <unsigned kWant>
Attempt<Complex8> sinh_cosh4(float x) {
  const std::uint32_t a = bits(x) & 0x7fffffff;
  const Range r = range_of(a, ends4);
  // |x| >= 89.415, infinities, NaNs: error 223
  if (r == Range::beyond)
    return argument_error(err::kSinhOverflow, overflow_pair(x, kOverflowF),
                          overflow_pair(x, _Inf_F));
  return result(signed_pair(x, kernels4<kWant, false>(r, real4_from_bits(a))));
}

// One attempt of g_scnhq.
Attempt<Complex8> sinh_cosh_quadrants4(float x) {
  const std::uint32_t a = bits(x) & 0x7fffffff;
  const Range r = range_of(a, quadrant_ends4);
  // |x| >= 56.923, infinities, NaNs: error 223, the finite default whatever
  // the infinity flag holds
  if (r == Range::beyond)
    return argument_error(err::kSinhOverflow, overflow_pair(x, kOverflowF),
                          overflow_pair(x, kOverflowF));
  const float t = real4_from_bits(a) * hpi4;  // |x| pi/2 in Real4
  return result(signed_pair(x, kernels4<kBoth, true>(r, t)));
}

// ---- Real8 -----------------------------------------------------------------

constexpr double emax = 709.782;  // 0x40862E4189374BC7: e^a / 2 from g_dexp below this
constexpr double xmax = 710.475;  // 0x408633CCCCCCCCCD: limit of the split form
constexpr double hpi = kHalfPi;
// Ends of the ranges of g_dsinh, g_dcosh and g_dsch on |x|: 1 and 18.4
// (high words 0x3FF00000 and 0x40326666), emax, xmax; of g_dschq:
// 0.63661977, 11.7, 451.861, 452.302 (|t| below 1, 18.38, 709.78, 710.47).
constexpr double ends8[4] = {1.0, real8_from_words(0x40326666, 0), emax, xmax};
constexpr double quadrant_ends8[4] = {0.63661977, 11.7, 451.861, 452.302};
// cosh x = 1 + s (cp1 + s (cp2 + ... + s cp7)), |x| < 1 (0.29 ulp).
constexpr double dcp1 = 0.5000000000000001;      // 0x3FE0000000000001
constexpr double dcp2 = 0.041666666666663174;    // 0x3FA555555555535E
constexpr double dcp3 = 0.0013888888889177459;   // 0x3F56C16C16C373EE
constexpr double dcp4 = 2.4801587185234638e-05;  // 0x3EFA01A017F59E9D
constexpr double dcp5 = 2.755734457704308e-07;   // 0x3E927E50D4EBD5A9
constexpr double dcp6 = 2.08737088229234e-09;    // 0x3E21EE2D57491EC6
constexpr double dcp7 = 1.1660810833457919e-11;  // 0x3DA9A473F2460286

// sinh x = x + x s (p1 + s (p2 + ... + s p7)), |x| < 1: sinh_series.h.
ld odd_series8(ld a, ld s) {
  ld p = sinh_series[6];
  for (int i = 5; i >= 0; --i) p = sinh_series[i] + s * p;
  return a + a * s * p;
}
ld even_series8(ld s) {
  return 1 + s * (dcp1 + s * (dcp2 + s * (dcp3 + s * (dcp4 + s * (dcp5 + s * (dcp6 + s * dcp7))))));
}

template <unsigned kWant>
Values series8(ld a) {
  Values v{0, 0};
  const ld s = a * a;
  if constexpr ((kWant & kSinh) != 0) v.sinh = odd_series8(a, s);
  if constexpr ((kWant & kCosh) != 0) v.cosh = even_series8(s);
  return v;
}

Values from_guhy(double a) {
  const ld h = ulx_guhy(&a);
  return from_half_exp(h, 0.25L / h);
}

Complex16 signed_pair(double x, Values v) {
  const bool negative = std::signbit(x);
  return {static_cast<double>(negative ? -v.sinh : v.sinh), static_cast<double>(v.cosh)};
}
Complex16 overflow_pair(double x, double big) { return {std::signbit(x) ? -big : big, big}; }

// sinh a and cosh a by range (inlined, as kernels4).
template <unsigned kWant>
[[gnu::always_inline]] inline Values kernels8(Range r, double a) {
  switch (r) {
    case Range::series:
      return series8<kWant>(a);
    case Range::middle:
      return from_guhy(a);
    case Range::upper:
      return both(0.5L * exp_x87(a));  // g_dexp(a) / 2
    default:
      return both(split_exp(a));
  }
}

// One attempt of g_dsinh (kSinh), g_dcosh (kCosh) or g_dsch (kBoth).
template <unsigned kWant>
Attempt<Complex16> sinh_cosh8(double x) {
  const double ax = std::fabs(x);
  const Range r = range_of(ax, ends8);
  // |x| >= 710.475, infinities, NaNs: error 224
  if (r == Range::beyond)
    return argument_error(err::kDsinhOverflow, overflow_pair(x, kOverflowD),
                          overflow_pair(x, _Inf_D));
  return result(signed_pair(x, kernels8<kWant>(r, ax)));
}

// One attempt of g_dschq.
Attempt<Complex16> sinh_cosh_quadrants8(double x) {
  const double ax = std::fabs(x);
  const Range r = range_of(ax, quadrant_ends8);
  // |x| >= 452.302, infinities, NaNs: error 224, the finite default whatever
  // the infinity flag holds
  if (r == Range::beyond)
    return argument_error(err::kDsinhOverflow, overflow_pair(x, kOverflowD),
                          overflow_pair(x, kOverflowD));
  return result(signed_pair(x, kernels8<kBoth>(r, ax * hpi)));  // t = |x| pi/2 in Real8
}

}  // namespace
}  // namespace vx

float g_sinh(const float *x) { return vx::resume_loop(vx::sinh_cosh4<vx::kSinh>, *x).re; }
float g_cosh(const float *x) { return vx::resume_loop(vx::sinh_cosh4<vx::kCosh>, *x).im; }
double g_dsinh(const double *x) { return vx::resume_loop(vx::sinh_cosh8<vx::kSinh>, *x).re; }
double g_dcosh(const double *x) { return vx::resume_loop(vx::sinh_cosh8<vx::kCosh>, *x).im; }

Complex8 *g_scnh(Complex8 *result, const float *x) {
  return vx::store_result(result, vx::resume_loop(vx::sinh_cosh4<vx::kBoth>, *x));
}
Complex8 *g_scnhq(Complex8 *result, const float *x) {
  return vx::store_result(result, vx::resume_loop(vx::sinh_cosh_quadrants4, *x));
}
Complex16 *g_dsch(Complex16 *result, const double *x) {
  return vx::store_result(result, vx::resume_loop(vx::sinh_cosh8<vx::kBoth>, *x));
}
Complex16 *g_dschq(Complex16 *result, const double *x) {
  return vx::store_result(result, vx::resume_loop(vx::sinh_cosh_quadrants8, *x));
}
