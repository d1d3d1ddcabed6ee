// Complex products and quotients and the Real16 three-way comparison.
//
// Complex8 and Complex16 (g_acmc g_acdc g_axmx g_axdx): bit for bit against
// the formulas evaluated by MPFR at 64 bits, each operation rounded to
// nearest as in the x87 register (exact for it: no x87 step can overflow or
// go subnormal on Real4 or Real8 operands), each part then rounded to the
// type; a NaN part must be a NaN, any payload. Complex32 (g_azmz g_azdz):
// bit for bit against the same sequence of Real16 operations at 113 bits
// (oracle/real16.h), with the reports of every step in order, under
// infinity flag 0, where every default is sign-free. Operands of every
// class: zeros of both signs, subnormals or exponent-0 patterns, moderate,
// huge and tiny components, infinities and NaNs or their Real16 patterns.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <type_traits>
#include <vector>

#include "support/real16_checks.h"

namespace {

using namespace support;
using R = oracle::Real16Reference;

// A value of the x87 register: a 64-bit significand, rounded to nearest at
// each operation.
class X {
 public:
  explicit X(double v) : X() { mpfr_set_d(m_, v, MPFR_RNDN); }
  X(const X &o) : X() { mpfr_set(m_, o.m_, MPFR_RNDN); }
  X &operator=(const X &) = delete;
  ~X() { mpfr_clear(m_); }
  template <auto kOp>
  static X apply(const X &a, const X &b) {
    X r;
    kOp(r.m_, a.m_, b.m_, MPFR_RNDN);
    return r;
  }
  friend X operator+(const X &a, const X &b) { return apply<mpfr_add>(a, b); }
  friend X operator-(const X &a, const X &b) { return apply<mpfr_sub>(a, b); }
  friend X operator*(const X &a, const X &b) { return apply<mpfr_mul>(a, b); }
  friend X operator/(const X &a, const X &b) { return apply<mpfr_div>(a, b); }
  // |this| <= |o|, false when unordered.
  bool not_above(const X &o) const {
    return !mpfr_nan_p(m_) && !mpfr_nan_p(o.m_) && mpfr_cmpabs(m_, o.m_) <= 0;
  }
  template <class T>
  T to() const {
    if constexpr (std::is_same_v<T, float>)
      return mpfr_get_flt(m_, MPFR_RNDN);
    else
      return mpfr_get_d(m_, MPFR_RNDN);
  }

