// The block kernel of ulx_gdgemmx: one inner panel of kc terms applied to an
// mc-by-nc block of C.
//
// For every C(i,j) of the block: an 80-bit accumulator starts at
// factor * C(i,j) (at +0, C not read, when factor is 0), adds
// b(l,j) * a(l,i) for l = 0..kc-1 in increasing order and is stored into
// C(i,j) rounded to Real8. a is the A panel buffer (column i holds row i of
// op(A) over the panel), b the B panel buffer or B in place (column j holds
// column j of op(B)); both are contiguous in l.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vx::matmul {

struct GemmBlock {
  std::int32_t kc, mc, nc;
  const double *a;
  std::ptrdiff_t lda;
  const double *b;
  std::ptrdiff_t ldb;
  double *c;
  std::ptrdiff_t ldc;
  double factor;
};

void block_kernel(const GemmBlock &blk);
void block_kernel_x87(const GemmBlock &blk);  // the register route alone

// One element in the 80-bit register: the panel's sum started at
// factor * c, rounded to Real8.
inline double x87_panel_sum(std::int32_t kc, const double *a, const double *b, double factor,
                            const double *c) {
  long double s = factor == 0 ? 0.0L : static_cast<long double>(factor) * *c;
  for (std::int32_t l = 0; l < kc; ++l) s = s + static_cast<long double>(b[l]) * a[l];
  return static_cast<double>(s);
}

// Four elements at once, each as x87_panel_sum (four independent sums keep
// the unit busy): C(e) = sum started at factor * C(e) of b_e(l) * a_e(l).
// DGEMV's column group for one row: w = t_0 a_0 + w + t_1 a_1 + ... +
// t_{g-1} a_{g-1} (a_c = a[c*lda]) left to right in the register, rounded
// to Real8 once; g = 1 is w + t_0 a_0.
inline double x87_gemv_group(double w, const double *a, std::ptrdiff_t lda, const double *t,
                             int g) {
  long double s = static_cast<long double>(t[0]) * a[0] + w;
  for (int c = 1; c < g; ++c) s = s + static_cast<long double>(t[c]) * a[c * lda];
  return static_cast<double>(s);
}

struct PanelElement {
  const double *a, *b;
  double *c;
};
inline void x87_panel_sums4(std::int32_t kc, const PanelElement *e, double factor) {
  using ld = long double;
  const ld f = factor;
  ld s0 = factor == 0 ? 0.0L : f * *e[0].c, s1 = factor == 0 ? 0.0L : f * *e[1].c;
  ld s2 = factor == 0 ? 0.0L : f * *e[2].c, s3 = factor == 0 ? 0.0L : f * *e[3].c;
  for (std::int32_t l = 0; l < kc; ++l) {
    s0 = s0 + static_cast<ld>(e[0].b[l]) * e[0].a[l];
    s1 = s1 + static_cast<ld>(e[1].b[l]) * e[1].a[l];
    s2 = s2 + static_cast<ld>(e[2].b[l]) * e[2].a[l];
    s3 = s3 + static_cast<ld>(e[3].b[l]) * e[3].a[l];
  }
  *e[0].c = static_cast<double>(s0), *e[1].c = static_cast<double>(s1);
  *e[2].c = static_cast<double>(s2), *e[3].c = static_cast<double>(s3);
}

}  // namespace vx::matmul
