// Checks shared by the family suites: error rows (error number, reported
// value, defaults under both infinity-flag values), resume with a
// replacement, and accuracy runs against the MPFR oracle.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <limits>
#include <string>

#include "oracle/oracle.h"
#include "support/recorder.h"
#include "support/sampling.h"

namespace support {

template <class T>
auto bits_of(T x) {
  if constexpr (sizeof(T) == 4) {
    return std::bit_cast<std::uint32_t>(x);
  } else {
    return std::bit_cast<std::uint64_t>(x);
  }
}

template <class T>
using Unary = T (*)(const T *);

template <class T>
constexpr std::uint16_t kTypeCode = sizeof(T) == 4 ? 9 : 10;

// One reported argument: the error number, and the result with a declining
// handler under infinity flag 0 (finite) and 1 (ieee), compared bit for bit.
template <class T>
struct ErrorRow {
  const char *name;
  Unary<T> fn;
  T x;
  std::int32_t error;
  T finite;
  T ieee;
};

// A report of error `error` carrying the argument *x as its one value, from
// a working copy of it.
template <class T>
void expect_argument_report(const Report &r, std::int32_t error, const T *x) {
  EXPECT_EQ(r.number, error);
  EXPECT_EQ(r.value_count, 1);
  EXPECT_EQ(r.value_type[0], kTypeCode<T>);
  EXPECT_EQ(bits_of(r.value_as<T>(0)), bits_of(*x));
  EXPECT_NE(r.slot1, static_cast<const void *>(x)) << "the slot is a working copy";
}

template <class T>
void expect_error_row(const ErrorRow<T> &row) {
  SCOPED_TRACE(std::string(row.name) + "(" + std::to_string(row.x) + ")");
  for (std::uint8_t flag : {0, 1}) {
    Recorder rec(flag);
    const T got = row.fn(&row.x);
    ASSERT_EQ(rec.reports.size(), 1u) << "flag " << int{flag};
    expect_argument_report(rec.reports[0], row.error, &row.x);
    EXPECT_EQ(bits_of(got), bits_of(flag == 1 ? row.ieee : row.finite)) << "flag " << int{flag};
  }
}

// No report, and (when `expected` is given) the result bit for bit.
template <class T>
void expect_no_report(const char *name, Unary<T> fn, T x) {
  Recorder rec;
  fn(&x);
  EXPECT_TRUE(rec.reports.empty()) << name << "(" << x << ") reported " << rec.reports[0].number;
}

template <class T>
void expect_exact(const char *name, Unary<T> fn, T x, T expected) {
  Recorder rec;
  const T got = fn(&x);
  EXPECT_TRUE(rec.reports.empty()) << name << "(" << x << ") reported";
  EXPECT_EQ(bits_of(got), bits_of(expected))
      << name << "(" << x << ") = " << got << ", expected " << expected;
}

// A handler that answers 1 with `good` in the slot: the function returns its
// value at `good`, after exactly one report of `error`.
template <class T>
void expect_resume_with(Unary<T> fn, T bad, T good, std::int32_t error) {
  const T want = fn(&good);
  Recorder rec;
  rec.answer = [good](const Report &r, int) {
    replace(r, 1, good);
    return 1;
  };
  const T got = fn(&bad);
  ASSERT_EQ(rec.reports.size(), 1u);
  EXPECT_EQ(rec.reports[0].number, error);
  EXPECT_EQ(bits_of(got), bits_of(want));
}

// Runs fn over `n` arguments from `gen()` against the exact values of
// `exact_fn`, asserting that each error stays within `bound(x, exact)` ulps,
// and prints the largest error reached.
template <class T, class Gen, class Bound>
oracle::WorstCase expect_accuracy(const std::string &what, Unary<T> fn, oracle::Fn1 exact_fn,
                                  std::uint64_t n, Gen gen, Bound bound) {
  oracle::WorstCase worst;
  oracle::Big e;
  int failures = 0;
  for (std::uint64_t i = 0; i < n; ++i) {
    const T x = static_cast<T>(gen());
    const T got = fn(&x);
    oracle::exact(e, exact_fn, static_cast<double>(x));
    const double err = oracle::ulp_error(got, e);
    worst.add(err, static_cast<double>(x));
    const double allowed = bound(x, static_cast<mpfr_srcptr>(e));
    if (!(err <= allowed) && ++failures <= 5) {
      ADD_FAILURE() << what << ": x = " << static_cast<double>(x) << " (" << std::hexfloat
                    << static_cast<double>(x) << std::defaultfloat << "), got " << got << ", "
                    << err << " ulp > bound " << allowed;
    }
  }
  std::printf("  %-40s %s\n", what.c_str(), worst.describe().c_str());
  return worst;
}

// A constant bound.
inline auto ulps(double b) {
  return [b](auto, mpfr_srcptr) { return b; };
}

// |x| uniform in [lo, hi), either sign.
struct Range {
  double lo, hi;
};

// Leaves an argument generator as it is.
struct SameArguments {
  template <class Gen>
  Gen operator()(Gen gen) const {
    return gen;
  }
};

// expect_accuracy over `n` arguments with |x| uniform in the range, labelled
// "name |x| in [lo, hi)", from a sampler seeded by the name and the range.
// The generator goes through `pick`, which may wrap it (e.g. off_poles).
template <class T, class Bound, class Pick = SameArguments>
oracle::WorstCase expect_accuracy_in(const std::string &name, Unary<T> fn, oracle::Fn1 exact_fn,
                                     Range r, std::uint64_t n, Bound bound, Pick pick = {}) {
  const std::string what =
      name + " |x| in [" + std::to_string(r.lo) + ", " + std::to_string(r.hi) + ")";
  Sampler s(std::hash<std::string>{}(what));
  return expect_accuracy<T>(what, fn, exact_fn, n,
                            pick([&] { return s.uniform_signed(r.lo, r.hi); }), bound);
}

// expect_accuracy_in over each range with one constant bound in ulps.
template <class T, class Pick = SameArguments>
void expect_accuracy_in_ranges(const std::string &name, Unary<T> fn, oracle::Fn1 exact_fn,
                               std::initializer_list<Range> ranges, double bound, std::uint64_t n,
                               Pick pick = {}) {
  for (const Range &r : ranges) expect_accuracy_in<T>(name, fn, exact_fn, r, n, ulps(bound), pick);
}

// The arguments of `gen` rounded to T, without the poles of a function
// with period `period` and poles at `pole` (mod the period): the tangents
// and cotangents in degrees and quadrant units, whose poles report.
template <class T, class Gen>
auto off_poles(double period, double pole, Gen gen) {
  return [=]() mutable {
    for (int i = 0; i < 1000; ++i) {
      const double x = static_cast<double>(static_cast<T>(gen()));
      if (std::fmod(std::fabs(x), period) != pole) return x;
    }
    ADD_FAILURE() << "the generator gives only poles";
    return period / 4;
  };
}

// fn(-x) is -fn(x) (odd) or fn(x) (even) bit for bit for `n` arguments x
// from `gen`, rounded to T.
template <class T, class Gen>
void expect_symmetry(const char *name, Unary<T> fn, bool odd, std::uint64_t n, Gen gen) {
  int failures = 0;
  for (std::uint64_t i = 0; i < n; ++i) {
    const T x = static_cast<T>(gen());
    const T m = -x;
    const T want = odd ? -fn(&x) : fn(&x);
    if (bits_of(fn(&m)) != bits_of(want) && ++failures <= 5) {
      ADD_FAILURE() << name << ": f(-x) is not " << (odd ? "-f(x)" : "f(x)")
                    << " at x = " << std::hexfloat << static_cast<double>(x);
    }
  }
}

// A handler that answers 1 to the first report, with `replacement` in the
// argument slot, and 0 to the next: fn(x) reports `first`, then `second`
// with the replacement as value, and returns the finite default `finite`
// (infinity flag 0).
template <class T>
void expect_replacement_reports_again(Unary<T> fn, T x, T replacement, std::int32_t first,
                                      std::int32_t second, T finite) {
  Recorder rec(0);
  rec.answer = [replacement](const Report &r, int index) {
    if (index == 0) replace(r, 1, replacement);
    return index == 0 ? 1 : 0;
  };
  EXPECT_EQ(bits_of(fn(&x)), bits_of(finite));
  ASSERT_EQ(rec.reports.size(), 2u);
  EXPECT_EQ(rec.reports[0].number, first);
  EXPECT_EQ(rec.reports[1].number, second);
  EXPECT_EQ(bits_of(rec.reports[1].value_as<T>(0)), bits_of(replacement));
}

// The ulp of T at |v| (never below the smallest subnormal's).
template <class T>
double ulp_of(double v) {
  int e;
  std::frexp(v, &e);
  e = std::max(e, std::numeric_limits<T>::min_exponent);
  return std::ldexp(1.0, e - std::numeric_limits<T>::digits);
}

// A bound for a result whose argument reduction leaves an absolute error
// `angle_error(x)` in the angle: `base` ulps plus that error carried through
// f, whose logarithmic derivative |f'(x) / f(x)| is `log_derivative(x)`.
template <class T, class AngleError, class LogDerivative>
auto reduction_bound(double base, AngleError angle_error, LogDerivative log_derivative) {
  return [=](T x, mpfr_srcptr exact) {
    const double f = std::fabs(mpfr_get_d(exact, MPFR_RNDN));
    const double v = static_cast<double>(x);
    return base + angle_error(v) * log_derivative(v) * f / ulp_of<T>(f);
  };
}

}  // namespace support
