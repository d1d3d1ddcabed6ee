// The radian sines, cosines, tangents and cotangents, Real4 and Real8: one
// property table (support/family_table.h) against MPFR, and tblp.
//
// Bounds in ulps:
//   sine, cosine: FSIN/FCOS rounded once, 0.5 ulp plus the error of the
//     instruction's own reduction by its 66-bit pi, absolute and about
//     |x| 2^-66: 0.52 + |x| 2^-62 carried by |f'| <= 1 (only felt next to
//     the zeros of large arguments). The i386 emulator's FSIN/FCOS get a few
//     low bits of the 64-bit result wrong (0.512 ulp measured for Real8),
//     inside the 0.52.
//   tangent, cotangent: the kernels in the register, rounded once (Real4
//     0.53; Real8 0.9 up to pi/2, 0.8 beyond), plus the absolute angle error
//     of the reduction carried by |f'| = 1/cos^2 or 1/sin^2: Real4 beyond
//     pi/2, x 2/pi with 2/pi one Real8, |x| 2^-53; Real8 table step (to
//     100000), pi/2 = hpa + hpc, |x| 2^-80 + 2^-66; Real8 beyond, pi/2 in
//     three pieces with a correction summed in Real8, |x| 2^-105 + 2^-53.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>

#include "elem/trig/tables/tan_table.h"
#include "support/family_table.h"
#include "support/ieee_constants.h"

