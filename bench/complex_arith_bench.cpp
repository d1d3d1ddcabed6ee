// Complex products and quotients beside the compiler's complex arithmetic
// without -ffast-math: _Complex float, _Complex double and __complex128
// operators, which call libgcc's __mulsc3, __divsc3, __muldc3, __divdc3,
// __multc3 and __divtc3 (a product checks its inline result first and
// calls the routine only for NaN parts). Operands: components uniform in
// [-1e6, 1e6) for Complex8 and Complex16; Real16 components with exponents
// in [-64, 64) and random significands for Complex32.
#include <quadmath.h>
#include <vexmorg/vexmorg.h>

#include <cstring>
#include <random>
#include <vector>

#include "bench.h"

namespace {

template <class C>
std::vector<C> operands(std::uint64_t seed);

template <>
std::vector<Complex8> operands(std::uint64_t seed) {
  const auto v = bench::uniform<float>(-1e6f, 1e6f, 2 * bench::kArguments);
  std::vector<Complex8> z(bench::kArguments);
  for (std::size_t i = 0; i < z.size(); ++i) z[i] = {v[2 * i], v[(2 * i + seed) % v.size()]};
  return z;
}
template <>
std::vector<Complex16> operands(std::uint64_t seed) {
  const auto v = bench::uniform<double>(-1e6, 1e6, 2 * bench::kArguments);
  std::vector<Complex16> z(bench::kArguments);
  for (std::size_t i = 0; i < z.size(); ++i) z[i] = {v[(2 * i + seed) % v.size()], v[2 * i + 1]};
  return z;
}
template <>
std::vector<Complex32> operands(std::uint64_t seed) {
  std::mt19937_64 rng(seed);
  auto real16 = [&] {
    const std::uint64_t hi = rng(), lo = rng();
    const auto exp = static_cast<std::uint32_t>(0x3fff - 64 + rng() % 128);
    return Real16{{static_cast<std::uint32_t>(lo), static_cast<std::uint32_t>(lo >> 32),
                   static_cast<std::uint32_t>(hi),
                   (static_cast<std::uint32_t>(hi >> 32) & 0x8000ffff) | (exp << 16)}};
  };
  std::vector<Complex32> z(bench::kArguments);
  for (Complex32 &x : z) x = {real16(), real16()};
  return z;
}

template <class C, class F>
void run(benchmark::State &state, F f) {
  static const std::vector<C> left = operands<C>(1), right = operands<C>(2);
  std::size_t i = 0;
  for (auto _ : state) {
    f(left[i], right[i]);
    i = (i + 1) & 1023;
  }
  state.SetItemsProcessed(state.iterations());
}

// "complex_arith/<entry>" beside "complex_arith/<entry>~<routine>".
#define VX_BENCH_COMPLEX(entry, C, op, routine)                  \
  void bm_##entry(benchmark::State &state) {                     \
    run<C>(state, [](const C &a, const C &b) {                   \
      C r;                                                       \
      entry(&r, &a, &b);                                         \
      benchmark::DoNotOptimize(r);                               \
    });                                                          \
  }                                                              \
  void bm_##entry##_ref(benchmark::State &state) {               \
    run<C>(state, [](const C &a, const C &b) {                   \
      bench::Native<C> r = bench::native(a) op bench::native(b); \
      benchmark::DoNotOptimize(r);                               \
    });                                                          \
  }                                                              \
  BENCHMARK(bm_##entry)->Name("complex_arith/" #entry);          \
  BENCHMARK(bm_##entry##_ref)->Name("complex_arith/" #entry "~" #routine)

VX_BENCH_COMPLEX(g_acmc, Complex8, *, __mulsc3);
VX_BENCH_COMPLEX(g_acdc, Complex8, /, __divsc3);
VX_BENCH_COMPLEX(g_axmx, Complex16, *, __muldc3);
VX_BENCH_COMPLEX(g_axdx, Complex16, /, __divdc3);
VX_BENCH_COMPLEX(g_azmz, Complex32, *, __multc3);
VX_BENCH_COMPLEX(g_azdz, Complex32, /, __divtc3);

}  // namespace
