// Radian arc tangents: g_atan, g_atan2 (Real4), g_datan, g_datan2 (Real8).
//
// Method: the processor's FPATAN, of x over 1 for the one-argument forms
// and of y over x for the two-argument ones, rounded to the result type.
//
// Special cases:
//   atan: none; a NaN gives a NaN.
//   atan2(y, x): the sign of a zero never selects a result: a -0.0 is taken
//     as +0.0 before FPATAN, so atan2(-0.0, -1.0) = +pi and
//     atan2(1.0, -0.0) = +pi/2.
//   atan2(+-0, +-0): error 220 / 221, both argument slots (y, then x), no
//     values reported; default 0.0, or a NaN with the infinity flag.
//
// Evaluation: FPATAN rounded to the type, reproduced on SSE where a bound
// shows that the rounding is the instruction's (atan_route.h).
//
// The instruction: FPATAN's 64-bit result F errs by less than one unit of
// its last place (ulp64, 2^-63 of the exact binade at most) from
// atan2(y, x), as the processor's maker documents. tools/x87/measure_fpatan
// measured it against MPFR on 15 classes of 10^6 arguments each (tiny and
// huge ratios, x < 0 and the pi offsets, |y| ~ |x|, subnormal y, Real4 and
// Real8 arguments): at most 0.638 ulp64 on an Intel Xeon (family 6, model
// 207; 98.3% correctly rounded, none beyond 1 ulp64; monotone where
// scanned), and 0.502 ulp64 on qemu-i386-static's emulation (75000). Exact: the signed zeros,
// +-pi and +-pi/2 (correctly rounded). cpu::x87_atan probes the bound
// at load time; where it fails the instruction runs.
//
// The model: atan2 of z = |y/x| (z = |x| for atan) as
//   atan(c) + atan(t),  t = (z - c) / (1 + z c),  |t| < 2^-6.98,
// with c = z rounded to five fraction bits for z in [2^-7, 2^7) (the table
// atan_route_table.h), c = 0 below (t = z) and pi/2 - atan(1/z) above
// (t = -1/z); atan(t) by its series; pi minus that for x < 0, signed by y.
//   Real4: in Real8 arithmetic, t = (z - c)/(1 + z c) with z c exact for a
//     Real4 z, the series to t^7 (truncation 2^-59 |t|): within 2^-50 of the
//     result (every rounding counted at 2^-53), so with F within 2^-63 of
//     it, far inside the 1024 units of a Real8's place that
//     real4_or_register allows (2^-43 relative); the register rounds the
//     rest (2 and 6 in 10^6 arguments of the benchmarks' ranges).
//   Real8 (with FMA): t as high + low from exact products (|t_low| within
//     2^-100 |t|), the series to t^9 (truncation 2^-73 |t|), its cubic part
//     within 2^-67.5 |t| (three roundings of t^3 / 3 < 2^-14.5 |t|),
//     atan(c) and pi as high + low to 2^-106: within 2^-67 of |result|.
//     With F's 2^-63, the value moved by 2^-62 |result| either way covers F;
//     where both ends round to one Real8 that is F's rounding, otherwise
//     (about one argument in 350) the instruction runs.
//
// Identity (atan_route_internal_test; atan_route_slow_test, label slow,
// for the exhaustive runs): every Real4 argument of g_atan and 2^32 argument pairs of g_atan2
// agree with the instruction; g_datan and g_datan2 agreed on 10^9 random
// arguments each (atan_route_internal_test at VEXMORG_TEST_SCALE=500: every
// binade, with extra weight near the breakpoints, 2^+-7, |y| ~ |x| and the
// pi offsets).
//
// Accuracy against MPFR (inverse_trig_test), by analysis: FPATAN errs by
// less than one unit of its 64 bits, so the rounded results are within
// 0.51 ulp.
#include <cmath>
#include <cstdint>

#include "common/bits.h"
#include "common/cpu.h"
#include "common/double_double.h"
#include "common/real4_rounding.h"
#include "common/x87.h"
#include "elem/inverse_trig/atan_route.h"
#include "elem/inverse_trig/tables/atan_route_table.h"
#include "frame/ieee_constants.h"
#include "frame/resume.h"