 private:
  X() { mpfr_init2(m_, 64); }
  mpfr_t m_;
};

template <class C>
using Part = decltype(C::re);

template <class C>
C reference_product(const C &a, const C &b) {
  const X p(a.re), q(a.im), c(b.re), d(b.im);
  return {(p * c - d * q).template to<Part<C>>(), (q * c + d * p).template to<Part<C>>()};
}

template <class C>
C reference_quotient(const C &a, const C &b) {
  const X p(a.re), q(a.im), c(b.re), d(b.im), one(1.0);
  if (d.not_above(c)) {
    const X t = d / c, s = one / (d * t + c);
    return {((t * q + p) * s).template to<Part<C>>(), ((q - t * p) * s).template to<Part<C>>()};
  }
  const X t = c / d, s = one / (c * t + d);
  return {((t * p + q) * s).template to<Part<C>>(), ((t * q - p) * s).template to<Part<C>>()};
}

template <class T>
bool same(T x, T y) {
  using U = std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>;
  return (x != x && y != y) || std::bit_cast<U>(x) == std::bit_cast<U>(y);
}
bool same(const Real16 &x, const Real16 &y) { return oracle::same_bits(x, y); }
template <class C>
bool same_complex(const C &x, const C &y) {
  return same(x.re, y.re) && same(x.im, y.im);
}

// A Real4 or Real8 of a random class.
template <class T>
T component(Sampler &s) {
  using U = std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>;
  constexpr int kFraction = std::numeric_limits<T>::digits - 1;
  constexpr U kTop = 2 * std::numeric_limits<T>::max_exponent - 1, kBias = kTop / 2;
  const U sign = static_cast<U>(s.bits() & 1) << (sizeof(T) * 8 - 1);
  U fraction = static_cast<U>(s.bits()) & ((U{1} << kFraction) - 1);
  U e = kBias - 30 + s.bits() % 60;  // moderate
  switch (s.bits() % 10) {
    case 0:
      fraction = 0;
      e = 0;
      break;  // zero
    case 1:
      e = 0;
      break;  // subnormal
    case 2:
      fraction &= s.bits();
      e = kTop;
      break;  // infinity or NaN
    case 3:
      e = kTop - 1 - s.bits() % 8;
      break;  // huge
    case 4:
      e = 1 + s.bits() % 8;
      break;  // tiny
    default:
      break;
  }
  return std::bit_cast<T>(sign | e << kFraction | fraction);
}

// A Real16 of a random class: zero patterns with garbage below word 3,
// exponents at either end of the range or moderate, the 0x7fff patterns.
Real16 component(Real16Sampler &s) {
  switch (s.below(8)) {
    case 0:
      return real16(static_cast<std::uint32_t>(s.bits()) & kSign16, s.below32(3));
    case 1:
      return s.with_exponent(s.below32(0x180));
    case 2:
      return s.with_exponent(0x7e80 + s.below32(0x180));
    case 3:
      return s.with_exponent(0x7fff);
    default:
      return s.with_exponent(0x3fff - 0x100 + s.below32(0x200));
  }
}

// The Real16 steps of the reference with the runtime declining every
// report under infinity flag 0: an overflow gives the largest finite value,
// an underflow +0, a zero divisor +0 for a zero dividend and the largest
// finite value otherwise.
struct Steps {
  R &ref;
  std::vector<std::int32_t> errors;
  Real16 step(oracle::Real16Result r, const Real16 &a, std::int32_t over, std::int32_t under) {
    using oracle::Outcome;
    if (r.outcome == Outcome::value) return r.bits;
    errors.push_back(r.outcome == Outcome::overflow    ? over
                     : r.outcome == Outcome::underflow ? under
                                                       : 280);
    const bool largest = r.outcome == Outcome::overflow ||
                         (r.outcome == Outcome::divide_by_zero && (a.w[3] & ~kSign16) != 0);
    return largest ? kLargest : kZero;
  }
  Real16 add(const Real16 &a, const Real16 &b) { return step(ref.add(a, b), a, 1397, 1398); }
  Real16 sub(const Real16 &a, const Real16 &b) { return step(ref.sub(a, b), a, 1397, 1398); }
  Real16 mul(const Real16 &a, const Real16 &b) { return step(ref.mul(a, b), a, 1397, 1398); }
  Real16 div(const Real16 &a, const Real16 &b) { return step(ref.div(a, b), a, 278, 279); }

  // One statement per step: the reports come in the order of the steps.
  Complex32 product(const Complex32 &a, const Complex32 &b) {
    const Real16 &p = a.re, &q = a.im, &c = b.re, &d = b.im;
    const Real16 pc = mul(p, c), dq = mul(d, q), re = sub(pc, dq);
    const Real16 qc = mul(q, c), dp = mul(d, p);
    return {re, add(qc, dp)};
  }
  Complex32 quotient(const Complex32 &a, const Complex32 &b) {
    const Real16 &p = a.re, &q = a.im, &c = b.re, &d = b.im;
    const std::uint32_t hc = c.w[3] & ~kSign16, hd = d.w[3] & ~kSign16;
    if (hc == 0 && hd == 0) return {kZero, kZero};
    if (hc < hd) {
      const Real16 t = div(c, d), den = add(mul(c, t), d);
      const Real16 re = div(add(mul(p, t), q), den);
      return {re, div(sub(mul(q, t), p), den)};
    }
    const Real16 t = div(d, c), den = add(mul(d, t), c);
    const Real16 re = div(add(mul(q, t), p), den);
    return {re, div(sub(q, mul(p, t)), den)};
  }
};

template <class C>
using Entry = void (*)(C *, const C *, const C *);

class ComplexArith : public Real16Test {
 public:
  // f(a, b) is `want`; so is f with the result on a and on b.
  template <class C>
  void expect(const char *name, Entry<C> f, const C &a, const C &b, const C &want) {
    C r{}, on_a = a, on_b = b;
    f(&r, &a, &b);
    f(&on_a, &on_a, &b);
    f(&on_b, &a, &on_b);
    if (!same_complex(r, want) || !same_complex(on_a, want) || !same_complex(on_b, want))
      fail(std::string(name) + ": wrong result (or on an aliased result) for operands " +
           describe(a) + " / " + describe(b));
  }
  static std::string describe(const Complex8 &z) { return describe(Complex16{z.re, z.im}); }
  static std::string describe(const Complex16 &z) {
    return std::to_string(z.re) + " " + std::to_string(z.im);
  }
  static std::string describe(const Complex32 &z) { return show(z.re) + " " + show(z.im); }

