// The ** operators beside what a program would call otherwise: gfortran's
// own x ** n (power_reference.f90) for the integer powers, glibc's powf,
// pow, exp2f, exp2, exp10f, exp10 and libquadmath's powq and exp2q for the
// real powers.
#include <vexmorg/vexmorg.h>

#include <cmath>
#include <complex>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

#include "bench.h"

extern "C" {
#include <quadmath.h>
float f_powi4(const float *x, const std::int32_t *n);
double f_powi8(const double *x, const std::int32_t *n);
float f_powj4(const float *x, const std::int64_t *n);
double f_powj8(const double *x, const std::int64_t *n);
void f_cpowi8(Complex8 *r, const Complex8 *x, const std::int32_t *n);
void f_cpowi16(Complex16 *r, const Complex16 *x, const std::int32_t *n);
void f_qpowi(__float128 *r, const __float128 *x, const std::int32_t *n);
}

namespace {

// A base and an exponent; bases uniform in [0.5, 2), exponents uniform in
// [-40, 40] (the common small ones, both signs).
template <class X, class N>
struct Operands {
  X x;
  N n;
};

template <class X, class N>
std::vector<Operands<X, N>> operands(X (*make)(double, double)) {
  const auto re = bench::uniform<double>(0.5, 2.0);
  const auto im = bench::uniform<double>(-1.0, 1.0, bench::kArguments, 2);
  const auto ns = bench::uniform<double>(-40.5, 40.5, bench::kArguments, 3);
  std::vector<Operands<X, N>> v(bench::kArguments);
  for (std::size_t i = 0; i < v.size(); ++i)
    v[i] = {make(re[i], im[i]), static_cast<N>(std::lround(ns[i]))};
  return v;
}

template <class X, class N, class F>
void run_xn(benchmark::State &state, const std::vector<Operands<X, N>> &args, F f) {
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(f(args[i].x, args[i].n));
    i = (i + 1) & (args.size() - 1);
  }
  state.SetItemsProcessed(state.iterations());
}

Real16 to_real16(double re, double) {
  Real16 r;
  g_qextd(&r, &re);
  return r;
}

const auto r4i = operands<float, std::int32_t>([](double a, double) { return float(a); });
const auto r8i = operands<double, std::int32_t>([](double a, double) { return a; });
const auto r4j = operands<float, std::int64_t>([](double a, double) { return float(a); });
const auto r8j = operands<double, std::int64_t>([](double a, double) { return a; });
const auto c8i = operands<Complex8, std::int32_t>([](double a, double b) {
  return Complex8{float(a), float(b)};
});
const auto c16i = operands<Complex16, std::int32_t>([](double a, double b) {
  return Complex16{a, b};
});
const auto q16i = operands<Real16, std::int32_t>(to_real16);

// The entries and references as functions of (x, n).
template <auto fn, class X, class N>
auto value_of(const X &x, const N &n) {
  return fn(&x, &n);
}
template <auto fn, class R, class X, class N>
R stored(const X &x, const N &n) {
  R r;
  if constexpr (std::is_same_v<R, __float128>) {
    __float128 q;  // a Real16 is 4-byte aligned; __float128 loads need 16
    std::memcpy(&q, &x, sizeof q);
    fn(&r, &q, &n);
  } else {
    fn(&r, &x, &n);
  }
  return r;
}

