// The model intrinsics, MODULO and MERGE beside what a program would write
// without them: libm's frexp, ldexp, ilogb, nextafter, floor and fmod (and
// libquadmath's for Real16), over the same arguments. The references of
// MERGE are the plain select compiled out of line, so that both sides pay
// one call.
#include <quadmath.h>
#include <vexmorg/vexmorg.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <vector>

#include "bench.h"

namespace {

const auto xs4 = bench::uniform<float>(-1e6f, 1e6f);
const auto xs8 = bench::uniform<double>(-1e6, 1e6);
const auto pairs4 = bench::uniform_pairs<float>(-1e3f, 1e3f);  // (x, s) and (a, p)
const auto pairs8 = bench::uniform_pairs<double>(-1e3, 1e3);
const std::int32_t kThree = 3;

// ---- References ------------------------------------------------------------

int exponent_frexpf(float x) {
  int e;
  frexpf(x, &e);
  return e;
}
int exponent_frexp(double x) {
  int e;
  frexp(x, &e);
  return e;
}
float fraction_frexpf(float x) {
  int e;
  return frexpf(x, &e);
}
double fraction_frexp(double x) {
  int e;
  return frexp(x, &e);
}
float rrspacing_frexpf(float x) {
  int e;
  return fabsf(ldexpf(frexpf(x, &e), FLT_MANT_DIG));
}
double rrspacing_frexp(double x) {
  int e;
  return fabs(ldexp(frexp(x, &e), DBL_MANT_DIG));
}
float spacing_ilogbf(float x) {
  return x == 0 ? FLT_MIN : ldexpf(1.0f, std::max(ilogbf(x) + 1 - FLT_MANT_DIG, -149));
}
double spacing_ilogb(double x) {
  return x == 0 ? DBL_MIN : ldexp(1.0, std::max(ilogb(x) + 1 - DBL_MANT_DIG, -1074));
}
float scale_ldexpf(float x) { return ldexpf(x, kThree); }
double scale_ldexp(double x) { return ldexp(x, kThree); }
float set_exponent_ldexpf(float x) {
  int e;
  return x == 0 ? x : ldexpf(frexpf(x, &e), kThree);
}
double set_exponent_ldexp(double x) {
  int e;
  return x == 0 ? x : ldexp(frexp(x, &e), kThree);
}
float modulo_fmodf(float a, float p) {
  const float r = fmodf(a, p);
  return r != 0 && (r < 0) != (p < 0) ? r + p : r;
}
double modulo_fmod(double a, double p) {
  const double r = fmod(a, p);
  return r != 0 && (r < 0) != (p < 0) ? r + p : r;
}

// The entries of one argument with an integer i = 3, and MERGE, as
// functions of the benchmark's arguments.
float g_scale_3(const float *x) { return g_scale(x, &kThree); }
double g_scaled_3(const double *x) { return g_scaled(x, &kThree); }
float g_stexp_3(const float *x) { return g_stexp(x, &kThree); }
double g_stexpd_3(const double *x) { return g_stexpd(x, &kThree); }
const std::int32_t kMasks[2] = {0, 1};
float g_mrgr_pair(const float *t, const float *f) { return g_mrgr(t, f, &kMasks[*t > *f]); }
double g_mrgd_pair(const double *t, const double *f) { return g_mrgd(t, f, &kMasks[*t > *f]); }
[[gnu::noinline]] float select_f(const float *t, const float *f, const std::int32_t *mask) {
  return *mask != 0 ? *t : *f;
}
[[gnu::noinline]] double select_d(const double *t, const double *f, const std::int32_t *mask) {
  return *mask != 0 ? *t : *f;
}
float select_pairf(float t, float f) { return select_f(&t, &f, &kMasks[t > f]); }
double select_pair(double t, double f) { return select_d(&t, &f, &kMasks[t > f]); }

}  // namespace

