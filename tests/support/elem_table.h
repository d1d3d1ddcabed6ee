// A property table of Real4 or Real8 entries and the checks it drives. A
// row names an entry, its MPFR function and the argument ranges with the
// bound asserted over each; then, as the entry needs, its symmetry or the
// entry it must agree with bit for bit, points checked against the bound of
// their range, exact points, and error rows (number, reported value,
// default under both infinity-flag values):
//   row("g_exp", g_exp, mpfr_exp, {{-1, 1, 0.501}}).checked_at({...})
//       .exactly({{0, 1}}).reports({{89, 229, kBigF, kInfF}})
#pragma once

#include <gtest/gtest.h>

#include <bit>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "oracle/oracle.h"
#include "support/checks.h"
#include "support/pair_checks.h"
#include "support/recorder.h"
#include "support/sampling.h"

namespace support {

// Arguments x in [lo, hi) once rounded to T: uniform, or log-uniform
// (0 < lo) where the range spans many binades. `ulps` is the bound there.
struct Interval {
  double lo, hi;
  double ulps;
  bool log_scale = false;
};

// f(-x) is -f(x) (odd) or f(x) (even) bit for bit, checked on every sampled
// x; the ranges and points then hold |x|.
enum class Symmetry { none, odd, even };

// f(x) is `want` bit for bit without a report (a NaN: any NaN).
template <class T>
struct Exact {
  T x, want;
};

// x is reported as error `error`; the handler declines: `finite` under
// infinity flag 0, `ieee` under 1.
template <class T>
struct Fault {
  T x;
  std::int32_t error;
  T finite, ieee;
};

template <class T>
struct Row {
  const char *name;
  Unary<T> fn;
  oracle::Fn1 exact;  // none: `twin` alone decides
  std::vector<Interval> ranges;
  Symmetry symmetry = Symmetry::none;
  Unary<T> twin = nullptr;     // the same bits wherever fn is sampled or checked
  std::vector<T> points = {};  // within the bound of their range, without a report
  std::vector<Exact<T>> exact_points = {};
  std::vector<Fault<T>> errors = {};
  std::uint64_t count = 20000;  // arguments per range, before the scale
  // Ulps added to a range's bound at x, for an exact value `value`: the
  // error an entry makes in its own argument (a rounded pi/2 factor).
  double (*extra)(double x, double value) = nullptr;

  Row &&odd() && { return set(symmetry, Symmetry::odd); }
  Row &&even() && { return set(symmetry, Symmetry::even); }
  Row &&same_as(Unary<T> f) && { return set(twin, f); }
  Row &&samples(std::uint64_t n) && { return set(count, n); }
  Row &&widened_by(double (*f)(double, double)) && { return set(extra, f); }
  // These add to the row's lists.
  Row &&also_in(const Interval &r) && { return add(ranges, {r}); }
  Row &&checked_at(const std::vector<T> &p) && { return add(points, p); }
  Row &&exactly(const std::vector<Exact<T>> &p) && { return add(exact_points, p); }
  Row &&reports(const std::vector<Fault<T>> &e) && { return add(errors, e); }

