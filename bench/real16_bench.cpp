// Real16 arithmetic and conversions beside libgcc's __float128 operators,
// libquadmath's sqrtq and the __float128 casts, over the same operands
// (the two formats share their bit layout for normal numbers).
#include <quadmath.h>
#include <vexmorg/vexmorg.h>

#include <cstring>
#include <random>
#include <vector>

#include "bench.h"

namespace {

// Operands with exponents in [-64, 64) and random significands: results
// stay normal.
std::vector<Real16> operands(std::uint64_t seed) {
  std::mt19937_64 rng(seed);
  std::vector<Real16> v(bench::kArguments);
  for (Real16 &x : v) {
    const std::uint64_t hi = rng(), lo = rng();
    const auto exp = static_cast<std::uint32_t>(0x3fff - 64 + rng() % 128);
    x.w[0] = static_cast<std::uint32_t>(lo);
    x.w[1] = static_cast<std::uint32_t>(lo >> 32);
    x.w[2] = static_cast<std::uint32_t>(hi);
    x.w[3] = (static_cast<std::uint32_t>(hi >> 32) & 0x8000ffff) | (exp << 16);
  }
  return v;
}

const std::vector<Real16> left = operands(1), right = operands(2);

template <class F>
void run_binary(benchmark::State &state, F f) {
  std::size_t i = 0;
  for (auto _ : state) {
    f(left[i], right[i]);
    i = (i + 1) & 1023;
  }
  state.SetItemsProcessed(state.iterations());
}

// "real16/<entry>" beside "real16/<entry>~<reference>".
#define VX_BENCH_REAL16_BINARY(entry, op)                    \
  void bm_##entry(benchmark::State &state) {                 \
    run_binary(state, [](const Real16 &a, const Real16 &b) { \
      Real16 r;                                              \
      benchmark::DoNotOptimize(entry(&r, &a, &b));           \
      benchmark::DoNotOptimize(r);                           \
    });                                                      \
  }                                                          \
  void bm_##entry##_ref(benchmark::State &state) {           \
    run_binary(state, [](const Real16 &a, const Real16 &b) { \
      __float128 r = bench::as_f128(a) op bench::as_f128(b); \
      benchmark::DoNotOptimize(r);                           \
    });                                                      \
  }                                                          \
  BENCHMARK(bm_##entry)->Name("real16/" #entry);             \
  BENCHMARK(bm_##entry##_ref)->Name("real16/" #entry "~__float128 " #op)

VX_BENCH_REAL16_BINARY(g_aqaq, +);
VX_BENCH_REAL16_BINARY(g_aqsq, -);
VX_BENCH_REAL16_BINARY(g_aqmq, *);
VX_BENCH_REAL16_BINARY(g_aqdq, /);

void bm_g_qsqrt(benchmark::State &state) {
  bench::each(state, left, [](const Real16 &x) {
    Real16 a = x, r;
    a.w[3] &= 0x7fffffff;
    benchmark::DoNotOptimize(g_qsqrt(&r, &a));
    benchmark::DoNotOptimize(r);
  });
}
void bm_g_qsqrt_ref(benchmark::State &state) {
  bench::each(state, left, [](const Real16 &x) {
    __float128 r = sqrtq(fabsq(bench::as_f128(x)));
    benchmark::DoNotOptimize(r);
  });
}
BENCHMARK(bm_g_qsqrt)->Name("real16/g_qsqrt");
BENCHMARK(bm_g_qsqrt_ref)->Name("real16/g_qsqrt~sqrtq");

void bm_g_afgt(benchmark::State &state) {
  run_binary(state,
             [](const Real16 &a, const Real16 &b) { benchmark::DoNotOptimize(g_afgt(&a, &b)); });
}
void bm_g_afgt_ref(benchmark::State &state) {
  run_binary(state, [](const Real16 &a, const Real16 &b) {
    benchmark::DoNotOptimize(bench::as_f128(a) > bench::as_f128(b));
  });
}
BENCHMARK(bm_g_afgt)->Name("real16/g_afgt");
BENCHMARK(bm_g_afgt_ref)->Name("real16/g_afgt~__float128 >");

const auto doubles = bench::uniform<double>(-1e6, 1e6);
const auto floats = bench::uniform<float>(-1e6f, 1e6f);
const auto int64s = [] {
  std::mt19937_64 rng(3);
  std::vector<std::int64_t> v(bench::kArguments);
  for (auto &n : v) n = static_cast<std::int64_t>(rng()) >> (rng() % 63);
  return v;
}();

// Conversions from the other types: one argument through bench::run.
Real16 g_qextd_value(const double *x) {
  Real16 r;
  g_qextd(&r, x);
  return r;
}
Real16 g_qext_value(const float *x) {
  Real16 r;
  g_qext(&r, x);
  return r;
}
Real16 g_aqcj_value(const std::int64_t *n) {
  Real16 r;
  g_aqcj(&r, n);
  return r;
}
__float128 to_f128(double x) { return x; }
__float128 to_f128(float x) { return x; }
__float128 to_f128(std::int64_t n) { return static_cast<__float128>(n); }

}  // namespace

VX_BENCH_PAIR(real16, g_qextd_value, to_f128, doubles);
VX_BENCH_PAIR(real16, g_qext_value, to_f128, floats);
VX_BENCH_PAIR(real16, g_aqcj_value, to_f128, int64s);

namespace {

void bm_g_dbleq(benchmark::State &state) {
  bench::each(state, left, [](const Real16 &x) { benchmark::DoNotOptimize(g_dbleq(&x)); });
}
void bm_g_dbleq_ref(benchmark::State &state) {
  bench::each(state, left, [](const Real16 &x) {
    benchmark::DoNotOptimize(static_cast<double>(bench::as_f128(x)));
  });
}
void bm_g_snglq(benchmark::State &state) {
  bench::each(state, left, [](const Real16 &x) { benchmark::DoNotOptimize(g_snglq(&x)); });
}
void bm_g_snglq_ref(benchmark::State &state) {
  bench::each(state, left, [](const Real16 &x) {
    benchmark::DoNotOptimize(static_cast<float>(bench::as_f128(x)));
  });
}
void bm_g_ajcq(benchmark::State &state) {
  bench::each(state, left, [](const Real16 &x) { benchmark::DoNotOptimize(g_ajcq(&x)); });
}
void bm_g_ajcq_ref(benchmark::State &state) {
  bench::each(state, left, [](const Real16 &x) {
    benchmark::DoNotOptimize(static_cast<std::int64_t>(bench::as_f128(x)));
  });
}
BENCHMARK(bm_g_dbleq)->Name("real16/g_dbleq");
BENCHMARK(bm_g_dbleq_ref)->Name("real16/g_dbleq~(double)__float128");
BENCHMARK(bm_g_snglq)->Name("real16/g_snglq");
BENCHMARK(bm_g_snglq_ref)->Name("real16/g_snglq~(float)__float128");
BENCHMARK(bm_g_ajcq)->Name("real16/g_ajcq");
BENCHMARK(bm_g_ajcq_ref)->Name("real16/g_ajcq~(int64_t)__float128");

}  // namespace