#define VX_BENCH_XN(ours, reference, args, call_ours, call_ref)                    \
  void bm_##ours(benchmark::State &state) { run_xn(state, args, call_ours); }      \
  void bm_##ours##_ref(benchmark::State &state) { run_xn(state, args, call_ref); } \
  BENCHMARK(bm_##ours)->Name("power_int/" #ours);                                  \
  BENCHMARK(bm_##ours##_ref)->Name("power_int/" #ours "~" #reference)

VX_BENCH_XN(g_arxi, f_powi4, r4i, (value_of<g_arxi, float, std::int32_t>),
            (value_of<f_powi4, float, std::int32_t>));
VX_BENCH_XN(g_adxi, f_powi8, r8i, (value_of<g_adxi, double, std::int32_t>),
            (value_of<f_powi8, double, std::int32_t>));
VX_BENCH_XN(g_arxj, f_powj4, r4j, (value_of<g_arxj, float, std::int64_t>),
            (value_of<f_powj4, float, std::int64_t>));
VX_BENCH_XN(g_adxj, f_powj8, r8j, (value_of<g_adxj, double, std::int64_t>),
            (value_of<f_powj8, double, std::int64_t>));
VX_BENCH_XN(g_acxi, f_cpowi8, c8i, (stored<g_acxi, Complex8, Complex8, std::int32_t>),
            (stored<f_cpowi8, Complex8, Complex8, std::int32_t>));
VX_BENCH_XN(g_axxi, f_cpowi16, c16i, (stored<g_axxi, Complex16, Complex16, std::int32_t>),
            (stored<f_cpowi16, Complex16, Complex16, std::int32_t>));
VX_BENCH_XN(g_aqxi, f_qpowi, q16i, (stored<g_aqxi, Real16, Real16, std::int32_t>),
            (stored<f_qpowi, __float128, Real16, std::int32_t>));

// ---- Real powers: x in [0.1, 10), y in [-10, 10) ---------------------------

const auto xs4 = bench::uniform<float>(0.1f, 10.0f);
const auto ys4 = bench::uniform<float>(-10.0f, 10.0f, bench::kArguments, 2);
const auto xs8 = bench::uniform<double>(0.1, 10.0);
const auto ys8 = bench::uniform<double>(-10.0, 10.0, bench::kArguments, 2);
const auto ts4 = bench::uniform<float>(-30.0f, 30.0f);  // 2**x, 10**x
const auto ts8 = bench::uniform<double>(-300.0, 300.0);

template <class T, class F>
void run_xy(benchmark::State &state, const std::vector<T> &xs, const std::vector<T> &ys, F f) {
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(f(&xs[i], &ys[i]));
    i = (i + 1) & (xs.size() - 1);
  }
  state.SetItemsProcessed(state.iterations());
}

void bm_g_arxr(benchmark::State &s) { run_xy(s, xs4, ys4, g_arxr); }
void bm_g_arxr_ref(benchmark::State &s) {
  run_xy(s, xs4, ys4, [](const float *x, const float *y) { return powf(*x, *y); });
}
void bm_g_adxd(benchmark::State &s) { run_xy(s, xs8, ys8, g_adxd); }
void bm_g_adxd_ref(benchmark::State &s) {
  run_xy(s, xs8, ys8, [](const double *x, const double *y) { return pow(*x, *y); });
}
BENCHMARK(bm_g_arxr)->Name("real_power/g_arxr");
BENCHMARK(bm_g_arxr_ref)->Name("real_power/g_arxr~powf");
BENCHMARK(bm_g_adxd)->Name("real_power/g_adxd");
BENCHMARK(bm_g_adxd_ref)->Name("real_power/g_adxd~pow");

VX_BENCH_PAIR(real_power, g_a2xr, exp2f, ts4);
VX_BENCH_PAIR(real_power, g_a2xd, exp2, ts8);
VX_BENCH_PAIR(real_power, g_atxr, exp10f, ts4);
VX_BENCH_PAIR(real_power, g_atxd, exp10, ts8);

// Real16: x in [0.1, 10), y in [-10, 10); 2**x and 10**x over [-300, 300).
std::vector<Real16> widened(const std::vector<double> &v) {
  std::vector<Real16> q(v.size());
  for (std::size_t i = 0; i < v.size(); ++i) g_qextd(&q[i], &v[i]);
  return q;
}
const auto xq = widened(xs8), yq = widened(ys8), tq = widened(ts8);

void bm_g_aqxq(benchmark::State &state) {
  run_xy(state, xq, yq, [](const Real16 *x, const Real16 *y) {
    Real16 r;
    return *g_aqxq(&r, x, y);
  });
}
void bm_g_aqxq_ref(benchmark::State &state) {
  run_xy(state, xq, yq, [](const Real16 *x, const Real16 *y) {
    __float128 a, b;
    std::memcpy(&a, x, 16), std::memcpy(&b, y, 16);
    return powq(a, b);
  });
}
void bm_g_a2xq(benchmark::State &state) {
  bench::run(state, tq, [](const Real16 *x) {
    Real16 r;
    return *g_a2xq(&r, x);
  });
}
void bm_g_a2xq_ref(benchmark::State &state) {
  bench::run(state, tq, [](const Real16 *x) {
    __float128 a;
    std::memcpy(&a, x, 16);
    return exp2q(a);
  });
}
void bm_g_atxq(benchmark::State &state) {
  bench::run(state, tq, [](const Real16 *x) {
    Real16 r;
    return *g_atxq(&r, x);
  });
}
void bm_g_atxq_ref(benchmark::State &state) {
  bench::run(state, tq, [](const Real16 *x) {
    __float128 a;
    std::memcpy(&a, x, 16);
    return powq(10, a);
  });
}
BENCHMARK(bm_g_aqxq)->Name("real_power/g_aqxq");
BENCHMARK(bm_g_aqxq_ref)->Name("real_power/g_aqxq~powq");
BENCHMARK(bm_g_a2xq)->Name("real_power/g_a2xq");
BENCHMARK(bm_g_a2xq_ref)->Name("real_power/g_a2xq~exp2q");
BENCHMARK(bm_g_atxq)->Name("real_power/g_atxq");
BENCHMARK(bm_g_atxq_ref)->Name("real_power/g_atxq~powq(10, x)");

}  // namespace
