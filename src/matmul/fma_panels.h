// Panel sums by fused multiply-adds, with the results of the 80-bit
// register bit for bit.
//
// A panel sum is s = c0 + sum of a_l b_l over l, evaluated in the register
// with one rounding to the 64-bit significand per product and per addition,
// then rounded to Real8. Here the exact sum is formed instead, on the SIMD
// unit, together with a bound on how far the register's sum can lie from
// it; where every value within the bound rounds to the same Real8, that is
// the register's result. The rest (one sum in eight of uniform random
// data, most sums that cancel, zeros, products spread over many binades,
// values outside 2^-900..2^900, infinities and NaNs) is formed in the
// register.
//
// The exact sum, per element: with T >= |c0| + sum |a_l b_l| and
// sigma = 1.5 * 2^M, 2^M >= 4T, the accumulator H starts at sigma and takes
// H' = fma(a, b, H) per term. H stays in [2^M, 2^(M+1)), so every H is a
// multiple of the grid 2^(M-52) and H - sigma is the exact sum of the
// terms rounded to the grid; each term's remainder fma(a, b, H - H') (exact
// but for terms far below the grid, within 2^(M-106)) goes into L. The
// estimate H - sigma + L lies within 2^(M-90) of the exact sum for up to
// 128 terms.
//
// The register's error: each product and each partial sum s_t rounds by at
// most 2^-64 of its magnitude, in all 2^-64 (|c0| + sum |a b| + sum |s_t|).
// T bounds the first two (by min(||a|| ||b||, max|a| sum|b|), from row and
// column statistics); each partial sum by the largest and smallest H
// seen, every second term, plus the largest product max|a| max|b| for the
// terms between, and each addition's rounding by 2^-64 times the power of
// two at or below that bound. MATMUL's panels of 8 add c0 last: their
// partial sums before it lie below T minus |c0|, without tracking.
//
// The rounding test: with E = hi + lo the estimate (hi = RN(E)) and e the
// sum of both bounds, the register's sum rounds to hi when |lo| + e stays
// below half the gap to hi's neighbour (a quarter of hi's ulp at a power
// of two), and hi is a normal number.
#pragma once

#include <cstddef>
#include <cstdint>

#include "matmul/descriptor.h"
#include "matmul/gemm_kernel.h"

namespace vx::matmul {

// The block kernel's panel sums on the SIMD unit where the processor has
// fused multiply-adds (AVX2, or AVX-512F), the others by x87_panel_sum;
// the same results as block_kernel. Returns the number of elements left
// to the register, or -1 when the processor lacks the instructions.
std::int64_t fma_block_kernel(const GemmBlock &blk);
std::int64_t fma_block_kernel_avx2(const GemmBlock &blk);
std::int64_t fma_block_kernel_avx512(const GemmBlock &blk);

// DGEMV's column group over `rows` rows: w(i) = x87_gemv_group(w(i),
// a + i, lda, t, g) for i < rows, g <= 8, the same results. Returns the
// number of rows left to the register, or -1 when the processor lacks the
// instructions (w untouched).
std::int64_t fma_gemv_group(double *w, const double *a, std::ptrdiff_t lda, const double *t, int g,
                            std::int32_t rows);
std::int64_t fma_gemv_group_avx2(double *w, const double *a, std::ptrdiff_t lda, const double *t,
                                 int g, std::int32_t rows);
std::int64_t fma_gemv_group_avx512(double *w, const double *a, std::ptrdiff_t lda, const double *t,
                                   int g, std::int32_t rows);

// MATMUL's Real8 matrix product C = A B (C m-by-n, contiguous, zeroed) in
// panels of 8 terms, the same results as the driver's register loop;
// returns the number of panel sums left to the register, or -1 when the
// processor lacks the instructions (C untouched).
std::int64_t fma_matmul(const Operand &a, const Operand &b, unsigned char *c, std::int32_t m,
                        std::int32_t k, std::int32_t n);
std::int64_t fma_matmul_avx2(const Operand &a, const Operand &b, unsigned char *c, std::int32_t m,
                             std::int32_t k, std::int32_t n);
std::int64_t fma_matmul_avx512(const Operand &a, const Operand &b, unsigned char *c, std::int32_t m,
                               std::int32_t k, std::int32_t n);

}  // namespace vx::matmul
