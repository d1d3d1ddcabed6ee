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

constexpr oracle::Fn1 kUnitExact[] = {oracle::sind, oracle::cosd, oracle::tand, oracle::cotd,
                                      oracle::sinq, oracle::cosq, oracle::tanq, oracle::cotq};

// Degrees: |x| at or above 47200000 / 2.03e17, infinities and NaNs, is error
// 1361 / 1362 (sine, cosine, default sqrt(1/2)) or 1363 / 1364 (tangent,
// cotangent, default 1.0), NaN with the infinity flag; poles 1365 / 1366.
// Quadrant units: the sine and cosine never report (an infinity or a NaN
// counts as a multiple of 4); poles are 1355 / 1356, the infinities and
// NaNs even integers. Only zero is a cotangent's pole: a nonzero argument
// whose cotangent lies beyond the largest finite value gives an infinity.
template <class T>
std::vector<Row<T>> unit_rows(const char *const names[8], const Unary<T> fns[8]) {
  constexpr bool k4 = sizeof(T) == 4;
  const T inf = INFINITY, nan = k4 ? T(kNaNF) : T(kNaND),
          least = std::numeric_limits<T>::denorm_min();
  const T big = k4 ? T(kBigF) : T(kBigD), half = k4 ? T(kSqrtHalfF) : T(kSqrtHalfD);
  const T limit = k4 ? T(4.72e7f) : T(2.03e17);
  const std::int32_t odd_code = k4 ? 0 : 1;  // Real8 error numbers are one above Real4's
  const std::vector<T> beyond = {limit, -limit, static_cast<T>(k4 ? -1e38 : -1e300),
                                 inf,   -inf,   nan};
  // Degree ranges, edges and multiples. The Real8 ranges go by the high
  // word: 45 + 2^-15 and 90 + 2^-14 still take the series of 45 and 90.
  const std::vector<double> deg = k4 ? std::vector<double>{45, 90, 720, 1e6, 4.72e7}
                                     : std::vector<double>{45, 90, 720, 1e9, 1e15, 2.03e17};
  const Interval near_deg =
      k4 ? Interval{1e-5, 1, 0.52, kAround, {0, 90, 180, 270, 630, 90090, 9000180}}
         : Interval{1e-9, 1, 0.75, kAround, {0, 90, 180, 270, 9000180, 9.0000000009e12}};
  const auto sincos_ranges =
      k4 ? ranges(1e-45, 1e-3, 0.52, deg, near_deg) : ranges(1e-320, 1e-6, 0.75, deg, near_deg);
  const auto tan_ranges = k4 ? sincos_ranges : dtand_ranges(1e-320);
  const auto cot_ranges = k4 ? ranges(2e-37, 1e-3, 0.52, deg, near_deg) : dtand_ranges(1e-306);
  std::vector<T> deg_edges = {down(limit), 30, 150}, tan_edges = {down(limit)};
  if constexpr (k4) {
    for (const float e : neighbours<float>({45, 90})) deg_edges.push_back(e);
    deg_edges.insert(deg_edges.end(), {60, 210});
    for (const float e : neighbours<float>({45, 90}, false)) tan_edges.push_back(e);
  } else {
    for (std::uint64_t b : {0x4046800000000000ull, 0x40468000ffffffffull, 0x4046800100000000ull,
                            0x4056800000000001ull, 0x40568000ffffffffull, 0x4056800100000000ull,
                            0x42a2309c00000000ull, 0x42a2309cffffffffull, 0x42a2309d00000000ull})
      deg_edges.push_back(std::bit_cast<double>(b));
    tan_edges = deg_edges;
  }
  const std::vector<double> deg90 =
      counts(40, k4 ? std::vector<double>{131071, 186413, 262145, 372826, 372827, 524442, 524444}
                    : std::vector<double>{1e6 + 1, 1e13 + 3, 1e14 + 1, 1e14 + 2, 1e14 + 3, 3e14 + 2,
                                          2e15, 2.25e15 + 16});
  const std::vector<double> deg45 = counts(
      80, k4 ? std::vector<double>{262145, 372827, 745654, 1048572}
             : std::vector<double>{1e6 + 1, 1e6 + 3, 2.2e11 + 1, 2.2e11 + 3, 2.3e11 + 1, 2.3e11 + 7,
                                   1e14 + 1, 1e14 + 3, 2e14 + 1, 2e14 + 2, 4.5e15 + 32});
  // Quadrant-unit ranges, edges and multiples.
  const T p = k4 ? T(0x1p23) : T(0x1p52);  // from here on every T is an integer
  const std::vector<double> quad = k4 ? std::vector<double>{0.5, 1, 8, 1e4, 0x1p23}
                                      : std::vector<double>{0.5, 1, 8, 1e6, 1e12, 0x1p52};
  const std::vector<double> near_quad =
      k4 ? std::vector<double>{0, 1, 2, 3, 1001, 100002}
         : std::vector<double>{0, 1, 2, 3, 1001, 1e9 + 2, 1e12 + 1};
  std::vector<T> quad_edges =
      neighbours<T>({0.5, 1, 1.5, 2.5, T(k4 ? 1000.5 : 1e9 + 0.5), p / 2 + T(0.5)});
  std::vector<T> tanq_edges = neighbours<T>({0.5, 1}, false);
  quad_edges.push_back(p - T(0.5)), tanq_edges.push_back(p - T(0.5));
  const std::vector<double> quad1 = counts(
      40, near_bases<T>(
              {p, 2 * p, 4 * p, 8 * p, T(k4 ? 0x1p100 : 0x1p500), T(k4 ? 3.4e38 : 1.7e308)}, 1));
  const std::vector<double> quad2 =
      counts(80, near_bases<T>({p / 2, p, 2 * p, 4 * p, T(k4 ? 0x1p90 : 0x1p900)}, 0.5));
  const auto degree = [&](int i, const std::vector<Interval> &r, const std::vector<T> &edges,
                          std::int32_t error, T finite) {
    return row(names[i], fns[i], kUnitExact[i], r)
        .odd()
        .checked_at(edges)
        .reports(faults<T>(beyond, error + odd_code, finite, nan));
  };
  const auto quadrant = [&](int i, double tiny, double ulps, const std::vector<T> &edges) {
    const Interval near = {k4 ? 1e-7 : 1e-12, 0.5, ulps, kAround, near_quad};
    return row(names[i], fns[i], kUnitExact[i], ranges(tiny, k4 ? 1e-3 : 1e-6, ulps, quad, near))
        .odd()
        .checked_at(edges);
  };
  const double tiny = k4 ? 1e-45 : 1e-320, sincos_ulps = k4 ? 0.51 : 0.66,
               tan_ulps = k4 ? 0.52 : 0.65;
  const std::int32_t pole_error = 1365 + odd_code, quad_pole = 1355 + odd_code;
  return {
      with_multiples(degree(0, sincos_ranges, deg_edges, 1361, half), 90, kSine, deg90),
      with_multiples(degree(1, sincos_ranges, deg_edges, 1361, half).even(), 90, kCosine, deg90),
      with_multiples(degree(2, tan_ranges, tan_edges, 1363, 1).skipping(pole<T, 180, 90>), 45,
                     kTangent, deg45, pole_error),
      with_multiples(degree(3, cot_ranges, tan_edges, 1363, 1)
                         .skipping(pole<T, 180, 0>)
                         .exactly({{T(k4 ? 1e-37 : 1e-307), inf}, {least, inf}}),
                     45, kCotangent, deg45, pole_error),
      with_multiples(
          quadrant(4, tiny, sincos_ulps, quad_edges).exactly({{inf, 0}, {nan, 0}, {-nan, T(-0.0)}}),
          1, kSine, quad1),
      with_multiples(quadrant(5, tiny, sincos_ulps, quad_edges)
                         .even()
                         .exactly({{inf, 1}, {nan, 1}, {-nan, 1}}),
                     1, kCosine, quad1),
      with_multiples(quadrant(6, tiny, tan_ulps, tanq_edges)
                         .skipping(pole<T, 2, 1>)
                         .exactly({{inf, 0}, {nan, 0}, {-nan, T(-0.0)}}),
                     0.5, kTangent, quad2, quad_pole),
      with_multiples(quadrant(7, k4 ? 2e-39 : 1e-308, tan_ulps, tanq_edges)
                         .skipping(pole<T, 2, 0>)
                         .exactly({{least, inf}})
                         .reports(faults<T>({inf, -inf, nan, -nan}, quad_pole, big, inf)),
                     0.5, kCotangent, quad2, quad_pole),
  };
}

// The entries: sind, cosd, tand, cotd, sinq, cosq, tanq, cotq.
constexpr const char *kNames4[] = {"g_sind", "g_cosd", "g_tand", "g_cotd",
                                   "g_sinq", "g_cosq", "g_tanq", "g_cotq"};
constexpr const char *kNames8[] = {"g_dsind", "g_dcosd", "g_dtand", "g_dcotd",
                                   "g_dsinq", "g_dcosq", "g_dtanq", "g_dcotq"};
constexpr Unary<float> kFns4[] = {g_sind, g_cosd, g_tand, g_cotd, g_sinq, g_cosq, g_tanq, g_cotq};
constexpr Unary<double> kFns8[] = {g_dsind, g_dcosd, g_dtand, g_dcotd,
                                   g_dsinq, g_dcosq, g_dtanq, g_dcotq};
VEXMORG_TABLE(TrigUnits, Real4, unit_rows<float>(kNames4, kFns4), 4000);
VEXMORG_TABLE(TrigUnits, Real8, unit_rows<double>(kNames8, kFns8), 4000);

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
