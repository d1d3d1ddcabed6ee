// The eight MATMUL entries against support/matmul_reference.h bit for bit, the result shape
// and error 1375 for operands that do not conform.
#include <gtest/gtest.h>
#include <vexmorg/vexmorg.h>

#include <bit>
#include <random>
#include <vector>

#include "support/matmul_reference.h"
#include "support/sampling.h"

namespace {

TEST(Matmul, EntriesMatchTheReference) {
  const support::MatmulShape fixed[] = {
      {0, 3, 0, 2, 0},   // a 3-by-0 times 0-by-2 product yields a 3-by-2 result of zeros
      {0, 0, 5, 4, 5},   // a 0-by-5 times 5-by-4 product touches no element
      {2, 1, 0, 3, 0},   // a vector of extent 0 times a 0-by-3 matrix yields three zeros
      {0, 2, 3, 2, 4},   // a 2-by-3 times 4-by-2 product reports error 1375
      {0, 2, -1, 2, 1},  // a negative extent in a descriptor behaves as 0
      {1, 3, 2, 1, 3},   {2, 1, 4, 5, 3},   {1, 4, 0, 1, 0},   {0, 2, 8, 3, 8}, {0, 3, 16, 2, 16},
      {0, 2, 17, 2, 17}, {1, 5, 17, 1, 17}, {2, 1, 17, 5, 17}, {1, 0, 3, 1, 3}, {2, 1, 3, 0, 3}};
  const std::int32_t sizes[] = {-2, 0, 1, 7, 8, 9, 63, 64, 65, 100, 130};
  for (const support::MatmulRoute &route : support::kMatmulRoutes) {
    std::mt19937_64 g(20261206 + std::uint64_t(&route - support::kMatmulRoutes));
    support::CaseBytes in{nullptr, 0, 0, &g};
    auto check = [&](const support::MatmulShape &s) {
      const char *what = route.check(route.entry, s, in, route.aligned);
      EXPECT_EQ(what, nullptr) << route.name << " case " << s.c << " m " << s.m << " k " << s.k
                               << " n " << s.n << " kb " << s.kb << ": " << what;
    };
    for (const auto &s : fixed) check(s);
    const double budget = route.real16 ? 3e3 : 3e5;  // multiplications per case
    for (std::uint64_t t = 0; t < support::scaled(100); ++t) {
      support::MatmulShape s{int(g() % 3), sizes[g() % 11], sizes[g() % 11], sizes[g() % 11], 0};
      if (double(s.m) * s.k * s.n > budget) s.k = s.k % 10;
      if (double(s.m) * s.k * s.n > budget) s.m = 9, s.n = 7;
      s.kb = g() % 16 ? s.k : sizes[g() % 11];
      check(s);
    }
  }
}

// C rounds to Real8 after each panel of 8 terms (a vector once), each addition in extended.
TEST(Matmul, Real8RoundsWhereTheSumsRound) {
  const std::vector<double> panel = {1, 0x1p-54, 0x1p-54, 0x1p-60, 0, 0, 0, 0, -0x1p-52};
  const struct {
    int rank;
    std::vector<double> a;
    std::uint64_t want;
  } rows[] = {
      // 1 + 2^-54 + 2^-54 + 2^-60 rounds to 1 + 2^-52 at term 8, to 1 at term 9; whole, below 1
      {2, panel, 0x3ff0000000000000},
      {1, panel, 0x3fefffffffffffff},
      // 33 - 2^-54 + 2^-60 rounds to 33 - 2^-54 in extended: below 1 - 2^-54, exact above it
      {2, {32, 1 - 0x1p-53, 0x1p-54 + 0x1p-60, -32, -0x1p-62}, 0x3fefffffffffffff},
  };
  for (const auto &r : rows) {
    const std::int32_t k = std::int32_t(r.a.size());
    std::vector<double> b(r.a.size(), 1.0);
    std::int32_t one = 1, s8 = 8, sk = 8 * k, cs[2], ce[2], kk = k;
    ArrayDescriptor a{
        const_cast<double *>(r.a.data()), {}, std::uint8_t(r.rank), {}, {{&s8, &one}, {&s8, &kk}}};
    if (r.rank == 1) a.dim[0] = {&s8, &kk};
    ArrayDescriptor bd{b.data(), {}, 2, {}, {{&s8, &kk}, {&sk, &one}}};
    double c = 0;
    ArrayDescriptor rd{&c, {}, std::uint8_t(r.rank), {}, {{&cs[0], &ce[0]}, {&cs[1], &ce[1]}}};
    const MatmulArgs args{&rd, &a, &bd};
    g_matmld(&args);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(c), r.want) << r.rank << " " << k;
  }
}

}  // namespace
