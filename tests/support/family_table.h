// The property table of a family of functions and the one set of checks it
// drives. An entry (one exported function, T = float or double) lists:
//   ranges        random arguments against the MPFR oracle, each range with
//                 the bound in ulps asserted over it (plus, for a reduction
//                 that leaves an absolute error in the angle, that error
//                 carried by the entry's slope |f'(x)|); the largest error
//                 of each range is printed;
//   edges         arguments on the boundaries between methods and limits,
//                 under the bound of the range holding them;
//   exact points  bit for bit, without a report;
//   symmetry      odd or even, bit for bit, over every random argument and
//                 exact point;
//   errors        error number, reported value and the default under
//                 infinity flag 0 and 1.
// Two-argument entries have the same fields with pairs; `every_real4`
// screens every Real4 argument of an entry for the slow suites.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <limits>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "oracle/oracle.h"
#include "support/checks.h"
#include "support/recorder.h"
#include "support/sampling.h"

namespace support::family {

enum class Symmetry { kNone, kOdd, kEven };

// |x| uniform (kUniform) or log-uniform (kLog) in [lo, hi); or x = c - d
// (kBelow) or c +- d (kAround) with d log-uniform in [lo, hi) and c one of
// `centers`. Either sign.
enum class Spread { kUniform, kLog, kBelow, kAround };

struct Range {
  double lo, hi;
  double ulps;
  Spread spread = Spread::kUniform;
  std::vector<double> centers = {};
  // Absolute error in the reduced angle: per unit of |x|, and fixed.
  double per_x = 0, fixed = 0;
};

template <class T>
struct Exact {
  T x, value;  // a NaN value: any NaN
};

template <class T>
struct Error {
  T x;
  std::int32_t error;
  T finite, ieee;
};

template <class T>
struct Entry {
  const char *name;
  Unary<T> fn;
  oracle::Fn1 exact;
  Symmetry symmetry;
  std::vector<Range> ranges;
  std::vector<T> edges;
  std::vector<Exact<T>> points;
  std::vector<Error<T>> errors;
  double (*slope)(double) = nullptr;  // |f'(x)|, for Range::per_x and fixed
  bool (*skip)(T) = nullptr;          // arguments the random runs leave out (poles)
};

template <class T>
Entry<T> entry(const char *name, Unary<T> fn, oracle::Fn1 exact, Symmetry symmetry,
               std::vector<Range> ranges, std::vector<T> edges, std::vector<Exact<T>> points,
               std::vector<Error<T>> errors, double (*slope)(double) = nullptr,
               bool (*skip)(T) = nullptr) {
  return {name, fn, exact, symmetry, ranges, edges, points, errors, slope, skip};
}

template <class T>
void PrintTo(const Entry<T> &e, std::ostream *os) {
  *os << e.name;
}

// Each of `points` (unless `with_points` is false) and its neighbours in T.
template <class T>
std::vector<T> around(const std::vector<T> &points, bool with_points = true) {
  std::vector<T> out;
  for (T p : points) {
    out.push_back(std::nextafter(p, T(0)));
    if (with_points) out.push_back(p);
    out.push_back(std::nextafter(p, std::numeric_limits<T>::infinity()));
  }
  return out;
}

inline double sample(Sampler &s, const Range &r) {
  const auto log_uniform = [&] { return std::exp(s.uniform(std::log(r.lo), std::log(r.hi))); };
  if (r.spread == Spread::kUniform) return s.uniform_signed(r.lo, r.hi);
  if (r.spread == Spread::kLog) return s.log_uniform_signed(r.lo, r.hi);
  const double c = r.centers[s.bits() % r.centers.size()];
  const double d = r.spread == Spread::kBelow || s.bits() & 1 ? -log_uniform() : log_uniform();
  return s.bits() & 1 ? -(c + d) : c + d;
}

inline std::string describe(const char *name, const Range &r) {
  char text[160];
  const char *what = r.spread == Spread::kBelow    ? "c - |x|"
                     : r.spread == Spread::kAround ? "|x - c|"
                                                   : "|x|";
  std::snprintf(text, sizeof text, "%s %s in [%.6g, %.6g)", name, what, r.lo, r.hi);
  std::string s = text;
  for (std::size_t i = 0; i < r.centers.size(); ++i) {
    std::snprintf(text, sizeof text, "%s%.12g", i == 0 ? ", c in {" : " ", r.centers[i]);
    s += text;
  }
  return r.centers.empty() ? s : s + "}";
}

// The bound of range r at x, whose exact value is `exact`.
template <class T>
double bound_at(const Entry<T> &e, const Range &r, T x, mpfr_srcptr exact) {
  if (e.slope == nullptr || (r.per_x == 0 && r.fixed == 0)) return r.ulps;
  const double v = static_cast<double>(x);
  const double f = std::fabs(mpfr_get_d(exact, MPFR_RNDN));
  return r.ulps + (r.per_x * std::fabs(v) + r.fixed) * e.slope(v) / ulp_of<T>(f);
}

// f(-x) against f(x) by the entry's symmetry.
template <class T>
bool mirrors(const Entry<T> &e, T x, T fx) {
  if (e.symmetry == Symmetry::kNone) return true;
  const T m = -x;
  return bits_of(e.fn(&m)) == bits_of(e.symmetry == Symmetry::kOdd ? T(-fx) : fx);
}

template <class T>
void check_range(const Entry<T> &e, const Range &r, std::uint64_t n) {
  const std::string what = describe(e.name, r);
  Sampler s(std::hash<std::string>{}(what));
  oracle::WorstCase worst;
  oracle::Big exact;
  int failures = 0;
  Recorder rec;
  for (std::uint64_t i = 0; i < n; ++i) {
    const T x = static_cast<T>(sample(s, r));
    if (e.skip != nullptr && e.skip(x)) continue;
    const T got = e.fn(&x);
    oracle::exact(exact, e.exact, static_cast<double>(x));
    const double err = oracle::ulp_error(got, exact);
    worst.add(err, static_cast<double>(x));
    const double allowed = bound_at(e, r, x, exact);
    const bool mirrored = mirrors(e, x, got);
    if ((!(err <= allowed) || !mirrored || !rec.reports.empty()) && ++failures <= 5) {
      ADD_FAILURE() << what << ": x = " << std::hexfloat << static_cast<double>(x)
                    << std::defaultfloat << ", got " << got << ", " << err << " ulp (bound "
                    << allowed << ")" << (mirrored ? "" : ", f(-x) breaks the symmetry")
                    << (rec.reports.empty() ? "" : ", reported");
    }
    rec.reports.clear();
  }
  std::printf("  %-58s %s\n", what.c_str(), worst.describe().c_str());
}

// The range whose [lo, hi) holds |x| (failing that, whose hi is |x|).
template <class T>
const Range *range_of(const Entry<T> &e, T x) {
  const double a = std::fabs(static_cast<double>(x));
  const Range *closed = nullptr;
  for (const Range &r : e.ranges) {
    if (r.spread != Spread::kUniform && r.spread != Spread::kLog) continue;
    if (r.lo <= a && a < r.hi) return &r;
    if (a == r.hi && closed == nullptr) closed = &r;
  }
  return closed;
}

template <class T>
void check_edges(const Entry<T> &e) {
  oracle::Big exact;
  for (T b : e.edges) {
    for (T x : {b, T(-b)}) {
      const Range *r = range_of(e, x);
      if (r == nullptr) {
        ADD_FAILURE() << e.name << ": no range holds the edge " << x;
        continue;
      }
      Recorder rec;
      const T got = e.fn(&x);
      oracle::exact(exact, e.exact, static_cast<double>(x));
      EXPECT_TRUE(rec.reports.empty()) << e.name << "(" << x << ") reported";
      EXPECT_LE(oracle::ulp_error(got, exact), bound_at(e, *r, x, exact))
          << e.name << "(" << std::hexfloat << static_cast<double>(x) << ") = " << got;
    }
  }
}

template <class T>
void expect_point(const char *name, Unary<T> fn, T x, T value) {
  if (!std::isnan(value)) return expect_exact(name, fn, x, value);
  Recorder rec;
  const T got = fn(&x);
  EXPECT_TRUE(rec.reports.empty() && std::isnan(got)) << name << "(" << x << ") = " << got;
}

template <class T>
void check(const Entry<T> &e, std::uint64_t n) {
  SCOPED_TRACE(e.name);
  for (const Range &r : e.ranges) check_range(e, r, n);
  check_edges(e);
  for (const Exact<T> &p : e.points) {
    expect_point(e.name, e.fn, p.x, p.value);
    if (e.symmetry != Symmetry::kNone)
      expect_point(e.name, e.fn, T(-p.x), e.symmetry == Symmetry::kOdd ? T(-p.value) : p.value);
  }
  for (const Error<T> &r : e.errors)
    expect_error_row(ErrorRow<T>{e.name, e.fn, r.x, r.error, r.finite, r.ieee});
}

// ---- Two arguments (y, x) ---------------------------------------------------

template <class T>
using Binary = T (*)(const T *, const T *);

// The angle uniform over the whole turn and the radius log-uniform over
// 2^+-spread (kCircle), or |y/x| log-uniform over 2^+-spread with random
// signs (kRatio). Pairs with a zero are left out (their own rows).
enum class Pairs { kCircle, kRatio };

struct PairRange {
  Pairs pairs;
  double spread;
  double ulps;
};

template <class T>
struct Edge2 {
  T y, x;
  double ulps;
};

template <class T>
struct Exact2 {
  T y, x, value;  // a NaN value: any NaN
};

template <class T>
struct Error2 {
  T y, x;
  std::int32_t error;
  T finite, ieee;
};

template <class T>
struct Entry2 {
  const char *name;
  Binary<T> fn;
  oracle::Fn2 exact;
  std::vector<PairRange> ranges;
  std::vector<Edge2<T>> edges;
  std::vector<Exact2<T>> points;
  std::vector<Error2<T>> errors;
};

template <class T>
Entry2<T> entry(const char *name, Binary<T> fn, oracle::Fn2 exact, std::vector<PairRange> ranges,
                std::vector<Edge2<T>> edges, std::vector<Exact2<T>> points,
                std::vector<Error2<T>> errors) {
  return {name, fn, exact, ranges, edges, points, errors};
}

template <class T>
void PrintTo(const Entry2<T> &e, std::ostream *os) {
  *os << e.name;
}

template <class T>
void check_pairs(const Entry2<T> &e, const PairRange &r, std::uint64_t n) {
  char what[96];
  std::snprintf(what, sizeof what, "%s %s 2^+-%g", e.name,
                r.pairs == Pairs::kCircle ? "radius in" : "|y/x| in", r.spread);
  Sampler s(std::hash<std::string>{}(what));
  oracle::WorstCase worst;
  oracle::Big exact;
  int failures = 0;
  for (std::uint64_t i = 0; i < n; ++i) {
    T y, x;
    if (r.pairs == Pairs::kCircle) {
      const double angle = s.uniform(-M_PI, M_PI);
      const double radius = std::exp2(s.uniform(-r.spread, r.spread));
      y = static_cast<T>(radius * std::sin(angle));
      x = static_cast<T>(radius * std::cos(angle));
    } else {
      const double root = std::exp2(s.uniform(-r.spread, r.spread) / 2);  // about sqrt |y/x|
      y = static_cast<T>(s.uniform_signed(0.5, 1) * root);
      x = static_cast<T>(s.uniform_signed(0.5, 1) / root);
    }
    if (y == 0 || x == 0) continue;
    const T got = e.fn(&y, &x);
    oracle::exact(exact, e.exact, static_cast<double>(y), static_cast<double>(x));
    const double err = oracle::ulp_error(got, exact);
    worst.add(err, static_cast<double>(y) / static_cast<double>(x));
    if (!(err <= r.ulps) && ++failures <= 5) {
      ADD_FAILURE() << e.name << "(" << std::hexfloat << static_cast<double>(y) << ", "
                    << static_cast<double>(x) << std::defaultfloat << ") = " << got << ", " << err
                    << " ulp > " << r.ulps;
    }
  }
  std::printf("  %-58s %s (x = y/x)\n", what, worst.describe().c_str());
}

// Both argument slots (y, then x, working copies), no values; the default
// under both infinity flags.
template <class T>
void expect_error_row2(const char *name, Binary<T> fn, const Error2<T> &r) {
  const T y = r.y, x = r.x;
  for (std::uint8_t flag : {0, 1}) {
    SCOPED_TRACE(std::string(name) + "(" + std::to_string(y) + ", " + std::to_string(x) +
                 "), flag " + std::to_string(flag));
    Recorder rec(flag);
    T seen_y = 1, seen_x = 1;
    rec.answer = [&](const Report &report, int) {
      seen_y = report.slot_as<T>(1);
      seen_x = report.slot_as<T>(2);
      return 0;
    };
    const T got = fn(&y, &x);
    ASSERT_EQ(rec.reports.size(), 1u);
    EXPECT_EQ(rec.reports[0].number, r.error);
    EXPECT_EQ(rec.reports[0].value_count, 0);
    EXPECT_EQ(bits_of(seen_y), bits_of(y));
    EXPECT_EQ(bits_of(seen_x), bits_of(x));
    EXPECT_EQ(bits_of(got), bits_of(flag == 1 ? r.ieee : r.finite));
  }
}

template <class T>
void check(const Entry2<T> &e, std::uint64_t n) {
  SCOPED_TRACE(e.name);
  for (const PairRange &r : e.ranges) check_pairs(e, r, n);
  for (const Edge2<T> &p : e.edges) {
    EXPECT_LE(oracle::ulp_error(e.fn(&p.y, &p.x), e.exact, p.y, p.x), p.ulps)
        << e.name << "(" << std::hexfloat << p.y << ", " << p.x << ")";
  }
  for (const Exact2<T> &p : e.points) {
    Recorder rec;
    const T got = e.fn(&p.y, &p.x);
    EXPECT_TRUE(rec.reports.empty()) << e.name << "(" << p.y << ", " << p.x << ") reported";
    EXPECT_TRUE(std::isnan(p.value) ? std::isnan(got) : bits_of(got) == bits_of(p.value))
        << e.name << "(" << p.y << ", " << p.x << ") = " << got << ", expected " << p.value;
  }
  for (const Error2<T> &r : e.errors) expect_error_row2(e.name, e.fn, r);
}

// ---- Every Real4 argument ---------------------------------------------------

// A Real4 entry screened over every argument with bit pattern in [first,
// last) (and the negated ones: mirrored by the symmetry, or screened too).
// `reference` is the function in Real8, within a few 2^-53 relative (a NaN
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
};

