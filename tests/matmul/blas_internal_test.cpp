// g_mt22blasd and g_mt21blasd against support/matmul_reference.h bit for bit, in the register
// and on the SIMD unit; the character test, error 1375 and the silent argument checks.
#include <gtest/gtest.h>
#include <vexmorg/vexmorg.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "common/cpu.h"
#include "matmul/blas.h"
#include "support/matmul_reference.h"
#include "support/sampling.h"

namespace {

using vx::matmul::i32;
using Bits = std::vector<std::uint64_t>;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

Bits bits_of(const std::vector<double> &v) {
  Bits b;
  for (double x : v) b.push_back(std::bit_cast<std::uint64_t>(x));
  return b;
}

// A rank-2 descriptor over p with its own stride and extent integers.
struct Desc {
  i32 stride[2], extent[2];
  ArrayDescriptor d{};
  Desc(const double *p, i32 e0, i32 e1 = 1, i32 s0 = 8) : stride{s0, 0}, extent{e0, e1} {
    d.data_address = const_cast<double *>(p), d.rank = 2;
    d.dim[0] = {&stride[0], &extent[0]}, d.dim[1] = {&stride[1], &extent[1]};
  }
};

struct Rng {
  std::mt19937_64 g;
  i32 pick(std::initializer_list<i32> v) { return v.begin()[g() % v.size()]; }
  // Random values over a few binades, now and then a zero (`special`: an infinity or NaN).
  std::vector<double> values(std::size_t n, bool special = false) {
    std::vector<double> v(n);
    for (double &x : v) {
      const std::uint64_t r = g();
      x = std::ldexp(double(g() >> 11), -53 + int(r % 7) - 3) * (r & 128 ? -1 : 1);
      if (r % 53 == 0) x = r & 256 ? 0.0 : -0.0;
      if (special && r % 97 == 0) x = r & 256 ? kNaN : -INFINITY;
    }
    return v;
  }
  double scalar() {
    return std::array<double, 5>{0.0, 1.0, -1.0, values(1)[0], values(1)[0]}[g() % 5];
  }
};

// The SIMD routes, or (off) the register alone.
struct Features {
  const bool fma = vx::cpu::fma, avx512 = vx::cpu::avx512;
  explicit Features(bool off) {
    if (off) vx::cpu::fma = vx::cpu::avx512 = false;
  }
  ~Features() { vx::cpu::fma = fma, vx::cpu::avx512 = avx512; }
};

// g_mt22blasd with A (m, k) or (k, m), B (kb, n) or (n, kb); no D when d is empty.
struct Gemm {
  char ta = 'N', tb = 'N';
  i32 m, n, k, kb, lda, ldb, ldc, ldd = 1;
  double alpha = 1, beta = 0;
  std::vector<double> a = {}, b = {}, c = {}, d = {};

