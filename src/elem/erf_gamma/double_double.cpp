// Double-double kernels: ulx_gtmt, ulx_gtml (products), ulx_gte2 (2^v),
// ulx_gtem (e^(-x^2)), ulx_gtlg (ln x), ulx_gtep (e^v). Internal, not
// exported; g_derfc calls ulx_gtem, g_dgamma the logarithm, the products
// and ulx_gte2. ulx_gtep completes the family and has no caller.
//
// Methods:
//   products   the high parts split into 26-bit upper halves (the low 27
//              bits of the low word cleared) and the rest; the partial
//              products summed so that high + low is the product to about
//              103 bits (106 less the roundings of the cross terms). A zero
//              high part gives (0, 0).
//   ulx_gte2   v.high rounded to m/16 with `bg`; f = v - m/16, |f| <= 1/32;
//              2^(j/16) from the two-part tables `a` and `b` (j = m mod 16)
//              times 1 + f (p1 + ... + f^5 p6); then 2^(m div 16) into the
//              exponent. v.high at most -1023 or at least 1024: 0.0.
//   ulx_gtem   x^2 and x^2 (-1/ln 2) in double-double, then ulx_gte2.
//   ulx_gtlg   x = 2^k m with m in [sqrt(1/2), sqrt(2)); u = (m-1)/(m+1) in
//              double-double; ln m = 2u + u s (p1 + ... + s^6 p7), s = u^2;
//              plus k ln 2 in two parts.
//   ulx_gtep   v/ln 2 rounded to m/64 with `bg`; r = v - (m/64) ln 2 with
//              ln 2 in two parts; 2^(j/64) from the table `e` (its high
//              parts, the nearest Real8 values) times
//              1 + r + r^2 (p2 + ... + r^3 p5); then 2^(m div 64).
//
// Results below the normal range round once into the subnormal range (the
// exponent field is only written directly while the result stays normal).
//
// Accuracy against MPFR (erf_gamma_internal_test), by analysis: the
// products carry about 103 bits (2^-103: the partial products are exact
// but the last, and the sums round at 2^-106 or 2^-105); ulx_gte2 and
// ulx_gtem are within 0.61 ulp (the polynomial within 2^-56.8 of 2^f, the
// terms kept to 2^-58, then the last sum's rounding) and ulx_gtep
// (single-part table) within 1 ulp; ulx_gtlg's series, a fit whose error in
// ln m reaches 2^-60.3 (measured with MPFR), bounds its accuracy (about 60
// bits, not 106).
#include "elem/erf_gamma/double_double.h"

#include <cstdint>

#include "common/bits.h"
#include "common/math_constants.h"
#include "elem/erf_gamma/tables/exp2_16_table.h"
#include "elem/exp_log/tables/exp2_table.h"

