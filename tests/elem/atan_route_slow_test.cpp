// Every Real4 argument of g_atan, and every Real4 y of g_atan2 with an x
// drawn beside it (2^32 pairs, y of every pattern, y/x weighted towards
// the switch points of the route), against FPATAN rounded
// to Real4, bit for bit (label slow, not in the default run).
#include <gtest/gtest.h>
#include <vexmorg/vexmorg.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <thread>
#include <vector>

#include "common/bits.h"
#include "support/atan_route_arguments.h"

namespace {

// check(pattern, sampler) for every 32-bit pattern, in chunks over the
// available threads; the number of patterns it rejects.
template <class F>
std::uint64_t every_pattern(F check) {
  constexpr std::uint64_t kChunk = 1 << 20, kEnd = std::uint64_t{1} << 32;
  std::atomic<std::uint64_t> next{0}, differ{0};
  std::vector<std::thread> pool;
  for (unsigned t = 0; t < std::max(1u, std::thread::hardware_concurrency()); ++t) {
    pool.emplace_back([&] {
      for (std::uint64_t begin; (begin = next.fetch_add(kChunk)) < kEnd;) {
        support::Sampler s(begin);
        for (std::uint64_t b = begin; b < begin + kChunk; ++b)
          differ += !check(static_cast<std::uint32_t>(b), s);
      }
    });
  }
  for (std::thread &t : pool) t.join();
  return differ;
}

TEST(AtanRouteEveryReal4, Atan) {
  EXPECT_EQ(every_pattern([](std::uint32_t b, support::Sampler &) {
              const float x = vx::real4_from_bits(b);
              return support::same_as_fpatan(g_atan(&x), x, 1.0f, "g_atan");
            }),
            0u);
}

TEST(AtanRouteEveryReal4, Atan2) {
  EXPECT_EQ(every_pattern([](std::uint32_t b, support::Sampler &s) {
              const float y = vx::real4_from_bits(b);
              // x = +-y / m for a magnitude m, so that |y/x| is m; one in 8 any pattern
              const std::uint64_t r = s.bits();
              const float x = r & 7 ? static_cast<float>((r & 8 ? -1 : 1) * std::fabs(double{y}) /
                                                         support::atan_magnitude(s))
                                    : vx::real4_from_bits(static_cast<std::uint32_t>(r >> 32));
              if (y == 0 && x == 0) return true;  // error 220
              return support::same_as_fpatan(g_atan2(&y, &x), y == 0 ? 0.0f : y, x == 0 ? 0.0f : x,
                                             "g_atan2");
            }),
            0u);
}

}  // namespace
