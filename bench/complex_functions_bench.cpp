// Complex elementary functions beside glibc's: cabsf, csqrtf, cexpf,
// clogf, csinf, ccosf and the double forms; the quadrant forms beside
// csin and ccos of z pi/2 (the scaling in the reference's call); the
// Complex32 forms beside libquadmath's cexpq, clogq, csinq and ccosq.
// Operands: parts uniform in [-10, 10) (exponentials' real parts in [-10,
// 10) too; Complex32 parts the same doubles widened).
#include <quadmath.h>
#include <vexmorg/vexmorg.h>

#include <cstring>
#include <vector>

#include "bench.h"

extern "C" {
float cabsf(_Complex float);
double cabs(_Complex double);
_Complex float csqrtf(_Complex float);
_Complex double csqrt(_Complex double);
_Complex float cexpf(_Complex float);
_Complex double cexp(_Complex double);
_Complex float clogf(_Complex float);
_Complex double clog(_Complex double);
_Complex float csinf(_Complex float);
_Complex double csin(_Complex double);
_Complex float ccosf(_Complex float);
_Complex double ccos(_Complex double);
}

namespace {

Real16 widened(double v) {
  const __float128 q = v;
  Real16 r;
  std::memcpy(&r, &q, sizeof r);
  return r;
}

template <class C>
const std::vector<C> &operands() {
  using T = decltype(C{}.re);
  using V = std::conditional_t<sizeof(T) == 16, double, T>;
  static const std::vector<C> z = [] {
    const auto v = bench::uniform<V>(V(-10), V(10), 2 * bench::kArguments);
    std::vector<C> r(bench::kArguments);
    for (std::size_t i = 0; i < r.size(); ++i) {
      if constexpr (sizeof(T) == 16) {
        r[i] = {widened(v[2 * i]), widened(v[2 * i + 1])};
      } else {
        r[i] = {v[2 * i], v[2 * i + 1]};
      }
    }
    return r;
  }();
  return z;
}

template <class C, class F>
void run(benchmark::State &state, F f) {
  bench::each(state, operands<C>(), [&f](const C &z) { benchmark::DoNotOptimize(f(z)); });
}

// "complex_functions/<entry>" beside "complex_functions/<entry>~<reference>";
// `call` is the reference's expression of the native operand n.
#define VX_BENCH_CFUN(entry, C, reference, call)            \
  void bm_##entry(benchmark::State &state) {                \
    run<C>(state, [](const C &z) {                          \
      C r;                                                  \
      entry(&r, &z);                                        \
      return r;                                             \
    });                                                     \
  }                                                         \
  void bm_##entry##_ref(benchmark::State &state) {          \
    run<C>(state, [](const C &z) {                          \
      const bench::Native<C> n = bench::native(z);          \
      return call;                                          \
    });                                                     \
  }                                                         \
  BENCHMARK(bm_##entry)->Name("complex_functions/" #entry); \
  BENCHMARK(bm_##entry##_ref)->Name("complex_functions/" #entry "~" reference)

void bm_g_cabs(benchmark::State &state) {
  run<Complex8>(state, [](const Complex8 &z) { return g_cabs(&z); });
}
void bm_g_cabs_ref(benchmark::State &state) {
  run<Complex8>(state, [](const Complex8 &z) { return cabsf(bench::native(z)); });
}
void bm_g_cdabs(benchmark::State &state) {
  run<Complex16>(state, [](const Complex16 &z) { return g_cdabs(&z); });
}
void bm_g_cdabs_ref(benchmark::State &state) {
  run<Complex16>(state, [](const Complex16 &z) { return cabs(bench::native(z)); });
}
BENCHMARK(bm_g_cabs)->Name("complex_functions/g_cabs");
BENCHMARK(bm_g_cabs_ref)->Name("complex_functions/g_cabs~cabsf");
BENCHMARK(bm_g_cdabs)->Name("complex_functions/g_cdabs");
BENCHMARK(bm_g_cdabs_ref)->Name("complex_functions/g_cdabs~cabs");

constexpr float kHalfPiF = 1.57079633f;
constexpr double kHalfPi = 1.5707963267948966;

VX_BENCH_CFUN(g_csqrt, Complex8, "csqrtf", csqrtf(n));
VX_BENCH_CFUN(g_cexp, Complex8, "cexpf", cexpf(n));
VX_BENCH_CFUN(g_clog, Complex8, "clogf", clogf(n));
VX_BENCH_CFUN(g_csin, Complex8, "csinf", csinf(n));
VX_BENCH_CFUN(g_ccos, Complex8, "ccosf", ccosf(n));
VX_BENCH_CFUN(g_csinq, Complex8, "csinf(z pi/2)", csinf(n *kHalfPiF));
VX_BENCH_CFUN(g_ccosq, Complex8, "ccosf(z pi/2)", ccosf(n *kHalfPiF));
VX_BENCH_CFUN(g_cdsqrt, Complex16, "csqrt", csqrt(n));
VX_BENCH_CFUN(g_cdexp, Complex16, "cexp", cexp(n));
VX_BENCH_CFUN(g_cdlog, Complex16, "clog", clog(n));
VX_BENCH_CFUN(g_cdsin, Complex16, "csin", csin(n));
VX_BENCH_CFUN(g_cdcos, Complex16, "ccos", ccos(n));
VX_BENCH_CFUN(g_cdsinq, Complex16, "csin(z pi/2)", csin(n *kHalfPi));
VX_BENCH_CFUN(g_cdcosq, Complex16, "ccos(z pi/2)", ccos(n *kHalfPi));
const __float128 kHalfPiQ = [] {  // pi/2 rounded: 3fff921f b54442d1 8469898c c51701b8
  const Real16 bits = {{0xc51701b8, 0x8469898c, 0xb54442d1, 0x3fff921f}};
  __float128 q;
  std::memcpy(&q, &bits, sizeof q);
  return q;
}();
VX_BENCH_CFUN(g_cqexp, Complex32, "cexpq", cexpq(n));
VX_BENCH_CFUN(g_cqlog, Complex32, "clogq", clogq(n));
VX_BENCH_CFUN(g_cqsin, Complex32, "csinq", csinq(n));
VX_BENCH_CFUN(g_cqcos, Complex32, "ccosq", ccosq(n));
VX_BENCH_CFUN(g_cqsinq, Complex32, "csinq(z pi/2)", csinq(n *kHalfPiQ));
VX_BENCH_CFUN(g_cqcosq, Complex32, "ccosq(z pi/2)", ccosq(n *kHalfPiQ));

}  // namespace
