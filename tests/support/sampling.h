// Deterministic argument sampling for the accuracy suites, and the size of
// a run (the i386 suite runs under an emulator and scales its counts down).
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>

namespace support {

// VEXMORG_TEST_SCALE (default 1) multiplies the number of random arguments.
inline std::uint64_t scaled(std::uint64_t count) {
  const char *s = std::getenv("VEXMORG_TEST_SCALE");
  const double scale = s != nullptr ? std::atof(s) : 1.0;
  const auto n = static_cast<std::uint64_t>(static_cast<double>(count) * scale);
  return n > 0 ? n : 1;
}

class Sampler {
 public:
  explicit Sampler(std::uint64_t seed) : rng_(seed) {}

  // Uniform in [lo, hi).
  double uniform(double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(rng_);
  }
  // Magnitude log-uniform in [lo, hi) (lo > 0), with a random sign.
  double log_uniform_signed(double lo, double hi) {
    const double m = std::exp(uniform(std::log(lo), std::log(hi)));
    return (rng_() & 1) ? -m : m;
  }
  // Uniform in [lo, hi) with a random sign.
  double uniform_signed(double lo, double hi) {
    const double m = uniform(lo, hi);
    return (rng_() & 1) ? -m : m;
  }
  std::uint64_t bits() { return rng_(); }

 private:
  std::mt19937_64 rng_;
};

}  // namespace support
