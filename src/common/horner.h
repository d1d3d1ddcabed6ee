// Polynomials of the Real4 and Real8 kernels, evaluated by Horner's rule
// from the highest coefficient down: in the x87 register, or in Real8
// arithmetic for the Real4 paths of real4_rounding.h.
#pragma once

#include <cstddef>

namespace vx {

// c[0] + c[1] x + ... + c[N-1] x^(N-1).
template <class C, std::size_t N>
long double horner(const C (&c)[N], long double x) {
  long double r = static_cast<long double>(c[N - 1]);
  for (std::size_t i = N - 1; i-- > 0;) r = r * x + static_cast<long double>(c[i]);
  return r;
}

// c[0] + c[1] x + ... + c[N-1] x^(N-1) + x^N: (((x + c[N-1]) x + ...) x + c[0].
template <class C, std::size_t N>
long double horner_monic(const C (&c)[N], long double x) {
  long double r = x + static_cast<long double>(c[N - 1]);
  for (std::size_t i = N - 1; i-- > 0;) r = r * x + static_cast<long double>(c[i]);
  return r;
}

// c[0] + c[1] x + ... + c[N-1] x^(N-1) in Real8 arithmetic.
template <std::size_t N>
double horner_real8(const double (&c)[N], double x) {
  double r = c[N - 1];
  for (std::size_t i = N - 1; i-- > 0;) r = r * x + c[i];
  return r;
}

}  // namespace vx
