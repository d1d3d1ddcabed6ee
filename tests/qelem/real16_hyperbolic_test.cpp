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
// within an ulp and up to 29 products rounded by half an ulp each).
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

// v rounded to Real16 (113 bits), in place.
void round113(mpfr_ptr v) { oracle::set_real16(v, oracle::round_to_real16(v).bits); }

// sinh and cosh of a = |x| (of a = fl(|x| pi/2), the rounded product, for
// the quadrant pair): from 11356.5 on e^(fl(a - ln 2)).
constexpr Real16 kHalfPi = real16(0x3fff921f, 0xb54442d1, 0x8469898c, 0xc51701b8);
template <bool kSinh, bool kQuadrant>
int hyperbolic(mpfr_ptr y, mpfr_srcptr x, mpfr_rnd_t) {
  Big a(Precision{256});
  mpfr_abs(a, x, MPFR_RNDN);
  if (kQuadrant) mpfr_mul(a, a, oracle::Exact(kHalfPi), MPFR_RNDN), round113(a);
  if (mpfr_cmp_d(a, 11356.5) < 0) {
    kSinh ? mpfr_sinh(y, a, MPFR_RNDN) : mpfr_cosh(y, a, MPFR_RNDN);
  } else {
    mpfr_sub(a, a, oracle::Exact(kLn2), MPFR_RNDN), round113(a), mpfr_exp(y, a, MPFR_RNDN);
  }
  if (kSinh && mpfr_signbit(x)) mpfr_neg(y, y, MPFR_RNDN);
  return 0;
}
constexpr auto sinh_alg = hyperbolic<true, false>, cosh_alg = hyperbolic<false, false>;
constexpr auto sinh_q = hyperbolic<true, true>, cosh_q = hyperbolic<false, true>;

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

