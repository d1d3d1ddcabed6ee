// The blocked Real8 routines behind g_mt22blasd and g_mt21blasd, with the
// argument lists and meaning of the published DGEMM and DGEMV: column-major
// matrices, leading dimensions and increments in elements, every argument
// by reference. Internal: none of them is exported.
//
//   ulx_glsame   1 when the first characters are equal ignoring ASCII case
//   ulx_gdgemm   C = alpha op(A) op(B) + beta C, with work buffers of its own
//   ulx_gdgemmx  the same, blocked, with the caller's buffers (dgemm.cpp)
//   ulx_gdl_gema C = C + D
//   ulx_gdgemv   y = alpha op(A) x + beta y (dgemv.cpp)
//   ulx_gdgemva  y = beta y + alpha op(A) x + z
#pragma once

#include <cstdint>

namespace vx::matmul {

using i32 = std::int32_t;

std::int32_t ulx_glsame(const char *ca, const char *cb, i32 la, i32 lb);

void ulx_gdgemm(const char *transa, const char *transb, const i32 *m, const i32 *n, const i32 *k,
                const double *alpha, const double *a, const i32 *lda, const double *b,
                const i32 *ldb, const double *beta, double *c, const i32 *ldc);
void ulx_gdgemmx(const char *transa, const char *transb, const i32 *m, const i32 *n, const i32 *k,
                 const double *alpha, const double *a, const i32 *lda, const double *b,
                 const i32 *ldb, const double *beta, double *c, const i32 *ldc, double *abuf,
                 double *bbuf, const i32 *ldbuf, i32 la, i32 lb);
void ulx_gdl_gema(const i32 *m, const i32 *n, const double *d, const i32 *ldd, double *c,
                  const i32 *ldc);

void ulx_gdgemv(const char *trans, const i32 *m, const i32 *n, const double *alpha, const double *a,
                const i32 *lda, const double *x, const i32 *incx, const double *beta, double *y,
                const i32 *incy);
void ulx_gdgemva(const char *trans, const i32 *m, const i32 *n, const double *alpha,
                 const double *a, const i32 *lda, const double *x, const i32 *incx, const double *z,
                 const i32 *incz, const double *beta, double *y, const i32 *incy);

// The blocking of ulx_gdgemmx, from M, N, K and the leading dimensions:
// kb the depth of an inner panel (C is rounded to Real8 after each), mb the
// height of a row block, nb the width of a column block when B is not
// transposed, pack whether such a B is copied into the B panel buffer.
struct GemmBlocks {
  i32 kb, mb, nb;
  bool pack;
};
GemmBlocks gemm_blocks(i32 m, i32 n, i32 k, i32 lda, i32 ldb);

}  // namespace vx::matmul
