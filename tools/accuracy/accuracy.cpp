// The accuracy report: every implemented Real4, Real8 and Real16 function of
// one or two real arguments against MPFR, beside glibc's libm and
// libquadmath called as a user would (the degree and quadrant forms through
// the scaled radian call). One table, kRows, drives everything: the
// sampling, the measurement, the Markdown block between the markers of
// docs/accuracy.md and the data behind the plots (tools/accuracy/plot.py).
//
//   accuracy [--samples=N] [--samples16=N] [--only=REGEX] [--exhaustive]
//            [--doc=docs/accuracy.md] [--plot=FILE] [--check=tools/exports.tsv]
//
// Sampled: N arguments per Real4/Real8 function (default 100000),
// --samples16 per Real16 function (20000), split over the function's
// ranges, seeded by its name, the rows shared out over the threads. With
// --exhaustive every finite Real4 argument in the ranges of each
// one-argument Real4 function instead: a long double reference screens
// each result and MPFR decides those within 2^-12 ulp of half an ulp.
// Rows the library does not export are listed and skipped. --check fails
// when an exported function of one or two real arguments has no row; any
// run fails when a measured function has no finite maximum error.
#include <dlfcn.h>
#include <mpfr.h>
#include <quadmath.h>
#include <vexmorg/vexmorg.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "oracle/angle_units.h"
#include "oracle/oracle.h"
#include "oracle/real16.h"

