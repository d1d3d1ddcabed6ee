// Every Real4 argument of the arc sines and arc cosines (all of [-1, 1]) and
// of the arc tangents in degrees and quadrant units (every finite value),
// under the bounds of asin_acos_test and atan_test. Label "slow": minutes
// natively, not part of the default run.
//
// Each result is first measured against the libm function of the argument
// in Real8, scaled to the unit in Real8: that reference is within 2^-50 of
// the true value relative, 2^-26 of a Real4 ulp. A result that comes within
// 2^-20 ulp of its bound by that measure is measured again against MPFR,
// which decides.
//
// Reached over every argument: g_asin 0.667, g_acos 0.584, g_asind 0.505,
// g_acosd 0.527, g_asinq 0.745, g_acosq 0.585, g_atand 0.516, g_atanq
// 0.637 (the quarter turn at 2^24; 0.52 below it).
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <numbers>
#include <thread>
#include <vector>

#include "oracle/angle_units.h"
#include "support/checks.h"

namespace {

using support::Unary;

struct Function {
  const char *name;
  Unary<float> fn;
  double (*reference)(double);  // Real8 libm, scaled to the unit
  oracle::Fn1 exact;
  double bound;       // ulps
  double turn_bound;  // ulps, for |x| >= 2^24 (the quarter turn)
};

constexpr double kDeg = 180 / std::numbers::pi;
constexpr double kQuad = 2 / std::numbers::pi;

// The ulp of a Real4 result at |v|.
double ulp4(double v) { return support::ulp_of<float>(v); }

struct Worst {
  double ulps = 0;
  float x = 0;
  std::vector<float> failures;
};

// Runs f over the Real4 bit patterns [first, last] in steps of `stride`
// starting at `first + offset`, both signs.
void scan(const Function &f, std::uint32_t first, std::uint32_t last, std::uint32_t offset,
          std::uint32_t stride, Worst &w) {
  oracle::Big e;
  for (std::uint64_t b = std::uint64_t{first} + offset; b <= last; b += stride) {
    for (std::uint32_t sign : {0u, 0x80000000u}) {
      const float x = std::bit_cast<float>(static_cast<std::uint32_t>(b) | sign);
      const float got = f.fn(&x);
      const double ref = f.reference(x);
      const double bound = std::fabs(x) >= 0x1p24f ? f.turn_bound : f.bound;
      double err = std::fabs(static_cast<double>(got) - ref) / ulp4(std::fabs(ref));
      if (!(err <= bound - 0x1p-20)) {
        oracle::exact(e, f.exact, x);
        err = oracle::ulp_error(got, e);
        if (!(err <= bound) && w.failures.size() < 5) w.failures.push_back(x);
      }
      if (err > w.ulps) {
        w.ulps = err;
        w.x = x;
      }
    }
  }
}

void exhaustive(const Function &f, std::uint32_t last) {
  const unsigned threads = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
  std::vector<Worst> worst(threads);
  std::vector<std::thread> pool;
  for (unsigned t = 0; t < threads; ++t) {
    pool.emplace_back([&, t] { scan(f, 0, last, t, threads, worst[t]); });
  }
  for (std::thread &t : pool) t.join();
  Worst all;
  for (const Worst &w : worst) {
    if (w.ulps > all.ulps) {
      all.ulps = w.ulps;
      all.x = w.x;
    }
    all.failures.insert(all.failures.end(), w.failures.begin(), w.failures.end());
  }
  for (float x : all.failures) ADD_FAILURE() << f.name << "(" << std::hexfloat << x << ")";
  std::printf("  %-8s every argument: max %.4g ulp at x = %.9g (%a)\n", f.name, all.ulps, all.x,
              all.x);
}

double asind_ref(double x) { return std::asin(x) * kDeg; }
double acosd_ref(double x) { return std::acos(x) * kDeg; }
double asinq_ref(double x) { return std::asin(x) * kQuad; }
double acosq_ref(double x) { return std::acos(x) * kQuad; }
double atand_ref(double x) { return std::atan(x) * kDeg; }
double atanq_ref(double x) { return std::atan(x) * kQuad; }
double asin_ref(double x) { return std::asin(x); }
double acos_ref(double x) { return std::acos(x); }

constexpr auto asind_exact = oracle::in_unit<mpfr_asinu, oracle::kDegrees>;
constexpr auto acosd_exact = oracle::in_unit<mpfr_acosu, oracle::kDegrees>;
constexpr auto asinq_exact = oracle::in_unit<mpfr_asinu, oracle::kQuadrants>;
constexpr auto acosq_exact = oracle::in_unit<mpfr_acosu, oracle::kQuadrants>;
constexpr auto atand_exact = oracle::in_unit<mpfr_atanu, oracle::kDegrees>;
constexpr auto atanq_exact = oracle::in_unit<mpfr_atanu, oracle::kQuadrants>;

constexpr std::uint32_t kOne = 0x3f800000;      // 1.0
constexpr std::uint32_t kLargest = 0x7f7fffff;  // the largest finite Real4

TEST(InverseTrig4, EveryArcSineAndArcCosineArgument) {
  const Function fns[] = {
      {"g_asin", g_asin, asin_ref, mpfr_asin, 0.7, 0.7},
      {"g_acos", g_acos, acos_ref, mpfr_acos, 0.7, 0.7},
      {"g_asind", g_asind, asind_ref, asind_exact, 0.55, 0.55},
      {"g_acosd", g_acosd, acosd_ref, acosd_exact, 0.55, 0.55},
      {"g_asinq", g_asinq, asinq_ref, asinq_exact, 0.8, 0.8},
      {"g_acosq", g_acosq, acosq_ref, acosq_exact, 0.8, 0.8},
  };
  for (const Function &f : fns) exhaustive(f, kOne);
}

TEST(InverseTrig4, EveryArcTangentArgument) {
  const Function fns[] = {
      {"g_atand", g_atand, atand_ref, atand_exact, 0.55, 0.55},
      {"g_atanq", g_atanq, atanq_ref, atanq_exact, 0.55, 0.64},
  };
  for (const Function &f : fns) exhaustive(f, kLargest);
}

}  // namespace