// Overflow (225): the largest Real16 / infinity with the sign of an odd
// result; the pairs do not consult the flag.
std::vector<Fault16> overflow(std::vector<double> xs, bool odd, bool pair) {
  std::vector<Fault16> f;
  for (double x : xs) {
    const bool negative = odd && x < 0;
    const Real16 inf = pair ? kLargest : kInf;
    f.push_back({q(x), 225, negative ? kMinusLargest : kLargest, negative ? negated(inf) : inf});
  }
  return f;
}
// "g_qgamma of 5 returns 24": Gamma(n) = (n - 1)! exactly below 32.
std::vector<Exact16> gamma_of_integers() {
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
const std::vector<double> kHuge = {11357.125, -11357.125, 1e6, INFINITY};
const std::vector<double> kHugeQ = {7232.125, -7232.125, 7230.2, -7230.2, 14464.25};

// clang-format off
const Row16 kRows[] = {
    // "g_qsinh of -0.5 goes to the kernel"; "of 11357 returns e^11357/2 by
    // the log2 shift"; the pair g_qpscnh returns g_qsinh's and g_qcosh's bits.
    {"g_qsinh", g_qsinh, sinh_alg, kOdd,
     {kKernel, kExp, kHalfExp, kShifted, {-11357.12, -11356.5, 2}, {0x1p-100, 0x1p-5, 2, Draw::log}},
     {{q(-0.5), 2}, {q(11357), 2}}, {{kZero, kZero}, {kMinusZero, kZero}},
     overflow(kHuge, true, false) + faults(225, kLargest, kInf, {kNaN}),
     4000, 0, part<g_qpscnh, 0>},
    // "g_qcosh of 0 returns 1 from the kernel".
    {"g_qcosh", g_qcosh, cosh_alg, kEven, {kKernel, kExp, kHalfExp, kShifted}, {{q(-11357), 2}},
     {{kZero, kOne}}, overflow(kHuge, false, false), 4000, 0, part<g_qpscnh, 1>},
    // "g_qtanh of 40 returns exactly 1; of -40 returns -1; of 2^-70 returns its argument".
    {"g_qtanh", g_qtanh, mpfr_tanh, kOdd, {{-1, 1, 2}, {-39.2, 39.2, 2}, {0x1p-64, 0.01, 2, Draw::log}},
     {}, {{q(40), kOne}, {q(-40), negated(kOne)}, {q(0x1p-70), q(0x1p-70)}, {q(1e300), kOne}, {kZero, kZero}}},
    // "the flag is not consulted": both defaults finite.
    {"g_qpscnh_s", part<g_qpscnh, 0>, sinh_alg, kOdd, {}, {}, {}, overflow({11357.125, -11357.125, 22714.25}, true, true)},
    {"g_qpscnh_c", part<g_qpscnh, 1>, cosh_alg, kEven, {}, {}, {}, overflow({11357.125, -11357.125, 22714.25}, false, true)},
    // From t = 11357.125 on (|x| from 7230.19) the result overflows: error 225.
    {"g_qpscnhq_s", part<g_qpscnhq, 0>, sinh_q, kOdd,
     {{-0.63, 0.63, 2}, {-24.9, 24.9, 2}, {25, 7230, 2}, {-7230.06, -7229.7, 2}}, {}, {{kZero, kZero}},
     overflow(kHugeQ, true, true)},
    {"g_qpscnhq_c", part<g_qpscnhq, 1>, cosh_q, kEven, {{-0.63, 0.63, 2}, {-24.9, 24.9, 2}, {25, 7230.06, 2}},
     {}, {{kZero, kOne}}, overflow(kHugeQ, false, true)},
    // "g_qerf of 1 uses the rational path; of 1 plus one unit in the last place uses 1 - erfc".
    {"g_qerf", g_qerf, mpfr_erf, kOdd, {{-1, 1, 2}, {-10, 10, 2}, {0x1p-100, 0x1p-4, 2, Draw::log}},
     {{kOne, 2}, {real16(0x3fff0000, 0, 0, 1), 2}}, {{kZero, kZero}, {q(10), kOne}}},
    // "g_qerfc of -1 returns 2 - erfc(1); of 200 returns +0 without an error".
    {"g_qerfc", g_qerfc, erfc_alg, kNone, {{-0.4768, 0.4768, 2}, {-4.5, 4.49, 8}, {0x1p-100, 0.4, 2, Draw::log}},
     {{q(-1), 2}, {q(0.476806640625), 2}, {q(1.25), 2}, {q(2.5), 2}},
     {{q(200), kZero}, {q(-200), real16(0x40000000)}, {kZero, kOne}}},
    {"g_qerfc_far", g_qerfc, erfc_alg, kNone, {{4.5, 106, 0x1.2p25}}},
    // "g_qgamma of 0 or -1.5 raises 252; of 1755 raises 252".
    {"g_qgamma", g_qgamma, gamma_alg, kNone,
     {{0x1p-100, 1, 4, Draw::positive_log}, {1, 32, 16}, {32, 1754.9, 2}}, {}, gamma_of_integers(),
     faults(252, kLargest, kNaN, {kZero, kMinusZero, q(-1.5), q(-1), kMinusInf}) +
         faults(252, kLargest, kInf, {q(1755), q(1e6), kInf})},
    // "g_qlgama of -1 raises 255".
    {"g_qlgama", g_qlgama, lgamma_exact, kNone,
     {{1e-300, 0.5, 2, Draw::positive_log}, {2.5, 32, 6}, {32, 1e300, 3, Draw::positive_log},
      {1, 0x3ffd, 3, Draw::binades}, {16390, 0x7ff0, 3, Draw::binades}},
     {}, {}, faults(255, kLargest, kNaN, {kZero, q(-1), q(-0.5)}) +
         faults(255, kLargest, kInf, {real16(0x7ff17176), kInf})},
    // Near the zeros at 1 and 2: ln Gamma(3 + f) less a logarithm of about
    // ln 2 to ln 9, each within about an ulp: 3 units of 2^-112; "g_qlgama
    // of 1 and of 2 return 0 up to the last unit".
    {"g_qlgama_zeros", g_qlgama, lgamma_exact, kNone, {{0.5, 2.5, 3}, {0.99, 1.01, 3}, {1.99, 2.01, 3}},
     {{q(1), 1}, {q(2), 1}}, {}, {}, 4000, 1.0},
};
// clang-format on

VEXMORG_TABLE16(Real16Hyperbolic, Entries, kRows);

}  // namespace
