// g_sinh, g_cosh, g_dsinh, g_dcosh and the pairs g_scnh, g_scnhq, g_dsch,
// g_dschq: against MPFR range by range, at the overflow limits, the pairs
// against the single functions, and the error protocol.
//
// Bounds per range of |x|, sinh / cosh (the run prints the measured maxima;
// those of one run are in parentheses):
//   Real4 |x| <= 1: the series are 0.69 and 0.06 ulp from the functions and
//     rounded once: 1.2 / 0.6 (1.089 / 0.539).
//   Real4 1 < |x| < 8.32, Real8 1 <= |x| < 18.4: E = e^|x| (ulx_guhy's e^|x|/2)
//     is rounded to the type before E/2 -+ 1/(2E); sinh carries E's relative
//     error multiplied by coth|x| (up to 1.31), cosh by tanh|x|, and the
//     result's ulp can be half of E's: 1.85 / 1.1 (1.536 / 0.996 Real4,
//     1.441 / 1.007 Real8).
//   Real4 8.32 <= |x| < 88.722: e^|x|/2 rounded once, plus the e^-|x|/2 left
//     out (at most 0.5 ulp, at 8.32): 1.01 (0.958 / 0.988).
//   Real8 |x| < 1: series 0.066 and 0.29 ulp, one rounding: 0.6 / 0.75
//     (0.550 / 0.714).
//   Real8 18.4 <= |x| < 709.782: the processor's e^|x| halved and rounded
//     once, plus the e^-|x|/2 left out (0.68 ulp at 18.4, where the
//     exponential's own error, ln2 |x| log2(e) 2^-64 relative, is still
//     0.02 ulp; it grows to 0.35 ulp at the top, where the term left out is
//     nothing): 1.2 (1.093 / 0.903).
//   Top ranges, up to 89.415 and 710.475: (h/2) h with h = e^(|x|/2) in the
//     register: Real4 one rounding, 0.51 (0.5 / 0.5); Real8 twice h's
//     relative error (up to 0.35 ulp of 2^-53 each) and the rounding, 1.2
//     (0.947 / 0.952).
//   The q forms: the bound of the kernel that takes the range (g_scnhq's
//   middle range has E in the register: one rounding, 0.51), plus the error
//   of t (below).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/checks.h"
#include "support/ieee_constants.h"
#include "support/pair_checks.h"

