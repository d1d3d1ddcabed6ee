// Side-by-side benchmarks: each library entry beside what a user would call
// otherwise, over the same arguments, in one run.
//
// VX_BENCH_PAIR(family, ours, reference, args) registers two benchmarks,
// "family/ours" and "family/ours~reference"; tools/bench_report.py pairs
// them and writes the ratio (ours / reference) into docs/performance.md.
#pragma once

#include <benchmark/benchmark.h>
#include <quadmath.h>
#include <vexmorg/vexmorg.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <random>
#include <type_traits>
#include <vector>

namespace bench {

// Every benchmark cycles through this many distinct arguments (or operand
// pairs): more than a branch predictor learns over repeated passes, so that
// entries and references with data-dependent branches pay for them as they
// would on a user's data.
inline constexpr std::size_t kArguments = std::size_t{1} << 16;

// `count` arguments uniform in [lo, hi), fixed seed (two sets drawn with
// the same seed are the same stream scaled: give the second operand of a
// pair its own seed).
template <class T>
std::vector<T> uniform(T lo, T hi, std::size_t count = kArguments, std::uint64_t seed = 0xbe7c4) {
  std::mt19937_64 rng(seed);
  std::uniform_real_distribution<double> d(static_cast<double>(lo), static_cast<double>(hi));
  std::vector<T> v(count);
  for (T &x : v) x = static_cast<T>(d(rng));
  return v;
}

// Calls f(x) for every argument x in turn, one call per iteration (`args`
// has a power-of-two size).
template <class T, class F>
void each(benchmark::State &state, const std::vector<T> &args, F f) {
  std::size_t i = 0;
  for (auto _ : state) {
    f(args[i]);
    i = (i + 1) & (args.size() - 1);
  }
  state.SetItemsProcessed(state.iterations());
}

// Calls f(&x) for every argument, as the entries take it, keeping the result.
template <class T, class F>
void run(benchmark::State &state, const std::vector<T> &args, F f) {
  each(state, args, [&f](const T &x) { benchmark::DoNotOptimize(f(&x)); });
}

// A Real16 as the compiler's __float128: the same bits.
inline __float128 as_f128(const Real16 &x) { return std::bit_cast<__float128>(x); }

// The compiler's complex type of a library complex type, of the same layout.
template <class C>
using Native = std::conditional_t<
    std::is_same_v<C, Complex8>, _Complex float,
    std::conditional_t<std::is_same_v<C, Complex16>, _Complex double, __complex128>>;
template <class C>
Native<C> native(const C &z) {
  Native<C> n;
  std::memcpy(&n, &z, sizeof n);
  return n;
}

// A (y, x) argument pair of the two-argument functions.
template <class T>
struct Pair {
  T y, x;
};

// `count` pairs with y and x each uniform in [lo, hi), fixed seed.
template <class T>
std::vector<Pair<T>> uniform_pairs(T lo, T hi, std::size_t count = kArguments) {
  const std::vector<T> ys = uniform(lo, hi, 2 * count);
  std::vector<Pair<T>> v(count);
  for (std::size_t i = 0; i < count; ++i) v[i] = {ys[2 * i], ys[2 * i + 1]};
  return v;
}

// Calls f(&y, &x) for every pair, one call per iteration.
template <class T, class F>
void run2(benchmark::State &state, const std::vector<Pair<T>> &args, F f) {
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(f(&args[i].y, &args[i].x));
    i = (i + 1) & (args.size() - 1);
  }
  state.SetItemsProcessed(state.iterations());
}

}  // namespace bench

#define VX_BENCH_PAIR(family, ours, reference, args)                                \
  static void bm_##ours(benchmark::State &state) { bench::run(state, args, ours); } \
  static void bm_##ours##_ref(benchmark::State &state) {                            \
    bench::run(state, args, [](const auto *x) { return reference(*x); });           \
  }                                                                                 \
  BENCHMARK(bm_##ours)->Name(#family "/" #ours);                                    \
  BENCHMARK(bm_##ours##_ref)->Name(#family "/" #ours "~" #reference)

// The same for two-argument entries over (y, x) pairs: reference(y, x).
#define VX_BENCH_PAIR2(family, ours, reference, args)                                         \
  static void bm_##ours(benchmark::State &state) { bench::run2(state, args, ours); }          \
  static void bm_##ours##_ref(benchmark::State &state) {                                      \
    bench::run2(state, args, [](const auto *y, const auto *x) { return reference(*y, *x); }); \
  }                                                                                           \
  BENCHMARK(bm_##ours)->Name(#family "/" #ours);                                              \
  BENCHMARK(bm_##ours##_ref)->Name(#family "/" #ours "~" #reference)
