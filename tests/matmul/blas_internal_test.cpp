// g_mt22blasd and g_mt21blasd against the references of
// support/matmul_reference.h, bit for bit, over shapes, transposes, leading
// dimensions, increments, alpha and beta; the block sizes, the character
// test, the argument checks that return silently and error 1375.
#include <gtest/gtest.h>
#include <vexmorg/vexmorg.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "common/cpu.h"
#include "matmul/blas.h"
#include "support/matmul_reference.h"
#include "support/recorder.h"
#include "support/sampling.h"

namespace {

using vx::matmul::i32;
using Bits = std::vector<std::uint64_t>;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

Bits bits_of(const std::vector<double> &v) {
  Bits b(v.size());
  std::memcpy(b.data(), v.data(), v.size() * 8);
  return b;
}

// A descriptor over `p` with its own stride and extent integers.
struct Desc {
  std::int32_t stride[2], extent[2];
  ArrayDescriptor d{};
  Desc(const double *p, std::int32_t e0, std::int32_t e1 = 1, std::int32_t s0 = 8)
      : stride{s0, 0}, extent{e0, e1} {
    d.data_address = const_cast<double *>(p), d.rank = 2;
    d.dim[0] = {&stride[0], &extent[0]}, d.dim[1] = {&stride[1], &extent[1]};
  }
  Desc(const Desc &) = delete;
};

struct Rng {
  std::mt19937_64 g;
  std::int32_t pick(std::initializer_list<std::int32_t> v) { return v.begin()[g() % v.size()]; }
  // Random significands over a few binades, signs mixed; now and then a
  // zero, and (with `special`) an infinity or a NaN.
  double value(bool special = false) {
    const std::uint64_t r = g();
    if (special && r % 97 == 0) return r & 256 ? kNaN : -INFINITY;
    if (r % 53 == 0) return r & 256 ? 0.0 : -0.0;
    const double m = std::ldexp(double(g() >> 11), -53 + int(r % 7) - 3);
    return r & 128 ? -m : m;
  }
  std::vector<double> values(std::size_t n, bool special = false) {
    std::vector<double> v(n);
    for (double &x : v) x = value(special);
    return v;
  }
  double scalar() {
    const std::int32_t k = pick({0, 1, 2, 3, 3});
    return k == 0 ? 0.0 : k == 1 ? 1.0 : k == 2 ? -1.0 : value();
  }
};

// The processor's SIMD routes, or (off) the register alone, for one call.
struct Features {
  const bool fma = vx::cpu::fma, avx512 = vx::cpu::avx512;
  explicit Features(bool off) {
    if (off) vx::cpu::fma = vx::cpu::avx512 = false;
  }
  ~Features() { vx::cpu::fma = fma, vx::cpu::avx512 = avx512; }
};

// ---- DGEMM ------------------------------------------------------------------

struct Gemm {
  char ta = 'N', tb = 'N';
  std::int32_t m, n, k, lda, ldb, ldc, ldd = 0;
  double alpha = 1, beta = 0;
  std::vector<double> a = {}, b = {}, c = {}, d = {};
  bool with_d = false;

