// The SSE route of the processor logarithms: c log2(x) as FYL2X computes it
// with c = FLDLN2 or FLDLG2, rounded to Real4 or Real8, without the
// instruction where an error bound shows the rounding (log.cpp; the complex
// logarithm rounds the same register value to Real8).
//
// The instruction, measured (tools/x87/measure_explog, runs of 2 10^5 and
// 4 10^6 arguments of each kind): FYL2X returns c log2(x), c the 64-bit
// constant, within 1.01 units of the 64-bit significand's last place
// (1.0021 next to 1, 0.92 elsewhere), the nearest 64-bit value for 85%
// (next to 1) to 94% of the arguments, on an Intel Xeon; qemu-i386 7.2's
// emulation stays within 0.51 units.
// FLDLN2 and FLDLG2 load the nearest 64-bit values to ln 2 and log10(2)
// (fldln2_bits, fldlg2_bits). The bound taken is 1.25 units, 1.25 2^-63 of
// the value V = c log2(x) = ln(x) (c / ln 2).
//
// The model: x = 2^e m, m in [0.75, 1.5), and the point j of
// log_route_table.h with 1/c_j = invc (24 bits):
//   ln x = e ln 2 + ln c_j + log1p(r),  r = m invc - 1, |r| < 2^-7
// (r = m - 1 next to 1, where c_j = 1 and ln x has no cancellation).
//
// Real4 (ln_of_real4): m invc is exact in Real8 (24 by 24 bits) and so is
// r; log1p by its series to r^7 (truncation r^7/8 of r, 2^-52), the sums in
// Real8: within 2^-50 of ln x, so that real4_or_register (whose slack is
// 2^-42 of the value) decides by it alone. The register's own error,
// 2^-62.7 of V, and c / ln 2 against 1 (2^-65) do not count there.
//
// Real8 (settle_real8, fused multiply-adds): r as the exact pair
// (m invc - 1) + err(m invc); log1p(rh + rl) = rh - rh^2/2 + rh^3 Q(rh) +
// rl (1 - rh + rh^2), Q the series to rh^10 (truncation 2^-73.5 of r), rh^2
// an exact pair, rh^3 Q in Real8 (within 3 2^-53 of itself: 2^-67 of
// |ln x|, the largest term of the model's error); e ln2.high + lnc.high is
// exact, the rest joins as pairs. V = ln x (c / ln 2) within 2^-66.5 |V|,
// the register within 2^-62.7 |V| of it: when V moved by slack8 = 1.5 2^-62
// of itself (1.9 times the sum) either way rounds to one Real8, so does the
// register's value; otherwise (about one argument in 240) the register
// evaluation runs.
//
// Identity with the instruction, seen: every positive Real4 argument
// (2139095040 for each of g_log, g_alog, g_log10, g_alog10,
// exp_log_slow_test) and 10^9 random Real8 arguments of g_dlog over the
// ranges and points of fma_routes_internal_test (one run at
// VEXMORG_TEST_SCALE=500; g_dlog10, the same code with its constant, in the
// committed run); none differ.
#pragma once

#include <cmath>
#include <cstdint>

#include "common/bits.h"
#include "common/double_double.h"
#include "elem/exp_log/tables/log_route_table.h"

namespace vx::log_route {

namespace table = log_route_table;

// ln 2 and log10(e) as Real8, for the Real4 route.
constexpr double ln2 = table::ln2.high + table::ln2.low;
constexpr double log10e = table::lg_k.high;

// x = 2^e m, m in [0.75, 1.5), for a positive normal Real8 x; the point of m.
struct Reduced {
  double e, m;
  const table::Point *point;
};

inline Reduced reduce(double x) {
  const std::uint64_t d = bits(x) - 0x3fe8000000000000;  // bits(0.75)
  const double e = static_cast<double>(static_cast<std::int64_t>(d) >> 52);
  const double m = real8_from_bits(bits(x) - (d & 0xfff0000000000000));
  return {e, m, &table::point[(d >> 45) & 127]};
}

// ln x for a positive finite Real4 x, within 2^-50 of it; 0 for x = 1.
inline double ln_of_real4(float x) {
  const Reduced z = reduce(x);               // a Real4 subnormal is a normal Real8
  const double r = z.m * z.point->invc - 1;  // exact
  const double r2 = r * r;                   // Estrin's scheme: short chains
  const double p = r2 * ((-0.5 + r * (1 / 3.0)) + r2 * (-0.25 + r * 0.2)) +
                   (r2 * r2) * (r2 * (-1 / 6.0 + r * (1 / 7.0)));
  return z.e * ln2 + (z.point->lnc.high + (z.point->lnc.low + (r + p)));
}

// The series of log1p(r) beyond r - r^2/2: r^3 (q[0] + q[1] r + ... ).
constexpr double q[8] = {1 / 3.0, -1 / 4.0, 1 / 5.0, -1 / 6.0, 1 / 7.0, -1 / 8.0, 1 / 9.0, -0.1};
constexpr double slack8 = 0x1.8p-62;

// Whether V = ln x (k.high + k.low), for a positive normal Real8 x, moved by
// slack8 |V| either way rounds to one Real8, r (then the register's value
// rounds to r).
[[gnu::target("fma")]] inline bool settle_real8(double x, DoubleDouble k, double &result) {
  const Reduced z = reduce(x);
  const double invc = z.point->invc;
  const double ph = z.m * invc;
  const double rl = std::fma(z.m, invc, -ph);  // exact
  const double rh = ph - 1;                    // exact: ph in [0.99, 1.01]
  const double r2 = rh * rh;
  const double r2l = std::fma(rh, rh, -r2);
  const double r4 = r2 * r2;
  const double q03 = std::fma(r2, std::fma(rh, q[3], q[2]), std::fma(rh, q[1], q[0]));
  const double q47 = std::fma(r2, std::fma(rh, q[7], q[6]), std::fma(rh, q[5], q[4]));
  const double cubic = (r2 * rh) * std::fma(r4, q47, q03);
  const DoubleDouble head = dd::fast_two_sum(rh, -0.5 * r2);  // |rh| >= r2/2
  const double low = std::fma(rl, std::fma(rh, rh - 1, 1), head.low - 0.5 * r2l) + cubic;
  const DoubleDouble top = dd::two_sum(z.e * table::ln2.high + z.point->lnc.high, head.high);
  const double rest = top.low + ((z.e * table::ln2.low + z.point->lnc.low) + low);
  // V = (top.high + rest) k
  const double vh = top.high * k.high;
  const double vl = std::fma(top.high, k.high, -vh) + std::fma(top.high, k.low, rest * k.high);
  return dd::settle({vh, vl}, std::fabs(vh) * slack8, result);
}

}  // namespace vx::log_route
