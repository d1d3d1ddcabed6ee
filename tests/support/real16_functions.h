// The property table of a family of Real16 functions and the checks it
// drives: a row names an entry (one argument, or two: y, x) and its MPFR
// function, its symmetry, argument ranges with the bound in ulps asserted
// over each, points checked against a bound, exact points (bit for bit, no
// argument error) and error rows (number, the defaults under both infinity-flag
// values, a resume with a replaced argument).
//   {"g_qexp", g_qexp, mpfr_exp, kNone, {{-50, 50, 2}}, {...points}, {...exact}, {...faults}}
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
using Entry16x2 = Real16 *(*)(Real16 *, const Real16 *, const Real16 *);

inline Real16 negated(Real16 x) { return x.w[3] ^= kSign16, x; }
inline bool is_zero16(const Real16 &x) { return (x.w[3] & 0x7fffffff) == 0; }

// An entry f(y) or f(y, x), called into a poisoned result that must come
// back at the returned address.
struct Fn16 {
  Entry16 one = nullptr;
  Entry16x2 two = nullptr;
  Fn16(Entry16 f) : one(f) {}
  Fn16(Entry16x2 f) : two(f) {}
  Real16 operator()(const Real16 &y, const Real16 &x = kOne) const {
    Real16 r{{0x5a5a5a5a, 0x5a5a5a5a, 0x5a5a5a5a, 0x5a5a5a5a}};
    EXPECT_EQ(one ? one(&r, &y) : two(&r, &y, &x), &r) << "the result address comes back";
    return r;
  }
};

// One result of a pair entry as an entry of its own.
template <void (*kPair)(const Real16 *, Real16 *, Real16 *), int kWhich>
Real16 *part(Real16 *r, const Real16 *x) {
  Real16 other;
  kWhich == 0 ? kPair(x, r, &other) : kPair(x, &other, r);
  return r;
}

// MPFR's function of one argument or of two.
struct Oracle16 {
  oracle::Fn1 one = nullptr;
  oracle::Fn2 two = nullptr;
  Oracle16(oracle::Fn1 f) : one(f) {}
  Oracle16(oracle::Fn2 f) : two(f) {}
};

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

// x uniform in [lo, hi); log-uniform in magnitude with a random sign (0 <
// lo), or positive; positive with a biased exponent uniform in [lo, hi]
// (binades); a random sign and the high word of |x| uniform in [lo, hi],
// the ends one time in four (words); or a multiple (below 2^62) of the right
// angle lo (0: pi/2) rounded and moved by up to 8 ulps (near). Random bits
// to the last place.
enum class Draw { uniform, log, positive_log, binades, words, near };
struct Range16 {
  double lo, hi, ulps;
  Draw draw = Draw::uniform;
};

inline Real16 draw(Sampler &s, const Range16 &r) {
  const auto lo = static_cast<std::uint32_t>(r.lo), hi = static_cast<std::uint32_t>(r.hi);
  auto below = [&s](std::uint64_t n) { return static_cast<std::uint32_t>(s.bits() % n); };
  switch (r.draw) {
    case Draw::uniform:
      return widened(s.uniform(r.lo, r.hi), s.bits());
    case Draw::log:
      return widened(s.log_uniform_signed(r.lo, r.hi), s.bits());
    case Draw::positive_log:
      return widened(std::fabs(s.log_uniform_signed(r.lo, r.hi)), s.bits());
    case Draw::binades:
      return real16_of(false, lo + below(hi - lo + 1ull), s.bits() & 0xffffffffffff, s.bits());
    case Draw::words: {
      const std::uint32_t h = below(4) == 0 ? (s.bits() & 1 ? lo : hi) : lo + below(hi - lo + 1ull);
      return real16_of(s.bits() & 1, h >> 16, (std::uint64_t{h & 0xffff} << 32) | (s.bits() >> 32),
                       s.bits());
    }
    case Draw::near:
      break;
  }
  oracle::Big v(oracle::Precision{256});
  r.lo != 0 ? mpfr_set_d(v, r.lo, MPFR_RNDN)
            : (mpfr_const_pi(v, MPFR_RNDN), mpfr_div_2ui(v, v, 1, MPFR_RNDN));
  const int bits = 1 + static_cast<int>(s.bits() % 62);
  mpfr_mul_ui(v, v, 1 + s.bits() % (std::uint64_t{1} << std::min(bits, 31)), MPFR_RNDN);
  if (bits > 31) mpfr_mul_2ui(v, v, static_cast<unsigned long>(bits - 31), MPFR_RNDN);
  Real16 x = oracle::round_to_real16(v).bits;
  for (auto [o, n] : {std::pair{oracle::Op::add, s.bits() % 9}, {oracle::Op::sub, s.bits() % 5}})
    while (n-- > 0) x = oracle::reference(o, x, real16(x.w[3] - (112 << 16))).bits;
  return s.bits() & 1 ? negated(x) : x;
}