  // g_mt22blasd with A of extents (m, k) or, transposed, (k, m); the
  // leading dimensions as given (a 0 passes as it is).
  void call(std::int32_t pass_lda, std::int32_t pass_ldb) {
    const bool at = ta == 'T', bt = tb == 'T';
    Desc da(a.data(), at ? k : m, at ? m : k), db(b.data(), bt ? n : k, bt ? k : n),
        dc(c.data(), 0), dd(d.data(), 0);
    const GemmCallArgs args{&dc.d, &da.d,     &db.d,     with_d ? &dd.d : nullptr,
                            &ta,   &tb,       &alpha,    &beta,
                            &ldc,  &pass_lda, &pass_ldb, &ldd};
    g_mt22blasd(&args);
  }
};

TEST(Gemm, BlockSizes) {
  const struct {
    i32 m, n, k, lda, ldb, kb, mb, nb;
    bool pack;
  } rows[] = {
      // K = 65 uses panels of 56 and 9; K = 72 uses 64 and 8; K = 129 uses 56, 56 and 17.
      {10, 10, 65, 10, 65, 56, 10, 8, false},
      {10, 10, 72, 10, 72, 64, 10, 8, false},
      {10, 10, 129, 10, 129, 56, 10, 8, false},
      // N = 257 uses column blocks of 224 and 33; N = 300 uses 256 and 44; N = 100 uses 96
      // and 4; N = 5 uses five blocks of 1.
      {8, 257, 8, 8, 8, 8, 8, 224, false},
      {8, 300, 8, 8, 8, 8, 8, 256, false},
      {8, 100, 8, 8, 8, 8, 8, 96, false},
      {8, 5, 8, 8, 8, 8, 8, 1, false},
      {8, 287, 8, 8, 8, 8, 8, 248, false},  // r = 31: 224 + 8 floor(31/8)
      {71, 64, 64, 71, 64, 64, 56, 64, false},
      // pack: K > kb and (min(LDA,1024) + 64) kb + min(LDB,1024) nb > 245760
      {64, 256, 128, 1024, 688, 64, 64, 256, false},  // 69632 + 176128 = 245760 exactly
      {64, 256, 128, 1024, 689, 64, 64, 256, true},
      {64, 256, 128, 5000, 689, 64, 64, 256, true},
      {64, 256, 64, 4096, 4096, 64, 64, 256, false},  // K = kb: never packed
  };
  for (const auto &r : rows) {
    const vx::matmul::GemmBlocks g = vx::matmul::gemm_blocks(r.m, r.n, r.k, r.lda, r.ldb);
    EXPECT_EQ(g.kb, r.kb) << r.k;
    EXPECT_EQ(g.mb, r.mb) << r.m;
    EXPECT_EQ(g.nb, r.nb) << r.n;
    EXPECT_EQ(g.pack, r.pack) << r.lda << " " << r.ldb;
  }
}

TEST(Gemm, Lsame) {
  // 1 when the first characters are equal ignoring ASCII case, else 0.
  const struct {
    char a, b;
    std::int32_t want;
  } rows[] = {{'t', 'T', 1}, {'t', 'N', 0}, {'T', 't', 1}, {'n', 'N', 1},
              {'[', '{', 0}, {'@', '`', 0}, {'z', 'Z', 1}, {'\xe1', '\xc1', 0}};
  for (const auto &r : rows) EXPECT_EQ(vx::matmul::ulx_glsame(&r.a, &r.b, 1, 1), r.want) << r.a;
}

// C after a panel boundary: row i of A holds 1, 2^-54, 2^-54, 2^-60 from
// term s and -2^-52 at term t, B all ones. Rounded at a boundary between s
// and t, C is 1; summed in one panel, 1 - 2^-53 + 2^-60.
TEST(Gemm, RoundsAfterEachPanel) {
  const struct {
    std::int32_t k, s, t;
    std::uint64_t want;
  } rows[] = {
      {65, 0, 56, 0x3ff0000000000000},  // K = 65: panels of 56 and 9
      {65, 0, 55, 0x3fefffffffffffff},
      {72, 0, 56, 0x3fefffffffffffff},  // K = 72: 64 and 8
      {72, 0, 64, 0x3ff0000000000000},
      {129, 56, 112, 0x3ff0000000000000},  // K = 129: 56, 56 and 17
      {129, 56, 111, 0x3fefffffffffffff},
      {129, 112, 128, 0x3fefffffffffffff},
  };
  for (const auto &r : rows)
    for (char tb : {'N', 'T'}) {
      Gemm g{'N', tb, 1, 1, r.k, 1, tb == 'T' ? 1 : r.k, 1};
      g.a.assign(r.k, 0.0), g.b.assign(r.k, 1.0), g.c = {kNaN};
      g.a[r.s] = 1, g.a[r.s + 1] = g.a[r.s + 2] = 0x1p-54, g.a[r.s + 3] = 0x1p-60;
      g.a[r.t] = -0x1p-52;
      g.call(g.lda, g.ldb);
      EXPECT_EQ(std::bit_cast<std::uint64_t>(g.c[0]), r.want) << r.k << " " << r.t << tb;
    }
}

TEST(Gemm, MatchesTheReferenceBitForBit) {
  Rng rng{std::mt19937_64(20261206)};
  std::uint64_t runs = support::scaled(400);
  for (std::uint64_t t = 0; t < runs; ++t) {
    Gemm g;
    g.ta = "NT"[rng.g() % 2], g.tb = "NT"[rng.g() % 2];
    g.m = rng.pick({0, 1, 2, 3, 7, 17, 64, 65, 71, 130});
    g.n = rng.pick({0, 1, 2, 5, 9, 100, 257});
    g.k = rng.pick({0, 1, 2, 8, 9, 56, 63, 64, 65, 72, 129, 200});
    if (double(g.m) * g.n * g.k > 4e5 * (t % 4 == 0 ? 1 : 0.05)) g.n = rng.pick({1, 3, 9});
    const bool at = g.ta == 'T', bt = g.tb == 'T';
    g.lda = std::max(1, at ? g.k : g.m) + rng.pick({0, 0, 1, 5});
    g.ldb = std::max(1, bt ? g.n : g.k) + rng.pick({0, 0, 3});
    g.ldc = std::max(1, g.m) + rng.pick({0, 0, 2});
    g.alpha = rng.scalar(), g.beta = rng.scalar();
    const bool special = t % 8 == 7;
    g.a = rng.values(std::size_t(g.lda) * (at ? g.m : g.k) + 1, special);
    g.b = rng.values(std::size_t(g.ldb) * (bt ? g.k : g.n) + 1, special);
    g.c = rng.values(std::size_t(g.ldc) * g.n + 1, special);
    g.with_d = rng.g() % 3 == 0;
    g.ldd = std::max(1, g.m) + rng.pick({0, 4});
    g.d = rng.values(std::size_t(g.ldd) * g.n + 1);
    std::vector<double> want = g.c;
    support::gemm_reference(at, bt, g.m, g.n, g.k, g.alpha, g.a.data(), g.lda, g.b.data(), g.ldb,
                            g.beta, want.data(), g.ldc);
    for (std::int32_t j = 0; g.with_d && j < g.n; ++j)
      for (std::int32_t i = 0; i < g.m; ++i)
        want[i + j * g.ldc] =
            static_cast<double>(static_cast<long double>(want[i + j * g.ldc]) + g.d[i + j * g.ldd]);
    support::Recorder rec;
    const Features features(t % 2 == 1);  // every other product in the register alone
    g.call(g.lda, g.ldb);
    EXPECT_TRUE(rec.reports.empty());
    ASSERT_EQ(bits_of(g.c), bits_of(want))
        << "simd " << vx::cpu::fma << " " << g.ta << g.tb << " m " << g.m << " n " << g.n << " k "
        << g.k << " lda " << g.lda << " ldb " << g.ldb << " ldc " << g.ldc << " alpha " << g.alpha
        << " beta " << g.beta;
  }
}

// Quick returns and the checks that return with C unchanged and nothing
// reported; C starts as NaN, -0 and 2.
TEST(Gemm, QuickReturnsAndSilentChecks) {
  const std::vector<double> start = {kNaN, -0.0, 2.0, kNaN};
  const struct {
    char ta, tb;
    std::int32_t m, n, k, lda, ldb, ldc;
    double alpha, beta;
    std::vector<double> want;  // C afterwards; empty: unchanged
  } rows[] = {
      {'N', 'N', 0, 2, 2, 1, 2, 1, 1, 0, {}},  // M = 0 or N = 0: C is untouched
      {'N', 'N', 2, 0, 2, 2, 2, 2, 1, 0, {}},
      // K = 0 with beta = 0: C becomes all +0 even where it held NaN; with beta = 1 untouched
      {'N', 'N', 2, 2, 0, 2, 1, 2, 1, 0, {0.0, 0.0, 0.0, 0.0}},
      {'N', 'N', 2, 2, 0, 2, 1, 2, 1, 1, {}},
      {'N', 'N', 2, 2, 0, 2, 1, 2, 1, -3, {kNaN, 0.0, -6.0, kNaN}},
      // alpha = 0 and beta = 0: C becomes +0 without reading A or B
      {'N', 'N', 2, 2, 3, 2, 3, 2, 0, 0, {0.0, 0.0, 0.0, 0.0}},
      {'N', 'N', 2, 2, 3, 2, 3, 2, 0, 1, {}},
      // LDA smaller than NROWA: C unchanged and no error reported; likewise LDB, LDC
      {'N', 'N', 2, 2, 3, 1, 3, 2, 1, 0, {}},
      {'T', 'N', 2, 2, 3, 2, 3, 2, 1, 0, {}},
      {'N', 'N', 2, 2, 3, 2, 2, 2, 1, 0, {}},
      {'N', 'T', 2, 2, 3, 2, 1, 2, 1, 0, {}},
      {'N', 'N', 2, 2, 3, 2, 3, 1, 1, 0, {}},
      {'X', 'N', 2, 2, 3, 2, 3, 2, 1, 0, {}},  // TRANSA not N, C or T
      {'N', 'x', 2, 2, 3, 2, 3, 2, 1, 0, {}},
      {'N', 'N', -1, 2, 3, 2, 3, 2, 1, 0, {}},  // M, N, K below 0
      {'N', 'N', 2, -1, 3, 2, 3, 2, 1, 0, {}},
      {'N', 'N', 2, 2, -1, 2, 3, 2, 1, 0, {}},
  };
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

// Inner extents that differ: error 1375 with no values, C and every
// descriptor untouched; only "T" transposes in the shape test.
TEST(Gemm, EntryShapes) {
  const struct {
    char ta, tb;
    std::int32_t a1, a2, b1, b2;
    bool reports;
  } rows[] = {
      {'N', 'N', 3, 4, 5, 2, true},   // A 3-by-4, B 5-by-2, both "N": error 1375
      {'T', 'N', 5, 3, 5, 2, false},  // TRANSA "T", A 5-by-3, B 5-by-2: a 3-by-2 product
      {'N', 'T', 3, 4, 2, 4, false},  {'N', 'T', 3, 4, 4, 2, true},
      {'N', 'N', 3, -2, 0, 2, false},  // extents below zero count as zero
  };
  for (const auto &r : rows) {
    std::vector<double> a(20, 1.5), b(20, 2.0), c(6, kNaN);
    Desc da(a.data(), r.a1, r.a2), db(b.data(), r.b1, r.b2), dc(c.data(), 7, 7);
    const char ta = r.ta, tb = r.tb;
    const double alpha = 1, beta = 0;
    const std::int32_t ldc = 3, lda = ta == 'T' ? 5 : 3, ldb = tb == 'T' ? 2 : 5;
    const GemmCallArgs args{&dc.d,  &da.d, &db.d, nullptr, &ta,  &tb,
                            &alpha, &beta, &ldc,  &lda,    &ldb, nullptr};
    support::Recorder rec;
    g_mt22blasd(&args);
    ASSERT_EQ(rec.reports.size(), r.reports ? 1u : 0u);
    if (r.reports) {
      EXPECT_EQ(rec.reports[0].number, 1375);
      EXPECT_EQ(rec.reports[0].value_count, 0);
      EXPECT_TRUE(std::isnan(c[0]));
    } else {
      EXPECT_EQ(c[5], 3.0 * (ta == 'T' ? r.a1 : std::max(r.a2, 0)));  // K products 1.5 * 2
    }
    EXPECT_EQ(dc.stride[0] | dc.extent[0], 15) << "the result descriptor is only read";
  }
}

// ---- DGEMV ------------------------------------------------------------------

struct Gemv {
  char trans = 'N';
  std::int32_t m, n, lda, incx = 1, incy = 1, incz = 1;
  double alpha = 1, beta = 0;
  std::vector<double> a = {}, x = {}, y = {}, z = {};
  bool with_z = false;

  void call(std::int32_t xlen, std::int32_t pass_lda) {
    Desc da(a.data(), m, n), dx(x.data(), xlen, 1, 8 * incx), dy(y.data(), 0, 1, 8 * incy),
        dz(z.data(), 0, 1, 8 * incz);
    const GemvCallArgs args{&dy.d,  &da.d,  &dx.d, with_z ? &dz.d : nullptr,
                            &trans, &alpha, &beta, &pass_lda};
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
    g.alpha = rng.scalar(), g.beta = rng.scalar(), g.with_z = rng.g() % 3 == 0;
    const std::int32_t lenx = tr ? g.m : g.n, leny = tr ? g.n : g.m;
    const bool special = t % 8 == 7;
    g.a = rng.values(std::size_t(g.lda) * g.n, special);
    g.x = rng.values(std::size_t(lenx) * g.incx, special);
    g.y = rng.values(std::size_t(leny) * g.incy, special);
    g.z = rng.values(std::size_t(leny) * g.incz, special);
    std::vector<double> want = g.y;
    support::gemv_reference(tr, g.m, g.n, g.alpha, g.a.data(), g.lda, g.x.data(), g.incx,
                            g.with_z ? g.z.data() : nullptr, g.incz, g.beta, want.data(), g.incy);
    const Features features(t % 2 == 1);
    g.call(lenx, g.lda);
    ASSERT_EQ(bits_of(g.y), bits_of(want))
        << "simd " << vx::cpu::avx512 << " " << g.trans << " m " << g.m << " n " << g.n << " incx "
        << g.incx << " incy " << g.incy << " z " << g.with_z << " alpha " << g.alpha << " beta "
        << g.beta;
  }
}

// Fixed cases through g_mt21blasd: y starts as NaN, 2, 4.
TEST(Gemv, EntryEdgeCases) {
  const struct {
    char trans;
    std::int32_t m, n, xlen, lda;
    double beta;
    bool reports;
    std::vector<double> want;  // y afterwards
  } rows[] = {
      // A 3-by-0 matrix with LDA 3 times an empty vector gives y = beta*y over three
      // elements (0 with beta = 0)
      {'N', 3, 0, 0, 3, 0, false, {0, 0, 0}},
      {'N', 3, 0, 0, 3, 0.5, false, {kNaN, 1, 2}},
      {'T', 0, 3, 0, 1, 0.5, false, {kNaN, 1, 2}},
      // TRANS "T" with A 4-by-3 and x of extent 3 reports 1375; with x of extent 4 it
      // gives three results (A all 1, x all 0.25)
      {'T', 4, 3, 3, 4, 0, true, {kNaN, 2, 4}},
      {'T', 4, 3, 4, 4, 0, false, {1, 1, 1}},
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
    g.call(r.xlen, r.lda);
    ASSERT_EQ(rec.reports.size(), r.reports ? 1u : 0u) << r.trans << r.m << r.n;
    if (r.reports) {
      EXPECT_EQ(rec.reports[0].number, 1375);
    }
    EXPECT_EQ(bits_of(g.y), bits_of(r.want)) << r.trans << " " << r.m << " " << r.n;
  }
}

// M = 127 and M = 128 take different kernels: row i of A holds 1, 2^-54,
// 2^-54, -2^-52 and zeros over 8 columns, x all 1. Eight columns at once
// (short columns) give 1 - 2^-53; pairs (long columns) round 1 + 2^-54 to
// 1 first, then 1 - 3 2^-54 to even, 1 - 2^-52.
TEST(Gemv, KernelGroupsRoundAtTheirOwnBoundaries) {
  for (std::int32_t m : {127, 128}) {
    Gemv g{'N', m, 8, m};
    g.a.assign(std::size_t(m) * 8, 0.0), g.x.assign(8, 1.0), g.y.assign(m, 0.0);
    for (std::int32_t i = 0; i < m; ++i)
      g.a[i] = 1, g.a[i + m] = g.a[i + 2 * m] = 0x1p-54, g.a[i + 3 * m] = -0x1p-52;
    g.call(8, m);
    const std::uint64_t want = m < 128 ? 0x3fefffffffffffff : 0x3feffffffffffffe;
    EXPECT_EQ(bits_of(g.y), Bits(m, want)) << m;
  }
}

// The checks of the DGEMV routines, in order; each failure returns with y
// unchanged and nothing reported.
TEST(Gemv, SilentChecks) {
  const struct {
    char trans;
    std::int32_t m, n, lda, incx, incz, incy;
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
