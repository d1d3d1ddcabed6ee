// The call of an entry that stores two values through a hidden result
// address (the paired sine-cosine routines and their hyperbolic forms).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

namespace support {

template <class T, class C>
using PairFn = C *(*)(C *, const T *);

// Calls fn(&out, &x) on a result buffer with guards on both sides, checks
// that it returns the buffer's address and writes nothing beside it, and
// returns the pair.
template <class T, class C>
C call_pair(PairFn<T, C> fn, T x) {
  struct Guarded {
    std::uint64_t before;
    C value;
    std::uint64_t after;
  } g{0x5a5a5a5a5a5a5a5aull, {}, 0xa5a5a5a5a5a5a5a5ull};
  C *const returned = fn(&g.value, &x);
  EXPECT_EQ(returned, &g.value) << "the result address comes back";
  EXPECT_EQ(g.before, 0x5a5a5a5a5a5a5a5aull);
  EXPECT_EQ(g.after, 0xa5a5a5a5a5a5a5a5ull);
  return g.value;
}

}  // namespace support