namespace {

using namespace support;  // the special values kInfF, kNaNF, kBigF, kSqrtHalfF, ...
using family::Entry;
using family::Range;
using family::Symmetry;
constexpr auto kLog = family::Spread::kLog;
constexpr auto kUniform = family::Spread::kUniform;

double unit_slope(double) { return 1; }
double tan_slope(double x) { return 1 / (std::cos(x) * std::cos(x)); }
double cot_slope(double x) { return 1 / (std::sin(x) * std::sin(x)); }

// FSIN/FCOS over consecutive ranges from `tiny` (log-uniform up to the
// first cut) to the limit.
std::vector<Range> fsin_ranges(double tiny, std::initializer_list<double> cuts) {
  std::vector<Range> r = {{tiny, *cuts.begin(), 0.52, kLog}};
  for (auto c = cuts.begin(); c + 1 != cuts.end(); ++c)
    r.push_back({*c, c[1], 0.52, kUniform, {}, 0x1p-62});
  return r;
}

constexpr double kQuarter = 0.7853981633974483, kHalfPi = 1.5707963267948966;

// Real4 tangent: pi/4 and the Real4 nearest pi/2 (above it) switch methods.
std::vector<Range> tan4_ranges(double tiny) {
  return {{tiny, 1e-3, 0.53, kLog},
          {0, kQuarter, 0.53},
          {kQuarter, kHalfPi, 0.53},
          {kHalfPi, 100, 0.53, kUniform, {}, 0x1p-53},
          {100, 823000, 0.53, kUniform, {}, 0x1p-53}};
}

// Real8 tangent: the ranges go by the high word (0x3FE921FB, 0x3FF921FB,
// 0x40F86A00 the last of each).
std::vector<Range> tan8_ranges(double tiny) {
  return {{tiny, 1e-3, 0.9, kLog},
          {0, 0x1.921fcp-1, 0.9},
          {0x1.921fcp-1, 0x1.921fcp+0, 0.9},
          {0x1.921fcp+0, 100, 0.8, kUniform, {}, 0x1p-80, 0x1p-66},
          {100, 0x1.86a01p+16, 0.8, kUniform, {}, 0x1p-80, 0x1p-66},
          {0x1.86a01p+16, 1e9, 0.8, kUniform, {}, 0x1p-105, 0x1p-53},
          {1e9, 3.53e15, 0.8, kUniform, {}, 0x1p-105, 0x1p-53}};
}

const float kBelow4 = std::nextafter(823000.0f, 0.0f);
const double kBelow8 = 3.5299999999999995e15;
std::vector<float> tan_edges4() {
  std::vector<float> e =
      family::around<float>({std::bit_cast<float>(0x3f490fdbu), std::bit_cast<float>(0x3fc90fdbu)});
  e.push_back(kBelow4);
  return e;
}
const std::vector<float> kTanEdges4 = tan_edges4();
const std::vector<double> kTanEdges8 = {
    std::bit_cast<double>(0x3fe921fbffffffffull),
    std::bit_cast<double>(0x3fe921fc00000000ull),
    std::bit_cast<double>(0x3ff921fb54442d18ull),  // pi/2 rounded: tan about 1.6e16
    std::bit_cast<double>(0x3ff921fb54442d19ull),
    std::bit_cast<double>(0x3ff921fbffffffffull),
    std::bit_cast<double>(0x3ff921fc00000000ull),
    100000.0,  // high word 0x40F86A00: table
    std::bit_cast<double>(0x40f86a00ffffffffull),
    100000.0625,
    kBelow8};

// Sine and cosine: |x| at or above 823000 / 3.53e15, or infinite, is error
// 202 / 203 with default sqrt(1/2) (NaN with the infinity flag); a NaN is
// not reported. Tangent and cotangent: the same limits (NaNs included) are
// error 211 / 213 with default 1.0; a pole (cotangent of zero) 212 / 214
// with default 3.40282002e+38 / 1.7976931348623011e+308 or plus infinity,
// for either sign.
const std::vector<Entry<float>> kEntries4 = {
    family::entry("g_sin", g_sin, mpfr_sin, Symmetry::kOdd,
                  fsin_ranges(1e-45, {0.785, 3.15, 1000, 823000}), {kBelow4},
                  {{0, 0}, {0x1p-149f, 0x1p-149f}, {kNaNF, kNaNF}},
                  {{823000, 202, kSqrtHalfF, kNaNF}, {-kInfF, 202, kSqrtHalfF, kNaNF}}, unit_slope),
    family::entry(
        "g_cos", g_cos, mpfr_cos, Symmetry::kEven, fsin_ranges(1e-45, {0.785, 3.15, 1000, 823000}),
        {kBelow4}, {{0, 1}, {1e-30f, 1}, {kNaNF, kNaNF}},
        {{-823000, 202, kSqrtHalfF, kNaNF}, {3.4e38f, 202, kSqrtHalfF, kNaNF}}, unit_slope),
    family::entry(
        "g_tan", g_tan, mpfr_tan, Symmetry::kOdd, tan4_ranges(1e-45), kTanEdges4, {{0, 0}},
        {{823000, 211, 1, kNaNF}, {kInfF, 211, 1, kNaNF}, {kNaNF, 211, 1, kNaNF}}, tan_slope),
    family::entry("g_cotan", g_cotan, mpfr_cot, Symmetry::kOdd, tan4_ranges(3e-39), kTanEdges4,
                  {{0x1p-149f, kInfF}},
                  {{-1e30f, 211, 1, kNaNF}, {0, 212, kBigF, kInfF}, {-0.0f, 212, kBigF, kInfF}},
                  cot_slope),
};

const std::vector<Entry<double>> kEntries8 = {
    family::entry("g_dsin", g_dsin, mpfr_sin, Symmetry::kOdd,
                  fsin_ranges(1e-320, {0.785, 3.15, 1e5, 1e10, 3.53e15}), {kBelow8},
                  {{0, 0}, {0x1p-1074, 0x1p-1074}, {kNaND, kNaND}},
                  {{3.53e15, 203, kSqrtHalfD, kNaND}, {-kInfD, 203, kSqrtHalfD, kNaND}},
                  unit_slope),
    family::entry("g_dcos", g_dcos, mpfr_cos, Symmetry::kEven,
                  fsin_ranges(1e-320, {0.785, 3.15, 1e5, 1e10, 3.53e15}), {kBelow8},
                  {{0, 1}, {1e-300, 1}, {kNaND, kNaND}},
                  {{-3.53e15, 203, kSqrtHalfD, kNaND}, {1e300, 203, kSqrtHalfD, kNaND}},
                  unit_slope),
    family::entry(
        "g_dtan", g_dtan, mpfr_tan, Symmetry::kOdd, tan8_ranges(1e-320), kTanEdges8, {{0, 0}},
        {{3.53e15, 213, 1, kNaND}, {kInfD, 213, 1, kNaND}, {kNaND, 213, 1, kNaND}}, tan_slope),
    family::entry("g_dcotan", g_dcotan, mpfr_cot, Symmetry::kOdd, tan8_ranges(1e-307), kTanEdges8,
                  {{0x1p-1074, kInfD}},
                  {{-1e300, 213, 1, kNaND}, {0, 214, kBigD, kInfD}, {-0.0, 214, kBigD, kInfD}},
                  cot_slope),
};

template <class T>
class Trig : public ::testing::TestWithParam<Entry<T>> {};
using Trig4 = Trig<float>;
using Trig8 = Trig<double>;
TEST_P(Trig4, Properties) { family::check(GetParam(), scaled(10000)); }
TEST_P(Trig8, Properties) { family::check(GetParam(), scaled(10000)); }
const auto kName = [](const auto &info) { return std::string(info.param.name); };
INSTANTIATE_TEST_SUITE_P(Real4, Trig4, ::testing::ValuesIn(kEntries4), kName);
INSTANTIATE_TEST_SUITE_P(Real8, Trig8, ::testing::ValuesIn(kEntries8), kName);

// tblp[j] = tan(j pi/512), j = 0..128: the nearest Real8 and the nearest
// Real8 to the remainder.
TEST(TanTable, RecomputedWithMpfr) {
  oracle::Big pi, v, rest;
  mpfr_const_pi(pi, MPFR_RNDN);
  for (int j = 0; j <= 128; ++j) {
    mpfr_mul_si(v, pi, j, MPFR_RNDN);
    mpfr_div_ui(v, v, 512, MPFR_RNDN);
    mpfr_tan(v, v, MPFR_RNDN);
    EXPECT_EQ(vx::tblp[j].high, mpfr_get_d(v, MPFR_RNDN)) << "entry " << j;
    mpfr_sub_d(rest, v, vx::tblp[j].high, MPFR_RNDN);
    EXPECT_EQ(vx::tblp[j].low, mpfr_get_d(rest, MPFR_RNDN)) << "entry " << j;
  }
}

}  // namespace