namespace vx {
namespace {

using ld = long double;

// r 2^k for a positive normal r: k is added to the exponent field while
// the result stays normal. Below the normal range the scaling is done in
// two steps so that the result rounds once into the subnormal range; above
// it the result is +infinity; far below it, 0.0.
inline double scale2(double r, std::int32_t k) {
  const std::int32_t e = static_cast<std::int32_t>(high_word(r) >> 20) + k;
  if (e >= 2047) return real8_from_bits(0x7ff0000000000000);
  if (e <= -64) return 0.0;  // below half the smallest subnormal
  const std::int32_t step = e > 0 ? k : k + 64;
  const double v =
      real8_from_words(high_word(r) + (static_cast<std::uint32_t>(step) << 20), low_word(r));
  return e > 0 ? v : v * 0x1p-64;
}

// ---- ulx_gte2 --------------------------------------------------------------

namespace gte2 {
constexpr double bg = 422212465065984.0;      // 0x42F8000000000000: 1.5 * 2^48, rounds to 1/16
constexpr double p1 = 0.6931471805599468;     // 0x3FE62E42FEFA39FD
constexpr double p2 = 0.24022650695909842;    // 0x3FCEBFBDFF82C53C
constexpr double p3 = 0.05550410865209362;    // 0x3FAC6B08D6E8A38B
constexpr double p4 = 0.009618129113139511;   // 0x3F83B2AB6FEAC836
constexpr double p5 = 0.0013333818815479594;  // 0x3F55D89BE4C1C7D8
constexpr double p6 = 0.0001540330470910536;  // 0x3F24307DCCAD405B
}  // namespace gte2

// ---- ulx_gtem --------------------------------------------------------------

// -1/ln 2 in two parts: the nearest Real8 and the nearest Real8 to the rest.
constexpr DoubleDouble mlg2e = {-kLog2e.high, -kLog2e.low};

// ---- ulx_gtlg --------------------------------------------------------------

namespace gtlg {
// Its two words are the high words that place a significand in [1/2, 1)
// (0x3FE00000, taken at or above the split point sqrt(2)) or in [1, 2)
// (0x3FF00000); read as one Real8 it is 0.5000001190928742.
constexpr double bias = real8_from_bits(0x3fe000003ff00000);
constexpr std::uint32_t kSqrt2Fraction = 0x6a09e;  // top 20 fraction bits of sqrt(2)
// ln 2 = lg2_hi + lg2_lo to 2^-102; lg2_hi has 42 bits, so k lg2_hi is exact.
constexpr double lg2_hi = 0x1.62e42fefa38p-1;    // 0x3FE62E42FEFA3800
constexpr double lg2_lo = 0x1.ef35793c7673p-45;  // 0x3D2EF35793C76730
constexpr double p1 = 0.6666666666666765;        // 0x3FE55555555555AE
constexpr double p2 = 0.3999999999929888;        // 0x3FD999999997AC3B
constexpr double p3 = 0.2857142876134677;        // 0x3FD2492494532F9F
constexpr double p4 = 0.2222219698824036;        // 0x3FCC71C4FE8C7ED4
constexpr double p5 = 0.1818363509450151;        // 0x3FC74669DE443366
constexpr double p6 = 0.1531244375302613;        // 0x3FC39994E1B4974D
constexpr double p7 = 0.1481052984307349;        // 0x3FC2F51D4A8FE9EE
}  // namespace gtlg

// ---- ulx_gtep --------------------------------------------------------------

namespace gtep {
// 1/ln 2 picks m only: 1.442695040888963, two units below log2(e)
// (math_constants.h).
constexpr double rlg2 = 0x1.71547652b82fcp+0;  // 0x3FF71547652B82FC
constexpr double lg2b = 0.6931471787393093;    // 0x3FE62E42FE000000: ln 2, 28 bits
// ln 2 - lg2b as 1.820635998504146e-09, one unit below the nearest Real8
// of ln 2 - lg2b.
constexpr double lg2c = 0x1.f473de6af278ep-30;  // 0x3E1F473DE6AF278E
constexpr double bg = 105553116266496.0;        // 0x42D8000000000000: 1.5 * 2^46, rounds to 1/64
constexpr double p2 = 0.4999999999993281;       // 0x3FDFFFFFFFFFD0B8
constexpr double p3 = 0.1666666666672104;       // 0x3FC555555555A1DB
constexpr double p4 = 0.04166672775999699;      // 0x3FA55557621EFCCB
constexpr double p5 = 0.008333324608235715;     // 0x3F81110FE5464BE0
// e^v overflows above ln(2^1024) and is below half the smallest subnormal
// under ln(2^-1075).
constexpr double kOverflow = 709.782712893384;     // 0x40862E42FEFA39EF
constexpr double kUnderflow = -745.1332191019412;  // 0xC0874910D52D3052
}  // namespace gtep

}  // namespace
}  // namespace vx

using vx::DoubleDouble;
namespace dd = vx::dd;

void ulx_gtmt(DoubleDouble *out, const DoubleDouble *a, const DoubleDouble *b) {
  if (a->high == 0 || b->high == 0) {
    *out = {0.0, 0.0};
    return;
  }
  const DoubleDouble p = dd::two_product(a->high, b->high);
  const double t = p.low + (a->high * b->low + a->low * b->high);
  *out = dd::fast_two_sum(p.high, t);
}

void ulx_gtml(DoubleDouble *out, const DoubleDouble *a, const double *b) {
  const DoubleDouble p = dd::two_product(a->high, *b);
  *out = dd::fast_two_sum(p.high, p.low + a->low * *b);
}

