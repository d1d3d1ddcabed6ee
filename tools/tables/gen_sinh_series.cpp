// Writes src/elem/hyperbolic/tables/sinh_series_table.h: the odd series of g_dsinh, g_dsch and
// g_dschq below 1,
//   sinh x = x + x s (p1 + s (p2 + s (p3 + ... + s p7))),  s = x^2,
// whose high coefficients p3..p7 are fixed (below) and whose low ones p1
// and p2 are fitted here: the pair that minimises the largest relative
// error of the whole series over (0, 1], found by the Remez exchange on
// three reference points (the error is linear in p1 and p2), then rounded
// to the nearest Real8.
//
//   build/native/tools/tables/gen_sinh_series > src/elem/hyperbolic/tables/sinh_series_table.h
#include <mpfr.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr mpfr_prec_t kBits = 256;

// The fixed high coefficients p3..p7.
constexpr double kHigh[5] = {0.00019841269841450044, 2.755731915254139e-06, 2.5052123738715222e-08,
                             1.6057219161670014e-10, 7.759842042834347e-13};

class Num {
 public:
  Num() {
    mpfr_init2(v_, kBits);
    mpfr_set_zero(v_, 1);
  }
  explicit Num(double d) : Num() { mpfr_set_d(v_, d, MPFR_RNDN); }
  Num(const Num &o) : Num() { mpfr_set(v_, o.v_, MPFR_RNDN); }
  Num &operator=(const Num &o) {
    mpfr_set(v_, o.v_, MPFR_RNDN);
    return *this;
  }
  ~Num() { mpfr_clear(v_); }
  operator mpfr_ptr() { return v_; }
  operator mpfr_srcptr() const { return v_; }
  double d() const { return mpfr_get_d(v_, MPFR_RNDN); }

 private:
  mpfr_t v_;
};

// The error e(x) = c(x) + p1 a(x) + p2 b(x) of the series relative to
// sinh x, split into its terms.
struct Terms {
  Num a, b, c;
};

Terms terms(const Num &x) {
  Num s, t, sh, num;
  mpfr_sqr(s, x, MPFR_RNDN);
  mpfr_set_d(t, kHigh[4], MPFR_RNDN);
  for (int i = 3; i >= 0; --i) {  // T(s) = p3 + s (p4 + ... + s p7)
    mpfr_mul(t, t, s, MPFR_RNDN);
    mpfr_add_d(t, t, kHigh[i], MPFR_RNDN);
  }
  mpfr_sinh(sh, x, MPFR_RNDN);
  Terms r;
  mpfr_pow_ui(r.a, x, 3, MPFR_RNDN);
  mpfr_div(r.a, r.a, sh, MPFR_RNDN);
  mpfr_mul(r.b, r.a, s, MPFR_RNDN);
  mpfr_pow_ui(num, x, 7, MPFR_RNDN);  // x + x^7 T(s) - sinh x
  mpfr_mul(num, num, t, MPFR_RNDN);
  mpfr_add(num, num, x, MPFR_RNDN);
  mpfr_sub(num, num, sh, MPFR_RNDN);
  mpfr_div(r.c, num, sh, MPFR_RNDN);
  return r;
}

Num error_at(const Num &x, const Num &p1, const Num &p2) {
  Terms t = terms(x);
  Num e, u;
  mpfr_mul(e, t.a, p1, MPFR_RNDN);
  mpfr_mul(u, t.b, p2, MPFR_RNDN);
  mpfr_add(e, e, u, MPFR_RNDN);
  mpfr_add(e, e, t.c, MPFR_RNDN);
  return e;
}

// Solves p1 a_i + p2 b_i + (-1)^(i+1) E = -c_i, i = 0..2, by Cramer's rule.
void solve(const Num (&ref)[3], Num &p1, Num &p2) {
  Num m[3][3], rhs[3];
  for (int i = 0; i < 3; ++i) {
    Terms t = terms(ref[i]);
    m[i][0] = t.a;
    m[i][1] = t.b;
    mpfr_set_si(m[i][2], i % 2 == 0 ? -1 : 1, MPFR_RNDN);
    mpfr_neg(rhs[i], t.c, MPFR_RNDN);
  }
  auto det = [](Num(*q)[3]) {
    Num r, u, w;
    for (int j = 0; j < 3; ++j) {  // expansion along the first row
      mpfr_mul(u, q[1][(j + 1) % 3], q[2][(j + 2) % 3], MPFR_RNDN);
      mpfr_mul(w, q[1][(j + 2) % 3], q[2][(j + 1) % 3], MPFR_RNDN);
      mpfr_sub(u, u, w, MPFR_RNDN);
      mpfr_mul(u, u, q[0][j], MPFR_RNDN);
      mpfr_add(r, r, u, MPFR_RNDN);
    }
    return r;
  };
  Num d = det(m);
  for (int col = 0; col < 2; ++col) {
    Num q[3][3];
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) q[i][j] = j == col ? rhs[i] : m[i][j];
    Num v = det(q);
    mpfr_div(v, v, d, MPFR_RNDN);
    (col == 0 ? p1 : p2) = v;
  }
}

