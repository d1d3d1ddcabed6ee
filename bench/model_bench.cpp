// The model intrinsics, MODULO and MERGE beside gfortran's own intrinsics
// (model_reference.f90: one out-of-line bind(C) function per intrinsic and
// kind, arguments by reference, as ours) and beside the C library functions
// a program could call instead: libm's frexp, ldexp, nextafter, floor and
// fmod with MODULO's sign fix (libquadmath's for Real16). Every row calls
// its function once per argument, through the argument's address.
#include <quadmath.h>
#include <vexmorg/vexmorg.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "bench.h"

extern "C" {
std::int32_t f_exponent4(const float *x);
std::int32_t f_exponent8(const double *x);
std::int32_t f_exponent16(const __float128 *x);
float f_fraction4(const float *x);
double f_fraction8(const double *x);
__float128 f_fraction16(const __float128 *x);
float f_nearest4(const float *x, const float *s);
double f_nearest8(const double *x, const double *s);
__float128 f_nearest16(const __float128 *x, const __float128 *s);
float f_rrspacing4(const float *x);
double f_rrspacing8(const double *x);
__float128 f_rrspacing16(const __float128 *x);
float f_scale4(const float *x, const std::int32_t *i);
double f_scale8(const double *x, const std::int32_t *i);
__float128 f_scale16(const __float128 *x, const std::int32_t *i);
float f_set_exponent4(const float *x, const std::int32_t *i);
double f_set_exponent8(const double *x, const std::int32_t *i);
__float128 f_set_exponent16(const __float128 *x, const std::int32_t *i);
float f_spacing4(const float *x);
double f_spacing8(const double *x);
__float128 f_spacing16(const __float128 *x);
float f_modulo4(const float *a, const float *p);
double f_modulo8(const double *a, const double *p);
__float128 f_modulo16(const __float128 *a, const __float128 *p);
float f_merge4(const float *tsource, const float *fsource, const std::int32_t *mask);
double f_merge8(const double *tsource, const double *fsource, const std::int32_t *mask);
__float128 f_merge16(const __float128 *tsource, const __float128 *fsource,
                     const std::int32_t *mask);
}

namespace {

const auto xs4 = bench::uniform<float>(-1e6f, 1e6f);
const auto xs8 = bench::uniform<double>(-1e6, 1e6);
const auto pairs4 = bench::uniform_pairs<float>(-1e3f, 1e3f);  // (x, s), (a, p), (t, f)
const auto pairs8 = bench::uniform_pairs<double>(-1e3, 1e3);
// MERGE's (t, f) with the mask t > f.
const auto merge_pairs4 = bench::uniform_pairs<float>(-1e3f, 1e3f);
const auto merge_pairs8 = bench::uniform_pairs<double>(-1e3, 1e3);
const auto xs16 = [] {
  std::vector<Real16> v(bench::kArguments);
  const auto d = bench::uniform<double>(-1e6, 1e6);
  for (std::size_t i = 0; i < v.size(); ++i) g_qextd(&v[i], &d[i]);
  return v;
}();
const auto merge16 = [] {  // MERGE's t, with its sign as the mask
  std::vector<Real16> v(bench::kArguments);
  const auto d = bench::uniform<double>(-1e6, 1e6, v.size());
  for (std::size_t i = 0; i < v.size(); ++i) g_qextd(&v[i], &d[i]);
  return v;
}();
// The same values as __float128 (the same layout).
std::vector<__float128> as_float128(const std::vector<Real16> &v) {
  std::vector<__float128> q(v.size());
  std::memcpy(q.data(), v.data(), q.size() * sizeof q[0]);
  return q;
}
const auto qs16 = as_float128(xs16);
const auto merge_q16 = as_float128(merge16);

const std::int32_t kThree = 3;
const std::int32_t kMasks[2] = {0, 1};

// One call of F per iteration, F a constant so that the call is direct:
// `call g_expon@plt` for ours, as a program linked to the shared library
// makes it, `call f_exponent4` for the references in the program.
template <auto F, class T>
void loop(benchmark::State &state, const std::vector<T> &args) {
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(F(&args[i]));
    i = (i + 1) & (args.size() - 1);
  }
  state.SetItemsProcessed(state.iterations());
}
template <auto F, class T>
void loop2(benchmark::State &state, const std::vector<bench::Pair<T>> &args) {
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(F(&args[i].y, &args[i].x));
    i = (i + 1) & (args.size() - 1);
  }
  state.SetItemsProcessed(state.iterations());
}