namespace {

using Q = __float128;  // every argument and result, exactly
enum class Type { r4, r8, r16 };
constexpr const char *kTypeName[] = {"Real4", "Real8", "Real16"};

// lin: uniform in [lo, hi); log: |x| log-uniform in [lo, hi), either sign;
// pos: x log-uniform in [lo, hi).
enum class Spread { lin, log, pos };
struct Range {
  double lo, hi;
  Spread spread = Spread::lin;
};
constexpr Spread kLin = Spread::lin, kLog = Spread::log, kPos = Spread::pos;

// The call a user would write, on the entry's arguments a (and b) in its
// type; `text` is its source.
struct Lib {
  Q (*fn)(Q a, Q b);
  const char *text;
};

// pi/180, 180/pi, pi/2 and 2/pi rounded to T, as a user writes them.
template <class T>
struct Scale {
  static inline const T deg = static_cast<T>(M_PIq / 180), rad = static_cast<T>(180 / M_PIq),
                        qu = static_cast<T>(M_PIq / 2), uq = static_cast<T>(2 / M_PIq);
};
#define LIB(T, expr)                                                           \
  Lib {                                                                        \
    +[](Q qa, Q qb) -> Q {                                                     \
      [[maybe_unused]] const T a = static_cast<T>(qa), b = static_cast<T>(qb); \
      [[maybe_unused]] const T deg = Scale<T>::deg, rad = Scale<T>::rad;       \
      [[maybe_unused]] const T qu = Scale<T>::qu, uq = Scale<T>::uq;           \
      return static_cast<Q>(expr);                                             \
    },                                                                         \
        #expr                                                                  \
  }
// The long double screen of an exhaustive Real4 run (remainderl reduces
// degrees and quadrant units exactly).
using Screen = long double (*)(float a);
#define REF(expr)                                                                    \
  +[](float fa) -> long double {                                                     \
    [[maybe_unused]] const long double a = fa, deg = M_PIl / 180, rad = 180 / M_PIl; \
    [[maybe_unused]] const long double qu = M_PIl / 2, uq = 2 / M_PIl;               \
    return expr;                                                                     \
  }

// A row: the entry, its type and family, the exact function (one argument,
// or two: (y, x) for the arc tangents, (x, y) for x**y), the ranges of the
// first argument, the user's call, the bound its suite asserts ("—" where
// none does; "+r": plus the reduction's error carried by |f'|), and for
// two arguments how the pairs are drawn: `circle` (angle uniform, radius
// in the range) or the second argument uniform in `second`.
struct Row {
  const char *name;
  Type type;
  const char *family;
  oracle::Fn1 f1;
  oracle::Fn2 f2;
  std::vector<Range> ranges;
  Lib lib;
  const char *bound;
  Screen screen = nullptr;
  bool circle = false;
  Range second = {0, 0};
};

Row one(const char *name, Type t, const char *family, oracle::Fn1 f, std::vector<Range> r, Lib lib,
        const char *bound, Screen screen = nullptr) {
  return {name, t, family, f, nullptr, std::move(r), lib, bound, screen};
}
Row two(const char *name, Type t, const char *family, oracle::Fn2 f, std::vector<Range> r, Lib lib,
        const char *bound, Range second = {0, 0}) {
  return {name, t, family, nullptr, f, std::move(r), lib, bound, nullptr, second.hi == 0, second};
}

constexpr Type R4 = Type::r4, R8 = Type::r8, R16 = Type::r16;
// MPFR in degrees (_d) and quadrant units (_q).
using oracle::cosd, oracle::cotd, oracle::sind, oracle::tand, oracle::in_unit, oracle::kDegrees,
    oracle::kQuadrants;
constexpr auto cos_q = oracle::cosq, cot_q = oracle::cotq, sin_q = oracle::sinq,
               tan_q = oracle::tanq;
constexpr oracle::Fn1 asin_d = in_unit<mpfr_asinu, kDegrees>,
                      acos_d = in_unit<mpfr_acosu, kDegrees>,
                      atan_d = in_unit<mpfr_atanu, kDegrees>,
                      asin_q = in_unit<mpfr_asinu, kQuadrants>,
                      acos_q = in_unit<mpfr_acosu, kQuadrants>,
                      atan_q = in_unit<mpfr_atanu, kQuadrants>;
constexpr oracle::Fn2 atan2_d = in_unit<mpfr_atan2u, kDegrees>,
                      atan2_q = in_unit<mpfr_atan2u, kQuadrants>;

// Ranges: trigonometric in radians (to the reduction limit), in degrees and
// quadrant units, arcs, arc tangents, circles of (y, x), logarithms.
std::vector<Range> trig(double tiny, double limit) { return {{-4, 4}, {tiny, limit, kLog}}; }
std::vector<Range> degrees(double tiny, double limit) { return {{-360, 360}, {tiny, limit, kLog}}; }
std::vector<Range> quadrants(double tiny, double limit) { return {{-4, 4}, {tiny, limit, kLog}}; }
std::vector<Range> arc(double tiny) { return {{-1, 1}, {tiny, 1, kLog}}; }
std::vector<Range> atan_r(double tiny) { return {{-4, 4}, {tiny, 1 / tiny, kLog}}; }
std::vector<Range> logs(double lo, double hi) { return {{0.5, 2}, {lo, hi, kPos}}; }
std::vector<Range> circle(double r) { return {{1 / r, r, kPos}}; }

// Bounds in ulps asserted by tests/elem/*_test.cpp (the largest over a
// function's ranges), g_qsqrt's bit-exact root by tests/quad, and 2 for the
// Real16 arcs (tests/qelem).
// The calls are stringized: their spacing is what the report shows.
// clang-format off
const std::vector<Row> kRows = {
    // Trigonometric, radians
    one("g_sin", R4, "trig", mpfr_sin, trig(1e-30, 8e5), LIB(float, sinf(a)), "0.52 + r",
        REF(sinl(a))),
    one("g_cos", R4, "trig", mpfr_cos, trig(1e-30, 8e5), LIB(float, cosf(a)), "0.52 + r",
        REF(cosl(a))),
    one("g_tan", R4, "trig", mpfr_tan, trig(1e-30, 8e5), LIB(float, tanf(a)), "0.53 + r",
        REF(tanl(a))),
    one("g_cotan", R4, "trig", mpfr_cot, trig(1e-30, 8e5), LIB(float, 1 / tanf(a)), "0.53 + r",
        REF(1 / tanl(a))),
    one("g_dsin", R8, "trig", mpfr_sin, trig(1e-300, 3.5e15), LIB(double, sin(a)), "0.52 + r"),
    one("g_dcos", R8, "trig", mpfr_cos, trig(1e-300, 3.5e15), LIB(double, cos(a)), "0.52 + r"),
    one("g_dtan", R8, "trig", mpfr_tan, trig(1e-300, 3.5e15), LIB(double, tan(a)), "0.9 + r"),
    one("g_dcotan", R8, "trig", mpfr_cot, trig(1e-300, 3.5e15), LIB(double, 1 / tan(a)), "0.9 + r"),
    // Trigonometric, degrees and quadrant units
    one("g_sind", R4, "trig_units", sind, degrees(1e-30, 4.7e7), LIB(float, sinf(a * deg)), "0.52",
        REF(sinl(remainderl(a, 360) * deg))),
    one("g_cosd", R4, "trig_units", cosd, degrees(1e-30, 4.7e7), LIB(float, cosf(a * deg)), "0.52",
        REF(cosl(remainderl(a, 360) * deg))),
    one("g_tand", R4, "trig_units", tand, degrees(1e-30, 4.7e7), LIB(float, tanf(a * deg)), "0.52",
        REF(tanl(remainderl(a, 360) * deg))),
    one("g_cotd", R4, "trig_units", cotd, degrees(1e-30, 4.7e7), LIB(float, 1 / tanf(a * deg)),
        "0.52", REF(1 / tanl(remainderl(a, 360) * deg))),
    one("g_sinq", R4, "trig_units", sin_q, quadrants(1e-30, 8e6), LIB(float, sinf(a * qu)), "0.51",
        REF(sinl(remainderl(a, 4) * qu))),
    one("g_cosq", R4, "trig_units", cos_q, quadrants(1e-30, 8e6), LIB(float, cosf(a * qu)), "0.51",
        REF(cosl(remainderl(a, 4) * qu))),
    one("g_tanq", R4, "trig_units", tan_q, quadrants(1e-30, 8e6), LIB(float, tanf(a * qu)), "0.52",
        REF(tanl(remainderl(a, 4) * qu))),
    one("g_cotq", R4, "trig_units", cot_q, quadrants(1e-30, 8e6), LIB(float, 1 / tanf(a * qu)),
        "0.52", REF(1 / tanl(remainderl(a, 4) * qu))),
    one("g_dsind", R8, "trig_units", sind, degrees(1e-300, 2e17), LIB(double, sin(a * deg)),
        "0.75"),
    one("g_dcosd", R8, "trig_units", cosd, degrees(1e-300, 2e17), LIB(double, cos(a * deg)),
        "0.75"),
    one("g_dtand", R8, "trig_units", tand, degrees(1e-300, 2e17), LIB(double, tan(a * deg)), "0.7"),
    one("g_dcotd", R8, "trig_units", cotd, degrees(1e-300, 2e17), LIB(double, 1 / tan(a * deg)),
        "0.7"),
    one("g_dsinq", R8, "trig_units", sin_q, quadrants(1e-300, 4e15), LIB(double, sin(a * qu)),
        "0.66"),
    one("g_dcosq", R8, "trig_units", cos_q, quadrants(1e-300, 4e15), LIB(double, cos(a * qu)),
        "0.66"),
    one("g_dtanq", R8, "trig_units", tan_q, quadrants(1e-300, 4e15), LIB(double, tan(a * qu)),
        "0.65"),
    one("g_dcotq", R8, "trig_units", cot_q, quadrants(1e-300, 4e15), LIB(double, 1 / tan(a * qu)),
        "0.65"),
    // Inverse trigonometric
    one("g_asin", R4, "inverse_trig", mpfr_asin, arc(1e-30), LIB(float, asinf(a)), "0.7",
        REF(asinl(a))),
    one("g_acos", R4, "inverse_trig", mpfr_acos, arc(1e-30), LIB(float, acosf(a)), "0.7",
        REF(acosl(a))),
    one("g_atan", R4, "inverse_trig", mpfr_atan, atan_r(1e-30), LIB(float, atanf(a)), "0.51",
        REF(atanl(a))),
    one("g_asind", R4, "inverse_trig", asin_d, arc(1e-30), LIB(float, asinf(a) * rad), "0.55",
        REF(asinl(a) * rad)),
    one("g_acosd", R4, "inverse_trig", acos_d, arc(1e-30), LIB(float, acosf(a) * rad), "0.55",
        REF(acosl(a) * rad)),
    one("g_atand", R4, "inverse_trig", atan_d, atan_r(1e-30), LIB(float, atanf(a) * rad), "0.55",
        REF(atanl(a) * rad)),
    one("g_asinq", R4, "inverse_trig", asin_q, arc(1e-30), LIB(float, asinf(a) * uq), "0.8",
        REF(asinl(a) * uq)),
    one("g_acosq", R4, "inverse_trig", acos_q, arc(1e-30), LIB(float, acosf(a) * uq), "0.8",
        REF(acosl(a) * uq)),
    one("g_atanq", R4, "inverse_trig", atan_q, atan_r(1e-30), LIB(float, atanf(a) * uq), "0.64",
        REF(atanl(a) * uq)),
    two("g_atan2", R4, "inverse_trig", mpfr_atan2, circle(1e30), LIB(float, atan2f(a, b)), "0.51"),
    two("g_atan2d", R4, "inverse_trig", atan2_d, circle(1e30), LIB(float, atan2f(a, b) * rad),
        "1.75"),
    two("g_atan2q", R4, "inverse_trig", atan2_q, circle(1e30), LIB(float, atan2f(a, b) * uq),
        "1.75"),
    one("g_dasin", R8, "inverse_trig", mpfr_asin, arc(1e-300), LIB(double, asin(a)), "0.8"),
    one("g_dacos", R8, "inverse_trig", mpfr_acos, arc(1e-300), LIB(double, acos(a)), "0.8"),
    one("g_datan", R8, "inverse_trig", mpfr_atan, atan_r(1e-300), LIB(double, atan(a)), "0.51"),
    one("g_dasind", R8, "inverse_trig", asin_d, arc(1e-300), LIB(double, asin(a) * rad), "1.6"),
    one("g_dacosd", R8, "inverse_trig", acos_d, arc(1e-300), LIB(double, acos(a) * rad), "1.1"),
    one("g_datand", R8, "inverse_trig", atan_d, atan_r(1e-300), LIB(double, atan(a) * rad), "0.85"),
    one("g_dasinq", R8, "inverse_trig", asin_q, arc(1e-300), LIB(double, asin(a) * uq), "1.0"),
    one("g_dacosq", R8, "inverse_trig", acos_q, arc(1e-300), LIB(double, acos(a) * uq), "1.0"),
    one("g_datanq", R8, "inverse_trig", atan_q, atan_r(1e-300), LIB(double, atan(a) * uq), "1.1"),
    two("g_datan2", R8, "inverse_trig", mpfr_atan2, circle(1e150), LIB(double, atan2(a, b)),
        "0.51"),
    two("g_dtan2d", R8, "inverse_trig", atan2_d, circle(1e150), LIB(double, atan2(a, b) * rad),
        "1.75"),
    two("g_dtan2q", R8, "inverse_trig", atan2_q, circle(1e150), LIB(double, atan2(a, b) * uq),
        "1.75"),
    // Exponentials, logarithms, roots
    one("g_exp", R4, "exp_log", mpfr_exp, {{-87.3, 88.7}, {-1, 1}}, LIB(float, expf(a)), "0.501",
        REF(expl(a))),
    one("g_exp2", R4, "exp_log", mpfr_exp2, {{-126, 127.9}, {-1, 1}}, LIB(float, exp2f(a)), "0.508",
        REF(exp2l(a))),
    one("g_exp10", R4, "exp_log", mpfr_exp10, {{-37.9, 38.5}, {-1, 1}}, LIB(float, exp10f(a)),
        "0.508", REF(exp10l(a))),
    one("g_log", R4, "exp_log", mpfr_log, logs(1.2e-38, 3.4e38), LIB(float, logf(a)), "0.501",
        REF(logl(a))),
    one("g_log2", R4, "exp_log", mpfr_log2, logs(1.2e-38, 3.4e38), LIB(float, log2f(a)), "0.512",
        REF(log2l(a))),
    one("g_log10", R4, "exp_log", mpfr_log10, logs(1.2e-38, 3.4e38), LIB(float, log10f(a)), "0.501",
        REF(log10l(a))),
    one("g_alog", R4, "exp_log", mpfr_log, logs(1.2e-38, 3.4e38), LIB(float, logf(a)), "0.501",
        REF(logl(a))),
    one("g_alog2", R4, "exp_log", mpfr_log2, logs(1.2e-38, 3.4e38), LIB(float, log2f(a)), "0.512",
        REF(log2l(a))),
    one("g_alog10", R4, "exp_log", mpfr_log10, logs(1.2e-38, 3.4e38), LIB(float, log10f(a)),
        "0.501", REF(log10l(a))),
    one("g_sqrt", R4, "exp_log", mpfr_sqrt, logs(1e-45, 3.4e38), LIB(float, sqrtf(a)), "0.5",
        REF(sqrtl(a))),
    one("g_cbrt", R4, "exp_log", mpfr_cbrt, {{-8, 8}, {1e-45, 3.4e38, kLog}}, LIB(float, cbrtf(a)),
        "1.02", REF(cbrtl(a))),
    one("g_dexp", R8, "exp_log", mpfr_exp, {{-708.3, 709.7}, {-1, 1}}, LIB(double, exp(a)), "0.86"),
    one("g_dexp2", R8, "exp_log", mpfr_exp2, {{-1022, 1023.9}, {-1, 1}}, LIB(double, exp2(a)),
        "0.53"),
    one("g_dexp10", R8, "exp_log", mpfr_exp10, {{-307.6, 308.2}, {-1, 1}}, LIB(double, exp10(a)),
        "0.53"),
    one("g_dlog", R8, "exp_log", mpfr_log, logs(2.3e-308, 1.7e308), LIB(double, log(a)), "0.501"),
    one("g_dlog2", R8, "exp_log", mpfr_log2, logs(2.3e-308, 1.7e308), LIB(double, log2(a)), "0.53"),
    one("g_dlog10", R8, "exp_log", mpfr_log10, logs(2.3e-308, 1.7e308), LIB(double, log10(a)),
        "0.501"),
    one("g_dsqrt", R8, "exp_log", mpfr_sqrt, logs(5e-324, 1.7e308), LIB(double, sqrt(a)), "0.5005"),
    one("g_dcbrt", R8, "exp_log", mpfr_cbrt, {{-8, 8}, {5e-324, 1.7e308, kLog}},
        LIB(double, cbrt(a)), "0.57"),
    // Hyperbolic
    one("g_sinh", R4, "hyperbolic", mpfr_sinh, {{-88, 88}, {1e-30, 88, kLog}}, LIB(float, sinhf(a)),
        "1.85", REF(sinhl(a))),
    one("g_cosh", R4, "hyperbolic", mpfr_cosh, {{-88, 88}, {1e-30, 88, kLog}}, LIB(float, coshf(a)),
        "1.1", REF(coshl(a))),
    one("g_tanh", R4, "hyperbolic", mpfr_tanh, {{-10, 10}, {1e-30, 20, kLog}}, LIB(float, tanhf(a)),
        "0.8", REF(tanhl(a))),
    one("g_dsinh", R8, "hyperbolic", mpfr_sinh, {{-709, 709}, {1e-300, 709, kLog}},
        LIB(double, sinh(a)), "1.85"),
    one("g_dcosh", R8, "hyperbolic", mpfr_cosh, {{-709, 709}, {1e-300, 709, kLog}},
        LIB(double, cosh(a)), "1.2"),
    one("g_dtanh", R8, "hyperbolic", mpfr_tanh, {{-20, 20}, {1e-300, 40, kLog}},
        LIB(double, tanh(a)), "2.0"),
    // Error and gamma functions
    one("g_erf", R4, "erf_gamma", mpfr_erf, {{-5, 5}, {1e-30, 10, kLog}}, LIB(float, erff(a)),
        "2.0", REF(erfl(a))),
    one("g_erfc", R4, "erf_gamma", mpfr_erfc, {{-3, 9.38}}, LIB(float, erfcf(a)), "1.0",
        REF(erfcl(a))),
    one("g_gamma", R4, "erf_gamma", mpfr_gamma, {{0.5, 35}, {3e-38, 35, kPos}},
        LIB(float, tgammaf(a)), "0.75", REF(tgammal(a))),
    one("g_lgamma", R4, "erf_gamma", mpfr_lngamma, {{0.5, 10}, {1e-45, 4e36, kPos}},
        LIB(float, lgammaf(a)), "1.05", REF(lgammal(a))),
    one("g_algama", R4, "erf_gamma", mpfr_lngamma, {{0.5, 10}, {1e-45, 4e36, kPos}},
        LIB(float, lgammaf(a)), "1.05", REF(lgammal(a))),
    one("g_derf", R8, "erf_gamma", mpfr_erf, {{-6, 6}, {1e-300, 30, kLog}}, LIB(double, erf(a)),
        "1.6"),
    one("g_derfc", R8, "erf_gamma", mpfr_erfc, {{-6, 26.5}}, LIB(double, erfc(a)), "2.6"),
    one("g_dgamma", R8, "erf_gamma", mpfr_gamma, {{0.5, 171.6}, {6e-309, 171.6, kPos}},
        LIB(double, tgamma(a)), "1.7"),
    one("g_dlgama", R8, "erf_gamma", mpfr_lngamma, {{0.5, 10}, {1e-320, 2.5e305, kPos}},
        LIB(double, lgamma(a)), "3.0"),
    // Powers: 2**x, 10**x, x**y
    one("g_a2xr", R4, "power", mpfr_exp2, {{-126, 127.9}}, LIB(float, exp2f(a)), "0.508",
        REF(exp2l(a))),
    one("g_atxr", R4, "power", mpfr_exp10, {{-37.9, 38.5}}, LIB(float, powf(10, a)), "0.508",
        REF(exp10l(a))),
    two("g_arxr", R4, "power", mpfr_pow, {{1e-3, 1e3, kPos}}, LIB(float, powf(a, b)), "0.5 + 0.016 \\|w\\|",
        {-12, 12}),
    one("g_a2xd", R8, "power", mpfr_exp2, {{-1022, 1023.9}}, LIB(double, exp2(a)), "0.53"),
    one("g_atxd", R8, "power", mpfr_exp10, {{-307.6, 308.2}}, LIB(double, pow(10, a)), "0.53"),
    two("g_adxd", R8, "power", mpfr_pow, {{1e-10, 1e10, kPos}}, LIB(double, pow(a, b)), "0.524",
        {-30, 30}),
    // Real16
    one("g_qsin", R16, "real16_trig", mpfr_sin, trig(1e-30, 1e19), LIB(Q, sinq(a)), "2 + r"),
    one("g_qcos", R16, "real16_trig", mpfr_cos, trig(1e-30, 1e19), LIB(Q, cosq(a)), "2 + r"),
    one("g_qtan", R16, "real16_trig", mpfr_tan, trig(1e-30, 1e19), LIB(Q, tanq(a)), "2 + r"),
    one("g_qcotan", R16, "real16_trig", mpfr_cot, trig(1e-30, 1e19), LIB(Q, 1 / tanq(a)), "2 + r"),
    one("g_qsind", R16, "real16_trig", sind, degrees(1e-30, 1e12), LIB(Q, sinq(a * deg)), "2"),
    one("g_qcosd", R16, "real16_trig", cosd, degrees(1e-30, 1e12), LIB(Q, cosq(a * deg)), "2"),
    one("g_qtand", R16, "real16_trig", tand, degrees(1e-30, 1e12), LIB(Q, tanq(a * deg)), "2"),
    one("g_qcotd", R16, "real16_trig", cotd, degrees(1e-30, 1e12), LIB(Q, 1 / tanq(a * deg)), "2"),
    one("g_qsinq", R16, "real16_trig", sin_q, quadrants(1e-30, 1e12), LIB(Q, sinq(a * qu)), "2"),
    one("g_qcosq", R16, "real16_trig", cos_q, quadrants(1e-30, 1e12), LIB(Q, cosq(a * qu)), "2"),
    one("g_qtanq", R16, "real16_trig", tan_q, quadrants(1e-30, 1e12), LIB(Q, tanq(a * qu)), "2"),
    one("g_qcotq", R16, "real16_trig", cot_q, quadrants(1e-30, 1e12), LIB(Q, 1 / tanq(a * qu)),
        "2"),
    one("g_qasin", R16, "real16_inverse_trig", mpfr_asin, arc(1e-300), LIB(Q, asinq(a)), "2"),
    one("g_qacos", R16, "real16_inverse_trig", mpfr_acos, arc(1e-300), LIB(Q, acosq(a)), "2"),
    one("g_qatan", R16, "real16_inverse_trig", mpfr_atan, atan_r(1e-300), LIB(Q, atanq(a)), "2"),
    one("g_qasind", R16, "real16_inverse_trig", asin_d, arc(1e-300), LIB(Q, asinq(a) * rad), "2"),
    one("g_qacosd", R16, "real16_inverse_trig", acos_d, arc(1e-300), LIB(Q, acosq(a) * rad), "2"),
    one("g_qatand", R16, "real16_inverse_trig", atan_d, atan_r(1e-300), LIB(Q, atanq(a) * rad),
        "2"),
    one("g_qasinq", R16, "real16_inverse_trig", asin_q, arc(1e-300), LIB(Q, asinq(a) * uq), "2"),
    one("g_qacosq", R16, "real16_inverse_trig", acos_q, arc(1e-300), LIB(Q, acosq(a) * uq), "2"),
    one("g_qatanq", R16, "real16_inverse_trig", atan_q, atan_r(1e-300), LIB(Q, atanq(a) * uq), "2"),
    two("g_qatan2", R16, "real16_inverse_trig", mpfr_atan2, circle(1e150), LIB(Q, atan2q(a, b)),
        "2"),
    two("g_qatan2d", R16, "real16_inverse_trig", atan2_d, circle(1e150), LIB(Q, atan2q(a, b) * rad),
        "2"),
    two("g_qatan2q", R16, "real16_inverse_trig", atan2_q, circle(1e150), LIB(Q, atan2q(a, b) * uq),
        "2"),
    one("g_qexp", R16, "real16_exp_log", mpfr_exp, {{-11355, 11356}, {-1, 1}}, LIB(Q, expq(a)),
        "2"),
    one("g_qexp2", R16, "real16_exp_log", mpfr_exp2, {{-16381, 16383}, {-1, 1}}, LIB(Q, exp2q(a)),
        "2"),
    one("g_qexp10", R16, "real16_exp_log", mpfr_exp10, {{-4931, 4932}, {-1, 1}},
        LIB(Q, powq(10, a)), "2"),
    one("g_qlog", R16, "real16_exp_log", mpfr_log, logs(1e-300, 1e300), LIB(Q, logq(a)), "2"),
    one("g_qlog2", R16, "real16_exp_log", mpfr_log2, logs(1e-300, 1e300), LIB(Q, log2q(a)), "2"),
    one("g_qlog10", R16, "real16_exp_log", mpfr_log10, logs(1e-300, 1e300), LIB(Q, log10q(a)), "2"),
    one("g_qsqrt", R16, "real16_exp_log", mpfr_sqrt, logs(1e-300, 1e300), LIB(Q, sqrtq(a)), "0.5"),
    one("g_qcbrt", R16, "real16_exp_log", mpfr_cbrt, {{-8, 8}, {1e-300, 1e300, kLog}},
        LIB(Q, cbrtq(a)), "0.5"),
    one("g_a2xq", R16, "real16_exp_log", mpfr_exp2, {{-16381, 16383}}, LIB(Q, exp2q(a)), "0.86"),
    one("g_atxq", R16, "real16_exp_log", mpfr_exp10, {{-4931, 4932}}, LIB(Q, powq(10, a)), "1.66"),
    two("g_aqxq", R16, "real16_exp_log", mpfr_pow, {{1e-30, 1e30, kPos}}, LIB(Q, powq(a, b)), "1 + 1.4 \\|w\\|",
        {-150, 150}),
    one("g_qsinh", R16, "real16_hyperbolic", mpfr_sinh, {{-11356, 11356}, {1e-30, 11356, kLog}},
        LIB(Q, sinhq(a)), "2"),
    one("g_qcosh", R16, "real16_hyperbolic", mpfr_cosh, {{-11356, 11356}, {1e-30, 11356, kLog}},
        LIB(Q, coshq(a)), "2"),
    one("g_qtanh", R16, "real16_hyperbolic", mpfr_tanh, {{-10, 10}, {1e-30, 50, kLog}},
        LIB(Q, tanhq(a)), "2"),
    one("g_qerf", R16, "real16_hyperbolic", mpfr_erf, {{-6, 6}, {1e-30, 10, kLog}}, LIB(Q, erfq(a)),
        "2"),
    one("g_qerfc", R16, "real16_hyperbolic", mpfr_erfc, {{-6, 106}}, LIB(Q, erfcq(a)), "2 to 2^25 by range"),
    one("g_qgamma", R16, "real16_hyperbolic", mpfr_gamma, {{0.5, 1754}, {1e-300, 1754, kPos}},
        LIB(Q, tgammaq(a)), "16 below 32, e^y of its lgamma above"),
    one("g_qlgama", R16, "real16_hyperbolic", mpfr_lngamma, {{0.5, 10}, {1e-300, 1e300, kPos}},
        LIB(Q, lgammaq(a)), "6, 3 2^-112 absolute on [0.5, 2.5]"),
};
// clang-format on

const std::map<std::string, std::string> kFamilies = {
    {"trig", "Trigonometric, radians"},
    {"trig_units", "Trigonometric, degrees and quadrant units"},
    {"inverse_trig", "Inverse trigonometric"},
    {"exp_log", "Exponentials, logarithms, roots"},
    {"hyperbolic", "Hyperbolic"},
    {"erf_gamma", "Error and gamma functions"},
    {"power", "Powers"},
    {"real16_trig", "Real16 trigonometric"},
    {"real16_inverse_trig", "Real16 inverse trigonometric"},
    {"real16_exp_log", "Real16 exponentials, logarithms, roots, powers"},
    {"real16_hyperbolic", "Real16 hyperbolic, error and gamma functions"}};

// ---- Values ------------------------------------------------------------------

Real16 bits16(Q x) { return std::bit_cast<Real16>(x); }  // the same layout
Q value16(const Real16 &x) { return std::bit_cast<Q>(x); }

void set(mpfr_ptr out, Q x) { oracle::set_real16(out, bits16(x)); }

// x rounded to the row's type (exact for the arguments drawn in it).
Q in_type(Type t, Q x) {
  return t == R4   ? static_cast<Q>(static_cast<float>(x))
         : t == R8 ? static_cast<Q>(static_cast<double>(x))
                   : x;
}

// Our entry, loaded by name: one or two arguments by reference; Real16
// results through a result address.
Q ours(const Row &r, void *fn, Q a, Q b) {
  if (r.type == R4) {
    const float x = static_cast<float>(a), y = static_cast<float>(b);
    return r.f1 ? reinterpret_cast<float (*)(const float *)>(fn)(&x)
                : reinterpret_cast<float (*)(const float *, const float *)>(fn)(&x, &y);
  }
  if (r.type == R8) {
    const double x = static_cast<double>(a), y = static_cast<double>(b);
    return r.f1 ? reinterpret_cast<double (*)(const double *)>(fn)(&x)
                : reinterpret_cast<double (*)(const double *, const double *)>(fn)(&x, &y);
  }
  const Real16 x = bits16(a), y = bits16(b);
  Real16 out{};
  if (r.f1) reinterpret_cast<Real16 *(*)(Real16 *, const Real16 *)>(fn)(&out, &x);
  if (r.f2)
    reinterpret_cast<Real16 *(*)(Real16 *, const Real16 *, const Real16 *)>(fn)(&out, &x, &y);
  return value16(out);
}

// The exact value (256 bits), or false where it is no finite value of the
// type (a pole, an overflow): such arguments are left out.
bool exact(const Row &r, Q a, Q b, oracle::Big &e) {
  oracle::Big x, y;
  set(x, a);
  set(y, b);
  r.f1 ? r.f1(e, x, MPFR_RNDN) : r.f2(e, x, y, MPFR_RNDN);
  if (!mpfr_number_p(e)) return false;
  const long emax = r.type == R4 ? 128 : r.type == R8 ? 1024 : 16384;
  return mpfr_zero_p(e) || mpfr_get_exp(e) <= emax;
}

double ulps(Type t, Q got, mpfr_srcptr e) {
  if (t == R4) return oracle::ulp_error(static_cast<float>(got), e);
  if (t == R8) return oracle::ulp_error(static_cast<double>(got), e);
  return finiteq(got) ? oracle::ulp_error(bits16(got), e) : INFINITY;
}

// ---- Statistics ----------------------------------------------------------------

constexpr int kBins = 96;  // per range, for the plots

struct Side {
  double max = 0;
  Q a = 0, b = 0;
  std::uint64_t correct = 0;
};
struct Bin {
  double x[2] = {0, 0}, err[2] = {-1, -1};
};
struct Stats {
  Side side[2];  // ours, theirs
  std::uint64_t count = 0;
  std::vector<Bin> bins;
  void add(int which, double err, Q a, Q b, int bin, double x) {
    Side &s = side[which];
    if (err <= 0.5) ++s.correct;
    if (!(err <= s.max)) s.max = err, s.a = a, s.b = b;
    Bin &g = bins[bin];
    if (!(err <= g.err[which])) g.err[which] = err, g.x[which] = x;
  }
  void merge(const Stats &o) {
    count += o.count;
    for (int w = 0; w < 2; ++w) {
      side[w].correct += o.side[w].correct;
      if (!(o.side[w].max <= side[w].max))
        side[w].max = o.side[w].max, side[w].a = o.side[w].a, side[w].b = o.side[w].b;
      for (std::size_t i = 0; i < bins.size(); ++i)
        if (o.bins[i].err[w] > bins[i].err[w])
          bins[i].err[w] = o.bins[i].err[w], bins[i].x[w] = o.bins[i].x[w];
    }
  }
};

// The plotted argument (the angle of a circle pair) and its bin in range k.
int bin_of(const Row &r, int k, double x) {
  const Range &g = r.ranges[k];
  double t;
  if (r.circle) {
    t = (x + M_PI) / (2 * M_PI);
  } else if (g.spread == kLin) {
    t = (x - g.lo) / (g.hi - g.lo);
  } else {
    t = (std::log(std::fabs(x)) - std::log(g.lo)) / (std::log(g.hi) - std::log(g.lo));
  }
  return k * kBins + std::clamp(static_cast<int>(t * kBins), 0, kBins - 1);
}

// One argument (pair): both results against the exact value.
void measure(const Row &r, void *fn, int k, Q a, Q b, oracle::Big &e, Stats &s) {
  if (!exact(r, a, b, e)) return;
  const double x = r.circle ? std::atan2(static_cast<double>(a), static_cast<double>(b))
                            : static_cast<double>(a);
  const int bin = bin_of(r, k, x);
  ++s.count;
  s.add(0, ulps(r.type, ours(r, fn, a, b), e), a, b, bin, x);
  s.add(1, ulps(r.type, r.lib.fn(a, b), e), a, b, bin, x);
}

// ---- Sampled runs ----------------------------------------------------------------

// A log range draws the binade log-uniformly and the significand uniformly
// in it: exp(uniform) would make ln x nearly a double, far easier to round.
double draw(std::mt19937_64 &g, const Range &r) {
  std::uniform_real_distribution<double> u(0, 1);
  if (r.spread == kLin) return r.lo + (r.hi - r.lo) * u(g);
  double m;
  do {
    const double t = std::log2(r.lo) + (std::log2(r.hi) - std::log2(r.lo)) * u(g);
    m = std::ldexp(1 + u(g), static_cast<int>(std::floor(t)));
  } while (!(r.lo <= m && m < r.hi));
  return r.spread == kLog && (g() & 1) ? -m : m;
}

// d in the row's type; a Real16 takes 60 random low bits below the double's.
Q widen(Type t, double d, std::uint64_t low) {
  Q q = in_type(t, d);
  if (t != R16 || q == 0) return q;
  auto w = std::bit_cast<std::array<std::uint64_t, 2>>(q);
  w[0] |= low >> 4;
  return std::bit_cast<Q>(w);
}

Stats sampled(const Row &r, void *fn, std::uint64_t n) {
  Stats s;
  s.bins.resize(r.ranges.size() * kBins);
  std::mt19937_64 g(std::hash<std::string>{}(r.name));
  oracle::Big e(oracle::Precision{r.type == R16 ? 256 : 128});
  for (std::size_t k = 0; k < r.ranges.size(); ++k) {
    for (std::uint64_t i = 0; i < n / r.ranges.size(); ++i) {
      Q a = widen(r.type, draw(g, r.ranges[k]), g()), b = 0;
      if (r.circle) {
        const double angle = std::uniform_real_distribution<double>(-M_PI, M_PI)(g);
        const Q radius = a;
        a = widen(r.type, static_cast<double>(radius) * std::sin(angle), g());
        b = widen(r.type, static_cast<double>(radius) * std::cos(angle), g());
      } else if (r.f2) {
        b = widen(r.type, draw(g, r.second), g());
      }
      measure(r, fn, static_cast<int>(k), a, b, e, s);
    }
  }
  return s;
}

// ---- Every Real4 argument --------------------------------------------------------

int range_of(const Row &r, float x) {
  for (std::size_t k = 0; k < r.ranges.size(); ++k) {
    const Range &g = r.ranges[k];
    const double v = g.spread == kLog ? std::fabs(x) : x;
    if (g.lo <= v && v < g.hi) return static_cast<int>(k);
  }
  return -1;
}

// |got - ref| in ulps of Real4 at |ref| (never below the smallest
// subnormal's), as oracle::ulp_error measures it.
double screened(float got, long double ref) {
  if (!std::isfinite(got)) return INFINITY;
  int e;
  std::frexp(static_cast<double>(ref), &e);
  return static_cast<double>(std::fabs(got - ref) / std::ldexp(1.0L, std::max(e, -125) - 24));
}

Stats every_real4(const Row &r, void *fn) {
  const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
  std::vector<Stats> parts(threads);
  std::atomic<std::uint64_t> next{0};
  constexpr std::uint64_t kChunk = 1 << 20;
  std::vector<std::thread> pool;
  for (unsigned t = 0; t < threads; ++t) {
    pool.emplace_back([&, t] {
      Stats &s = parts[t];
      s.bins.resize(r.ranges.size() * kBins);
      oracle::Big e(oracle::Precision{128});
      for (std::uint64_t begin; (begin = next.fetch_add(kChunk)) < (1ull << 32);) {
        for (std::uint64_t p = begin; p < begin + kChunk; ++p) {
          const float x = std::bit_cast<float>(static_cast<std::uint32_t>(p));
          const int k = std::isfinite(x) ? range_of(r, x) : -1;
          if (k < 0) continue;
          if (r.screen == nullptr) {
            measure(r, fn, k, x, 0, e, s);
            continue;
          }
          const long double ref = r.screen(x);
          const Q got[2] = {ours(r, fn, x, 0), r.lib.fn(x, 0)};
          double err[2] = {screened(static_cast<float>(got[0]), ref),
                           screened(static_cast<float>(got[1]), ref)};
          const auto unsure = [](double u) { return !(std::fabs(u - 0.5) > 0x1p-12); };
          if (!(std::fabs(ref) < 0x1p128L) || unsure(err[0]) || unsure(err[1])) {
            if (!exact(r, x, 0, e)) continue;
            for (int w = 0; w < 2; ++w) err[w] = ulps(R4, got[w], e);
          }
          ++s.count;
          for (int w = 0; w < 2; ++w) s.add(w, err[w], x, 0, bin_of(r, k, x), x);
        }
      }
      mpfr_free_cache();
    });
  }
  for (std::thread &t : pool) t.join();
  for (unsigned t = 1; t < threads; ++t) parts[0].merge(parts[t]);
  return parts[0];
}

// ---- Report ----------------------------------------------------------------------

std::string num(double v, const char *format = "%.3g") {
  char t[64];
  std::snprintf(t, sizeof t, format, v);
  return t;
}
std::string ulp_text(double v) { return num(v, v < 1000 ? "%.3f" : "%.3g"); }
std::string value(Q x) {
  char t[64];
  quadmath_snprintf(t, sizeof t, "%.9Qg", x);
  return t;
}

std::string ranges_of(const Row &r) {
  std::string out;
  for (const Range &g : r.ranges) {
    out += out.empty() ? "" : ", ";
    if (g.spread == kLin) out += "[" + num(g.lo) + ", " + num(g.hi) + ")";
    if (g.spread != kLin)
      out +=
          std::string(g.spread == kLog ? "±" : "") + "[" + num(g.lo) + ", " + num(g.hi) + ") log";
  }
  if (r.circle) return "radius " + out + ", angle uniform";
  if (r.f2) return "a " + out + ", b [" + num(r.second.lo) + ", " + num(r.second.hi) + ")";
  return out;
}

std::string where(const Row &r, const Side &s) {
  return r.f2 ? "(" + value(s.a) + ", " + value(s.b) + ")" : value(s.a);
}

struct Result {
  const Row *row;
  Stats stats;
};

std::string table(const std::vector<Result> &results, const std::vector<std::string> &missing,
                  const std::string &how) {
  std::ostringstream md;
  md << "<!-- accuracy:begin -->\n## Every function beside the C library\n" << how << "\n";
  std::string family;
  for (const Result &res : results) {
    const Row &r = *res.row;
    if (r.family != family) {
      family = r.family;
      md << "\n### " << kFamilies.at(family) << "\n\n![" << kFamilies.at(family)
         << ": error in ulp against the argument, ours and the C library's](accuracy/" << family
         << ".png)\n\n| function | arguments | n | max ulp | at | correctly rounded | "
            "bound | C library call | max ulp | at | correctly rounded |\n"
            "|---|---|---:|---:|---|---:|---:|---|---:|---|---:|\n";
    }
    const Stats &s = res.stats;
    const auto share = [&](const Side &d) {
      return num(100.0 * static_cast<double>(d.correct) / static_cast<double>(s.count), "%.2f%%");
    };
    md << "| `" << r.name << "` | " << ranges_of(r) << " | " << s.count << " | "
       << ulp_text(s.side[0].max) << " | " << where(r, s.side[0]) << " | " << share(s.side[0])
       << " | " << r.bound << " | `" << r.lib.text << "` | " << ulp_text(s.side[1].max) << " | "
       << where(r, s.side[1]) << " | " << share(s.side[1]) << " |\n";
  }
  if (!missing.empty()) {
    md << "\nIn the table but not exported by this build (measured once they exist):";
    for (const std::string &m : missing) md << " `" << m << "`";
    md << ".\n";
  }
  md << "<!-- accuracy:end -->";
  return md.str();
}

// The block replaces the one between the markers (or follows the text);
// everything outside the markers stays as it is.
void write_doc(const std::string &path, const std::string &block) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  std::string doc = in ? text.str()
                       : "# Accuracy\n\nMeasured maximum errors against MPFR (MPC for complex "
                         "results), per family:\nthe argument range, the largest error seen, and "
                         "the bound the test asserts.\n";
  const std::size_t begin = doc.find("<!-- accuracy:begin -->");
  const std::size_t end = doc.find("<!-- accuracy:end -->");
  if (begin != std::string::npos && end != std::string::npos && begin < end) {
    doc.replace(begin, end + std::strlen("<!-- accuracy:end -->") - begin, block);
  } else {
    doc += (doc.ends_with("\n") ? "\n" : "\n\n") + block + "\n";
  }
  std::ofstream(path) << doc;
}

