// Complex products and quotients and the Real16 three-way comparison.
// Complex8 and Complex16: bit for bit against the formulas at 64 bits, each
// step rounded to nearest as in the x87 register (exact for it on Real4 or
// Real8 operands), each part then rounded to the type; a NaN part: any NaN.
// Complex32: bit for bit against the same Real16 operations at 113 bits,
// with every failing step's report in order, under infinity flag 0. Operands
// of every class; every call also runs with the result on a and on b.
#include <gtest/gtest.h>

#include <bit>
#include <limits>
#include <type_traits>

#include "support/real16_checks.h"

namespace {

using namespace support;

// A value of the x87 register: 64-bit significand, rounded at each step.
struct X {
  mpfr_t m;
  explicit X(double v) { mpfr_init2(m, 64), mpfr_set_d(m, v, MPFR_RNDN); }
  X(const X &a, const X &b, int (*op)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t)) {
    mpfr_init2(m, 64), op(m, a.m, b.m, MPFR_RNDN);
  }
  X(const X &) = delete;
  ~X() { mpfr_clear(m); }
  friend X operator+(const X &a, const X &b) { return X(a, b, mpfr_add); }
  friend X operator-(const X &a, const X &b) { return X(a, b, mpfr_sub); }
  friend X operator*(const X &a, const X &b) { return X(a, b, mpfr_mul); }
  friend X operator/(const X &a, const X &b) { return X(a, b, mpfr_div); }
  operator float() const { return mpfr_get_flt(m, MPFR_RNDN); }
  operator double() const { return mpfr_get_d(m, MPFR_RNDN); }
};

template <class C>
C x87_product(const C &a, const C &b) {
  const X p(a.re), q(a.im), c(b.re), d(b.im);
  return {p * c - d * q, q * c + d * p};
}

template <class C>
C x87_quotient(const C &a, const C &b) {
  const X p(a.re), q(a.im), c(b.re), d(b.im), one(1.0);
  // |d| <= |c|, false when unordered.
  if (!mpfr_nan_p(c.m) && !mpfr_nan_p(d.m) && mpfr_cmpabs(d.m, c.m) <= 0) {
    const X t = d / c, s = one / (d * t + c);
    return {(t * q + p) * s, (q - t * p) * s};
  }
  const X t = c / d, s = one / (c * t + d);
  return {(t * p + q) * s, (t * q - p) * s};
}

// The Real16 steps, every report declined under infinity flag 0: an
// overflow gives the largest finite value, an underflow +0, a zero divisor +0
// for a zero dividend and the largest finite value otherwise. One
// declaration per step, so that the reports come in the steps' order.
struct Steps {
  std::string reports;
  Real16 step(oracle::Op op, const Real16 &a, const Real16 &b) {
    using oracle::Outcome;
    const oracle::Real16Result r = oracle::reference(op, a, b);
    if (r.outcome == Outcome::value) return r.bits;
    const bool up = r.outcome == Outcome::underflow, div = op == oracle::Op::div;
    const int over = div ? 278 : 1397, under = div ? 279 : 1398;
    reports += std::to_string(r.outcome == Outcome::overflow ? over : up ? under : 280) + " ";
    return up || (a.w[3] & ~kSign16) == 0 ? kZero : kLargest;
  }
  Real16 add(const Real16 &a, const Real16 &b) { return step(oracle::Op::add, a, b); }
  Real16 sub(const Real16 &a, const Real16 &b) { return step(oracle::Op::sub, a, b); }
  Real16 mul(const Real16 &a, const Real16 &b) { return step(oracle::Op::mul, a, b); }
  Real16 div(const Real16 &a, const Real16 &b) { return step(oracle::Op::div, a, b); }
  Complex32 product(const Complex32 &a, const Complex32 &b) {
    const Real16 pc = mul(a.re, b.re), dq = mul(b.im, a.im), re = sub(pc, dq);
    const Real16 qc = mul(a.im, b.re), dp = mul(b.im, a.re);
    return {re, add(qc, dp)};
  }
  Complex32 quotient(const Complex32 &a, const Complex32 &b) {
    const Real16 &p = a.re, &q = a.im, &c = b.re, &d = b.im;
    const std::uint32_t hc = c.w[3] & ~kSign16, hd = d.w[3] & ~kSign16;
    if (hc == 0 && hd == 0) return {kZero, kZero};
    if (hc < hd) {
      const Real16 t = div(c, d), den = add(mul(c, t), d), re = div(add(mul(p, t), q), den);
      return {re, div(sub(mul(q, t), p), den)};
    }
    const Real16 t = div(d, c), den = add(mul(d, t), c), re = div(add(mul(q, t), p), den);
    return {re, div(sub(q, mul(p, t)), den)};
  }
};

template <class T>
bool same(T x, T y) {
  using U = std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>;
  return (x != x && y != y) || std::bit_cast<U>(x) == std::bit_cast<U>(y);
}
bool same(const Real16 &x, const Real16 &y) { return oracle::same_bits(x, y); }

