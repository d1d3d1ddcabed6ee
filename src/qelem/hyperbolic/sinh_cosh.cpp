// Real16 hyperbolic sine, cosine and tangent: g_qsinh, g_qcosh, g_qtanh,
// and the pairs g_qpscnh (sinh x, cosh x) and g_qpscnhq (sinh and cosh of
// x pi/2).
//
// Method, with a = |x| (ranges on word 3 of a):
//   a below 1: the hyperbolic kernel ulx_gush (mode 1 sinh, 2 cosh, 3 both).
//   a below 39.1630859375 (0x4004394e): E = e^a, sinh = (E - 1/E)/2, cosh =
//     (E + 1/E)/2, the halving by the exponent field.
//   a below 11356.5 (0x400c62e4): sinh = cosh = e^a / 2.
//   a below 11357.125 (0x400c62e9): e^(a - ln 2), e^a / 2 without overflow.
//   sinh takes the sign of x when nonzero.
//   g_qtanh: a from 39.1630859375 on, +-1; from 1 on, 1 - 2E/(E + 1) with E
//     = e^(-2a); down to 0.0029297 (word 3 above 0x3ff68000), sinh a / cosh a
//     from ulx_gush (both rounded, then the Real16 quotient); below that
//     the series a + a z (f0 + f1 z + ... + f4 z^4), z = a^2, and x itself
//     below 2^-64; the sign of x.
//   g_qpscnhq: t = a pi/2 (xmax 7232.125 = 0x400bc3e2 on a); t below 1 the
//     series t + t z (as0 + as1 z + ... + as12 z^12) and ac0 + ac1 z + ...
//     + ac13 z^13 (z = t^2; as_i and ac_i close to 1/(2i+1)! and 1/(2i)!,
//     levelled over [0, 1] by tools/tables/gen_qhyperbolic.cpp: the
//     Taylor terms alone stop at 2^-93 at t = 1);
//     below 2^-64 sinh t = t and cosh t = 1 (t^2 would underflow); then
//     E = e^t with its reciprocal from ulx_gddq(1.0, E) as above.
//
// Special cases: sinh, cosh and g_qpscnh from a = 11357.125 on, g_qpscnhq
// from |x| = 7232.125 on and from t = 11357.125 on (|x| from 7230.19: the
// bound of xmax lies above the point where sinh t overflows, and g_qexp of
// t - ln 2 would report its own 231 there): error 225 with x reported (type 11); sinh the largest
// finite Real16 with the sign of x (or an infinity of that sign), cosh the
// largest (or +infinity); the pairs store the finite values whatever the
// infinity flag holds. g_qtanh reports nothing. A resume starts again with
// the slot.
//
// Accuracy: within 2 ulp below 11356.5; above, within 2 ulp of e^(a - ln 2)
// taken with a - ln 2 as rounded (real16_hyperbolic_test).
#include "qelem/hyperbolic/tables/hyperbolic_table.h"
#include "qelem/real16_ops.h"

