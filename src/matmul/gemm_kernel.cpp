// The block kernel of ulx_gdgemmx in the 80-bit register: tiles of two
// columns by two rows, four accumulators, two terms per step; an odd last
// row or column as a smaller tile. Every accumulator sums its terms in
// increasing l, as x87_panel_sum does.
#include "matmul/gemm_kernel.h"

#include <algorithm>

namespace vx::matmul {

void block_kernel(const GemmBlock &k) {
  using ld = long double;
  for (std::int32_t j = 0; j < k.nc; j += 2) {
    const std::int32_t cols = std::min(2, k.nc - j);
    for (std::int32_t i = 0; i < k.mc; i += 2) {
      const std::int32_t rows = std::min(2, k.mc - i);
      ld acc[2][2] = {{0, 0}, {0, 0}};
      const double *a[2] = {k.a + i * k.lda, k.a + (i + rows - 1) * k.lda};
      const double *b[2] = {k.b + j * k.ldb, k.b + (j + cols - 1) * k.ldb};
      double *c[2] = {k.c + i + j * k.ldc, k.c + i + (j + cols - 1) * k.ldc};
      if (k.factor != 0)
        for (int r = 0; r < rows; ++r)
          for (int s = 0; s < cols; ++s) acc[r][s] = static_cast<ld>(k.factor) * c[s][r];
      for (std::int32_t l = 0; l < k.kc; ++l)
        for (int r = 0; r < rows; ++r)
          for (int s = 0; s < cols; ++s) acc[r][s] = acc[r][s] + static_cast<ld>(b[s][l]) * a[r][l];
      for (int r = 0; r < rows; ++r)
        for (int s = 0; s < cols; ++s) c[s][r] = static_cast<double>(acc[r][s]);
    }
  }
}

}  // namespace vx::matmul
