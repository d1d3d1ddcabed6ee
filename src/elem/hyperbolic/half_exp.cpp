// ulx_guhy: e^x / 2 for the Real8 hyperbolic functions (internal, not
// exported; never reports).
//
// Method: x = k ln2/64 + r with k the integer nearest 64x/ln2 and
// |r| <= ln2/128; ln2/64 comes in two pieces, the first with 26 significant
// bits so that k times it is exact. Then e^x / 2 = 2^(k div 64 - 1)
// 2^((k mod 64)/64) e^r: the table pair (T, L) is 2^(j/64) to about 107
// bits (the exponentials' table exp2_table::e), e^r - 1 - r a degree-5
// series, and v = T + (T r + (L + T r^2 P(r))) is summed in the x87
// register and stored as Real8. The power of two goes straight into v's
// exponent field, halving included.
//
// k is found as k0 = 128x/ln2 truncated toward zero, then k = (k0 + 1) / 2
// rounded down for k0 >= 1 and k0 / 2 rounded down otherwise: both round
// 64x/ln2 to the nearest integer (the first from below, the second from
// above), so |r| stays within ln2/128, the interval the series is made
// for (0.02 ulp there). Rounding k0 to the nearest integer instead would
// leave r up to 0.75 ln2/64 on one side, where the series is 1.6 ulp off.
//
// Accuracy against MPFR (hyperbolic_internal_test), by analysis: the
// table pair holds 2^(j/64) to about 2^-107, the series is 0.02 ulp from
// e^r, the sum is formed in the register and rounded once: within 0.52 ulp
// of e^x/2. Measured: 0.5196 the largest in the random runs.
#include "elem/hyperbolic/half_exp.h"

#include <cstdint>

#include "common/bits.h"
#include "elem/exp_log/tables/exp2_table.h"

namespace vx {
namespace {

using ld = long double;

// 128/ln2 to the nearest Real8 (the 184.664965233792 sometimes quoted is
// 2.5e-14 relative off; only the choice of k depends on it).
constexpr double scale = 0x1.71547652b82fep+7;       // 0x40671547652B82FE: 184.66496523378731
constexpr double ln2_64_hi = 0.010830424493178725;   // 0x3F862E42F8000000: ln2/64, 26 bits
constexpr double ln2_64_lo = 2.030704202170295e-10;  // 0x3DEBE8E7BCD5E4F2: ln2/64 - ln2_64_hi
// e^r = 1 + r + r^2 (c2 + r (c3 + r (c4 + r c5))), |r| <= ln2/128.
constexpr double c2 = 0.4999999999993258;    // 0x3FDFFFFFFFFFD08F
constexpr double c3 = 0.16666666666716423;   // 0x3FC5555555559B5C
constexpr double c4 = 0.041666727866666475;  // 0x3FA5555763098E60
constexpr double c5 = 0.008333325907368032;  // 0x3F81111011E995C9

}  // namespace
}  // namespace vx

double ulx_guhy(const double *x) {
  using namespace vx;
  const double v = *x;
  const auto k0 = static_cast<std::int32_t>(v * ld{scale});  // truncated toward zero
  const std::int32_t k = k0 >= 1 ? (k0 + 1) >> 1 : k0 >> 1;  // nearest to 64x/ln2
  const ld r = (v - k * ld{ln2_64_hi}) - k * ld{ln2_64_lo};
  const DoubleDouble &e = exp2_table::e[k & 63];
  const ld t = e.high;
  const ld series = c2 + r * (c3 + r * (c4 + r * c5));
  const double w = static_cast<double>(t + (t * r + (e.low + t * r * r * series)));
  // 2^(k div 64 - 1): (k - j - 64) / 64 added to the exponent field.
  const std::uint32_t scale_bits = static_cast<std::uint32_t>((k & ~63) - 64) << 14;
  return real8_from_words(high_word(w) + scale_bits, low_word(w));
}
