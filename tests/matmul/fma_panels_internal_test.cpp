// The SIMD panel sums (fma_panels.h) against the register's, bit for bit:
// the DGEMM block kernel and MATMUL's Real8 product, on data that the
// rounding test mostly accepts (uniform), mostly rejects (sums that cancel,
// small integers, zeros) and must reject (values outside 2^-900..2^900,
// infinities, NaNs); the number of sums left to the register is counted
// and bounded per kind.
#include <gtest/gtest.h>
#include <vexmorg/vexmorg.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "common/cpu.h"
#include "matmul/fma_panels.h"

namespace {

using vx::matmul::GemmBlock;
using Kernel = std::int64_t (*)(const GemmBlock &);

enum Kind { kUniform, kCancel, kIntegers, kWide, kEdge, kKinds };
const char *const kNames[kKinds] = {"uniform", "cancel", "integers", "wide", "edge"};

struct Data {
  std::mt19937_64 g;
  double u() { return std::uniform_real_distribution<double>(-1, 1)(g); }
  // Element l of a row or column (`side` 0 for A, 1 for B, 2 for C).
  double value(Kind kind, int side, int l, int n) {
    switch (kind) {
      case kUniform:
        return side == 2 ? 5 * u() : u();
      case kCancel: {  // B's second half undoes its first half, nearly
        if (side == 2) return 0x1p-30 * u();
        if (side == 0) return 1 + 0x1p-20 * u();
        const std::uint64_t seed = g();
        g.seed(std::uint64_t(l % ((n + 1) / 2)) + 77);
        const double v = u();
        g.seed(seed);
        return l < (n + 1) / 2 ? v : -v * (1 + 0x1p-40 * double(l));
      }
      case kIntegers:
        return double(int(g() % 7) - 3);
      case kWide:
        return std::ldexp(u(), int(g() % 1100) - 550);
      default: {
        const double pick[] = {
            0x1p-950, -0x1p-960, 0x1p950,  0x1p1000,
            -0.0,     0.0,       INFINITY, std::numeric_limits<double>::quiet_NaN(),
            1.5};
        return g() % 4 ? u() : pick[g() % 9];
      }
    }
  }
};

struct Block {
  std::int32_t kc, mc, nc;
  std::vector<double> a, b, c;
  GemmBlock view(double factor, std::vector<double> &out) {
    out = c;
    return {kc, mc, nc, a.data(), kc + 1, b.data(), kc + 2, out.data(), mc + 3, factor};
  }
};

std::vector<std::pair<const char *, Kernel>> simd_kernels() {
  std::vector<std::pair<const char *, Kernel>> k;
  if (vx::cpu::fma) k.push_back({"avx2", vx::matmul::fma_block_kernel_avx2});
  if (vx::cpu::avx512) k.push_back({"avx512", vx::matmul::fma_block_kernel_avx512});
  return k;
}

TEST(FmaPanels, BlockKernelAsTheRegister) {
  const auto kernels = simd_kernels();
  if (kernels.empty()) GTEST_SKIP() << "no fused multiply-add on this processor";
  const struct {
    std::int32_t kc, mc, nc;
  } shapes[] = {{64, 64, 37}, {1, 5, 3},   {7, 13, 9}, {56, 64, 40},
                {9, 1, 1},    {63, 17, 5}, {2, 9, 6}};
  const double factors[] = {0.0, 1.0, -0.75, 3.0};
  // Share of the sums left to the register: uniform data mostly on the SIMD
  // unit; cancelling sums, the zero sums of small integers, products
  // spread over 2^-1100..2^1100 (whose bound is loose) and the edge values
  // in the register.
  const double most[kKinds] = {0.25, 1, 0.2, 1, 1}, least[kKinds] = {0, 0.5, 0.01, 0.5, 0.05};
  Data d{std::mt19937_64(20261206)};
  for (int kind = 0; kind < kKinds; ++kind) {
    std::int64_t left[2] = {0, 0}, sums = 0;
    for (const auto &s : shapes)
      for (double f : factors) {
        Block blk{s.kc, s.mc, s.nc, {}, {}, {}};
        blk.a.resize(std::size_t(s.kc + 1) * s.mc), blk.b.resize(std::size_t(s.kc + 2) * s.nc);
        blk.c.resize(std::size_t(s.mc + 3) * s.nc);
        for (std::int32_t i = 0; i < s.mc; ++i)
          for (std::int32_t l = 0; l < s.kc; ++l)
            blk.a[i * (s.kc + 1) + l] = d.value(Kind(kind), 0, l, s.kc);
        for (std::int32_t j = 0; j < s.nc; ++j)
          for (std::int32_t l = 0; l < s.kc; ++l)
            blk.b[j * (s.kc + 2) + l] = d.value(Kind(kind), 1, l, s.kc);
        for (double &x : blk.c) x = d.value(Kind(kind), 2, 0, 1);
        std::vector<double> want, got;
        vx::matmul::block_kernel_x87(blk.view(f, want));
        for (std::size_t r = 0; r < kernels.size(); ++r) {
          left[r] += kernels[r].second(blk.view(f, got));
          ASSERT_EQ(0, std::memcmp(got.data(), want.data(), got.size() * 8))
              << kernels[r].first << " " << kNames[kind] << " kc " << s.kc << " mc " << s.mc
              << " nc " << s.nc << " factor " << f;
        }
        sums += std::int64_t(s.mc) * s.nc;
      }
    for (std::size_t r = 0; r < kernels.size(); ++r) {
      const double share = double(left[r]) / double(sums);
      EXPECT_LE(share, most[kind]) << kernels[r].first << " " << kNames[kind];
      EXPECT_GE(share, least[kind]) << kernels[r].first << " " << kNames[kind];
    }
  }
}

// MATMUL's Real8 product: the SIMD route against the driver's register
// loop (the processor features cleared), over contiguous and strided,
// transposed operands.
TEST(FmaPanels, MatmulAsTheRegister) {
  if (!vx::cpu::fma) GTEST_SKIP() << "no fused multiply-add on this processor";
  const bool fma = vx::cpu::fma, avx512 = vx::cpu::avx512;
  Data d{std::mt19937_64(7)};
  const struct {
    std::int32_t m, k, n;
    bool transposed;
  } shapes[] = {{70, 130, 9, true},  {8, 8, 8, false}, {5, 17, 3, true},
                {64, 64, 65, false}, {1, 9, 1, true},  {33, 200, 4, false}};
  for (int kind = 0; kind < kKinds; ++kind) {
    std::int64_t left = 0;
    for (const auto &s : shapes) {
      std::vector<double> a(std::size_t(s.m) * s.k), b(std::size_t(s.k) * s.n);
      for (double &x : a) x = d.value(Kind(kind), 0, int(&x - a.data()) / s.m, s.k);
      for (double &x : b) x = d.value(Kind(kind), 1, int(&x - b.data()) % s.k, s.k);
      std::int32_t sa[2] = {8, 8 * s.m}, ea[2] = {s.m, s.k}, sb[2] = {8, 8 * s.k},
                   eb[2] = {s.k, s.n}, sr[2], er[2];
      if (s.transposed) sa[0] = 8 * s.k, sa[1] = 8;  // A read as the transpose of its array
      ArrayDescriptor da{a.data(), {}, 2, {}, {{&sa[0], &ea[0]}, {&sa[1], &ea[1]}}};
      ArrayDescriptor db{b.data(), {}, 2, {}, {{&sb[0], &eb[0]}, {&sb[1], &eb[1]}}};
      std::vector<double> want(std::size_t(s.m) * s.n), got(want.size());
      ArrayDescriptor dr{want.data(), {}, 2, {}, {{&sr[0], &er[0]}, {&sr[1], &er[1]}}};
      const MatmulArgs args{&dr, &da, &db};
      vx::cpu::fma = vx::cpu::avx512 = false;
      ulx_gmd2(&args);
      vx::cpu::fma = fma, vx::cpu::avx512 = avx512;
      for (auto route : {vx::matmul::fma_matmul_avx2, vx::matmul::fma_matmul_avx512}) {
        if (route == vx::matmul::fma_matmul_avx512 && !avx512) continue;
        std::fill(got.begin(), got.end(), 0.0);
        const vx::matmul::Operand oa = vx::matmul::read_operand(da, 8),
                                  ob = vx::matmul::read_operand(db, 8);
        left += route(oa, ob, reinterpret_cast<unsigned char *>(got.data()), s.m, s.k, s.n);
        ASSERT_EQ(0, std::memcmp(got.data(), want.data(), got.size() * 8))
            << kNames[kind] << " " << s.m << "x" << s.k << "x" << s.n;
      }
    }
    if (kind == kCancel || kind == kEdge) {
      EXPECT_GT(left, 0) << kNames[kind];
    }
  }
}

// DGEMV's column groups (g = 1, 2, 8) against x87_gemv_group row by row.
TEST(FmaPanels, GemvGroupsAsTheRegister) {
  if (!vx::cpu::avx512) GTEST_SKIP() << "no AVX-512 on this processor";
  Data d{std::mt19937_64(11)};
  const std::int32_t rows = 20003, lda = 20011;
  for (int kind = 0; kind < kKinds; ++kind) {
    std::int64_t left = 0;
    for (int g : {1, 2, 8}) {
      std::vector<double> a(std::size_t(lda) * g), w0(rows), t(g);
      for (double &x : a) x = d.value(Kind(kind), 0, int(&x - a.data()) / lda, g);
      for (double &x : t) x = d.value(Kind(kind), 1, int(&x - t.data()), g);
      for (double &x : w0) x = d.value(Kind(kind), 2, 0, 1);
      std::vector<double> want = w0, got = w0;
      for (std::int32_t i = 0; i < rows; ++i)
        want[i] = vx::matmul::x87_gemv_group(w0[i], a.data() + i, lda, t.data(), g);
      left += vx::matmul::fma_gemv_group_avx512(got.data(), a.data(), lda, t.data(), g, rows);
      ASSERT_EQ(0, std::memcmp(got.data(), want.data(), rows * 8)) << kNames[kind] << " g " << g;
    }
    if (kind == kCancel || kind == kEdge) {
      EXPECT_GT(left, 0) << kNames[kind];
    }
  }
}

}  // namespace
