// Writes src/qelem/inverse_trig/tables/arc_units_table.h: the polynomial
// coefficients of the Real16 arc sine, arc cosine and arc tangent in
// degrees and quadrant units.
//
// The unit factor K (180/pi or 2/pi) is folded in and a power of two P (64
// or 1/2) split off, so that P s is exact: f0 is the fixed K - P (arc sine
// and cosine) or K (1 + c0) - P (arc tangent, c0 its tiny radian constant
// term), checked here against K and P. The arc cosine and arc tangent
// series share their range with the radian ones
// (src/qelem/inverse_trig/coefficients.h): f[i] for i >= 1 is K times the
// radian coefficient of z^i. The arc sine series reaches further than the
// radian one (s up to 0.0030030, not 0.0019532), where the radian
// coefficients lose about 20 ulp: f1 .. f5 are fitted by least squares to
// K asin(s) / s - P - f0 at 64 Chebyshev nodes of z = s^2 in [0, 0.0030031^2].
// Every coefficient is rounded to the nearest Real16.
//
//   build/native/tools/tables/gen_arc_units > src/qelem/inverse_trig/tables/arc_units_table.h
#include <mpfr.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include "qelem/inverse_trig/coefficients.h"
#include "words.h"

namespace {

using vx::qelem::arc::Words;
constexpr mpfr_prec_t kPrecision = 320;

// The exact value of a Real16 given by its words.
void set_words(mpfr_ptr v, const Words &w) {
  const int e = static_cast<int>((w.w3 >> 16) & 0x7fff);
  mpfr_set_ui(v, (w.w3 & 0xffff) | 0x10000, MPFR_RNDN);
  for (std::uint32_t word : {w.w2, w.w1, w.w0}) {
    mpfr_mul_2ui(v, v, 32, MPFR_RNDN);
    mpfr_add_ui(v, v, word, MPFR_RNDN);
  }
  mpfr_mul_2si(v, v, e - 16383 - 112, MPFR_RNDN);
  if (w.w3 >> 31) mpfr_neg(v, v, MPFR_RNDN);
}

// v rounded to the nearest Real16.
Words round_words(mpfr_srcptr v) {
  const auto w = tables::real16_words(v);
  return {w[0], w[1], w[2], w[3]};
}

bool same(const Words &a, const Words &b) {
  return a.w3 == b.w3 && a.w2 == b.w2 && a.w1 == b.w1 && a.w0 == b.w0;
}

void row(const Words &w, const char *what) {
  std::printf("    {0x%08x, 0x%08x, 0x%08x, 0x%08x},  // %s\n", w.w3, w.w2, w.w1, w.w0, what);
}

// One table: f0 (checked against K (1 + c0) - P), then K times each radian
// coefficient from `first`.
void table(const char *name, mpfr_srcptr k, double p, const Words &f0, const Words *series,
           int first, int count, const Words *c0) {
  mpfr_t v, c;
  mpfr_inits2(kPrecision, v, c, static_cast<mpfr_ptr>(nullptr));
  mpfr_set(v, k, MPFR_RNDN);
  if (c0 != nullptr) {
    set_words(c, *c0);
    mpfr_fma(v, k, c, k, MPFR_RNDN);
  }
  mpfr_sub_d(v, v, p, MPFR_RNDN);
  if (!same(round_words(v), f0)) {
    std::fprintf(stderr, "%s: f0 is not the nearest Real16 to K - P\n", name);
    std::exit(1);
  }
  std::printf("inline constexpr Words %s[%d] = {\n", name, count - first + 1);
  row(f0, "K - P");
  char what[64];
  for (int i = first; i < count; ++i) {
    set_words(c, series[i]);
    mpfr_mul(v, k, c, MPFR_RNDN);
    mpfr_sprintf(what, "%.34Re", v);
    row(round_words(v), what);
  }
  std::printf("};\n\n");
  mpfr_clears(v, c, static_cast<mpfr_ptr>(nullptr));
}

// f1 .. f5 of K asin(s) / s = P + f0 + f1 z + ... + f5 z^5 by least squares
// at Chebyshev nodes of [0, zmax], in the variable u = z / zmax (so that the
// normal equations are well scaled), solved by Gaussian elimination.
void fit_asin(const char *name, mpfr_srcptr k, double p, const Words &f0, double s_max) {
  constexpr int kTerms = 5, kNodes = 64;
  mpfr_t a[kTerms][kTerms + 1], z, u, t, v, zmax, pw[2 * kTerms + 1];
  for (auto &r : a)
    for (auto &x : r) mpfr_init2(x, kPrecision), mpfr_set_zero(x, 1);
  for (auto &x : pw) mpfr_init2(x, kPrecision);
  mpfr_inits2(kPrecision, z, u, t, v, zmax, static_cast<mpfr_ptr>(nullptr));
  mpfr_set_d(zmax, s_max * s_max, MPFR_RNDN);
  for (int n = 0; n < kNodes; ++n) {
    // u = (1 - cos(pi (n + 1/2) / N)) / 2, z = u zmax, target K asin(s)/s - P - f0.
    mpfr_const_pi(u, MPFR_RNDN);
    mpfr_mul_d(u, u, (n + 0.5) / kNodes, MPFR_RNDN);
    mpfr_cos(u, u, MPFR_RNDN);
    mpfr_ui_sub(u, 1, u, MPFR_RNDN);
    mpfr_div_2ui(u, u, 1, MPFR_RNDN);
    mpfr_mul(z, u, zmax, MPFR_RNDN);
    mpfr_sqrt(t, z, MPFR_RNDN);
    mpfr_asin(v, t, MPFR_RNDN);
    mpfr_div(v, v, t, MPFR_RNDN);
    mpfr_mul(v, v, k, MPFR_RNDN);
    mpfr_sub_d(v, v, p, MPFR_RNDN);
    set_words(t, f0);
    mpfr_sub(v, v, t, MPFR_RNDN);
    mpfr_set_ui(pw[0], 1, MPFR_RNDN);
    for (int i = 1; i <= 2 * kTerms; ++i) mpfr_mul(pw[i], pw[i - 1], u, MPFR_RNDN);
    for (int i = 0; i < kTerms; ++i) {
      for (int j = 0; j < kTerms; ++j) mpfr_add(a[i][j], a[i][j], pw[i + j + 2], MPFR_RNDN);
      mpfr_mul(t, pw[i + 1], v, MPFR_RNDN);
      mpfr_add(a[i][kTerms], a[i][kTerms], t, MPFR_RNDN);
    }
  }
  for (int c = 0; c < kTerms; ++c)  // the normal matrix is positive definite: no pivoting
    for (int r = c + 1; r < kTerms; ++r) {
      mpfr_div(t, a[r][c], a[c][c], MPFR_RNDN);
      for (int j = c; j <= kTerms; ++j) {
        mpfr_mul(v, t, a[c][j], MPFR_RNDN);
        mpfr_sub(a[r][j], a[r][j], v, MPFR_RNDN);
      }
    }
  for (int r = kTerms - 1; r >= 0; --r) {
    for (int j = r + 1; j < kTerms; ++j) {
      mpfr_mul(v, a[r][j], a[j][kTerms], MPFR_RNDN);
      mpfr_sub(a[r][kTerms], a[r][kTerms], v, MPFR_RNDN);
    }
    mpfr_div(a[r][kTerms], a[r][kTerms], a[r][r], MPFR_RNDN);
  }
  std::printf("inline constexpr Words %s[%d] = {\n", name, kTerms + 1);
  row(f0, "K - P");
  char what[64];
  mpfr_set_ui(t, 1, MPFR_RNDN);
  for (int i = 0; i < kTerms; ++i) {
    mpfr_mul(t, t, zmax, MPFR_RNDN);  // g_i = f_i zmax^(i + 1)
    mpfr_div(v, a[i][kTerms], t, MPFR_RNDN);
    mpfr_sprintf(what, "%.34Re", v);
    row(round_words(v), what);
  }
  std::printf("};\n\n");
  for (auto &r : a)
    for (auto &x : r) mpfr_clear(x);
  for (auto &x : pw) mpfr_clear(x);
  mpfr_clears(z, u, t, v, zmax, static_cast<mpfr_ptr>(nullptr));
}

}  // namespace