 private:
  template <class M>
  Row &&set(M &member, M v) {
    member = v;
    return std::move(*this);
  }
  template <class V>
  Row &&add(std::vector<V> &list, const std::vector<V> &more) {
    list.insert(list.end(), more.begin(), more.end());
    return std::move(*this);
  }
};

template <class T>
Row<T> row(const char *name, Unary<T> fn, oracle::Fn1 exact, std::vector<Interval> ranges) {
  return {.name = name, .fn = fn, .exact = exact, .ranges = std::move(ranges)};
}

// Ranges from `from` to each of the switch points `ends` in turn, with a
// bound each.
inline std::vector<Interval> between(double from, std::vector<double> ends,
                                     std::vector<double> bounds) {
  std::vector<Interval> r;
  for (std::size_t i = 0; i < ends.size(); ++i)
    r.push_back({i ? ends[i - 1] : from, ends[i], bounds[i]});
  return r;
}

// Reported arguments xs with the defaults `finite` and `ieee`, negated for
// a negative x when `odd`.
template <class T>
std::vector<Fault<T>> faults(std::vector<T> xs, std::int32_t error, T finite, T ieee,
                             bool odd = false) {
  std::vector<Fault<T>> rows;
  for (const T x : xs) {
    const T s = odd && std::signbit(x) ? -1 : 1;
    rows.push_back({x, error, s * finite, s * ieee});
  }
  return rows;
}

template <class T>
T up(T x) {
  return std::nextafter(x, static_cast<T>(INFINITY));
}
template <class T>
T down(T x) {
  return std::nextafter(x, static_cast<T>(-INFINITY));
}
inline float f32(std::uint32_t b) { return std::bit_cast<float>(b); }

template <class T>
void PrintTo(const Row<T> &row, std::ostream *os) {
  *os << row.name;
}

// The test name of a row: its name with every character but letters and
// digits as '_'.
struct RowName {
  template <class P>
  std::string operator()(const ::testing::TestParamInfo<P> &info) const {
    std::string s = info.param.name;
    for (char &c : s)
      if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return s;
  }
};

template <class T>
T draw(Sampler &s, const Interval &r) {
  for (int i = 0; i < 1000; ++i) {
    const double v =
        r.log_scale ? std::exp(s.uniform(std::log(r.lo), std::log(r.hi))) : s.uniform(r.lo, r.hi);
    const T x = static_cast<T>(v);
    if (x >= r.lo && x < r.hi) return x;
  }
  ADD_FAILURE() << "no argument of the type in [" << r.lo << ", " << r.hi << ")";
  return static_cast<T>(r.lo);
}

// The bound at x (|x| for a symmetric row): that of the first range holding
// it (or ending at it), plus the row's extra term; infinite, with a
// failure, outside every range.
template <class T>
double bound_at(const Row<T> &row, T x, mpfr_srcptr exact) {
  const double a = row.symmetry == Symmetry::none ? x : std::fabs(static_cast<double>(x));
  const double extra = row.extra ? row.extra(a, mpfr_get_d(exact, MPFR_RNDN)) : 0;
  for (const Interval &r : row.ranges)
    if (a >= r.lo && a < r.hi) return r.ulps + extra;
  for (const Interval &r : row.ranges)  // the largest finite value ends the last range
    if (a == r.hi) return r.ulps + extra;
  ADD_FAILURE() << row.name << ": " << a << " lies in no range of the row";
  return INFINITY;
}

// fn(x) against the twin, the symmetry and (given) the exact value; counts
// the failures and reports the first five. Returns the error in ulps.
template <class T>
double check_argument(const Row<T> &row, T x, oracle::Big &e, int &failures) {
  const T got = row.fn(&x);
  const auto fail = [&](const std::string &what) {
    if (++failures <= 5)
      ADD_FAILURE() << row.name << "(" << std::hexfloat << static_cast<double>(x)
                    << std::defaultfloat << ") = " << got << ": " << what;
  };
  if (row.twin != nullptr && bits_of(row.twin(&x)) != bits_of(got)) fail("differs from the twin");
  if (row.symmetry != Symmetry::none) {
    const T m = -x;
    if (bits_of(row.fn(&m)) != bits_of(row.symmetry == Symmetry::odd ? -got : got))
      fail("f(-x) breaks the symmetry");
  }
  if (row.exact == nullptr) return 0;
  oracle::exact(e, row.exact, static_cast<double>(x));
  const double err = oracle::ulp_error(got, e), bound = bound_at(row, x, e);
  if (!(err <= bound)) fail(std::to_string(err) + " ulp > " + std::to_string(bound));
  return err;
}

// Every check of the row. The exact values are taken to 128 bits, far
// beyond what an error in ulps of Real8 needs.
template <class T>
void check(const Row<T> &row) {
  oracle::Big e(oracle::Precision{128});
  {
    Recorder rec;
    Sampler s(std::hash<std::string>{}(row.name));
    for (const Interval &r : row.ranges) {
      oracle::WorstCase worst;
      int failures = 0;
      for (std::uint64_t i = 0; i < scaled(row.count); ++i) {
        const T x = draw<T>(s, r);
        worst.add(check_argument(row, x, e, failures), static_cast<double>(x));
      }
      if (row.exact != nullptr)
        std::printf("  %-14s [%-11.9g %11.9g) %s\n", row.name, r.lo, r.hi,
                    worst.describe().c_str());
    }
    int failures = 0;
    for (const T x : row.points) check_argument(row, x, e, failures);
    EXPECT_TRUE(rec.reports.empty()) << row.name << " reported " << rec.reports[0].number;
  }
  for (const Exact<T> &p : row.exact_points) {
    Recorder rec;
    const T got = row.fn(&p.x);
    EXPECT_TRUE(rec.reports.empty()) << row.name << "(" << p.x << ") reported";
    EXPECT_TRUE(p.want != p.want ? got != got : bits_of(got) == bits_of(p.want))
        << row.name << "(" << std::hexfloat << p.x << ") = " << got << ", not " << p.want;
    if (row.twin != nullptr) {
      EXPECT_EQ(bits_of(row.twin(&p.x)), bits_of(got)) << row.name;
    }
  }
  for (const Fault<T> &f : row.errors)
    expect_error_row(ErrorRow<T>{row.name, row.fn, f.x, f.error, f.finite, f.ieee});
}

// A table per type as value-parameterized tests, one per row.
#define VEXMORG_ELEM_TABLE(family, real4_rows, real8_rows)                                      \
  class Real4 : public ::testing::TestWithParam<support::Row<float>> {};                        \
  class Real8 : public ::testing::TestWithParam<support::Row<double>> {};                       \
  TEST_P(Real4, Properties) { support::check(GetParam()); }                                     \
  TEST_P(Real8, Properties) { support::check(GetParam()); }                                     \
  INSTANTIATE_TEST_SUITE_P(family, Real4, ::testing::ValuesIn(real4_rows), support::RowName{}); \
  INSTANTIATE_TEST_SUITE_P(family, Real8, ::testing::ValuesIn(real8_rows), support::RowName{})

// v as a pair of Real8 (a table entry): high the nearest to v, low the
// nearest to the rest.
inline void expect_split(mpfr_srcptr v, double high, double low, int entry) {
  oracle::Big rest;
  EXPECT_EQ(high, mpfr_get_d(v, MPFR_RNDN)) << "entry " << entry;
  mpfr_sub_d(rest, v, high, MPFR_RNDN);
  EXPECT_EQ(low, mpfr_get_d(rest, MPFR_RNDN)) << "entry " << entry;
}

// The pair entries (a hidden result address, two values) as one function
// per value: part<g_scnh, 0> is the sinh g_scnh stores, through call_pair.
template <class F>
struct PairOf;
template <class T, class C>
struct PairOf<C *(*)(C *, const T *)> {
  using Arg = T;
};

template <auto fn, int kWhich>
auto part(const typename PairOf<decltype(fn)>::Arg *x) {
  const auto c = call_pair(fn, *x);
  return kWhich == 0 ? c.re : c.im;
}

}  // namespace support
