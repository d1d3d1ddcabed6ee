// The property table of a family of Real4 or Real8 functions and the one
// set of checks it drives. A row names an entry, its MPFR function and the
// argument ranges with the bound in ulps asserted over each; then, as the
// entry needs, its symmetry or the entry it must match bit for bit, points
// checked against the bound of their range, exact points, and error rows
// (number, reported value, default under both infinity-flag values):
//   row("g_exp", g_exp, mpfr_exp, {{-1, 1, 0.501}}).checked_at({...})
//       .exactly({{0, 1}}).reports({{89, 229, kBigF, kInfF}})
// Two-argument entries have a row of pairs (Row2); `every_real4` screens
// every Real4 argument of an entry for the slow suites.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <limits>
#include <ostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "support/checks.h"

namespace support {

// x uniform or log-uniform (0 < lo) in [lo, hi); or |x| = c - d (below)
// or |x| = c +- d (around), d log-uniform in [lo, hi), c one of `centers`,
// either sign.
enum class Spread { uniform, log, below, around };
constexpr Spread kLog = Spread::log, kBelow = Spread::below, kAround = Spread::around;

struct Interval {
  double lo, hi, ulps;
  Spread spread = Spread::uniform;
  std::vector<double> centers = {};
};

// f(-x) is -f(x) (odd) or f(x) (even) bit for bit, checked on every sampled
// and checked point and every exact point but -0 and NaNs (their rows say
// what they give); the ranges then hold |x|.
enum class Symmetry { none, odd, even };

template <class T>
struct Exact {
  T x, want;  // a NaN want: any NaN
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
  Unary<T> twin = nullptr;
  std::vector<T> points = {};
  std::vector<Exact<T>> exact_points = {};
  std::vector<Fault<T>> errors = {};
  std::uint64_t count = 0;  // arguments per range before the scale; 0: the table's
  // Ulps added to the bound at x for an exact value `value`: an error the
  // entry makes in its own argument (a reduction, a rounded pi/2).
  double (*extra)(double x, double value) = nullptr;
  bool (*skip)(T) = nullptr;  // arguments left out of the random runs (poles)

