// Real16 exponentials: g_qexp (e^x), g_qexp2 (2^x), g_qexp10 (10^x).
//
// Method: x = n log_b 2 + r with r in [0, log_b 2] and n an integer, then
// b^r by pseudo-multiplication over log_b(1 + 2^-k) (exp_log.h) and 2^n by
// the exponent field.
//   g_qexp    t = x log2(e), n = trunc(t) (one less for negative x), r =
//             (x - loge2a N) - loge2b N with ln 2 in a 49-bit head (so the
//             product by N, |N| < 2^14, and the difference are exact) and
//             its rounded tail; the table ln(1 + 2^-k) for k = 0..64, then
//             Y (1 + R) for what is left (below 2^-64).
//   g_qexp10  the same with log10(2) = log2a + log2b and the table
//             log10(1 + 2^-k) for k = 0..119, without the last product.
//   g_qexp2   n = floor(x), r = x - n exactly; log2(1 + 2^-k), k = 1..119
//             (entry 0, log2 2 = 1, lies beyond the fractions r can be).
// The remainder is held unsigned, so some arguments take another n than a
// plain reading of the reduction would give them:
//   - a negative x of magnitude below log_b 2 uses n = -1 (r = x + log_b 2);
//   - when a rounded t = x / log_b 2 lands on the integer above a true
//     quotient just below it, r comes out negative: n is lowered by one.
//   - g_qexp2 of a negative integer has r = 0 with n = x (a truncation
//     lowered by one for every negative x would take r = 1, outside the
//     fractions, and give exp2(-1) = 0.25); a negative x whose fraction
//     rounds 1 + r to 1 (|r| below 2^-114) takes r = 0 with n = trunc(x).
//
// Special cases (on word 3 of x, the sign cleared for the magnitude tests):
//   g_qexp   x <= -11355.125 (word 3 >= 0xc00c62d9): +0, no report.
//            x >= 11356.5 (word 3 >= 0x400c62e4, +inf and NaN patterns too):
//            error 231, default the largest finite Real16, or _Inf_Q.
//   g_qexp2  x <= -16382 (0xc00cfff0): +0; x >= 16384 (0x400d0000): error 240.
//   g_qexp10 x <= -4931.4375 (0xc00b3437): +0; x >= 4932.0625 (0x400b3441):
//            error 243.
//   x is reported as a value (type 11); a resume starts again with the slot.
//
// Accuracy: the reduction's rounding of r (half an ulp of r, times ln b in
// the result) and the rounding of Y: within 1.5 ulp; real16_exp_log_test
// measures against MPFR.
#include "qelem/exp_log/exp_log.h"