// High words lo to hi of |x|, 2 ulp.
inline Range16 w(std::uint32_t lo, std::uint32_t hi) {
  return {double(lo), double(hi), 2, Draw::words};
}

// f(-y) (f(-y, x)) is -f(y) (a zero stays +0) or f(y), bit for bit.
enum class Parity { none, odd, even };
constexpr Parity kNone = Parity::none, kOdd = Parity::odd, kEven = Parity::even;

// f at x (x2: the second argument of f(y, x)) within `ulps`, or `want`
// exactly; error `error` at x, declined: `finite` under infinity flag 0
// and `ieee` under 1.
struct Point16 {
  Real16 x;
  double ulps;
  Real16 x2 = kOne;
};
struct Exact16 {
  Real16 x, want, x2 = kOne;
};
struct Fault16 {
  Real16 x;
  std::int32_t error;
  Real16 finite, ieee, x2 = kOne;
};

// Error `error` at each x with the same defaults; rows joined by +.
inline std::vector<Fault16> faults(std::int32_t error, Real16 finite, Real16 ieee,
                                   std::vector<Real16> xs) {
  std::vector<Fault16> f;
  for (const Real16 &x : xs) f.push_back({x, error, finite, ieee});
  return f;
}
template <class T>
std::vector<T> operator+(std::vector<T> a, const std::vector<T> &b) {
  return a.insert(a.end(), b.begin(), b.end()), a;
}

struct Row16 {
  const char *name;
  Fn16 fn;
  Oracle16 exact;
  Parity parity;
  std::vector<Range16> ranges;
  std::vector<Point16> points = {};
  std::vector<Exact16> exact_points = {};
  std::vector<Fault16> faults = {};
  std::uint64_t count = 4000;
  double floor = 0;        // errors in ulps of max(|exact|, floor): near a zero of f
  Entry16 twin = nullptr;  // returns fn's bits at every sampled argument
};

inline void PrintTo(const Row16 &row, std::ostream *os) { *os << row.name; }

// The error of got = fn(y[, x]), in ulps (or units of the floor); infinity
// at a pole.
inline double check_point(const Row16 &row, const Real16 &y, const Real16 &x, double bound,
                          int &failures, Real16 &got) {
  oracle::Big e(oracle::Precision{256});
  row.exact.one ? row.exact.one(e, oracle::Exact(y), MPFR_RNDN)
                : row.exact.two(e, oracle::Exact(y), oracle::Exact(x), MPFR_RNDN);
  got = row.fn(y, x);
  if (mpfr_inf_p(e)) return INFINITY;
  double err = oracle::ulp_error(got, e);
  const char *unit = " ulp > ";
  if (row.floor > 0 && mpfr_cmpabs(e, oracle::Big(row.floor)) < 0) {
    oracle::Exact g(got);
    mpfr_sub(g, g, e, MPFR_RNDN);
    err = std::fabs(std::ldexp(mpfr_get_d(g, MPFR_RNDN), 112 - std::ilogb(row.floor)));
    unit = " units of the floor > ";
  }
  if (!(err <= bound) && ++failures <= 5)
    ADD_FAILURE() << row.name << "(" << show(y) << (row.fn.two ? ", " + show(x) : "")
                  << ") = " << show(got) << ": " << err << unit << bound;
  return err;
}

