// 2 ** x and 10 ** x for Real16: g_a2xq, g_atxq, by pseudo-multiplication
// in Fixed128.
//
// g_a2xq: x = n + f, n = g_iqint(x), f = x - n (g_aqsq; one is added to a
// negative f and taken from n), f in [0, 1). With f at scale 1 (ulx_guqw)
// and P = 1 at scale 2: for k = 1 to 128, when f >= a2[k] = log2(1 + 2^-k),
// f -= a2[k] and P += P >> k, so that P = 2^f up to the truncations of the
// shifts and the rest of f (below 2^-127). The result is P (ulx_guwt) with
// n added to its exponent field.
// g_atxq: n = floor(x log2 10) (g_iqint of the product log210 x, less one
// for a negative x; n = 0 for 0 <= x < log10 2) and r = (x - n log2a) -
// n log2b, log10 2 as a 96-bit head (n log2a exact) and a tail, n = +-1 as
// additions; 10^r for r in [0, log10 2) as above with a10[k] = log10(1 +
// 2^-k) at scale -1; 10^x = 2^n 10^r.
//
// Ranges (word 3 of x, unsigned):
//   2 ** x   0xc00cfff0 and above (x <= -16382, negative NaN patterns): +0;
//            0x400d0000 to 0x7fffffff (x >= 16384): overflow.
//   10 ** x  0xc00b3437 and above (x <= -4931.44): +0; 0x400b3441 to
//            0x7fffffff (x >= 4932.06): overflow.
// Overflow: error 272 through signal_arith_exception, the base (2 or 10)
// and x reported (type code 11); on resume a changed base hands over to
// g_aqxq, else the operator starts again with the new x; declined:
// +infinity under the infinity flag, else the largest finite Real16.
//
// Accuracy against MPFR (real_power_test): the 128 truncating steps and
// the table roundings err by about 2^-120 relative; what the reductions
// round decides the rest. 2 ** x: within 0.51 ulp for x >= 0 (f exact),
// 0.86 ulp for x < 0 (f + 1 rounded to 2^-114). 10 ** x: 1.08 ulp (r
// rounded once, by 2^-115, which ln 10 turns into 0.58 ulp next to a power
// of two), 1.66 ulp for n = -1 (x + log2a rounded as well).
#include <cstdint>

#include "fixed/fixed128.h"
#include "power/power.h"
#include "power/tables/log_steps_table.h"
#include "qelem/real16_ops.h"
#include "quad/real16.h"

namespace vx {
namespace {

using w128::U128;

constexpr Real16 one = real16_from_words(0x3fff0000, 0, 0, 0);
constexpr Real16 TWO = real16_from_words(0x40000000, 0, 0, 0);
constexpr Real16 TEN = real16_from_words(0x40024000, 0, 0, 0);
// log10 2 = log2a + log2b, log2a of 96 bits; log2 10
constexpr Real16 log2a = real16_from_words(0x3ffd3441, 0x3509f79f, 0xef311f12, 0xb3580000);
constexpr Real16 log2b = real16_from_words(0x3f996f92, 0x2f04d5a6, 0x18a87a3e, 0x69314bce);
constexpr Real16 log210 = real16_from_words(0x4000a934, 0xf0979a37, 0x15fc9257, 0xedfe9b60);

// P = product of (1 + 2^-k) over the steps k = 1..128 where the rest of
// `f` (at the table's scale) still holds table[k]; P at scale 2, as
// Real16 bits with n added to the exponent.
U128 pseudo_multiply(U128 f, const Fixed128 (&table)[129], std::int32_t n) {
  U128 p{std::uint64_t{1} << 62, 0};  // 1.0 at scale 2
  for (int k = 1; k <= 128; ++k) {
    const U128 t = fixed::load(table[k]);
    if (!w128::less(f, t)) {
      f = w128::sub(f, t);
      if (k < 128) p = w128::add(p, w128::shr(p, static_cast<unsigned>(k)));  // P >> 128 is 0
    }
  }
  const U128 r = fixed::to_real16(2, p);
  return {r.hi + (static_cast<std::uint64_t>(n) << 48), r.lo};
}

using qelem::add, qelem::from_int, qelem::mul, qelem::sub;

enum class Range { zero, value, overflow };

Range two_range(std::uint32_t w3) {
  if (w3 >= 0xc00cfff0) return Range::zero;
  return w3 >= 0x400d0000 && w3 <= 0x7fffffff ? Range::overflow : Range::value;
}
Range ten_range(std::uint32_t w3) {
  if (w3 >= 0xc00b3437) return Range::zero;
  return w3 >= 0x400b3441 && w3 <= 0x7fffffff ? Range::overflow : Range::value;
}

U128 two_to(const Real16 &x) {
  std::int32_t n = g_iqint(&x);
  Real16 f = sub(x, from_int(n));
  if (quad::sign_of(f) != 0 && !quad::is_zero(f)) f = add(f, one), --n;
  return pseudo_multiply(fixed::from_real16(1, quad::bits_of(f)), log_steps_table::a2, n);
}

U128 ten_to(const Real16 &x) {
  std::int32_t n = 0;
  Real16 r = x;
  if (x.w[3] >= 0x3ffd3441) {  // not in [0, log10 2)
    const Real16 y = mul(log210, x);
    n = g_iqint(&y) - (quad::sign_of(x) != 0 ? 1 : 0);
    if (n == 1) {
      r = sub(sub(x, log2a), log2b);
    } else if (n == -1) {
      r = add(add(x, log2a), log2b);
    } else {
      const Real16 q = from_int(n);
      r = sub(sub(x, mul(q, log2a)), mul(q, log2b));
    }
  }
  return pseudo_multiply(fixed::from_real16(-1, quad::bits_of(r)), log_steps_table::a10, n);
}

// The overflow report and its resume, out of line.
[[gnu::noinline, gnu::cold]] Real16 overflow(const Real16 &base, Real16 x,
                                             Range (*range)(std::uint32_t),
                                             U128 (*value)(const Real16 &)) {
  for (;;) {
    switch (range(x.w[3])) {
      case Range::zero:
        return quad::kZero;
      case Range::value:
        return quad::real16_from_bits(value(x));
      case Range::overflow:
        break;
    }
    Real16 b = base;
    if (!detail::report_args<kBothValues>(Via::arith_exception, err::kAqxqOverflow, true, b, x))
      return pick_default(kOverflowQ, _Inf_Q);
    if (!w128::equal(quad::bits_of(b), quad::bits_of(base))) {
      Real16 r;
      return *g_aqxq(&r, &b, &x);
    }
  }
}

[[gnu::always_inline]] inline Real16 *base_to(Real16 *result, const Real16 &base, const Real16 &x,
                                              Range (*range)(std::uint32_t),
                                              U128 (*value)(const Real16 &)) {
  switch (range(x.w[3])) {
    case Range::zero:
      return store_result(result, quad::kZero);
    case Range::value:
      return store_result(result, quad::real16_from_bits(value(x)));
    case Range::overflow:
      break;
  }
  return store_result(result, overflow(base, x, range, value));
}

}  // namespace
}  // namespace vx

Real16 *g_a2xq(Real16 *result, const Real16 *x) {
  return vx::base_to(result, vx::TWO, *x, vx::two_range, vx::two_to);
}
Real16 *g_atxq(Real16 *result, const Real16 *x) {
  return vx::base_to(result, vx::TEN, *x, vx::ten_range, vx::ten_to);
}
