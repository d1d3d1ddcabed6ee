// The exponentials, logarithms and roots (g_exp ... g_dcbrt, the g_alog
// names), one property table per type.
//
// Bounds in ulps (subnormal results in units of the smallest subnormal):
//   g_exp 0.501 (x log2(e) errs by |y| 2^-64); g_dexp 0.86 (that error is
//     0.35 ulp at |y| near 1024).
//   g_exp2, g_exp10 0.508 (2^f - 1 within 4.4e-10); the Real8 forms 0.53
//     (polynomials within 2.7e-18, table pairs to 2^-106, one rounding).
//   g_log, g_log10, g_dlog, g_dlog10 0.501: FYL2X, then the rounding.
//   g_log2 0.512 (series within 1.3e-9 of f); g_dlog2 0.53 (4e-19).
//   g_sqrt 0.5 (FSQRT rounded once); g_dsqrt 0.5005 (64 to 53 bits).
//   g_cbrt 1.02 (one Newton step, 3.7e-8); g_dcbrt 0.57 (two, 7.3e-18).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "support/family_table.h"
#include "support/ieee_constants.h"

namespace {

using namespace support;

// Reported: x not greater than zero, or a NaN. Declined: zero gives minus
// the substitute or minus infinity; a negative x the logarithm of -x, or
// NaN; a NaN itself negated, or the NaN.
template <class T>
std::vector<Fault<T>> log_faults(std::int32_t error, oracle::Fn1 f) {
  const T big = sizeof(T) == 4 ? T(kBigF) : T(kBigD), inf = static_cast<T>(INFINITY);
  const T nan = sizeof(T) == 4 ? T(kNaNF) : T(kNaND), tiny = std::numeric_limits<T>::denorm_min();
  return {{0, error, -big, -inf},
          {T(-0.0), error, -big, -inf},
          {-8, error, oracle::rounded(f, T(8)), nan},
          {-tiny, error, oracle::rounded(f, tiny), nan},
          {-inf, error, inf, nan},
          {nan, error, -nan, nan},
          {-nan, error, nan, nan}};
}

// The logarithms' ranges: results next to zero, the table points, the
// normal and the subnormal arguments.
template <class T>
std::vector<Interval> log_ranges(double ulps, double near) {
  using L = std::numeric_limits<T>;
  return {{1 - near, 1 + near, ulps},
          {0.7, 1.6, ulps},
          {L::min(), L::max(), ulps, kLog},
          {L::denorm_min(), L::min(), ulps, kLog}};
}

// The Fortran specific names: the same function under its own entry.
Row<float> specific_name(const char *name, Unary<float> fn, Unary<float> twin, oracle::Fn1 f) {
  return row(name, fn, nullptr, {{1e-45, 3e38, 0, kLog}})
      .same_as(twin)
      .reports(log_faults<float>(244, f));
}

// Exponentials: x at or above the overflow limit, plus infinity and (Real4)
// a positive NaN report, default the substitute or plus infinity; x at or
// below the lower limit (minus infinity, a negative NaN) gives 0.0.
const Row<float> kReal4[] = {
    // 0.0 from -88.029 (0xC2B00ED9) down, error 229 from 88.722 (0x42B171AA)
    row("g_exp", g_exp, mpfr_exp,
        between(-88.028995, {-87.33, -1, 1, 88.722}, {0.501, 0.501, 0.501, 0.501}))
        .checked_at({up(f32(0xc2b00ed9)), down(f32(0x42b171aa))})
        .exactly({{-0.0f, 1}, {0x1p-149f, 1}, {f32(0xc2b00ed9), 0}, {-kInfF, 0}, {kMNaNF, 0}})
        .reports(faults<float>({f32(0x42b171aa), kInfF, kNaNF}, 229, kBigF, kInfF)),
    // 0.0 from -127.0 down, error 238 from 128.0
    row("g_exp2", g_exp2, mpfr_exp2,
        between(-126.999995, {-126, -1, 1, 128}, {0.508, 0.508, 0.508, 0.508}))
        .checked_at({up(-127.0f), 0.5f, down(128.0f)})
        .exactly({{-0.0f, 1}, {-127, 0}, {-1e30f, 0}, {-kInfF, 0}, {kMNaNF, 0}})
        .reports(faults<float>({128, kInfF, kNaNF}, 238, kBigF, kInfF)),
    // 0.0 from -38.23 (0x4218EB85) down, error 241 from 38.531 (0x421A1FBE)
    row("g_exp10", g_exp10, mpfr_exp10,
        between(-38.229997, {-37.93, -1, 1, 38.531}, {0.508, 0.508, 0.508, 0.508}))
        .checked_at({up(-f32(0x4218eb85)), down(f32(0x421a1fbe))})
        .exactly({{1e-30f, 1}, {-f32(0x4218eb85), 0}, {-kInfF, 0}, {kMNaNF, 0}})
        .reports(faults<float>({f32(0x421a1fbe), kInfF, kNaNF}, 241, kBigF, kInfF)),
    row("g_log", g_log, mpfr_log, log_ranges<float>(0.501, 0.02))
        .exactly({{1, 0}, {kInfF, kInfF}})
        .reports(log_faults<float>(244, mpfr_log)),
    row("g_log2", g_log2, mpfr_log2, log_ranges<float>(0.512, 0.02))
        .exactly({{kInfF, kInfF}})
        .reports(log_faults<float>(244, mpfr_log2)),
    row("g_log10", g_log10, mpfr_log10, log_ranges<float>(0.501, 0.02))
        .exactly({{1, 0}, {100, 2}, {kInfF, kInfF}})
        .reports(log_faults<float>(244, mpfr_log10)),
    specific_name("g_alog", g_alog, g_log, mpfr_log),
    specific_name("g_alog2", g_alog2, g_log2, mpfr_log2),
    specific_name("g_alog10", g_alog10, g_log10, mpfr_log10),
    // a zero of either sign gives +0.0; x below zero reports 226, the
    // default the root of -x or NaN
    row("g_sqrt", g_sqrt, mpfr_sqrt, {{0.25, 4, 0.5}, {1e-45, 0x1.fffffep127, 0.5, kLog}})
        .exactly({{-0.0f, 0}, {6.25f, 2.5f}, {0x1p-148f, 0x1p-74f}, {kInfF, kInfF}, {kNaNF, kNaNF}})
        .reports(
            {{-4, 226, 2, kNaNF}, {-0x1p-148f, 226, 0x1p-74f, kNaNF}, {-kInfF, 226, kInfF, kNaNF}})
        .samples(40000),
    row("g_cbrt", g_cbrt, mpfr_cbrt,
        {{1, 8, 1.02}, {1.2e-38, 0x1.fffffep127, 1.02, kLog}, {1e-45, 1.2e-38, 1.02, kLog}})
        .odd()
        .checked_at({27, -27, 0x1p-149f, 0x1.fffffep127f})
        .exactly({{-0.0f, 0}, {kInfF, kInfF}, {-kInfF, -kInfF}, {kNaNF, kNaNF}})
        .samples(40000),
};

const Row<double> kReal8[] = {
    // 0.0 from -709.089 down, error 230 from 709.782; a NaN computes
    row("g_dexp", g_dexp, mpfr_exp,
        between(-709.089, {-708.3964, -20, 20, 709.782}, {0.86, 0.86, 0.86, 0.86}))
        .checked_at({up(-709.089), down(709.782)})
        .exactly({{-0.0, 1}, {-709.089, 0}, {-kInfD, 0}, {kNaND, kNaND}, {kMNaND, kNaND}})
        .reports(faults<double>({709.782, kInfD}, 230, kBigD, kInfD)),
    // 0.0 from -1023.0 down (subnormal results above it rounded once), the
    // top range by its own variant, error 239 from 1024.0
    row("g_dexp2", g_dexp2, mpfr_exp2,
        between(-1023, {-1022, -1, 1, 1023, 1024}, {0.53, 0.53, 0.53, 0.53, 0.53}))
        .checked_at({up(-1023.0), 0.5, -1022.5, down(1023.0), 1023, up(1023.0), down(1024.0)})
        .exactly({{0x1p-1074, 1}, {-1023, 0}, {-kInfD, 0}, {kNaND, kNaND}, {kMNaND, kNaND}})
        .reports(faults<double>({1024, kInfD}, 239, kBigD, kInfD)),
    // 0.0 from -307.95 down, the top range from 304, error 242 from 308.254
    row("g_dexp10", g_dexp10, mpfr_exp10,
        between(-307.95, {-307.6527, -1, 1, 304, 308.254}, {0.53, 0.53, 0.53, 0.53, 0.53}))
        .checked_at({up(-307.95), down(308.254)})
        .exactly({{-1e-300, 1}, {-307.95, 0}, {-kInfD, 0}, {kNaND, kNaND}})
        .reports(faults<double>({308.254, kInfD}, 242, kBigD, kInfD)),
    row("g_dlog", g_dlog, mpfr_log, log_ranges<double>(0.501, 0.01))
        .checked_at({1 + 0x1p-52, 1 - 0x1p-53, 1 + 0x1p-30, 1 - 0x1p-31})
        .exactly({{1, 0}, {kInfD, kInfD}})
        .reports(log_faults<double>(245, mpfr_log)),
    row("g_dlog2", g_dlog2, mpfr_log2, log_ranges<double>(0.53, 0.01))
        .checked_at({1 + 0x1p-52, 1 - 0x1p-53, 1 + 0x1p-30, 1 - 0x1p-31, 0.9921875, 1.0078125})
        .exactly({{kInfD, kInfD}})
        .reports(log_faults<double>(245, mpfr_log2)),
    row("g_dlog10", g_dlog10, mpfr_log10, log_ranges<double>(0.501, 0.01))
        .checked_at({1 + 0x1p-52, 1 - 0x1p-53})
        .exactly({{1, 0}, {1000, 3}, {kInfD, kInfD}})
        .reports(log_faults<double>(245, mpfr_log10)),
    row("g_dsqrt", g_dsqrt, mpfr_sqrt,
        {{0.25, 4, 0.5005}, {5e-324, 0x1.fffffffffffffp1023, 0.5005, kLog}})
        .exactly({{-0.0, 0}, {9, 3}, {0x1p-1074, 0x1p-537}, {kInfD, kInfD}, {kNaND, kNaND}})
        .reports(
            {{-4, 227, 2, kNaND}, {-2, 227, std::sqrt(2.0), kNaND}, {-kInfD, 227, kInfD, kNaND}})
        .samples(40000),
    row("g_dcbrt", g_dcbrt, mpfr_cbrt,
        {{1, 8, 0.57},
         {2.3e-308, 0x1.fffffffffffffp1023, 0.57, kLog},
         {5e-324, 2.3e-308, 0.57, kLog}})
        .odd()
        .checked_at({27, 1e-3, 0x1p-1074, 0x1.fffffffffffffp1023})
        .exactly({{-0.0, 0}, {kInfD, kInfD}, {-kInfD, -kInfD}, {kNaND, kNaND}})
        .samples(40000),
};

VEXMORG_TABLE(ExpLog, Real4, kReal4, 20000);
VEXMORG_TABLE(ExpLog, Real8, kReal8, 20000);

// 2^k is exact for every integer k of a normal result (f = 0 takes the
// table's 1.0), and log2 of every power of two, subnormals included, is its
// exponent.
TEST(ExpLog, PowersOfTwo) {
  for (int k = -1074; k <= 1023; ++k) {
    if (k >= -1022) expect_value("g_dexp2", g_dexp2, std::ldexp(1.0, k), static_cast<double>(k));
    expect_value("g_dlog2", g_dlog2, static_cast<double>(k), std::ldexp(1.0, k));
    if (k >= -126 && k <= 127) expect_value("g_exp2", g_exp2, std::ldexp(1.0f, k), float(k));
    if (k >= -149 && k <= 127) expect_value("g_log2", g_log2, float(k), std::ldexp(1.0f, k));
  }
}

}  // namespace
