// The SIMD panel sums (fma_panels.h) against the register's bit for bit: the DGEMM block
// kernel, MATMUL's Real8 product, DGEMV's column groups, on data the rounding test mostly
// accepts (uniform), mostly rejects (cancelling, small integers) and must reject (outside
// 2^-900..2^900, infinities, NaNs), counting the sums left to the register.
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

using namespace vx::matmul;

enum Kind { kUniform, kCancel, kIntegers, kWide, kEdge, kKinds };

struct Data {
  std::mt19937_64 g{20261206};
  double u() { return std::uniform_real_distribution<double>(-1, 1)(g); }
  // Element l of n of a row or column (`side` 0 for A, 1 for B, 2 for C).
  double value(int kind, int side, int l, int n) {
    if (kind == kUniform) return side == 2 ? 5 * u() : u();
    if (kind == kCancel) {  // B's second half undoes its first half, nearly
      if (side != 1) return side == 2 ? 0x1p-30 * u() : 1 + 0x1p-20 * u();
      std::mt19937_64 h(std::uint64_t(l % ((n + 1) / 2)) + 77);
      const double v = std::uniform_real_distribution<double>(-1, 1)(h);
      return l < (n + 1) / 2 ? v : -v * (1 + 0x1p-40 * double(l));
    }
    if (kind == kIntegers) return double(int(g() % 7) - 3);
    if (kind == kWide) return std::ldexp(u(), int(g() % 1100) - 550);
    const double pick[] = {0x1p-950, -0x1p-960, 0x1p950,  0x1p1000,
                           -0.0,     0.0,       INFINITY, std::numeric_limits<double>::quiet_NaN(),
                           1.5};
    return g() % 4 ? u() : pick[g() % 9];
  }
  std::vector<double> fill(int kind, int side, std::size_t count, int ld, int n) {
    std::vector<double> v(count);
    for (std::size_t e = 0; e < count; ++e) v[e] = value(kind, side, int(e % ld), n);
    return v;
  }
};

using Count = std::int64_t[2];  // sums left to the register, sums formed

// The block kernel, every factor, against block_kernel_x87.
void block(Data &d, int kind, bool avx512, Count &n) {
  const struct {
    std::int32_t kc, mc, nc;
  } shapes[] = {{64, 64, 37}, {1, 5, 3},   {7, 13, 9}, {56, 64, 40},
                {9, 1, 1},    {63, 17, 5}, {2, 9, 6}};
  for (const auto &s : shapes)
    for (double factor : {0.0, 1.0, -0.75, 3.0}) {
      const std::vector<double> a = d.fill(kind, 0, std::size_t(s.kc + 1) * s.mc, s.kc + 1, s.kc),
                                b = d.fill(kind, 1, std::size_t(s.kc + 2) * s.nc, s.kc + 2, s.kc),
                                c = d.fill(kind, 2, std::size_t(s.mc + 3) * s.nc, 1, 1);
      std::vector<double> want = c, got;
      auto view = [&](std::vector<double> &out) {
        return GemmBlock{s.kc,     s.mc,     s.nc,       a.data(), s.kc + 1,
                         b.data(), s.kc + 2, out.data(), s.mc + 3, factor};
      };
      block_kernel_x87(view(want));
      got = c;
      n[0] += (avx512 ? fma_block_kernel_avx512 : fma_block_kernel_avx2)(view(got));
      n[1] += std::int64_t(s.mc) * s.nc;
      ASSERT_EQ(0, std::memcmp(got.data(), want.data(), got.size() * 8))
          << kind << " kc " << s.kc << " mc " << s.mc << " nc " << s.nc << " factor " << factor;
    }
}

