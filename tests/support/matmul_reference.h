// MATMUL operands over bytes of their own and the reference product, for
// the MATMUL suite and the fuzzer. Per result element: Real4, Real8,
// Complex8 and Complex16 sum in long double, a matrix product rounding into
// C after every 8 terms, a vector case once at the end; Real16 and
// Complex32 through the MPFR Real16 operators of the oracle, one rounding
// per operation.
#pragma once

#include <vexmorg/vexmorg.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

#include "oracle/real16.h"

namespace support {

// An array: element (i, l) at data + (i*s[0] + l*s[1]) * size, s in
// elements; the descriptor gets byte strides and the extents.
struct MatmulArray {
  std::vector<unsigned char> bytes;
  std::ptrdiff_t origin = 0;  // byte offset of element (0, 0)
  std::int32_t s[2] = {0, 0}, stride[2] = {0, 0}, extent[2] = {0, 0};
  int rank = 1;
  ArrayDescriptor d{};

  // Exactly the bytes the elements span (none when an extent is 0 or less),
  // after `shift` bytes.
  void place(int size, std::ptrdiff_t shift) {
    std::ptrdiff_t lo = 0, hi = 0;
    bool empty = false;
    for (int k = 0; k < rank; ++k) {
      const std::ptrdiff_t far = std::ptrdiff_t{s[k]} * (extent[k] - 1);
      lo += std::min<std::ptrdiff_t>(far, 0), hi += std::max<std::ptrdiff_t>(far, 0);
      empty = empty || extent[k] <= 0;
    }
    bytes.assign(static_cast<std::size_t>(shift + (empty ? 0 : (hi - lo + 1) * size)), 0);
    origin = empty ? shift : shift - lo * size;
  }
  const unsigned char *at(std::int32_t i, std::int32_t l, int size) const {
    return bytes.data() + origin + (std::ptrdiff_t{i} * s[0] + std::ptrdiff_t{l} * s[1]) * size;
  }
  ArrayDescriptor *desc() {
    d.data_address = bytes.data() + origin;
    d.rank = static_cast<std::uint8_t>(rank);
    for (int k = 0; k < 2; ++k) d.dim[k] = {&stride[k], &extent[k]};
    return &d;
  }
};

// C(i,j) of A(m,k) * B(k,n), elements of N parts P (2: complex); `panels`:
// matrix times matrix. `exceptional` is set when a Real16 operation gives
// no plain value (an overflow or underflow, which these operands avoid).
template <class P, int N>
std::array<P, N> matmul_reference(const MatmulArray &a, const MatmulArray &b, std::int32_t i,
                                  std::int32_t j, std::int32_t k, bool panels, bool &exceptional) {
  using Elem = std::array<P, N>;
  constexpr int size = sizeof(Elem);
  auto load = [](const unsigned char *p) {
    Elem e;
    std::memcpy(&e, p, sizeof e);
    return e;
  };
  Elem c{};
  if constexpr (std::is_same_v<P, Real16>) {
    using oracle::Op;
    auto q = [&](Op op, const Real16 &x, const Real16 &y) {
      const oracle::Real16Result r = oracle::reference(op, x, y);
      exceptional = exceptional || r.outcome != oracle::Outcome::value;
      return r.bits;
    };
    for (std::int32_t l = 0; l < k; ++l) {
      const Elem x = load(a.at(i, l, size)), y = load(b.at(l, j, size));
      if constexpr (N == 1) {
        c[0] = q(Op::add, c[0], q(Op::mul, x[0], y[0]));
      } else {
        c[0] = q(Op::add, c[0], q(Op::sub, q(Op::mul, x[0], y[0]), q(Op::mul, x[1], y[1])));
        c[1] = q(Op::add, c[1], q(Op::add, q(Op::mul, x[0], y[1]), q(Op::mul, x[1], y[0])));
      }
    }
  } else {
    long double s[2] = {0, 0};
    for (std::int32_t l = 0; l < k; ++l) {
      const Elem x = load(a.at(i, l, size)), y = load(b.at(l, j, size));
      const long double xr = x[0], xi = x[N - 1], yr = y[0], yi = y[N - 1];
      if (N == 1) s[0] += xr * yr;
      if (N == 2) s[0] += xr * yr - xi * yi, s[1] += xr * yi + xi * yr;
      if (panels && (l % 8 == 7 || l == k - 1))
        for (int p = 0; p < N; ++p) c[p] = static_cast<P>(s[p] + c[p]), s[p] = 0;
    }
    for (int p = 0; !panels && p < N; ++p) c[p] = static_cast<P>(s[p]);
  }
  return c;
}

}  // namespace support