// Registers family/entry (reference empty) or family/entry~reference.
std::string bench_name(const char *family, const char *entry, const char *reference) {
  std::string name = std::string(family) + "/" + entry;
  if (*reference != 0) name += std::string("~") + reference;
  return name;
}
template <auto F, class T>
void add(const char *family, const char *entry, const char *reference, const std::vector<T> &args) {
  benchmark::RegisterBenchmark(bench_name(family, entry, reference).c_str(),
                               [&args](benchmark::State &state) { loop<F>(state, args); });
}
template <auto F, class T>
void add2(const char *family, const char *entry, const char *reference,
          const std::vector<bench::Pair<T>> &args) {
  benchmark::RegisterBenchmark(bench_name(family, entry, reference).c_str(),
                               [&args](benchmark::State &state) { loop2<F>(state, args); });
}

// ---- Real4 and Real8 -------------------------------------------------------

int exponent_frexpf(const float *x) {
  int e;
  frexpf(*x, &e);
  return e;
}
int exponent_frexp(const double *x) {
  int e;
  frexp(*x, &e);
  return e;
}
float fraction_frexpf(const float *x) {
  int e;
  return frexpf(*x, &e);
}
double fraction_frexp(const double *x) {
  int e;
  return frexp(*x, &e);
}
float scale_ldexpf(const float *x) { return ldexpf(*x, kThree); }
double scale_ldexp(const double *x) { return ldexp(*x, kThree); }
float nearest_nextafterf(const float *x, const float *s) {
  return nextafterf(*x, copysignf(INFINITY, *s));
}
double nearest_nextafter(const double *x, const double *s) {
  return nextafter(*x, copysign(INFINITY, *s));
}
float modulo_fmodf(const float *a, const float *p) {
  const float r = fmodf(*a, *p);
  return r != 0 && (r < 0) != (*p < 0) ? r + *p : r;
}
double modulo_fmod(const double *a, const double *p) {
  const double r = fmod(*a, *p);
  return r != 0 && (r < 0) != (*p < 0) ? r + *p : r;
}
float floorf_value(const float *x) { return floorf(*x); }
double floor_value(const double *x) { return floor(*x); }

// SCALE and SET_EXPONENT with i = 3.
float g_scale_3(const float *x) { return g_scale(x, &kThree); }
double g_scaled_3(const double *x) { return g_scaled(x, &kThree); }
float g_stexp_3(const float *x) { return g_stexp(x, &kThree); }
double g_stexpd_3(const double *x) { return g_stexpd(x, &kThree); }
float f_scale4_3(const float *x) { return f_scale4(x, &kThree); }
double f_scale8_3(const double *x) { return f_scale8(x, &kThree); }
float f_set_exponent4_3(const float *x) { return f_set_exponent4(x, &kThree); }
double f_set_exponent8_3(const double *x) { return f_set_exponent8(x, &kThree); }

// MERGE of a pair (t, f) of merge_pairs: `_random` with the mask t > f,
// `_true` with the mask 1. The `_ptr` rows call both sides through
// a function pointer read from memory: one indirect call, as through a DLL's
// import address table, without the PLT stub's extra jump that a direct
// call into the shared library takes.
template <class T>
using MergeFn = T (*)(const T *, const T *, const std::int32_t *);
MergeFn<float> volatile merge4_ours = g_mrgr, merge4_gfortran = f_merge4;
MergeFn<double> volatile merge8_ours = g_mrgd, merge8_gfortran = f_merge8;

