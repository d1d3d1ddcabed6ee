// g_matmld and g_mt22blasd beside a plain loop of the same order and
// rounding (C zeroed; panels of 8 inner terms, or 64 for g_mt22blasd; for
// j, for i, the panel's sum in long double, C rounded to Real8), gfortran's
// MATMUL (matmul_bench.f90) and, where it is installed, OpenBLAS's DGEMM on
// one thread; g_mt21blasd beside OpenBLAS's DGEMV. Square contiguous n-by-n
// operands, entries uniform in [-1, 1); one product per iteration; items
// are multiply-adds (n^3, or n^2 for the matrix-vector products).
#include <vexmorg/vexmorg.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "bench.h"

extern "C" void gfortran_matmul(std::int32_t n, const double *a, const double *b, double *c);
#if VEXMORG_OPENBLAS
extern "C" void openblas_set_num_threads(int);
extern "C" void cblas_dgemm(int, int, int, int, int, int, double, const double *, int,
                            const double *, int, double, double *, int);
extern "C" void cblas_dgemv(int, int, int, int, double, const double *, int, const double *, int,
                            double, double *, int);
constexpr int kColMajor = 102, kNoTrans = 111;
#endif

namespace {

struct Product {
  std::int32_t n, size = 8, stride2, zero = 0;
  std::vector<double> a, b, c;
  std::int32_t cs[2], ce[2];
  ArrayDescriptor da{}, db{}, dc{};
  explicit Product(std::int32_t order)
      : n(order),
        stride2(8 * order),
        a(bench::uniform(-1.0, 1.0, std::size_t(order) * order)),
        b(a.rbegin(), a.rend()),
        c(a.size()) {
    for (ArrayDescriptor *d : {&da, &db}) {
      d->data_address = d == &da ? a.data() : b.data();
      d->rank = 2;
      d->dim[0] = {&size, &n}, d->dim[1] = {&stride2, &n};
    }
    dc.data_address = c.data(), dc.rank = 2, dc.dim[0] = {&cs[0], &ce[0]};
    dc.dim[1] = {&cs[1], &ce[1]};
  }
};

// kDepth 8: g_matmld's rounding, each panel summed from 0 and C added
// last; kDepth 64: g_mt22blasd's (n a multiple of 64 here), each panel
// summed from C(i,j).
template <std::int32_t kDepth>
void x87_loop(Product &p) {
  const std::int32_t n = p.n;
  std::fill(p.c.begin(), p.c.end(), 0.0);
  for (std::int32_t l0 = 0; l0 < n; l0 += kDepth)
    for (std::int32_t j = 0; j < n; ++j)
      for (std::int32_t i = 0; i < n; ++i) {
        double &c = p.c[j * n + i];
        long double s = kDepth == 8 ? 0.0L : c;
        for (std::int32_t l = l0; l < std::min(n, l0 + kDepth); ++l)
          s += static_cast<long double>(p.a[l * n + i]) * p.b[j * n + l];
        c = static_cast<double>(kDepth == 8 ? s + c : s);
      }
}

enum Route { kOurs, kLoop, kGfortran, kGemm, kGemmLoop, kOpenblas, kGemv, kOpenblasGemv };

template <int kOrder, Route kRoute>
void bm(benchmark::State &state) {
  Product p(kOrder);
  const MatmulArgs args{&p.dc, &p.da, &p.db};
  const char no = 'N';
  const double one = 1, zero = 0;
  const GemmCallArgs gemm{&p.dc, &p.da, &p.db, nullptr, &no,  &no,
                          &one,  &zero, &p.n,  &p.n,    &p.n, nullptr};
  ArrayDescriptor dx = p.db, dy = p.dc;  // the first column of B, the first of C
  dx.rank = dy.rank = 1, dy.dim[0] = {&p.size, &p.n};
  const GemvCallArgs gemv{&dy, &p.da, &dx, nullptr, &no, &one, &zero, &p.n};
#if VEXMORG_OPENBLAS
  openblas_set_num_threads(1);
#endif
  for (auto _ : state) {
    if (kRoute == kOurs) g_matmld(&args);
    if (kRoute == kLoop) x87_loop<8>(p);
    if (kRoute == kGemmLoop) x87_loop<64>(p);
    if (kRoute == kGfortran) gfortran_matmul(kOrder, p.a.data(), p.b.data(), p.c.data());
    if (kRoute == kGemm) g_mt22blasd(&gemm);
    if (kRoute == kGemv) g_mt21blasd(&gemv);
#if VEXMORG_OPENBLAS
    if (kRoute == kOpenblas)
      cblas_dgemm(kColMajor, kNoTrans, kNoTrans, kOrder, kOrder, kOrder, 1.0, p.a.data(), kOrder,
                  p.b.data(), kOrder, 0.0, p.c.data(), kOrder);
    if (kRoute == kOpenblasGemv)
      cblas_dgemv(kColMajor, kNoTrans, kOrder, kOrder, 1.0, p.a.data(), kOrder, p.b.data(), 1, 0.0,
                  p.c.data(), 1);
#endif
    benchmark::DoNotOptimize(p.c.data());
  }
  const bool vector = kRoute == kGemv || kRoute == kOpenblasGemv;
  state.SetItemsProcessed(state.iterations() * kOrder * kOrder * (vector ? 1 : kOrder));
}

#if VEXMORG_OPENBLAS
#define VX_BENCH_OPENBLAS(n)                                                     \
  BENCHMARK(bm<n, kOpenblas>)->Name("matmul/g_mt22blasd_" #n "~openblas_dgemm"); \
  BENCHMARK(bm<n, kOpenblasGemv>)->Name("matmul/g_mt21blasd_" #n "~openblas_dgemv")
#else
#define VX_BENCH_OPENBLAS(n)
#endif
#define VX_BENCH_MATMUL(n)                                                        \
  BENCHMARK(bm<n, kOurs>)->Name("matmul/g_matmld_" #n);                           \
  BENCHMARK(bm<n, kLoop>)->Name("matmul/g_matmld_" #n "~x87_loop");               \
  BENCHMARK(bm<n, kGfortran>)->Name("matmul/g_matmld_" #n "~gfortran_matmul");    \
  BENCHMARK(bm<n, kGemm>)->Name("matmul/g_mt22blasd_" #n);                        \
  BENCHMARK(bm<n, kGemmLoop>)->Name("matmul/g_mt22blasd_" #n "~x87_gemm_loop");   \
  BENCHMARK(bm<n, kGfortran>)->Name("matmul/g_mt22blasd_" #n "~gfortran_matmul"); \
  BENCHMARK(bm<n, kGemv>)->Name("matmul/g_mt21blasd_" #n);                        \
  VX_BENCH_OPENBLAS(n)
VX_BENCH_MATMUL(64);
VX_BENCH_MATMUL(256);
VX_BENCH_MATMUL(512);
VX_BENCH_MATMUL(1024);

}  // namespace
