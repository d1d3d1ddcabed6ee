// Writes src/elem/inverse_trig/tables/arc_fma_table.h, the coefficients of the fused
// multiply-add route of the Real8 arc sines and arc cosines (arc_fma.h).
// They expand the rationals the register evaluates, with the Real8
// coefficients of asin_acos.cpp, asin_acos_quadrants.cpp and
// asin_acos_degrees.cpp (arc_fma_rationals.h) taken as exact (not the arc
// sine itself):
//   quadrants  Y(x) = x (1 + A(x^2)/B(x^2)) for |x| <= 1/2,
//              G(v) = 1 + P(v)/Q(v) for 0 <= v = 1 - |x| <= 1/2;
//   degrees    Y(x) = x A(1/4 - x^2)/B(1/4 - x^2) for |x| <= 1/2,
//              G(w) = P(w)/Q(w) for 0 <= w = |x| - 1/2 <= 1/2;
//   radians    Y(x) = x (1 + x^2 A(x^2)/B(x^2)) for |x| <= 1/2,
//              x (1 + C(x^2)/D(x^2)) up to sqrt(1/2),
//              G(v) = 1 + P(v)/Q(v) for 0 <= v <= 1 - sqrt(1/2);
// the arc cosine beyond is sqrt(1 - |x|) G. For each unit:
//   series       for |x| <= 1/128: Y = x (c0 + t1 s + ... + t4 s^4), s = x^2,
//                the Taylor coefficients of Y/x in s at 0; c0 as the nearest
//                Real8 and the nearest Real8 to the remainder, t1..t4 the
//                nearest Real8;
//   arcsin       for j = 1..32, Y(j/64 + h) = y0 + y1 h + ... + y10 h^10, the
//                Taylor coefficients at j/64, used for |h| <= 1/128;
//   arcsin_high  radians, j = 32..45, the second rational up to h^12;
//   kernel       G(j/64 + h) up to h^8, j = 0..32 (radians 0..19);
// y0 and y1 as the nearest Real8 and the nearest Real8 to the remainder,
// y2 onwards the nearest Real8.
// It prints, on standard error, the largest truncation bound of each table
// relative to the function: the sum of the next terms, up to h^23, at the
// interval's edge (they fall by a factor of at least 30 from one to the
// next).
//
//   build/native/tools/tables/gen_arc_fma > src/elem/inverse_trig/tables/arc_fma_table.h
#include <mpfr.h>

#include <cstdio>
#include <vector>

#include "arc_fma_rationals.h"

