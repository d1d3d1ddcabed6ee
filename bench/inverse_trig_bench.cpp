// Inverse trigonometric functions beside glibc's; the degree and quadrant
// forms beside glibc's radian function with the scaling a user would write.
#include <vexmorg/vexmorg.h>

#include <cmath>

#include "bench.h"

namespace {

const auto unit4 = bench::uniform<float>(-1.0f, 1.0f);
const auto unit8 = bench::uniform<double>(-1.0, 1.0);
const auto wide4 = bench::uniform<float>(-20.0f, 20.0f);
const auto wide8 = bench::uniform<double>(-20.0, 20.0);
const auto pairs4 = bench::uniform_pairs<float>(-10.0f, 10.0f);
const auto pairs8 = bench::uniform_pairs<double>(-10.0, 10.0);

}  // namespace

VX_BENCH_PAIR(inverse_trig, g_asin, asinf, unit4);
VX_BENCH_PAIR(inverse_trig, g_acos, acosf, unit4);
VX_BENCH_PAIR(inverse_trig, g_atan, atanf, wide4);
VX_BENCH_PAIR2(inverse_trig, g_atan2, atan2f, pairs4);
VX_BENCH_PAIR(inverse_trig, g_dasin, asin, unit8);
VX_BENCH_PAIR(inverse_trig, g_dacos, acos, unit8);
VX_BENCH_PAIR(inverse_trig, g_datan, atan, wide8);
VX_BENCH_PAIR2(inverse_trig, g_datan2, atan2, pairs8);

VX_BENCH_PAIR(inverse_trig, g_asind, (180 / M_PI) * asinf, unit4);
VX_BENCH_PAIR(inverse_trig, g_acosd, (180 / M_PI) * acosf, unit4);
VX_BENCH_PAIR(inverse_trig, g_atand, (180 / M_PI) * atanf, wide4);
VX_BENCH_PAIR2(inverse_trig, g_atan2d, (180 / M_PI) * atan2f, pairs4);
VX_BENCH_PAIR(inverse_trig, g_dasind, (180 / M_PI) * asin, unit8);
VX_BENCH_PAIR(inverse_trig, g_dacosd, (180 / M_PI) * acos, unit8);
VX_BENCH_PAIR(inverse_trig, g_datand, (180 / M_PI) * atan, wide8);
VX_BENCH_PAIR2(inverse_trig, g_dtan2d, (180 / M_PI) * atan2, pairs8);

VX_BENCH_PAIR(inverse_trig, g_asinq, (2 / M_PI) * asinf, unit4);
VX_BENCH_PAIR(inverse_trig, g_acosq, (2 / M_PI) * acosf, unit4);
VX_BENCH_PAIR(inverse_trig, g_atanq, (2 / M_PI) * atanf, wide4);
VX_BENCH_PAIR2(inverse_trig, g_atan2q, (2 / M_PI) * atan2f, pairs4);
VX_BENCH_PAIR(inverse_trig, g_dasinq, (2 / M_PI) * asin, unit8);
VX_BENCH_PAIR(inverse_trig, g_dacosq, (2 / M_PI) * acos, unit8);
VX_BENCH_PAIR(inverse_trig, g_datanq, (2 / M_PI) * atan, wide8);
VX_BENCH_PAIR2(inverse_trig, g_dtan2q, (2 / M_PI) * atan2, pairs8);