// The worst error per bin, per side, for tools/accuracy/plot.py.
void write_plot(const std::string &path, const std::vector<Result> &results) {
  std::ofstream out(path);
  out << "family\tfunction\ttype\tlibrary\tside\tx\tulp\n";
  for (const Result &res : results) {
    const Row &r = *res.row;
    for (const Bin &b : res.stats.bins)
      for (int w = 0; w < 2; ++w)
        if (b.err[w] >= 0)
          out << r.family << '\t' << r.name << '\t' << kTypeName[static_cast<int>(r.type)] << '\t'
              << r.lib.text << '\t' << (w ? "theirs" : "ours") << '\t' << num(b.x[w], "%.9g")
              << '\t' << num(b.err[w], "%.6g") << '\n';
  }
}

// The implemented names of the exports list that the table must hold: the
// elementary functions and powers of one or two real arguments.
int check_scope(const std::string &tsv, void *lib) {
  static const std::regex kReal("(r4|r8) (g_\\w+)\\(ref:\\1 \\w+(, ref:\\1 \\w+)?\\)"),
      kReal16("ref:r16 (g_\\w+)\\(ref:r16 result, ref:r16 \\w+(, ref:r16 \\w+)?\\)"),
      kFamily(
          "trig|trig_units|inverse_trig|exp_log|hyperbolic|erf_gamma|real_power|real16_("
          "trig|inverse_trig|exp_log|hyperbolic)");
  std::ifstream in(tsv);
  int absent = 0;
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> f;
    std::istringstream cells(line);
    for (std::string cell; std::getline(cells, cell, '\t');) f.push_back(cell);
    std::smatch m;
    if (f.size() < 4 || !(std::regex_match(f[2], kFamily) || f[1] == "g_qsqrt")) continue;
    if (!std::regex_match(f[3], m, kReal) && !std::regex_match(f[3], m, kReal16)) continue;
    if (dlsym(lib, f[1].c_str()) == nullptr) continue;
    if (std::none_of(kRows.begin(), kRows.end(), [&](const Row &r) { return f[1] == r.name; })) {
      std::fprintf(stderr, "%s is exported but not in the table\n", f[1].c_str());
      ++absent;
    }
  }
  return absent;
}

}  // namespace

