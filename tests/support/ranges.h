// Accuracy runs over a list of argument ranges, each with its own bound.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

#include "support/checks.h"

namespace support {

// Arguments x in [lo, hi) (signed): uniform, or log-uniform (0 < lo < hi) when the
// range spans many binades; `ulps` is the bound asserted over the range.
struct Interval {
  double lo, hi;
  double ulps;
  bool log_scale = false;
};

// Runs fn over `n` arguments per range against MPFR's f (see
// expect_accuracy) and prints the largest error of each range.
template <class T>
void expect_accuracy_over(const std::string &name, Unary<T> fn, oracle::Fn1 f,
                          std::initializer_list<Interval> ranges, std::uint64_t n) {
  Sampler s(0xe1090000 + std::hash<std::string>{}(name));
  for (const Interval &r : ranges) {
    char what[96];
    std::snprintf(what, sizeof what, "%s x in [%.9g, %.9g)", name.c_str(), r.lo, r.hi);
    const auto gen = [&] {
      return r.log_scale ? std::exp(s.uniform(std::log(r.lo), std::log(r.hi)))
                         : s.uniform(r.lo, r.hi);
    };
    expect_accuracy<T>(what, fn, f, n, gen, ulps(r.ulps));
  }
}

}  // namespace support
