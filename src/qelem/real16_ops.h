// What the Real16 elementary functions are written in: the operators by
// value (quad/operators.h), the integer conversions by value (g_qfloat,
// g_iqint), constants from their words and the rational functions of the
// error and gamma functions.
#pragma once

#include <vexmorg/vexmorg.h>

#include <cstdint>

#include "common/bits.h"
#include "quad/operators.h"
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

using quad::add;
using quad::div;
using quad::mul;
using quad::sub;

inline Real16 from_int(std::int32_t n) {
  Real16 r;
  g_qfloat(&r, &n);
  return r;
}
inline std::int32_t trunc_int(const Real16 &x) { return g_iqint(&x); }
// e^x and ln x by their entries (g_qexp, g_qlog), reports included.
inline Real16 exp_of(const Real16 &x) {
  Real16 r;
  g_qexp(&r, &x);
  return r;
}
inline Real16 log_of(const Real16 &x) {
  Real16 r;
  g_qlog(&r, &x);
  return r;
}

// x times 2^n by its exponent field (word 3 plus n 65536): no range check.
constexpr Real16 scaled(Real16 x, std::int32_t n) {
  x.w[3] += static_cast<std::uint32_t>(n) << 16;
  return x;
}
constexpr Real16 negated(Real16 x) {
  x.w[3] ^= quad::kSignBit;
  return x;
}
// P(t)/Q(t) for P = p[0] + p[1] t + ... and the monic Q = t^NQ + q[NQ - 1]
// t^(NQ-1) + ... + q[0], both by Horner's rule.
template <unsigned NP, unsigned NQ>
Real16 rational(const Real16 (&p)[NP], const Real16 (&q)[NQ], const Real16 &t) {
  Real16 den = kOne;
  for (unsigned i = NQ; i-- > 0;) den = add(mul(den, t), q[i]);
  return div(quad::horner(p, t), den);
}

constexpr bool is_negative(const Real16 &x) { return (x.w[3] & quad::kSignBit) != 0; }
constexpr std::uint32_t high_word(const Real16 &x) { return x.w[3] & ~quad::kSignBit; }

}  // namespace vx::qelem