// The abscissa of the extremum of |e| in [lo, hi] (golden section).
Num refine(Num lo, Num hi, const Num &p1, const Num &p2) {
  const double g = (std::sqrt(5.0) - 1) / 2;
  for (int it = 0; it < 120; ++it) {
    Num w, m1, m2;
    mpfr_sub(w, hi, lo, MPFR_RNDN);
    mpfr_mul_d(w, w, g, MPFR_RNDN);
    mpfr_sub(m1, hi, w, MPFR_RNDN);
    mpfr_add(m2, lo, w, MPFR_RNDN);
    Num e1 = error_at(m1, p1, p2), e2 = error_at(m2, p1, p2);
    if (mpfr_cmpabs(e1, e2) > 0) {
      hi = m2;
    } else {
      lo = m1;
    }
  }
  return lo;
}

// The abscissa in (0, 1] where |e| is largest: the best point of a grid,
// refined.
Num global_extremum(const Num &p1, const Num &p2) {
  constexpr int n = 4096;
  int best = n;
  double best_error = 0;
  for (int k = 1; k <= n; ++k) {
    const double e = std::fabs(error_at(Num(static_cast<double>(k) / n), p1, p2).d());
    if (e > best_error) {
      best_error = e;
      best = k;
    }
  }
  if (best == n) return Num(1.0);
  return refine(Num(static_cast<double>(best - 1) / n), Num(static_cast<double>(best + 1) / n), p1,
                p2);
}

double max_error(double p1, double p2) {
  double m = 0;
  for (int k = 1; k <= 4096; ++k)
    m = std::max(m, std::fabs(error_at(Num(k / 4096.0), Num(p1), Num(p2)).d()));
  return m;
}

}  // namespace

int main() {
  // Single-point exchange: the point of largest error enters the reference
  // in place of the neighbour whose error has its sign, so that the signs
  // keep alternating and the levelled error grows to the minimax error.
  Num ref[3] = {Num(0.4), Num(0.8), Num(1.0)};
  Num p1, p2;
  for (int it = 0;; ++it) {
    solve(ref, p1, p2);
    const Num z = global_extremum(p1, p2);
    const Num level = error_at(ref[0], p1, p2);
    const Num ez = error_at(z, p1, p2);
    if (std::fabs(ez.d()) <= std::fabs(level.d()) * (1 + 1e-9)) break;
    if (it == 100) {
      std::fprintf(stderr, "the exchange did not converge\n");
      return 1;
    }
    auto same_sign = [&](int i) { return (error_at(ref[i], p1, p2).d() < 0) == (ez.d() < 0); };
    if (mpfr_less_p(z, ref[0])) {
      if (!same_sign(0)) {
        ref[2] = ref[1];
        ref[1] = ref[0];
      }
      ref[0] = z;
    } else if (mpfr_greater_p(z, ref[2])) {
      if (!same_sign(2)) {
        ref[0] = ref[1];
        ref[1] = ref[2];
      }
      ref[2] = z;
    } else {
      const int i = mpfr_less_p(z, ref[1]) ? 0 : 1;
      ref[same_sign(i) ? i : i + 1] = z;
    }
  }
  const double c1 = p1.d(), c2 = p2.d();
  std::printf(
      "// Odd series of the Real8 hyperbolic sine below 1:\n"
      "//   sinh x = x + x s (p1 + s (p2 + s (p3 + s (p4 + s (p5 + s (p6 + s p7)))))),\n"
      "// s = x^2. p3..p7 are fixed; p1 and p2 minimise the largest relative error\n"
      "// over (0, 1] (Remez exchange); with them rounded to Real8 it is %.3g\n"
      "// ulp (of 2^-53). Generated by tools/tables/gen_sinh_series.cpp (MPFR, 256\n"
      "// bits); hyperbolic_internal_test measures the fit.\n"
      "#pragma once\n\n"
      "namespace vx {\n\n"
      "inline constexpr double sinh_series[7] = {\n",
      max_error(c1, c2) * 0x1p53);
  const double all[7] = {c1, c2, kHigh[0], kHigh[1], kHigh[2], kHigh[3], kHigh[4]};
  char literal[7][32];
  int width = 0;
  for (int i = 0; i < 7; ++i)
    width = std::max(width, std::snprintf(literal[i], sizeof literal[i], "%a,", all[i]));
  for (int i = 0; i < 7; ++i)  // comments aligned, as clang-format leaves them
    std::printf("    %-*s  // p%d %.17g\n", width, literal[i], i + 1, all[i]);
  std::printf("};\n\n}  // namespace vx\n");
  return 0;
}