// A Real4 or Real8 of a random class: zero, subnormal, infinity or NaN,
// huge, tiny, or moderate (half the time).
template <class T>
T component(Real16Sampler &s) {
  using U = std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>;
  constexpr int kFraction = std::numeric_limits<T>::digits - 1;
  constexpr U kTop = 2 * std::numeric_limits<T>::max_exponent - 1;
  const U k = s.below(10), sign = static_cast<U>(s.bits() & 1) << (sizeof(T) * 8 - 1);
  const bool no_fraction = k == 0 || (k == 2 && s.bits() % 2);  // zero, infinity
  const U f = no_fraction ? 0 : static_cast<U>(s.bits()) & ((U{1} << kFraction) - 1);
  const U e = k < 2    ? 0
              : k == 2 ? kTop
              : k == 3 ? kTop - 1 - s.below(8)
              : k == 4 ? 1 + s.below(8)
                       : kTop / 2 - 30 + s.below(60);
  return std::bit_cast<T>(sign | e << kFraction | f);
}
// A Real16 of a random class: a zero pattern with garbage below word 3,
// exponents from 0 up, at the top of the range, the 0x7fff patterns, or
// moderate (half the time).
template <>
Real16 component(Real16Sampler &s) {
  const std::uint32_t k = s.below32(8);
  if (k == 0) return real16(static_cast<std::uint32_t>(s.bits()) & kSign16, s.below32(3));
  return s.with_exponent(k == 1   ? s.below32(0x180)
                         : k == 2 ? 0x7e80 + s.below32(0x180)
                         : k == 3 ? 0x7fff
                                  : 0x3eff + s.below32(0x200));
}

template <class C>
using Entry = void (*)(C *, const C *, const C *);

struct ComplexArith : Real16Test {
  Recorder rec{1, 1, 0};  // reports are recorded, the handler declines
  // f(a, b) is `want`, also with the result on a and on b.
  template <class C>
  void expect(const char *name, Entry<C> f, const C &a, const C &b, const C &want) {
    C r[3] = {{}, a, b};
    f(&r[0], &a, &b), f(&r[1], &r[1], &b), f(&r[2], &a, &r[2]);
    for (const C &z : r)
      if (!same(z.re, want.re) || !same(z.im, want.im))
        return fail(std::string(name) + " of " + ::testing::PrintToString(a) + " and " +
                    ::testing::PrintToString(b) + " is " + ::testing::PrintToString(z));
  }
  // Random operands, a divisor with |d| = |c| one time in eight (either sign).
  template <class C>
  C operand(bool divisor) {
    C z = {component<decltype(z.re)>(s), component<decltype(z.re)>(s)};
    if (divisor && s.below(8) == 0) {
      z.im = z.re;
      if (s.bits() & 1) reinterpret_cast<unsigned char *>(&z.im)[sizeof z.im - 1] ^= 0x80;
    }
    return z;
  }
};

TEST_F(ComplexArith, Complex8AndComplex16AreTheRegisterFormulas) {
  for (std::uint64_t i = 0; i < scaled(200000); ++i) {
    const auto a = operand<Complex8>(false), b = operand<Complex8>(true);
    expect("g_acmc", g_acmc, a, b, x87_product(a, b));
    expect("g_acdc", g_acdc, a, b, x87_quotient(a, b));
    const auto x = operand<Complex16>(false), y = operand<Complex16>(true);
    expect("g_axmx", g_axmx, x, y, x87_product(x, y));
    expect("g_axdx", g_axdx, x, y, x87_quotient(x, y));
  }
  EXPECT_TRUE(rec.reports.empty());
}

TEST_F(ComplexArith, Complex32IsTheSequenceOfRoundedReal16Operations) {
  Recorder declining{0, 1, 0};
  for (std::uint64_t i = 0; i < scaled(40000); ++i) {
    const auto a = operand<Complex32>(false), b = operand<Complex32>(true);
    for (const bool product : {true, false}) {
      Steps steps;
      declining.reports.clear();
      expect(product ? "g_azmz" : "g_azdz", product ? g_azmz : g_azdz, a, b,
             product ? steps.product(a, b) : steps.quotient(a, b));
      std::string got;
      for (const Report &r : declining.reports) got += std::to_string(r.number) + " ";
      if (got != steps.reports + steps.reports + steps.reports)  // three calls
        fail("reports " + got + "for " + ::testing::PrintToString(a) + " and " +
             ::testing::PrintToString(b) + ", not 3 times " + steps.reports);
    }
  }
}

TEST_F(ComplexArith, QuotientRows) {
  // (1 + 1i)/(1 + 1i): |d| = |c| takes the first branch with t = 1, giving 1 + 0i.
  expect<Complex8>("g_acdc", g_acdc, {1, 1}, {1, 1}, {1, 0});
  // (1 + 0i)/(0 + 2i): the second branch with t = 0 gives 0 - 0.5i.
  expect<Complex16>("g_axdx", g_axdx, {1, 0}, {0, 2}, {0, -0.5});
  // (1e300 + 1e300i)/(1e300 + 1e300i) returns 1 + 0i without overflow.
  expect<Complex16>("g_axdx", g_axdx, {1e300, 1e300}, {1e300, 1e300}, {1, 0});
  // A Complex32 zero divisor (word 3 0 or 0x80000000) gives +0 + 0i and reports nothing.
  expect<Complex32>("g_azdz", g_azdz, {kOne, kOne}, {real16(0, 5, 6, 7), real16(kSign16, 1)},
                    {kZero, kZero});
  EXPECT_TRUE(rec.reports.empty());
}