namespace support {

// The DGEMM-style product C = alpha op(A) op(B) + beta C of g_mt22blasd,
// column-major with leading dimensions, element by element: the inner
// dimension in panels of kb terms (64; 56 when K > 64 leaves 1 to 7 over a
// multiple of 64), each panel summed in long double from beta C(i,j) (the
// first; +0 when beta is 0) or C(i,j) (the later ones) and rounded into C.
// alpha multiplies A's elements (B's when B is transposed) in long double,
// rounded to Real8 before they enter a product. alpha or K zero: C = beta
// C (+0 for beta 0); M or N zero, or that with beta 1: C as it is.
inline void gemm_reference(bool ta, bool tb, std::int32_t m, std::int32_t n, std::int32_t k,
                           double alpha, const double *a, std::int32_t lda, const double *b,
                           std::int32_t ldb, double beta, double *c, std::int32_t ldc) {
  using ld = long double;
  if (m == 0 || n == 0 || ((alpha == 0 || k == 0) && beta == 1)) return;
  const std::int32_t kb = std::min(k > 64 && k % 64 >= 1 && k % 64 <= 7 ? 56 : 64, k);
  for (std::int32_t j = 0; j < n; ++j)
    for (std::int32_t i = 0; i < m; ++i) {
      double &cij = c[i + std::ptrdiff_t{j} * ldc];
      if (alpha == 0 || k == 0) {
        cij = beta == 0 ? 0.0 : static_cast<double>(static_cast<ld>(cij) * beta);
        continue;
      }
      for (std::int32_t l0 = 0; l0 < k; l0 += kb) {
        ld s = l0 > 0 ? ld{cij} : beta == 0 ? 0.0L : static_cast<ld>(beta) * cij;
        for (std::int32_t l = l0; l < std::min(k, l0 + kb); ++l) {
          double x = ta ? a[l + std::ptrdiff_t{i} * lda] : a[i + std::ptrdiff_t{l} * lda];
          double y = tb ? b[j + std::ptrdiff_t{l} * ldb] : b[l + std::ptrdiff_t{j} * ldb];
          (tb ? y : x) = static_cast<double>(static_cast<ld>(alpha) * (tb ? y : x));
          s += static_cast<ld>(x) * y;
        }
        cij = static_cast<double>(s);
      }
    }
}

// The DGEMV-style product y = alpha op(A) x + beta y (+ z) of g_mt21blasd,
// element by element; inc* are increments in elements (a negative one
// starts at the far end). beta y first (+0 for beta 0, skipped for 1).
// op(A) = A: columns in groups of g (2 when M >= 128, else 8), factors
// t = alpha x(j) rounded to Real8, y(i) rounded after each group and after
// each leftover column, z added last. op(A) = A^T: one long double dot per
// column; with incx 1, y(j) = alpha dot + y(j) (+ z(j)) rounded once,
// otherwise per block of 512 rows y(j) = y(j) + dot alpha, z added last.
inline void gemv_reference(bool t, std::int32_t m, std::int32_t n, double alpha, const double *a,
                           std::int32_t lda, const double *x, std::int32_t incx, const double *z,
                           std::int32_t incz, double beta, double *y, std::int32_t incy) {
  using ld = long double;
  const std::int32_t lenx = t ? m : n, leny = t ? n : m;
  auto el = [](const double *v, std::int32_t inc, std::int32_t len, std::int32_t e) {
    return const_cast<double *>(v) +
           (inc > 0 ? std::ptrdiff_t{e} * inc : std::ptrdiff_t{e - len + 1} * inc);
  };
  auto X = [&](std::int32_t e) { return *el(x, incx, lenx, e); };
  auto Y = [&](std::int32_t e) -> double & { return *el(y, incy, leny, e); };
  auto Z = [&](std::int32_t e) { return z ? static_cast<ld>(*el(z, incz, leny, e)) : 0.0L; };
  auto A = [&](std::int32_t i, std::int32_t j) { return a[i + std::ptrdiff_t{j} * lda]; };
  auto add_z = [&] {
    for (std::int32_t e = 0; z && e < leny; ++e) Y(e) = static_cast<double>(Y(e) + Z(e));
  };
  if (m == 0 || n == 0) return add_z();
  for (std::int32_t e = 0; beta != 1 && e < leny; ++e)
    Y(e) = beta == 0 ? 0.0 : static_cast<double>(static_cast<ld>(beta) * Y(e));
  if (alpha == 0) return add_z();
  if (!t) {
    const std::int32_t g = m >= 128 ? 2 : 8;
    for (std::int32_t j0 = 0; j0 < n;) {
      const std::int32_t w = n - j0 >= g ? g : 1;
      for (std::int32_t i = 0; i < m; ++i) {
        ld s = Y(i);
        for (std::int32_t j = j0; j < j0 + w; ++j)
          s += static_cast<ld>(static_cast<double>(static_cast<ld>(alpha) * X(j))) * A(i, j);
        Y(i) = static_cast<double>(s);
      }
      j0 += w;
    }
    return add_z();
  }
  const std::int32_t rows = incx == 1 ? m : 512;
  for (std::int32_t j = 0; j < n; ++j)
    for (std::int32_t i0 = 0; i0 < m; i0 += rows) {
      ld dot = 0;
      for (std::int32_t i = i0; i < std::min(m, i0 + rows); ++i)
        dot += static_cast<ld>(A(i, j)) * X(i);
      Y(j) = static_cast<double>(incx == 1 ? alpha * dot + Y(j) + Z(j) : Y(j) + dot * alpha);
    }
  if (incx != 1) add_z();
}

}  // namespace support
