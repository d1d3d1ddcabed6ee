// Real16 hyperbolic, error and gamma functions against MPFR (256 bits).
//
// Bounds: 2 ulp, against the exact function wherever the entry's own steps
// are exact, and otherwise against the algorithm's value with exact
// kernels: sinh and cosh from 11356.5 on are e^(a - ln 2) with a - ln 2 as
// the Real16 subtraction rounds it; erfc from 0.4768 on is e^(-a^2) erfc(a)
// e^(a^2) with a^2 as rounded; gamma from 32 on is e^y for y = g_qlgama(x);
// ln gamma near its zeros at 1 and 2 is ln Gamma(3 + f) less the logarithm
// of the rounded product, each rounded, then their difference rounded.
// erfc: 8 ulp from 0.4768 to 4.5 (the rational function, e^(-a^2) and
// their product), 2^-88 relative from 4.5 on (the defined form's reach,
// 2^25 ulp). gamma: 4 ulp below 1 (G / (x (x + 1))), 16 ulp up to 32 (G
// within an ulp and up to 29 products rounded by half an ulp each). Exact points: gamma of
// small integers, cosh 0, tanh at +-40 and 2^-70, erfc 200 = +0.
#include <gtest/gtest.h>

#include <cmath>

#include "support/real16_functions.h"

