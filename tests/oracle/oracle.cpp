#include "oracle/oracle.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace oracle {

void exact(Big &out, Fn1 f, double x) {
  Big a(x);
  f(out, a, MPFR_RNDN);
}

void exact(Big &out, Fn2 f, double y, double x) {
  Big a(y), b(x);
  f(out, a, b, MPFR_RNDN);
}

namespace {

template <class T>
double ulp_error_of(T got, mpfr_srcptr exact) {
  using L = std::numeric_limits<T>;
  if (mpfr_nan_p(exact)) return std::isnan(got) ? 0 : INFINITY;
  if (std::isnan(got)) return INFINITY;
  if (mpfr_inf_p(exact)) {
    return std::isinf(got) && (got < 0) == (mpfr_sgn(exact) < 0) ? 0 : INFINITY;
  }
  if (std::isinf(got)) return INFINITY;
  // ulp of the binade [2^(e-1), 2^e) of |exact| is 2^(e - digits).
  long e = mpfr_zero_p(exact) ? L::min_exponent : mpfr_get_exp(exact);
  if (e < L::min_exponent) e = L::min_exponent;
  if (e > L::max_exponent) e = L::max_exponent;
  Big diff;
  mpfr_set_d(diff, static_cast<double>(got), MPFR_RNDN);
  mpfr_sub(diff, diff, exact, MPFR_RNDN);
  mpfr_abs(diff, diff, MPFR_RNDN);
  mpfr_mul_2si(diff, diff, L::digits - e, MPFR_RNDN);
  return mpfr_get_d(diff, MPFR_RNDU);
}

}  // namespace

double ulp_error(float got, mpfr_srcptr exact) { return ulp_error_of(got, exact); }
double ulp_error(double got, mpfr_srcptr exact) { return ulp_error_of(got, exact); }

namespace {

// 1/tan(x) with `units` per turn, through a tangent at the precision of y
// plus 64 bits.
int cot_units(mpfr_ptr y, mpfr_srcptr x, unsigned long units, mpfr_rnd_t rnd) {
  Big t(Precision{mpfr_get_prec(y) + 64});
  mpfr_tanu(t, x, units, MPFR_RNDN);
  return mpfr_ui_div(y, 1, t, rnd);
}

}  // namespace

int sind(mpfr_ptr y, mpfr_srcptr x, mpfr_rnd_t rnd) { return mpfr_sinu(y, x, 360, rnd); }
int cosd(mpfr_ptr y, mpfr_srcptr x, mpfr_rnd_t rnd) { return mpfr_cosu(y, x, 360, rnd); }
int tand(mpfr_ptr y, mpfr_srcptr x, mpfr_rnd_t rnd) { return mpfr_tanu(y, x, 360, rnd); }
int cotd(mpfr_ptr y, mpfr_srcptr x, mpfr_rnd_t rnd) { return cot_units(y, x, 360, rnd); }
int sinq(mpfr_ptr y, mpfr_srcptr x, mpfr_rnd_t rnd) { return mpfr_sinu(y, x, 4, rnd); }
int cosq(mpfr_ptr y, mpfr_srcptr x, mpfr_rnd_t rnd) { return mpfr_cosu(y, x, 4, rnd); }
int tanq(mpfr_ptr y, mpfr_srcptr x, mpfr_rnd_t rnd) { return mpfr_tanu(y, x, 4, rnd); }
int cotq(mpfr_ptr y, mpfr_srcptr x, mpfr_rnd_t rnd) { return cot_units(y, x, 4, rnd); }

namespace {

// f(x) rounded once to T: MPFR with T's precision and exponent range.
template <class T>
T rounded_to(Fn1 f, T x) {
  using L = std::numeric_limits<T>;
  Big r(Precision{L::digits});
  Big a(static_cast<double>(x));
  const auto emin = mpfr_get_emin(), emax = mpfr_get_emax();
  mpfr_set_emin(L::min_exponent - L::digits + 1);
  mpfr_set_emax(L::max_exponent);
  const int t = f(r, a, MPFR_RNDN);
  mpfr_subnormalize(r, mpfr_check_range(r, t, MPFR_RNDN), MPFR_RNDN);
  const T v = static_cast<T>(mpfr_get_d(r, MPFR_RNDN));  // exact: r has T's precision
  mpfr_set_emin(emin);
  mpfr_set_emax(emax);
  return v;
}

}  // namespace

float rounded(Fn1 f, float x) { return rounded_to(f, x); }
double rounded(Fn1 f, double x) { return rounded_to(f, x); }

std::string WorstCase::describe() const {
  char text[128];
  std::snprintf(text, sizeof text, "max %.4g ulp at x = %.17g (%a) over %llu arguments", ulps, x, x,
                static_cast<unsigned long long>(count));
  return text;
}

}  // namespace oracle
