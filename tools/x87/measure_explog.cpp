// F2XM1 and FYL2X on this processor against MPFR: the numbers behind the
// models and bounds of the SSE routes of g_exp, g_dexp (exp_route.h) and the
// logarithms (log_route.h).
//
//   measure_explog [count] [seed]
//
// For each instruction: the largest error in units of the 64-bit
// significand's last place (of the exact value) and how many results
// differ from the exact value rounded to 64 bits, over `count` arguments of
// each kind:
//   f2xm1   r in [-1/2, 1/2], magnitudes log-uniform from 2^-66;
//   exp     the sequence of exp_x87 for Real8 x across (-745, 710) and
//           for Real4 x across (-104, 89): y = x FLDL2E rounded to 64 bits,
//           r = y - FRNDINT(y), F2XM1(r) + 1, FSCALE; compared with the same
//           steps where F2XM1 is the correctly rounded 2^r - 1;
//   fyl2x   FLDLN2 log2(x) and FLDLG2 log2(x) for Real8 and Real4 x over
//           the whole positive range and within 2^-10 of 1.
#include <mpfr.h>

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include "common/x87.h"

namespace {

using ld = long double;
namespace x87 = vx::x87;

std::mt19937_64 rng;

// What one instruction's results did over a run.
struct Tally {
  const char *name;
  std::uint64_t count = 0, not_nearest = 0;
  double max_ulps = 0;
  ld worst = 0;
};

void report(const Tally &t) {
  std::printf("%-28s %12" PRIu64 " arguments, %10" PRIu64
              " not the nearest 64-bit value, largest error %.4f units (at %La)\n",
              t.name, t.count, t.not_nearest, t.max_ulps, t.worst);
}

// Records `got` against the exact value e, for argument `arg`.
void record(Tally &t, ld got, const mpfr_t e, ld arg) {
  ++t.count;
  if (mpfr_zero_p(e)) {
    if (got != 0) t.not_nearest++, t.max_ulps = INFINITY, t.worst = arg;
    return;
  }
  if (mpfr_get_ld(e, MPFR_RNDN) != got) ++t.not_nearest;
  mpfr_t d;
  mpfr_init2(d, 256);
  mpfr_set_ld(d, got, MPFR_RNDN);
  mpfr_sub(d, d, e, MPFR_RNDN);
  // units of 2^(exp(e) - 64), e = m 2^exp(e) with m in [1/2, 1)
  mpfr_mul_2si(d, d, 64 - mpfr_get_exp(e), MPFR_RNDN);
  const double u = std::fabs(mpfr_get_d(d, MPFR_RNDN));
  if (u > t.max_ulps) t.max_ulps = u, t.worst = arg;
  mpfr_clear(d);
}

double uniform(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); }

// A long double with a random 64-bit significand and magnitude in
// [2^e, 2^(e+1)).
ld random_ld(int e) {
  const std::uint64_t m = rng() | (std::uint64_t{1} << 63);
  return std::ldexp(static_cast<ld>(m), e - 63) * ((rng() & 1) ? -1 : 1);
}

void measure_f2xm1(std::uint64_t n) {
  Tally t{"f2xm1 r in [-1/2, 1/2]"};
  mpfr_t e;
  mpfr_init2(e, 256);
  for (std::uint64_t i = 0; i < n; ++i) {
    const ld r = random_ld(-2 - static_cast<int>(rng() % 65));
    mpfr_set_ld(e, r, MPFR_RNDN);
    mpfr_exp2(e, e, MPFR_RNDN);
    mpfr_sub_ui(e, e, 1, MPFR_RNDN);
    record(t, x87::f2xm1(r), e, r);
  }
  report(t);
  mpfr_clear(e);
}

// exp_x87's steps with F2XM1 replaced by the correctly rounded 2^r - 1.
ld exp_model(ld x) {
  const ld y = x * x87::fldl2e();
  const ld k = x87::frndint(y);
  mpfr_t e;
  mpfr_init2(e, 256);
  mpfr_set_ld(e, y - k, MPFR_RNDN);
  mpfr_exp2(e, e, MPFR_RNDN);
  mpfr_sub_ui(e, e, 1, MPFR_RNDN);
  const ld f = mpfr_get_ld(e, MPFR_RNDN);
  mpfr_clear(e);
  return x87::fscale(f + 1, k);
}

void measure_exp(std::uint64_t n) {
  for (const bool real4 : {false, true}) {
    Tally t{real4 ? "exp sequence, Real4 x" : "exp sequence, Real8 x"};
    std::uint64_t differ = 0;
    ld first = 0;
    mpfr_t e;
    mpfr_init2(e, 256);
    for (std::uint64_t i = 0; i < n; ++i) {
      const ld x = real4 ? static_cast<float>(uniform(-104, 89)) : uniform(-745, 710);
      const ld r = x87::f2xm1(x * x87::fldl2e() - x87::frndint(x * x87::fldl2e()));
      const ld got = x87::fscale(r + 1, x87::frndint(x * x87::fldl2e()));
      const ld model = exp_model(x);
      if (std::memcmp(&got, &model, 10) != 0 && differ++ == 0) first = x;
      // the sequence against e^x itself
      mpfr_set_ld(e, x, MPFR_RNDN);
      mpfr_exp(e, e, MPFR_RNDN);
      record(t, got, e, x);
    }
    report(t);
    std::printf("%-28s %12" PRIu64
                " results differ from the model with a correctly rounded"
                " F2XM1 (first at %La)\n",
                "", differ, first);
    mpfr_clear(e);
  }
}

void measure_fyl2x(std::uint64_t n) {
  struct Constant {
    const char *name;
    ld (*load)();
  };
  for (const Constant c : {Constant{"ln2", x87::fldln2}, Constant{"lg2", x87::fldlg2}}) {
    for (const int kind : {0, 1, 2}) {  // Real8 anywhere, Real8 next to 1, Real4 anywhere
      char name[64];
      std::snprintf(name, sizeof name, "fyl2x %s, %s", c.name,
                    kind == 0   ? "Real8 x"
                    : kind == 1 ? "Real8 x near 1"
                                : "Real4 x");
      Tally t{name};
      mpfr_t e, k;
      mpfr_init2(e, 256);
      mpfr_init2(k, 64);
      mpfr_set_ld(k, c.load(), MPFR_RNDN);
      for (std::uint64_t i = 0; i < n; ++i) {
        ld x;
        if (kind == 0) {
          x = std::exp2(uniform(-1074, 1024));
        } else if (kind == 1) {
          x = 1 + std::ldexp(uniform(-1, 1), -static_cast<int>(rng() % 43) - 10);
        } else {
          x = static_cast<float>(std::exp2(uniform(-149, 128)));
        }
        if (!(x > 0) || std::isinf(x)) continue;
        mpfr_set_ld(e, x, MPFR_RNDN);
        mpfr_log2(e, e, MPFR_RNDN);
        mpfr_mul(e, e, k, MPFR_RNDN);
        record(t, x87::fyl2x(c.load(), x), e, x);
      }
      report(t);
      mpfr_clears(e, k, nullptr);
    }
  }
}

}  // namespace

int main(int argc, char **argv) {
  const std::uint64_t n = argc > 1 ? std::strtoull(argv[1], nullptr, 0) : 1000000;
  rng.seed(argc > 2 ? std::strtoull(argv[2], nullptr, 0) : 1);
  measure_f2xm1(n);
  measure_exp(n);
  measure_fyl2x(n);
}
