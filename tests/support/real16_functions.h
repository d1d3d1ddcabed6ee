// The property table of a family of Real16 functions and the checks it
// drives: a row names an entry and its MPFR function, argument ranges with
// the bound in ulps asserted over each, points checked against a bound,
// exact points (bit for bit, no report) and error rows (number, the
// reported value, the defaults under both infinity-flag values, and a
// resume with a replaced argument).
//   {"g_qexp", g_qexp, mpfr_exp, {{-50, 50, 2}}, {...points}, {...exact}, {...faults}}
// Exact values are taken at 256 bits; errors in ulps by oracle::ulp_error.
#pragma once

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "support/real16_checks.h"

namespace support {

using Entry16 = Real16 *(*)(Real16 *, const Real16 *);

inline Real16 call(Entry16 fn, const Real16 &x) {
  Real16 r{{0x5a5a5a5a, 0x5a5a5a5a, 0x5a5a5a5a, 0x5a5a5a5a}};
  EXPECT_EQ(fn(&r, &x), &r) << "the result address comes back";
  return r;
}

// x as a Real16: the double's sign, exponent and 52 fraction bits, and 60
// more bits `low` below them.
inline Real16 widened(double x, std::uint64_t low = 0) {
  if (x == 0) return real16(std::signbit(x) ? kSign16 : 0);
  const auto b = std::bit_cast<std::uint64_t>(x);
  const auto biased = static_cast<std::uint32_t>(((b >> 52) & 0x7ff) - 1023 + 16383);
  const std::uint64_t f = b & 0xfffffffffffff;  // fraction bits 111..60
  low &= 0xfffffffffffffff;                     // bits 59..0
  return real16_of(std::signbit(x), biased, f >> 4, (f << 60) | low);
}

// x uniform in [lo, hi), log-uniform in magnitude with a random sign (0 <
// lo) or positive, or positive with a biased exponent uniform in [lo, hi]
// (binades);
// random bits to the last place.
enum class Draw { uniform, log, positive_log, binades };
struct Range16 {
  double lo, hi, ulps;
  Draw draw = Draw::uniform;
};

inline Real16 draw(Sampler &s, const Range16 &r) {
  switch (r.draw) {
    case Draw::uniform:
      return widened(s.uniform(r.lo, r.hi), s.bits());
    case Draw::log:
      return widened(s.log_uniform_signed(r.lo, r.hi), s.bits());
    case Draw::positive_log:
      return widened(std::fabs(s.log_uniform_signed(r.lo, r.hi)), s.bits());
    case Draw::binades:
      break;
  }
  const auto biased = static_cast<std::uint32_t>(
      r.lo + static_cast<double>(s.bits() % static_cast<std::uint64_t>(r.hi - r.lo + 1)));
  return real16_of(false, biased, s.bits() & 0xffffffffffff, s.bits());
}

// Error `error` for x, declined: `finite` under infinity flag 0 and `ieee`
// under 1 (a NaN pattern: any NaN pattern); then a resume with `retry` in
// the slot gives fn(retry) and reports once.
struct Fault16 {
  Real16 x;
  std::int32_t error;
  Real16 finite, ieee;
};

struct Point16 {
  Real16 x;
  double ulps;
};

struct Exact16 {
  Real16 x, want;
};

struct Row16 {
  const char *name;
  Entry16 fn;
  int (*exact)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);
  std::vector<Range16> ranges;
  std::vector<Point16> points = {};
  std::vector<Exact16> exact_points = {};
  std::vector<Fault16> faults = {};
  std::uint64_t count = 4000;
  // Errors in ulps of max(|exact|, floor): an absolute bound where a result
  // near a zero is a difference of larger terms.
  double floor = 0;
};

inline void PrintTo(const Row16 &row, std::ostream *os) { *os << row.name; }

