// Arguments of the comparisons of the FSIN and FCOS entries with the
// instruction (x87_sin_cos_internal_test, x87_sin_cos_slow_test), in turn:
// uniform to 4; log-uniform from 2^-60 to the limit; next to multiples
// k pi/2, where the reduction constant decides and the value is small; next
// to odd multiples of pi/4, where the quadrant changes and the instruction
// errs most (k log-uniform, moved by up to 3 units either way).
#pragma once

#include <cmath>
#include <cstdint>

#include "support/sampling.h"

namespace x87_sin_cos_arguments {

template <class T>
T draw(support::Sampler &s, T limit, std::uint64_t i) {
  const double top = static_cast<double>(limit);
  switch (i % 4) {
    case 0:
      return static_cast<T>(s.uniform_signed(0, 4));
    case 1:
      return static_cast<T>(s.log_uniform_signed(0x1p-60, top));
    default: {
      const double k = std::nearbyint(s.log_uniform_signed(1, top / 1.6)) + (i % 4 == 3 ? 0.5 : 0);
      T x = static_cast<T>(k * 1.5707963267948966);
      const int m = static_cast<int>(s.bits() % 7) - 3;
      for (int j = 0; j < std::abs(m); ++j) x = std::nextafter(x, m > 0 ? limit : -limit);
      return std::fabs(x) < limit ? x : T(0);
    }
  }
}

}  // namespace x87_sin_cos_arguments
