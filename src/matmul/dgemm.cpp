// The DGEMM routines: ulx_glsame, ulx_gdgemm, ulx_gdgemmx (blocking,
// packing, the block kernel) and ulx_gdl_gema.
//
// ulx_gdgemmx computes C = alpha op(A) op(B) + beta C in panels of the
// inner dimension: per panel, every C(i,j) starts an 80-bit accumulator at
// factor * C(i,j) (beta on the first panel, 1 on later ones; 0 starts at
// +0 without reading C), adds the panel's products in increasing l and is
// stored, rounded to Real8. alpha scales op(A) while it is packed, or op(B)
// when B is transposed; every product with alpha (and with beta) is formed
// in the 80-bit format and rounded when it is stored. Row and column blocks
// only choose the order in which elements are visited: the result depends
// on the panel depth kb alone.
//
// Invalid arguments return at once with C unchanged; nothing is reported.
#include <algorithm>
#include <cstddef>

#include "matmul/blas.h"
#include "matmul/gemm_kernel.h"

namespace vx::matmul {
namespace {

using ld = long double;
using idx = std::ptrdiff_t;

constexpr i32 kBuf = 64;     // leading dimension of both panel buffers
constexpr i32 kBCols = 256;  // columns of the B panel buffer

// 64, or 56 when the extent is above 64 with a remainder of 1 to 7 over a
// multiple of 64 (no block of fewer than 8); at most the extent.
i32 block64(i32 e) {
  const i32 r = e % 64;
  return std::min(e > 64 && r >= 1 && r <= 7 ? 56 : 64, e);
}

double scaled(double f, double x) { return static_cast<double>(static_cast<ld>(f) * x); }

}  // namespace

std::int32_t ulx_glsame(const char *ca, const char *cb, i32, i32) {
  const unsigned char a = static_cast<unsigned char>(*ca), b = static_cast<unsigned char>(*cb);
  if (a == b) return 1;
  const int ua = a >= 97 && a <= 122 ? a - 32 : a, ub = b >= 97 && b <= 122 ? b - 32 : b;
  return ua == ub;
}

GemmBlocks gemm_blocks(i32 m, i32 n, i32 k, i32 lda, i32 ldb) {
  GemmBlocks g{block64(k), block64(m), 0, false};
  const i32 r = n % 256;
  if (n > 256 && r >= 1 && r <= 31) {
    g.nb = 224 + 8 * (r / 8);
  } else {
    g.nb = std::min(n, 256) / 8 * 8;
    if (g.nb < 2) g.nb = 1;
  }
  // (min(LDA,1024) + 64) kb + min(LDB,1024) nb over 240 * 1024
  const long long load = (std::min(lda, 1024) + 64LL) * g.kb + std::min(ldb, 1024) * 1LL * g.nb;
  g.pack = k > g.kb && load > 245760;
  return g;
}

void ulx_gdgemmx(const char *transa, const char *transb, const i32 *m_, const i32 *n_,
                 const i32 *k_, const double *alpha_, const double *a, const i32 *lda_,
                 const double *b, const i32 *ldb_, const double *beta_, double *c, const i32 *ldc_,
                 double *abuf, double *bbuf, const i32 *, i32 la, i32 lb) {
  const i32 m = *m_, n = *n_, k = *k_, lda = *lda_, ldb = *ldb_, ldc = *ldc_;
  const double alpha = *alpha_, beta = *beta_;
  const bool nota = ulx_glsame(transa, "N", la, 1), notb = ulx_glsame(transb, "N", lb, 1);
  const i32 nrowa = nota ? m : k, nrowb = notb ? k : n;
  const GemmBlocks blk = gemm_blocks(m, n, k, lda, ldb);

  // Checks 1 to 13 of the published routine: return without a report.
  const auto valid_trans = [](const char *t) {
    return ulx_glsame(t, "N", 1, 1) || ulx_glsame(t, "C", 1, 1) || ulx_glsame(t, "T", 1, 1);
  };
  if (!valid_trans(transa) || !valid_trans(transb) || m < 0 || n < 0 || k < 0 ||
      lda < std::max(1, nrowa) || ldb < std::max(1, nrowb) || ldc < std::max(1, m))
    return;
  if (m == 0 || n == 0 || ((alpha == 0 || k == 0) && beta == 1)) return;
  const auto C = [&](i32 i, i32 j) -> double & { return c[i + idx{j} * ldc]; };
  if (alpha == 0 || k == 0) {  // C = beta C, column by column
    for (i32 j = 0; j < n; ++j)
      for (i32 i = 0; i < m; ++i) C(i, j) = beta == 0 ? 0.0 : scaled(beta, C(i, j));
    return;
  }
  const auto opa = [&](i32 i, i32 l) { return nota ? a[i + idx{l} * lda] : a[l + idx{i} * lda]; };
  const i32 nb = notb ? blk.nb : kBCols;
  for (i32 j0 = 0; j0 < n; j0 += nb) {
    const i32 nc = std::min(nb, n - j0);
    for (i32 l0 = 0; l0 < k; l0 += blk.kb) {
      const i32 kc = std::min(blk.kb, k - l0);
      const double factor = l0 == 0 ? beta : 1.0;
      // op(B) of the panel: alpha B(j,l) packed, B(l,j) packed or in place.
      const double *bp = bbuf;
      idx ldbp = kBuf;
      if (!notb) {
        for (i32 j = 0; j < nc; ++j)
          for (i32 l = 0; l < kc; ++l)
            bbuf[l + j * kBuf] = scaled(alpha, b[j0 + j + idx{l0 + l} * ldb]);
      } else if (blk.pack) {
        for (i32 j = 0; j < nc; ++j) std::copy_n(b + l0 + idx{j0 + j} * ldb, kc, bbuf + j * kBuf);
      } else {
        bp = b + l0 + idx{j0} * ldb, ldbp = ldb;
      }
      for (i32 i0 = 0; i0 < m; i0 += blk.mb) {
        const i32 mc = std::min(blk.mb, m - i0);
        for (i32 i = 0; i < mc; ++i)
          for (i32 l = 0; l < kc; ++l)
            abuf[l + i * kBuf] = notb ? scaled(alpha, opa(i0 + i, l0 + l)) : opa(i0 + i, l0 + l);
        block_kernel({kc, mc, nc, abuf, kBuf, bp, ldbp, &C(i0, j0), ldc, factor});
      }
    }
  }
}

void ulx_gdgemm(const char *transa, const char *transb, const i32 *m, const i32 *n, const i32 *k,
                const double *alpha, const double *a, const i32 *lda, const double *b,
                const i32 *ldb, const double *beta, double *c, const i32 *ldc) {
  alignas(64) double abuf[kBuf * kBuf];
  alignas(64) double bbuf[kBuf * kBCols];
  const i32 ldbuf = kBuf;
  ulx_gdgemmx(transa, transb, m, n, k, alpha, a, lda, b, ldb, beta, c, ldc, abuf, bbuf, &ldbuf, 1,
              1);
}

// C(i,j) = C(i,j) + D(i,j), each sum rounded to Real8 once: columns four at
// a time, then one at a time (the grouping does not change a sum).
void ulx_gdl_gema(const i32 *m_, const i32 *n_, const double *d, const i32 *ldd_, double *c,
                  const i32 *ldc_) {
  const i32 m = *m_, n = *n_;
  if (m <= 0 || n <= 0) return;
  const idx ldd = *ldd_, ldc = *ldc_;
  for (i32 j = 0; j < n; ++j)
    for (i32 i = 0; i < m; ++i)
      c[i + j * ldc] = static_cast<double>(static_cast<ld>(c[i + j * ldc]) + d[i + j * ldd]);
}

}  // namespace vx::matmul
