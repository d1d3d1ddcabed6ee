// The DGEMV routines: ulx_gdgemv (y = alpha op(A) x + beta y) and
// ulx_gdgemva (the same plus z), each with a long-column kernel (M >= 128,
// columns in groups of 2) and a short-column kernel (M < 128, groups of 8).
//
// Arithmetic, every operation in the 80-bit format, rounded to Real8 where
// a value is stored:
//   beta y             y(i) = beta * y(i); +0 without reading y when beta
//                      is 0; skipped when beta is 1
//   op(A) = A          per group of g columns, t_c = alpha * x(j+c) stored;
//                      y(i) = t_1 A(i,j) + y(i) + t_2 A(i,j+1) + ... left to
//                      right, stored once per group; leftover columns one at
//                      a time, y(i) = y(i) + t A(i,j); then y(i) = y(i) + z(i);
//                      the groups' sums on the SIMD unit where the processor
//                      has fused multiply-adds (fma_panels.h), same results
//   op(A) = A^T        per column, dot = sum of A(i,j) x(i) over the rows in
//                      increasing i; y(j) = alpha dot + y(j) (+ z(j)) in one
//                      expression when x's increment is 1; otherwise rows
//                      in blocks of 512, each block adding y(j) = y(j) +
//                      dot alpha, and z added after the last block
// A negative increment starts at the vector's far end. Non-unit increments
// are copied into work vectors of 512 elements: blocks of y for A (which
// leaves every result as it is) and blocks of x for A^T (which splits the
// dot products). Invalid arguments return at once, nothing reported.
#include <algorithm>
#include <cstddef>

#include "matmul/blas.h"
#include "matmul/fma_panels.h"

namespace vx::matmul {
namespace {

using ld = long double;
using idx = std::ptrdiff_t;

constexpr i32 kWork = 512;

double rd(ld v) { return static_cast<double>(v); }

// A strided vector: element e at p[(first + e) * inc]; a negative
// increment starts at the far end.
struct Vec {
  double *p;
  idx inc, first;
  Vec(const double *base, i32 incr, i32 len)
      : p(const_cast<double *>(base)), inc(incr), first(incr > 0 ? 0 : idx{1 - len}) {}
  double &operator[](idx e) const { return p[(first + e) * inc]; }
};

struct Gemv {
  bool notrans, with_z;
  i32 m, n;
  double alpha, beta;
  const double *a;
  idx lda;
  Vec x, z, y;
  i32 group;  // columns per group: 2 (long columns) or 8 (short)

  double A(i32 i, i32 j) const { return a[i + j * lda]; }

  // y(i0..i0+rows-1) (in w) += alpha A x, then z.
  void columns(double *w, i32 i0, i32 rows) const {
    for (i32 j = 0; j < n;) {
      const int g = n - j >= group ? group : 1;  // a group, or a leftover column
      double t[8];
      for (int c = 0; c < g; ++c) t[c] = rd(static_cast<ld>(alpha) * x[j + c]);
      const double *col = a + i0 + j * lda;
      if (fma_gemv_group(w, col, lda, t, g, rows) < 0)  // else the register, row by row
        for (i32 i = 0; i < rows; ++i) w[i] = x87_gemv_group(w[i], col + i, lda, t, g);
      j += g;
    }
    for (i32 i = 0; with_z && i < rows; ++i) w[i] = rd(static_cast<ld>(w[i]) + z[i0 + i]);
  }

  // The dot products of columns j..j+3 (those below n) over rows i0..,
  // each summed in increasing i; four at once keep the register busy.
  void dots(i32 j, const double *xs, i32 i0, i32 rows, ld *s) const {
    const double *c[4];
    for (int k = 0; k < 4; ++k) c[k] = a + i0 + (j + k < n ? j + k : j) * lda;
    ld s0 = 0, s1 = 0, s2 = 0, s3 = 0;
    for (i32 i = 0; i < rows; ++i) {
      const ld xi = xs[i];
      s0 = s0 + c[0][i] * xi, s1 = s1 + c[1][i] * xi;
      s2 = s2 + c[2][i] * xi, s3 = s3 + c[3][i] * xi;
    }
    s[0] = s0, s[1] = s1, s[2] = s2, s[3] = s3;
  }

