// Radian trigonometric functions beside glibc's.
#include <vexmorg/vexmorg.h>

#include <cmath>

#include "bench.h"

namespace {

const auto small4 = bench::uniform<float>(-3.0f, 3.0f);
const auto large4 = bench::uniform<float>(-10000.0f, 10000.0f);
const auto small8 = bench::uniform<double>(-3.0, 3.0);
const auto large8 = bench::uniform<double>(-1e6, 1e6);

float g_sin_large(const float *x) { return g_sin(x); }
double g_dsin_large(const double *x) { return g_dsin(x); }
double g_dtan_large(const double *x) { return g_dtan(x); }

}  // namespace

VX_BENCH_PAIR(trig, g_sin, sinf, small4);
VX_BENCH_PAIR(trig, g_cos, cosf, small4);
VX_BENCH_PAIR(trig, g_tan, tanf, small4);
VX_BENCH_PAIR(trig, g_cotan, 1.0f / tanf, small4);
VX_BENCH_PAIR(trig, g_dsin, sin, small8);
VX_BENCH_PAIR(trig, g_dcos, cos, small8);
VX_BENCH_PAIR(trig, g_dtan, tan, small8);
VX_BENCH_PAIR(trig, g_dcotan, 1.0 / tan, small8);
VX_BENCH_PAIR(trig, g_sin_large, sinf, large4);
VX_BENCH_PAIR(trig, g_dsin_large, sin, large8);
VX_BENCH_PAIR(trig, g_dtan_large, tan, large8);
