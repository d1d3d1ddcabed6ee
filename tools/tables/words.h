// What the table generators share: an integer as 32-bit words, a value
// rounded to the nearest Real16 as its four words, and a value as a Real8
// pair. The words come off a GMP
// integer by shifts, so the 32-bit unsigned long of i386 plays no part.
#pragma once

#include <gmp.h>
#include <mpfr.h>

#include <array>
#include <cstdint>

namespace tables {

// The low 32 N bits of a nonnegative integer, most significant word first.
template <int N>
std::array<std::uint32_t, N> split_words(mpz_srcptr z) {
  std::array<std::uint32_t, N> w;
  mpz_t t;
  mpz_init_set(t, z);
  for (int i = N - 1; i >= 0; --i) {
    w[i] = static_cast<std::uint32_t>(mpz_get_ui(t) & 0xffffffffu);
    mpz_fdiv_q_2exp(t, t, 32);
  }
  mpz_clear(t);
  return w;
}
// The same of an integer-valued v.
template <int N>
std::array<std::uint32_t, N> split_words(mpfr_srcptr v) {
  mpz_t z;
  mpz_init(z);
  mpfr_get_z(z, v, MPFR_RNDN);
  const auto w = split_words<N>(z);
  mpz_clear(z);
  return w;
}

// v rounded to the nearest Real16, words 3 (sign and exponent) to 0; a zero
// gives +0. v must lie in the normal range.
inline std::array<std::uint32_t, 4> real16_words(mpfr_srcptr v) {
  if (mpfr_zero_p(v)) return {0, 0, 0, 0};
  mpfr_t r;
  mpfr_init2(r, 113);
  mpfr_abs(r, v, MPFR_RNDN);
  const long e = mpfr_get_exp(r) - 1;      // r = 1.f 2^e
  mpfr_mul_2si(r, r, 112 - e, MPFR_RNDN);  // the 113-bit significand as an integer
  auto w = split_words<4>(r);
  mpfr_clear(r);
  w[0] = (w[0] & 0xffff) | static_cast<std::uint32_t>(e + 16383) << 16 |
         (mpfr_signbit(v) ? 0x80000000u : 0);
  return w;
}

// A value as the nearest Real8 and the nearest Real8 to the remainder
// (`rest` is scratch).
struct Real8Pair {
  double high, low;
};
inline Real8Pair split_nearest(mpfr_t v, mpfr_t rest) {
  const double high = mpfr_get_d(v, MPFR_RNDN);
  mpfr_sub_d(rest, v, high, MPFR_RNDN);
  return {high, mpfr_get_d(rest, MPFR_RNDN)};
}

}  // namespace tables
