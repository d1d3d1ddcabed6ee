// Error and gamma functions beside glibc's.
#include <vexmorg/vexmorg.h>

#include <cmath>

#include "bench.h"

namespace {

const auto erf4 = bench::uniform<float>(-3.0f, 3.0f);
const auto erfc4 = bench::uniform<float>(-1.0f, 9.0f);
const auto erf8 = bench::uniform<double>(-4.0, 4.0);
const auto erfc8 = bench::uniform<double>(-1.0, 26.0);
const auto gamma4 = bench::uniform<float>(0.1f, 35.0f);
const auto lgamma4 = bench::uniform<float>(0.1f, 1000.0f);
const auto gamma8 = bench::uniform<double>(0.1, 171.0);
const auto small8 = bench::uniform<double>(0.1, 16.0);
const auto lgamma8 = bench::uniform<double>(0.1, 1000.0);

// The Real8 gamma below 16 only: the rational form and the recurrence.
double g_dgamma_small(const double *x) { return g_dgamma(x); }

}  // namespace

VX_BENCH_PAIR(erf_gamma, g_erf, erff, erf4);
VX_BENCH_PAIR(erf_gamma, g_erfc, erfcf, erfc4);
VX_BENCH_PAIR(erf_gamma, g_derf, erf, erf8);
VX_BENCH_PAIR(erf_gamma, g_derfc, erfc, erfc8);
VX_BENCH_PAIR(erf_gamma, g_gamma, tgammaf, gamma4);
VX_BENCH_PAIR(erf_gamma, g_lgamma, lgammaf, lgamma4);
VX_BENCH_PAIR(erf_gamma, g_dgamma, tgamma, gamma8);
VX_BENCH_PAIR(erf_gamma, g_dgamma_small, tgamma, small8);
VX_BENCH_PAIR(erf_gamma, g_dlgama, lgamma, lgamma8);