namespace {

constexpr int kPrec = 320;
constexpr int kTerms = 24;  // computed; the terms beyond those written bound the tail

using namespace arc_rationals;  // the rationals expanded

// The variable of a rational.
enum class Variable { square, quarter_less_square, linear };

// A truncated power series in h with MPFR coefficients.
struct Series {
  std::vector<mpfr_t> c;
  Series() : c(kTerms) {
    for (auto &x : c) mpfr_init2(x, kPrec), mpfr_set_zero(x, 1);
  }
  ~Series() {
    for (auto &x : c) mpfr_clear(x);
  }
  Series(const Series &) = delete;
};

void copy(Series &r, const Series &p) {
  for (int i = 0; i < kTerms; ++i) mpfr_set(r.c[i], p.c[i], MPFR_RNDN);
}

// r = p q, truncated.
void multiply(Series &r, const Series &p, const Series &q) {
  Series t;
  mpfr_t m;
  mpfr_init2(m, kPrec);
  for (int i = 0; i < kTerms; ++i)
    for (int k = 0; i + k < kTerms; ++k) {
      mpfr_mul(m, p.c[i], q.c[k], MPFR_RNDN);
      mpfr_add(t.c[i + k], t.c[i + k], m, MPFR_RNDN);
    }
  copy(r, t);
  mpfr_clear(m);
}

// r = sum coefficient[i] s^i by Horner's scheme, s a series.
void polynomial(Series &r, const std::vector<double> &coefficient, const Series &s) {
  Series t;
  mpfr_set_d(t.c[0], coefficient.back(), MPFR_RNDN);
  for (int i = static_cast<int>(coefficient.size()) - 2; i >= 0; --i) {
    multiply(t, t, s);
    mpfr_add_d(t.c[0], t.c[0], coefficient[i], MPFR_RNDN);
  }
  copy(r, t);
}

// r = n / d, truncated (d.c[0] != 0).
void divide(Series &r, const Series &n, const Series &d) {
  mpfr_t m;
  mpfr_init2(m, kPrec);
  for (int k = 0; k < kTerms; ++k) {
    mpfr_set(r.c[k], n.c[k], MPFR_RNDN);
    for (int i = 1; i <= k; ++i) {
      mpfr_mul(m, d.c[i], r.c[k - i], MPFR_RNDN);
      mpfr_sub(r.c[k], r.c[k], m, MPFR_RNDN);
    }
    mpfr_div(r.c[k], r.c[k], d.c[0], MPFR_RNDN);
  }
  mpfr_clear(m);
}

// y = f(u) = one + N(u)/D(u) for a series u, times the series t if given.
void rational(Series &y, const Rational &f, const Series &u, const Series *t) {
  Series num, den;
  polynomial(num, f.num, u);
  polynomial(den, f.den, u);
  if (f.one)
    for (int i = 0; i < kTerms; ++i) mpfr_add(num.c[i], num.c[i], den.c[i], MPFR_RNDN);
  if (t) multiply(num, num, *t);
  divide(y, num, den);
}

// The expansion in h of f(u), times t = c + h when `times_t`, where u is
// t^2, 1/4 - t^2 or t.
void expand(Series &y, const Rational &f, Variable var, bool times_t, double c) {
  Series t, u;
  mpfr_set_d(t.c[0], c, MPFR_RNDN);
  mpfr_set_ui(t.c[1], 1, MPFR_RNDN);
  if (var == Variable::linear) {
    copy(u, t);
  } else {
    multiply(u, t, t);
    if (var == Variable::quarter_less_square) {
      for (auto &x : u.c) mpfr_neg(x, x, MPFR_RNDN);
      mpfr_add_d(u.c[0], u.c[0], 0.25, MPFR_RNDN);
    }
  }
  rational(y, f, u, times_t ? &t : nullptr);
}

// The series of Y/x in s = x^2 at 0: the expansion of f(u) with u = h or
// 1/4 - h.
void expand_series(Series &y, const Rational &f, Variable var) {
  Series u;
  mpfr_set_ui(u.c[1], 1, MPFR_RNDN);
  if (var == Variable::quarter_less_square) {
    mpfr_set_si(u.c[1], -1, MPFR_RNDN);
    mpfr_set_d(u.c[0], 0.25, MPFR_RNDN);
  }
  rational(y, f, u, nullptr);
}

// The nearest Real8 to v, and with `low` the nearest Real8 to the remainder.
double nearest(const mpfr_t v, double *low = nullptr) {
  const double high = mpfr_get_d(v, MPFR_RNDN);
  if (low) {
    mpfr_t r;
    mpfr_init2(r, kPrec);
    mpfr_sub_d(r, v, high, MPFR_RNDN);
    *low = mpfr_get_d(r, MPFR_RNDN);
    mpfr_clear(r);
  }
  return high;
}

// log2 of (sum of |c_k| e^k for k = from..kTerms-1) / |v|.
double tail_bound(const Series &y, int from, double e, const mpfr_t v) {
  mpfr_t t, m;
  mpfr_inits2(kPrec, t, m, static_cast<mpfr_ptr>(nullptr));
  mpfr_set_zero(t, 1);
  for (int k = from; k < kTerms; ++k) {
    mpfr_abs(m, y.c[k], MPFR_RNDN);
    for (int i = 0; i < k; ++i) mpfr_mul_d(m, m, e, MPFR_RNDN);
    mpfr_add(t, t, m, MPFR_RNDN);
  }
  mpfr_div(t, t, v, MPFR_RNDN);
  mpfr_abs(t, t, MPFR_RNDN);
  mpfr_log2(t, t, MPFR_RNDN);
  const double r = mpfr_get_d(t, MPFR_RNDN);
  mpfr_clears(t, m, static_cast<mpfr_ptr>(nullptr));
  return r;
}

void print_series(const Rational &f, Variable var, const char *unit) {
  Series y;
  expand_series(y, f, var);
  double c0_low;
  const double c0 = nearest(y.c[0], &c0_low);
  std::printf("inline constexpr Series series = {%a, %a, {%a, %a, %a, %a}};\n\n", c0, c0_low,
              nearest(y.c[1]), nearest(y.c[2]), nearest(y.c[3]), nearest(y.c[4]));
  std::fprintf(stderr, "%s series: truncation 2^%.1f\n", unit, tail_bound(y, 5, 0x1p-14, y.c[0]));
}

// Writes the rows j = first..last of the expansions at j/64 up to h^degree
// as `name`, and prints the largest truncation bound relative to the
// smallest value on an interval.
void print_points(const char *type, const char *name, const Rational &f, Variable var, bool times_t,
                  int first, int last, int degree) {
  std::printf("inline constexpr Rows<%s, %d, %d> %s = {{\n", type, first, last, name);
  double worst = -1000;
  Series y;
  mpfr_t least;
  mpfr_init2(least, kPrec);
  for (int j = first; j <= last; ++j) {
    expand(y, f, var, times_t, j / 64.0);
    double y0_low, y1_low;
    const double y0 = nearest(y.c[0], &y0_low);
    const double y1 = nearest(y.c[1], &y1_low);
    std::printf("    {%a, %a, %a, %a,\n     {", y0, y0_low, y1, y1_low);
    for (int k = 2; k <= degree; ++k)
      std::printf("%a%s", nearest(y.c[k]), k < degree ? ", " : "}},\n");
    mpfr_abs(least, y.c[1], MPFR_RNDN);  // y0 - |y1|/128
    mpfr_div_ui(least, least, 128, MPFR_RNDN);
    mpfr_sub(least, y.c[0], least, MPFR_RNDN);
    const double w = tail_bound(y, degree + 1, 1.0 / 128, least);
    if (w > worst) worst = w;
  }
  std::printf("}};\n\n");
  mpfr_clear(least);
  std::fprintf(stderr, "%s: truncation 2^%.1f\n", name, worst);
}

}  // namespace

