// The radian sines, cosines, tangents and cotangents, Real4 and Real8: one
// property table (support/family_table.h) against MPFR, and tblp.
//
// Bounds in ulps, plus the absolute angle error of the reduction carried
// by |f'| (`carried`):
//   sine, cosine: FSIN/FCOS rounded once, 0.52 (the i386 emulator's 0.512
//     inside it), plus the instruction's 66-bit pi, |x| 2^-62.
//   tangent, cotangent: the kernels rounded once, Real4 0.53, Real8 0.9 to
//     pi/2 and 0.8 beyond; the reduction's error: Real4 beyond pi/2 |x|
//     2^-53; Real8 |x| 2^-80 + 2^-66 to 100000 (hpa + hpc), |x| 2^-105 +
//     2^-53 beyond (pi/2 in three pieces).
#include <gtest/gtest.h>

#include <bit>
#include <cmath>

#include "elem/trig/tables/tan_table.h"
#include "support/family_table.h"
#include "support/ieee_constants.h"

namespace {

using namespace support;  // the special values kInfF, kNaNF, kBigF, kSqrtHalfF, ...

// The absolute error `angle` of the reduced angle at |x|, carried by |f'|.
template <class T, double (*angle)(double), double (*slope)(double)>
double carried(double x, double value) {
  return angle(x) == 0 ? 0 : angle(x) * slope(x) / ulp_of<T>(std::fabs(value));
}
double unit_slope(double) { return 1; }
double tan_slope(double x) { return 1 / (std::cos(x) * std::cos(x)); }
double cot_slope(double x) { return 1 / (std::sin(x) * std::sin(x)); }
double fsin_angle(double x) { return x * 0x1p-62; }
constexpr double kQuarter = 0.7853981633974483, kHalfPi = 1.5707963267948966;
double tan4_angle(double x) { return x > kHalfPi ? x * 0x1p-53 : 0; }
double tan8_angle(double x) {
  return x < 0x1.921fcp+0 ? 0 : x < 0x1.86a01p+16 ? x * 0x1p-80 + 0x1p-66 : x * 0x1p-105 + 0x1p-53;
}

// FSIN/FCOS from `tiny` (log-uniform up to 0.785) to the limit.
std::vector<Interval> fsin_ranges(double tiny, std::vector<double> cuts) {
  return with_tiny(tiny, 0.785, 0.52, between(0.785, cuts, {0.52}));
}

// Real4 tangent: pi/4 and the Real4 nearest pi/2 (above it) switch methods.
std::vector<Interval> tan4_ranges(double tiny) {
  return with_tiny(tiny, 1e-3, 0.53, between(0, {kQuarter, kHalfPi, 100, 823000}, {0.53}));
}

// Real8 tangent: the ranges go by the high word (0x3FE921FB, 0x3FF921FB,
// 0x40F86A00 the last of each).
std::vector<Interval> tan8_ranges(double tiny) {
  return with_tiny(tiny, 1e-3, 0.9,
                   between(0, {0x1.921fcp-1, 0x1.921fcp+0, 100, 0x1.86a01p+16, 1e9, 3.53e15},
                           {0.9, 0.9, 0.8, 0.8, 0.8, 0.8}));
}

// Tangent edges: Real4 pi/4 and pi/2 rounded, with neighbours; Real8 by the
// high word (0x3FE921FB, 0x3FF921FB, 0x40F86A00 the last of each), 100000
// (high word 0x40F86A00) and pi/2 rounded (tan about 1.6e16).
std::vector<float> tan_edges(float below) {
  std::vector<float> e = neighbours<float>({f32(0x3f490fdb), f32(0x3fc90fdb)});
  e.push_back(below);
  return e;
}
std::vector<double> tan_edges(double below) {
  std::vector<double> e = {100000.0, 100000.0625, below};
  for (std::uint64_t b :
       {0x3fe921fbffffffffull, 0x3fe921fc00000000ull, 0x3ff921fb54442d18ull, 0x3ff921fb54442d19ull,
        0x3ff921fbffffffffull, 0x3ff921fc00000000ull, 0x40f86a00ffffffffull})
    e.push_back(std::bit_cast<double>(b));
  return e;
}

// Sine and cosine: |x| at or above 823000 / 3.53e15, or infinite, is error
// 202 / 203 with default sqrt(1/2) (NaN with the infinity flag); a NaN is
// not reported. Tangent and cotangent: the same limits (NaNs included) are
// error 211 / 213 with default 1.0; a pole (cotangent of zero) 212 / 214
// with default 3.40282002e+38 / 1.7976931348623011e+308 or plus infinity,
// for either sign.
template <class T>
std::vector<Row<T>> trig_rows(const char *const names[4], const Unary<T> fns[4]) {
  constexpr bool k4 = sizeof(T) == 4;
  const T inf = INFINITY, nan = k4 ? T(kNaNF) : T(kNaND), big = k4 ? T(kBigF) : T(kBigD);
  const T half = k4 ? T(kSqrtHalfF) : T(kSqrtHalfD), least = std::numeric_limits<T>::denorm_min();
  const T limit = k4 ? T(823000) : T(3.53e15),
          below = k4 ? down(T(823000)) : T(3.5299999999999995e15);
  const T far = k4 ? T(3.4e38) : T(1e300), tiny = k4 ? T(1e-30) : T(1e-300);
  const std::int32_t sin_error = k4 ? 202 : 203, tan_error = k4 ? 211 : 213, pole = tan_error + 1;
  const std::vector<Interval> fsin = k4 ? fsin_ranges(1e-45, {3.15, 1000, 823000})
                                        : fsin_ranges(1e-320, {3.15, 1e5, 1e10, 3.53e15});
  const auto tan_ranges = [&](double t) { return k4 ? tan4_ranges(t) : tan8_ranges(t); };
  return {
      row(names[0], fns[0], mpfr_sin, fsin)
          .odd()
          .widened_by(carried<T, fsin_angle, unit_slope>)
          .checked_at({below})
          .exactly({{0, 0}, {least, least}, {nan, nan}})
          .reports({{limit, sin_error, half, nan}, {-inf, sin_error, half, nan}}),
      row(names[1], fns[1], mpfr_cos, fsin)
          .even()
          .widened_by(carried<T, fsin_angle, unit_slope>)
          .checked_at({below})
          .exactly({{0, 1}, {tiny, 1}, {nan, nan}})
          .reports({{-limit, sin_error, half, nan}, {far, sin_error, half, nan}}),
      row(names[2], fns[2], mpfr_tan, tan_ranges(k4 ? 1e-45 : 1e-320))
          .odd()
          .widened_by(k4 ? carried<T, tan4_angle, tan_slope> : carried<T, tan8_angle, tan_slope>)
          .checked_at(tan_edges(below))
          .exactly({{0, 0}})
          .reports(faults<T>({limit, inf, nan}, tan_error, 1, nan)),
      row(names[3], fns[3], mpfr_cot, tan_ranges(k4 ? 3e-39 : 1e-307))
          .odd()
          .widened_by(k4 ? carried<T, tan4_angle, cot_slope> : carried<T, tan8_angle, cot_slope>)
          .checked_at(tan_edges(below))
          .exactly({{least, inf}})
          .reports({{T(k4 ? -1e30 : -1e300), tan_error, 1, nan},
                    {0, pole, big, inf},
                    {T(-0.0), pole, big, inf}}),
  };
}

constexpr const char *kNames4[] = {"g_sin", "g_cos", "g_tan", "g_cotan"};
constexpr const char *kNames8[] = {"g_dsin", "g_dcos", "g_dtan", "g_dcotan"};
constexpr Unary<float> kFns4[] = {g_sin, g_cos, g_tan, g_cotan};
constexpr Unary<double> kFns8[] = {g_dsin, g_dcos, g_dtan, g_dcotan};
VEXMORG_TABLE(Trig, Real4, trig_rows<float>(kNames4, kFns4), 10000);
VEXMORG_TABLE(Trig, Real8, trig_rows<double>(kNames8, kFns8), 10000);

// tblp[j] = tan(j pi/512), j = 0..128: the nearest Real8 and the nearest
// Real8 to the remainder.
TEST(TanTable, RecomputedWithMpfr) {
  oracle::Big pi, v;
  mpfr_const_pi(pi, MPFR_RNDN);
  for (int j = 0; j <= 128; ++j) {
    mpfr_mul_si(v, pi, j, MPFR_RNDN);
    mpfr_div_ui(v, v, 512, MPFR_RNDN);
    mpfr_tan(v, v, MPFR_RNDN);
    expect_split(v, vx::tblp[j].high, vx::tblp[j].low, j);
  }
}

}  // namespace