namespace {

using support::bits_of;
using support::call_pair;
using support::ErrorRow;
using support::PairErrorRow;
using support::Sampler;

struct Range {
  double lo, hi;
  double bound;  // ulps
};

// Arguments with lo <= |x| < hi once rounded to T.
template <class T>
auto in_range(Sampler &s, const Range &r) {
  return [&s, r] {
    for (;;) {
      const T x = static_cast<T>(s.uniform_signed(r.lo, r.hi));
      const double a = std::fabs(static_cast<double>(x));
      if (a >= r.lo && a < r.hi) return x;
    }
  };
}

std::string range_name(const char *name, const Range &r) {
  return std::string(name) + " |x| in [" + std::to_string(r.lo) + ", " + std::to_string(r.hi) + ")";
}

template <class T>
void run_ranges(const char *name, support::Unary<T> fn, oracle::Fn1 f,
                std::initializer_list<Range> ranges) {
  const std::uint64_t n = support::scaled(50000);
  Sampler s(0x51a4 + std::hash<std::string>{}(name));
  for (const Range &r : ranges)
    support::expect_accuracy<T>(range_name(name, r), fn, f, n, in_range<T>(s, r),
                                support::ulps(r.bound));
}

TEST(SinhCosh4, AgainstMpfr) {
  run_ranges<float>("g_sinh", g_sinh, mpfr_sinh,
                    {{0, 1, 1.2}, {1, 8.32, 1.85}, {8.32, 88.722, 1.01}, {88.722, 89.415, 0.51}});
  run_ranges<float>("g_cosh", g_cosh, mpfr_cosh,
                    {{0, 1, 0.6}, {1, 8.32, 1.1}, {8.32, 88.722, 1.01}, {88.722, 89.415, 0.51}});
}

TEST(SinhCosh8, AgainstMpfr) {
  run_ranges<double>("g_dsinh", g_dsinh, mpfr_sinh,
                     {{0, 1, 0.6}, {1, 18.4, 1.85}, {18.4, 709.782, 1.2}, {709.782, 710.475, 1.2}});
  run_ranges<double>("g_dcosh", g_dcosh, mpfr_cosh,
                     {{0, 1, 0.75}, {1, 18.4, 1.1}, {18.4, 709.782, 1.2}, {709.782, 710.475, 1.2}});
}

// f(x pi/2).
template <oracle::Fn1 f>
int at_quadrant(mpfr_ptr out, mpfr_srcptr x, mpfr_rnd_t rnd) {
  oracle::Big t;
  mpfr_const_pi(t, rnd);
  mpfr_mul(t, t, x, rnd);
  mpfr_div_2ui(t, t, 1, rnd);
  return f(out, t, rnd);
}
constexpr oracle::Fn1 sinh_quadrant = at_quadrant<mpfr_sinh>;
constexpr oracle::Fn1 cosh_quadrant = at_quadrant<mpfr_cosh>;

float scnhq_sinh(const float *x) { return call_pair(g_scnhq, *x).re; }
float scnhq_cosh(const float *x) { return call_pair(g_scnhq, *x).im; }
double dschq_sinh(const double *x) { return call_pair(g_dschq, *x).re; }
double dschq_cosh(const double *x) { return call_pair(g_dschq, *x).im; }

// t = |x| pi/2 is rounded to the type and uses a rounded pi/2: a relative
// error up to 2^-24 + 2.79e-8 (Real4, 1.5707964) or 2^-53 + 3.9e-17 (Real8,
// hpi), which f = sinh or cosh carries multiplied by t f'(t)/f(t) (t coth t
// or t tanh t). The bound is `base` ulps plus that, in ulps of the result.
template <class T>
void run_quadrant_ranges(const char *name, support::Unary<T> fn, oracle::Fn1 f, bool sine,
                         std::initializer_list<Range> ranges) {
  const double delta = sizeof(T) == 4 ? 0x1p-24 + 2.79e-8 : 0x1p-53 + 3.9e-17;
  const std::uint64_t n = support::scaled(50000);
  Sampler s(0x51a5 + std::hash<std::string>{}(name));
  for (const Range &r : ranges) {
    const double base = r.bound;
    auto bound = [=](T x, mpfr_srcptr exact) {
      const double t = std::fabs(static_cast<double>(x)) * 1.5707963267948966;
      const double gain = sine ? (t == 0 ? 1 : t / std::tanh(t)) : t * std::tanh(t);
      const double v = std::fabs(mpfr_get_d(exact, MPFR_RNDN));
      return base + delta * gain * v / support::ulp_of<T>(v);
    };
    support::expect_accuracy<T>(range_name(name, r), fn, f, n, in_range<T>(s, r), bound);
  }
}

TEST(QuadrantPairs, AgainstMpfr) {
  const auto ranges4 = {Range{0, 0.6366, 1.2}, Range{0.6367, 5.3, 0.51}, Range{5.3, 56.482, 1.01},
                        Range{56.482, 56.923, 0.51}};
  run_quadrant_ranges<float>("g_scnhq sinh", scnhq_sinh, sinh_quadrant, true, ranges4);
  run_quadrant_ranges<float>("g_scnhq cosh", scnhq_cosh, cosh_quadrant, false, ranges4);
  const auto ranges8 = {Range{0, 0.6366, 0.75}, Range{0.6367, 11.7, 1.85},
                        Range{11.7, 451.861, 1.2}, Range{451.861, 452.302, 1.2}};
  run_quadrant_ranges<double>("g_dschq sinh", dschq_sinh, sinh_quadrant, true, ranges8);
  run_quadrant_ranges<double>("g_dschq cosh", dschq_cosh, cosh_quadrant, false, ranges8);
}

// Both sides of every switch point, and the last arguments before the
// overflow limits, with the bound of the range that takes them.
TEST(SinhCosh, SwitchPointsAndOverflowLimits) {
  struct Point4 {
    std::uint32_t bits;
    double bound;
  };
  const Point4 points4[] = {
      {0x3f800000, 1.2},  {0x3f800001, 1.85}, {0x41051eb7, 1.85}, {0x41051eb8, 1.01},
      {0x42b171a9, 1.01}, {0x42b171aa, 0.51}, {0x42b2d47a, 0.51},  // 89.41499: last before 223
  };
  support::Recorder rec;
  for (const Point4 &p : points4) {
    for (float x : {std::bit_cast<float>(p.bits), -std::bit_cast<float>(p.bits)}) {
      EXPECT_LE(oracle::ulp_error(g_sinh(&x), mpfr_sinh, x), p.bound) << std::hexfloat << x;
      EXPECT_LE(oracle::ulp_error(g_cosh(&x), mpfr_cosh, x), p.bound) << std::hexfloat << x;
    }
  }
  struct Point8 {
    std::uint64_t bits;
    double bound;
  };
  const Point8 points8[] = {
      {0x3fefffffffffffff, 0.75}, {0x3ff0000000000000, 1.85}, {0x40326665ffffffff, 1.85},
      {0x4032666600000000, 1.2},  {0x40862e4189374bc6, 1.2},  {0x40862e4189374bc7, 1.2},
      {0x408633cccccccccc, 1.2},  // the last argument before error 224
  };
  for (const Point8 &p : points8) {
    for (double x : {std::bit_cast<double>(p.bits), -std::bit_cast<double>(p.bits)}) {
      EXPECT_LE(oracle::ulp_error(g_dsinh(&x), mpfr_sinh, x), p.bound) << std::hexfloat << x;
      EXPECT_LE(oracle::ulp_error(g_dcosh(&x), mpfr_cosh, x), p.bound) << std::hexfloat << x;
    }
  }
  EXPECT_TRUE(rec.reports.empty());
}

TEST(SinhCosh, NamedValues) {
  const float m1 = -1.0f, x89 = 89.0f;
  EXPECT_NEAR(g_sinh(&m1), -1.1752012f, 2e-7f);         // the series
  EXPECT_NEAR(g_sinh(&x89) / 2.2448e38f, 1.0f, 1e-4f);  // the split form
  EXPECT_LE(oracle::ulp_error(g_sinh(&x89), mpfr_sinh, x89), 0.51);
  const Complex8 q = call_pair(g_scnhq, 1.0f);  // sinh and cosh of pi/2
  EXPECT_NEAR(q.re, 2.3012989f, 1e-6f);
  EXPECT_NEAR(q.im, 2.5091785f, 1e-6f);
}

// Zeros keep their sign in the sine; tiny arguments give x and 1.
TEST(SinhCosh, ZerosAndTinyArguments) {
  for (float x : {0.0f, -0.0f, 1e-30f, -0x1p-149f, 0x1p-126f}) {
    support::expect_exact("g_sinh", g_sinh, x, x);
    support::expect_exact("g_cosh", g_cosh, x, 1.0f);
    support::expect_pair_exact<float, Complex8>("g_scnh", g_scnh, x, x, 1);
  }
  for (double x : {0.0, -0.0, 1e-300, -0x1p-1074, -1e-10}) {
    support::expect_exact("g_dsinh", g_dsinh, x, x);
    support::expect_exact("g_dcosh", g_dcosh, x, 1.0);
    support::expect_pair_exact<double, Complex16>("g_dsch", g_dsch, x, x, 1);
  }
  for (float x : {0.0f, -0.0f})
    support::expect_pair_exact<float, Complex8>("g_scnhq", g_scnhq, x, x, 1);
  for (double x : {0.0, -0.0})
    support::expect_pair_exact<double, Complex16>("g_dschq", g_dschq, x, x, 1);
}

// The pairs are the single functions computed together: the same values,
// bit for bit, in every range.
TEST(SinhCosh, PairsAgreeWithTheSingleFunctions) {
  const std::uint64_t n = support::scaled(100000);
  Sampler s(0x5c4);
  support::expect_pair_agrees<float, Complex8>("g_scnh", g_scnh, g_sinh, g_cosh, n,
                                               [&] { return s.log_uniform_signed(1e-6, 89.41); });
  support::expect_pair_agrees<double, Complex16>(
      "g_dsch", g_dsch, g_dsinh, g_dcosh, n, [&] { return s.log_uniform_signed(1e-6, 710.47); });
}

using support::kBigD;
using support::kBigF;
using support::kInfD;
using support::kInfF;
using support::kMNaNF;
using support::kNaND;
using support::kNaNF;
const float kLimitF = std::bit_cast<float>(0x42b2d47bu);  // 89.415

TEST(SinhCosh, ResultsTooLarge) {
  // sinh: the sign of x; cosh: positive. Infinities and NaNs report too.
  const ErrorRow<float> rows4[] = {
      {"g_sinh", g_sinh, kLimitF, 223, kBigF, kInfF},
      {"g_sinh", g_sinh, -90.0f, 223, -kBigF, -kInfF},
      {"g_sinh", g_sinh, kInfF, 223, kBigF, kInfF},
      {"g_sinh", g_sinh, -kInfF, 223, -kBigF, -kInfF},
      {"g_sinh", g_sinh, kNaNF, 223, kBigF, kInfF},
      {"g_sinh", g_sinh, kMNaNF, 223, -kBigF, -kInfF},
      {"g_cosh", g_cosh, 90.0f, 223, kBigF, kInfF},
      {"g_cosh", g_cosh, -90.0f, 223, kBigF, kInfF},
      {"g_cosh", g_cosh, -kInfF, 223, kBigF, kInfF},
      {"g_cosh", g_cosh, kNaNF, 223, kBigF, kInfF},
  };
  for (const auto &row : rows4) support::expect_error_row(row);
  const ErrorRow<double> rows8[] = {
      {"g_dsinh", g_dsinh, 710.475, 224, kBigD, kInfD},
      {"g_dsinh", g_dsinh, -1e300, 224, -kBigD, -kInfD},
      {"g_dsinh", g_dsinh, -kInfD, 224, -kBigD, -kInfD},
      {"g_dsinh", g_dsinh, kNaND, 224, kBigD, kInfD},
      {"g_dcosh", g_dcosh, -710.475, 224, kBigD, kInfD},
      {"g_dcosh", g_dcosh, kInfD, 224, kBigD, kInfD},
      {"g_dcosh", g_dcosh, kNaND, 224, kBigD, kInfD},
  };
  for (const auto &row : rows8) support::expect_error_row(row);
}

TEST(SinhCosh, PairResultsTooLarge) {
  const PairErrorRow<float, Complex8> rows4[] = {
      {"g_scnh", g_scnh, kLimitF, 223, {kBigF, kBigF}, {kInfF, kInfF}},
      {"g_scnh", g_scnh, -1e30f, 223, {-kBigF, kBigF}, {-kInfF, kInfF}},
      {"g_scnh", g_scnh, kNaNF, 223, {kBigF, kBigF}, {kInfF, kInfF}},
      // The quadrant pair keeps its finite values whatever the flag.
      {"g_scnhq", g_scnhq, 56.923f, 223, {kBigF, kBigF}, {kBigF, kBigF}},
      {"g_scnhq", g_scnhq, -60.0f, 223, {-kBigF, kBigF}, {-kBigF, kBigF}},
      {"g_scnhq", g_scnhq, kInfF, 223, {kBigF, kBigF}, {kBigF, kBigF}},
      {"g_scnhq", g_scnhq, kNaNF, 223, {kBigF, kBigF}, {kBigF, kBigF}},
  };
  for (const auto &row : rows4) support::expect_pair_error_row(row);
  const PairErrorRow<double, Complex16> rows8[] = {
      {"g_dsch", g_dsch, 710.475, 224, {kBigD, kBigD}, {kInfD, kInfD}},
      {"g_dsch", g_dsch, -kInfD, 224, {-kBigD, kBigD}, {-kInfD, kInfD}},
      {"g_dschq", g_dschq, 452.302, 224, {kBigD, kBigD}, {kBigD, kBigD}},
      {"g_dschq", g_dschq, -1000.0, 224, {-kBigD, kBigD}, {-kBigD, kBigD}},
      {"g_dschq", g_dschq, kNaND, 224, {kBigD, kBigD}, {kBigD, kBigD}},
  };
  for (const auto &row : rows8) support::expect_pair_error_row(row);
}

TEST(SinhCosh, JustBelowTheQuadrantLimitsComputes) {
  support::Recorder rec;
  const Complex8 p = call_pair(g_scnhq, std::nextafter(56.923f, 0.0f));
  const Complex16 q = call_pair(g_dschq, -std::nextafter(452.302, 0.0));
  EXPECT_TRUE(rec.reports.empty());
  EXPECT_GT(p.re, 3.0e38f);
  EXPECT_LT(q.re, -1.7e308);
}

TEST(SinhCosh, ResumeComputesTheReplacement) {
  support::expect_resume_with<float>(g_sinh, 100.0f, 2.0f, 223);
  support::expect_resume_with<float>(g_cosh, kNaNF, -0.5f, 223);
  support::expect_resume_with<double>(g_dsinh, -kInfD, -3.0, 224);
  support::expect_resume_with<double>(g_dcosh, 1e10, 700.0, 224);
  support::expect_pair_resume_with<float, Complex8>(g_scnh, 1e5f, 0.5f, 223);
  support::expect_pair_resume_with<float, Complex8>(g_scnhq, -kInfF, 3.0f, 223);
  support::expect_pair_resume_with<double, Complex16>(g_dsch, 800.0, 20.0, 224);
  support::expect_pair_resume_with<double, Complex16>(g_dschq, kNaND, 1.0, 224);
}

}  // namespace