  template <class C>
  void x87_run(Entry<C> mul, Entry<C> div, std::uint64_t seed) {
    Sampler rs(seed);
    using T = Part<C>;
    for (std::uint64_t i = 0; i < scaled(200000); ++i) {
      const C a = {component<T>(rs), component<T>(rs)};
      C b = {component<T>(rs), component<T>(rs)};
      if (rs.bits() % 8 == 0) b.im = rs.bits() & 1 ? b.re : -b.re;  // |d| = |c|
      expect("product", mul, a, b, reference_product(a, b));
      expect("quotient", div, a, b, reference_quotient(a, b));
    }
  }
};

TEST_F(ComplexArith, Complex8AndComplex16MatchTheRegisterFormulas) {
  x87_run<Complex8>(g_acmc, g_acdc, 8);
  x87_run<Complex16>(g_axmx, g_axdx, 16);
}

TEST_F(ComplexArith, Complex32IsTheSequenceOfRoundedReal16Operations) {
  Recorder declining{0, 1, 0};
  for (std::uint64_t i = 0; i < scaled(40000); ++i) {
    const Complex32 a = {component(s), component(s)}, b = {component(s), component(s)};
    for (const bool product : {true, false}) {
      Steps steps{ref, {}};
      const Complex32 want = product ? steps.product(a, b) : steps.quotient(a, b);
      declining.reports.clear();
      expect(product ? "g_azmz" : "g_azdz", product ? g_azmz : g_azdz, a, b, want);
      std::string got, reports;  // one report per step that fails, for each of the three calls
      for (const Report &r : declining.reports) got += std::to_string(r.number) + " ";
      for (int k = 0; k < 3; ++k)
        for (const std::int32_t n : steps.errors) reports += std::to_string(n) + " ";
      if (got != reports)
        fail("reports " + got + "instead of " + reports + "for " + describe(a) + " / " +
             describe(b));
    }
  }
}

// Fixed results of the quotients.
TEST_F(ComplexArith, SmithQuotientRows) {
  const double big = 1e300;
  // (1 + 1i)/(1 + 1i): |d| = |c| takes the first branch with t = 1, giving 1 + 0i.
  expect<Complex8>("g_acdc", g_acdc, {1, 1}, {1, 1}, {1, 0});
  // |d| = |c| with d = -c: the first branch, t = -1 and s = 1/2, the real part +0.
  expect<Complex16>("g_axdx", g_axdx, {1, 1}, {1, -1}, {0, 1});
  // (1 + 0i)/(0 + 2i): the second branch with t = 0 gives 0 - 0.5i.
  expect<Complex16>("g_axdx", g_axdx, {1, 0}, {0, 2}, {0, -0.5});
  // (1e300 + 1e300i)/(1e300 + 1e300i) returns 1 + 0i without overflow.
  expect<Complex16>("g_axdx", g_axdx, {big, big}, {big, big}, {1, 0});
  // A Complex32 zero divisor (word 3 0 or 0x80000000) gives +0 + 0i and reports nothing.
  expect<Complex32>("g_azdz", g_azdz, {kOne, kOne}, {real16(0, 5, 6, 7), real16(kSign16, 1)},
                    {kZero, kZero});
  EXPECT_TRUE(rec.reports.empty());
}

// Complex32 errors: the report of the first failing step and the result
// under infinity flag 0 and 1, the handler declining; then a resume.
TEST_F(ComplexArith, Complex32Errors) {
  const Real16 huge = real16_of(false, 0x3fff + 16000, 0),
               tiny = real16_of(false, 0x3fff - 16000, 0);
  struct Fault {
    const char *what;
    Entry<Complex32> f;
    Complex32 a, b;
    std::int32_t error;
    Complex32 finite, ieee;
  };
  const Fault faults[] = {
      // An overflow: the largest finite Real16 with the flag clear, _Inf_Q set.
      {"product overflows",
       g_azmz,
       {huge, kZero},
       {huge, kZero},
       1397,
       {kLargest, kZero},
       {kInf, kZero}},
      // An underflow: +0 in every case.
      {"product underflows",
       g_azmz,
       {tiny, kZero},
       {tiny, kZero},
       1398,
       {kZero, kZero},
       {kZero, kZero}},
      {"quotient overflows",
       g_azdz,
       {huge, kZero},
       {tiny, kZero},
       278,
       {kLargest, kZero},
       {kInf, kZero}},
      {"quotient underflows",
       g_azdz,
       {tiny, kZero},
       {huge, kZero},
       279,
       {kZero, kZero},
       {kZero, kZero}},
      // Divisor 2^-16000 + 1i: the branch t = c/d runs, and c*t underflows.
      {"c*t underflows",
       g_azdz,
       {kOne, kOne},
       {tiny, kOne},
       1398,
       {kOne, real16(0xbfff0000)},
       {kOne, real16(0xbfff0000)}},
  };
  for (const Fault &e : faults) {
    for (const std::uint8_t flag : {0, 1}) {
      Recorder r{flag, 1, 0};
      expect(e.what, e.f, e.a, e.b, flag ? e.ieee : e.finite);
      ASSERT_EQ(r.reports.size(), 3u) << e.what;  // once per aliasing of the result
      EXPECT_EQ(r.reports[0].number, e.error) << e.what;
    }
  }
  // A resume computes the failing step again with the handler's operands:
  // huge * huge is reported with both factors in the slots, replaced by 1.
  Recorder r{1, 1, 0};
  r.answer = [&](const Report &report, int) {
    EXPECT_TRUE(same(report.slot_as<Real16>(1), huge) && same(report.slot_as<Real16>(2), huge));
    replace(report, 1, kOne);
    replace(report, 2, kOne);
    return 1;
  };
  expect<Complex32>("resumed product", g_azmz, {huge, kZero}, {huge, kZero}, {kOne, kZero});
  EXPECT_EQ(r.reports.size(), 3u);
}

// g_acmp and g_acmpe: 0 equal, 1 below, 2 above, 3 unordered. Pairs of
// values by the MPFR order of their values (the 0x7fff patterns without
// fraction as the largest magnitudes); pairs of zero patterns by rows.
TEST_F(ComplexArith, ThreeWayComparisons) {
  const Real16 zero_g = real16(0, 0, 0, 1), minus_zero_g = real16(kSign16, 0, 0, 1);
  const std::vector<Real16> values = {kOne,
                                      real16(0xbfff0000),
                                      real16(0x40000000),
                                      real16(0xc0000000),
                                      real16(0x3fff0000, 0, 0, 1),
                                      real16(1),
                                      real16(kSign16 | 1),
                                      kLargest,
                                      real16(0xfffeffff, ~0u, ~0u, ~0u),
                                      kInf,
                                      kMinusInf,
                                      kNaN,
                                      real16(0xffff8000),
                                      real16(0x7fff0000, 0, 0, 1),
                                      kZero,
                                      kMinusZero};
  auto nan = [](const Real16 &x) {
    return (x.w[3] & 0x7fff0000) == 0x7fff0000 && ((x.w[3] & 0xffff) | x.w[2] | x.w[1] | x.w[0]);
  };
  auto check = [&](const Real16 &a, const Real16 &b, std::int32_t want) {
    EXPECT_EQ(g_acmp(&a, &b), want) << show(a) << " vs " << show(b);
    EXPECT_EQ(g_acmpe(&a, &b), want) << show(a) << " vs " << show(b);
  };
  mpfr_t x;
  mpfr_init2(x, 113);
  for (const Real16 &a : values) {
    mpfr_set(x, ref.exact(a), MPFR_RNDN);
    for (const Real16 &b : values) {
      const int c = mpfr_cmp(x, ref.exact(b));
      check(a, b, nan(a) || nan(b) ? 3 : c == 0 ? 0 : c < 0 ? 1 : 2);
    }
  }
  mpfr_clear(x);
  // Both zeros, at least one negative: 0, whatever words 0 to 2 of either hold when the signs
  // differ.
  check(kZero, kMinusZero, 0);
  check(minus_zero_g, zero_g, 0);
  check(kMinusZero, kMinusZero, 0);
  // The same sign compares the magnitudes word by word, down to word 0.
  check(zero_g, kZero, 2);
  check(minus_zero_g, kMinusZero, 1);
  // +infinity against 1 is 2; 1 against a NaN is 3; -2 against -1 is 1.
  check(kInf, kOne, 2);
  check(kOne, kNaN, 3);
  check(real16(0xc0000000), real16(0xbfff0000), 1);
}

}  // namespace
