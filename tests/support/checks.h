// What every Real4 and Real8 suite shares: bit patterns, the entry shape,
// the type codes of reported values and the ulp of a type.
#pragma once

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "oracle/oracle.h"
#include "support/recorder.h"
#include "support/sampling.h"

namespace support {

template <class T>
auto bits_of(T x) {
  if constexpr (sizeof(T) == 4) {
    return std::bit_cast<std::uint32_t>(x);
  } else {
    return std::bit_cast<std::uint64_t>(x);
  }
}

template <class T>
using Unary = T (*)(const T *);

template <class T>
constexpr std::uint16_t kTypeCode = sizeof(T) == 4 ? 9 : 10;

// The ulp of T at |v| (never below the smallest subnormal's).
template <class T>
double ulp_of(double v) {
  int e;
  std::frexp(v, &e);
  e = std::max(e, std::numeric_limits<T>::min_exponent);
  return std::ldexp(1.0, e - std::numeric_limits<T>::digits);
}

}  // namespace support
