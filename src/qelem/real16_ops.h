// The Real16 operations the elementary functions are written in, by value:
// each one the exported operator (g_aqaq, g_aqsq, g_aqmq, g_aqdq, g_qfloat,
// g_iqint), so an overflow or underflow on the way is reported exactly as
// the operator reports it.
#pragma once

#include <vexmorg/vexmorg.h>

#include <cstdint>

#include "common/bits.h"
#include "quad/real16.h"

namespace vx::qelem {

using w128::U128;
using w128::u64;

// A Real16 constant from its words, most significant first.
constexpr Real16 q16(std::uint32_t w3, std::uint32_t w2 = 0, std::uint32_t w1 = 0,
                     std::uint32_t w0 = 0) {
  return real16_from_words(w3, w2, w1, w0);
}

inline constexpr Real16 kOne = q16(0x3fff0000);

inline Real16 add(const Real16 &a, const Real16 &b) {
  Real16 r;
  g_aqaq(&r, &a, &b);
  return r;
}
inline Real16 sub(const Real16 &a, const Real16 &b) {
  Real16 r;
  g_aqsq(&r, &a, &b);
  return r;
}
inline Real16 mul(const Real16 &a, const Real16 &b) {
  Real16 r;
  g_aqmq(&r, &a, &b);
  return r;
}
inline Real16 div(const Real16 &a, const Real16 &b) {
  Real16 r;
  g_aqdq(&r, &a, &b);
  return r;
}
inline Real16 from_int(std::int32_t n) {
  Real16 r;
  g_qfloat(&r, &n);
  return r;
}
inline std::int32_t trunc_int(const Real16 &x) { return g_iqint(&x); }

// x times 2^n by its exponent field (word 3 plus n 65536): no range check.
constexpr Real16 scaled(Real16 x, std::int32_t n) {
  x.w[3] += static_cast<std::uint32_t>(n) << 16;
  return x;
}
constexpr Real16 negated(Real16 x) {
  x.w[3] ^= quad::kSignBit;
  return x;
}
// p[0] + p[1] t + ... + p[n - 1] t^(n-1) by Horner's rule.
inline Real16 polynomial(const Real16 *p, int n, const Real16 &t) {
  Real16 s = p[n - 1];
  for (int i = n - 2; i >= 0; --i) s = add(mul(s, t), p[i]);
  return s;
}
// P(t)/Q(t) for P of `np` coefficients and the monic Q = t^nq + q[nq - 1]
// t^(nq-1) + ... + q[0], ascending, both by Horner's rule.
inline Real16 rational(const Real16 *p, int np, const Real16 *q, int nq, const Real16 &t) {
  Real16 den = kOne;
  for (int i = nq - 1; i >= 0; --i) den = add(mul(den, t), q[i]);
  return div(polynomial(p, np, t), den);
}

constexpr bool is_negative(const Real16 &x) { return (x.w[3] & quad::kSignBit) != 0; }
constexpr std::uint32_t high_word(const Real16 &x) { return x.w[3] & ~quad::kSignBit; }

}  // namespace vx::qelem
