// Double-double kernels of the Real8 gamma and complementary error
// functions. A double-double value is an unevaluated sum of two Real8
// numbers, high part first, the low part below half an ulp of the high
// part. The kernels take and give such values by address.
//
//   ulx_gtmt(out, a, b)  out = a b, double-double, to about 103 bits
//   ulx_gtml(out, a, b)  out = a b for a double-double a and a Real8 b
//   ulx_gte2(v)          2^v as a Real8
//   ulx_gtem(x)          e^(-x^2) as a Real8
//   ulx_gtlg(out, x)     ln x as a double-double
//   ulx_gtep(v)          e^v as a Real8
//
// The error-free building blocks they share are below, for the functions
// that combine the kernels (g_dgamma's Stirling branch).
#pragma once

#include <cstdint>

#include "common/bits.h"

namespace vx {

struct DoubleDouble {
  double high, low;
};

namespace dd {

// s + e = a + b exactly, for any a and b (s the rounded sum).
inline DoubleDouble two_sum(double a, double b) {
  const double s = a + b;
  const double bb = s - a;
  return {s, (a - (s - bb)) + (b - bb)};
}

// s + e = a + b exactly when |a| >= |b| or a is zero.
inline DoubleDouble fast_two_sum(double a, double b) {
  const double s = a + b;
  return {s, b - (s - a)};
}

// The upper 26 bits of a significand: the low 27 bits of the low word
// cleared. The rest, x - upper26(x), holds at most 27 bits.
inline double upper26(double x) { return real8_from_bits(bits(x) & ~std::uint64_t{0x7ffffff}); }

// p + e = a b: p the rounded product, e its rounding error to within
// 2^-106 |a b| (the products of the halves are exact but the last, 27 by
// 27 bits, which may round).
inline DoubleDouble two_product(double a, double b) {
  const double p = a * b;
  const double a1 = upper26(a), a2 = a - a1;
  const double b1 = upper26(b), b2 = b - b1;
  return {p, (((a1 * b1 - p) + a1 * b2) + a2 * b1) + a2 * b2};
}

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

}  // namespace dd
}  // namespace vx

extern "C" {
void ulx_gtmt(vx::DoubleDouble *out, const vx::DoubleDouble *a, const vx::DoubleDouble *b);
void ulx_gtml(vx::DoubleDouble *out, const vx::DoubleDouble *a, const double *b);
double ulx_gte2(const vx::DoubleDouble *v);
double ulx_gtem(const double *x);
void ulx_gtlg(vx::DoubleDouble *out, const double *x);
double ulx_gtep(const vx::DoubleDouble *v);
}
