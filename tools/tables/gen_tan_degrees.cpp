// Writes src/elem/trig_units/tables/tan_degrees_table.h: the kernels of the Real8 degree
// tangent and cotangent (g_dtand, g_dcotd) on |r| <= 45 degrees, s = r^2:
//
//   tan(r deg) = r/64 + r A(s)/B(s),  A = a0 + a1 s + ... + a4 s^4,
//                                     B = b0 + b1 s + b2 s^2 + s^3;
//   cot(r deg) = (c0 + c1 s + ... + c9 s^9) / r,  c0 = 180/pi to 64 bits.
//
// r/64 is exact, so A/B only carries tan(r deg)/r - 1/64, about a tenth of
// the whole; c0 is held to the 64 bits of the x87 register, so that the
// leading term of the cotangent is not off by the Real8 rounding of 180/pi.
//
// The fits minimise the largest relative error over kPoints Chebyshev
// points of [0, kRange] (Lawson's iteratively reweighted least squares,
// which converges to the discrete minimax). The rational is linearised
// (differential correction): A - f B with f = tan(r deg)/r - 1/64, weighted
// by 1 / (|B_prev| tan(r deg)/r), repeated with the new B. B is then rounded
// to Real8, A refitted for that B and rounded; c1..c9 are fitted for the
// rounded c0 and rounded. The header states the largest relative error of
// the rounded sets, measured with MPFR on a finer grid.
//
//   build/native/tools/tables/gen_tan_degrees > src/elem/trig_units/tables/tan_degrees_table.h
#include <mpfr.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr mpfr_prec_t kBits = 256;
constexpr double kRange = 45.1;  // |r| the kernels see: 45 and the slack of the reductions
constexpr int kPoints = 400;
constexpr int kLawsonSteps = 400;

// An MPFR number at kBits with the operators the fit needs.
class F {
 public:
  F() { mpfr_init2(v_, kBits), mpfr_set_zero(v_, 1); }
  F(double x) : F() { mpfr_set_d(v_, x, MPFR_RNDN); }  // NOLINT: implicit on purpose
  F(const F &o) : F() { mpfr_set(v_, o.v_, MPFR_RNDN); }
  F &operator=(const F &o) {
    mpfr_set(v_, o.v_, MPFR_RNDN);
    return *this;
  }
  ~F() { mpfr_clear(v_); }
  mpfr_ptr get() { return v_; }
  mpfr_srcptr get() const { return v_; }

  friend F operator+(const F &a, const F &b) { return op(mpfr_add, a, b); }
  friend F operator-(const F &a, const F &b) { return op(mpfr_sub, a, b); }
  friend F operator*(const F &a, const F &b) { return op(mpfr_mul, a, b); }
  friend F operator/(const F &a, const F &b) { return op(mpfr_div, a, b); }
  F operator-() const { return F(0.0) - *this; }
  F &operator+=(const F &b) { return *this = *this + b; }
  bool operator<(const F &b) const { return mpfr_less_p(v_, b.v_) != 0; }
  double d() const { return mpfr_get_d(v_, MPFR_RNDN); }

 private:
  template <class Op>
  static F op(Op f, const F &a, const F &b) {
    F r;
    f(r.v_, a.v_, b.v_, MPFR_RNDN);
    return r;
  }
  mpfr_t v_;
};

F abs(const F &a) { return a < F(0.0) ? -a : a; }

F pi() {
  F p;
  mpfr_const_pi(p.get(), MPFR_RNDN);
  return p;
}

// tan(r deg) / r, r > 0.
F tan_over_r(const F &r) {
  F t = r * pi() / F(180.0);
  mpfr_tan(t.get(), t.get(), MPFR_RNDN);
  return t / r;
}

// r cot(r deg), r > 0.
F r_cot(const F &r) { return F(1.0) / tan_over_r(r); }

using Vec = std::vector<F>;
using Mat = std::vector<Vec>;

// Solves m x = y (Gaussian elimination with partial pivoting).
Vec solve(Mat m, Vec y) {
  const std::size_t n = y.size();
  for (std::size_t c = 0; c < n; ++c) {
    std::size_t p = c;
    for (std::size_t r = c + 1; r < n; ++r)
      if (abs(m[p][c]) < abs(m[r][c])) p = r;
    std::swap(m[c], m[p]);
    std::swap(y[c], y[p]);
    for (std::size_t r = c + 1; r < n; ++r) {
      const F k = m[r][c] / m[c][c];
      for (std::size_t j = c; j < n; ++j) m[r][j] = m[r][j] - k * m[c][j];
      y[r] = y[r] - k * y[c];
    }
  }
  Vec x(n);
  for (std::size_t c = n; c-- > 0;) {
    F v = y[c];
    for (std::size_t j = c + 1; j < n; ++j) v = v - m[c][j] * x[j];
    x[c] = v / m[c][c];
  }
  return x;
}