namespace {

using namespace support;
using oracle::Big;
using oracle::Precision;

constexpr Real16 kMinusLargest = real16(0xfffeffff, ~0u, ~0u, ~0u);
constexpr Real16 kLn2 = real16(0x3ffe62e4, 0x2fefa39e, 0xf35793c7, 0x673007e6);

Real16 q(double x) { return widened(x); }
Real16 minus(Real16 x) { return x.w[3] ^= kSign16, x; }

// v rounded to Real16 (113 bits), in place.
void round113(mpfr_ptr v) { oracle::set_real16(v, oracle::round_to_real16(v).bits); }

// sinh, cosh from 11356.5 on: e^(fl(a - ln 2)).
int shifted_exp(mpfr_ptr y, mpfr_srcptr x, bool odd) {
  Big a(Precision{256}), l(Precision{256});
  mpfr_abs(a, x, MPFR_RNDN);
  if (mpfr_cmp_d(a, 11356.5) < 0)
    return odd ? mpfr_sinh(y, x, MPFR_RNDN) : mpfr_cosh(y, x, MPFR_RNDN);
  oracle::set_real16(l, kLn2);
  mpfr_sub(a, a, l, MPFR_RNDN);
  round113(a);
  mpfr_exp(y, a, MPFR_RNDN);
  if (odd && mpfr_signbit(x)) mpfr_neg(y, y, MPFR_RNDN);
  return 0;
}
int sinh_alg(mpfr_ptr y, mpfr_srcptr x, mpfr_rnd_t) { return shifted_exp(y, x, true); }
int cosh_alg(mpfr_ptr y, mpfr_srcptr x, mpfr_rnd_t) { return shifted_exp(y, x, false); }
// The pair in quadrant units: of t = fl(|x| pi/2) (the rounded product),
// from 11356.5 on e^(fl(t - ln 2)).
constexpr Real16 kHalfPi = real16(0x3fff921f, 0xb54442d1, 0x8469898c, 0xc51701b8);
int quadrant_pair(mpfr_ptr y, mpfr_srcptr x, bool odd) {
  Big t(Precision{256}), h(Precision{256});
  oracle::set_real16(h, kHalfPi);
  mpfr_abs(t, x, MPFR_RNDN);
  mpfr_mul(t, t, h, MPFR_RNDN);
  round113(t);
  shifted_exp(y, t, odd);
  if (odd && mpfr_signbit(x)) mpfr_neg(y, y, MPFR_RNDN);
  return 0;
}
int sinh_q(mpfr_ptr y, mpfr_srcptr x, mpfr_rnd_t) { return quadrant_pair(y, x, true); }
int cosh_q(mpfr_ptr y, mpfr_srcptr x, mpfr_rnd_t) { return quadrant_pair(y, x, false); }

// erfc from 0.4768 on: e^(-fl(a^2)) erfc(a) e^(a^2); 2 - that for x < 0.
int erfc_alg(mpfr_ptr y, mpfr_srcptr x, mpfr_rnd_t) {
  Big a(Precision{512}), s(Precision{512}), e(Precision{512});
  mpfr_abs(a, x, MPFR_RNDN);
  if (mpfr_cmp_d(a, 0.476806640625) < 0) return mpfr_erfc(y, x, MPFR_RNDN);
  mpfr_sqr(s, a, MPFR_RNDN);
  mpfr_erfc(e, a, MPFR_RNDN);
  mpfr_exp(y, s, MPFR_RNDN);
  mpfr_mul(e, e, y, MPFR_RNDN);  // erfc(a) e^(a^2)
  round113(s);
  mpfr_neg(s, s, MPFR_RNDN);
  mpfr_exp(s, s, MPFR_RNDN);
  mpfr_mul(y, e, s, MPFR_RNDN);
  if (mpfr_signbit(x)) mpfr_ui_sub(y, 2, y, MPFR_RNDN);
  return 0;
}

// gamma from 32 on: e^y for the y g_qlgama gives.
int gamma_alg(mpfr_ptr y, mpfr_srcptr x, mpfr_rnd_t) {
  if (mpfr_cmp_ui(x, 32) < 0) return mpfr_gamma(y, x, MPFR_RNDN);
  const Real16 arg = oracle::round_to_real16(x).bits;
  Real16 l;
  g_qlgama(&l, &arg);
  oracle::set_real16(y, l);
  return mpfr_exp(y, y, MPFR_RNDN);
}

int lgamma_exact(mpfr_ptr y, mpfr_srcptr x, mpfr_rnd_t) {
  int sign;
  return mpfr_lgamma(y, &sign, x, MPFR_RNDN);
}

// The pairs as single entries.
template <void (*kPair)(const Real16 *, Real16 *, Real16 *), int kWhich>
Real16 *part(Real16 *r, const Real16 *x) {
  Real16 other;
  kWhich == 0 ? kPair(x, r, &other) : kPair(x, &other, r);
  return r;
}

std::vector<Fault16> sinh_faults(bool odd) {
  std::vector<Fault16> f;
  for (const Real16 &x : {q(11357.125), q(-11357.125), q(1e6), kInf, kNaN}) {
    const bool negative = odd && (x.w[3] & kSign16);
    f.push_back({x, 225, negative ? kMinusLargest : kLargest, negative ? kMinusInf : kInf});
  }
  return f;
}
// "the flag is not consulted": both defaults finite.
std::vector<Fault16> pair_faults(std::vector<double> limits, int which) {
  std::vector<Fault16> f;
  for (double limit : limits)
    for (double x : {limit, -limit, 2 * limit}) {
      const Real16 v = which == 0 && x < 0 ? kMinusLargest : kLargest;
      f.push_back({q(x), 225, v, v});
    }
  return f;
}
std::vector<Fault16> domain(std::int32_t error, std::vector<Real16> below,
                            std::vector<Real16> above) {
  std::vector<Fault16> f;
  for (const Real16 &x : below) f.push_back({x, error, kLargest, kNaN});
  for (const Real16 &x : above) f.push_back({x, error, kLargest, kInf});
  return f;
}

std::vector<Exact16> gamma_of_integers() {
  // "g_qgamma of 5 returns 24": Gamma(n) = (n - 1)! exactly below 32.
  std::vector<Exact16> e;
  for (int n = 1; n < 32; ++n) {
    Big v(Precision{113});
    mpfr_fac_ui(v, static_cast<unsigned long>(n - 1), MPFR_RNDN);
    e.push_back({q(n), oracle::round_to_real16(v).bits});
  }
  return e;
}

const Range16 kKernel = {-1, 1, 2}, kExp = {-39.16, 39.16, 2}, kHalfExp = {39.2, 11356.4, 2},
              kShifted = {11356.5, 11357.12, 2};

const Row16 kRows[] = {
    // "g_qsinh of -0.5 goes to the kernel"; "of 11357 returns e^11357/2 by the log2 shift".
    {"g_qsinh",
     g_qsinh,
     sinh_alg,
     {kKernel,
      kExp,
      kHalfExp,
      kShifted,
      {-11357.12, -11356.5, 2},
      {0x1p-100, 0x1p-5, 2, Draw::log}},
     {{q(-0.5), 2}, {q(11357), 2}},
     {{kZero, kZero}, {kMinusZero, kZero}},
     sinh_faults(true)},
    // "g_qcosh of 0 returns 1 from the kernel".
    {"g_qcosh",
     g_qcosh,
     cosh_alg,
     {kKernel, kExp, kHalfExp, kShifted},
     {{q(-11357), 2}},
     {{kZero, kOne}},
     sinh_faults(false)},
    // "g_qtanh of 40 returns exactly 1; of -40 returns -1; of 2^-70 returns its argument".
    {"g_qtanh",
     g_qtanh,
     mpfr_tanh,
     {{-1, 1, 2}, {-39.2, 39.2, 2}, {0x1p-64, 0.01, 2, Draw::log}},
     {},
     {{q(40), kOne},
      {q(-40), minus(kOne)},
      {q(0x1p-70), q(0x1p-70)},
      {q(1e300), kOne},
      {kZero, kZero}}},
    {"g_qpscnh_s",
     part<g_qpscnh, 0>,
     sinh_alg,
     {kKernel, kExp, kHalfExp, kShifted},
     {},
     {},
     pair_faults({11357.125}, 0)},
    {"g_qpscnh_c",
     part<g_qpscnh, 1>,
     cosh_alg,
     {kKernel, kExp, kShifted},
     {},
     {},
     pair_faults({11357.125}, 1)},
    // From t = 11357.125 on (|x| from 7230.19) the result overflows: error 225.
    {"g_qpscnhq_s",
     part<g_qpscnhq, 0>,
     sinh_q,
     {{-0.63, 0.63, 2}, {-24.9, 24.9, 2}, {25, 7230, 2}, {-7230.06, -7229.7, 2}},
     {},
     {{kZero, kZero}},
     pair_faults({7232.125, 7230.2}, 0)},
    {"g_qpscnhq_c",
     part<g_qpscnhq, 1>,
     cosh_q,
     {{-0.63, 0.63, 2}, {-24.9, 24.9, 2}, {25, 7230.06, 2}},
     {},
     {{kZero, kOne}},
     pair_faults({7232.125, 7230.2}, 1)},
    // "g_qerf of 1 uses the rational path; of 1 plus one unit in the last place uses 1 - erfc".
    {"g_qerf",
     g_qerf,
     mpfr_erf,
     {{-1, 1, 2}, {-10, 10, 2}, {0x1p-100, 0x1p-4, 2, Draw::log}},
     {{kOne, 2}, {real16(0x3fff0000, 0, 0, 1), 2}},
     {{kZero, kZero}, {q(10), kOne}}},
    // "g_qerfc of -1 returns 2 - erfc(1); of 200 returns +0 without an error".
    {"g_qerfc",
     g_qerfc,
     erfc_alg,
     {{-0.4768, 0.4768, 2}, {-4.5, 4.49, 8}, {0x1p-100, 0.4, 2, Draw::log}},
     {{q(-1), 2}, {q(0.476806640625), 2}, {q(1.25), 2}, {q(2.5), 2}},
     {{q(200), kZero}, {q(-200), real16(0x40000000)}, {kZero, kOne}}},
    {"g_qerfc_far", g_qerfc, erfc_alg, {{4.5, 106, 0x1.2p25}}, {}, {}},
    // "g_qgamma of 0 or -1.5 raises 252; of 1755 raises 252".
    {"g_qgamma",
     g_qgamma,
     gamma_alg,
     {{0x1p-100, 1, 4, Draw::positive_log}, {1, 32, 16}, {32, 1754.9, 2}},
     {},
     gamma_of_integers(),
     domain(252, {kZero, kMinusZero, q(-1.5), q(-1), kMinusInf}, {q(1755), q(1e6), kInf})},
    // "g_qlgama of -1 raises 255".
    {"g_qlgama",
     g_qlgama,
     lgamma_exact,
     {{1e-300, 0.5, 2, Draw::positive_log},
      {2.5, 32, 6},
      {32, 1e300, 3, Draw::positive_log},
      {1, 0x3ffd, 3, Draw::binades},
      {16390, 0x7ff0, 3, Draw::binades}},
     {},
     {},
     domain(255, {kZero, q(-1), q(-0.5)}, {real16(0x7ff17176), kInf})},
    // Near the zeros at 1 and 2: ln Gamma(3 + f) less a logarithm of about
    // ln 2 to ln 9, each within about an ulp: 3 units of 2^-112.
    {"g_qlgama_zeros",
     g_qlgama,
     lgamma_exact,
     {{0.5, 2.5, 3}, {0.99, 1.01, 3}, {1.99, 2.01, 3}},
     {},
     {},
     {},
     4000,
     1.0},
};

VEXMORG_TABLE16(Real16Hyperbolic, Entries, kRows);

// "g_qlgama of 1 and of 2 return 0 up to the last unit".
TEST(Real16Hyperbolic, LogGammaZeros) {
  for (double x : {1.0, 2.0}) {
    const Real16 a = q(x);
    Real16 r;
    g_qlgama(&r, &a);
    Big v(Precision{256});
    oracle::set_real16(v, r);
    EXPECT_LE(std::fabs(mpfr_get_d(v, MPFR_RNDN)), 0x1p-112) << x;
  }
}

// The pairs store what the single entries return, bit for bit.
TEST(Real16Hyperbolic, PairsMatchSingles) {
  Sampler s(7);
  for (int i = 0; i < 2000; ++i) {
    const Real16 x = widened(s.uniform(-60, 60), s.bits());
    Real16 ps, pc, sh, ch;
    g_qpscnh(&x, &ps, &pc);
    g_qsinh(&sh, &x);
    g_qcosh(&ch, &x);
    EXPECT_TRUE(oracle::same_bits(ps, sh) && oracle::same_bits(pc, ch)) << show(x);
  }
}

// ulx_gddq: +0 for a zero word 3 of b, else the rounded quotient.
TEST(Real16Hyperbolic, RealByReal16) {
  Real16 r;
  ulx_gddq(&r, 3.0, kZero);
  EXPECT_TRUE(oracle::same_bits(r, kZero));
  Sampler s(11);
  for (int i = 0; i < 500; ++i) {
    const double a = s.uniform(-1e6, 1e6);
    const Real16 b = widened(s.log_uniform_signed(1e-300, 1e300), s.bits());
    ulx_gddq(&r, a, b);
    Big num(Precision{256}), den(Precision{256});
    mpfr_set_d(num, a, MPFR_RNDN);
    oracle::set_real16(den, b);
    mpfr_div(num, num, den, MPFR_RNDN);
    EXPECT_TRUE(oracle::same_bits(r, oracle::round_to_real16(num).bits)) << a << " / " << show(b);
  }
}

}  // namespace
