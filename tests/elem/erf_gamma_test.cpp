// The error and gamma functions (g_erf ... g_dlgama, g_algama), one
// property table per type. The error functions never report.
//
// Bounds in ulps (next to the zeros of ln gamma in ulps of the small result):
//   g_erf 2.0 up to 2 (the rational form 1.4 ulp off near 1), then 0.55
//     and 0.51; g_derf 1.6 (the form 1 ulp off near 0.2), 0.7 to 7, 0.51.
//   g_erfc 0.51 (forms within 4e-10, rounded once), 0.53 in the tail, 1.0
//     below -2 (erf rounded to Real4). g_derfc 1.2 to 0.4765625 (erf's 1.6
//     ulp carried), then E = e^(-x^2) rounded (1.22 ulp) times forms within
//     0.42 and 0.87 ulp: 2.2 and 2.6.
//   g_gamma 0.75 below 8 (the polynomial 0.2 ulp), 0.52 from 8. g_dgamma
//     0.7 below 16; Stirling's L in double-double with ln x to 2^-60.3
//     carried by x - 1/2, plus ulx_gte2's 0.61: 0.9 to 40, 1.7 to 171.6.
//   g_lgamma 1.05 from 0.5 to 2.5 (3.2e-8 at f = -1/2), 0.65 below 8, 0.52
//     for Stirling. g_dlgama 3.0 from 0.5 to 2.5 (2.35 ulp at 1.5, g_dlog's
//     ln x 1.7 ulp near 1), 1.0 next to 2, 1.6 to 16, 2.0 below 0.5 (logs
//     of rounded products), 0.52 for Stirling.
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <vector>

#include "support/family_table.h"
#include "support/ieee_constants.h"