// Discrete minimax of max_i |rho_i (sum_k c_k phi_ik - y_i)| by Lawson's
// algorithm: weighted least squares, the weights multiplied by the errors.
Vec lawson(const Mat &phi, const Vec &y, const Vec &rho) {
  const std::size_t n = y.size(), m = phi[0].size();
  Vec w(n, F(1.0 / static_cast<double>(n)));
  Vec c;
  for (int step = 0; step < kLawsonSteps; ++step) {
    Mat a(m, Vec(m));
    Vec b(m);
    for (std::size_t i = 0; i < n; ++i) {
      const F wr = w[i] * rho[i] * rho[i];
      for (std::size_t k = 0; k < m; ++k) {
        const F t = wr * phi[i][k];
        for (std::size_t l = k; l < m; ++l) a[k][l] += t * phi[i][l];
        b[k] += t * y[i];
      }
    }
    for (std::size_t k = 0; k < m; ++k)
      for (std::size_t l = 0; l < k; ++l) a[k][l] = a[l][k];
    c = solve(a, b);
    F total;
    for (std::size_t i = 0; i < n; ++i) {
      F e = -y[i];
      for (std::size_t k = 0; k < m; ++k) e += c[k] * phi[i][k];
      w[i] = w[i] * abs(rho[i] * e);
      total += w[i];
    }
    for (F &v : w) v = v / total;
  }
  return c;
}

// The same fit with Real8 coefficients c_k = x_k / unit_k (x_k the
// coefficient of column k): rounds them one at a time, from the first
// column on, and refits the remaining columns to what the rounded ones
// leave.
std::vector<double> lawson_rounded(const Mat &phi, const Vec &y, const Vec &rho, const Vec &unit) {
  const std::size_t m = unit.size();
  std::vector<double> out;
  Vec rest = y;
  for (std::size_t k = 0; k < m; ++k) {
    Mat sub;
    for (const Vec &row : phi) sub.emplace_back(row.begin() + static_cast<long>(k), row.end());
    const Vec x = lawson(sub, rest, rho);
    out.push_back((x[0] / unit[k]).d());
    const F kept = F(out.back()) * unit[k];
    for (std::size_t i = 0; i < rest.size(); ++i) rest[i] = rest[i] - kept * phi[i][k];
  }
  return out;
}

// Chebyshev points of (0, kRange).
Vec grid(int n) {
  Vec r;
  for (int i = 0; i < n; ++i) {
    const double c = std::cos(M_PI * (2 * i + 1) / (2.0 * n));
    r.emplace_back(kRange / 2 * (1 + c));
  }
  return r;
}

F power(const F &x, int k) {
  F p(1.0);
  for (int i = 0; i < k; ++i) p = p * x;
  return p;
}

struct Rational {
  double a[5], b[3];
};

F eval_a(const Rational &q, const F &s) {
  F v(q.a[4]);
  for (int k = 3; k >= 0; --k) v = v * s + F(q.a[k]);
  return v;
}
F eval_b(const Rational &q, const F &s) {
  return ((s + F(q.b[2])) * s + F(q.b[1])) * s + F(q.b[0]);
}

Rational fit_tangent() {
  const Vec r = grid(kPoints);
  const F scale = F(kRange) * F(kRange);  // s = scale t: the fit works on t in [0, 1]
  std::vector<F> t, f, g;
  for (const F &x : r) {
    t.push_back(x * x / scale);
    g.push_back(tan_over_r(x));
    f.push_back(g.back() - F(1.0 / 64));
  }
  // Differential correction on A'(t) - f B'(t), B' = t^3 + b2' t^2 + b1' t + b0'.
  Vec bprev(r.size(), F(1.0));
  Vec c;
  for (int round = 0; round < 4; ++round) {
    Mat phi;
    Vec y, rho;
    for (std::size_t i = 0; i < r.size(); ++i) {
      Vec row;
      for (int k = 0; k <= 4; ++k) row.push_back(power(t[i], k));
      for (int k = 0; k <= 2; ++k) row.push_back(-f[i] * power(t[i], k));
      phi.push_back(row);
      y.push_back(f[i] * power(t[i], 3));
      rho.push_back(F(1.0) / (abs(bprev[i]) * g[i]));
    }
    c = lawson(phi, y, rho);
    for (std::size_t i = 0; i < r.size(); ++i)
      bprev[i] = ((t[i] + c[7]) * t[i] + c[6]) * t[i] + c[5];
  }
  // Back to s: B(s) = scale^3 B'(s/scale), A(s) = scale^3 A'(s/scale).
  Rational q{};
  for (int k = 0; k <= 2; ++k) q.b[k] = (c[5 + k] * power(scale, 3 - k)).d();
  // A refitted for the rounded B, then rounded.
  Mat phi;
  Vec y, rho;
  for (std::size_t i = 0; i < r.size(); ++i) {
    const F s = t[i] * scale;
    const F bs = eval_b(q, s);
    Vec row;
    for (int k = 0; k <= 4; ++k) row.push_back(power(t[i], k));
    phi.push_back(row);
    y.push_back(f[i] * bs);
    rho.push_back(F(1.0) / (abs(bs) * g[i]));
  }
  Vec unit;
  for (int k = 0; k <= 4; ++k) unit.push_back(power(scale, k));
  const std::vector<double> a = lawson_rounded(phi, y, rho, unit);
  for (int k = 0; k <= 4; ++k) q.a[k] = a[k];
  return q;
}

