// Every positive Real4 argument of g_sinh, g_cosh and g_tanh against the
// bounds of hyperbolic_test (the sign is applied last: hyperbolic_test
// checks the symmetry). CTest label slow, not in the default run.
//
// libm's Real8 functions screen each result: their error (below 2^-50
// relative) is far below the 0.01 ulp of margin the screen keeps, and every
// argument whose screened error comes within that margin of its bound is
// measured again with MPFR, which decides. The printed maximum is the
// screened one.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

#include "support/checks.h"

namespace {

// Consecutive Real4 bit patterns [first, last] and their bound in ulps.
struct Stretch {
  std::uint32_t first, last;
  double bound;
};

void sweep(const char *name, support::Unary<float> fn, double (*screen)(double), oracle::Fn1 exact,
           std::initializer_list<Stretch> stretches) {
  oracle::Big e;
  for (const Stretch &s : stretches) {
    oracle::WorstCase worst;
    int failures = 0;
    for (std::uint32_t b = s.first;; ++b) {
      const float x = std::bit_cast<float>(b);
      const float got = fn(&x);
      const double want = screen(x);
      double err = std::fabs(got - want) / support::ulp_of<float>(want);
      if (!(err <= s.bound - 0.01)) {
        oracle::exact(e, exact, x);
        err = oracle::ulp_error(got, e);
        if (!(err <= s.bound) && ++failures <= 5)
          ADD_FAILURE() << name << "(" << std::hexfloat << x << ") = " << got << ": " << err
                        << " ulp";
      }
      worst.add(err, x);
      if (b == s.last) break;
    }
    std::printf("  %-7s [%08x, %08x] %s\n", name, s.first, s.last, worst.describe().c_str());
  }
}

// The switch points 1 (included in the series), 8.32, 88.722 and the limit
// 89.415 (excluded); tanh's 1 and 9, and 20, from which tanh is 1 to within
// 2^-57.
TEST(Exhaustive4, Sinh) {
  sweep("g_sinh", g_sinh, [](double x) { return std::sinh(x); }, mpfr_sinh,
        {{0, 0x3f800000, 1.2},
         {0x3f800001, 0x41051eb7, 1.85},
         {0x41051eb8, 0x42b171a9, 1.01},
         {0x42b171aa, 0x42b2d47a, 0.51}});
}

TEST(Exhaustive4, Cosh) {
  sweep("g_cosh", g_cosh, [](double x) { return std::cosh(x); }, mpfr_cosh,
        {{0, 0x3f800000, 0.6},
         {0x3f800001, 0x41051eb7, 1.1},
         {0x41051eb8, 0x42b171a9, 1.01},
         {0x42b171aa, 0x42b2d47a, 0.51}});
}

TEST(Exhaustive4, Tanh) {
  sweep("g_tanh", g_tanh, [](double x) { return std::tanh(x); }, mpfr_tanh,
        {{0, 0x3f800000, 0.8}, {0x3f800001, 0x410fffff, 0.51}, {0x41100000, 0x41a00000, 0.512}});
}

}  // namespace
