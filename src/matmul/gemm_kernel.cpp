// The block kernel of ulx_gdgemmx: on the SIMD unit where the processor has
// fused multiply-adds (fma_panels.h), else in the 80-bit register in tiles
// of two columns by two rows, four accumulators, two terms per step; an odd
// last row or column as a smaller tile. Every accumulator sums its terms in
// increasing l, as x87_panel_sum does; both routes give the same results.
#include "matmul/gemm_kernel.h"

#include <algorithm>

#include "matmul/fma_panels.h"

namespace vx::matmul {

void block_kernel(const GemmBlock &k) {
  if (fma_block_kernel(k) >= 0) return;  // the same sums on the SIMD unit
  block_kernel_x87(k);
}

void block_kernel_x87(const GemmBlock &k) {
  double scratch = 0;
  PanelElement e[4];
  for (std::int32_t j = 0; j < k.nc; j += 2) {
    const std::int32_t cols = std::min(2, k.nc - j);
    for (std::int32_t i = 0; i < k.mc; i += 2) {
      const std::int32_t rows = std::min(2, k.mc - i);
      int n = 0;
      for (int s = 0; s < cols; ++s)
        for (int r = 0; r < rows; ++r)
          e[n++] = {k.a + (i + r) * k.lda, k.b + (j + s) * k.ldb, k.c + i + r + (j + s) * k.ldc};
      for (; n < 4; ++n) e[n] = {k.a, k.b, &scratch};  // a smaller tile: spare sums
      x87_panel_sums4(k.kc, e, k.factor);
    }
  }
}

}  // namespace vx::matmul