namespace vx::qelem {
namespace {

using quad::Result16;

constexpr Real16 log2e = q16(0x3fff7154, 0x7652b82f, 0xe1777d0f, 0xfda0d23a);  // log2 e
constexpr Real16 loge2a = q16(0x3ffe62e4, 0x2fefa39e);  // ln 2, leading 49 bits
constexpr Real16 loge2b = q16(0x3fcde6af, 0x278ece60, 0x0fcbdabd, 0x03cd0c9a);  // ln 2 - loge2a
constexpr Real16 log210 = q16(0x4000a934, 0xf0979a37, 0x15fc9257, 0xedfe9b60);  // log2 10
constexpr Real16 log2a = q16(0x3ffd3441, 0x3509f79f);  // log10 2, leading 49 bits
constexpr Real16 log2b = q16(0x3fccde62, 0x3e2566b0, 0x2df245e0, 0x9ab4c315);  // log10 2 - log2a

struct Reduced {
  std::int32_t n;
  Real16 r;
};

// x = n log_b 2 + r, r >= 0, for log_b 2 = hi + lo and its reciprocal
// `inverse`; `small` the high word below which a positive x is r itself.
Reduced reduce(const Real16 &x, const Real16 &inverse, const Real16 &hi, const Real16 &lo,
               std::uint32_t small) {
  const bool negative = is_negative(x) && !quad::is_zero(x);
  if (!negative && high_word(x) < small) return {0, x};
  std::int32_t n = -1;
  if (high_word(x) >= small) n = trunc_int(mul(x, inverse)) - (negative ? 1 : 0);
  for (;;) {
    Real16 r;
    if (n == -1) {
      r = add(add(x, hi), lo);
    } else if (n == 1) {
      r = sub(sub(x, hi), lo);
    } else {
      const Real16 big_n = from_int(n);
      r = sub(sub(x, mul(hi, big_n)), mul(lo, big_n));
    }
    if (!is_negative(r) || quad::is_zero(r)) return {n, r};
    --n;  // t rounded up onto an integer: one power of two less
  }
}

Result16 overflow(std::int32_t error) {
  return argument_error(error, quad::bits_of(kOverflowQ), quad::bits_of(_Inf_Q));
}

Result16 exp_e(const Real16 &x) {
  if (x.w[3] >= 0xc00c62d9) return result(U128{0, 0});  // x <= -11355.125: +0
  if (x.w[3] >= 0x400c62e4 && !is_negative(x)) return overflow(err::kQexpOverflow);  // >= 11356.5
  const Reduced red = reduce(x, log2e, loge2a, loge2b, 0x3ffe62e4);
  const Product p =
      pseudo_multiply(fixed::from_real16(0, quad::bits_of(red.r)), qlog_table::al, 0, 64);
  // The rest R < 2^-64: Y (1 + R), the product's low half dropped.
  const w128::U256 yr = w128::mul128x128(p.y, p.rest);
  return result(times_power_of_two(w128::add(p.y, yr.hi), red.n));
}

Result16 exp_2(const Real16 &x) {
  if (x.w[3] >= 0xc00cfff0) return result(U128{0, 0});                                // x <= -16382
  if (x.w[3] >= 0x400d0000 && !is_negative(x)) return overflow(err::kQexp2Overflow);  // >= 16384
  // n = floor(x): the truncation, one less for a negative x with a fraction.
  std::int32_t n = trunc_int(x);
  Real16 r = sub(x, from_int(n));
  if (is_negative(r) && !quad::is_zero(r)) {
    r = add(r, kOne);
    if (high_word(r) < 0x3fff0000)
      --n;  // 1 + r rounded to 1 for a tiny r: 2^n
    else
      r = quad::kZero;
  }
  const Product p =
      pseudo_multiply(fixed::from_real16(0, quad::bits_of(r)), qlog_table::a2, 1, 119);
  return result(times_power_of_two(p.y, n));
}

Result16 exp_10(const Real16 &x) {
  if (x.w[3] >= 0xc00b3437) return result(U128{0, 0});  // x <= -4931.4375
  if (x.w[3] >= 0x400b3441 && !is_negative(x))
    return overflow(err::kQexp10Overflow);  // >= 4932.0625
  const Reduced red = reduce(x, log210, log2a, log2b, 0x3ffd3441);
  const Product p =
      pseudo_multiply(fixed::from_real16(0, quad::bits_of(red.r)), qlog_table::a10, 0, 119);
  return result(times_power_of_two(p.y, red.n));
}

}  // namespace
}  // namespace vx::qelem

Real16 *g_qexp(Real16 *result, const Real16 *x) {
  return vx::quad::resume_and_store<vx::kFirstValue>(result, vx::qelem::exp_e, *x);
}

Real16 *g_qexp2(Real16 *result, const Real16 *x) {
  return vx::quad::resume_and_store<vx::kFirstValue>(result, vx::qelem::exp_2, *x);
}

Real16 *g_qexp10(Real16 *result, const Real16 *x) {
  return vx::quad::resume_and_store<vx::kFirstValue>(result, vx::qelem::exp_10, *x);
}