inline void screen(const Screen &f, float x, Screened &out) {
  const double ref = f.reference(x);
  if (std::isnan(ref)) return;
  ++out.checked;
  const float got = f.fn(&x);
  if (f.symmetry != Symmetry::kNone) {
    const float m = -x;
    const float want = f.symmetry == Symmetry::kOdd ? -got : got;
    if (bits_of(f.fn(&m)) != bits_of(want)) out.fail(x);
  }
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
  if (err > out.worst) {
    out.worst = err;
    out.worst_x = x;
  }
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
      Screened own;
      for (;;) {
        const std::uint64_t begin = next.fetch_add(kChunk);
        if (begin >= last) break;
        const std::uint64_t end = std::min<std::uint64_t>(last, begin + kChunk);
        for (std::uint64_t b = begin; b < end; ++b) {
          const float x = std::bit_cast<float>(static_cast<std::uint32_t>(b));
          screen(f, x, own);
          if (f.symmetry == Symmetry::kNone) screen(f, -x, own);
        }
      }
      parts[t] = std::move(own);
    });
  }
  for (std::thread &t : pool) t.join();
  Screened all;
  for (const Screened &p : parts) {
    all.checked += p.checked;
    all.to_mpfr += p.to_mpfr;
    all.failures += p.failures;
    all.failed.insert(all.failed.end(), p.failed.begin(), p.failed.end());
    if (p.worst > all.worst) {
      all.worst = p.worst;
      all.worst_x = p.worst_x;
    }
  }
  std::printf("  %-8s [%a, %a): max %.4f ulp at %a, %llu arguments, %llu to MPFR\n", f.name,
              static_cast<double>(std::bit_cast<float>(first)),
              static_cast<double>(std::bit_cast<float>(last)), all.worst,
              static_cast<double>(all.worst_x), static_cast<unsigned long long>(all.checked),
              static_cast<unsigned long long>(all.to_mpfr));
  EXPECT_EQ(all.failures, 0u) << f.name;
  for (float x : all.failed) ADD_FAILURE() << f.name << "(" << std::hexfloat << x << ")";
}

}  // namespace support::family
