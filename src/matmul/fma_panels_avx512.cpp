// The panel sums of fma_panels.h on AVX-512F: eight lanes, tiles of eight
// rows by four columns.
#include <immintrin.h>

#include <cstddef>
#include <cstdint>

#include "matmul/descriptor.h"
#include "matmul/fma_panels.h"

// What follows is compiled for avx512f and fma (Clang spells GCC's pragma this way).
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx512f,fma"))), apply_to = function)
#else
#pragma GCC target("avx512f,fma")
#endif

#include "matmul/fma_tile.h"

namespace vx::matmul {
namespace {

struct Avx512 {
  using v = __m512d;
  static constexpr int n = 8;
  static v load(const double *p) { return _mm512_loadu_pd(p); }
  static v select(unsigned m, v a, v b) { return _mm512_mask_blend_pd(__mmask8(m), b, a); }
  static void store(double *p, v x) { _mm512_storeu_pd(p, x); }
  static double sqrt1(double x) {
    return _mm_cvtsd_f64(_mm_sqrt_sd(_mm_setzero_pd(), _mm_set_sd(x)));
  }
  static v set1(double x) { return _mm512_set1_pd(x); }
  static v fma(v a, v b, v c) { return _mm512_fmadd_pd(a, b, c); }
  static v add(v a, v b) { return _mm512_add_pd(a, b); }
  static v sub(v a, v b) { return _mm512_sub_pd(a, b); }
  static v mul(v a, v b) { return _mm512_mul_pd(a, b); }
  // The masked forms: GCC 12's unmasked ones warn of an undefined source.
  static v min(v a, v b) { return _mm512_mask_min_pd(a, 0xff, a, b); }
  static v max(v a, v b) { return _mm512_mask_max_pd(a, 0xff, a, b); }
  static __m512i bits(long long m) { return _mm512_set1_epi64(m); }
  static v and_bits(v a, long long m) {
    return _mm512_castsi512_pd(_mm512_and_si512(_mm512_castpd_si512(a), bits(m)));
  }
  static v abs(v a) { return and_bits(a, 0x7fffffffffffffff); }
  static v exponent(v a) { return and_bits(a, 0x7ff0000000000000); }
  static v pow2(v a) {
    const __mmask8 m = _mm512_testn_epi64_mask(_mm512_castpd_si512(a), bits(0x000fffffffffffff));
    return _mm512_castsi512_pd(_mm512_maskz_mov_epi64(m, bits(-1)));
  }
  static v and_mask(v m, v a) {
    return _mm512_castsi512_pd(_mm512_and_si512(_mm512_castpd_si512(m), _mm512_castpd_si512(a)));
  }
  static unsigned lt(v a, v b) { return _mm512_cmp_pd_mask(a, b, _CMP_LT_OQ); }
  static unsigned le(v a, v b) { return _mm512_cmp_pd_mask(a, b, _CMP_LE_OQ); }
};

}  // namespace

std::int64_t fma_block_kernel_avx512(const GemmBlock &blk) { return fma_block<Avx512, 4>(blk); }

std::int64_t fma_matmul_avx512(const Operand &a, const Operand &b, unsigned char *c, std::int32_t m,
                               std::int32_t k, std::int32_t n) {
  return fma_matmul_block<Avx512, 4>(a, b, c, m, k, n);
}

std::int64_t fma_gemv_group_avx512(double *w, const double *a, std::ptrdiff_t lda, const double *t,
                                   int g, std::int32_t rows) {
  return gemv_group_block<Avx512>(w, a, lda, t, g, rows);
}

}  // namespace vx::matmul

#if defined(__clang__)
#pragma clang attribute pop
#endif