  void run() const {
    const i32 leny = notrans ? m : n;
    for (i32 i = 0; beta != 1 && i < leny; ++i)
      y[i] = beta == 0 ? 0.0 : rd(static_cast<ld>(beta) * y[i]);
    if (alpha == 0) {
      for (i32 i = 0; with_z && i < leny; ++i) y[i] = rd(static_cast<ld>(y[i]) + z[i]);
      return;
    }
    double work[kWork];
    if (notrans && y.inc == 1) return columns(&y[0], 0, m);
    if (notrans) {
      for (i32 i0 = 0; i0 < m; i0 += kWork) {
        const i32 rows = std::min(kWork, m - i0);
        for (i32 i = 0; i < rows; ++i) work[i] = y[i0 + i];
        columns(work, i0, rows);
        for (i32 i = 0; i < rows; ++i) y[i0 + i] = work[i];
      }
      return;
    }
    ld d[4];
    if (x.inc == 1) {
      for (i32 j = 0; j < n; ++j) {
        if (j % 4 == 0) dots(j, &x[0], 0, m, d);
        const ld s = static_cast<ld>(alpha) * d[j % 4] + y[j];
        y[j] = rd(with_z ? s + z[j] : s);
      }
      return;
    }
    for (i32 i0 = 0; i0 < m; i0 += kWork) {
      const i32 rows = std::min(kWork, m - i0);
      for (i32 i = 0; i < rows; ++i) work[i] = x[i0 + i];
      for (i32 j = 0; j < n; ++j) {
        if (j % 4 == 0) dots(j, work, i0, rows, d);
        y[j] = rd(y[j] + d[j % 4] * alpha);
      }
    }
    for (i32 j = 0; with_z && j < n; ++j) y[j] = rd(static_cast<ld>(y[j]) + z[j]);
  }
};

void gemv(bool with_z, const char *trans, i32 m, i32 n, double alpha, const double *a, i32 lda,
          const double *x, i32 incx, const double *z, i32 incz, double beta, double *y, i32 incy) {
  const bool notrans = ulx_glsame(trans, "N", 1, 1);
  if (!notrans && !ulx_glsame(trans, "T", 1, 1) && !ulx_glsame(trans, "C", 1, 1)) return;
  if (m < 0 || n < 0 || lda < std::max(1, m) || incx == 0 || (with_z && incz == 0) || incy == 0)
    return;
  if (!with_z && (m == 0 || n == 0 || (alpha == 0 && beta == 1))) return;
  const i32 lenx = notrans ? n : m, leny = notrans ? m : n;
  const Vec yv(y, incy, leny), zv(z, with_z ? incz : 1, leny);
  if (m == 0 || n == 0) {  // ulx_gdgemva only: y = y + z
    for (i32 i = 0; with_z && i < leny; ++i) yv[i] = rd(static_cast<ld>(yv[i]) + zv[i]);
    return;
  }
  Gemv{notrans, with_z, m, n, alpha, beta, a, lda, Vec(x, incx, lenx), zv, yv, m >= 128 ? 2 : 8}
      .run();
}

}  // namespace

void ulx_gdgemv(const char *trans, const i32 *m, const i32 *n, const double *alpha, const double *a,
                const i32 *lda, const double *x, const i32 *incx, const double *beta, double *y,
                const i32 *incy) {
  gemv(false, trans, *m, *n, *alpha, a, *lda, x, *incx, nullptr, 1, *beta, y, *incy);
}

void ulx_gdgemva(const char *trans, const i32 *m, const i32 *n, const double *alpha,
                 const double *a, const i32 *lda, const double *x, const i32 *incx, const double *z,
                 const i32 *incz, const double *beta, double *y, const i32 *incy) {
  gemv(true, trans, *m, *n, *alpha, a, *lda, x, *incx, z, *incz, *beta, y, *incy);
}

}  // namespace vx::matmul
