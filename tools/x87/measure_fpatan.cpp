// FPATAN against MPFR: how far the instruction's 64-bit result lies from
// atan2(y, x), in units of the 64-bit significand's last place (ulp64 of
// the exact value's binade), per class of arguments. The numbers behind
// the bound of the SSE routes in src/elem/inverse_trig/atan.cpp.
//
//   build/native/tools/x87/measure_fpatan [count per class] [seed]
//
// Per class: the largest error either way, the share of results that are
// the correctly rounded 64-bit value, and how many lie 1/2 to 1 ulp64 and
// beyond 1 ulp64 away; then a monotonicity scan of consecutive Real8
// arguments around a few points.
#include <mpfr.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "common/x87.h"

namespace {

using ld = long double;

struct Stats {
  double low = 0, high = 0;  // most negative and most positive error, ulp64
  std::uint64_t count = 0, rounded = 0, half = 0, beyond = 0;
};

// (F - atan2(y, x)) / ulp64, exact to the double it is printed as; also
// whether F is atan2(y, x) rounded to 64 bits.
double error(ld y, ld x, ld f, bool &correct) {
  mpfr_t my, mx, a, d;
  mpfr_inits2(256, my, mx, a, d, static_cast<mpfr_ptr>(nullptr));
  mpfr_set_ld(my, y, MPFR_RNDN);
  mpfr_set_ld(mx, x, MPFR_RNDN);
  mpfr_atan2(a, my, mx, MPFR_RNDN);
  correct = mpfr_get_ld(a, MPFR_RNDN) == f;
  mpfr_set_ld(d, f, MPFR_RNDN);
  mpfr_sub(d, d, a, MPFR_RNDN);
  // ulp64 of a: 2^(exponent - 64) with MPFR's exponent convention (a in [2^(e-1), 2^e))
  const long e = mpfr_zero_p(a) ? 0 : mpfr_get_exp(a);
  mpfr_mul_2si(d, d, 64 - e, MPFR_RNDN);
  const double r = mpfr_get_d(d, MPFR_RNDN);
  mpfr_clears(my, mx, a, d, static_cast<mpfr_ptr>(nullptr));
  return r;
}

void add(Stats &s, ld y, ld x) {
  const ld f = vx::x87::fpatan(y, x);
  bool correct = false;
  const double e = error(y, x, f, correct);
  if (e < s.low) s.low = e;
  if (e > s.high) s.high = e;
  ++s.count;
  s.rounded += correct;
  s.half += std::fabs(e) > 0.5 && std::fabs(e) <= 1;
  s.beyond += std::fabs(e) > 1;
}

void print(const char *name, const Stats &s) {
  std::printf(
      "%-34s %10llu  error %+.4f .. %+.4f ulp64  correctly rounded %.5f  (1/2,1] %llu  >1 %llu\n",
      name, static_cast<unsigned long long>(s.count), s.low, s.high,
      static_cast<double>(s.rounded) / static_cast<double>(s.count),
      static_cast<unsigned long long>(s.half), static_cast<unsigned long long>(s.beyond));
}

std::mt19937_64 rng;
double uniform(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); }
double log_uniform(double lo, double hi) { return std::exp(uniform(std::log(lo), std::log(hi))); }
double sign() { return rng() & 1 ? -1.0 : 1.0; }

// A class: y and x drawn by `draw`, as Real8 (or Real4, `real4`) values.
struct Class {
  const char *name;
  void (*draw)(double &y, double &x);
  bool real4;
};

