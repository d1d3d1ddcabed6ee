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

}  // namespace vx::matmul
