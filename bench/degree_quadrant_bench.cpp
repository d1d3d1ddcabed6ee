// Degree and quadrant trigonometric functions beside glibc's radian
// functions with the scaling a user would write: sin(x * (pi/180)) for
// degrees, sin(x * (pi/2)) for quadrant units.
#include <vexmorg/vexmorg.h>

#include <cmath>

#include "bench.h"

namespace {

const auto deg4 = bench::uniform<float>(-360.0f, 360.0f);
const auto deg8 = bench::uniform<double>(-360.0, 360.0);
const auto quad4 = bench::uniform<float>(-4.0f, 4.0f);
const auto quad8 = bench::uniform<double>(-4.0, 4.0);
const auto large8 = bench::uniform<double>(-1e15, 1e15);

constexpr float kDeg4 = static_cast<float>(M_PI / 180);
constexpr float kQuad4 = static_cast<float>(M_PI_2);
constexpr double kDeg8 = M_PI / 180;
constexpr double kQuad8 = M_PI_2;

float sinf_deg(float x) { return sinf(x * kDeg4); }
float cosf_deg(float x) { return cosf(x * kDeg4); }
float tanf_deg(float x) { return tanf(x * kDeg4); }
float cotf_deg(float x) { return 1.0f / tanf(x * kDeg4); }
float sinf_quad(float x) { return sinf(x * kQuad4); }
float cosf_quad(float x) { return cosf(x * kQuad4); }
float tanf_quad(float x) { return tanf(x * kQuad4); }
float cotf_quad(float x) { return 1.0f / tanf(x * kQuad4); }
double sin_deg(double x) { return sin(x * kDeg8); }
double cos_deg(double x) { return cos(x * kDeg8); }
double tan_deg(double x) { return tan(x * kDeg8); }
double cot_deg(double x) { return 1.0 / tan(x * kDeg8); }
double sin_quad(double x) { return sin(x * kQuad8); }
double cos_quad(double x) { return cos(x * kQuad8); }
double tan_quad(double x) { return tan(x * kQuad8); }
double cot_quad(double x) { return 1.0 / tan(x * kQuad8); }

double g_dsind_large(const double *x) { return g_dsind(x); }
double g_dtand_large(const double *x) { return g_dtand(x); }

}  // namespace

VX_BENCH_PAIR(degree_quadrant, g_sind, sinf_deg, deg4);
VX_BENCH_PAIR(degree_quadrant, g_cosd, cosf_deg, deg4);
VX_BENCH_PAIR(degree_quadrant, g_tand, tanf_deg, deg4);
VX_BENCH_PAIR(degree_quadrant, g_cotd, cotf_deg, deg4);
VX_BENCH_PAIR(degree_quadrant, g_sinq, sinf_quad, quad4);
VX_BENCH_PAIR(degree_quadrant, g_cosq, cosf_quad, quad4);
VX_BENCH_PAIR(degree_quadrant, g_tanq, tanf_quad, quad4);
VX_BENCH_PAIR(degree_quadrant, g_cotq, cotf_quad, quad4);
VX_BENCH_PAIR(degree_quadrant, g_dsind, sin_deg, deg8);
VX_BENCH_PAIR(degree_quadrant, g_dcosd, cos_deg, deg8);
VX_BENCH_PAIR(degree_quadrant, g_dtand, tan_deg, deg8);
VX_BENCH_PAIR(degree_quadrant, g_dcotd, cot_deg, deg8);
VX_BENCH_PAIR(degree_quadrant, g_dsinq, sin_quad, quad8);
VX_BENCH_PAIR(degree_quadrant, g_dcosq, cos_quad, quad8);
VX_BENCH_PAIR(degree_quadrant, g_dtanq, tan_quad, quad8);
VX_BENCH_PAIR(degree_quadrant, g_dcotq, cot_quad, quad8);
VX_BENCH_PAIR(degree_quadrant, g_dsind_large, sin_deg, large8);
VX_BENCH_PAIR(degree_quadrant, g_dtand_large, tan_deg, large8);
