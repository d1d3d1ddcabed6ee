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