namespace {

using namespace support;

// gamma(n) = (n - 1)! exactly for n = 1 ... last: f = 0, the factors small
// integers.
template <class T>
std::vector<Exact<T>> factorials(int last) {
  std::vector<Exact<T>> rows;
  T f = 1;
  for (int n = 1; n <= last; f *= static_cast<T>(n), ++n) rows.push_back({static_cast<T>(n), f});
  return rows;
}

// c +- 2^-k: next to a zero of ln gamma, where the result is small.
template <class T>
std::vector<T> around(T c, int last) {
  std::vector<T> p;
  for (int k = 3; k <= last; k += 4)
    p.push_back(c + std::ldexp(T{1}, -k)), p.push_back(c - std::ldexp(T{1}, -k));
  return p;
}

// Reported: x zero or negative (negative non-integers too), default the
// substitute or NaN; x at or above the limit, the substitute or plus
// infinity.
const Row<float> kReal4[] = {
    // -0 is not below zero: +0; a NaN counts as negative beyond every range
    row("g_erf", g_erf, mpfr_erf, between(0, {0.5, up(2.0f), up(4.1f), 20}, {2.0, 2.0, 0.55, 0.51}))
        .also_in({1e-38, 1e-3, 2.0, kLog})
        .odd()
        .checked_at({2, up(2.0f), 4.1f, up(4.1f)})
        .exactly(
            {{-0.0f, 0}, {5, 1}, {-5, -1}, {kInfF, 1}, {-kInfF, -1}, {kNaNF, -1}, {kMNaNF, -1}})
        .samples(8000),
    // above xmax = 9.3823996, and for a NaN: 0.0
    row("g_erfc", g_erfc, mpfr_erfc,
        between(-10, {-2, up(0.4765625f), up(3.0f), up(9.3823996f)}, {1.0, 0.51, 0.51, 0.53}))
        .checked_at({-2, down(-2.0f), 0.4765625f, up(0.4765625f), 3, up(3.0f), 9.3823996f})
        .exactly({{up(9.3823996f), 0}, {kInfF, 0}, {kNaNF, 0}, {-kInfF, 2}, {0, 1}})
        .samples(2000),
    // zero or negative, or at or above 35.03986: error 250; below 1/FLT_MAX
    // the quotient overflows: +infinity without a report
    row("g_gamma", g_gamma, mpfr_gamma,
        {{2.94e-39, 0.5, 0.75, kLog}, {0.5, 8, 0.75}, {8, 35.03986, 0.52}})
        .checked_at({0.5, down(8.0f), 8, down(35.03986f)})
        .exactly(factorials<float>(7))
        .exactly({{0x1p-149f, kInfF}, {2.9e-39f, kInfF}, {kNaNF, kNaNF}})
        .reports(faults<float>({0, -0.0f, -0.5f, -2, -kInfF}, 250, kBigF, kNaNF))
        .reports(faults<float>({35.03986f, kInfF}, 250, kBigF, kInfF))
        .samples(6000),
    // zero or negative, or at or above 4.03711e36: error 253
    row("g_lgamma", g_lgamma, mpfr_lngamma,
        {{1.4e-45, 0.5, 0.65, kLog}, {0.5, 2.5, 1.05}, {2.5, 8, 0.65}, {8, 4.03711e36, 0.52, kLog}})
        .checked_at(around(1.0f, 23))
        .checked_at(around(2.0f, 23))
        .checked_at({down(4.03711e36f)})
        .exactly({{1, 0}, {2, 0}, {kNaNF, kNaNF}})
        .reports(faults<float>({0, -0.0f, -1.5f, -kInfF}, 253, kBigF, kNaNF))
        .reports(faults<float>({4.03711e36f, kInfF}, 253, kBigF, kInfF))
        .samples(3000),
    row("g_algama", g_algama, nullptr, {{1e-45, 4e36, 0, kLog}})
        .same_as(g_lgamma)
        .exactly({{1, 0}})
        .reports(faults<float>({-3}, 253, kBigF, kNaNF))
        .reports(faults<float>({1e37f}, 253, kBigF, kInfF)),
};

const Row<double> kReal8[] = {
    row("g_derf", g_derf, mpfr_erf, between(0, {0.5, up(2.0), up(7.0), 30}, {1.6, 1.6, 0.7, 0.51}))
        .also_in({1e-300, 1e-3, 1.6, kLog})
        .odd()
        .checked_at({2, up(2.0), 7, up(7.0)})
        .exactly({{-0.0, 0}, {7.5, 1}, {-7.5, -1}, {kInfD, 1}, {kNaND, -1}})
        .samples(8000),
    // from x^2/ln 2 >= 1023 (E is 0; 26.6287357), and for a NaN: 0.0;
    // subnormal results from 26.55 on
    row("g_derfc", g_derfc, mpfr_erfc,
        between(-6, {-0.5, up(0.4765625), up(3.0), 26.5, 26.6287357}, {1.2, 1.2, 2.2, 2.6, 2.6}))
        .checked_at({0.4765625, up(0.4765625), 3, up(3.0), 26.6287357})
        .exactly({{26.628736, 0}, {27, 0}, {kInfD, 0}, {kNaND, 0}, {-kInfD, 2}, {0, 1}})
        .samples(1200),
    // zero or negative, or at or above 171.6243: error 251; below 1/DBL_MAX:
    // +infinity without a report
    row("g_dgamma", g_dgamma, mpfr_gamma,
        {{5.6e-309, 0.5, 0.7, kLog}, {0.5, 16, 0.7}, {16, 40, 0.9}, {40, 171.6243, 1.7}})
        .checked_at({0.5, down(16.0), 16, 171, down(171.6243)})
        .exactly(factorials<double>(15))
        .exactly({{0x1p-1074, kInfD}, {5.5e-309, kInfD}, {kNaND, kNaND}})
        .reports(faults<double>({0, -0.0, -0.5, -3, -kInfD}, 251, kBigD, kNaND))
        .reports(faults<double>({171.6243, 1e300, kInfD}, 251, kBigD, kInfD))
        .samples(6000),
    // zero or negative, or at or above 2.55634e305: error 254; the range
    // next to the zero at 2 first, so that its bound holds there
    row("g_dlgama", g_dlgama, mpfr_lngamma,
        {{1.9, 2.1, 1.0}, {1e-320, 0.5, 2.0, kLog}, {0.5, 2.5, 3.0}, {2.5, 16, 1.6}})
        .also_in({16, 2.55634e305, 0.52, kLog})
        .checked_at(around(1.0, 50))
        .checked_at(around(2.0, 50))
        .checked_at({down(2.55634e305)})
        .exactly({{1, 0}, {2, 0}, {kNaND, kNaND}})
        .reports(faults<double>({0, -0.0, -2.5, -kInfD}, 254, kBigD, kNaND))
        .reports(faults<double>({2.55634e305, kInfD}, 254, kBigD, kInfD))
        .samples(6000),
};

VEXMORG_TABLE(ErfGamma, Real4, kReal4, 20000);
VEXMORG_TABLE(ErfGamma, Real8, kReal8, 20000);

}  // namespace
