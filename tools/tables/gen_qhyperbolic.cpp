// Writes src/qelem/hyperbolic/tables/hyperbolic_table.h: the series of
// g_qpscnhq and the rational approximations of the Real16 error and gamma
// functions. Each is
// P(t)/Q(t) with Q monic, from an interpolation at the Chebyshev nodes of
// its interval refined by exchange steps towards the least largest
// relative error (absolute for erf's R, next to 1 + R); that error over
// 3000 points of the interval goes to stderr.
//   erf   a/b     erf x = x + x R(z), z = x^2 in [0, 1]: R = erf(x)/x - 1,
//                 P degree 9, Q degree 9
//   erfc  a/b c/d e/f  erfc a = e^(-a^2) R, R = erfc(a) e^(a^2) of t = a - 1
//                 on [-0.5232, 0.25], a - 1.25 on [0, 1.25], a - 2.5 on
//                 [0, 2]: P degree 10, Q degree 11;
//         g/h     of u = 4.5/a on [0.04, 1] (e^(-a^2) underflows from a =
//                 106.6, u = 0.0422, on): P degree 11 with P(0) = 0, Q 12
//   gamma a/b     G(f) = Gamma(2 + f), f in [0, 1]: degrees 12 and 12
//   lgamma a/b    ln Gamma(3 + f), f in [-1/2, 1/2]: P degree 12, Q degree 11
//                 (about the base point 2 the logarithmic singularity at
//                 f = -2 holds these degrees to 2^-105)
//          c/d    Stirling's remainder w Pc(v)/Pd(v), w = 1/x, v = w^2 in
//                 [0, 1/1024] (x >= 32): degrees 4 and 5
//   pscnhq as/ac  sinh t = t + t (as0 + as1 z + ... + as12 z^12) and cosh t
//                 = 1 + z/2 + ac2 z^2 + ... + ac13 z^13, z = t^2 in [0, 1]
//                 (polynomials: Q = 1)
//
//   build/native/tools/tables/gen_qhyperbolic > src/qelem/hyperbolic/tables/hyperbolic_table.h
#include <mpfr.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

#include "words.h"

