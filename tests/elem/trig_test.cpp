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

const float kBelow4 = down(823000.0f);
const double kBelow8 = 3.5299999999999995e15;
std::vector<float> tan_edges4() {
  std::vector<float> e = neighbours<float>({f32(0x3f490fdb), f32(0x3fc90fdb)});
  e.push_back(kBelow4);
  return e;
}
std::vector<double> tan_edges8() {
  std::vector<double> e = {100000.0, 100000.0625, kBelow8};  // 100000: high word 0x40F86A00
  // pi/2 rounded (0x3ff921fb54442d18): tan about 1.6e16
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
const Row<float> kReal4[] = {
    row("g_sin", g_sin, mpfr_sin, fsin_ranges(1e-45, {3.15, 1000, 823000}))
        .odd()
        .widened_by(carried<float, fsin_angle, unit_slope>)
        .checked_at({kBelow4})
        .exactly({{0, 0}, {0x1p-149f, 0x1p-149f}, {kNaNF, kNaNF}})
        .reports({{823000, 202, kSqrtHalfF, kNaNF}, {-kInfF, 202, kSqrtHalfF, kNaNF}}),
    row("g_cos", g_cos, mpfr_cos, fsin_ranges(1e-45, {3.15, 1000, 823000}))
        .even()
        .widened_by(carried<float, fsin_angle, unit_slope>)
        .checked_at({kBelow4})
        .exactly({{0, 1}, {1e-30f, 1}, {kNaNF, kNaNF}})
        .reports({{-823000, 202, kSqrtHalfF, kNaNF}, {3.4e38f, 202, kSqrtHalfF, kNaNF}}),
    row("g_tan", g_tan, mpfr_tan, tan4_ranges(1e-45))
        .odd()
        .widened_by(carried<float, tan4_angle, tan_slope>)
        .checked_at(tan_edges4())
        .exactly({{0, 0}})
        .reports(faults<float>({823000, kInfF, kNaNF}, 211, 1, kNaNF)),
    row("g_cotan", g_cotan, mpfr_cot, tan4_ranges(3e-39))
        .odd()
        .widened_by(carried<float, tan4_angle, cot_slope>)
        .checked_at(tan_edges4())
        .exactly({{0x1p-149f, kInfF}})
        .reports({{-1e30f, 211, 1, kNaNF}, {0, 212, kBigF, kInfF}, {-0.0f, 212, kBigF, kInfF}}),
};

const Row<double> kReal8[] = {
    row("g_dsin", g_dsin, mpfr_sin, fsin_ranges(1e-320, {3.15, 1e5, 1e10, 3.53e15}))
        .odd()
        .widened_by(carried<double, fsin_angle, unit_slope>)
        .checked_at({kBelow8})
        .exactly({{0, 0}, {0x1p-1074, 0x1p-1074}, {kNaND, kNaND}})
        .reports({{3.53e15, 203, kSqrtHalfD, kNaND}, {-kInfD, 203, kSqrtHalfD, kNaND}}),
    row("g_dcos", g_dcos, mpfr_cos, fsin_ranges(1e-320, {3.15, 1e5, 1e10, 3.53e15}))
        .even()
        .widened_by(carried<double, fsin_angle, unit_slope>)
        .checked_at({kBelow8})
        .exactly({{0, 1}, {1e-300, 1}, {kNaND, kNaND}})
        .reports({{-3.53e15, 203, kSqrtHalfD, kNaND}, {1e300, 203, kSqrtHalfD, kNaND}}),
    row("g_dtan", g_dtan, mpfr_tan, tan8_ranges(1e-320))
        .odd()
        .widened_by(carried<double, tan8_angle, tan_slope>)
        .checked_at(tan_edges8())
        .exactly({{0, 0}})
        .reports(faults<double>({3.53e15, kInfD, kNaND}, 213, 1, kNaND)),
    row("g_dcotan", g_dcotan, mpfr_cot, tan8_ranges(1e-307))
        .odd()
        .widened_by(carried<double, tan8_angle, cot_slope>)
        .checked_at(tan_edges8())
        .exactly({{0x1p-1074, kInfD}})
        .reports({{-1e300, 213, 1, kNaND}, {0, 214, kBigD, kInfD}, {-0.0, 214, kBigD, kInfD}}),
};

VEXMORG_TABLE(Trig, Real4, kReal4, 10000);
VEXMORG_TABLE(Trig, Real8, kReal8, 10000);

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