const Class kClasses[] = {
    {"atan: x in [-1, 1]", [](double &y, double &x) { y = uniform(-1, 1), x = 1; }, false},
    {"atan: |x| in [1, 64]", [](double &y, double &x) { y = sign() * uniform(1, 64), x = 1; },
     false},
    {"atan: |x| in [2^-30, 2^30] log",
     [](double &y, double &x) { y = sign() * log_uniform(0x1p-30, 0x1p30), x = 1; }, false},
    {"atan: |x| tiny 2^-1000 .. 2^-30",
     [](double &y, double &x) { y = sign() * log_uniform(0x1p-1000, 0x1p-30), x = 1; }, false},
    {"atan: |x| huge 2^30 .. 2^1000",
     [](double &y, double &x) { y = sign() * log_uniform(0x1p30, 0x1p1000), x = 1; }, false},
    {"atan: x near 1 (1 +- 2^-20)",
     [](double &y, double &x) { y = 1 + uniform(-0x1p-20, 0x1p-20), x = 1; }, false},
    {"atan: Real4 x, log 2^-30 .. 2^30",
     [](double &y, double &x) {
       y = static_cast<float>(sign() * log_uniform(0x1p-30, 0x1p30)), x = 1;
     },
     true},
    {"atan2: x > 0, |y/x| log 2^-60..2^60",
     [](double &y, double &x) {
       x = log_uniform(1e-10, 1e10), y = sign() * x * log_uniform(0x1p-60, 0x1p60);
     },
     false},
    {"atan2: x < 0, |y/x| log 2^-60..2^60",
     [](double &y, double &x) {
       x = -log_uniform(1e-10, 1e10), y = sign() * -x * log_uniform(0x1p-60, 0x1p60);
     },
     false},
    {"atan2: x < 0, |y/x| < 2^-60 (near pi)",
     [](double &y, double &x) {
       x = -log_uniform(1e-10, 1e10), y = sign() * -x * log_uniform(0x1p-300, 0x1p-60);
     },
     false},
    {"atan2: |y/x| > 2^60 (near pi/2)",
     [](double &y, double &x) {
       x = sign() * log_uniform(1e-10, 1e10),
       y = sign() * std::fabs(x) * log_uniform(0x1p60, 0x1p300);
     },
     false},
    {"atan2: x < 0, |y| ~ |x| (3pi/4)",
     [](double &y, double &x) {
       x = -log_uniform(1e-10, 1e10), y = sign() * -x * (1 + uniform(-0x1p-10, 0x1p-10));
     },
     false},
    {"atan2: uniform [-10, 10]^2",
     [](double &y, double &x) { y = uniform(-10, 10), x = uniform(-10, 10); }, false},
    {"atan2: Real4 pairs, log, any signs",
     [](double &y, double &x) {
       y = static_cast<float>(sign() * log_uniform(1e-30, 1e30)),
       x = static_cast<float>(sign() * log_uniform(1e-30, 1e30));
     },
     true},
    {"atan2: subnormal y, x = +-1",
     [](double &y, double &x) { y = sign() * log_uniform(0x1p-1074, 0x1p-1022), x = sign(); },
     false},
};

// Whether FPATAN(y, 1) is monotone over n consecutive Real8 y upward from
// `from`; prints the first inversion.
void monotone(double from, int n) {
  double y = from;
  ld last = vx::x87::fpatan(y, 1);
  for (int i = 0; i < n; ++i) {
    y = std::nextafter(y, INFINITY);
    const ld f = vx::x87::fpatan(y, 1);
    if (f < last) {
      std::printf("monotone from %a: inversion at y = %a\n", from, y);
      return;
    }
    last = f;
  }
  std::printf("monotone from %a: %d steps, no inversion\n", from, n);
}

}  // namespace

int main(int argc, char **argv) {
  const std::uint64_t count = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 100000;
  rng.seed(argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 20261206);
  Stats all;
  for (const Class &c : kClasses) {
    Stats s;
    for (std::uint64_t i = 0; i < count; ++i) {
      double y, x;
      c.draw(y, x);
      add(s, y, x);
    }
    print(c.name, s);
    all.low = std::fmin(all.low, s.low), all.high = std::fmax(all.high, s.high);
    all.count += s.count, all.rounded += s.rounded, all.half += s.half, all.beyond += s.beyond;
  }
  print("all", all);
  // signed zeros and the pi offsets: FPATAN's exact cases
  const double zs[][2] = {{0.0, 1.0},   {-0.0, 1.0}, {0.0, -1.0},
                          {-0.0, -1.0}, {1.0, 0.0},  {1.0, -0.0}};
  for (const auto &z : zs)
    std::printf("fpatan(%g, %g) = %La\n", z[0], z[1], vx::x87::fpatan(z[0], z[1]));
  for (const double p : {0.5, 1.0, 0x1p-20, 3.0, 1e10}) monotone(p, 100000);
  return 0;
}