VX_BENCH_PAIR(model, g_expon, exponent_frexpf, xs4);
VX_BENCH_PAIR(model, g_expond, exponent_frexp, xs8);
VX_BENCH_PAIR(model, g_fract, fraction_frexpf, xs4);
VX_BENCH_PAIR(model, g_fractd, fraction_frexp, xs8);
VX_BENCH_PAIR(model, g_rrspa, rrspacing_frexpf, xs4);
VX_BENCH_PAIR(model, g_rrspad, rrspacing_frexp, xs8);
VX_BENCH_PAIR(model, g_spaci, spacing_ilogbf, xs4);
VX_BENCH_PAIR(model, g_spacid, spacing_ilogb, xs8);
VX_BENCH_PAIR(model, g_scale_3, scale_ldexpf, xs4);
VX_BENCH_PAIR(model, g_scaled_3, scale_ldexp, xs8);
VX_BENCH_PAIR(model, g_stexp_3, set_exponent_ldexpf, xs4);
VX_BENCH_PAIR(model, g_stexpd_3, set_exponent_ldexp, xs8);
VX_BENCH_PAIR2(model, g_neare, nextafterf, pairs4);
VX_BENCH_PAIR2(model, g_neared, nextafter, pairs8);
VX_BENCH_PAIR2(modulo_merge, g_modlr, modulo_fmodf, pairs4);
VX_BENCH_PAIR2(modulo_merge, g_modld, modulo_fmod, pairs8);
VX_BENCH_PAIR(modulo_merge, ulx_gflo, floorf, xs4);
VX_BENCH_PAIR(modulo_merge, ulx_gfld, floor, xs8);
VX_BENCH_PAIR2(modulo_merge, g_mrgr_pair, select_pairf, pairs4);
VX_BENCH_PAIR2(modulo_merge, g_mrgd_pair, select_pair, pairs8);

// ---- Real16 beside libquadmath ---------------------------------------------

namespace {

const auto xs16 = [] {
  std::vector<Real16> v(1024);
  const auto d = bench::uniform<double>(-1e6, 1e6, 1024);
  for (std::size_t i = 0; i < v.size(); ++i) g_qextd(&v[i], &d[i]);
  return v;
}();

__float128 as_f128(const Real16 &x) {
  __float128 f;
  std::memcpy(&f, &x, sizeof f);
  return f;
}

Real16 g_fractq_value(const Real16 *x) {
  Real16 r;
  g_fractq(&r, x);
  return r;
}
Real16 g_scaleq_3(const Real16 *x) {
  Real16 r;
  g_scaleq(&r, x, &kThree);
  return r;
}
Real16 g_neareq_up(const Real16 *x) {
  Real16 r;
  g_neareq(&r, x, &xs16[0]);
  return r;
}
Real16 g_modlq_by_first(const Real16 *x) {
  Real16 r;
  g_modlq(&r, x, &xs16[1]);
  return r;
}
__float128 fraction_frexpq(const Real16 &x) {
  int e;
  return frexpq(as_f128(x), &e);
}
__float128 scale_ldexpq(const Real16 &x) { return ldexpq(as_f128(x), kThree); }
__float128 nearest_nextafterq(const Real16 &x) {
  return nextafterq(as_f128(x), copysignq(__builtin_infq(), as_f128(xs16[0])));
}
__float128 modulo_fmodq(const Real16 &x) {
  const __float128 p = as_f128(xs16[1]), r = fmodq(as_f128(x), p);
  return r != 0 && (r < 0) != (p < 0) ? r + p : r;
}

}  // namespace

VX_BENCH_PAIR(model, g_fractq_value, fraction_frexpq, xs16);
VX_BENCH_PAIR(model, g_scaleq_3, scale_ldexpq, xs16);
VX_BENCH_PAIR(model, g_neareq_up, nearest_nextafterq, xs16);
VX_BENCH_PAIR(modulo_merge, g_modlq_by_first, modulo_fmodq, xs16);