int main() {
  std::printf(
      "// The coefficients of the fused multiply-add route of the Real8 arc sines\n"
      "// and arc cosines (arc_fma.h): expansions of the rationals the register\n"
      "// evaluates, Y(x) for the arc sine up to 1/2 (radians: up to sqrt(1/2), with\n"
      "// a second rational above 1/2) and G beyond, acos |x| = sqrt(1 - |x|) G:\n"
      "//   series       Y = x (c0 + t1 s + t2 s^2 + t3 s^3 + t4 s^4), s = x^2, for\n"
      "//                |x| <= 1/128 (truncation below 2^-75 of |Y|);\n"
      "//   arcsin       Y(j/64 + h) = y0 + y1 h + ... + y10 h^10, j = 1..32;\n"
      "//   arcsin_high  the same up to h^12, j = 32..45, radians above 1/2;\n"
      "//   kernel       G(j/64 + h) = y0 + y1 h + ... + y8 h^8 in v = 1 - |x|\n"
      "//                (quadrants, radians) or w = |x| - 1/2 (degrees);\n"
      "// |h| <= 1/128, truncation below 2^-72 of the function. y0, y1 and c0 as the\n"
      "// nearest Real8 and the nearest Real8 to the remainder, the rest the nearest\n"
      "// Real8. Generated by tools/tables/gen_arc_fma.cpp (MPFR, 320 bits);\n"
      "// inverse_trig_internal_test checks them.\n"
      "#pragma once\n\n"
      "namespace vx::arc_fma_table {\n\n"
      "struct Series {\n  double c0, c0_low;\n  double t[4];  // t1..t4\n};\n\n"
      "struct ArcsinPoint {\n  double y0, y0_low, y1, y1_low;\n  double y[9];  // y2..y10\n};\n\n"
      "struct ArcsinHighPoint {\n  double y0, y0_low, y1, y1_low;\n  double y[11];  // "
      "y2..y12\n};\n\n"
      "struct KernelPoint {\n  double y0, y0_low, y1, y1_low;\n  double y[7];  // y2..y8\n};\n\n"
      "// The rows for j = First..Last.\n"
      "template <class Point, int First, int Last>\n"
      "struct Rows {\n  static constexpr int first = First;\n  Point row[Last - First + 1];\n};\n\n"
      "namespace quadrants {\n\n");
  print_series(quadrant_arcsin, Variable::linear, "quadrants");
  print_points("ArcsinPoint", "arcsin", quadrant_arcsin, Variable::square, true, 1, 32, 10);
  print_points("KernelPoint", "kernel", quadrant_kernel, Variable::linear, false, 0, 32, 8);
  std::printf("}  // namespace quadrants\n\nnamespace degrees {\n\n");
  print_series(degree_arcsin, Variable::quarter_less_square, "degrees");
  print_points("ArcsinPoint", "arcsin", degree_arcsin, Variable::quarter_less_square, true, 1, 32,
               10);
  print_points("KernelPoint", "kernel", degree_kernel, Variable::linear, false, 0, 32, 8);
  std::printf("}  // namespace degrees\n\nnamespace radians {\n\n");
  print_series(radian_arcsin, Variable::linear, "radians");
  print_points("ArcsinPoint", "arcsin", radian_arcsin, Variable::square, true, 1, 32, 10);
  print_points("ArcsinHighPoint", "arcsin_high", radian_arcsin_high, Variable::square, true, 32, 45,
               12);
  print_points("KernelPoint", "kernel", radian_kernel, Variable::linear, false, 0, 19, 8);
  std::printf("}  // namespace radians\n\n}  // namespace vx::arc_fma_table\n");
  return 0;
}
