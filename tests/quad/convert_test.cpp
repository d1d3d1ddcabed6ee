// Conversions between Real16 and the integer and binary types, against
// MPFR and the rows of their rules.
//
// Bounds: 0 ulp. Integer, Real4 and Real8 to Real16 are exact; g_dbleq and
// g_snglq are correctly rounded (to nearest, ties to even, subnormal
// results included) with the format's saturation at the largest finite
// value and +0.0 below half the smallest subnormal's binade; g_iqint and
// g_ajcq truncate toward zero with their saturation rules.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "oracle/oracle.h"
#include "support/real16_checks.h"

namespace {

using oracle::real16;
using oracle::Real16Reference;
using support::real16_of;

// The exact value of an INTEGER*8 (long may be 32 bits).
void set_int64(mpfr_ptr out, std::int64_t n) {
  mpfr_set_si(out, static_cast<long>(n >> 32), MPFR_RNDN);  // exact at 113 bits
  mpfr_mul_2ui(out, out, 32, MPFR_RNDN);
  mpfr_add_ui(out, out, static_cast<unsigned long>(n & 0xffffffff), MPFR_RNDN);
}

Real16 expected_from(mpfr_srcptr v) {
  const oracle::Real16Result r = oracle::round_to_real16(v);
  EXPECT_EQ(r.outcome, oracle::Outcome::value);
  return r.bits;
}

TEST(Convert, IntegersToReal16AreExact) {
  support::Sampler s(0x1e6);
  oracle::Big v(oracle::Precision{113});
  std::vector<std::int64_t> values = {
      0, 1, -1, 2, 3, -3, INT32_MAX, INT32_MIN, INT64_MAX, INT64_MIN, 1ll << 62, -(1ll << 32)};
  for (int i = 0; i < 20000; ++i) {
    const unsigned bits = static_cast<unsigned>(s.bits() % 64);
    values.push_back(static_cast<std::int64_t>(s.bits() >> (63 - bits)) * (s.bits() & 1 ? 1 : -1));
  }
  for (const std::int64_t n : values) {
    set_int64(v, n);
    const Real16 want = expected_from(v);
    Real16 got;
    g_aqcj(&got, &n);
    EXPECT_TRUE(oracle::same_bits(got, want)) << "g_aqcj(" << n << ") = " << support::show(got);
    if (n >= INT32_MIN && n <= INT32_MAX) {
      const auto n4 = static_cast<std::int32_t>(n);
      g_qfloat(&got, &n4);
      EXPECT_TRUE(oracle::same_bits(got, want)) << "g_qfloat(" << n << ")";
    }
  }
  const std::int32_t min4 = INT32_MIN;
  Real16 got;
  g_qfloat(&got, &min4);
  EXPECT_TRUE(oracle::same_bits(got, real16(0xc01e0000)));
  const std::int64_t min8 = INT64_MIN, one = 1;
  g_aqcj(&got, &min8);
  EXPECT_TRUE(oracle::same_bits(got, real16(0xc03e0000)));
  g_aqcj(&got, &one);
  EXPECT_TRUE(oracle::same_bits(got, real16(0x3fff0000)));
}

TEST(Convert, Real4AndReal8ToReal16AreExact) {
  support::Sampler s(0xe47);
  oracle::Big v(oracle::Precision{113});
  int budget = 10;
  for (std::uint64_t i = 0; i < support::scaled(200000); ++i) {
    std::uint64_t b8 = s.bits();
    if (i % 4 == 0) b8 &= 0x800fffffffffffff;  // subnormals
    const auto b4 = static_cast<std::uint32_t>(i % 4 == 1 ? b8 & 0x807fffff : b8 >> 32);
    const double d = std::bit_cast<double>(b8);
    const float f = std::bit_cast<float>(b4);
    Real16 got;
    if (std::isfinite(d)) {
      mpfr_set_d(v, d, MPFR_RNDN);
      g_qextd(&got, &d);
      if (!oracle::same_bits(got, expected_from(v)) && budget-- > 0)
        ADD_FAILURE() << "g_qextd(" << std::hexfloat << d << ") = " << support::show(got);
    }
    if (std::isfinite(f)) {
      mpfr_set_flt(v, f, MPFR_RNDN);
      g_qext(&got, &f);
      if (!oracle::same_bits(got, expected_from(v)) && budget-- > 0)
        ADD_FAILURE() << "g_qext(" << std::hexfloat << f << ") = " << support::show(got);
    }
  }
  struct Row {
    const char *rule;
    Real16 got, want;
  };
  const auto ext = [](float f) {
    Real16 r;
    g_qext(&r, &f);
    return r;
  };
  const auto extd = [](double d) {
    Real16 r;
    g_qextd(&r, &d);
    return r;
  };
  const Row rows[] = {
      {"-0.0f gives +0", ext(-0.0f), real16(0)},
      {"-0.0 gives +0", extd(-0.0), real16(0)},
      {"the smallest Real4 subnormal is 2^-149", ext(0x1p-149f), real16(0x3f6a0000)},
      {"the smallest Real8 subnormal is 2^-1074", extd(0x1p-1074), real16(0x3bcd0000)},
      {"a Real4 infinity is rebiased to 2^128", ext(std::numeric_limits<float>::infinity()),
       real16(0x407f0000)},
      {"a Real8 -infinity to -2^1024", extd(-std::numeric_limits<double>::infinity()),
       real16(0xc3ff0000)},
      {"a Real8 NaN keeps its fraction bits", extd(std::bit_cast<double>(0x7ff8000000000001ull)),
       real16(0x43ff8000, 0, 0x10000000, 0)},
  };
  for (const Row &r : rows)
    EXPECT_TRUE(oracle::same_bits(r.got, r.want)) << r.rule << ": " << support::show(r.got);
}

// x rounded to T (24 or 53 bits) with T's subnormals, then the format's
// rules: beyond the largest finite value the largest with x's sign, below
// 2^(emin - digits) (half the smallest subnormal) +0.0.
template <class T>
T expected_narrow(mpfr_srcptr x) {
  using L = std::numeric_limits<T>;
  if (mpfr_zero_p(x)) return T{0};
  oracle::Big t(oracle::Precision{L::digits});
  if (mpfr_get_exp(x) <= L::min_exponent - L::digits - 1) return T{0};  // below 2^that
  const auto emin = mpfr_get_emin(), emax = mpfr_get_emax();
  mpfr_set_emin(L::min_exponent - L::digits + 1);
  mpfr_set_emax(L::max_exponent);
  const int inexact = mpfr_set(t, x, MPFR_RNDN);
  mpfr_subnormalize(t, mpfr_check_range(t, inexact, MPFR_RNDN), MPFR_RNDN);
  mpfr_set_emin(emin);
  mpfr_set_emax(emax);
  if (mpfr_inf_p(t)) return mpfr_sgn(x) < 0 ? -L::max() : L::max();
  if constexpr (sizeof(T) == 4) {
    return mpfr_get_flt(t, MPFR_RNDN);
  } else {
    return mpfr_get_d(t, MPFR_RNDN);
  }
}

template <class T>
void run_narrow(const char *name, T (*fn)(const Real16 *), std::uint32_t low, std::uint32_t high) {
  support::Real16Sampler s(0x4a7 + sizeof(T));
  Real16Reference ref;
  int budget = 10;
  for (std::uint64_t i = 0; i < support::scaled(200000); ++i) {
    const Real16 x = s.with_exponent(low + static_cast<std::uint32_t>(s.below(high - low)));
    const T want = expected_narrow<T>(ref.exact(x));
    const T got = fn(&x);
    if (std::bit_cast<
            typename std::conditional<sizeof(T) == 4, std::uint32_t, std::uint64_t>::type>(got) !=
            std::bit_cast<
                typename std::conditional<sizeof(T) == 4, std::uint32_t, std::uint64_t>::type>(
                want) &&
        budget-- > 0) {
      ADD_FAILURE() << name << "(" << support::show(x) << ") = " << std::hexfloat << got
                    << ", want " << want;
    }
  }
}

TEST(Convert, Real16ToReal8AndReal4RoundToNearest) {
  // Exponents from below half the smallest subnormal to beyond the largest.
  run_narrow<double>("g_dbleq", g_dbleq, 0x3fff - 1080, 0x3fff + 1030);
  run_narrow<float>("g_snglq", g_snglq, 0x3fff - 155, 0x3fff + 132);
  struct Row {
    const char *rule;
    double got, want;
  };
  const auto dble = [](const Real16 &x) { return g_dbleq(&x); };
  const auto sngl = [](const Real16 &x) { return static_cast<double>(g_snglq(&x)); };
  const Row rows[] = {
      {"1 + 2^-53 is a tie: 1.0", dble(real16(0x3fff0000, 0, 0x08000000)), 1.0},
      {"1 + 3 * 2^-54 rounds up to 1 + 2^-52", dble(real16(0x3fff0000, 0, 0x0c000000)),
       1.0 + 0x1p-52},
      {"2^2000 saturates", dble(real16((0x3fff + 2000) << 16)), std::numeric_limits<double>::max()},
      {"-2^2000 saturates with the sign", dble(real16(((0x3fff + 2000) << 16) | 0x80000000)),
       -std::numeric_limits<double>::max()},
      {"-2^-1070 is a negative subnormal", dble(real16(((0x3fff - 1070) << 16) | 0x80000000)),
       -0x1p-1070},
      {"-2^-1076 is +0.0", dble(real16(((0x3fff - 1076) << 16) | 0x80000000)), 0.0},
      {"a zero with garbage is +0.0", dble(real16(0x80000000, 1, 2, 3)), 0.0},
      {"2^200 saturates to 0x7f7fffff", sngl(real16((0x3fff + 200) << 16)),
       static_cast<double>(std::numeric_limits<float>::max())},
      {"-2^200 to 0xff7fffff", sngl(real16(((0x3fff + 200) << 16) | 0x80000000)),
       -static_cast<double>(std::numeric_limits<float>::max())},
      {"-2^-140 is a negative subnormal", sngl(real16(((0x3fff - 140) << 16) | 0x80000000)),
       -0x1p-140},
      {"-2^-151 is +0.0", sngl(real16(((0x3fff - 151) << 16) | 0x80000000)), 0.0},
  };
  for (const Row &r : rows)
    EXPECT_EQ(std::bit_cast<std::uint64_t>(r.got), std::bit_cast<std::uint64_t>(r.want))
        << r.rule << ": " << std::hexfloat << r.got;
}

TEST(Convert, Real16ToIntegersTruncate) {
  support::Real16Sampler s(0x1a7);
  Real16Reference ref;
  oracle::Big t(oracle::Precision{113});
  mpz_t z, limit;
  mpz_init(z);
  mpz_init(limit);
  int budget = 10;
  for (std::uint64_t i = 0; i < support::scaled(200000); ++i) {
    const Real16 x = s.with_exponent(0x3fff - 3 + static_cast<std::uint32_t>(s.below(72)));
    mpfr_trunc(t, ref.exact(x));
    mpfr_get_z(z, t, MPFR_RNDZ);
    const bool negative = mpz_sgn(z) < 0;
    // INTEGER*4: saturated from 2^31 on.
    std::int32_t want4;
    mpz_set_ui(limit, 1);
    mpz_mul_2exp(limit, limit, 31);
    if (mpz_cmpabs(z, limit) >= 0) {
      want4 = negative ? INT32_MIN : INT32_MAX;
    } else {
      want4 = static_cast<std::int32_t>(mpz_get_si(z));
    }
    // INTEGER*8: 0 from 2^64 on, the magnitude's bits from 2^63 on.
    std::uint64_t want8 = 0;
    mpz_mul_2exp(limit, limit, 33);
    if (mpz_cmpabs(z, limit) < 0) {
      std::uint32_t w[2] = {0, 0};
      mpz_export(w, nullptr, -1, 4, 0, 0, z);  // the magnitude
      want8 = (std::uint64_t{w[1]} << 32) | w[0];
      if (negative && (want8 >> 63) == 0) want8 = 0 - want8;
    }
    const std::int32_t got4 = g_iqint(&x);
    const auto got8 = static_cast<std::uint64_t>(g_ajcq(&x));
    if ((got4 != want4 || got8 != want8) && budget-- > 0) {
      ADD_FAILURE() << support::show(x) << ": g_iqint " << got4 << " (want " << want4
                    << "), g_ajcq " << got8 << " (want " << want8 << ")";
    }
  }
  mpz_clear(z);
  mpz_clear(limit);
  const auto iqint = [](const Real16 &x) { return g_iqint(&x); };
  const auto ajcq = [](const Real16 &x) { return g_ajcq(&x); };
  const Real16 three_e9 = real16(0x401e6591, 0x78000000);  // 3e9
  EXPECT_EQ(iqint(three_e9), INT32_MAX);
  EXPECT_EQ(iqint(real16(three_e9.w[3] | 0x80000000, three_e9.w[2])), INT32_MIN);
  EXPECT_EQ(iqint(real16(0xc01e0000)), INT32_MIN);  // -2^31
  EXPECT_EQ(iqint(real16(0xbffe0000)), 0);          // -0.5
  EXPECT_EQ(iqint(real16(0xc0004000)), -2);         // -2.5
  EXPECT_EQ(ajcq(real16(0x403f0000)), 0);           // 2^64
  EXPECT_EQ(ajcq(real16(0xc03e0000)), INT64_MIN);   // -2^63
  EXPECT_EQ(static_cast<std::uint64_t>(ajcq(real16(0xc03e8000))), 0xc000000000000000u);
  EXPECT_EQ(ajcq(real16(0x80000000, 1, 2, 3)), 0);
  EXPECT_EQ(ajcq(real16(0xc0008000)), -3);
}

}  // namespace
