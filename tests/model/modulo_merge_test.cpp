// MODULO, the floor helpers and MERGE.
//
// MODULO of Real4 and Real8 bit for bit against MPFR at 64 bits, step by
// step as the definition evaluates it: A / P rounded to 64 bits and then
// to the type, its floor, A - floor * P with each operation rounded to 64
// bits, and the difference rounded to the type. MODULO of Real16 against
// the MPFR reference of the correctly rounded Real16 operations with the
// floor taken exactly. The floor helpers against std::floor (Real4, Real8)
// and MPFR (Real16). Then fixed rows, MERGE's copies and error 1396.
#include <gtest/gtest.h>
#include <mpfr.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "model/model_checks.h"

namespace {

using namespace model_test;
using oracle::real16;
using support::bits_of;
using support::Sampler;

// ---- Real4 and Real8 -------------------------------------------------------

float to_type(mpfr_srcptr v, float) { return mpfr_get_flt(v, MPFR_RNDN); }
double to_type(mpfr_srcptr v, double) { return mpfr_get_d(v, MPFR_RNDN); }

// FLOOR as the definition has it: std::floor, except that FLOOR(-0.0) is
// +0.0.
template <class T>
T model_floor(T x) {
  return x == 0 ? T(0) : std::floor(x);
}

// MODULO(a, p), p not zero, by the definition's steps at 64 bits.
template <class T>
T modulo_reference(T a, T p) {
  oracle::Big ea(oracle::Precision{64}), ep(oracle::Precision{64}), r(oracle::Precision{64});
  mpfr_set_d(ea, static_cast<double>(a), MPFR_RNDN);  // exact
  mpfr_set_d(ep, static_cast<double>(p), MPFR_RNDN);
  mpfr_div(r, ea, ep, MPFR_RNDN);
  const T f = model_floor(to_type(r, T{}));
  mpfr_set_d(r, static_cast<double>(f), MPFR_RNDN);
  mpfr_mul(r, r, ep, MPFR_RNDN);
  mpfr_sub(r, ea, r, MPFR_RNDN);
  return to_type(r, T{});
}

template <class T>
struct Entries {
  T (*modulo)(const T *, const T *);
  T (*floor)(const T *);
};
const Entries<float> k4 = {g_modlr, ulx_gflo};
const Entries<double> k8 = {g_modld, ulx_gfld};

// A the ratio |A / P| log-uniform in 2^+-(p + 8) (most quotients near an
// integer or with few fraction bits, where the floor and the cancellation
// decide), now and then both of any class.
template <class T>
void check_modulo(const Entries<T> &e, const char *name) {
  Sampler s(std::hash<std::string>{}(name));
  int failures = 0;
  for (std::uint64_t n = 0; n < support::scaled(200000); ++n) {
    T a, p;
    if (n % 8 == 0) {
      a = draw_pattern<T>(s), p = draw_pattern<T>(s);
    } else {
      p = static_cast<T>(s.log_uniform_signed(1e-20, 1e20));
      const double spread = kDigits<T> + 8;
      a = static_cast<T>(p * std::exp2(s.uniform(-spread, spread)) * (s.bits() & 1 ? 1 : -1));
      if (n % 4 == 1) a = std::round(a / p) * p;  // a multiple, or next to one
    }
    if (p == 0) continue;
    const T got = e.modulo(&a, &p), want = modulo_reference(a, p);
    const bool same = want != want ? got != got : bits_of(got) == bits_of(want);
    if (!same && ++failures <= 5)
      ADD_FAILURE() << name << "(" << std::hexfloat << a << ", " << p << ") = " << got << ", not "
                    << want;
  }
}

TEST(Modulo, Real4MatchesTheExtendedSteps) { check_modulo(k4, "g_modlr"); }
TEST(Modulo, Real8MatchesTheExtendedSteps) { check_modulo(k8, "g_modld"); }

// The helpers over patterns of every class: a NaN comes back a NaN of the
// same sign.
template <class T>
void check_floor(const Entries<T> &e, const char *name) {
  Sampler s(std::hash<std::string>{}(name));
  int failures = 0;
  for (std::uint64_t n = 0; n < support::scaled(200000); ++n) {
    const T x = n % 2 ? draw_pattern<T>(s) : static_cast<T>(s.uniform(-1e7, 1e7));
    const T got = e.floor(&x), want = model_floor(x);
    const bool same =
        x != x ? got != got && std::signbit(got) == std::signbit(x) : bits_of(got) == bits_of(want);
    if (!same && ++failures <= 5)
      ADD_FAILURE() << name << "(" << std::hexfloat << x << ") = " << got << ", not " << want;
  }
}

TEST(Floor, Real4IsTheModelFloor) { check_floor(k4, "ulx_gflo"); }
TEST(Floor, Real8IsTheModelFloor) { check_floor(k8, "ulx_gfld"); }

// ---- Real16 ----------------------------------------------------------------

// FLOOR of a Real16 exactly: +0 for every zero pattern, -1 for negative
// values above -1, x itself where x is integral (the patterns with
// exponent 0x7fff included).
Real16 floor16(const Real16 &x) {
  oracle::Big v(oracle::Precision{256}), f(oracle::Precision{256});
  oracle::set_real16(v, x);
  mpfr_floor(f, v);
  if (mpfr_zero_p(f)) return real16(0);
  if (mpfr_equal_p(f, v)) return x;
  return oracle::round_to_real16(f).bits;
}

class Real16Modulo : public support::Real16Test {};

TEST_F(Real16Modulo, FloorIsExact) {
  int failures = 0;
  for (std::uint64_t n = 0; n < support::scaled(100000); ++n) {
    const Real16 x = n % 2 ? draw_real16(s) : s.with_exponent(0x3fff + s.below32(120));
    Real16 got;
    ulx_gflq(&got, &x);
    if (!oracle::same_bits(got, floor16(x)) && ++failures <= 5)
      ADD_FAILURE() << "ulx_gflq(" << support::show(x) << ") = " << support::show(got);
  }
}

// A - FLOOR(A / P) * P through the correctly rounded operations, when none
// of them overflows or underflows.
TEST_F(Real16Modulo, MatchesTheRoundedSteps) {
  int failures = 0, compared = 0;
  for (std::uint64_t n = 0; n < support::scaled(50000); ++n) {
    const std::uint32_t ep = 0x3000 + s.below32(0x2000);
    const Real16 p = s.with_exponent(ep),
                 a = s.with_exponent(ep + s.below32(240) - 120 + (n % 8 == 0 ? 500 : 0));
    const auto q = ref.div(a, p);
    if (q.outcome != oracle::Outcome::value) continue;
    const auto t = ref.mul(floor16(q.bits), p);
    if (t.outcome != oracle::Outcome::value) continue;
    const auto want = ref.sub(a, t.bits);
    if (want.outcome != oracle::Outcome::value) continue;
    ++compared;
    Real16 got;
    g_modlq(&got, &a, &p);
    if (!oracle::same_bits(got, want.bits) && ++failures <= 5)
      ADD_FAILURE() << "g_modlq(" << support::show(a) << ", " << support::show(p)
                    << ") = " << support::show(got) << ", not " << support::show(want.bits);
  }
  EXPECT_GT(compared, 1000);
  EXPECT_TRUE(rec.reports.empty());
}

// ---- Fixed rows ------------------------------------------------------------

TEST(Modulo, EdgeRows) {
  // MODULO(7.0, 3.0) = 1.0; MODULO(-7.0, 3.0) = 2.0; MODULO(7.0, -3.0) = -2.0;
  // MODULO(-7.0, -3.0) = -1.0, in all three types.
  const double rows[][3] = {{7, 3, 1}, {-7, 3, 2}, {7, -3, -2}, {-7, -3, -1}};
  for (const auto &r : rows) {
    const float a4 = static_cast<float>(r[0]), p4 = static_cast<float>(r[1]);
    EXPECT_EQ(g_modlr(&a4, &p4), static_cast<float>(r[2])) << r[0] << " " << r[1];
    EXPECT_EQ(g_modld(&r[0], &r[1]), r[2]) << r[0] << " " << r[1];
    Real16 a16, p16, got, want;
    g_qextd(&a16, &r[0]);
    g_qextd(&p16, &r[1]);
    g_qextd(&want, &r[2]);
    g_modlq(&got, &a16, &p16);
    EXPECT_TRUE(oracle::same_bits(got, want)) << support::show(got);
  }
}

TEST(Floor, EdgeRows) {
  // FLOOR(-0.5) = -1.0, FLOOR(-0.0) = +0.0, FLOOR(-2.0) = -2.0,
  // FLOOR(-2.5) = -3.0, FLOOR(2.5) = 2.0, in all three helpers.
  const double rows[][2] = {{-0.5, -1}, {-0.0, 0}, {-2, -2}, {-2.5, -3}, {2.5, 2}};
  for (const auto &r : rows) {
    const float x4 = static_cast<float>(r[0]);
    EXPECT_EQ(bits_of(ulx_gflo(&x4)), bits_of(static_cast<float>(r[1]))) << r[0];
    EXPECT_EQ(bits_of(ulx_gfld(&r[0])), bits_of(r[1])) << r[0];
    Real16 x16, got, want;
    g_qextd(&x16, &r[0]);
    g_qextd(&want, &r[1]);
    ulx_gflq(&got, &x16);
    EXPECT_TRUE(oracle::same_bits(got, want)) << r[0] << ": " << support::show(got);
  }
  // FLOOR(16777215.0) of Real4 is 16777215.0; FLOOR(-8388607.5) is -8388608.0.
  const float big = 16777215.0f, half = -8388607.5f;
  EXPECT_EQ(ulx_gflo(&big), 16777215.0f);
  EXPECT_EQ(ulx_gflo(&half), -8388608.0f);
  // ulx_gflq of -1.0e-30 gives -1.0; of 1.0e40 gives x unchanged.
  const double tiny = -1.0e-30, huge = 1.0e40;
  Real16 x, got;
  g_qextd(&x, &tiny);
  ulx_gflq(&got, &x);
  EXPECT_TRUE(oracle::same_bits(got, real16(0xbfff0000)));
  g_qextd(&x, &huge);
  ulx_gflq(&got, &x);
  EXPECT_TRUE(oracle::same_bits(got, x));
  // word 3 = 0x80000000 is a negative zero whatever words 0..2 hold: +0.
  x = real16(0x80000000, 1, 2, 3);
  ulx_gflq(&got, &x);
  EXPECT_TRUE(oracle::same_bits(got, real16(0)));
}

// ---- MERGE -----------------------------------------------------------------

// Any mask other than 0 selects TSOURCE, copied whole (NaN patterns too).
TEST(Merge, CopiesTheSelectedArgument) {
  const float t4 = std::bit_cast<float>(0x7fa00001u), f4 = -2.0f;
  const double t8 = -0.0, f8 = std::bit_cast<double>(std::uint64_t{0x7ff0000000000123});
  const Real16 t16 = real16(0x7fff0001, 2, 3, 4), f16 = real16(0x80000000, 5, 6, 7);
  const Complex8 tc = {1.0f, std::bit_cast<float>(0xffc00007u)}, fc = {-0.0f, 3.0f};
  const Complex16 tz = {1.5, -2.5}, fz = {f8, t8};
  const Complex32 tq = {t16, f16}, fq = {f16, real16(0x3fff0000)};
  for (const std::int32_t mask : {0, 1, 2, -1, std::int32_t{INT32_MIN}}) {
    SCOPED_TRACE("mask " + std::to_string(mask));
    const bool pick_t = mask != 0;
    EXPECT_EQ(returned(g_mrgr(&t4, &f4, &mask)), returned(pick_t ? t4 : f4));
    EXPECT_EQ(returned(g_mrgd(&t8, &f8, &mask)), returned(pick_t ? t8 : f8));
    Real16 r16;
    Complex8 rc;
    Complex16 rz;
    Complex32 rq;
    EXPECT_EQ(g_mrgq(&r16, &t16, &f16, &mask), &r16);
    EXPECT_EQ(g_cmrg(&rc, &tc, &fc, &mask), &rc);
    EXPECT_EQ(g_dmrg(&rz, &tz, &fz, &mask), &rz);
    EXPECT_EQ(g_qmrg(&rq, &tq, &fq, &mask), &rq);
    EXPECT_EQ(std::memcmp(&r16, pick_t ? &t16 : &f16, sizeof r16), 0);
    EXPECT_EQ(std::memcmp(&rc, pick_t ? &tc : &fc, sizeof rc), 0);
    EXPECT_EQ(std::memcmp(&rz, pick_t ? &tz : &fz, sizeof rz), 0);
    EXPECT_EQ(std::memcmp(&rq, pick_t ? &tq : &fq, sizeof rq), 0);
  }
}

// ---- MODULO with a zero P: error 1396 --------------------------------------

TEST(Modulo, ZeroPReturnsTheLargestFiniteValue) {
  // MODULO(5.0, 0.0) and MODULO(5.0, -0.0) report 1396 and return
  // 3.4028234663852886e+38 (Real4) or 1.7976931348623157e+308 (Real8).
  constexpr std::int32_t kError = 1396;
  const float a4 = 5.0f, big4 = std::bit_cast<float>(0x7f7fffffu);
  const double a8 = 5.0, big8 = std::bit_cast<double>(std::uint64_t{0x7fefffffffffffff});
  for (const double zero : {0.0, -0.0}) {
    const float p4 = static_cast<float>(zero);
    expect_fixed_report<float, float>(
        "g_modlr", kError, a4, 1.0f, [&] { return g_modlr(&a4, &p4); }, big4);
    expect_fixed_report<double, double>(
        "g_modld", kError, a8, 1.0, [&] { return g_modld(&a8, &zero); }, big8);
  }
  // g_modlq with P of word 3 = 0x80000000 and word 0 = 1 reports 1396.
  const Real16 a16 = real16(0x40014000), p16 = real16(0x80000000, 0, 0, 1);
  const Real16 largest = real16(0x7ffeffff, ~0u, ~0u, ~0u);
  Real16 out;
  expect_fixed_report<Real16, Real16>(
      "g_modlq", kError, a16, real16(0x3fff0000), [&] { return *g_modlq(&out, &a16, &p16); },
      largest);
}

}  // namespace
