// Polynomials of the Real4 and Real8 kernels, evaluated by Horner's rule in
// the x87 register from the highest coefficient down.
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

}  // namespace vx