inline void check(const Row16 &row) {
  {
    // Argument errors only (the Real16 operators' exceptions unreported):
    // poles (exact infinities) report and give +infinity.
    Recorder rec(1, 0);
    Sampler s(std::hash<std::string>{}(row.name));
    std::size_t poles = 0;
    int failures = 0;
    Real16 got;
    for (const Range16 &r : row.ranges) {
      oracle::WorstCase worst;
      for (std::uint64_t i = 0; i < scaled(row.count); ++i) {
        Real16 y = draw(s, r), x = kOne;
        if (row.fn.two) {  // y at an exponent gap of -130 to 130 from x, or x itself
          x = y, y = s.bits() % 8 == 0 ? x : draw(s, {0, 0, 0, Draw::words});
          y.w[3] = (y.w[3] & kSign16) |
                   ((x.w[3] & 0x7fffffff) + (static_cast<std::uint32_t>(s.bits() % 261) << 16) -
                    (130u << 16));
        }
        const double err = check_point(row, y, x, r.ulps, failures, got);
        const Real16 mirror = row.parity == kNone ? got : row.fn(negated(y), x);
        if (std::isinf(err)) {
          poles += 2;
          if (!oracle::same_bits(got, kInf) || !oracle::same_bits(mirror, kInf))
            ADD_FAILURE() << row.name << " pole " << show(y);
          continue;
        }
        worst.add(err, mpfr_get_d(oracle::Exact(y), MPFR_RNDN));
        const Real16 want = row.parity == kEven || is_zero16(got) ? got : negated(got);
        if (row.parity != kNone && !oracle::same_bits(mirror, want) && ++failures <= 5)
          ADD_FAILURE() << row.name << " not symmetric at " << show(y);
        if (row.twin && !oracle::same_bits(Fn16(row.twin)(y), got) && ++failures <= 5)
          ADD_FAILURE() << row.name << " and its twin differ at " << show(y);
      }
      static const char *const kHow[] = {"", " +-", " log", " binades", " words", " near"};
      std::printf("  %-12s [%.6g, %.6g)%s: %s\n", row.name, r.lo, r.hi,
                  kHow[static_cast<int>(r.draw)], worst.describe().c_str());
    }
    for (const Point16 &p : row.points) check_point(row, p.x, p.x2, p.ulps, failures, got);
    EXPECT_EQ(rec.reports.size(), poles) << row.name << " reported";
  }
  for (const Exact16 &p : row.exact_points) {
    Recorder rec(1, 0);
    const Real16 got = row.fn(p.x, p.x2);
    EXPECT_TRUE(rec.reports.empty()) << row.name << "(" << show(p.x) << ") reported";
    EXPECT_TRUE(oracle::same_bits(got, p.want))
        << row.name << "(" << show(p.x) << ") = " << show(got) << ", not " << show(p.want);
  }
  // Every fault: the number, the argument as the value of type 11 (none for
  // two arguments) and in its slot, both defaults; then a resume that puts
  // the same argument back (reported again) and then 1/2 (and 1).
  for (const Fault16 &f : row.faults) {
    for (std::uint8_t flag : {0, 1}) {
      SCOPED_TRACE(std::string(row.name) + "(" + show(f.x) + "), flag " + std::to_string(flag));
      Recorder rec(flag);
      const Real16 got = row.fn(f.x, f.x2);
      ASSERT_EQ(rec.reports.size(), 1u);
      const Report &r = rec.reports[0];
      EXPECT_TRUE(r.number == f.error && r.value_count == (row.fn.one ? 1 : 0)) << r.number;
      EXPECT_TRUE(row.fn.two ||
                  (r.value_type[0] == 11 && oracle::same_bits(r.value_as<Real16>(0), f.x)));
      EXPECT_TRUE(oracle::same_bits(got, flag == 1 ? f.ieee : f.finite)) << show(got);
    }
    Recorder rec;
    const Real16 half = real16(0x3ffe0000);
    bool slots = true;
    rec.answer = [&](const Report &r, int index) {
      if (index > 1) return 0;
      slots = slots && oracle::same_bits(r.slot_as<Real16>(1), f.x) &&
              (row.fn.one || oracle::same_bits(r.slot_as<Real16>(2), f.x2));
      replace(r, 1, index == 0 ? f.x : half);
      if (row.fn.two) replace(r, 2, index == 0 ? f.x2 : kOne);
      return 1;
    };
    const Real16 got = row.fn(f.x, f.x2);
    ASSERT_EQ(rec.reports.size(), 2u) << row.name << " resumed";
    EXPECT_TRUE(rec.reports[1].number == f.error && slots) << row.name << " resumed";
    Recorder quiet;
    EXPECT_TRUE(oracle::same_bits(got, row.fn(half))) << row.name << " resumed with 1/2";
  }
}

#define VEXMORG_TABLE16(prefix, suite, rows)                         \
  class suite : public ::testing::TestWithParam<support::Row16> {};  \
  TEST_P(suite, Properties) { support::check(GetParam()); }          \
  INSTANTIATE_TEST_SUITE_P(prefix, suite, ::testing::ValuesIn(rows), \
                           [](const auto &info) { return std::string(info.param.name); })

}  // namespace support
