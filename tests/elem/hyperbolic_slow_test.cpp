// Every positive Real4 argument of g_sinh, g_cosh, g_tanh and g_scnsq
// (the functions are odd or even by construction: the sign is applied
// last), against the bounds of sinh_cosh_test, tanh_test and pairs_test.
// Runs under the `slow` label only.
//
// glibc's Real8 functions screen each result: their error (below 2^-50
// relative, the quadrant ones reduced exactly first) is far below the 0.01
// ulp of margin the screen keeps, and every argument whose screened error
// comes within that margin of its bound is measured again with MPFR, which
// decides. The printed maximum is the screened one; one run (6 minutes on
// two shared cores) measured, range by range:
//   g_sinh  1.099, 1.558, 0.9974, 0.5      g_cosh  0.546, 1.0, 0.9986, 0.5
//   g_tanh  0.710, 0.5, 0.511              g_scnsq 0.5017 (sine and cosine)
#include <gtest/gtest.h>

#include <bit>
#include <cmath>

#include "support/checks.h"

namespace {

// A stretch of consecutive Real4 bit patterns and its bound in ulps.
struct Stretch {
  std::uint32_t first, last;
  double bound;
};

template <class Fn, class Ref>
void sweep(const char *name, Fn fn, Ref reference, oracle::Fn1 exact,
           std::initializer_list<Stretch> stretches) {
  oracle::Big e;
  for (const Stretch &s : stretches) {
    oracle::WorstCase worst;
    int failures = 0;
    for (std::uint32_t b = s.first;; ++b) {
      const float x = std::bit_cast<float>(b);
      const float got = fn(x);
      const double want = reference(static_cast<double>(x));
      double err = std::fabs(static_cast<double>(got) - want) / support::ulp_of<float>(want);
      if (!(err <= s.bound - 0.01)) {
        oracle::exact(e, exact, static_cast<double>(x));
        err = oracle::ulp_error(got, e);
        if (!(err <= s.bound) && ++failures <= 5)
          ADD_FAILURE() << name << "(" << std::hexfloat << x << ") = " << got << ": " << err
                        << " ulp > " << s.bound;
      }
      worst.add(err, static_cast<double>(x));
      if (b == s.last) break;
    }
    std::printf("  %-8s [%08x, %08x] %s\n", name, s.first, s.last, worst.describe().c_str());
  }
}

constexpr std::uint32_t kOne = 0x3f800000;

TEST(Exhaustive4, Sinh) {
  sweep(
      "g_sinh", [](float x) { return g_sinh(&x); }, [](double x) { return std::sinh(x); },
      mpfr_sinh,
      {{0, kOne, 1.2},
       {kOne + 1, 0x41051eb7, 1.85},
       {0x41051eb8, 0x42b171a9, 1.01},
       {0x42b171aa, 0x42b2d47a, 0.51}});
}

TEST(Exhaustive4, Cosh) {
  sweep(
      "g_cosh", [](float x) { return g_cosh(&x); }, [](double x) { return std::cosh(x); },
      mpfr_cosh,
      {{0, kOne, 0.6},
       {kOne + 1, 0x41051eb7, 1.1},
       {0x41051eb8, 0x42b171a9, 1.01},
       {0x42b171aa, 0x42b2d47a, 0.51}});
}

TEST(Exhaustive4, Tanh) {
  // From 20 on tanh is 1 to within 2^-57: nothing left to see.
  sweep(
      "g_tanh", [](float x) { return g_tanh(&x); }, [](double x) { return std::tanh(x); },
      mpfr_tanh, {{0, kOne, 0.8}, {kOne + 1, 0x410fffff, 0.51}, {0x41100000, 0x41a00000, 0.512}});
}

// sin and cos of x pi/2 in Real8 after an exact reduction: x = k + r,
// |r| <= 1/2, then the quadrant k mod 4.
double quadrant(double x, bool cosine) {
  const double k = std::nearbyint(x);
  const double r = (x - k) * 1.5707963267948966;
  const double s = std::sin(r), c = std::cos(r);
  const auto q = static_cast<unsigned>(static_cast<std::int64_t>(k) & 3) + (cosine ? 1 : 0);
  const double values[4] = {s, c, -s, -c};
  return values[q & 3];
}

Complex8 pair_at(float x) {
  Complex8 r;
  g_scnsq(&r, &x);
  return r;
}

int sin_quadrant(mpfr_ptr out, mpfr_srcptr x, mpfr_rnd_t rnd) { return mpfr_sinu(out, x, 4, rnd); }
int cos_quadrant(mpfr_ptr out, mpfr_srcptr x, mpfr_rnd_t rnd) { return mpfr_cosu(out, x, 4, rnd); }

TEST(Exhaustive4, QuadrantPair) {
  // Up to 2^23; from there on the values are exact (pairs_test).
  sweep(
      "g_scnsq sin", [](float x) { return pair_at(x).re; },
      [](double x) { return quadrant(x, false); }, sin_quadrant, {{0, 0x4b000000, 0.502}});
  sweep(
      "g_scnsq cos", [](float x) { return pair_at(x).im; },
      [](double x) { return quadrant(x, true); }, cos_quadrant, {{0, 0x4b000000, 0.502}});
}

}  // namespace
