// Real16 arc sines, arc cosines and arc tangents beside libquadmath's
// asinq, acosq, atanq and atan2q over the same arguments; the degree and
// quadrant forms beside the radian call times 180/pi or 2/pi.
#include <quadmath.h>
#include <vexmorg/vexmorg.h>

#include <cstring>
#include <random>
#include <vector>

#include "bench.h"

namespace {

// |x| = m 2^e, m in [1, 2) random, e uniform in [lo, hi], random sign.
std::vector<Real16> arguments(std::uint64_t seed, int lo, int hi) {
  std::mt19937_64 rng(seed);
  std::vector<Real16> v(bench::kArguments);
  for (Real16 &x : v) {
    const std::uint64_t f = rng(), g = rng();
    const auto e =
        static_cast<std::uint32_t>(0x3fff + lo + static_cast<int>(rng() % (hi - lo + 1)));
    x = {{static_cast<std::uint32_t>(g), static_cast<std::uint32_t>(g >> 32),
          static_cast<std::uint32_t>(f),
          (static_cast<std::uint32_t>(f >> 32) & 0x8000ffff) | e << 16}};
  }
  return v;
}
// Below 1 in magnitude (exponents -8 to -1: every path of the arc sine but
// the last 2^-16 before 1), and a wide range for the arc tangents.
const std::vector<Real16> below_one = arguments(1, -8, -1), wide = arguments(2, -12, 12),
                          wide2 = arguments(3, -12, 12);

const __float128 kPi = 4 * atanq(1), kDegrees = 180 / kPi, kQuadrants = 2 / kPi;

// One call of a one- or two-argument entry.
Real16 *call(Real16 *(*f)(Real16 *, const Real16 *), Real16 *r, const Real16 &y, const Real16 &) {
  return f(r, &y);
}
Real16 *call(Real16 *(*f)(Real16 *, const Real16 *, const Real16 *), Real16 *r, const Real16 &y,
             const Real16 &x) {
  return f(r, &y, &x);
}

template <class F>
void run(benchmark::State &state, const std::vector<Real16> &args, F f) {
  std::size_t i = 0;
  for (auto _ : state) {
    f(args[i], wide2[i]);
    i = (i + 1) & 1023;
  }
  state.SetItemsProcessed(state.iterations());
}

// "real16_inverse_trig/<entry>" beside "real16_inverse_trig/<entry>~<expression>".
#define VX_BENCH_ARC(entry, args, reference)                         \
  void bm_##entry(benchmark::State &state) {                         \
    run(state, args, [](const Real16 &y, const Real16 &x) {          \
      Real16 r;                                                      \
      benchmark::DoNotOptimize(call(entry, &r, y, x));               \
      benchmark::DoNotOptimize(r);                                   \
    });                                                              \
  }                                                                  \
  void bm_##entry##_ref(benchmark::State &state) {                   \
    run(state, args, [](const Real16 &y, const Real16 &x) {          \
      const __float128 a = bench::as_f128(y), b = bench::as_f128(x); \
      (void)b;                                                       \
      __float128 r = reference;                                      \
      benchmark::DoNotOptimize(r);                                   \
    });                                                              \
  }                                                                  \
  BENCHMARK(bm_##entry)->Name("real16_inverse_trig/" #entry);        \
  BENCHMARK(bm_##entry##_ref)->Name("real16_inverse_trig/" #entry "~" #reference)

VX_BENCH_ARC(g_qasin, below_one, asinq(a));
VX_BENCH_ARC(g_qacos, below_one, acosq(a));
VX_BENCH_ARC(g_qatan, wide, atanq(a));
VX_BENCH_ARC(g_qatan2, wide, atan2q(a, b));
VX_BENCH_ARC(g_qasind, below_one, asinq(a) * kDegrees);
VX_BENCH_ARC(g_qacosd, below_one, acosq(a) * kDegrees);
VX_BENCH_ARC(g_qatand, wide, atanq(a) * kDegrees);
VX_BENCH_ARC(g_qatan2d, wide, atan2q(a, b) * kDegrees);
VX_BENCH_ARC(g_qasinq, below_one, asinq(a) * kQuadrants);
VX_BENCH_ARC(g_qacosq, below_one, acosq(a) * kQuadrants);
VX_BENCH_ARC(g_qatanq, wide, atanq(a) * kQuadrants);
VX_BENCH_ARC(g_qatan2q, wide, atan2q(a, b) * kQuadrants);

}  // namespace
