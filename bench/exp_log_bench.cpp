// Exponentials, logarithms and roots beside glibc's.
#include <vexmorg/vexmorg.h>

#include <cmath>

#include "bench.h"

namespace {

const auto exp4 = bench::uniform<float>(-80.0f, 80.0f);
const auto exp2_4 = bench::uniform<float>(-120.0f, 120.0f);
const auto exp10_4 = bench::uniform<float>(-37.0f, 37.0f);
const auto exp8 = bench::uniform<double>(-700.0, 700.0);
const auto exp2_8 = bench::uniform<double>(-1000.0, 1000.0);
const auto exp10_8 = bench::uniform<double>(-300.0, 300.0);
const auto positive4 = bench::uniform<float>(0.001f, 1000.0f);
const auto positive8 = bench::uniform<double>(0.001, 1000.0);

}  // namespace

VX_BENCH_PAIR(exp_log, g_exp, expf, exp4);
VX_BENCH_PAIR(exp_log, g_exp2, exp2f, exp2_4);
VX_BENCH_PAIR(exp_log, g_exp10, exp10f, exp10_4);
VX_BENCH_PAIR(exp_log, g_log, logf, positive4);
VX_BENCH_PAIR(exp_log, g_log2, log2f, positive4);
VX_BENCH_PAIR(exp_log, g_log10, log10f, positive4);
VX_BENCH_PAIR(exp_log, g_sqrt, sqrtf, positive4);
VX_BENCH_PAIR(exp_log, g_cbrt, cbrtf, positive4);
VX_BENCH_PAIR(exp_log, g_dexp, exp, exp8);
VX_BENCH_PAIR(exp_log, g_dexp2, exp2, exp2_8);
VX_BENCH_PAIR(exp_log, g_dexp10, exp10, exp10_8);
VX_BENCH_PAIR(exp_log, g_dlog, log, positive8);
VX_BENCH_PAIR(exp_log, g_dlog2, log2, positive8);
VX_BENCH_PAIR(exp_log, g_dlog10, log10, positive8);
VX_BENCH_PAIR(exp_log, g_dsqrt, sqrt, positive8);
VX_BENCH_PAIR(exp_log, g_dcbrt, cbrt, positive8);
