// The panel sums of fma_panels.h on AVX2 with FMA3: four lanes, tiles of
// four rows by three columns.
#include <immintrin.h>

#include <cstddef>
#include <cstdint>

#include "matmul/descriptor.h"
#include "matmul/fma_panels.h"

// What follows is compiled for avx2 and fma (Clang spells GCC's pragma this way).
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2,fma"))), apply_to = function)
#else
#pragma GCC target("avx2,fma")
#endif

#include "matmul/fma_tile.h"

namespace vx::matmul {
namespace {

struct Avx2 {
  using v = __m256d;
  static constexpr int n = 4;
  static v load(const double *p) { return _mm256_loadu_pd(p); }
  static __m256i lanes(unsigned m) {
    const __m256i bit = _mm256_set_epi64x(8, 4, 2, 1);
    return _mm256_cmpeq_epi64(_mm256_and_si256(_mm256_set1_epi64x(m), bit), bit);
  }
  static v select(unsigned m, v a, v b) {
    return _mm256_blendv_pd(b, a, _mm256_castsi256_pd(lanes(m)));
  }
  static void store(double *p, v x) { _mm256_storeu_pd(p, x); }
  static double sqrt1(double x) {
    return _mm_cvtsd_f64(_mm_sqrt_sd(_mm_setzero_pd(), _mm_set_sd(x)));
  }
  static v set1(double x) { return _mm256_set1_pd(x); }
  static v fma(v a, v b, v c) { return _mm256_fmadd_pd(a, b, c); }
  static v add(v a, v b) { return _mm256_add_pd(a, b); }
  static v sub(v a, v b) { return _mm256_sub_pd(a, b); }
  static v mul(v a, v b) { return _mm256_mul_pd(a, b); }
  static v min(v a, v b) { return _mm256_min_pd(a, b); }
  static v max(v a, v b) { return _mm256_max_pd(a, b); }
  static v bits(long long m) { return _mm256_castsi256_pd(_mm256_set1_epi64x(m)); }
  static v abs(v a) { return _mm256_and_pd(a, bits(0x7fffffffffffffff)); }
  static v exponent(v a) { return _mm256_and_pd(a, bits(0x7ff0000000000000)); }
  static v pow2(v a) {
    return _mm256_castsi256_pd(_mm256_cmpeq_epi64(
        _mm256_and_si256(_mm256_castpd_si256(a), _mm256_set1_epi64x(0x000fffffffffffff)),
        _mm256_setzero_si256()));
  }
  static v and_mask(v m, v a) { return _mm256_and_pd(m, a); }
  static unsigned lt(v a, v b) {
    return unsigned(_mm256_movemask_pd(_mm256_cmp_pd(a, b, _CMP_LT_OQ)));
  }
  static unsigned le(v a, v b) {
    return unsigned(_mm256_movemask_pd(_mm256_cmp_pd(a, b, _CMP_LE_OQ)));
  }
};

}  // namespace

std::int64_t fma_block_kernel_avx2(const GemmBlock &blk) { return fma_block<Avx2, 3>(blk); }

std::int64_t fma_matmul_avx2(const Operand &a, const Operand &b, unsigned char *c, std::int32_t m,
                             std::int32_t k, std::int32_t n) {
  return fma_matmul_block<Avx2, 3>(a, b, c, m, k, n);
}

}  // namespace vx::matmul

#if defined(__clang__)
#pragma clang attribute pop
#endif