template <class T, MergeFn<T> F>
T merge_random(const T *t, const T *f) {
  return F(t, f, &kMasks[*t > *f]);
}
template <class T, MergeFn<T> F>
T merge_true(const T *t, const T *f) {
  return F(t, f, &kMasks[1]);
}
template <class T, MergeFn<T> volatile *P>
T merge_random_ptr(const T *t, const T *f) {
  return (*P)(t, f, &kMasks[*t > *f]);
}
template <class T, MergeFn<T> volatile *P>
T merge_true_ptr(const T *t, const T *f) {
  return (*P)(t, f, &kMasks[1]);
}

// ---- Real16 ----------------------------------------------------------------

__float128 as_f128(const Real16 *x) { return qs16[static_cast<std::size_t>(x - xs16.data())]; }
const __float128 *as_f128_ptr(const Real16 *x) {
  return &qs16[static_cast<std::size_t>(x - xs16.data())];
}
std::uint32_t sign16(const Real16 *x) { return x->w[3] >> 31; }

Real16 g_fractq_value(const Real16 *x) {
  Real16 r;
  g_fractq(&r, x);
  return r;
}
Real16 g_rrspaq_value(const Real16 *x) {
  Real16 r;
  g_rrspaq(&r, x);
  return r;
}
Real16 g_spaciq_value(const Real16 *x) {
  Real16 r;
  g_spaciq(&r, x);
  return r;
}
Real16 g_scaleq_3(const Real16 *x) {
  Real16 r;
  g_scaleq(&r, x, &kThree);
  return r;
}
Real16 g_stexpq_3(const Real16 *x) {
  Real16 r;
  g_stexpq(&r, x, &kThree);
  return r;
}
// NEAREST toward the sign of the first argument, MODULO by the second,
// MERGE of x and the first argument with x's sign as the mask (merge16).
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
Real16 g_mrgq_random(const Real16 *x) {
  Real16 r;
  g_mrgq(&r, x, &merge16[0], &kMasks[sign16(x)]);
  return r;
}

std::int32_t f_exponent16_value(const Real16 *x) { return f_exponent16(as_f128_ptr(x)); }
__float128 f_fraction16_value(const Real16 *x) { return f_fraction16(as_f128_ptr(x)); }
__float128 f_rrspacing16_value(const Real16 *x) { return f_rrspacing16(as_f128_ptr(x)); }
__float128 f_spacing16_value(const Real16 *x) { return f_spacing16(as_f128_ptr(x)); }
__float128 f_scale16_3(const Real16 *x) { return f_scale16(as_f128_ptr(x), &kThree); }
__float128 f_set_exponent16_3(const Real16 *x) { return f_set_exponent16(as_f128_ptr(x), &kThree); }
__float128 f_nearest16_up(const Real16 *x) { return f_nearest16(as_f128_ptr(x), &qs16[0]); }
__float128 f_modulo16_by_first(const Real16 *x) { return f_modulo16(as_f128_ptr(x), &qs16[1]); }
__float128 f_merge16_random(const Real16 *x) {
  const std::size_t i = static_cast<std::size_t>(x - merge16.data());
  return f_merge16(&merge_q16[i], &merge_q16[0], &kMasks[sign16(x)]);
}

__float128 fraction_frexpq(const Real16 *x) {
  int e;
  return frexpq(as_f128(x), &e);
}
__float128 scale_ldexpq(const Real16 *x) { return ldexpq(as_f128(x), kThree); }
__float128 nearest_nextafterq(const Real16 *x) {
  return nextafterq(as_f128(x), copysignq(__builtin_infq(), qs16[0]));
}
__float128 modulo_fmodq(const Real16 *x) {
  const __float128 p = qs16[1], r = fmodq(as_f128(x), p);
  return r != 0 && (r < 0) != (p < 0) ? r + p : r;
}

// ---- Registration ----------------------------------------------------------

