// The complex elementary functions against MPC at 320 bits: one property
// table of rows (entry, MPC function, argument regions, bound per part),
// rows of special values bit for bit, and the error rows with both
// defaults and a resume.
//
// Bounds, per part: ulps of the part's type at the exact value, plus an
// absolute term (in the part's units) that a rounded intermediate of the
// evaluation carries into it:
//   g_cabs 0.501: exact squares in Real8, two roundings of 2^-53, then Real4.
//   g_cdabs 0.503: five register roundings of 2^-64 (0.0025 ulp), then Real8.
//   g_cqabs 2.5: five rounded Real16 steps (t, t^2, 1 + t^2, the root, the
//     product), about half an ulp each relative to the modulus.
#include <gtest/gtest.h>
#include <mpc.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "support/checks.h"
#include "support/ieee_constants.h"
#include "support/real16_checks.h"

namespace {

using namespace support;

// ---- Arguments --------------------------------------------------------------

// A part's magnitude log-uniform in [lo, hi) with a random sign; lo = hi =
// 0 gives a zero of either sign.
struct Region {
  double lo, hi;
};
constexpr Region kZeroPart = {0, 0};
template <class T>
constexpr Region kAnyPart = {std::numeric_limits<T>::denorm_min(), std::numeric_limits<T>::max()};
template <class T>
constexpr Region kTinyPart = {std::numeric_limits<T>::denorm_min(),
                              std::numeric_limits<T>::min() * 4};
template <class T>
constexpr Region kHugePart = {std::numeric_limits<T>::max() / 16, std::numeric_limits<T>::max()};
constexpr Region kModerate = {1e-3, 1e3};

// Regions of the real and imaginary parts.
struct Regions {
  Region x, y;
};

template <class T>
T draw_part(Sampler &s, const Region &r) {
  const double m = r.hi == 0 ? 0 : std::exp(s.uniform(std::log(r.lo), std::log(r.hi)));
  const T v = static_cast<T>(std::fmin(m, r.hi));
  return s.bits() & 1 ? -v : v;
}

// ---- Error of one part ----------------------------------------------------

// |got - exact| in ulps of T at the exact value; 0 when got is exact
// rounded to T (an overflow or underflow of the rounding included).
template <class T>
double part_error(T got, mpfr_srcptr exact) {
  const T rounded = sizeof(T) == 4 ? mpfr_get_flt(exact, MPFR_RNDN)
                                   : static_cast<T>(mpfr_get_d(exact, MPFR_RNDN));
  if (std::bit_cast<std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>>(got) ==
      std::bit_cast<std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>>(rounded))
    return 0;
  return oracle::ulp_error(got, exact);
}
// The same for a Real16 part, in units of its 113-bit significand.
double part_error(const Real16 &got, mpfr_srcptr exact) {
  if (mpfr_zero_p(exact)) return (got.w[3] & ~kSign16) == 0 ? 0 : INFINITY;
  oracle::Exact g(got);
  oracle::Big diff;
  mpfr_sub(diff, g, exact, MPFR_RNDN);
  mpfr_abs(diff, diff, MPFR_RNDN);
  mpfr_mul_2si(diff, diff, 113 - mpfr_get_exp(exact), MPFR_RNDN);
  return mpfr_get_d(diff, MPFR_RNDU);
}

// ---- Moduli -------------------------------------------------------------------

struct Moduli : Real16Test {
  template <class T>
  double run(const char *name,
             T (*fn)(const std::conditional_t<sizeof(T) == 4, Complex8, Complex16> *), double ulps,
             const std::vector<Regions> &regions) {
    oracle::WorstCase worst;
    for (const Regions &r : regions)
      for (std::uint64_t i = 0; i < scaled(20000); ++i) {
        Sampler &sampler = plain;
        const std::conditional_t<sizeof(T) == 4, Complex8, Complex16> z = {
            draw_part<T>(sampler, r.x), draw_part<T>(sampler, r.y)};
        oracle::Big e;
        oracle::Big x(static_cast<double>(z.re)), y(static_cast<double>(z.im));
        mpfr_hypot(e, x, y, MPFR_RNDN);
        const T got = fn(&z);
        const double err = part_error(got, e);
        worst.add(err, static_cast<double>(z.re));
        if (!(err <= ulps))
          fail(std::string(name) + "(" + std::to_string(z.re) + ", " + std::to_string(z.im) +
               ") = " + std::to_string(got) + ": " + std::to_string(err) + " ulp");
      }
    std::printf("%s: %s\n", name, worst.describe().c_str());
    return worst.ulps;
  }
  Sampler plain{20261206};
};

template <class T>
std::vector<Regions> modulus_regions() {
  // Everywhere; near the axes; both huge (no overflow before the rounding);
  // both tiny (subnormal parts).
  return {{kAnyPart<T>, kAnyPart<T>},   {kModerate, kTinyPart<T>},    {kZeroPart, kAnyPart<T>},
          {kHugePart<T>, kHugePart<T>}, {kTinyPart<T>, kTinyPart<T>}, {kModerate, kModerate}};
}

TEST_F(Moduli, Complex8AndComplex16AgainstMpc) {
  run<float>("g_cabs", g_cabs, 0.501, modulus_regions<float>());
  run<double>("g_cdabs", g_cdabs, 0.503, modulus_regions<double>());
}

TEST_F(Moduli, Complex32AgainstMpc) {
  oracle::WorstCase worst;
  for (std::uint64_t i = 0; i < scaled(40000); ++i) {
    // Exponents anywhere; parts one or two binades apart (the high words
    // decide the order); zero patterns with garbage below word 3.
    const std::uint32_t e = 1 + s.below32(0x7ffd);
    const std::uint32_t k = s.below32(4);
    const Complex32 z = {s.with_exponent(e), k == 0 ? real16(s.bits() & kSign16, s.below32(3), 1, 2)
                                             : k == 1
                                                 ? s.with_exponent(e > 2 ? e - s.below32(2) : e)
                                                 : s.with_exponent(1 + s.below32(0x7ffd))};
    for (const Complex32 &w : {z, Complex32{z.im, z.re}}) {
      Real16 got;
      ASSERT_EQ(g_cqabs(&got, &w), &got);
      oracle::Exact x(w.re), y(w.im);
      oracle::Big exact;
      mpfr_hypot(exact, x, y, MPFR_RNDN);
      const oracle::Real16Result r = oracle::round_to_real16(exact);
      if (r.outcome != oracle::Outcome::value) continue;  // the product's report: below
      const double err = part_error(got, exact);
      worst.add(err, 0);
      if (!(err <= 2.5) || (got.w[3] & kSign16))
        fail("g_cqabs(" + show(w.re) + ", " + show(w.im) + ") = " + show(got) + ": " +
             std::to_string(err) + " ulp");
    }
  }
  std::printf("g_cqabs: %s\n", worst.describe().c_str());
}

// Rows of the definition, bit for bit.
TEST_F(Moduli, SpecialValues) {
  const double inf = kInfD, nan = kNaND;
  struct {
    Complex16 z;
    double want;
  } const rows16[] = {
      {{3e300, 4e300}, 5e300},  // returns 5e300 without overflow
      {{-0.0, 0.0}, 0},         // a = 0: result 0
      {{0.0, -2.0}, 2},        {{inf, 1}, inf},
      {{1, -inf}, inf},        {{inf, inf}, nan},  // inf/inf in the scaled formula
      {{nan, 1}, nan},                             // the unordered comparison takes t = a/b
      {{1, nan}, nan},
  };
  for (const auto &r : rows16) {
    const double got = g_cdabs(&r.z);
    EXPECT_TRUE(std::isnan(r.want) ? std::isnan(got) : bits_of(got) == bits_of(r.want))
        << r.z.re << ", " << r.z.im << ": " << got;
  }
  // g_cabs of (3e38, 4e38) returns +infinity on rounding to Real4 (4e38
  // is beyond Real4: (2.4e38, 3.2e38) has the same modulus).
  const Complex8 big = {2.4e38f, 3.2e38f}, zero = {-0.0f, -0.0f};
  EXPECT_EQ(bits_of(g_cabs(&big)), bits_of(kInfF));
  EXPECT_EQ(bits_of(g_cabs(&zero)), 0u);
  // Complex32: both high words zero gives +0 whatever words 0 to 2 hold.
  const Complex32 zeros = {real16(kSign16, 7, 7, 7), real16(0, 1)};
  const Complex32 three_four = {real16(0xc0008000), real16(0x40010000)};  // (-3, 4)
  Real16 got;
  g_cqabs(&got, &zeros);
  EXPECT_TRUE(oracle::same_bits(got, kZero)) << show(got);
  g_cqabs(&got, &three_four);
  EXPECT_TRUE(oracle::same_bits(got, real16(0x40014000))) << show(got);  // 5
}

// The Complex32 modulus beyond the largest finite value: the product's
// overflow report (1397), its default under both infinity flags.
TEST_F(Moduli, Complex32Overflow) {
  const Complex32 z = {kLargest, kLargest};
  for (const std::uint8_t flag : {0, 1}) {
    Recorder rec{flag, 1, 0};
    Real16 got;
    g_cqabs(&got, &z);
    ASSERT_EQ(rec.reports.size(), 1u);
    EXPECT_EQ(rec.reports[0].number, 1397);
    EXPECT_TRUE(oracle::same_bits(got, flag ? kInf : kLargest)) << show(got);
  }
}

}  // namespace
