// g_scns, g_dscn, g_scnsq, g_dscnq: agreement with the single functions
// they pair, accuracy against MPFR, the values at multiples of a right
// angle, and the error protocol.
//
// Bounds. The radian pairs are the processor's FSIN/FCOS stored once, as
// g_sin/g_cos/g_dsin/g_dcos: they must agree bit for bit (sin_cos_test
// measures those). The quadrant pairs reduce exactly (r = x - k is exact in
// Real4, u = 2x - 2k exact in Real8), so only the series and one rounding
// remain: Real4 series within 0.002 ulp, evaluated in the x87 register,
// asserted 0.502 ulp; Real8 series within 0.1 (sine) and 0.2 ulp (cosine)
// of sin(u pi/4), cos(u pi/4), asserted 0.7 ulp.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/checks.h"
#include "support/ieee_constants.h"
#include "support/pair_checks.h"

namespace {

using support::bits_of;
using support::call_pair;
using support::PairErrorRow;
using support::Range;
using support::Sampler;

// ---- Radians ---------------------------------------------------------------

TEST(RadianPairs, AgreeWithSinAndCos) {
  const std::uint64_t n = support::scaled(100000);
  Sampler s(0x5c25);
  for (const Range r : {Range{0, 1}, Range{1, 100}, Range{100, 823000}})
    support::expect_pair_agrees<float, Complex8>("g_scns", g_scns, g_sin, g_cos, n,
                                                 [&] { return s.uniform_signed(r.lo, r.hi); });
  for (const Range r : {Range{0, 1}, Range{1, 1e5}, Range{1e5, 3.53e15}})
    support::expect_pair_agrees<double, Complex16>("g_dscn", g_dscn, g_dsin, g_dcos, n,
                                                   [&] { return s.uniform_signed(r.lo, r.hi); });
}

TEST(RadianPairs, Zero) {
  for (float x : {0.0f, -0.0f})
    support::expect_pair_exact<float, Complex8>("g_scns", g_scns, x, x, 1);
  for (double x : {0.0, -0.0})
    support::expect_pair_exact<double, Complex16>("g_dscn", g_dscn, x, x, 1);
}

using support::kInfD;
using support::kInfF;
using support::kNaND;
using support::kNaNF;
const Complex8 kHalfRoots8{support::kSqrtHalfF, support::kSqrtHalfF};
const Complex8 kNaNs8{kNaNF, kNaNF};
const Complex16 kHalfRoots16{support::kSqrtHalfD, support::kSqrtHalfD};
const Complex16 kNaNs16{kNaND, kNaND};

TEST(RadianPairs, ArgumentsTooLargeToReduce) {
  // Unlike g_sin, g_scns reports a NaN too; g_dscn follows it.
  const PairErrorRow<float, Complex8> rows4[] = {
      {"g_scns", g_scns, 823000.0f, 202, kHalfRoots8, kNaNs8},
      {"g_scns", g_scns, -823000.0f, 202, kHalfRoots8, kNaNs8},
      {"g_scns", g_scns, 3.4e38f, 202, kHalfRoots8, kNaNs8},
      {"g_scns", g_scns, -kInfF, 202, kHalfRoots8, kNaNs8},
      {"g_scns", g_scns, kNaNF, 202, kHalfRoots8, kNaNs8},
  };
  for (const auto &row : rows4) support::expect_pair_error_row(row);
  const PairErrorRow<double, Complex16> rows8[] = {
      {"g_dscn", g_dscn, 3.53e15, 203, kHalfRoots16, kNaNs16},
      {"g_dscn", g_dscn, -1e300, 203, kHalfRoots16, kNaNs16},
      {"g_dscn", g_dscn, kInfD, 203, kHalfRoots16, kNaNs16},
      {"g_dscn", g_dscn, kNaND, 203, kHalfRoots16, kNaNs16},
  };
  for (const auto &row : rows8) support::expect_pair_error_row(row);
}

TEST(RadianPairs, JustBelowTheLimitComputes) {
  support::Recorder rec;
  const Complex8 p = call_pair(g_scns, std::nextafter(823000.0f, 0.0f));
  const Complex16 q = call_pair(g_dscn, -3.5299999999999995e15);
  EXPECT_TRUE(rec.reports.empty());
  EXPECT_LE(std::fabs(p.re), 1.0f);
  EXPECT_LE(std::fabs(q.im), 1.0);
}

TEST(RadianPairs, ResumeComputesTheReplacement) {
  support::expect_pair_resume_with<float, Complex8>(g_scns, 1.0e6f, 0.5f, 202);
  support::expect_pair_resume_with<float, Complex8>(g_scns, kNaNF, -2.0f, 202);
  support::expect_pair_resume_with<double, Complex16>(g_dscn, 1e16, 0.5, 203);
}

// ---- Quadrant units --------------------------------------------------------

int sin_quadrant(mpfr_ptr out, mpfr_srcptr x, mpfr_rnd_t rnd) { return mpfr_sinu(out, x, 4, rnd); }
int cos_quadrant(mpfr_ptr out, mpfr_srcptr x, mpfr_rnd_t rnd) { return mpfr_cosu(out, x, 4, rnd); }

float scnsq_sin(const float *x) { return call_pair(g_scnsq, *x).re; }
float scnsq_cos(const float *x) { return call_pair(g_scnsq, *x).im; }
double dscnq_sin(const double *x) { return call_pair(g_dscnq, *x).re; }
double dscnq_cos(const double *x) { return call_pair(g_dscnq, *x).im; }

TEST(QuadrantPair4, AgainstMpfr) {
  const std::uint64_t n = support::scaled(50000);
  for (const Range r : {Range{0, 0.5}, Range{0.5, 1}, Range{1, 100}, Range{100, 0x1p23}}) {
    support::expect_accuracy_in<float>("g_scnsq sin", scnsq_sin, sin_quadrant, r, n,
                                       support::ulps(0.502));
    support::expect_accuracy_in<float>("g_scnsq cos", scnsq_cos, cos_quadrant, r, n,
                                       support::ulps(0.502));
  }
}

TEST(QuadrantPair8, AgainstMpfr) {
  const std::uint64_t n = support::scaled(50000);
  for (const Range r :
       {Range{0, 0.5}, Range{0.5, 1}, Range{1, 100}, Range{100, 1e6}, Range{1e6, 2.25e15}}) {
    support::expect_accuracy_in<double>("g_dscnq sin", dscnq_sin, sin_quadrant, r, n,
                                        support::ulps(0.7));
    support::expect_accuracy_in<double>("g_dscnq cos", dscnq_cos, cos_quadrant, r, n,
                                        support::ulps(0.7));
  }
}

// g_scnsq shares the reduction and series of g_sinq and g_cosq: the same
// bits everywhere, the integers beyond 2^23, infinities and NaNs included.
TEST(QuadrantPair4, AgreesWithSinqAndCosq) {
  const std::uint64_t n = support::scaled(100000);
  Sampler s(0x5c26);
  for (const Range r : {Range{0, 1}, Range{1, 0x1p23}, Range{0x1p23, 3e38}})
    support::expect_pair_agrees<float, Complex8>("g_scnsq", g_scnsq, g_sinq, g_cosq, n,
                                                 [&] { return s.uniform_signed(r.lo, r.hi); });
  for (float x : {kInfF, -kInfF, kNaNF, -kNaNF, 0.0f, -0.0f, 2.0f, -2.0f, 0.5f, -0.5f}) {
    const Complex8 p = call_pair(g_scnsq, x);
    EXPECT_EQ(bits_of(p.re), bits_of(g_sinq(&x))) << x;
    EXPECT_EQ(bits_of(p.im), bits_of(g_cosq(&x))) << x;
  }
}

// g_dscnq has series of its own in the doubled variable; each value is
// within 0.7 ulp of the true one, as are g_dsinq and g_dcosq (0.66 ulp),
// so the two can differ by at most one unit in the last place.
TEST(QuadrantPair8, WithinOneUlpOfDsinqAndDcosq) {
  const std::uint64_t n = support::scaled(100000);
  Sampler s(0x5c27);
  int far = 0;
  for (const Range r : {Range{0, 1}, Range{1, 1e6}, Range{1e6, 2.25e15}}) {
    for (std::uint64_t i = 0; i < n; ++i) {
      const double x = s.uniform_signed(r.lo, r.hi);
      Complex16 p;
      g_dscnq(&p, &x);
      const double sq = g_dsinq(&x), cq = g_dcosq(&x);
      const bool ok = std::fabs(p.re - sq) <= support::ulp_of<double>(sq) &&
                      std::fabs(p.im - cq) <= support::ulp_of<double>(cq);
      if (!ok && ++far <= 5) ADD_FAILURE() << "g_dscnq(" << std::hexfloat << x << ")";
    }
  }
}

// Half-integers, where the reduction picks between two quadrants (a tie),
// and the arguments next to them and to the integers.
TEST(QuadrantPairs, NextToTiesAndIntegers) {
  for (int k = -40; k <= 40; ++k) {
    for (double d : {-0x1p-20, 0.0, 0x1p-20}) {
      const float x4 = static_cast<float>(k * 0.5 + d);
      EXPECT_LE(oracle::ulp_error(scnsq_sin(&x4), sin_quadrant, x4), 0.502) << x4;
      EXPECT_LE(oracle::ulp_error(scnsq_cos(&x4), cos_quadrant, x4), 0.502) << x4;
      const double x8 = k * 0.5 + d;
      EXPECT_LE(oracle::ulp_error(dscnq_sin(&x8), sin_quadrant, x8), 0.7) << x8;
      EXPECT_LE(oracle::ulp_error(dscnq_cos(&x8), cos_quadrant, x8), 0.7) << x8;
    }
  }
}

// At multiples of a right angle the values are exact (zeros compared by
// value: the sign of a zero follows the quadrant).
TEST(QuadrantPairs, ExactAtRightAngles) {
  struct Case {
    double x, sin, cos;
  };
  const Case cases[] = {
      {0, 0, 1},          {1, 1, 0},
      {2, 0, -1},         {3, -1, 0},
      {4, 0, 1},          {-1, -1, 0},
      {-2, 0, -1},        {-3, 1, 0},
      {17, 1, 0},         {1e6 + 3, -1, 0},
      {0x1p23 + 1, 1, 0}, {0x1p23 + 2, 0, -1},
      {0x1p24 + 4, 0, 1}, {-0x1p24 - 2, 0, -1},
      {0x1p30, 0, 1},     {-3.0e38, 0, 1},
  };
  support::Recorder rec;
  for (const Case &c : cases) {
    const Complex8 p = call_pair(g_scnsq, static_cast<float>(c.x));
    EXPECT_EQ(p.re, static_cast<float>(c.sin)) << "g_scnsq(" << c.x << ")";
    EXPECT_EQ(p.im, static_cast<float>(c.cos)) << "g_scnsq(" << c.x << ")";
    if (std::fabs(c.x) < 2.25e15) {
      const Complex16 q = call_pair(g_dscnq, c.x);
      EXPECT_EQ(q.re, c.sin) << "g_dscnq(" << c.x << ")";
      EXPECT_EQ(q.im, c.cos) << "g_dscnq(" << c.x << ")";
    }
  }
  EXPECT_TRUE(rec.reports.empty());
}

// g_scnsq has no limit: infinities and NaNs are integers of its reduction
// and give (+-0, 1) without a report.
TEST(QuadrantPair4, InfinitiesAndNaNsWithoutReport) {
  support::Recorder rec;
  for (float x : {kInfF, -kInfF, kNaNF}) {
    const Complex8 p = call_pair(g_scnsq, x);
    EXPECT_EQ(p.re, 0.0f) << x;
    EXPECT_EQ(p.im, 1.0f) << x;
  }
  EXPECT_TRUE(rec.reports.empty());
}

TEST(QuadrantPair8, ArgumentsTooLargeIgnoreTheInfinityFlag) {
  const PairErrorRow<double, Complex16> rows[] = {
      {"g_dscnq", g_dscnq, 2.25e15, 203, kHalfRoots16, kHalfRoots16},
      {"g_dscnq", g_dscnq, -2.25e15, 203, kHalfRoots16, kHalfRoots16},
      {"g_dscnq", g_dscnq, 0x1p60, 203, kHalfRoots16, kHalfRoots16},
      {"g_dscnq", g_dscnq, kInfD, 203, kHalfRoots16, kHalfRoots16},
      {"g_dscnq", g_dscnq, -kInfD, 203, kHalfRoots16, kHalfRoots16},
      {"g_dscnq", g_dscnq, kNaND, 203, kHalfRoots16, kHalfRoots16},
  };
  for (const auto &row : rows) support::expect_pair_error_row(row);
  support::Recorder rec;
  call_pair(g_dscnq, std::nextafter(2.25e15, 0.0));
  EXPECT_TRUE(rec.reports.empty());
}

TEST(QuadrantPair8, ResumeComputesTheReplacement) {
  support::expect_pair_resume_with<double, Complex16>(g_dscnq, 1e300, 0.25, 203);
  support::expect_pair_resume_with<double, Complex16>(g_dscnq, -kInfD, 1e15 + 0.5, 203);
}

}  // namespace