int main() {
  namespace a = vx::qelem::arc;
  mpfr_t rad, rhp;
  mpfr_inits2(kPrecision, rad, rhp, static_cast<mpfr_ptr>(nullptr));
  mpfr_const_pi(rhp, MPFR_RNDN);
  mpfr_ui_div(rad, 180, rhp, MPFR_RNDN);
  mpfr_ui_div(rhp, 2, rhp, MPFR_RNDN);
  std::printf(
      "// Generated by tools/tables/gen_arc_units.cpp; regenerate with\n"
      "//   build/native/tools/tables/gen_arc_units > "
      "src/qelem/inverse_trig/tables/arc_units_table.h\n"
      "// The degree (K = 180/pi, P = 64) and quadrant (K = 2/pi, P = 1/2) polynomial\n"
      "// coefficients, word 3 first: f0 = K - P; f[i] = K times the radian\n"
      "// coefficient of z^i (coefficients.h), but for the arc sines fitted to\n"
      "// K asin(s) / s - P - f0 up to s = 0.0030031.\n"
      "#pragma once\n\n#include \"qelem/inverse_trig/coefficients.h\"\n\n"
      "namespace vx::qelem::arc {\n\n");
  constexpr double kAsinReach = 0.0030031;  // above the high word 0x3ff6899c
  fit_asin("kAsindSeries", rad, 64, a::kAsindF0, kAsinReach);
  table("kAcosdSeries", rad, 64, a::kAsindF0, a::kAcosSeries, 0, 8, nullptr);
  table("kAtandSeries", rad, 64, a::kAtandF0, a::kAtanSeries, 1, 6, &a::kAtanSeries[0]);
  fit_asin("kAsinqSeries", rhp, 0.5, a::kAsinqF0, kAsinReach);
  table("kAcosqSeries", rhp, 0.5, a::kAsinqF0, a::kAcosSeries, 0, 8, nullptr);
  table("kAtanqSeries", rhp, 0.5, a::kAtanqF0, a::kAtanSeries, 1, 6, &a::kAtanSeries[0]);
  std::printf("}  // namespace vx::qelem::arc\n");
  mpfr_clears(rad, rhp, static_cast<mpfr_ptr>(nullptr));
}