struct Series {
  long double c0;
  double c[10];  // c[1..9]
};

long double c0_to_64_bits() {
  F v = F(180.0) / pi();
  return mpfr_get_ld(v.get(), MPFR_RNDN);
}

F eval_c(const Series &p, const F &s) {
  F v(p.c[9]);
  for (int k = 8; k >= 1; --k) v = v * s + F(p.c[k]);
  F c0;
  mpfr_set_ld(c0.get(), p.c0, MPFR_RNDN);
  return v * s + c0;
}

Series fit_cotangent() {
  Series p{};
  p.c0 = c0_to_64_bits();
  F c0;
  mpfr_set_ld(c0.get(), p.c0, MPFR_RNDN);
  const Vec r = grid(kPoints);
  const F scale = F(kRange) * F(kRange);
  Mat phi;
  Vec y, rho;
  for (const F &x : r) {
    const F t = x * x / scale;
    const F rc = r_cot(x);
    Vec row;
    for (int k = 1; k <= 9; ++k) row.push_back(power(t, k));
    phi.push_back(row);
    y.push_back(rc - c0);
    rho.push_back(F(1.0) / rc);
  }
  Vec unit;
  for (int k = 1; k <= 9; ++k) unit.push_back(power(scale, k));
  const std::vector<double> c = lawson_rounded(phi, y, rho, unit);
  for (int k = 1; k <= 9; ++k) p.c[k] = c[k - 1];
  return p;
}

// Largest relative errors (in units of 2^-53) of the rounded sets, over
// (0, kRange] on a grid finer than the fit's.
void measure(const Rational &q, const Series &p, double &tan_err, double &cot_err) {
  tan_err = cot_err = 0;
  constexpr int n = 20000;
  for (int i = 1; i <= n; ++i) {
    const F r = F(kRange) * F(static_cast<double>(i)) / F(static_cast<double>(n));
    const F s = r * r;
    const F g = tan_over_r(r);
    const F approx = F(1.0 / 64) + eval_a(q, s) / eval_b(q, s);
    tan_err = std::fmax(tan_err, (abs(approx / g - F(1.0)) * F(0x1p53)).d());
    const F rc = r_cot(r);
    cot_err = std::fmax(cot_err, (abs(eval_c(p, s) / rc - F(1.0)) * F(0x1p53)).d());
  }
}

}  // namespace

int main() {
  const Rational q = fit_tangent();
  const Series p = fit_cotangent();
  double tan_err, cot_err;
  measure(q, p, tan_err, cot_err);

  std::printf(
      "// Kernels of the Real8 degree tangent and cotangent on |r| <= 45 degrees\n"
      "// (fitted on |r| <= %.4g), s = r^2:\n"
      "//   tan(r deg) = r/64 + r A(s)/B(s), A = a0 + ... + a4 s^4,\n"
      "//                B = b0 + b1 s + b2 s^2 + s^3;\n"
      "//   cot(r deg) = (c0 + c1 s + ... + c9 s^9) / r, c0 = 180/pi to 64 bits.\n"
      "// Largest relative error with these coefficients (exact arithmetic):\n"
      "// %.3f (tangent) and %.3f (cotangent) units of 2^-53.\n"
      "// Generated by tools/tables/gen_tan_degrees.cpp (MPFR minimax fit);\n"
      "// trig_units_test measures them again.\n"
      "#pragma once\n\n"
      "namespace vx::tan_degrees8 {\n\n",
      kRange, tan_err, cot_err);
  // One declaration per line, the decimal value in a comment aligned after
  // the longest declaration (as clang-format lays them out).
  std::vector<std::pair<std::string, std::string>> lines;
  char decl[128], value[64];
  const auto add = [&](const char *name, double v) {
    std::snprintf(decl, sizeof decl, "inline constexpr double %s = %a;", name, v);
    std::snprintf(value, sizeof value, "%.17g", v);
    lines.emplace_back(decl, value);
  };
  const char *names_a[] = {"a0", "a1", "a2", "a3", "a4"};
  const char *names_b[] = {"b0", "b1", "b2"};
  const char *names_c[] = {"", "c1", "c2", "c3", "c4", "c5", "c6", "c7", "c8", "c9"};
  for (int k = 0; k <= 4; ++k) add(names_a[k], q.a[k]);
  for (int k = 0; k <= 2; ++k) add(names_b[k], q.b[k]);
  std::snprintf(decl, sizeof decl, "inline constexpr long double c0 = %LaL;", p.c0);
  std::snprintf(value, sizeof value, "%.21Lg", p.c0);
  lines.emplace_back(decl, value);
  for (int k = 1; k <= 9; ++k) add(names_c[k], p.c[k]);
  std::size_t width = 0;
  for (const auto &l : lines) width = std::max(width, l.first.size());
  for (const auto &l : lines)
    std::printf("%-*s  // %s\n", static_cast<int>(width), l.first.c_str(), l.second.c_str());
  std::printf("\n}  // namespace vx::tan_degrees8\n");
  return 0;
}