namespace {

constexpr mpfr_prec_t kBits = 480;

struct Num {
  mpfr_t v;
  Num() { mpfr_init2(v, kBits); }
  Num(const Num &o) : Num() { mpfr_set(v, o.v, MPFR_RNDN); }
  Num &operator=(const Num &o) {
    mpfr_set(v, o.v, MPFR_RNDN);
    return *this;
  }
  ~Num() { mpfr_clear(v); }
};

using Target = std::function<void(mpfr_ptr, mpfr_srcptr)>;

// Solves m x = r (n unknowns) by elimination with partial pivoting.
std::vector<Num> solve(std::vector<std::vector<Num>> m, std::vector<Num> r) {
  const std::size_t n = r.size();
  Num t, u;
  for (std::size_t c = 0; c < n; ++c) {
    std::size_t best = c;
    for (std::size_t i = c + 1; i < n; ++i)
      if (mpfr_cmpabs(m[i][c].v, m[best][c].v) > 0) best = i;
    std::swap(m[c], m[best]);
    std::swap(r[c], r[best]);
    for (std::size_t i = c + 1; i < n; ++i) {
      mpfr_div(t.v, m[i][c].v, m[c][c].v, MPFR_RNDN);
      for (std::size_t j = c; j < n; ++j) {
        mpfr_mul(u.v, t.v, m[c][j].v, MPFR_RNDN);
        mpfr_sub(m[i][j].v, m[i][j].v, u.v, MPFR_RNDN);
      }
      mpfr_mul(u.v, t.v, r[c].v, MPFR_RNDN);
      mpfr_sub(r[i].v, r[i].v, u.v, MPFR_RNDN);
    }
  }
  std::vector<Num> x(n);
  for (std::size_t i = n; i-- > 0;) {
    mpfr_set(t.v, r[i].v, MPFR_RNDN);
    for (std::size_t j = i + 1; j < n; ++j) {
      mpfr_mul(u.v, m[i][j].v, x[j].v, MPFR_RNDN);
      mpfr_sub(t.v, t.v, u.v, MPFR_RNDN);
    }
    mpfr_div(x[i].v, t.v, m[i][i].v, MPFR_RNDN);
  }
  return x;
}

struct Rational {
  std::vector<Num> p, q;  // ascending; q without its leading 1
};

void evaluate(mpfr_ptr out, const Rational &r, mpfr_srcptr t) {
  Num p, q;
  mpfr_set_zero(p.v, 1);
  for (std::size_t i = r.p.size(); i-- > 0;) {
    mpfr_mul(p.v, p.v, t, MPFR_RNDN);
    mpfr_add(p.v, p.v, r.p[i].v, MPFR_RNDN);
  }
  mpfr_set_ui(q.v, 1, MPFR_RNDN);
  for (std::size_t i = r.q.size(); i-- > 0;) {
    mpfr_mul(q.v, q.v, t, MPFR_RNDN);
    mpfr_add(q.v, q.v, r.q[i].v, MPFR_RNDN);
  }
  mpfr_div(out, p.v, q.v, MPFR_RNDN);
}

// The linear system of P (np coefficients, times t^zeros) and the monic Q
// (degree dq) through the points (t_i, y_i), y_i already divided by
// t_i^zeros; with `level` the equations are P - y Q = (-1)^i E w_i Q0(t_i)
// (the levelled error of the exchange, Q0 the last denominator) and E is
// one more unknown.
Rational solve_at(const std::vector<Num> &t, const std::vector<Num> &y, const std::vector<Num> &w,
                  int np, int dq, int zeros, const Rational *level) {
  const std::size_t n = static_cast<std::size_t>(np + dq + (level ? 1 : 0));
  std::vector<std::vector<Num>> m(n, std::vector<Num>(n));
  std::vector<Num> r(n);
  Num pw, q0;
  for (std::size_t i = 0; i < n; ++i) {
    mpfr_set_ui(pw.v, 1, MPFR_RNDN);
    for (int j = 0; j <= std::max(np - 1, dq); ++j) {
      if (j < np) mpfr_set(m[i][static_cast<std::size_t>(j)].v, pw.v, MPFR_RNDN);
      if (j < dq) {
        Num &e = m[i][static_cast<std::size_t>(np + j)];
        mpfr_mul(e.v, pw.v, y[i].v, MPFR_RNDN);
        mpfr_neg(e.v, e.v, MPFR_RNDN);
      }
      if (j == dq) mpfr_mul(r[i].v, pw.v, y[i].v, MPFR_RNDN);
      mpfr_mul(pw.v, pw.v, t[i].v, MPFR_RNDN);
    }
    if (level) {
      Rational one_q{{}, level->q};
      mpfr_set_ui(q0.v, 1, MPFR_RNDN);
      for (std::size_t k = level->q.size(); k-- > 0;) {
        mpfr_mul(q0.v, q0.v, t[i].v, MPFR_RNDN);
        mpfr_add(q0.v, q0.v, level->q[k].v, MPFR_RNDN);
      }
      Num &e = m[i][n - 1];
      mpfr_mul(e.v, q0.v, w[i].v, MPFR_RNDN);
      if (i % 2) mpfr_neg(e.v, e.v, MPFR_RNDN);
    }
  }
  const std::vector<Num> x = solve(m, r);
  Rational out;
  out.p.resize(static_cast<std::size_t>(zeros));
  for (auto &z : out.p) mpfr_set_zero(z.v, 1);
  for (int j = 0; j < np; ++j) out.p.push_back(x[static_cast<std::size_t>(j)]);
  for (int j = 0; j < dq; ++j) out.q.push_back(x[static_cast<std::size_t>(np + j)]);
  return out;
}

// P (degree dp) / Q (monic, degree dq) close to f on [lo, hi] in relative
// error (absolute with `absolute`): interpolation at the Chebyshev nodes,
// then exchange steps that level the error at its alternating extrema on a
// grid of 3000 points; the best found is kept. P's lowest `zeros`
// coefficients are 0 (P = t^zeros P~ fitted to f / t^zeros).
Rational fit(const char *name, const Target &f, double lo, double hi, int dp, int dq, int zeros = 0,
             bool absolute = false) {
  const int np = dp + 1 - zeros, n = np + dq;
  auto sample = [&](double at, Num &t, Num &y, Num &w) {
    mpfr_set_d(t.v, at, MPFR_RNDN);
    f(y.v, t.v);
    mpfr_set_ui(w.v, 1, MPFR_RNDN);
    if (!absolute) mpfr_abs(w.v, y.v, MPFR_RNDN);
    if (zeros) {
      Num pw;
      mpfr_pow_ui(pw.v, t.v, static_cast<unsigned long>(zeros), MPFR_RNDN);
      mpfr_div(y.v, y.v, pw.v, MPFR_RNDN);
      mpfr_div(w.v, w.v, pw.v, MPFR_RNDN);
    }
  };
  std::vector<Num> t(static_cast<std::size_t>(n)), y(t.size()), w(t.size());
  for (int i = 0; i < n; ++i) {
    const double c = std::cos(M_PI * (2 * i + 1) / (2 * n));
    sample((lo + hi) / 2 + (hi - lo) / 2 * c, t[static_cast<std::size_t>(i)],
           y[static_cast<std::size_t>(i)], w[static_cast<std::size_t>(i)]);
  }
  Rational best = solve_at(t, y, w, np, dq, zeros, nullptr);
  // The grid, denser at the ends.
  constexpr int kGrid = 3000;
  std::vector<Num> gt(kGrid + 1), gy(gt.size()), gw(gt.size());
  for (int i = 0; i <= kGrid; ++i) {
    const double c = -std::cos(M_PI * i / kGrid);
    double at = (lo + hi) / 2 + (hi - lo) / 2 * c;
    if (zeros && at == 0) at = (hi - lo) * 1e-9;
    sample(at, gt[static_cast<std::size_t>(i)], gy[static_cast<std::size_t>(i)],
           gw[static_cast<std::size_t>(i)]);
  }
  std::vector<double> err(gt.size());
  auto worst_of = [&](const Rational &r) {
    Num g, d;
    Rational reduced{{}, r.q};
    for (std::size_t j = static_cast<std::size_t>(zeros); j < r.p.size(); ++j)
      reduced.p.push_back(r.p[j]);
    double worst = 0;
    for (std::size_t i = 0; i < gt.size(); ++i) {
      evaluate(g.v, reduced, gt[i].v);
      mpfr_sub(d.v, g.v, gy[i].v, MPFR_RNDN);
      mpfr_div(d.v, d.v, gw[i].v, MPFR_RNDN);
      err[i] = mpfr_get_d(d.v, MPFR_RNDN);
      worst = std::max(worst, std::fabs(err[i]));
    }
    return worst;
  };
  double best_error = worst_of(best);
  Rational current = best;
  for (int round = 0; round < 12; ++round) {
    worst_of(current);
    // The extremum of each run of one sign.
    std::vector<std::size_t> ext;
    for (std::size_t i = 0; i < err.size();) {
      std::size_t j = i, at = i;
      while (j < err.size() && (err[j] < 0) == (err[i] < 0)) {
        if (std::fabs(err[j]) > std::fabs(err[at])) at = j;
        ++j;
      }
      ext.push_back(at);
      i = j;
    }
    // One extremum short: an end of the interval is the missing one.
    if (ext.size() == static_cast<std::size_t>(n) && ext.front() != 0) ext.insert(ext.begin(), 0);
    if (ext.size() == static_cast<std::size_t>(n) && ext.back() != gt.size() - 1)
      ext.push_back(gt.size() - 1);
    if (ext.size() < static_cast<std::size_t>(n + 1)) break;
    while (ext.size() > static_cast<std::size_t>(n + 1)) {
      if (std::fabs(err[ext.front()]) < std::fabs(err[ext.back()])) {
        ext.erase(ext.begin());
      } else {
        ext.pop_back();
      }
    }
    std::vector<Num> et, ey, ew;
    for (std::size_t i : ext) et.push_back(gt[i]), ey.push_back(gy[i]), ew.push_back(gw[i]);
    Rational next = current;
    for (int inner = 0; inner < 3; ++inner) next = solve_at(et, ey, ew, np, dq, zeros, &next);
    current = next;
    const double e = worst_of(current);
    if (e < best_error) best_error = e, best = current;
  }
  std::fprintf(stderr, "%-8s %s error %.3g (2^%.1f)\n", name, absolute ? "absolute" : "relative",
               best_error, std::log2(best_error));
  return best;
}

void print_real16(mpfr_srcptr v) {
  mpfr_t r;
  mpfr_init2(r, 113);
  mpfr_set(r, v, MPFR_RNDN);
  const auto w = tables::real16_words(v);
  mpfr_printf("    q16(0x%08x, 0x%08x, 0x%08x, 0x%08x),  // %.34Re\n", w[0], w[1], w[2], w[3], r);
  mpfr_clear(r);
}

void table(const char *name, const std::vector<Num> &c, const char *what) {
  std::printf("\n// %s\ninline constexpr Real16 %s[%zu] = {\n", what, name, c.size());
  for (const Num &v : c) print_real16(v.v);
  std::printf("};\n");
}

void erfcx(mpfr_ptr y, mpfr_srcptr a) {
  Num s;
  mpfr_erfc(y, a, MPFR_RNDN);
  mpfr_sqr(s.v, a, MPFR_RNDN);
  mpfr_exp(s.v, s.v, MPFR_RNDN);
  mpfr_mul(y, y, s.v, MPFR_RNDN);
}

}  // namespace

