// Exhaustive runs of the Real4 degree and quadrant-unit functions (CTest
// label slow, not in the default run): every positive Real4 argument below
// the limit 47200000 (degrees) or 2^23 (quadrant units), and every integer
// from 2^23 on up to infinity (quadrant units), with the negated argument
// checked for symmetry bit for bit.
//
// MPFR for 10^9 arguments per function would take hours, so a Real8
// reference screens them: the exact reduction x = 90 k + r (or k + r) and
// libm's sine, cosine or tangent of r pi/180 (r pi/2), together within a
// few 2^-53 relative, i.e. below 2^-27 ulp of the Real4 result (exact at
// r = 0). Every argument whose screened error comes within 10^-6 ulp of the
// bound goes to MPFR, which decides. The bound is the fast suites' 0.52
// ulp (sin_cos_deg_test and the others state why).
//
// The degree reduction's Real8 shortcut for Real4 arguments is compared
// with the register's steps it stands for, for every argument above 90; the
// Real4 quadrant-unit sine and cosine, evaluated in Real8 arithmetic, with
// the register's evaluation of the same series, for every argument.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "elem/trig_units/quadrant_series.h"
#include "elem/trig_units/unit_trig.h"
#include "support/checks.h"

namespace {

constexpr double kBound = 0.52;
constexpr double kScreenMargin = 1e-6;
// Where round to nearest makes a Real4 infinite: the largest Real4 plus
// half its ulp.
constexpr double kOverflowFrom = 0x1p128 - 0x1p103;

enum class Kind { sin, cos, tan, cot };

struct Function {
  const char *name;
  support::Unary<float> fn;
  oracle::Fn1 exact;
  Kind kind;
  bool degrees;
};

const Function kFunctions[] = {
    {"g_sind", g_sind, oracle::sind, Kind::sin, true},
    {"g_cosd", g_cosd, oracle::cosd, Kind::cos, true},
    {"g_tand", g_tand, oracle::tand, Kind::tan, true},
    {"g_cotd", g_cotd, oracle::cotd, Kind::cot, true},
    {"g_sinq", g_sinq, oracle::sinq, Kind::sin, false},
    {"g_cosq", g_cosq, oracle::cosq, Kind::cos, false},
    {"g_tanq", g_tanq, oracle::tanq, Kind::tan, false},
    {"g_cotq", g_cotq, oracle::cotq, Kind::cot, false},
};

// The function of x >= 0 in Real8; false at a pole.
bool reference(const Function &f, float x, double &value) {
  const double unit = f.degrees ? 90 : 1;
  const double k = std::nearbyint(static_cast<double>(x) / unit);
  const double r = static_cast<double>(x) - unit * k;  // exact
  const int q = static_cast<int>(std::fmod(k, 4));
  const double angle = r * (f.degrees ? M_PI / 180 : M_PI / 2);
  const bool odd = (q & 1) != 0;
  switch (f.kind) {
    case Kind::sin:
    case Kind::cos: {
      const int p = f.kind == Kind::sin ? q : (q + 1) % 4;  // cos(x) = sin(x + 90)
      const double v = (p & 1) ? std::cos(angle) : std::sin(angle);
      value = (p & 2) ? -v : v;
      return true;
    }
    case Kind::tan:
    case Kind::cot: {
      const bool tangent = odd == (f.kind == Kind::cot);  // even: own kernel
      const double t = std::tan(angle);
      if (!tangent && r == 0) return false;
      value = tangent ? t : 1 / t;
      if (odd) value = -value;
      return true;
    }
  }
  return false;
}

double ulps(float got, double ref) {
  int e;
  std::frexp(ref, &e);
  e = std::clamp(e, -125, 128);  // the ulps of the subnormals and of the largest binade
  return std::fabs(static_cast<double>(got) - ref) / std::ldexp(1.0, e - 24);
}

struct Outcome {
  double worst = 0;
  float worst_x = 0;
  std::uint64_t checked = 0, confirmed = 0, failures = 0;
  std::vector<std::string> messages;
  void fail(std::string m) {
    if (++failures <= 5) messages.push_back(std::move(m));
  }
};

// Checks x and -x.
void check(const Function &f, float x, Outcome &out) {
  const float got = f.fn(&x);
  double ref;
  if (!reference(f, x, ref)) return;  // a pole: reported, tested in the fast suites
  ++out.checked;
  const float m = -x;
  const float mirrored = f.fn(&m);
  const float want = f.kind == Kind::cos ? got : -got;
  if (support::bits_of(mirrored) != support::bits_of(want))
    out.fail(std::string(f.name) + ": f(-x) breaks the symmetry at x = " + std::to_string(x));
  double err;
  if (std::fabs(ref) > kOverflowFrom * (1 + 1e-6)) {
    // Beyond the largest Real4 by more than half an ulp (the cotangents of
    // tiny arguments): the rounded value is an infinity.
    err = std::isinf(got) && (got > 0) == (ref > 0) ? 0 : INFINITY;
  } else {
    err = ulps(got, ref);
    if (err > kBound - kScreenMargin) {
      ++out.confirmed;
      err = std::isinf(got) && got == oracle::rounded(f.exact, x)
                ? 0
                : oracle::ulp_error(got, f.exact, x);
    }
  }
  if (err > out.worst) {
    out.worst = err;
    out.worst_x = x;
  }
  if (!(err <= kBound)) {
    char text[160];
    std::snprintf(text, sizeof text, "%s(%a) = %a: %.4f ulp", f.name, static_cast<double>(x),
                  static_cast<double>(got), err);
    out.fail(text);
  }
}

// Every positive argument with a bit pattern in [first, last), split over
// the available threads.
Outcome run(const Function &f, std::uint32_t first, std::uint32_t last) {
  const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
  std::vector<Outcome> outcomes(threads);
  std::vector<std::thread> pool;
  constexpr std::uint32_t kChunk = 1 << 20;
  std::atomic<std::uint32_t> next{first};
  for (unsigned t = 0; t < threads; ++t) {
    pool.emplace_back([&, t] {
      Outcome own;  // on this thread's stack: no cache line shared with the others
      for (;;) {
        const std::uint32_t begin = next.fetch_add(kChunk);
        if (begin >= last) break;
        const std::uint32_t end = last - begin < kChunk ? last : begin + kChunk;
        for (std::uint32_t b = begin; b < end; ++b) check(f, std::bit_cast<float>(b), own);
      }
      outcomes[t] = std::move(own);
    });
  }
  for (std::thread &t : pool) t.join();
  Outcome all;
  for (const Outcome &o : outcomes) {
    all.checked += o.checked;
    all.confirmed += o.confirmed;
    all.failures += o.failures;
    all.messages.insert(all.messages.end(), o.messages.begin(), o.messages.end());
    if (o.worst > all.worst) {
      all.worst = o.worst;
      all.worst_x = o.worst_x;
    }
  }
  return all;
}

void expect_exhaustive(const Function &f, std::uint32_t first, std::uint32_t last) {
  const Outcome o = run(f, first, last);
  std::printf("  %-7s [%a, %a): max %.4f ulp at %a, %llu arguments, %llu to MPFR\n", f.name,
              static_cast<double>(std::bit_cast<float>(first)),
              static_cast<double>(std::bit_cast<float>(last)), o.worst,
              static_cast<double>(o.worst_x), static_cast<unsigned long long>(o.checked),
              static_cast<unsigned long long>(o.confirmed));
  EXPECT_EQ(o.failures, 0u) << f.name;
  for (const std::string &m : o.messages) ADD_FAILURE() << m;
}

constexpr std::uint32_t kDegreeLimit = 0x4c340dc0;  // 47200000.0
constexpr std::uint32_t kTwo23 = 0x4b000000;
constexpr std::uint32_t kInfinity = 0x7f800000;

TEST(DegreeQuadrantExhaustive, Degrees) {
  for (const Function &f : kFunctions)
    if (f.degrees) expect_exhaustive(f, 0, kDegreeLimit);
}

TEST(DegreeQuadrantExhaustive, QuadrantUnits) {
  for (const Function &f : kFunctions)
    if (!f.degrees) expect_exhaustive(f, 0, kTwo23);
}

TEST(DegreeQuadrantExhaustive, QuadrantUnitIntegers) {
  for (const Function &f : kFunctions)
    if (!f.degrees) expect_exhaustive(f, kTwo23, kInfinity);
}

// The Real8 shortcut of the degree reduction gives the register's q and r.
TEST(DegreeQuadrantExhaustive, Real4DegreeReductionShortcut) {
  std::uint64_t differ = 0;
  for (std::uint32_t b = 0x42b40001; b < kDegreeLimit; ++b) {
    const float x = std::bit_cast<float>(b);
    const auto fast = vx::unit_trig::reduce_degrees(x);
    const auto slow = vx::unit_trig::reduce_degrees_in_register(x);
    if ((fast.q & 3) != (slow.q & 3) || fast.r != slow.r) {
      if (++differ <= 5) ADD_FAILURE() << std::hexfloat << x << ": shortcut differs";
    }
  }
  EXPECT_EQ(differ, 0u);
}

// The Real4 quadrant-unit entries (reduction by one sum, series in Real8)
// return the register's evaluation of the series on the two-step
// reduction, bit for bit, signs and exact zeros included.
TEST(DegreeQuadrantExhaustive, Real4QuadrantUnitsAsInTheRegister) {
  using K = vx::quadrant_series::r4::Kernels;
  std::uint64_t differ = 0;
  for (std::uint64_t b = 0; b <= 0xffffffff; ++b) {
    const float x = std::bit_cast<float>(static_cast<std::uint32_t>(b));
    const auto a = vx::unit_trig::reduce_quadrants(std::fabs(x));
    const auto a4 = vx::unit_trig::reduce_quadrants4(std::fabs(x));
    const long double s = vx::unit_trig::sine<K>(a);
    const float sine = static_cast<float>(std::signbit(x) ? -s : s);
    const float cosine = static_cast<float>(vx::unit_trig::cosine<K>(a));
    const bool same =
        (a.q & 3) == (a4.q & 3) && a.r == a4.r &&
        std::bit_cast<std::uint32_t>(g_sinq(&x)) == std::bit_cast<std::uint32_t>(sine) &&
        std::bit_cast<std::uint32_t>(g_cosq(&x)) == std::bit_cast<std::uint32_t>(cosine);
    if (!same && ++differ <= 5)
      ADD_FAILURE() << std::hexfloat << x << ": differs from the register";
  }
  EXPECT_EQ(differ, 0u);
}

}  // namespace
