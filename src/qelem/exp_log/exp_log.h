// The Real16 exponentials and logarithms: the pseudo-multiplication kernel
// they share and the constants of their reductions.
//
// Exponential: with x = n log_b 2 + r, r in [0, log_b 2], the remainder R
// (Fixed128, scale 0) is spent greedily on the table of log_b(1 + 2^-k):
// each entry it covers multiplies the product Y (scale 2, from 1) by
// 1 + 2^-k, so that Y = b^(r - R_left); the result is Y 2^n.
// Logarithm: the reverse, driving m in [1, 2) up to just below 2 by the
// same factors and subtracting their logarithms from log_b 2.
#pragma once

#include <cstdint>

#include "fixed/fixed128.h"
#include "qelem/exp_log/tables/log_table.h"
#include "qelem/real16_ops.h"

namespace vx::qelem {

// Y = 1.0 at scale 2 times every 1 + 2^-k (k from `first` to `last`) whose
// table entry R still covers, R reduced by those entries. Y stays below 4
// (the factors taken multiply to at most b^R). No branch: whether an entry
// is taken depends on the argument's bits.
struct Product {
  U128 y, rest;
};
inline Product pseudo_multiply(U128 r, const U128 *table, int first, int last) {
  U128 y = {u64{1} << 62, 0};
  for (int k = first; k <= last; ++k) {
    const bool take = !w128::less(r, table[k]);
    r = w128::select(take, w128::sub(r, table[k]), r);
    y = w128::select(take, w128::add(y, w128::shr(y, static_cast<unsigned>(k))), y);
  }
  return {y, r};
}

// Y (scale 2) times 2^n as Real16 format bits: Y rounded to nearest, then n
// added to the exponent field (the callers' ranges keep it inside).
inline U128 times_power_of_two(U128 y, std::int32_t n) {
  const U128 b = fixed::to_real16(2, y);
  return {b.hi + (static_cast<u64>(static_cast<std::int64_t>(n)) << 48), b.lo};
}

}  // namespace vx::qelem
