// The Real16 exponentials, logarithms, cube root, hyperbolic, error and
// gamma functions beside libquadmath's expq ... lgammaq (10^x as powq(10,
// x)) over the same arguments (the two formats share their bit layout for
// normal numbers).
#include <quadmath.h>
#include <vexmorg/vexmorg.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "bench.h"

namespace {

// bench::kArguments arguments uniform in [lo, hi) (log-uniform for `log`), with random
// bits to the last place.
std::vector<Real16> arguments(double lo, double hi, bool log = false) {
  std::mt19937_64 rng(0x51ce);
  std::uniform_real_distribution<double> d(log ? std::log(lo) : lo, log ? std::log(hi) : hi);
  std::vector<Real16> v(bench::kArguments);
  for (Real16 &x : v) {
    const double t = d(rng);
    __float128 f = log ? std::exp(t) : t;
    f *= 1 + static_cast<__float128>(rng() >> 11) * static_cast<__float128>(std::ldexp(1.0, -106));
    std::memcpy(&x, &f, sizeof x);
  }
  return v;
}

// libquadmath has no exp10q: 10^x as powq(10, x).
__float128 powq10(__float128 x) { return powq(10, x); }

// "family/<entry>" beside "family/<entry>~<reference>".
#define VX_BENCH_Q(family, entry, ref, lo, hi, log)                                         \
  const std::vector<Real16> args_##entry = arguments(lo, hi, log);                          \
  void bm_##entry(benchmark::State &state) {                                                \
    bench::each(state, args_##entry, [](const Real16 &x) {                                  \
      Real16 r;                                                                             \
      benchmark::DoNotOptimize(entry(&r, &x));                                              \
      benchmark::DoNotOptimize(r);                                                          \
    });                                                                                     \
  }                                                                                         \
  void bm_##entry##_ref(benchmark::State &state) {                                          \
    bench::each(state, args_##entry,                                                        \
                [](const Real16 &x) { benchmark::DoNotOptimize(ref(bench::as_f128(x))); }); \
  }                                                                                         \
  BENCHMARK(bm_##entry)->Name(#family "/" #entry);                                          \
  BENCHMARK(bm_##entry##_ref)->Name(#family "/" #entry "~" #ref)

VX_BENCH_Q(real16_exp_log, g_qexp, expq, -100, 100, false);
VX_BENCH_Q(real16_exp_log, g_qexp2, exp2q, -100, 100, false);
VX_BENCH_Q(real16_exp_log, g_qexp10, powq10, -30, 30, false);
VX_BENCH_Q(real16_exp_log, g_qlog, logq, 1e-30, 1e30, true);
VX_BENCH_Q(real16_exp_log, g_qlog2, log2q, 1e-30, 1e30, true);
VX_BENCH_Q(real16_exp_log, g_qlog10, log10q, 1e-30, 1e30, true);
VX_BENCH_Q(real16_exp_log, g_qcbrt, cbrtq, 1e-30, 1e30, true);
VX_BENCH_Q(real16_hyperbolic, g_qsinh, sinhq, -20, 20, false);
VX_BENCH_Q(real16_hyperbolic, g_qcosh, coshq, -20, 20, false);
VX_BENCH_Q(real16_hyperbolic, g_qtanh, tanhq, -5, 5, false);
VX_BENCH_Q(real16_hyperbolic, g_qerf, erfq, -3, 3, false);
VX_BENCH_Q(real16_hyperbolic, g_qerfc, erfcq, -3, 10, false);
VX_BENCH_Q(real16_hyperbolic, g_qgamma, tgammaq, 0.1, 50, false);
VX_BENCH_Q(real16_hyperbolic, g_qlgama, lgammaq, 0.1, 1000, false);

}  // namespace