// Complex32 errors, the handler declining: the first report's number and
// the result under infinity flag 0 and 1; then a resume.
TEST_F(ComplexArith, Complex32Errors) {
  const Real16 huge = real16(0x7e6f0000), tiny = real16(0x017f0000), minus_one = real16(0xbfff0000);
  struct {
    Entry<Complex32> f;
    Complex32 a, b;
    std::int32_t error;
    Complex32 finite, ieee;
  } const faults[] = {
      // Overflow: the largest finite Real16 with the flag clear, _Inf_Q with it set.
      {g_azmz, {huge, kZero}, {huge, kZero}, 1397, {kLargest, kZero}, {kInf, kZero}},
      {g_azdz, {huge, kZero}, {tiny, kZero}, 278, {kLargest, kZero}, {kInf, kZero}},
      // Underflow: +0 in every case.
      {g_azmz, {tiny, kZero}, {tiny, kZero}, 1398, {kZero, kZero}, {kZero, kZero}},
      {g_azdz, {tiny, kZero}, {huge, kZero}, 279, {kZero, kZero}, {kZero, kZero}},
      // Divisor 2^-16000 + 1i: the branch t = c/d runs, and c*t underflows.
      {g_azdz, {kOne, kOne}, {tiny, kOne}, 1398, {kOne, minus_one}, {kOne, minus_one}},
  };
  for (const auto &e : faults)
    for (const std::uint8_t flag : {0, 1}) {
      Recorder r{flag, 1, 0};
      expect("fault", e.f, e.a, e.b, flag ? e.ieee : e.finite);
      ASSERT_EQ(r.reports.size(), 3u) << e.error;  // one per call
      EXPECT_EQ(r.reports[0].number, e.error);
    }
  // A resume computes the failing step again with the handler's operands:
  // huge * huge is reported with both factors in the slots, replaced by 1.
  Recorder r{1, 1, 0};
  r.answer = [&](const Report &report, int) {
    EXPECT_TRUE(same(report.slot_as<Real16>(1), huge) && same(report.slot_as<Real16>(2), huge));
    replace(report, 1, kOne), replace(report, 2, kOne);
    return 1;
  };
  expect<Complex32>("resumed", g_azmz, {huge, kZero}, {huge, kZero}, {kOne, kZero});
  EXPECT_EQ(r.reports.size(), 3u);
}

// g_acmp and g_acmpe: 0 equal, 1 below, 2 above, 3 unordered (a NaN). The
// pairs of values by the MPFR order of their values (the 0x7fff patterns
// without fraction as the largest magnitudes); pairs of two zeros by rows.
TEST_F(ComplexArith, ThreeWayComparisons) {
  // clang-format off
  const Real16 values[] = {
      real16(0x3fff0000), real16(0xbfff0000), real16(0x40000000), real16(0xc0000000),
      real16(0x3fff0000, 0, 0, 1), real16(1), real16(kSign16 | 1), real16(0x7fff0000),
      real16(0x7ffeffff, ~0u, ~0u, ~0u), real16(0xfffeffff, ~0u, ~0u, ~0u), real16(0xffff0000),
      real16(0x7fff8000), real16(0xffff8000), real16(0x7fff0000, 0, 0, 1), kZero};
  // clang-format on
  auto nan = [](const Real16 &x) {
    return (x.w[3] & 0x7fff0000) == 0x7fff0000 && ((x.w[3] & 0xffff) | x.w[2] | x.w[1] | x.w[0]);
  };
  auto check = [&](const Real16 &a, const Real16 &b, std::int32_t want) {
    EXPECT_EQ(g_acmp(&a, &b), want) << show(a) << " vs " << show(b);
    EXPECT_EQ(g_acmpe(&a, &b), want) << show(a) << " vs " << show(b);
  };
  for (const Real16 &a : values)
    for (const Real16 &b : values) {
      const int c = mpfr_cmp(oracle::Exact(a), oracle::Exact(b));
      check(a, b, nan(a) || nan(b) ? 3 : c == 0 ? 0 : c < 0 ? 1 : 2);
    }
  const Real16 zero_g = real16(0, 0, 0, 1), minus_zero_g = real16(kSign16, 0, 0, 1);
  // Both zeros, at least one negative: 0 (signs differing: whatever words 0 to 2 hold).
  check(kZero, kMinusZero, 0), check(minus_zero_g, zero_g, 0), check(kMinusZero, kMinusZero, 0);
  // The same sign compares the magnitudes word by word, down to word 0.
  check(zero_g, kZero, 2), check(minus_zero_g, kMinusZero, 1);
  // +infinity against 1 is 2; 1 against a NaN is 3; -2 against -1 is 1.
  check(kInf, kOne, 2), check(kOne, kNaN, 3), check(real16(0xc0000000), real16(0xbfff0000), 1);
}

}  // namespace
