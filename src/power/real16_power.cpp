// Real16 to a Real16 power: g_aqxq, and its core ulx_gpwq.
//
// ulx_gpwq: w = y log2 x (g_qlog2, g_aqmq); w at or below -16382 (word 3
// 0xc00cfff0 or more) gives +0; w of 16384 or more (word 3 0x400d0000 to
// 0x7fffffff) sets the flag to 272 and gives the largest finite Real16;
// otherwise 2^w (g_qexp2).
//
// g_aqxq: zeros of either sign count as +0. y = 0 gives 1 (a NaN pattern x
// too). A negative x with an integral y (g_qint(y) equal to y bit for bit)
// gives the power of |x|, negated when y/2 is not integral; with y not
// integral it is error 271, both operands reported: declined, the NaN
// pattern 0x7fff8000 under the infinity flag, else the power of |x|. A zero
// x gives +0 for y > 0, else error 270 (y reported). The power's overflow is
// error 272 (both reported). 270 and 272 default to +infinity under the
// infinity flag, else the largest finite Real16. Every error goes through
// signal_arith_exception; a resume starts again with the argument slots.
//
// Accuracy against MPFR (real_power_test): w is one rounded product, so
// its rounding, |w| 2^-113, and g_qlog2's error times |y| reach the result
// as ln 2 times themselves, relative: within 1 ulp + 1.4 |w| ulp.
#include <cstdint>

#include "power/power.h"
#include "qelem/real16_ops.h"
#include "quad/real16.h"

namespace vx {
namespace {

constexpr Real16 one = real16_from_words(0x3fff0000, 0, 0, 0);
constexpr Real16 hone = real16_from_words(0x3ffe0000, 0, 0, 0);  // 0.5

using qelem::mul;

bool integral(const Real16 &y) {
  Real16 t;
  g_qint(&t, &y);
  return w128::equal(quad::bits_of(t), quad::bits_of(y));
}
bool negative(const Real16 &x) { return quad::sign_of(x) != 0; }

struct Outcome {
  Real16 value;
  std::int32_t error;  // 0, 270, 271 or 272
};

Outcome attempt(Real16 x, Real16 y) {
  if (quad::is_zero(x)) x = quad::kZero;
  if (quad::is_zero(y)) return {one, 0};
  std::int32_t flag = 0;
  Real16 r;
  if (negative(x)) {
    if (!integral(y)) return {quad::kZero, err::kAqxqNegative};
    ulx_gpwq(&r, quad::with_sign(x, 0), y, &flag);
    if (flag != 0) return {quad::kZero, err::kAqxqOverflow};
    return {integral(mul(y, hone)) || quad::is_zero(r) ? r : quad::with_sign(r, quad::kSignBit), 0};
  }
  if (quad::is_zero(x)) {
    if (!negative(y)) return {quad::kZero, 0};
    return {quad::kZero, err::kAqxqZero};
  }
  ulx_gpwq(&r, x, y, &flag);
  if (flag != 0) return {quad::kZero, err::kAqxqOverflow};
  return {r, 0};
}

[[gnu::noinline, gnu::cold]] Real16 with_errors(Real16 x, Real16 y) {
  using detail::report_args;
  for (;;) {
    const Outcome o = attempt(x, y);
    if (o.error == 0) return o.value;
    const bool resumed = o.error == err::kAqxqZero
                             ? report_args<kSecondValue>(Via::arith_exception, o.error, true, x, y)
                             : report_args<kBothValues>(Via::arith_exception, o.error, true, x, y);
    if (resumed) continue;
    if (o.error != err::kAqxqNegative) return pick_default(kOverflowQ, _Inf_Q);
    if (infinity_defaults()) return _NaN_Q;
    x = quad::with_sign(x, 0);  // declined: the power of |x|
  }
}

}  // namespace
}  // namespace vx

Real16 *ulx_gpwq(Real16 *result, Real16 x, Real16 y, std::int32_t *flag) {
  using namespace vx;
  Real16 w;
  g_qlog2(&w, &x);
  g_aqmq(&w, &y, &w);
  if (w.w[3] >= 0xc00cfff0) return store_result(result, quad::kZero);  // w <= -16382
  if (w.w[3] >= 0x400d0000 && w.w[3] <= 0x7fffffff) {                  // w >= 16384
    *flag = err::kAqxqOverflow;
    return store_result(result, kOverflowQ);
  }
  return g_qexp2(result, &w);
}

Real16 *g_aqxq(Real16 *result, const Real16 *x, const Real16 *y) {
  const vx::Outcome o = vx::attempt(*x, *y);
  if (o.error == 0) [[likely]]
    return vx::store_result(result, o.value);
  return vx::store_result(result, vx::with_errors(*x, *y));
}