// MATMUL's Real8 product against the driver's register loop, contiguous and transposed.
void matmul(Data &d, int kind, bool avx512, Count &n) {
  const struct {
    std::int32_t m, k, n;
    bool transposed;
  } shapes[] = {{70, 130, 9, true},  {8, 8, 8, false}, {5, 17, 3, true},
                {64, 64, 65, false}, {1, 9, 1, true},  {33, 200, 4, false}};
  for (const auto &s : shapes) {
    const std::vector<double> a = d.fill(kind, 0, std::size_t(s.m) * s.k, s.k, s.k),
                              b = d.fill(kind, 1, std::size_t(s.k) * s.n, s.k, s.k);
    std::int32_t sa[2] = {8 * s.k, 8}, ea[2] = {s.m, s.k}, sb[2] = {8, 8 * s.k}, eb[2] = {s.k, s.n},
                 sr[2], er[2];
    if (!s.transposed) sa[0] = 8, sa[1] = 8 * s.m;
    ArrayDescriptor da{
        const_cast<double *>(a.data()), {}, 2, {}, {{&sa[0], &ea[0]}, {&sa[1], &ea[1]}}},
        db{const_cast<double *>(b.data()), {}, 2, {}, {{&sb[0], &eb[0]}, {&sb[1], &eb[1]}}};
    std::vector<double> want(std::size_t(s.m) * s.n), got;
    ArrayDescriptor dr{want.data(), {}, 2, {}, {{&sr[0], &er[0]}, {&sr[1], &er[1]}}};
    const MatmulArgs args{&dr, &da, &db};
    const bool fma = vx::cpu::fma, wide = vx::cpu::avx512;
    vx::cpu::fma = vx::cpu::avx512 = false;
    ulx_gmd2(&args);
    vx::cpu::fma = fma, vx::cpu::avx512 = wide;
    got.assign(want.size(), 0.0);
    n[0] += (avx512 ? fma_matmul_avx512 : fma_matmul_avx2)(
        read_operand(da, 8), read_operand(db, 8), reinterpret_cast<unsigned char *>(got.data()),
        s.m, s.k, s.n);
    n[1] += std::int64_t(s.m) * s.n * ((s.k + 7) / 8);
    ASSERT_EQ(0, std::memcmp(got.data(), want.data(), got.size() * 8))
        << kind << " " << s.m << "x" << s.k << "x" << s.n;
  }
}

// DGEMV's column groups (g = 1, 2, 8) against x87_gemv_group row by row.
void gemv(Data &d, int kind, bool avx512, Count &n) {
  if (!avx512) return;
  const std::int32_t rows = 20003, lda = 20011;
  for (int g : {1, 2, 8}) {
    const std::vector<double> a = d.fill(kind, 0, std::size_t(lda) * g, 1, g),
                              t = d.fill(kind, 1, g, g, g), w = d.fill(kind, 2, rows, 1, 1);
    std::vector<double> want = w, got = w;
    for (std::int32_t i = 0; i < rows; ++i)
      want[i] = x87_gemv_group(w[i], a.data() + i, lda, t.data(), g);
    n[0] += fma_gemv_group_avx512(got.data(), a.data(), lda, t.data(), g, rows), n[1] += rows;
    ASSERT_EQ(0, std::memcmp(got.data(), want.data(), rows * 8)) << kind << " g " << g;
  }
}

TEST(FmaPanels, AsTheRegister) {
  if (!vx::cpu::fma) GTEST_SKIP() << "no fused multiply-add on this processor";
  // Share of sums left to the register: the block kernel keeps uniform data mostly on the SIMD
  // unit, cancelling, integer, wide (a loose bound) and edge sums in the register; MATMUL and
  // DGEMV leave some cancelling and edge sums to it.
  const struct {
    void (*run)(Data &, int, bool, Count &);
    double most[kKinds], least[kKinds];
  } routes[] = {{block, {0.25, 1, 0.2, 1, 1}, {0, 0.5, 0.01, 0.5, 0.05}},
                {matmul, {1, 1, 1, 1, 1}, {0, 1e-9, 0, 0, 1e-9}},
                {gemv, {1, 1, 1, 1, 1}, {0, 1e-9, 0, 0, 1e-9}}};
  Data d;
  for (bool avx512 : {false, true})
    for (const auto &r : routes)
      for (int kind = 0; kind < kKinds && (!avx512 || vx::cpu::avx512); ++kind) {
        Count n = {0, 0};
        r.run(d, kind, avx512, n);
        if (n[1] == 0) continue;
        const double share = double(n[0]) / double(n[1]);
        EXPECT_LE(share, r.most[kind]) << (&r - routes) << " kind " << kind << " avx512 " << avx512;
        EXPECT_GE(share, r.least[kind])
            << (&r - routes) << " kind " << kind << " avx512 " << avx512;
      }
}

}  // namespace