  // The reference, or error 1375 without values and C untouched when the inner extents differ.
  void check(bool simd_off) {
    const bool at = ta == 'T', bt = tb == 'T', conform = std::max(k, 0) == std::max(kb, 0);
    std::vector<double> want = c;
    if (conform) {
      support::gemm_reference(at, bt, m, n, std::max(k, 0), alpha, a.data(), lda ? lda : 1,
                              b.data(), ldb ? ldb : 1, beta, want.data(), ldc);
      for (i32 j = 0; !d.empty() && j < n; ++j)
        for (i32 i = 0; i < m; ++i)
          want[i + j * ldc] = double(static_cast<long double>(want[i + j * ldc]) + d[i + j * ldd]);
    }
    Desc da(a.data(), at ? k : m, at ? m : k), db(b.data(), bt ? n : kb, bt ? kb : n),
        dc(c.data(), 7, 7), dd(d.data(), 0);
    const GemmCallArgs args{&dc.d, &da.d, &db.d,  d.empty() ? nullptr : &dd.d,
                            &ta,   &tb,   &alpha, &beta,
                            &ldc,  &lda,  &ldb,   &ldd};
    support::Recorder rec;
    const Features features(simd_off);
    g_mt22blasd(&args);
    ASSERT_EQ(rec.reports.size(), conform ? 0u : 1u);
    EXPECT_TRUE(conform || (rec.reports[0].number == 1375 && rec.reports[0].value_count == 0));
    EXPECT_EQ(dc.stride[0] | dc.extent[0], 15) << "the result descriptor is only read";
    ASSERT_EQ(bits_of(c), bits_of(want))
        << "simd off " << simd_off << " " << ta << tb << " m " << m << " n " << n << " k " << k
        << " lda " << lda << " ldb " << ldb << " alpha " << alpha << " beta " << beta;
  }
};

// Fixed rows with A all 1.5, B all 2 (only "T" transposes in the shape test), then random ones.
TEST(Gemm, MatchesTheReferenceBitForBit) {
  const struct {
    char ta, tb;
    i32 m, n, k, kb, lda, ldb;
  } rows[] = {
      {'N', 'N', 3, 2, 4, 5, 3, 5},  // A 3-by-4, B 5-by-2, both "N": error 1375
      {'T', 'N', 3, 2, 5, 5, 5, 5},  // TRANSA "T" and A 5-by-3, B 5-by-2: a 3-by-2 product
      {'t', 'N', 5, 2, 3, 5, 5, 5},  // A 5-by-3 with "t" is not transposed: 1375
      {'N', 'T', 3, 2, 4, 4, 3, 2},  {'N', 'T', 3, 4, 4, 2, 3, 4},
      {'N', 'N', 3, 2, -2, 0, 3, 1},  // extents below zero count as zero
      {'N', 'N', 1, 2, 4, 4, 0, 4},   // LDA 0 is replaced by 1
  };
  for (const auto &r : rows) {
    Gemm g{r.ta, r.tb, r.m, r.n, r.k, r.kb, r.lda, r.ldb, 3};
    g.a.assign(20, 1.5), g.b.assign(20, 2.0), g.c.assign(6, kNaN);
    g.check(false);
  }
  Rng rng{std::mt19937_64(20261206)};
  for (std::uint64_t t = 0; t < support::scaled(400); ++t) {
    Gemm g;
    g.ta = "NT"[rng.g() % 2], g.tb = "NT"[rng.g() % 2];
    g.m = rng.pick({0, 1, 2, 3, 7, 17, 64, 65, 71, 130});
    g.n = rng.pick({0, 1, 2, 5, 9, 100, 257});
    g.kb = g.k = rng.pick({0, 1, 2, 8, 9, 56, 63, 64, 65, 72, 129, 200});
    if (double(g.m) * g.n * g.k > 4e5 * (t % 4 == 0 ? 1 : 0.05)) g.n = rng.pick({1, 3, 9});
    const bool at = g.ta == 'T', bt = g.tb == 'T', wide = g.n > 200;  // wide: B packed
    g.lda = std::max(1, at ? g.k : g.m) + (wide ? 300 : rng.pick({0, 0, 1, 5}));
    g.ldb = std::max(1, bt ? g.n : g.k) + (wide ? 1024 : rng.pick({0, 0, 3}));
    g.ldc = std::max(1, g.m) + rng.pick({0, 0, 2});
    g.alpha = rng.scalar(), g.beta = rng.scalar();
    const bool special = t % 8 == 7;
    g.a = rng.values(std::size_t(g.lda) * (at ? g.m : g.k) + 1, special);
    g.b = rng.values(std::size_t(g.ldb) * (bt ? g.k : g.n) + 1, special);
    g.c = rng.values(std::size_t(g.ldc) * g.n + 1, special);
    g.ldd = std::max(1, g.m) + rng.pick({0, 4});
    if (rng.g() % 3 == 0) g.d = rng.values(std::size_t(g.ldd) * g.n + 1);
    g.check(t % 2 == 1);  // every other product in the register alone
  }
}

// Quick returns and checks of ulx_gdgemm, nothing reported; C starts as NaN, -0, 2, NaN.
TEST(Gemm, QuickReturnsAndSilentChecks) {
  const std::vector<double> start = {kNaN, -0.0, 2.0, kNaN};
  const struct {
    char ta, tb;
    i32 m, n, k, lda, ldb, ldc;
    double alpha, beta;
    std::vector<double> want;  // C afterwards; empty: unchanged
  } rows[] = {
      // M = 0 or N = 0: C untouched. K = 0 with beta = 0: C all +0 even over NaN; beta = 1:
      // untouched. alpha = 0 and beta = 0: C becomes +0 without reading A or B.
      {'N', 'N', 0, 2, 2, 1, 2, 1, 1, 0, {}},
      {'N', 'N', 2, 0, 2, 2, 2, 2, 1, 0, {}},
      {'N', 'N', 2, 2, 0, 2, 1, 2, 1, 0, {0.0, 0.0, 0.0, 0.0}},
      {'N', 'N', 2, 2, 0, 2, 1, 2, 1, 1, {}},
      {'N', 'N', 2, 2, 0, 2, 1, 2, 1, -3, {kNaN, 0.0, -6.0, kNaN}},
      {'N', 'N', 2, 2, 3, 2, 3, 2, 0, 0, {0.0, 0.0, 0.0, 0.0}},
      {'N', 'N', 2, 2, 3, 2, 3, 2, 0, 1, {}},
      // LDA below NROWA: C unchanged, no error; likewise LDB, LDC, TRANS not N/C/T, M, N, K < 0.
      {'N', 'N', 2, 2, 3, 1, 3, 2, 1, 0, {}},
      {'T', 'N', 2, 2, 3, 2, 3, 2, 1, 0, {}},
      {'N', 'N', 2, 2, 3, 2, 2, 2, 1, 0, {}},
      {'N', 'T', 2, 2, 3, 2, 1, 2, 1, 0, {}},
      {'N', 'N', 2, 2, 3, 2, 3, 1, 1, 0, {}},
      {'X', 'N', 2, 2, 3, 2, 3, 2, 1, 0, {}},
      {'N', 'x', 2, 2, 3, 2, 3, 2, 1, 0, {}},
      {'N', 'N', -1, 2, 3, 2, 3, 2, 1, 0, {}},
      {'N', 'N', 2, -1, 3, 2, 3, 2, 1, 0, {}},
      {'N', 'N', 2, 2, -1, 2, 3, 2, 1, 0, {}}};
  for (const auto &r : rows) {
    std::vector<double> c = start;
    support::Recorder rec;
    const double *none = nullptr;  // A and B never read
    vx::matmul::ulx_gdgemm(&r.ta, &r.tb, &r.m, &r.n, &r.k, &r.alpha, none, &r.lda, none, &r.ldb,
                           &r.beta, c.data(), &r.ldc);
    EXPECT_TRUE(rec.reports.empty());
    EXPECT_EQ(bits_of(c), bits_of(r.want.empty() ? start : r.want))
        << r.ta << r.tb << " " << r.m << " " << r.n << " " << r.k;
  }
}

TEST(Gemm, Lsame) {
  // 1 when the first characters are equal ignoring ASCII case, else 0.
  const struct {
    char a, b;
    std::int32_t want;
  } rows[] = {{'t', 'T', 1}, {'t', 'N', 0}, {'T', 't', 1}, {'n', 'N', 1},      {'[', '{', 0},
              {'{', '[', 0}, {'@', '`', 0}, {'z', 'Z', 1}, {'\xe1', '\xc1', 0}};
  for (const auto &r : rows) EXPECT_EQ(vx::matmul::ulx_glsame(&r.a, &r.b, 1, 1), r.want) << r.a;
}

struct Gemv {
  char trans = 'N';
  i32 m, n, lda, incx = 1, incy = 1, incz = 1;
  double alpha = 1, beta = 0;
  std::vector<double> a = {}, x = {}, y = {}, z = {};  // no z when empty