int main(int argc, char **argv) {
  std::uint64_t samples = 100000, samples16 = 20000;
  std::string only = ".*", doc, plot, scope;
  bool exhaustive = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i], v = a.substr(a.find('=') + 1);
    if (a.starts_with("--samples="))
      samples = std::stoull(v);
    else if (a.starts_with("--samples16="))
      samples16 = std::stoull(v);
    else if (a.starts_with("--only="))
      only = v;
    else if (a.starts_with("--doc="))
      doc = v;
    else if (a.starts_with("--plot="))
      plot = v;
    else if (a.starts_with("--check="))
      scope = v;
    else if (a == "--exhaustive")
      exhaustive = true;
    else
      return std::fprintf(stderr, "unknown option %s\n", a.c_str()), 2;
  }
  void *lib = dlopen(VEXMORG_LIBRARY, RTLD_NOW);
  if (lib == nullptr) return std::fprintf(stderr, "%s\n", dlerror()), 2;
  int failures = scope.empty() ? 0 : check_scope(scope, lib);

  // The rows the build exports; sampled runs share them out over the
  // threads (each row's arguments come from its own seed).
  const std::regex pick(only);
  std::vector<Result> results;
  std::vector<void *> fns;
  std::vector<std::string> missing;
  for (const Row &r : kRows) {
    if (!std::regex_match(r.name, pick) || (exhaustive && (r.type != R4 || r.f2))) continue;
    void *fn = dlsym(lib, r.name);
    if (fn == nullptr) {
      missing.push_back(r.name);
      continue;
    }
    results.push_back({&r, {}});
    fns.push_back(fn);
  }
  std::atomic<std::size_t> next{0};
  const auto work = [&] {
    for (std::size_t i; (i = next.fetch_add(1)) < results.size();) {
      const Row &r = *results[i].row;
      results[i].stats = exhaustive ? every_real4(r, fns[i])
                                    : sampled(r, fns[i], r.type == R16 ? samples16 : samples);
    }
    mpfr_free_cache();  // MPFR's constants of this thread
  };
  std::vector<std::thread> pool;
  for (unsigned t = exhaustive ? 1 : std::max(1u, std::thread::hardware_concurrency()); t > 0; --t)
    pool.emplace_back(work);
  for (std::thread &t : pool) t.join();
  for (const Result &res : results) {
    const Stats &s = res.stats;
    std::printf("%-10s %9llu arguments  max %8.4f ulp (%6.2f%% correctly rounded)  %s %.4f\n",
                res.row->name, static_cast<unsigned long long>(s.count), s.side[0].max,
                100.0 * static_cast<double>(s.side[0].correct) / static_cast<double>(s.count),
                res.row->lib.text, s.side[1].max);
    if (s.count == 0 || !std::isfinite(s.side[0].max)) {
      std::fprintf(stderr, "%s: no finite maximum error\n", res.row->name);
      ++failures;
    }
  }
  const std::string how =
      "\nGenerated by `./build.sh accuracy` (`build/native/tools/accuracy/accuracy` then "
      "`tools/accuracy/plot.py`): " +
      (exhaustive ? std::string("every finite Real4 argument in the ranges")
                  : std::to_string(samples) + " random arguments per Real4 and Real8 function, " +
                        std::to_string(samples16) + " per Real16 function") +
      ", split evenly over the ranges listed, against MPFR at 128 bits (Real16: 256). Errors in "
      "ulps of the "
      "result's type; \"correctly rounded\" counts errors of at most half an ulp. \"bound\" is "
      "what the function's test suite asserts (\"+ r\": plus the argument reduction's error "
      "carried by the slope, for the radian sines and cosines the processor's 66-bit pi, "
      "\\|x\\| 2^-62 absolute, for the Real16 ones the two-piece pi/2 of the reduction; w = "
      "y log2 x for the powers; \"—\": no bound asserted in this tree). Beside each entry the "
      "call a user would otherwise write, in the same type: glibc's libm for Real4 and Real8, "
      "libquadmath for Real16; a and b are the entry's arguments in its order, deg = pi/180, "
      "rad = 180/pi, qu = pi/2, uq = 2/pi rounded to the type. Arguments where the exact "
      "value is a pole or beyond the type's range are left out; a nonzero result where the "
      "exact value is zero counts in ulps of the smallest subnormal (1e300 and more, or inf).\n";
  if (!doc.empty()) write_doc(doc, table(results, missing, how));
  if (!plot.empty()) write_plot(plot, results);
  for (const std::string &m : missing) std::printf("%-10s not exported\n", m.c_str());
  return failures == 0 ? 0 : 1;
}