int main() {
  mpfr_set_emin(mpfr_get_emin_min());
  mpfr_set_emax(mpfr_get_emax_max());
  std::printf(
      "// The series of g_qpscnhq and the rational approximations of the Real16\n"
      "// error and gamma functions: P/Q with Q monic (its leading 1 not stored),\n"
      "// coefficients in ascending\n"
      "// order, each levelling its error over its interval. Generated by\n"
      "// tools/tables/gen_qhyperbolic.cpp (MPFR, 480 bits):\n"
      "//   build/native/tools/tables/gen_qhyperbolic > "
      "src/qelem/hyperbolic/tables/hyperbolic_table.h\n"
      "// real16_hyperbolic_test measures the functions against MPFR.\n"
      "#pragma once\n\n#include \"qelem/real16_ops.h\"\n\nnamespace vx::qelem::hyperbolic_table "
      "{\n");

  const Rational as = fit(
      "as",
      [](mpfr_ptr y, mpfr_srcptr z) {
        Num t;
        if (mpfr_zero_p(z)) return mpfr_set_zero(y, 1);
        mpfr_sqrt(t.v, z, MPFR_RNDN);
        mpfr_sinh(y, t.v, MPFR_RNDN);
        mpfr_div(y, y, t.v, MPFR_RNDN);
        mpfr_sub_ui(y, y, 1, MPFR_RNDN);
      },
      0, 1, 12, 0, 0, true);
  table("as", as.p, "g_qpscnhq: sinh(t)/t - 1 of z = t^2 in [0, 1], close to 1/(2i+1)!");
  Rational ac = fit(
      "ac",
      [](mpfr_ptr y, mpfr_srcptr z) {
        Num t;
        if (mpfr_zero_p(z)) {
          mpfr_set_ui(y, 1, MPFR_RNDN);
          return mpfr_div_ui(y, y, 24, MPFR_RNDN), void();
        }
        mpfr_sqrt(t.v, z, MPFR_RNDN);
        mpfr_cosh(y, t.v, MPFR_RNDN);
        mpfr_sub_ui(y, y, 1, MPFR_RNDN);
        mpfr_div_2ui(t.v, z, 1, MPFR_RNDN);
        mpfr_sub(y, y, t.v, MPFR_RNDN);
        mpfr_div(y, y, z, MPFR_RNDN);
        mpfr_div(y, y, z, MPFR_RNDN);
      },
      0, 1, 11, 0);
  Num one, half;
  mpfr_set_ui(one.v, 1, MPFR_RNDN);
  mpfr_set_d(half.v, 0.5, MPFR_RNDN);
  ac.p.insert(ac.p.begin(), {one, half});
  table("ac", ac.p, "g_qpscnhq: cosh t of z = t^2 in [0, 1], 1 and 1/2 then close to 1/(2i)!");

  const Rational erf = fit(
      "erf",
      [](mpfr_ptr y, mpfr_srcptr z) {
        Num x;
        if (mpfr_zero_p(z)) {  // 2/sqrt(pi) - 1
          mpfr_const_pi(x.v, MPFR_RNDN);
          mpfr_rec_sqrt(y, x.v, MPFR_RNDN);
          mpfr_mul_2ui(y, y, 1, MPFR_RNDN);
          mpfr_sub_ui(y, y, 1, MPFR_RNDN);
          return;
        }
        mpfr_sqrt(x.v, z, MPFR_RNDN);
        mpfr_erf(y, x.v, MPFR_RNDN);
        mpfr_div(y, y, x.v, MPFR_RNDN);
        mpfr_sub_ui(y, y, 1, MPFR_RNDN);
      },
      0, 1, 9, 9, 0, true);
  table("erf_a", erf.p, "erf: R(z) = erf(x)/x - 1, numerator (z = x^2 in [0, 1])");
  table("erf_b", erf.q, "erf: denominator");

  struct Piece {
    const char *p, *q, *what;
    double shift, lo, hi;
  };
  const Piece pieces[] = {
      {"erfc_a", "erfc_b", "erfc: R(a - 1), a in [0.4768, 1.25)", 1, -0.5232, 0.25},
      {"erfc_c", "erfc_d", "erfc: R(a - 1.25), a in [1.25, 2.5)", 1.25, 0, 1.25},
      {"erfc_e", "erfc_f", "erfc: R(a - 2.5), a in [2.5, 4.5)", 2.5, 0, 2}};
  for (const Piece &piece : pieces) {
    const double shift = piece.shift;
    const Rational r = fit(
        piece.p,
        [shift](mpfr_ptr y, mpfr_srcptr t) {
          Num a;
          mpfr_add_d(a.v, t, shift, MPFR_RNDN);
          erfcx(y, a.v);
        },
        piece.lo, piece.hi, 10, 11);
    table(piece.p, r.p, piece.what);
    table(piece.q, r.q, "erfc: denominator");
  }
  const Rational tail = fit(
      "erfc_g",
      [](mpfr_ptr y, mpfr_srcptr u) {
        Num a;
        mpfr_ui_div(a.v, 9, u, MPFR_RNDN);
        mpfr_div_2ui(a.v, a.v, 1, MPFR_RNDN);
        erfcx(y, a.v);
      },
      0.04, 1, 11, 12, 1);
  table("erfc_g", tail.p, "erfc: R(4.5/a), a from 4.5 up");
  table("erfc_h", tail.q, "erfc: denominator");

  const Rational gamma = fit(
      "gamma",
      [](mpfr_ptr y, mpfr_srcptr f) {
        Num x;
        mpfr_add_ui(x.v, f, 2, MPFR_RNDN);
        mpfr_gamma(y, x.v, MPFR_RNDN);
      },
      0, 1, 12, 12);
  table("gamma_a", gamma.p, "gamma: Gamma(2 + f), f in [0, 1), numerator");
  table("gamma_b", gamma.q, "gamma: denominator");

  const Rational lgamma = fit(
      "lgamma",
      [](mpfr_ptr y, mpfr_srcptr f) {
        Num x;
        mpfr_add_ui(x.v, f, 3, MPFR_RNDN);
        mpfr_lngamma(y, x.v, MPFR_RNDN);
      },
      -0.5, 0.5, 12, 11);
  table("lgamma_a", lgamma.p, "lgamma: ln Gamma(3 + f), f in [-1/2, 1/2), numerator");
  table("lgamma_b", lgamma.q, "lgamma: denominator");

  const Rational stirling = fit(
      "stirling",
      [](mpfr_ptr y, mpfr_srcptr v) {
        if (mpfr_zero_p(v)) {
          mpfr_set_ui(y, 1, MPFR_RNDN);
          mpfr_div_ui(y, y, 12, MPFR_RNDN);
          return;
        }
        Num x, l, t;
        mpfr_rec_sqrt(x.v, v, MPFR_RNDN);  // x = 1/sqrt(v)
        mpfr_lngamma(y, x.v, MPFR_RNDN);
        mpfr_log(l.v, x.v, MPFR_RNDN);
        mpfr_sub_d(t.v, x.v, 0.5, MPFR_RNDN);
        mpfr_mul(t.v, t.v, l.v, MPFR_RNDN);
        mpfr_sub(t.v, t.v, x.v, MPFR_RNDN);
        mpfr_sub(y, y, t.v, MPFR_RNDN);
        mpfr_const_pi(t.v, MPFR_RNDN);
        mpfr_mul_2ui(t.v, t.v, 1, MPFR_RNDN);
        mpfr_log(t.v, t.v, MPFR_RNDN);
        mpfr_div_2ui(t.v, t.v, 1, MPFR_RNDN);
        mpfr_sub(y, y, t.v, MPFR_RNDN);
        mpfr_mul(y, y, x.v, MPFR_RNDN);  // S / w
      },
      0, 1.0 / 1024, 4, 5);
  table("lgamma_c", stirling.p, "lgamma: Stirling's remainder S = w Pc(v)/Pd(v), numerator");
  table("lgamma_d", stirling.q, "lgamma: denominator");

  std::printf("\n}  // namespace vx::qelem::hyperbolic_table\n");
}