  void call(i32 xlen) {
    Desc da(a.data(), m, n), dx(x.data(), xlen, 1, 8 * incx), dy(y.data(), 0, 1, 8 * incy),
        dz(z.data(), 0, 1, 8 * incz);
    const GemvCallArgs args{&dy.d,  &da.d,  &dx.d, z.empty() ? nullptr : &dz.d,
                            &trans, &alpha, &beta, &lda};
    g_mt21blasd(&args);
  }
};

TEST(Gemv, MatchesTheReferenceBitForBit) {
  Rng rng{std::mt19937_64(20261207)};
  for (std::uint64_t t = 0; t < support::scaled(600); ++t) {
    Gemv g;
    g.trans = "NT"[rng.g() % 2];
    const bool tr = g.trans == 'T';
    g.m = rng.pick({1, 2, 7, 9, 127, 128, 130, 600, 1000});
    g.n = rng.pick({1, 2, 3, 8, 9, 17, 130});
    g.lda = g.m + rng.pick({0, 0, 3});
    g.incx = rng.pick({1, 1, 2, 3}), g.incy = rng.pick({1, 1, 2}), g.incz = rng.pick({1, 3});
    g.alpha = rng.scalar(), g.beta = rng.scalar();
    const i32 lenx = tr ? g.m : g.n, leny = tr ? g.n : g.m;
    const bool special = t % 8 == 7;
    g.a = rng.values(std::size_t(g.lda) * g.n, special);
    g.x = rng.values(std::size_t(lenx) * g.incx, special);
    g.y = rng.values(std::size_t(leny) * g.incy, special);
    if (rng.g() % 3 == 0) g.z = rng.values(std::size_t(leny) * g.incz, special);
    std::vector<double> want = g.y;
    support::gemv_reference(tr, g.m, g.n, g.alpha, g.a.data(), g.lda, g.x.data(), g.incx,
                            g.z.empty() ? nullptr : g.z.data(), g.incz, g.beta, want.data(),
                            g.incy);
    const Features features(t % 2 == 1);
    g.call(lenx);
    ASSERT_EQ(bits_of(g.y), bits_of(want))
        << "simd off " << t % 2 << " " << g.trans << " m " << g.m << " n " << g.n << " incx "
        << g.incx << " alpha " << g.alpha << " beta " << g.beta;
  }
}

// Fixed cases through g_mt21blasd: A all 1, x all 0.25, y starts as NaN, 2, 4.
TEST(Gemv, EntryEdgeCases) {
  const struct {
    char trans;
    i32 m, n, xlen, lda;
    double beta;
    bool reports;
    std::vector<double> want;  // y afterwards
  } rows[] = {
      // A 3-by-0 matrix with LDA 3 times an empty vector gives y = beta*y (0 for beta = 0)
      {'N', 3, 0, 0, 3, 0, false, {0, 0, 0}},
      {'N', 3, 0, 0, 3, 0.5, false, {kNaN, 1, 2}},
      {'T', 0, 3, 0, 1, 0.5, false, {kNaN, 1, 2}},
      // TRANS "T" with A 4-by-3 and x of extent 3 reports 1375
      {'T', 4, 3, 3, 4, 0, true, {kNaN, 2, 4}},
      {'N', 3, 2, 3, 3, 0, true, {kNaN, 2, 4}},
      // beta = 0 with y holding NaN gives finite results
      {'N', 3, 2, 2, 3, 0, false, {0.5, 0.5, 0.5}},
      // LDA = 0 passed to g_mt21blasd is taken as 1
      {'T', 1, 3, 1, 0, 0, false, {0.25, 0.25, 0.25}},
      // an LDA below M leaves y unchanged
      {'N', 3, 2, 2, 2, 0, false, {kNaN, 2, 4}},
  };
  for (const auto &r : rows) {
    Gemv g{r.trans, r.m, r.n, r.lda};
    g.beta = r.beta, g.a.assign(12, 1.0), g.x.assign(4, 0.25), g.y = {kNaN, 2, 4};
    support::Recorder rec;
    g.call(r.xlen);
    ASSERT_EQ(rec.reports.size(), r.reports ? 1u : 0u) << r.trans << r.m << r.n;
    EXPECT_TRUE(!r.reports || (rec.reports[0].number == 1375 && rec.reports[0].value_count == 0));
    EXPECT_EQ(bits_of(g.y), bits_of(r.want)) << r.trans << " " << r.m << " " << r.n;
  }
}

// The checks of the DGEMV routines: each failure returns with y unchanged, nothing reported.
TEST(Gemv, SilentChecks) {
  const struct {
    char trans;
    i32 m, n, lda, incx, incz, incy;
  } rows[] = {
      {'X', 2, 2, 2, 1, 1, 1}, {'N', -1, 2, 2, 1, 1, 1}, {'N', 2, -1, 2, 1, 1, 1},
      {'N', 2, 2, 1, 1, 1, 1}, {'N', 2, 2, 2, 0, 1, 1},  {'N', 2, 2, 2, 1, 0, 1},
      {'N', 2, 2, 2, 1, 1, 0}, {'t', 2, 2, 1, 1, 1, 1},
  };
  const double a[4] = {1, 2, 3, 4}, x[2] = {1, 1}, z[2] = {5, 5}, alpha = 1, beta = 0.5;
  for (const auto &r : rows)
    for (bool with_z : {false, true}) {
      double y[2] = {kNaN, 8};
      support::Recorder rec;
      if (with_z)
        vx::matmul::ulx_gdgemva(&r.trans, &r.m, &r.n, &alpha, a, &r.lda, x, &r.incx, z, &r.incz,
                                &beta, y, &r.incy);
      else if (r.incz != 0)
        vx::matmul::ulx_gdgemv(&r.trans, &r.m, &r.n, &alpha, a, &r.lda, x, &r.incx, &beta, y,
                               &r.incy);
      EXPECT_TRUE(rec.reports.empty());
      EXPECT_TRUE(std::isnan(y[0]) && y[1] == 8) << r.trans << r.m << r.n << with_z;
    }
}

}  // namespace