namespace vx {
namespace {

namespace table = atan_route_table;

constexpr double kPiHigh = 0x1.921fb54442d18p+1, kPiLow = 0x1.1a62633145c07p-53;
constexpr double kHalfPiHigh = 0x1.921fb54442d18p+0, kHalfPiLow = 0x1.1a62633145c07p-54;
constexpr double kSmall = 0x1p-7, kLarge = 0x1p7;  // the table's range of z

// The breakpoint for z in [2^-7, 2^7): its row in the table and its value,
// z rounded to five fraction bits (the carry may reach the next binade).
struct Breakpoint {
  std::uint64_t row;
  double c;
};
inline Breakpoint breakpoint(double z) {
  const std::uint64_t k = (bits(z) + (std::uint64_t{1} << 46)) >> 47;
  return {k - table::kFirst, real8_from_bits(k << 47)};
}

// ---- Real4 -----------------------------------------------------------------

// atan(z) for finite z >= 0 in Real8 arithmetic, within 2^-50 relative.
inline double arctan4(double z) {
  double t, base;
  if (z < kSmall) {
    t = z, base = 0;
  } else if (z < kLarge) {
    const Breakpoint b = breakpoint(z);
    t = (z - b.c) / (1 + z * b.c);  // z - c exact; z c exact for a Real4 z, else one rounding
    base = table::atan_c[b.row].high;
  } else {
    t = -1 / z, base = kHalfPiHigh;
  }
  const double s = t * t;
  return base +
         (t +
          t * s * (-0x1.5555555555555p-2 + s * (0x1.999999999999ap-3 + s * -0x1.2492492492492p-3)));
}

// v for a negative x, else +0, without a branch: the half turn that the
// angle of (x, y) adds for x < 0 (a sign test would be a branch that the
// processor mispredicts on mixed signs).
template <class T>
inline double if_negative(T x, double v) {
  return real8_from_bits(bits(v) & (std::uint64_t{0} - std::signbit(x)));
}

// -v for a negative x, else v, without a branch.
inline double negated_if_negative(double x, double v) {
  return real8_from_bits(bits(v) ^ (bits(x) & 0x8000000000000000));
}

// A finite nonzero Real4 (subnormals included).
inline bool finite_nonzero(float v) { return (bits(v) & 0x7fffffff) - 1 < 0x7f7fffffu; }

// ---- Real8 -----------------------------------------------------------------

// base + atan(t) for t = n / d (high + low pairs), as high + low within
// 2^-67 of the result.
struct Reduction {
  double n_high, n_low, d_high, d_low;
  DoubleDouble base;
};

[[gnu::target("fma"), gnu::always_inline]] inline DoubleDouble arctan8(const Reduction &r) {
  const double inv = 1 / r.d_high;
  const double t_high = r.n_high * inv;
  double rest = std::fma(-t_high, r.d_high, r.n_high) + r.n_low;
  rest = std::fma(-t_high, r.d_low, rest);
  const double t_low = rest * inv;
  const double s = t_high * t_high;
  const double cubic =
      t_high * s *
      std::fma(s,
               std::fma(s, std::fma(s, 0x1.c71c71c71c71cp-4, -0x1.2492492492492p-3),
                        0x1.999999999999ap-3),
               -0x1.5555555555555p-2);
  const double low = std::fma(t_low, -s, t_low) + cubic;         // atan'(t) = 1 - t^2 + ...
  const DoubleDouble v = dd::fast_two_sum(r.base.high, t_high);  // |t| < atan(c), or c = 0
  return {v.high, v.low + (r.base.low + low)};
}

// Whether high + low moved by 2^-62 of itself either way rounds to one
// Real8, r.
[[gnu::always_inline]] inline bool settle(DoubleDouble y, double &r) {
  return dd::settle(y, std::fabs(y.high) * 0x1p-62, r);
}

// Magnitudes from 2^-960 to below 2^960: products with the breakpoints and
// their errors stay normal and finite.
inline bool moderate(std::uint64_t b) { return ((b >> 52) & 0x7ff) - 63 < 1920; }

// |y| and |x| moderate: the reduction of atan(|y| / |x|).
[[gnu::target("fma"), gnu::always_inline]] inline Reduction reduce2(double ay, double ax) {
  const double ratio = ay / ax;
  if (ratio < kSmall) return {ay, 0, ax, 0, {0, 0}};
  if (ratio >= kLarge) return {-ax, 0, ay, 0, {kHalfPiHigh, kHalfPiLow}};
  const Breakpoint b = breakpoint(ratio);
  const double p = b.c * ax, p_low = std::fma(b.c, ax, -p);  // c |x| exactly
  const DoubleDouble n = dd::two_sum(ay - p, -p_low);        // ay - p exact: ay within 2^-5 of p
  const double q = b.c * ay, q_low = std::fma(b.c, ay, -q);  // c |y| exactly
  const DoubleDouble d = dd::two_sum(ax, q);
  return {n.high, n.low, d.high, d.low + q_low, table::atan_c[b.row]};
}

}  // namespace

// ---- the routes: FPATAN rounded to the type --------------------------------

float rounded_fpatan(float y, float x) {
  if (cpu::x87_atan && finite_nonzero(y) && finite_nonzero(x)) [[likely]] {
    const double a = arctan4(std::fabs(double{y} / double{x}));
    const double r =
        if_negative(x, kPiHigh) + std::copysign(a, double{x});  // a, or pi - a for x < 0
    return real4_or_register(std::copysign(r, double{y}),
                             [y, x] { return static_cast<float>(x87::fpatan(y, x)); });
  }
  return static_cast<float>(x87::fpatan(y, x));
}

float rounded_fpatan_over_one(float x) {
  const float ax = std::fabs(x);
  // |x| < 2^-13 (zeros and subnormals too): atan(x) lies within |x|^3/3 <
  // 2^-27.6 |x| of x, F within 2^-63 |x| of that, nearer x than any
  // Real4 midpoint (2^-25 |x| away at least): the result is x.
  if (ax < 0x1p-13f) return x;
  if (cpu::x87_atan && ax <= 0x1.fffffep127f) [[likely]] {
    const double a = arctan4(ax);
    // |result| from 2^-13 to pi/2: a normal Real4
    return real4_or_register<Real4Range::normal>(
        std::copysign(a, double{x}), [x] { return static_cast<float>(x87::fpatan(x, 1)); });
  }
  return static_cast<float>(x87::fpatan(x, 1));
}

[[gnu::target("fma")]] double rounded_fpatan_fma(double y, double x) {
  const std::uint64_t by = bits(y), bx = bits(x);
  if (moderate(by) && moderate(bx)) [[likely]] {
    // atan(|y/x|), or pi - atan(|y/x|) for x < 0; signed by y
    const DoubleDouble a = arctan8(reduce2(std::fabs(y), std::fabs(x)));
    const DoubleDouble u =
        dd::fast_two_sum(if_negative(x, kPiHigh), negated_if_negative(x, a.high));
    const DoubleDouble v = {u.high,
                            u.low + (if_negative(x, kPiLow) + negated_if_negative(x, a.low))};
    double r;
    if (std::fabs(v.high) >= 0x1p-960 && settle(v, r)) [[likely]]
      return std::copysign(r, y);
  }
  return static_cast<double>(x87::fpatan(y, x));
}

[[gnu::target("fma")]] double rounded_fpatan_over_one_fma(double x) {
  const double z = std::fabs(x);
  // |x| < 2^-27 (zeros and subnormals too): atan(x) within 2^-55.6 |x| of
  // x, F within 2^-63 |x| of that, nearer x than any Real8 midpoint.
  if (z < 0x1p-27) return x;
  if (z <= 0x1.fffffffffffffp1023) [[likely]] {
    Reduction red;
    if (z < kSmall) {
      red = {z, -0.0, 1, 0, {0, 0}};
    } else if (z < kLarge) {
      const Breakpoint b = breakpoint(z);
      const double p = z * b.c, p_low = std::fma(z, b.c, -p);  // z c exactly
      const DoubleDouble d = dd::two_sum(1, p);
      red = {z - b.c, -0.0, d.high, d.low + p_low, table::atan_c[b.row]};  // z - c exact
    } else {
      red = {-1, -0.0, z, 0, {kHalfPiHigh, kHalfPiLow}};
    }
    double r;
    if (settle(arctan8(red), r)) [[likely]]
      return std::copysign(r, x);
  }
  return static_cast<double>(x87::fpatan(x, 1));
}

double rounded_fpatan(double y, double x) {
  if (cpu::x87_atan && cpu::fma) [[likely]]
    return rounded_fpatan_fma(y, x);
  return static_cast<double>(x87::fpatan(y, x));
}

double rounded_fpatan_over_one(double x) {
  if (cpu::x87_atan && cpu::fma) [[likely]]
    return rounded_fpatan_over_one_fma(x);
  return static_cast<double>(x87::fpatan(x, 1));
}

namespace {

template <class T, std::int32_t kError>
Attempt<T> arctan2(T y, T x) {
  // y and x both zero: error 220 / 221, default 0
  if (y == 0 && x == 0) return argument_error(kError, T{0}, kNaN<T>);
  if (y == 0) y = 0;  // -0.0 becomes +0.0
  if (x == 0) x = 0;
  return result(rounded_fpatan(y, x));
}

}  // namespace
}  // namespace vx

float g_atan(const float *x) { return vx::rounded_fpatan_over_one(*x); }
double g_datan(const double *x) { return vx::rounded_fpatan_over_one(*x); }
float g_atan2(const float *y, const float *x) {
  return vx::resume_loop<vx::kNoValues>(vx::arctan2<float, vx::err::kAtan2Zero>, *y, *x);
}
double g_datan2(const double *y, const double *x) {
  return vx::resume_loop<vx::kNoValues>(vx::arctan2<double, vx::err::kDatan2Zero>, *y, *x);
}