const bool registered = [] {
  const char *m = "model", *mm = "modulo_merge";
  add<g_expon>(m, "g_expon", "", xs4);
  add<f_exponent4>(m, "g_expon", "gfortran EXPONENT", xs4);
  add<exponent_frexpf>(m, "g_expon", "libm frexpf", xs4);
  add<g_expond>(m, "g_expond", "", xs8);
  add<f_exponent8>(m, "g_expond", "gfortran EXPONENT", xs8);
  add<exponent_frexp>(m, "g_expond", "libm frexp", xs8);
  add<g_fract>(m, "g_fract", "", xs4);
  add<f_fraction4>(m, "g_fract", "gfortran FRACTION", xs4);
  add<fraction_frexpf>(m, "g_fract", "libm frexpf", xs4);
  add<g_fractd>(m, "g_fractd", "", xs8);
  add<f_fraction8>(m, "g_fractd", "gfortran FRACTION", xs8);
  add<fraction_frexp>(m, "g_fractd", "libm frexp", xs8);
  add2<g_neare>(m, "g_neare", "", pairs4);
  add2<f_nearest4>(m, "g_neare", "gfortran NEAREST", pairs4);
  add2<nearest_nextafterf>(m, "g_neare", "libm nextafterf", pairs4);
  add2<g_neared>(m, "g_neared", "", pairs8);
  add2<f_nearest8>(m, "g_neared", "gfortran NEAREST", pairs8);
  add2<nearest_nextafter>(m, "g_neared", "libm nextafter", pairs8);
  add<g_rrspa>(m, "g_rrspa", "", xs4);
  add<f_rrspacing4>(m, "g_rrspa", "gfortran RRSPACING", xs4);
  add<g_rrspad>(m, "g_rrspad", "", xs8);
  add<f_rrspacing8>(m, "g_rrspad", "gfortran RRSPACING", xs8);
  add<g_scale_3>(m, "g_scale_3", "", xs4);
  add<f_scale4_3>(m, "g_scale_3", "gfortran SCALE", xs4);
  add<scale_ldexpf>(m, "g_scale_3", "libm ldexpf", xs4);
  add<g_scaled_3>(m, "g_scaled_3", "", xs8);
  add<f_scale8_3>(m, "g_scaled_3", "gfortran SCALE", xs8);
  add<scale_ldexp>(m, "g_scaled_3", "libm ldexp", xs8);
  add<g_stexp_3>(m, "g_stexp_3", "", xs4);
  add<f_set_exponent4_3>(m, "g_stexp_3", "gfortran SET_EXPONENT", xs4);
  add<g_stexpd_3>(m, "g_stexpd_3", "", xs8);
  add<f_set_exponent8_3>(m, "g_stexpd_3", "gfortran SET_EXPONENT", xs8);
  add<g_spaci>(m, "g_spaci", "", xs4);
  add<f_spacing4>(m, "g_spaci", "gfortran SPACING", xs4);
  add<g_spacid>(m, "g_spacid", "", xs8);
  add<f_spacing8>(m, "g_spacid", "gfortran SPACING", xs8);

  add<g_exponq>(m, "g_exponq", "", xs16);
  add<f_exponent16_value>(m, "g_exponq", "gfortran EXPONENT", xs16);
  add<g_fractq_value>(m, "g_fractq_value", "", xs16);
  add<f_fraction16_value>(m, "g_fractq_value", "gfortran FRACTION", xs16);
  add<fraction_frexpq>(m, "g_fractq_value", "libquadmath frexpq", xs16);
  add<g_neareq_up>(m, "g_neareq_up", "", xs16);
  add<f_nearest16_up>(m, "g_neareq_up", "gfortran NEAREST", xs16);
  add<nearest_nextafterq>(m, "g_neareq_up", "libquadmath nextafterq", xs16);
  add<g_rrspaq_value>(m, "g_rrspaq_value", "", xs16);
  add<f_rrspacing16_value>(m, "g_rrspaq_value", "gfortran RRSPACING", xs16);
  add<g_scaleq_3>(m, "g_scaleq_3", "", xs16);
  add<f_scale16_3>(m, "g_scaleq_3", "gfortran SCALE", xs16);
  add<scale_ldexpq>(m, "g_scaleq_3", "libquadmath ldexpq", xs16);
  add<g_stexpq_3>(m, "g_stexpq_3", "", xs16);
  add<f_set_exponent16_3>(m, "g_stexpq_3", "gfortran SET_EXPONENT", xs16);
  add<g_spaciq_value>(m, "g_spaciq_value", "", xs16);
  add<f_spacing16_value>(m, "g_spaciq_value", "gfortran SPACING", xs16);

  add2<g_modlr>(mm, "g_modlr", "", pairs4);
  add2<f_modulo4>(mm, "g_modlr", "gfortran MODULO", pairs4);
  add2<modulo_fmodf>(mm, "g_modlr", "libm fmodf, sign fixed", pairs4);
  add2<g_modld>(mm, "g_modld", "", pairs8);
  add2<f_modulo8>(mm, "g_modld", "gfortran MODULO", pairs8);
  add2<modulo_fmod>(mm, "g_modld", "libm fmod, sign fixed", pairs8);
  add<g_modlq_by_first>(mm, "g_modlq_by_first", "", xs16);
  add<f_modulo16_by_first>(mm, "g_modlq_by_first", "gfortran MODULO", xs16);
  add<modulo_fmodq>(mm, "g_modlq_by_first", "libquadmath fmodq, sign fixed", xs16);
  add<ulx_gflo>(mm, "ulx_gflo", "", xs4);
  add<floorf_value>(mm, "ulx_gflo", "libm floorf", xs4);
  add<ulx_gfld>(mm, "ulx_gfld", "", xs8);
  add<floor_value>(mm, "ulx_gfld", "libm floor", xs8);
  add2<merge_random<float, g_mrgr>>(mm, "g_mrgr_random", "", merge_pairs4);
  add2<merge_random<float, f_merge4>>(mm, "g_mrgr_random", "gfortran MERGE", merge_pairs4);
  add2<merge_true<float, g_mrgr>>(mm, "g_mrgr_true", "", merge_pairs4);
  add2<merge_true<float, f_merge4>>(mm, "g_mrgr_true", "gfortran MERGE", merge_pairs4);
  add2<merge_random_ptr<float, &merge4_ours>>(mm, "g_mrgr_random_ptr", "", merge_pairs4);
  add2<merge_random_ptr<float, &merge4_gfortran>>(mm, "g_mrgr_random_ptr", "gfortran MERGE",
                                                  merge_pairs4);
  add2<merge_true_ptr<float, &merge4_ours>>(mm, "g_mrgr_true_ptr", "", merge_pairs4);
  add2<merge_true_ptr<float, &merge4_gfortran>>(mm, "g_mrgr_true_ptr", "gfortran MERGE",
                                                merge_pairs4);
  add2<merge_random<double, g_mrgd>>(mm, "g_mrgd_random", "", merge_pairs8);
  add2<merge_random<double, f_merge8>>(mm, "g_mrgd_random", "gfortran MERGE", merge_pairs8);
  add2<merge_true<double, g_mrgd>>(mm, "g_mrgd_true", "", merge_pairs8);
  add2<merge_true<double, f_merge8>>(mm, "g_mrgd_true", "gfortran MERGE", merge_pairs8);
  add2<merge_random_ptr<double, &merge8_ours>>(mm, "g_mrgd_random_ptr", "", merge_pairs8);
  add2<merge_random_ptr<double, &merge8_gfortran>>(mm, "g_mrgd_random_ptr", "gfortran MERGE",
                                                   merge_pairs8);
  add2<merge_true_ptr<double, &merge8_ours>>(mm, "g_mrgd_true_ptr", "", merge_pairs8);
  add2<merge_true_ptr<double, &merge8_gfortran>>(mm, "g_mrgd_true_ptr", "gfortran MERGE",
                                                 merge_pairs8);
  add<g_mrgq_random>(mm, "g_mrgq_random", "", merge16);
  add<f_merge16_random>(mm, "g_mrgq_random", "gfortran MERGE", merge16);
  return true;
}();

}  // namespace