  Row &&odd() && { return set(symmetry, Symmetry::odd); }
  Row &&even() && { return set(symmetry, Symmetry::even); }
  Row &&same_as(Unary<T> f) && { return set(twin, f); }
  Row &&samples(std::uint64_t n) && { return set(count, n); }
  Row &&widened_by(double (*f)(double, double)) && { return set(extra, f); }
  Row &&skipping(bool (*f)(T)) && { return set(skip, f); }
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
// bound each (or one for all).
inline std::vector<Interval> between(double from, std::vector<double> ends,
                                     std::vector<double> bounds) {
  std::vector<Interval> r;
  for (std::size_t i = 0; i < ends.size(); ++i)
    r.push_back({i ? ends[i - 1] : from, ends[i], bounds[bounds.size() == 1 ? 0 : i]});
  return r;
}

// A log-uniform range [tiny, small) with bound `ulps` before `rest`.
inline std::vector<Interval> with_tiny(double tiny, double small, double ulps,
                                       std::vector<Interval> rest) {
  rest.insert(rest.begin(), {tiny, small, ulps, kLog});
  return rest;
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

// Each of `points` (unless `with_points` is false) and its neighbours.
template <class T>
std::vector<T> neighbours(const std::vector<T> &points, bool with_points = true) {
  std::vector<T> out;
  for (T p : points) {
    out.push_back(std::nextafter(p, T(0)));
    if (with_points) out.push_back(p);
    out.push_back(up(p));
  }
  return out;
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
  const auto log_uniform = [&] { return std::exp(s.uniform(std::log(r.lo), std::log(r.hi))); };
  if (r.spread == Spread::below || r.spread == Spread::around) {
    const double c = r.centers[s.bits() % r.centers.size()];
    const double d = r.spread == Spread::below || s.bits() & 1 ? -log_uniform() : log_uniform();
    return static_cast<T>(s.bits() & 1 ? -(c + d) : c + d);
  }
  for (int i = 0; i < 1000; ++i) {
    const T x = static_cast<T>(r.spread == Spread::log ? log_uniform() : s.uniform(r.lo, r.hi));
    if (x >= r.lo && x < r.hi) return x;
  }
  ADD_FAILURE() << "no argument of the type in [" << r.lo << ", " << r.hi << ")";
  return static_cast<T>(r.lo);
}

// The bound at x (|x| for a symmetric row): that of the range sampled, or
// of the first uniform or log range holding it (or ending at it), plus the
// row's extra term.
template <class T>
double bound_at(const Row<T> &row, T x, mpfr_srcptr exact, const Interval *sampled) {
  const double a = row.symmetry == Symmetry::none ? x : std::fabs(static_cast<double>(x));
  const double extra = row.extra ? row.extra(a, mpfr_get_d(exact, MPFR_RNDN)) : 0;
  if (sampled != nullptr) return sampled->ulps + extra;
  for (const bool closed : {false, true})
    for (const Interval &r : row.ranges)
      if (r.spread <= Spread::log && r.lo <= a && (a < r.hi || (closed && a == r.hi)))
        return r.ulps + extra;
  ADD_FAILURE() << row.name << ": " << a << " lies in no range of the row";
  return INFINITY;
}

// fn(x) against the twin, the symmetry and (given) the exact value; counts
// the failures and reports the first five. Returns the error in ulps.
template <class T>
double check_argument(const Row<T> &row, T x, oracle::Big &e, int &failures,
                      const Interval *sampled = nullptr) {
  const T got = row.fn(&x);
  const auto fail = [&](const std::string &what) {
    if (++failures <= 5)
      ADD_FAILURE() << row.name << "(" << std::hexfloat << static_cast<double>(x)
                    << std::defaultfloat << ") = " << got << ": " << what;
  };
  if (row.twin != nullptr && bits_of(row.twin(&x)) != bits_of(got)) fail("differs from the twin");
  const T m = -x;
  if (row.symmetry != Symmetry::none &&
      bits_of(row.fn(&m)) != bits_of(row.symmetry == Symmetry::odd ? T(-got) : got))
    fail("f(-x) breaks the symmetry");
  if (row.exact == nullptr) return 0;
  oracle::exact(e, row.exact, static_cast<double>(x));
  const double err = oracle::ulp_error(got, e), bound = bound_at(row, x, e, sampled);
  if (!(err <= bound)) fail(std::to_string(err) + " ulp > " + std::to_string(bound));
  return err;
}

// "name(x, ...)".
template <class... A>
std::string call(const char *name, const A &...x) {
  std::string args;
  ((args += (args.empty() ? "" : ", ") + std::to_string(static_cast<double>(x))), ...);
  return std::string(name) + "(" + args + ")";
}

// fn(x...) is `want` bit for bit (a NaN: any NaN) without a report.
template <class T, class... A>
void expect_value(const char *name, T (*fn)(const A *...), T want, const A &...x) {
  Recorder rec;
  const T got = fn(&x...);
  EXPECT_TRUE(rec.reports.empty()) << name << " reported";
  EXPECT_TRUE(want != want ? got != got : bits_of(got) == bits_of(want))
      << call(name, x...) << " = " << got << ", not " << want;
}

// One report of `error` for x..., declined: the default `finite` under
// infinity flag 0, `ieee` under 1. One argument: its one value a working
// copy of x. Two: no values, the argument slots holding y and x.
template <class T, class... A>
void expect_error_row(const char *name, T (*fn)(const A *...), std::int32_t error, T finite, T ieee,
                      const A &...x) {
  for (std::uint8_t flag : {0, 1}) {
    SCOPED_TRACE(call(name, x...) + ", flag " + std::to_string(flag));
    Recorder rec(flag);
    T seen[2] = {1, 1};
    rec.answer = [&](const Report &report, int) {
      for (int i = 0; i < static_cast<int>(sizeof...(A)); ++i) seen[i] = report.slot_as<T>(i + 1);
      return 0;
    };
    const T got = fn(&x...);
    ASSERT_EQ(rec.reports.size(), 1u);
    const Report &r = rec.reports[0];
    EXPECT_EQ(r.number, error);
    EXPECT_EQ(r.value_count, 2 - static_cast<int>(sizeof...(A)));
    const T args[] = {x...};
    const void *where[] = {&x...};
    if constexpr (sizeof...(A) == 1) {
      EXPECT_EQ(r.value_type[0], kTypeCode<T>);
      EXPECT_EQ(bits_of(r.value_as<T>(0)), bits_of(args[0]));
      EXPECT_NE(r.slot1, where[0]) << "the slot is a working copy";
    } else {
      EXPECT_EQ(bits_of(seen[0]), bits_of(args[0]));
      EXPECT_EQ(bits_of(seen[1]), bits_of(args[1]));
    }
    EXPECT_EQ(bits_of(got), bits_of(flag == 1 ? ieee : finite));
  }
}

inline void print_worst(const char *what, const oracle::WorstCase &worst) {
  std::printf("  %-52s %s\n", what, worst.describe().c_str());
}

// Every check of the row, with `count` arguments per range unless the row
// sets its own. The exact values are taken to 128 bits.
template <class T>
void check(const Row<T> &row, std::uint64_t count = 20000) {
  oracle::Big e(oracle::Precision{128});
  {
    Recorder rec;
    Sampler s(std::hash<std::string>{}(row.name));
    for (const Interval &r : row.ranges) {
      oracle::WorstCase worst;
      int failures = 0;
      for (std::uint64_t i = 0; i < scaled(row.count ? row.count : count); ++i) {
        const T x = draw<T>(s, r);
        if (row.skip == nullptr || !row.skip(x))
          worst.add(check_argument(row, x, e, failures, &r), static_cast<double>(x));
      }
      char what[160];
      std::snprintf(what, sizeof what, "%s %s [%.6g, %.6g)", row.name,
                    r.centers.empty() ? "" : "|x - c| in", r.lo, r.hi);
      if (row.exact != nullptr) print_worst(what, worst);
    }
    int failures = 0;
    for (const T x : row.points) check_argument(row, x, e, failures);
    EXPECT_TRUE(rec.reports.empty()) << row.name << " reported " << rec.reports[0].number;
  }
  for (const Exact<T> &p : row.exact_points) {
    expect_value(row.name, row.fn, p.want, p.x);
    if (row.twin != nullptr) expect_value(row.name, row.twin, p.want, p.x);
    if (row.symmetry != Symmetry::none && !(p.x == 0 && std::signbit(p.x)) && p.x == p.x)
      expect_value(row.name, row.fn, row.symmetry == Symmetry::odd ? T(-p.want) : p.want, T(-p.x));
  }
  for (const Fault<T> &f : row.errors)
    expect_error_row(row.name, row.fn, f.error, f.finite, f.ieee, f.x);
}

// ---- Two arguments (y, x) ---------------------------------------------------

template <class T>
using Binary = T (*)(const T *, const T *);

// The angle uniform over the whole turn and the radius log-uniform over
// 2^+-spread (circle), or |y/x| log-uniform over 2^+-spread with random
// signs (ratio). Pairs with a zero are left out (their own rows).
struct PairRange {
  bool circle;
  double spread;
  double ulps;
};

template <class T>
struct Pair {
  T y, x;
  double ulps;  // a point: the bound; an exact point: the value (a NaN: any NaN)
};

// y and x reported as error `error`: both argument slots, no values.
template <class T>
struct Fault2 {
  T y, x;
  std::int32_t error;
  T finite, ieee;
};

template <class T>
struct Row2 {
  const char *name;
  Binary<T> fn;
  oracle::Fn2 exact;
  std::vector<PairRange> ranges;
  std::vector<Pair<T>> points, exact_points;
  std::vector<Fault2<T>> errors;
};

// A row prints as its name.
template <template <class> class R, class T>
void PrintTo(const R<T> &row, std::ostream *os) {
  *os << row.name;
}

template <class T>
void check(const Row2<T> &row, std::uint64_t n) {
  for (const PairRange &r : row.ranges) {
    char what[96];
    std::snprintf(what, sizeof what, "%s %s 2^+-%g (x = y/x)", row.name,
                  r.circle ? "radius in" : "|y/x| in", r.spread);
    Sampler s(std::hash<std::string>{}(what));
    oracle::WorstCase worst;
    int failures = 0;
    for (std::uint64_t i = 0; i < scaled(n); ++i) {
      T y, x;
      if (r.circle) {
        const double angle = s.uniform(-M_PI, M_PI),
                     radius = std::exp2(s.uniform(-r.spread, r.spread));
        y = static_cast<T>(radius * std::sin(angle));
        x = static_cast<T>(radius * std::cos(angle));
      } else {
        const double root = std::exp2(s.uniform(-r.spread, r.spread) / 2);  // about sqrt |y/x|
        y = static_cast<T>(s.uniform_signed(0.5, 1) * root);
        x = static_cast<T>(s.uniform_signed(0.5, 1) / root);
      }
      if (y == 0 || x == 0) continue;
      const double err = oracle::ulp_error(row.fn(&y, &x), row.exact, y, x);
      worst.add(err, static_cast<double>(y) / static_cast<double>(x));
      if (!(err <= r.ulps) && ++failures <= 5)
        ADD_FAILURE() << what << ": (" << std::hexfloat << y << ", " << x << "), " << err << " ulp";
    }
    print_worst(what, worst);
  }
  for (const Pair<T> &p : row.points)
    EXPECT_LE(oracle::ulp_error(row.fn(&p.y, &p.x), row.exact, p.y, p.x), p.ulps)
        << row.name << "(" << std::hexfloat << p.y << ", " << p.x << ")";
  for (const Pair<T> &p : row.exact_points) expect_value(row.name, row.fn, T(p.ulps), p.y, p.x);
  for (const Fault2<T> &f : row.errors)
    expect_error_row(row.name, row.fn, f.error, f.finite, f.ieee, f.y, f.x);
}

// A table of rows as value-parameterized tests, one per row, `n` arguments
// per range: the tests `prefix/suite.Properties/<row>`.
#define VEXMORG_TABLE(prefix, suite, rows, n)                                          \
  class suite : public ::testing::TestWithParam<std::decay_t<decltype((rows)[0])>> {}; \
  TEST_P(suite, Properties) { support::check(GetParam(), n); }                         \
  INSTANTIATE_TEST_SUITE_P(prefix, suite, ::testing::ValuesIn(rows), support::RowName{})

// ---- Tables and pairs -------------------------------------------------------

// v as a pair of Real8 (a table entry): high the nearest to v, low the
// nearest to the rest.
template <class Label>
void expect_split(mpfr_srcptr v, double high, double low, const Label &entry) {
  oracle::Big rest;
  EXPECT_EQ(high, mpfr_get_d(v, MPFR_RNDN)) << "entry " << entry;
  mpfr_sub_d(rest, v, high, MPFR_RNDN);
  EXPECT_EQ(low, mpfr_get_d(rest, MPFR_RNDN)) << "entry " << entry;
}

// out = c[0] + c[1] u + c[2] u^2 + ... (ascending coefficients), in MPFR.
inline void horner(oracle::Big &out, const std::vector<double> &c, mpfr_srcptr u) {
  mpfr_set_zero(out, 1);
  for (auto k = c.rbegin(); k != c.rend(); ++k) {
    mpfr_mul(out, out, u, MPFR_RNDN);
    mpfr_add_d(out, out, *k, MPFR_RNDN);
  }
}

// |v / exact - 1|; v is overwritten.
inline double relative(oracle::Big &v, mpfr_srcptr exact) {
  mpfr_div(v, v, exact, MPFR_RNDN);
  mpfr_sub_ui(v, v, 1, MPFR_RNDN);
  return std::fabs(mpfr_get_d(v, MPFR_RNDN));
}

// The pair entries (a hidden result address, two values) as one function
// per value: part<g_scnh, 0> is the sinh g_scnh stores. The call runs on a
// buffer with guards on both sides: the entry returns the buffer's address
// and writes nothing beside it.
template <class F>
struct PairOf;
template <class T, class C>
struct PairOf<C *(*)(C *, const T *)> {
  using Arg = T;
  using Result = C;
};

template <auto fn, int kWhich>
auto part(const typename PairOf<decltype(fn)>::Arg *x) {
  struct Guarded {
    std::uint64_t before;
    typename PairOf<decltype(fn)>::Result value;
    std::uint64_t after;
  } g{0x5a5a5a5a5a5a5a5aull, {}, 0xa5a5a5a5a5a5a5a5ull};
  EXPECT_EQ(fn(&g.value, x), &g.value) << "the result address comes back";
  EXPECT_EQ(g.before, 0x5a5a5a5a5a5a5a5aull);
  EXPECT_EQ(g.after, 0xa5a5a5a5a5a5a5a5ull);
  return kWhich == 0 ? g.value.re : g.value.im;
}

// ---- Every Real4 argument ---------------------------------------------------

// A Real4 entry screened over every argument with bit pattern in [first,
// last) (and the negated ones: mirrored by the symmetry, or screened too).
// `reference` is the function in Real8, within a few 2^-50 relative (a NaN
// where the argument is skipped, a pole); a result within 2^-20 ulp of the
// bound by that measure goes to MPFR, which decides.
struct Screen {
  const char *name;
  Unary<float> fn;
  double (*reference)(float);
  oracle::Fn1 exact;
  double (*bound)(float);
  Symmetry symmetry;
};

struct Screened {
  double worst = 0;
  float worst_x = 0;
  std::uint64_t checked = 0, to_mpfr = 0, failures = 0;
  std::vector<float> failed;
  void fail(float x) {
    if (++failures <= 5) failed.push_back(x);
  }
  void add(const Screened &p) {
    checked += p.checked, to_mpfr += p.to_mpfr, failures += p.failures;
    failed.insert(failed.end(), p.failed.begin(), p.failed.end());
    if (p.worst > worst) worst = p.worst, worst_x = p.worst_x;
  }
};

inline void screen(const Screen &f, float x, Screened &out) {
  const double ref = f.reference(x);
  if (std::isnan(ref)) return;
  ++out.checked;
  const float got = f.fn(&x);
  const float m = -x;
  if (f.symmetry != Symmetry::none &&
      bits_of(f.fn(&m)) != bits_of(f.symmetry == Symmetry::odd ? -got : got))
    out.fail(x);
  const double bound = f.bound(x);
  // Where round to nearest makes a Real4 infinite: the largest Real4 plus
  // half its ulp.
  constexpr double kOverflowFrom = 0x1p128 - 0x1p103;
  double err;
  if (std::fabs(ref) > kOverflowFrom * (1 + 0x1p-20)) {
    err = std::isinf(got) && (got > 0) == (ref > 0) ? 0 : INFINITY;
  } else {
    err = std::fabs(static_cast<double>(got) - ref) / ulp_of<float>(std::fabs(ref));
    if (!(err <= bound - 0x1p-20)) {
      ++out.to_mpfr;
      err = std::isinf(got) && got == oracle::rounded(f.exact, x)
                ? 0
                : oracle::ulp_error(got, f.exact, x);
    }
  }
  if (err > out.worst) out.worst = err, out.worst_x = x;
  if (!(err <= bound)) out.fail(x);
}

// Every argument with a bit pattern in [first, last) and its negation, in
// chunks over the available threads.
inline void every_real4(const Screen &f, std::uint32_t first, std::uint32_t last) {
  const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
  std::vector<Screened> parts(threads);
  std::vector<std::thread> pool;
  constexpr std::uint32_t kChunk = 1 << 20;
  std::atomic<std::uint64_t> next{first};
  for (unsigned t = 0; t < threads; ++t) {
    pool.emplace_back([&, t] {
      for (;;) {
        const std::uint64_t begin = next.fetch_add(kChunk);
        if (begin >= last) break;
        for (std::uint64_t b = begin; b < std::min<std::uint64_t>(last, begin + kChunk); ++b) {
          const float x = std::bit_cast<float>(static_cast<std::uint32_t>(b));
          screen(f, x, parts[t]);
          if (f.symmetry == Symmetry::none) screen(f, -x, parts[t]);
        }
      }
    });
  }
  for (std::thread &t : pool) t.join();
  Screened all;
  for (const Screened &p : parts) all.add(p);
  std::printf("  %-8s [%a, %a): max %.4f ulp at %a, %llu arguments, %llu to MPFR\n", f.name,
              static_cast<double>(std::bit_cast<float>(first)),
              static_cast<double>(std::bit_cast<float>(last)), all.worst,
              static_cast<double>(all.worst_x), static_cast<unsigned long long>(all.checked),
              static_cast<unsigned long long>(all.to_mpfr));
  EXPECT_EQ(all.failures, 0u) << f.name;
  for (float x : all.failed) ADD_FAILURE() << f.name << "(" << std::hexfloat << x << ")";
}

}  // namespace support