inline double check_point(const Row16 &row, const Real16 &x, double bound, int &failures) {
  oracle::Big in(oracle::Precision{128}), e(oracle::Precision{256});
  oracle::set_real16(in, x);
  row.exact(e, in, MPFR_RNDN);
  const Real16 got = call(row.fn, x);
  if (row.floor > 0 && mpfr_cmpabs_ui(e, 0) > 0 && mpfr_get_d(e, MPFR_RNDN) != 0 &&
      std::fabs(mpfr_get_d(e, MPFR_RNDN)) < row.floor) {
    oracle::Big g(oracle::Precision{256});
    oracle::set_real16(g, got);
    mpfr_sub(g, g, e, MPFR_RNDN);
    const double err = std::fabs(std::ldexp(mpfr_get_d(g, MPFR_RNDN), 112 - std::ilogb(row.floor)));
    if (!(err <= bound) && ++failures <= 5)
      ADD_FAILURE() << row.name << "(" << show(x) << ") = " << show(got) << ": " << err
                    << " units of the floor > " << bound;
    return err;
  }
  const double err = oracle::ulp_error(got, e);
  if (!(err <= bound) && ++failures <= 5)
    ADD_FAILURE() << row.name << "(" << show(x) << ") = " << show(got) << ": " << err << " ulp > "
                  << bound;
  return err;
}

inline void check(const Row16 &row) {
  {
    Recorder rec;
    Sampler s(std::hash<std::string>{}(row.name));
    for (const Range16 &r : row.ranges) {
      oracle::WorstCase worst;
      int failures = 0;
      for (std::uint64_t i = 0; i < scaled(row.count); ++i) {
        const Real16 x = draw(s, r);
        worst.add(check_point(row, x, r.ulps, failures), mpfr_get_d(oracle::Exact(x), MPFR_RNDN));
      }
      static const char *const kHow[] = {"", " +-", " log", " binades"};
      std::printf("  %-10s [%.6g, %.6g)%s: %s\n", row.name, r.lo, r.hi,
                  kHow[static_cast<int>(r.draw)], worst.describe().c_str());
    }
    int failures = 0;
    for (const Point16 &p : row.points) check_point(row, p.x, p.ulps, failures);
    EXPECT_TRUE(rec.reports.empty()) << row.name << " reported " << rec.reports[0].number;
  }
  for (const Exact16 &p : row.exact_points) {
    Recorder rec;
    const Real16 got = call(row.fn, p.x);
    EXPECT_TRUE(rec.reports.empty()) << row.name << "(" << show(p.x) << ") reported";
    EXPECT_TRUE(oracle::same_bits(got, p.want))
        << row.name << "(" << show(p.x) << ") = " << show(got) << ", not " << show(p.want);
  }
  for (const Fault16 &f : row.faults) {
    for (std::uint8_t flag : {0, 1}) {
      SCOPED_TRACE(std::string(row.name) + "(" + show(f.x) + "), flag " + std::to_string(flag));
      Recorder rec(flag);
      const Real16 got = call(row.fn, f.x);
      ASSERT_EQ(rec.reports.size(), 1u);
      const Report &r = rec.reports[0];
      EXPECT_EQ(r.number, f.error);
      EXPECT_EQ(r.value_count, 1);
      EXPECT_EQ(r.value_type[0], 11);
      EXPECT_TRUE(oracle::same_bits(r.value_as<Real16>(0), f.x));
      const Real16 &want = flag == 1 ? f.ieee : f.finite;
      EXPECT_TRUE(oracle::same_bits(got, want) ||
                  ((want.w[3] & 0x7fff8000) == 0x7fff8000 && (got.w[3] & 0x7fff8000) == 0x7fff8000))
          << show(got) << ", not " << show(want);
    }
    // Resume: the handler puts 1/2 into the slot once; the entry computes again.
    Recorder rec;
    const Real16 half = real16(0x3ffe0000);
    rec.answer = [&](const Report &r, int index) {
      if (index > 0) return 0;
      replace(r, 1, half);
      return 1;
    };
    const Real16 got = call(row.fn, f.x);
    EXPECT_EQ(rec.reports.size(), 1u) << row.name << " resumed with 1/2";
    Recorder quiet;
    EXPECT_TRUE(oracle::same_bits(got, call(row.fn, half))) << row.name << " resumed with 1/2";
  }
}

#define VEXMORG_TABLE16(prefix, suite, rows)                         \
  class suite : public ::testing::TestWithParam<support::Row16> {};  \
  TEST_P(suite, Properties) { support::check(GetParam()); }          \
  INSTANTIATE_TEST_SUITE_P(prefix, suite, ::testing::ValuesIn(rows), \
                           [](const auto &info) { return std::string(info.param.name); })

}  // namespace support
