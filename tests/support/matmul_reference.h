// The reference products, element by element, and the MATMUL case the suite and the fuzzer
// share. Real4/8 and Complex8/16 sum in long double, rounding into C every 8 terms (a vector
// case once at the end); Real16 and Complex32 through the oracle's operators, each rounded.
#pragma once

#include <vexmorg/vexmorg.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <random>
#include <type_traits>
#include <vector>

#include "oracle/real16.h"
#include "support/recorder.h"

namespace support {

// Element (i, l) at data + (i*s[0] + l*s[1]) * size; the descriptor gets byte strides.
struct MatmulArray {
  std::vector<unsigned char> bytes;
  std::ptrdiff_t origin = 0;  // byte offset of element (0, 0)
  std::int32_t s[2] = {0, 0}, stride[2] = {0, 0}, extent[2] = {0, 0};
  int rank = 1;
  ArrayDescriptor d{};

  // Exactly the bytes the elements span (none for an extent <= 0), after `shift` bytes.
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
  // A vector's descriptor has no dimension 2 to read or write.
  ArrayDescriptor *desc() {
    d.data_address = bytes.data() + origin;
    d.rank = static_cast<std::uint8_t>(rank);
    d.dim[0] = {&stride[0], &extent[0]};
    d.dim[1] = rank == 2 ? DimensionEntry{&stride[1], &extent[1]} : DimensionEntry{};
    return &d;
  }
};

// C(i,j) of A(m,k) * B(k,n), N parts P per element; `panels`: matrix times matrix.
// `exceptional`: a Real16 operation overflowed or underflowed.
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

// A MATMUL case's bytes: a fuzzer's input, read round again, or a random stream.
struct CaseBytes {
  const std::uint8_t *p = nullptr;
  std::size_t n = 0, at = 0;
  std::mt19937_64 *g = nullptr;
  std::uint8_t byte() { return g ? static_cast<std::uint8_t>((*g)()) : p[at++ % n]; }
  std::uint32_t word() { return std::uint32_t{byte()} << 24 | byte() << 16 | byte() << 8 | byte(); }
};

// A moderate part; from a fuzzer's input now and then raw bits or a Real16 garbage zero.
template <class P>
P matmul_part(CaseBytes &in) {
  const std::uint32_t w = in.word(), sign = w & 0x80000000, how = in.byte(), e = how >> 3;
  const bool plain = how % 8 || in.g;
  if constexpr (std::is_same_v<P, Real16>)  // |x| in [2^-16, 2^16), or a zero
    return oracle::real16(plain ? sign | (0x3fff - 16 + e) << 16 | (w & 0xffff) : sign, in.word(),
                          in.word(), in.word());
  else if constexpr (std::is_same_v<P, float>)  // |x| in [2^-8, 2^8), or raw bits
    return std::bit_cast<float>(plain ? sign | (127 - 8 + e % 16) << 23 | (w & 0x7fffff) : w);
  else
    return std::bit_cast<double>(
        std::uint64_t{plain ? sign | (1023 - 8 + e % 16) << 20 | (w & 0xfffff) : w} << 32 |
        in.word());
}

// A rows-by-cols operand (rank 1: `rows`): steps of 0 to 3 of either sign, column or
// transposed layout, a leading dimension past the extent, byte strides off the element size
// (truncated off), data off 8-byte boundaries unless `aligned`.
inline MatmulArray matmul_operand(CaseBytes &in, int rank, std::int32_t rows, std::int32_t cols,
                                  int size, bool aligned) {
  MatmulArray a;
  a.rank = rank;
  const std::uint8_t how = in.byte(), extra = in.byte();
  const bool transposed = rank == 2 && how & 16;
  const std::int32_t ld = std::max(transposed ? cols : rows, 0) + extra % 4;
  a.s[0] = (how & 3) * (transposed ? ld : 1),
  a.s[1] = rank == 2 ? (how >> 2 & 3) * (transposed ? 1 : ld) : 0;
  for (int d = 0; d < rank; ++d) {
    if (how >> (5 + d) & 1) a.s[d] = -a.s[d];
    const std::int32_t odd = in.byte() % size;
    a.stride[d] = a.s[d] * size + (a.s[d] < 0 || (a.s[d] == 0 && how >> 7) ? -odd : odd);
    a.extent[d] = d ? cols : rows;
  }
  a.place(size, aligned ? 0 : extra >> 5);
  return a;
}

// c 0: matrix times matrix, 1: matrix times vector, 2: vector times matrix; A m-by-k, B kb-by-n.
struct MatmulShape {
  int c;
  std::int32_t m, k, n, kb;
};

using MatmulEntry = void (*)(const MatmulArgs *);

// One call of `entry` on operands from `in`; nullptr or what went wrong. Conforming: no report,
// the result shape, every element as the reference, nothing past it written. Otherwise error
// 1375 with the value fields cleared and only the result's strides and extents written, all 0.
template <class P, int N>
const char *matmul_case(MatmulEntry entry, const MatmulShape &s, CaseBytes &in, bool aligned) {
  constexpr int size = sizeof(P) * N;
  const bool mm = s.c == 0, conform = std::max(s.k, 0) == std::max(s.kb, 0);
  MatmulArray a = matmul_operand(in, s.c == 2 ? 1 : 2, s.c == 2 ? s.k : s.m, s.k, size, aligned);
  MatmulArray b = matmul_operand(in, s.c == 1 ? 1 : 2, s.kb, s.n, size, aligned);
  if (s.c == 2) std::swap(a.s[0], a.s[1]);  // a(l) is A(0, l)
  for (MatmulArray *x : {&a, &b})
    for (std::size_t at = x->origin % size; at + size <= x->bytes.size(); at += size)
      for (int p = 0; p < N; ++p) {
        const P v = matmul_part<P>(in);
        std::memcpy(&x->bytes[at + p * sizeof(P)], &v, sizeof v);
      }
  const std::int32_t rm = s.c == 2 ? 1 : std::max(s.m, 0), rn = s.c == 1 ? 1 : std::max(s.n, 0);
  const std::size_t count = conform ? std::size_t(rm) * rn : 0;
  MatmulArray r;
  r.rank = mm ? 2 : 1;
  r.bytes.assign((count + 1) * size, 0xa5);
  std::fill_n(r.stride, 2, 0x7eadbeef), std::fill_n(r.extent, 2, 0x7eadbeef);
  const MatmulArgs args{r.desc(), a.desc(), b.desc()};
  const int flag = in.byte() & 1;
  Recorder rec(static_cast<std::uint8_t>(flag));
  rec.answer = [flag](const Report &, int) { return flag; };
  using namespace layout;
  const Field values[] = {kValueCount, kValue1Addr, kValue1Type, kValue2Addr, kValue2Type};
  for (Field f : values) std::memset(vexmori_control_block() + field(f).offset, 1, field(f).width);
  entry(&args);
  if (std::any_of(r.bytes.begin() + std::ptrdiff_t(count * size), r.bytes.end(),
                  [](int x) { return x != 0xa5; }))
    return "written past the result";
  if (!conform) {
    if (rec.reports.size() != 1 || rec.reports[0].number != 1375) return "not one report of 1375";
    for (Field f : values)
      for (std::size_t x = 0; x < field(f).width; ++x)
        if (rec.reports[0].block[field(f).offset + x] != 0) return "a value field not cleared";
    const bool zeroed = (r.stride[0] | r.extent[0] | (mm ? r.stride[1] | r.extent[1] : 0)) == 0;
    return zeroed ? nullptr : "the result descriptor not zeroed";
  }
  if (!rec.reports.empty()) return "a report from a conforming product";
  if (r.stride[0] != size || r.extent[0] != (mm ? rm : rm * rn)) return "result dimension 1";
  if (mm && (r.stride[1] != size * rm || r.extent[1] != rn)) return "result dimension 2";
  for (std::int32_t j = 0; j < rn; ++j)
    for (std::int32_t i = 0; i < rm; ++i) {
      bool exceptional = false;
      const auto want = matmul_reference<P, N>(a, b, i, j, std::max(s.k, 0), mm, exceptional);
      if (exceptional) return "the reference overflowed or underflowed";
      if (std::memcmp(&r.bytes[(j * rm + i) * size], &want, size) != 0) return "an element differs";
    }
  return nullptr;
}

// ulx_gmd2 and ulx_gmx2 take operands on 8-byte boundaries.
struct MatmulRoute {
  const char *name;
  const char *(*check)(MatmulEntry, const MatmulShape &, CaseBytes &, bool);
  MatmulEntry entry;
  bool aligned, real16;
};
inline const MatmulRoute kMatmulRoutes[8] = {
    {"g_matmlr", matmul_case<float, 1>, g_matmlr, false, false},
    {"g_matmld", matmul_case<double, 1>, g_matmld, false, false},
    {"ulx_gmd2", matmul_case<double, 1>, ulx_gmd2, true, false},
    {"g_matmlq", matmul_case<Real16, 1>, g_matmlq, false, true},
    {"g_matmlc", matmul_case<float, 2>, g_matmlc, false, false},
    {"g_matmlx", matmul_case<double, 2>, g_matmlx, false, false},
    {"ulx_gmx2", matmul_case<double, 2>, ulx_gmx2, true, false},
    {"g_matmlz", matmul_case<Real16, 2>, g_matmlz, false, true}};

// C = alpha op(A) op(B) + beta C of g_mt22blasd: panels of 64 terms (56 when K > 64 leaves 1 to
// 7), each summed in long double from beta C (+0 for beta 0; later panels C) and rounded into C;
// alpha A (alpha B when B is transposed) rounded to Real8 first. alpha or K zero: C = beta C
// (+0 for beta 0); M or N zero, or that with beta 1: C as it is.
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

// y = alpha op(A) x + beta y (+ z) of g_mt21blasd (a negative increment starts at the far end):
// beta y first (+0 for 0, skipped for 1). A: columns in groups of 2 (M >= 128) or 8, factors
// alpha x(j) rounded to Real8, y(i) rounded per group or leftover column, z last. A^T: a long
// double dot per column; incx 1: alpha dot + y(j) (+ z(j)) rounded once, else per 512 rows
// y(j) + dot alpha, z last.
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
