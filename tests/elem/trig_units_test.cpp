// Sines, cosines, tangents and cotangents of an angle in degrees and in
// quadrant units, Real4 and Real8: one property table against MPFR, and the
// kernels of tables/tan_degrees_table.h.
//
// Every reduction is exact in its unit, so a multiple of a right angle
// gives the exact 0 or +-1 (tangents +-1 at the odd multiples of half a
// right angle, poles reported); other results carry the kernels' errors
// and one rounding. Bounds in ulps:
//   degrees: sine, cosine 0.52 (Real4), 0.75 (Real8 kernels 0.24, 0.23);
//     tangent, cotangent 0.52, 0.6 (Real8 kernels 0.03, 0.06), 0.7 in the
//     table step 90 < |x| <= 1e13 (pi/180 rounded, 0.15 ulp near r = 0).
//   quadrant units: sine, cosine 0.51, 0.66 (the cosine cancels at r =
//     1/2); tangent, cotangent 0.52, 0.65 (2r + r A/B 0.14 ulp).
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>

#include "elem/trig_units/tables/tan_degrees_table.h"
#include "support/family_table.h"
#include "support/ieee_constants.h"

namespace {

using namespace support;  // the special values kInfF, kNaNF, kBigF, kSqrtHalfF, ...

// A tiny range (log-uniform), consecutive ranges from 0 through `cuts`,
// and the arguments next to the multiples of a right angle in `near`.
std::vector<Interval> ranges(double tiny, double small, double ulps, std::vector<double> cuts,
                             Interval near) {
  std::vector<Interval> r = with_tiny(tiny, small, ulps, between(0, cuts, {ulps}));
  r.push_back(near);
  return r;
}

// Real8 degree tangents: the kernels up to 90 (high word 0x40568000) and
// beyond 1e13 (0x42A2309C), the table step between.
std::vector<Interval> dtand_ranges(double tiny) {
  std::vector<Interval> r =
      with_tiny(tiny, 1e-6, 0.6,
                between(0,
                        {45, std::bit_cast<double>(0x4056800100000000ull), 720, 1e9,
                         std::bit_cast<double>(0x42a2309d00000000ull), 1e15, 2.03e17},
                        {0.6, 0.6, 0.7, 0.7, 0.7, 0.6, 0.6}));
  r.push_back({1e-9, 1, 0.7, kAround, {90, 180, 270, 630, 90090, 9000180, 9.0000000009e12}});
  r.push_back({1e-9, 1, 0.6, kAround, {0, 1.80000000009e13, 9.0000000018e13}});
  return r;
}

Interval near_quad4(double ulps) { return {1e-7, 0.5, ulps, kAround, {0, 1, 2, 3, 1001, 100002}}; }
Interval near_quad8(double ulps) {
  return {1e-12, 0.5, ulps, kAround, {0, 1, 2, 3, 1001, 1e9 + 2, 1e12 + 1}};
}

// Tangents and cotangents report their poles; the random runs leave them out.
template <class T, int kPeriod, int kPole>
bool pole(T x) {
  return std::fmod(std::fabs(static_cast<double>(x)), kPeriod) == kPole;
}

// k = 0..n, then `more`.
std::vector<double> counts(int n, const std::vector<double> &more) {
  std::vector<double> k;
  for (int i = 0; i <= n; ++i) k.push_back(i);
  k.insert(k.end(), more.begin(), more.end());
  return k;
}

// k for the T values within 8 ulps of each base, in steps of `step`.
template <class T>
std::vector<double> near_bases(std::initializer_list<T> bases, double step) {
  std::vector<double> k;
  for (T b : bases) {
    T x = b;
    for (int i = 0; i < 8; ++i) x = std::nextafter(x, T(0));
    for (int i = 0; i <= 16; ++i, x = up(x)) k.push_back(static_cast<double>(x) / step);
  }
  return k;
}

constexpr double P = NAN;  // a pole
constexpr std::array<double, 4> kSine = {0, 1, 0, -1}, kCosine = {1, 0, -1, 0};
constexpr std::array<double, 4> kTangent = {0, 1, P, -1}, kCotangent = {P, 1, 0, -1};

// The row with its exact points at x = k step (exact in T, k an integer):
// values[k mod 4], where a NaN is a pole, error `pole_error` for either
// sign with default 3.40282002e+38 / 1.7976931348623011e+308 (plus infinity
// with the flag).
template <class T>
Row<T> with_multiples(Row<T> r, double step, std::array<double, 4> values,
                      const std::vector<double> &ks, std::int32_t pole_error = 0) {
  const T big = sizeof(T) == 4 ? T(kBigF) : T(kBigD), inf = std::numeric_limits<T>::infinity();
  for (double k : ks) {
    const T x = static_cast<T>(static_cast<long double>(step) * k);
    if (k != std::trunc(k) || static_cast<long double>(x) != static_cast<long double>(step) * k)
      continue;
    const double v = values[static_cast<int>(std::fmod(k, 4))];
    if (!std::isnan(v)) r.exact_points.push_back({x, static_cast<T>(v)});
    if (std::isnan(v))
      r.errors.insert(r.errors.end(), {{x, pole_error, big, inf}, {-x, pole_error, big, inf}});
  }
  return r;
}

// Degrees: |x| at or above 47200000 / 2.03e17, infinities and NaNs, is error
// 1361 / 1362 (sine, cosine, default sqrt(1/2)) or 1363 / 1364 (tangent,
// cotangent, default 1.0), NaN with the infinity flag; poles 1365 / 1366.
// Quadrant units: the sine and cosine never report (an infinity or a NaN
// counts as a multiple of 4); poles are 1355 / 1356, the infinities and
// NaNs even integers. Only zero is a cotangent's pole: a nonzero argument
// whose cotangent lies beyond the largest finite value gives an infinity.
std::vector<Row<float>> rows4() {
  const float below = down(4.72e7f);
  const std::vector<double> deg90 =
      counts(40, {131071, 186413, 262145, 372826, 372827, 524442, 524444});
  const std::vector<double> deg45 = counts(80, {262145, 372827, 745654, 1048572});
  const std::vector<double> quad1 =
      counts(40, near_bases<float>({0x1p23f, 0x1p24f, 0x1p25f, 0x1p26f, 0x1p100f, 3.4e38f}, 1));
  const std::vector<double> quad2 =
      counts(80, near_bases<float>({0x1p22f, 0x1p23f, 0x1p24f, 0x1p25f, 0x1p90f}, 0.5));
  std::vector<float> deg_edges = neighbours<float>({45, 90});
  deg_edges.insert(deg_edges.end(), {below, 30, 60, 150, 210});
  std::vector<float> tand_edges = neighbours<float>({45, 90}, false);
  tand_edges.push_back(below);
  std::vector<float> quad_edges = neighbours<float>({0.5f, 1, 1.5f, 2.5f, 1000.5f, 0x1p22f + 0.5f});
  quad_edges.push_back(0x1p23f - 0.5f);
  std::vector<float> tanq_edges = neighbours<float>({0.5f, 1}, false);
  tanq_edges.push_back(0x1p23f - 0.5f);
  const std::vector<double> deg = {45, 90, 720, 1e6, 4.72e7}, quad = {0.5, 1, 8, 1e4, 0x1p23};
  const Interval near_deg = {1e-5, 1, 0.52, kAround, {0, 90, 180, 270, 630, 90090, 9000180}};
  const auto degree = [&](const char *name, Unary<float> fn, oracle::Fn1 exact, double tiny) {
    return row(name, fn, exact, ranges(tiny, 1e-3, 0.52, deg, near_deg)).odd();
  };
  const auto quadrant = [&](const char *name, Unary<float> fn, oracle::Fn1 exact, double tiny,
                            double ulps) {
    return row(name, fn, exact, ranges(tiny, 1e-3, ulps, quad, near_quad4(ulps))).odd();
  };
  return {
      with_multiples(
          degree("g_sind", g_sind, oracle::sind, 1e-45)
              .checked_at(deg_edges)
              .reports({{4.72e7f, 1361, kSqrtHalfF, kNaNF}, {-kInfF, 1361, kSqrtHalfF, kNaNF}}),
          90, kSine, deg90),
      with_multiples(
          degree("g_cosd", g_cosd, oracle::cosd, 1e-45)
              .even()
              .checked_at(deg_edges)
              .reports({{-4.72e7f, 1361, kSqrtHalfF, kNaNF}, {kNaNF, 1361, kSqrtHalfF, kNaNF}}),
          90, kCosine, deg90),
      with_multiples(degree("g_tand", g_tand, oracle::tand, 1e-45)
                         .skipping(pole<float, 180, 90>)
                         .checked_at(tand_edges)
                         .reports({{4.72e7f, 1363, 1, kNaNF}, {kNaNF, 1363, 1, kNaNF}}),
                     45, kTangent, deg45, 1365),
      with_multiples(degree("g_cotd", g_cotd, oracle::cotd, 2e-37)
                         .skipping(pole<float, 180, 0>)
                         .checked_at(tand_edges)
                         .exactly({{1e-37f, kInfF}, {0x1p-149f, kInfF}})
                         .reports({{-4.72e7f, 1363, 1, kNaNF}, {kInfF, 1363, 1, kNaNF}}),
                     45, kCotangent, deg45, 1365),
      with_multiples(quadrant("g_sinq", g_sinq, oracle::sinq, 1e-45, 0.51)
                         .checked_at(quad_edges)
                         .exactly({{kInfF, 0}, {kNaNF, 0}, {kMNaNF, -0.0f}}),
                     1, kSine, quad1),
      with_multiples(quadrant("g_cosq", g_cosq, oracle::cosq, 1e-45, 0.51)
                         .even()
                         .checked_at(quad_edges)
                         .exactly({{kInfF, 1}, {kNaNF, 1}, {kMNaNF, 1}}),
                     1, kCosine, quad1),
      with_multiples(quadrant("g_tanq", g_tanq, oracle::tanq, 1e-45, 0.52)
                         .skipping(pole<float, 2, 1>)
                         .checked_at(tanq_edges)
                         .exactly({{kInfF, 0}, {kNaNF, 0}, {kMNaNF, -0.0f}}),
                     0.5, kTangent, quad2, 1355),
      with_multiples(quadrant("g_cotq", g_cotq, oracle::cotq, 2e-39, 0.52)
                         .skipping(pole<float, 2, 0>)
                         .checked_at(tanq_edges)
                         .exactly({{0x1p-149f, kInfF}})
                         .reports({{kInfF, 1355, kBigF, kInfF}, {-kNaNF, 1355, kBigF, kInfF}}),
                     0.5, kCotangent, quad2, 1355),
  };
}

std::vector<Row<double>> rows8() {
  const double below = down(2.03e17);
  const std::vector<double> deg90 =
      counts(40, {1e6 + 1, 1e13 + 3, 1e14 + 1, 1e14 + 2, 1e14 + 3, 3e14 + 2, 2e15, 2.25e15 + 16});
  const std::vector<double> deg45 =
      counts(80, {1e6 + 1, 1e6 + 3, 2.2e11 + 1, 2.2e11 + 3, 2.3e11 + 1, 2.3e11 + 7, 1e14 + 1,
                  1e14 + 3, 2e14 + 1, 2e14 + 2, 4.5e15 + 32});
  const std::vector<double> quad1 =
      counts(40, near_bases<double>({0x1p52, 0x1p53, 0x1p54, 0x1p55, 0x1p500, 1.7e308}, 1));
  const std::vector<double> quad2 =
      counts(80, near_bases<double>({0x1p51, 0x1p52, 0x1p53, 0x1p54, 0x1p900}, 0.5));
  // The Real8 ranges go by the high word: 45 + 2^-15 and 90 + 2^-14 still
  // take the series of 45 and 90.
  std::vector<double> deg_edges = {below, 30, 150};
  for (std::uint64_t b : {0x4046800000000000ull, 0x40468000ffffffffull, 0x4046800100000000ull,
                          0x4056800000000001ull, 0x40568000ffffffffull, 0x4056800100000000ull,
                          0x42a2309c00000000ull, 0x42a2309cffffffffull, 0x42a2309d00000000ull})
    deg_edges.push_back(std::bit_cast<double>(b));
  std::vector<double> quad_edges = neighbours<double>({0.5, 1, 1.5, 2.5, 1e9 + 0.5, 0x1p51 + 0.5});
  quad_edges.push_back(0x1p52 - 0.5);
  std::vector<double> tanq_edges = neighbours<double>({0.5, 1}, false);
  tanq_edges.push_back(0x1p52 - 0.5);
  const std::vector<double> deg = {45, 90, 720, 1e9, 1e15, 2.03e17};
  const std::vector<double> quad = {0.5, 1, 8, 1e6, 1e12, 0x1p52};
  const Interval near_deg = {1e-9, 1, 0.75, kAround, {0, 90, 180, 270, 9000180, 9.0000000009e12}};
  const auto quadrant = [&](const char *name, Unary<double> fn, oracle::Fn1 exact, double tiny,
                            double ulps) {
    return row(name, fn, exact, ranges(tiny, 1e-6, ulps, quad, near_quad8(ulps))).odd();
  };
  return {
      with_multiples(
          row("g_dsind", g_dsind, oracle::sind, ranges(1e-320, 1e-6, 0.75, deg, near_deg))
              .odd()
              .checked_at(deg_edges)
              .reports({{2.03e17, 1362, kSqrtHalfD, kNaND}, {kNaND, 1362, kSqrtHalfD, kNaND}}),
          90, kSine, deg90),
      with_multiples(
          row("g_dcosd", g_dcosd, oracle::cosd, ranges(1e-320, 1e-6, 0.75, deg, near_deg))
              .even()
              .checked_at(deg_edges)
              .reports({{kInfD, 1362, kSqrtHalfD, kNaND}, {-1e300, 1362, kSqrtHalfD, kNaND}}),
          90, kCosine, deg90),
      with_multiples(row("g_dtand", g_dtand, oracle::tand, dtand_ranges(1e-320))
                         .odd()
                         .skipping(pole<double, 180, 90>)
                         .checked_at(deg_edges)
                         .reports({{2.03e17, 1364, 1, kNaND}, {kInfD, 1364, 1, kNaND}}),
                     45, kTangent, deg45, 1366),
      with_multiples(row("g_dcotd", g_dcotd, oracle::cotd, dtand_ranges(1e-306))
                         .odd()
                         .skipping(pole<double, 180, 0>)
                         .checked_at(deg_edges)
                         .exactly({{1e-307, kInfD}, {0x1p-1074, kInfD}})
                         .reports({{-2.03e17, 1364, 1, kNaND}, {kNaND, 1364, 1, kNaND}}),
                     45, kCotangent, deg45, 1366),
      with_multiples(quadrant("g_dsinq", g_dsinq, oracle::sinq, 1e-320, 0.66)
                         .checked_at(quad_edges)
                         .exactly({{kInfD, 0}, {kNaND, 0}, {kMNaND, -0.0}}),
                     1, kSine, quad1),
      with_multiples(quadrant("g_dcosq", g_dcosq, oracle::cosq, 1e-320, 0.66)
                         .even()
                         .checked_at(quad_edges)
                         .exactly({{kInfD, 1}, {kNaND, 1}, {kMNaND, 1}}),
                     1, kCosine, quad1),
      with_multiples(quadrant("g_dtanq", g_dtanq, oracle::tanq, 1e-320, 0.65)
                         .skipping(pole<double, 2, 1>)
                         .checked_at(tanq_edges)
                         .exactly({{kInfD, 0}, {kNaND, 0}, {kMNaND, -0.0}}),
                     0.5, kTangent, quad2, 1356),
      with_multiples(quadrant("g_dcotq", g_dcotq, oracle::cotq, 1e-308, 0.65)
                         .skipping(pole<double, 2, 0>)
                         .checked_at(tanq_edges)
                         .exactly({{0x1p-1074, kInfD}})
                         .reports({{-kInfD, 1356, kBigD, kInfD}, {kNaND, 1356, kBigD, kInfD}}),
                     0.5, kCotangent, quad2, 1356),
  };
}

VEXMORG_TABLE(TrigUnits, Real4, rows4(), 4000);
VEXMORG_TABLE(TrigUnits, Real8, rows8(), 4000);

// The Real8 degree kernels of tan_degrees_table.h on (0, 45.1], evaluated
// exactly: tan(r deg) = r/64 + r A(s)/B(s) and cot(r deg) = (c0 + c1 s +
// ... + c9 s^9)/r within the relative errors the header states.
TEST(TanDegreesTable, KernelsWithinTheirStatedErrors) {
  using namespace vx::tan_degrees8;
  oracle::Big r, s, a, b, t;
  double tan_worst = 0, cot_worst = 0;
  const int n = static_cast<int>(scaled(20000));
  for (int i = 1; i <= n; ++i) {
    mpfr_set_d(r, 45.1 * i / n, MPFR_RNDN);
    mpfr_sqr(s, r, MPFR_RNDN);
    mpfr_tanu(t, r, 360, MPFR_RNDN);
    horner(a, {a0, a1, a2, a3, a4}, s);
    horner(b, {b0, b1, b2, 1}, s);
    mpfr_div(a, a, b, MPFR_RNDN);
    mpfr_add_d(a, a, 1.0 / 64, MPFR_RNDN);
    mpfr_mul(a, a, r, MPFR_RNDN);
    tan_worst = std::fmax(tan_worst, relative(a, t) * 0x1p53);
    horner(a, {0, c1, c2, c3, c4, c5, c6, c7, c8, c9}, s);
    mpfr_set_ld(b, c0, MPFR_RNDN);
    mpfr_add(a, a, b, MPFR_RNDN);
    mpfr_div(a, a, r, MPFR_RNDN);
    mpfr_ui_div(t, 1, t, MPFR_RNDN);  // the cotangent
    cot_worst = std::fmax(cot_worst, relative(a, t) * 0x1p53);
  }
  std::printf("  tangent %.4f, cotangent %.4f units of 2^-53\n", tan_worst, cot_worst);
  EXPECT_LE(tan_worst, 0.031);
  EXPECT_LE(cot_worst, 0.057);
}

}  // namespace
