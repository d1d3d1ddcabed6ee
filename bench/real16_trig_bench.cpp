// Real16 sines, cosines and tangents beside libquadmath's sinq, cosq and
// tanq; the degree and quadrant forms beside the radian call on the scaled
// argument, as a program without them would write it (sinq(x * pi/180)).
#include <quadmath.h>
#include <vexmorg/vexmorg.h>

#include <cstring>
#include <vector>

#include "bench.h"

namespace {

// Real16 arguments from Real8 ones uniform in [-limit, limit).
std::vector<Real16> arguments(double limit) {
  std::vector<Real16> v;
  for (double d : bench::uniform<double>(-limit, limit)) g_qextd(&v.emplace_back(), &d);
  return v;
}
const std::vector<Real16> radians = arguments(10), degrees = arguments(720),
                          quadrants = arguments(8);

// "real16_trig/<entry>" beside "real16_trig/<entry>~<reference>": the
// reference is libquadmath's `fn` on the argument times `scale`.
#define VX_BENCH_REAL16_TRIG(entry, args, fn, scale, label) \
  void bm_##entry(benchmark::State &state) {                \
    bench::each(state, args, [](const Real16 &x) {          \
      Real16 r;                                             \
      benchmark::DoNotOptimize(entry(&r, &x));              \
      benchmark::DoNotOptimize(r);                          \
    });                                                     \
  }                                                         \
  void bm_##entry##_ref(benchmark::State &state) {          \
    bench::each(state, args, [](const Real16 &x) {          \
      __float128 r = fn(bench::as_f128(x) * (scale));       \
      benchmark::DoNotOptimize(r);                          \
    });                                                     \
  }                                                         \
  BENCHMARK(bm_##entry)->Name("real16_trig/" #entry);       \
  BENCHMARK(bm_##entry##_ref)->Name("real16_trig/" #entry "~" label)

const __float128 kOne = 1, kPi = 4 * atanq(1), kDegree = kPi / 180, kQuadrant = kPi / 2;

VX_BENCH_REAL16_TRIG(g_qsin, radians, sinq, kOne, "sinq");
VX_BENCH_REAL16_TRIG(g_qcos, radians, cosq, kOne, "cosq");
VX_BENCH_REAL16_TRIG(g_qtan, radians, tanq, kOne, "tanq");
VX_BENCH_REAL16_TRIG(g_qsind, degrees, sinq, kDegree, "sinq(x pi/180)");
VX_BENCH_REAL16_TRIG(g_qcosd, degrees, cosq, kDegree, "cosq(x pi/180)");
VX_BENCH_REAL16_TRIG(g_qtand, degrees, tanq, kDegree, "tanq(x pi/180)");
VX_BENCH_REAL16_TRIG(g_qsinq, quadrants, sinq, kQuadrant, "sinq(x pi/2)");
VX_BENCH_REAL16_TRIG(g_qcosq, quadrants, cosq, kQuadrant, "cosq(x pi/2)");
VX_BENCH_REAL16_TRIG(g_qtanq, quadrants, tanq, kQuadrant, "tanq(x pi/2)");

void bm_g_qpscn(benchmark::State &state) {
  bench::each(state, radians, [](const Real16 &x) {
    Real16 s, c;
    g_qpscn(&x, &s, &c);
    benchmark::DoNotOptimize(s);
    benchmark::DoNotOptimize(c);
  });
}
void bm_g_qpscn_ref(benchmark::State &state) {
  bench::each(state, radians, [](const Real16 &x) {
    __float128 s, c;
    sincosq(bench::as_f128(x), &s, &c);
    benchmark::DoNotOptimize(s);
    benchmark::DoNotOptimize(c);
  });
}
BENCHMARK(bm_g_qpscn)->Name("real16_trig/g_qpscn");
BENCHMARK(bm_g_qpscn_ref)->Name("real16_trig/g_qpscn~sincosq");

}  // namespace
