// MPFR oracle of the test suites: exact values at high precision and the
// error of a result in units in the last place of its type.
#pragma once

#include <mpfr.h>

#include <cstdint>
#include <string>

namespace oracle {

// Precision of the exact values: far beyond the 113 bits of Real16.
inline constexpr mpfr_prec_t kPrecision = 320;

struct Precision {
  mpfr_prec_t bits;
};

// An MPFR number that frees itself.
class Big {
 public:
  explicit Big(Precision p = {kPrecision}) { mpfr_init2(v_, p.bits); }
  explicit Big(double x, Precision p = {kPrecision}) : Big(p) { mpfr_set_d(v_, x, MPFR_RNDN); }
  explicit Big(long double x, Precision p = {kPrecision}) : Big(p) {
    mpfr_set_ld(v_, x, MPFR_RNDN);
  }
  Big(const Big &) = delete;
  Big &operator=(const Big &) = delete;
  ~Big() { mpfr_clear(v_); }
  mpfr_ptr get() { return v_; }
  mpfr_srcptr get() const { return v_; }
  operator mpfr_ptr() { return v_; }
  operator mpfr_srcptr() const { return v_; }

 private:
  mpfr_t v_;
};

using Fn1 = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);
using Fn2 = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t);

// The exact value of f(x) (or f(y, x)) at kPrecision bits.
void exact(Big &out, Fn1 f, double x);
void exact(Big &out, Fn2 f, double y, double x);

// |got - exact| in units in the last place of T (float or double) at the
// exact value: the ulp of the binade of |exact|, never below the smallest
// subnormal's, and that of the largest finite value beyond it. A NaN or an
// infinity is 0 when the exact value is the same, else infinite.
double ulp_error(float got, mpfr_srcptr exact);
double ulp_error(double got, mpfr_srcptr exact);

// Shorthands: the ulp error of `got` as a value of f at the argument(s).
template <class T>
double ulp_error(T got, Fn1 f, T x) {
  Big e;
  exact(e, f, static_cast<double>(x));
  return ulp_error(got, e);
}
template <class T>
double ulp_error(T got, Fn2 f, T y, T x) {
  Big e;
  exact(e, f, static_cast<double>(y), static_cast<double>(x));
  return ulp_error(got, e);
}

// Trigonometric functions of an angle in degrees (d) and in quadrant units
// (q, one unit a right angle), as oracle::Fn1: MPFR's sinu, cosu and tanu
// with 360 or 4 units per turn; the cotangent is 1/tan at the working
// precision (+-infinity at the multiples of a half turn).
int sind(mpfr_ptr y, mpfr_srcptr x, mpfr_rnd_t rnd);
int cosd(mpfr_ptr y, mpfr_srcptr x, mpfr_rnd_t rnd);
int tand(mpfr_ptr y, mpfr_srcptr x, mpfr_rnd_t rnd);
int cotd(mpfr_ptr y, mpfr_srcptr x, mpfr_rnd_t rnd);
int sinq(mpfr_ptr y, mpfr_srcptr x, mpfr_rnd_t rnd);
int cosq(mpfr_ptr y, mpfr_srcptr x, mpfr_rnd_t rnd);
int tanq(mpfr_ptr y, mpfr_srcptr x, mpfr_rnd_t rnd);
int cotq(mpfr_ptr y, mpfr_srcptr x, mpfr_rnd_t rnd);

// The value of f(x) correctly rounded to T.
float rounded(Fn1 f, float x);
double rounded(Fn1 f, double x);

// The largest error seen over a run, with the argument where it occurred.
struct WorstCase {
  double ulps = 0;
  double x = 0;
  std::uint64_t count = 0;
  void add(double error, double arg) {
    ++count;
    if (!(error <= ulps)) {
      ulps = error;
      x = arg;
    }
  }
  std::string describe() const;
};

}  // namespace oracle