double ulx_gte2(const DoubleDouble *v) {
  using namespace vx::gte2;
  using vx::exp2_16::a;
  using vx::exp2_16::b;
  const double h = v->high;
  if (!(h > -1023.0 && h < 1024.0)) return 0.0;  // v.high <= -1023, >= 1024 or NaN: 0.0
  const double n = h + bg;                       // stored: bg + m/16, m/16 = v.high rounded
  const double f = ((bg - n) + h) + v->low;      // v - m/16, |f| <= 1/32 + |v.low|
  const auto m = static_cast<std::int32_t>(vx::low_word(n));
  const std::uint32_t j = static_cast<std::uint32_t>(m) & 15;
  const double t = a[j] + b[j];
  const double r =
      a[j] + (b[j] + f * t * (p1 + f * (p2 + f * (p3 + f * (p4 + f * (p5 + f * p6))))));
  return vx::scale2(r, m >> 4);  // 2^(j/16 + f) 2^(m div 16)
}

double ulx_gtem(const double *x) {
  const DoubleDouble xx = {*x, 0.0};
  DoubleDouble square, v;
  ulx_gtmt(&square, &xx, &xx);
  ulx_gtmt(&v, &square, &vx::mlg2e);  // -x^2 / ln 2
  return ulx_gte2(&v);
}

void ulx_gtlg(DoubleDouble *out, const double *px) {
  using namespace vx::gtlg;
  using vx::ld;
  double x = *px;
  std::int32_t k = 0;
  if (vx::high_word(x) < 0x00100000) {  // subnormal: scale into the normal range
    x *= 0x1p54;
    k = -54;
  }
  // x = 2^k m, m in [sqrt(1/2), sqrt(2)): the significand keeps its bits
  // and takes the high word of [1, 2), or of [1/2, 1) from the split on.
  const std::uint32_t hx = vx::high_word(x);
  const std::uint32_t fraction = hx & 0x000fffff;
  const bool upper = fraction >= kSqrt2Fraction;
  const std::uint32_t exponent_word = upper ? vx::high_word(bias) : vx::low_word(bias);
  k += static_cast<std::int32_t>(hx >> 20) - 1023 + (upper ? 1 : 0);
  const double m = vx::real8_from_words(fraction | exponent_word, vx::low_word(x));

  // u = (m - 1)/(m + 1) as q1 + q2: m - 1 is exact, m + 1 a double-double.
  const double num = m - 1.0;
  const DoubleDouble den = dd::two_sum(m, 1.0);
  const double q1 = num / den.high;
  const DoubleDouble qd = dd::two_product(q1, den.high);
  const double q2 = (((num - qd.high) - qd.low) - q1 * den.low) / den.high;

  // The odd part of the series beyond 2u, in the x87 register; |c| < 0.0034.
  const ld u = ld{q1} + q2;
  const ld s = u * u;
  const ld c = u * s * (p1 + s * (p2 + s * (p3 + s * (p4 + s * (p5 + s * (p6 + s * p7))))));
  const double c_hi = static_cast<double>(c);
  const double c_lo = static_cast<double>(c - c_hi);

  // k ln 2 + 2u + c, summed from the largest term down.
  const double kd = k;
  const DoubleDouble s1 = dd::two_sum(2 * q1, c_hi);
  const DoubleDouble s2 = dd::two_sum(kd * lg2_hi, s1.high);
  const double low = s2.low + (s1.low + (2 * q2 + (c_lo + kd * lg2_lo)));
  *out = dd::fast_two_sum(s2.high, low);
}

double ulx_gtep(const DoubleDouble *v) {
  using namespace vx::gtep;
  const double h = v->high;
  if (h > kOverflow) return vx::real8_from_bits(0x7ff0000000000000);  // +infinity
  if (!(h > kUnderflow)) return h < 0 ? 0.0 : h;                      // 0.0; a NaN stays
  const double n = h * rlg2 + bg;  // stored: bg + m/64, m/64 = v/ln 2 rounded
  const double c = n - bg;
  const double r = ((h - c * lg2b) - c * lg2c) + v->low;  // |r| <= ln 2 / 128 and a little
  const auto m = static_cast<std::int32_t>(vx::low_word(n));
  const double t = vx::exp2_table::e[static_cast<std::uint32_t>(m) & 63].high;
  const double y = t + t * (r + r * r * (p2 + r * (p3 + r * (p4 + r * p5))));
  return vx::scale2(y, m >> 6);
}