namespace vx::qelem {
namespace {

using quad::Result16;

constexpr Real16 log2 = q16(0x3ffe62e4, 0x2fefa39e, 0xf35793c7, 0x673007e6);  // ln 2
constexpr Real16 hpiq = q16(0x3fff921f, 0xb54442d1, 0x8469898c, 0xc51701b8);  // pi/2
constexpr std::uint32_t xbg1 = 0x4004394e, xbg2 = 0x400c62e4, xmax = 0x400bc3e2;

// tanh t = t + t (f0 z + f1 z^2 + ... + f4 z^5), z = t^2.
constexpr Real16 f[5] = {
    q16(0xbffd5555, 0x55555555, 0x55555555, 0x5553787d),  // -0.33333333333333333333333333332745576
    q16(0x3ffc1111, 0x11111111, 0x111110c3, 0xc1608b7b),  // 0.13333333333333333333332533953358929
    q16(0xbffaba1b, 0xa1ba1ba1, 0xb0f1f90e, 0x009f5f40),  // -0.05396825396825396428026755177928950
    q16(0x3ff9664f, 0x4882823a, 0x795a7ab1, 0x4e991f2a),  // 0.02186948853526229774795497733364584
    q16(0xbff8226d, 0x6ec42ac6, 0x7bcec8e4, 0x69e2671b),  // -0.00886314304837849907881082871291875
};

struct Pair {
  Real16 s, c;
};

constexpr Real16 halved(const Real16 &x) { return quad::is_zero(x) ? x : scaled(x, -1); }

// sinh and cosh of a >= 1 from e^a (the caller's ranges): with `inverse`,
// the reciprocal of E for the lowest range.
template <class Inverse>
Pair from_exponential(const Real16 &a, Inverse inverse) {
  if (high_word(a) >= xbg2) {  // from 11356.5: e^(a - ln 2)
    const Real16 e = exp_of(sub(a, log2));
    return {e, e};
  }
  const Real16 e = exp_of(a);
  if (high_word(a) >= xbg1) return {halved(e), halved(e)};
  const Real16 r = inverse(e);
  return {halved(sub(e, r)), halved(add(e, r))};
}
Real16 reciprocal(const Real16 &e) { return div(kOne, e); }

constexpr Real16 signed_as(Real16 v, const Real16 &x) {
  return quad::is_zero(v) ? v : quad::with_sign(v, x.w[3] & quad::kSignBit);
}

// The pair for |x| below 11357.125.
Pair pair_of(const Real16 &x, std::int32_t mode) {
  const Real16 a = quad::with_sign(x, 0);
  Pair p = {quad::kZero, quad::kZero};
  if (high_word(a) < 0x3fff0000) {
    ulx_gush(mode, a, &p.s, &p.c);
  } else {
    p = from_exponential(a, reciprocal);
  }
  p.s = signed_as(p.s, x);
  return p;
}

Result16 overflow(const Real16 &x, bool odd) {
  const bool negative = odd && is_negative(x);
  return argument_error(err::kQsinhOverflow,
                        quad::bits_of(negative ? negated(kOverflowQ) : kOverflowQ),
                        quad::bits_of(negative ? _MInf_Q : _Inf_Q));
}

Result16 sinh_attempt(const Real16 &x) {
  if (high_word(x) >= 0x400c62e9) return overflow(x, true);  // |x| >= 11357.125
  return result(quad::bits_of(pair_of(x, 1).s));
}

Result16 cosh_attempt(const Real16 &x) {
  if (high_word(x) >= 0x400c62e9) return overflow(x, false);
  return result(quad::bits_of(pair_of(x, 2).c));
}

Attempt<Pair> pair_overflow(const Real16 &x) {
  const Pair p = {is_negative(x) ? negated(kOverflowQ) : kOverflowQ, kOverflowQ};
  return argument_error(err::kQsinhOverflow, p, p);  // the flag is not consulted
}

Attempt<Pair> pscnh_attempt(const Real16 &x) {
  if (high_word(x) >= 0x400c62e9) return pair_overflow(x);
  return result(pair_of(x, 3));
}

Real16 one_over(const Real16 &e) {
  Real16 r;
  ulx_gddq(&r, 1.0, e);
  return r;
}

Attempt<Pair> pscnhq_attempt(const Real16 &x) {
  if (high_word(x) >= xmax) return pair_overflow(x);  // |x| >= 7232.125
  const Real16 t = mul(quad::with_sign(x, 0), hpiq);
  // t from 11357.125 on: sinh t overflows as in g_qpscnh (error 225, not
  // g_qexp's 231 from e^(t - ln 2)).
  if (high_word(t) >= 0x400c62e9) return pair_overflow(x);
  Pair p;
  if (high_word(t) < 0x3fbf0000) {  // t below 2^-64: t and 1 (t^2 could underflow)
    p = {t, kOne};
  } else if (high_word(t) < 0x3fff0000) {  // t below 1: the series
    const Real16 z = mul(t, t);
    p = {add(t, mul(t, quad::horner(hyperbolic_table::as, z))),
         quad::horner(hyperbolic_table::ac, z)};
  } else {
    p = from_exponential(t, one_over);
  }
  p.s = signed_as(p.s, x);
  return result(p);
}

Real16 tanh_of(const Real16 &x) {
  const Real16 a = quad::with_sign(x, 0);
  const std::uint32_t h = high_word(a);
  if (h >= xbg1) return quad::with_sign(kOne, x.w[3] & quad::kSignBit);  // +-1
  Real16 r;
  if (h >= 0x3fff0000) {  // 1 <= a: 1 - 2E/(E + 1), E = e^(-2a)
    const Real16 e = exp_of(negated(scaled(a, 1)));
    r = sub(kOne, div(quad::is_zero(e) ? e : scaled(e, 1), add(e, kOne)));
  } else if (h > 0x3ff68000) {
    Real16 s, c;
    ulx_gush(3, a, &s, &c);
    r = div(s, c);
  } else if (h < 0x3fbf0000) {  // below 2^-64: x itself
    return x;
  } else {
    const Real16 z = mul(a, a);
    r = add(a, mul(mul(a, z), quad::horner(f, z)));
  }
  return signed_as(r, x);
}

}  // namespace
}  // namespace vx::qelem

Real16 *g_qsinh(Real16 *result, const Real16 *x) {
  return vx::quad::resume_and_store<vx::kFirstValue>(result, vx::qelem::sinh_attempt, *x);
}

Real16 *g_qcosh(Real16 *result, const Real16 *x) {
  return vx::quad::resume_and_store<vx::kFirstValue>(result, vx::qelem::cosh_attempt, *x);
}

Real16 *g_qtanh(Real16 *result, const Real16 *x) {
  return vx::store_result(result, vx::qelem::tanh_of(*x));
}

void g_qpscnh(const Real16 *x, Real16 *s, Real16 *c) {
  const vx::qelem::Pair p = vx::resume_loop<vx::kFirstValue>(vx::qelem::pscnh_attempt, *x);
  *s = p.s;
  *c = p.c;
}

void g_qpscnhq(const Real16 *x, Real16 *s, Real16 *c) {
  const vx::qelem::Pair p = vx::resume_loop<vx::kFirstValue>(vx::qelem::pscnhq_attempt, *x);
  *s = p.s;
  *c = p.c;
}
