// The MATMUL driver, one template over the element operations (E: one of
// x87_elements.h, real16_elements.h). Operands viewed as matrices
// (descriptor.h), indices from 0, C(m,n) = A(m,k) * B(k,n):
//
//   1. read both operands; A's inner extent must equal B's extent 1, else
//      error 1375 and the result descriptor zeroed;
//   2. an empty operand (m, k or n zero): the result shape, m*n zeros;
//   3. a vector case (an operand of rank 1): one sum per result element
//      over l in increasing order, rounded when stored;
//   4. matrix times matrix, x87 types: C zeroed; the inner dimension in
//      panels of 8 (a last panel of k mod 8); per panel, for j, for i, the
//      partial sum of the panel's terms, then C(i,j) = round(partial + C(i,j));
//   5. matrix times matrix, Real16 and Complex32: C zeroed; for l, for j,
//      for i, C(i,j) = C(i,j) + A(i,l)*B(l,j), each operation rounded;
//
// then the result's shape. C is contiguous in column order.
#pragma once

#include <vexmorg/vexmorg.h>

#include <algorithm>
#include <cstdint>
#include <type_traits>

#include "matmul/descriptor.h"
#include "matmul/fma_panels.h"

namespace vx::matmul {

inline constexpr std::int32_t kPanel = 8;

template <class E>
void matmul(const MatmulArgs *list) {
  using T = typename E::Elem;
  using Sum = typename E::Sum;
  constexpr std::int32_t size = sizeof(T);
  const ArrayDescriptor &r = *list->result;
  const Operand a = as_row(read_operand(*list->a, size)), b = read_operand(*list->b, size);
  const bool matrix = a.matrix && b.matrix;
  const std::int32_t m = a.extent[0], k = a.extent[1], n = b.extent[1];
  if (k != b.extent[0]) return report_shape_error(r);
  unsigned char *c = static_cast<unsigned char *>(r.data_address);
  auto at_c = [&](std::int32_t i, std::int32_t j) {
    return c + (std::ptrdiff_t{j} * m + i) * size;
  };
  auto term = [&](Sum &s, std::int32_t i, std::int32_t l, std::int32_t j) {
    E::accumulate(s, load<T>(at(a, i, l)), load<T>(at(b, l, j)));
  };

  if (m == 0 || k == 0 || n == 0) {
    write_shape(r, matrix, size, m, n);
    for (std::int32_t j = 0; j < n; ++j)
      for (std::int32_t i = 0; i < m; ++i) store(at_c(i, j), T{});
    return;
  }
  if (!matrix) {
    for (std::int32_t j = 0; j < n; ++j)
      for (std::int32_t i = 0; i < m; ++i) {
        Sum s{};
        for (std::int32_t l = 0; l < k; ++l) term(s, i, l, j);
        store(at_c(i, j), E::round(s));
      }
  } else if constexpr (E::kPanels) {
    for (std::int32_t j = 0; j < n; ++j)
      for (std::int32_t i = 0; i < m; ++i) store(at_c(i, j), T{});
    // Real8: the same panels on the SIMD unit where the processor has them.
    if constexpr (std::is_same_v<T, double>)
      if (fma_matmul(a, b, c, m, k, n) >= 0) return write_shape(r, matrix, size, m, n);
    for (std::int32_t l0 = 0; l0 < k; l0 += kPanel) {
      const std::int32_t l1 = std::min(k, l0 + kPanel);
      for (std::int32_t j = 0; j < n; ++j)
        for (std::int32_t i = 0; i < m; ++i) {
          Sum s{};
          for (std::int32_t l = l0; l < l1; ++l) term(s, i, l, j);
          store(at_c(i, j), E::settle(s, load<T>(at_c(i, j))));
        }
    }
  } else {
    for (std::int32_t j = 0; j < n; ++j)
      for (std::int32_t i = 0; i < m; ++i) store(at_c(i, j), T{});
    for (std::int32_t l = 0; l < k; ++l)
      for (std::int32_t j = 0; j < n; ++j)
        for (std::int32_t i = 0; i < m; ++i) {
          Sum s = load<T>(at_c(i, j));
          term(s, i, l, j);
          store(at_c(i, j), s);
        }
  }
  write_shape(r, matrix, size, m, n);
}

}  // namespace vx::matmul
