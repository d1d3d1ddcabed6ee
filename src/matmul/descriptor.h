// Reading MATMUL operands from their array descriptors and writing the
// result's shape back.
//
// An operand is read once into an Operand: its data address, whether it is
// a matrix (rank 2; any other rank is taken as a vector) and, per
// dimension, the extent (a negative one as 0) and the step in bytes (the
// byte stride divided by the element size, truncated toward zero, times the
// element size). Dimension 2 of a vector is read as extent 1, step 0: a
// vector b(k) on the right is the k-by-1 matrix, and as_row makes a vector
// a(k) on the left the 1-by-k matrix, so every case is C(m,n) = A(m,k) *
// B(k,n).
//
// Elements are loaded and stored byte-wise: operands and result need not be
// aligned to their element size.
#pragma once

#include <vexmorg/vexmorg.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace vx::matmul {

struct Operand {
  const unsigned char *data;
  bool matrix;
  std::int32_t extent[2];
  std::ptrdiff_t step[2];  // bytes between consecutive elements
};

inline Operand read_operand(const ArrayDescriptor &d, std::int32_t size) {
  Operand op{static_cast<const unsigned char *>(d.data_address), d.rank == 2, {1, 1}, {0, 0}};
  for (int k = 0; k < (op.matrix ? 2 : 1); ++k) {
    const std::int32_t extent = *d.dim[k].extent_ref;
    op.extent[k] = extent < 0 ? 0 : extent;
    op.step[k] = static_cast<std::ptrdiff_t>(*d.dim[k].stride_ref / size) * size;
  }
  return op;
}

// A vector on the left, a(k), as the 1-by-k matrix.
inline Operand as_row(Operand op) {
  if (op.matrix) return op;
  return {op.data, false, {1, op.extent[0]}, {0, op.step[0]}};
}

// Element (i, l) of the operand viewed as a matrix, indices from 0.
inline const unsigned char *at(const Operand &op, std::int32_t i, std::int32_t l) {
  return op.data + i * op.step[0] + l * op.step[1];
}

template <class T>
T load(const unsigned char *p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

template <class T>
void store(unsigned char *p, const T &v) {
  std::memcpy(p, &v, sizeof v);
}

// The result's shape: rank 2 gets strides (size, size * m) and extents
// (m, n); rank 1 gets stride `size` and extent `count`.
inline void write_shape(const ArrayDescriptor &r, bool matrix, std::int32_t size, std::int32_t m,
                        std::int32_t n) {
  *r.dim[0].stride_ref = size;
  *r.dim[0].extent_ref = matrix ? m : m * n;
  if (!matrix) return;
  *r.dim[1].stride_ref =
      static_cast<std::int32_t>(static_cast<std::uint32_t>(size) * static_cast<std::uint32_t>(m));
  *r.dim[1].extent_ref = n;
}

// Operands that do not conform: error 1375 with no values, then every
// dimension of the result descriptor (as many as its rank, at most two)
// gets stride and extent 0, whatever the handler answered.
void report_shape_error(const ArrayDescriptor &r);

// Error 1375 with no values and nothing else written (g_mt22blasd,
// g_mt21blasd: no descriptor is touched).
void report_mismatch();

}  // namespace vx::matmul
