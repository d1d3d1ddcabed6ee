// The choice of the SIMD width of fma_panels.h by the processor's features.
#include "matmul/fma_panels.h"

#include "common/cpu.h"

namespace vx::matmul {

std::int64_t fma_block_kernel(const GemmBlock &blk) {
  if (cpu::avx512) return fma_block_kernel_avx512(blk);
  if (cpu::fma) return fma_block_kernel_avx2(blk);
  return -1;
}

std::int64_t fma_matmul(const Operand &a, const Operand &b, unsigned char *c, std::int32_t m,
                        std::int32_t k, std::int32_t n) {
  if (cpu::avx512) return fma_matmul_avx512(a, b, c, m, k, n);
  if (cpu::fma) return fma_matmul_avx2(a, b, c, m, k, n);
  return -1;
}

// AVX-512 only: with four lanes the test costs more than the register's
// own two to eight terms per row (DGEMV's groups, 512 by 512: AVX2 0.6
// times the register's speed, AVX-512 1.1 times; 8-column groups 0.85 and
// 1.4 times).
std::int64_t fma_gemv_group(double *w, const double *a, std::ptrdiff_t lda, const double *t, int g,
                            std::int32_t rows) {
  if (cpu::avx512) return fma_gemv_group_avx512(w, a, lda, t, g, rows);
  return -1;
}

}  // namespace vx::matmul
