// g_mt22blasd and g_mt21blasd: the BLAS-style Real8 routes over array
// descriptors, which compiled code calls instead of g_matmld.
//
// g_mt22blasd: C = alpha op(A) op(B) + beta C through ulx_gdgemm, then
// C = C + D through ulx_gdl_gema when D is given. The inner extents of
// op(A) and op(B) must agree (only "T" transposes here; the character goes
// on to the routines as received), else error 1375 with no values and
// nothing written. M, K, N from A's and B's extents (negative as 0); LDA
// and LDB of 0 taken as 1; LDC and LDD as given.
//
// g_mt21blasd: y = alpha op(A) x + beta y through ulx_gdgemv, or with the
// addend z through ulx_gdgemva. x's extent must be A's extent 1 for "T",
// its extent 2 otherwise, else error 1375. Increments are the byte strides
// divided by 8. An empty inner dimension becomes one term with alpha 0, so
// that y is still scaled by beta (and z added) over its full length.
#include <vexmorg/vexmorg.h>

#include <utility>

#include "matmul/blas.h"
#include "matmul/descriptor.h"

namespace {

using vx::matmul::i32;

i32 extent(const ArrayDescriptor *d, int k) {
  const i32 e = *d->dim[k].extent_ref;
  return e < 0 ? 0 : e;
}

double *data(const ArrayDescriptor *d) { return static_cast<double *>(d->data_address); }

i32 increment(const ArrayDescriptor *d) { return *d->dim[0].stride_ref / 8; }

}  // namespace

void g_mt22blasd(const GemmCallArgs *list) {
  const GemmCallArgs &g = *list;
  i32 a1 = extent(g.a, 0), a2 = extent(g.a, 1), b1 = extent(g.b, 0), b2 = extent(g.b, 1);
  const bool ta = *g.transa == 'T', tb = *g.transb == 'T';
  if ((ta ? a1 : a2) != (tb ? b2 : b1)) return vx::matmul::report_mismatch();
  if (ta) std::swap(a1, a2);
  if (tb) std::swap(b1, b2);
  const i32 lda = *g.lda == 0 ? 1 : *g.lda, ldb = *g.ldb == 0 ? 1 : *g.ldb;
  vx::matmul::ulx_gdgemm(g.transa, g.transb, &a1, &b2, &a2, g.alpha, data(g.a), &lda, data(g.b),
                         &ldb, g.beta, data(g.c), g.ldc);
  if (g.d) vx::matmul::ulx_gdl_gema(&a1, &b2, data(g.d), g.ldd, data(g.c), g.ldc);
}

void g_mt21blasd(const GemvCallArgs *list) {
  const GemvCallArgs &g = *list;
  i32 m = extent(g.a, 0), n = extent(g.a, 1);
  const i32 k = extent(g.x, 0);
  const bool t = *g.trans == 'T';
  if (k != (t ? m : n)) return vx::matmul::report_mismatch();
  const i32 incy = increment(g.y), incx = increment(g.x);
  double alpha = *g.alpha;
  i32 &inner = t ? m : n;
  if (inner == 0) inner = 1, alpha = 0.0;
  const i32 lda = *g.lda == 0 ? 1 : *g.lda;
  if (!g.z)
    return vx::matmul::ulx_gdgemv(g.trans, &m, &n, &alpha, data(g.a), &lda, data(g.x), &incx,
                                  g.beta, data(g.y), &incy);
  const i32 incz = increment(g.z);
  vx::matmul::ulx_gdgemva(g.trans, &m, &n, &alpha, data(g.a), &lda, data(g.x), &incx, data(g.z),
                          &incz, g.beta, data(g.y), &incy);
}
