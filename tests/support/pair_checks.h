// Checks for the entries that store two values through a hidden result
// address (the paired sine-cosine routines and their hyperbolic forms): the
// call itself, error rows under both infinity-flag values and resume.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "support/checks.h"
#include "support/recorder.h"

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

// One reported argument of a pair entry: the error number, and both values
// with a declining handler under infinity flag 0 (finite) and 1 (ieee), bit
// for bit.
template <class T, class C>
struct PairErrorRow {
  const char *name;
  PairFn<T, C> fn;
  T x;
  std::int32_t error;
  C finite;
  C ieee;
};

template <class T, class C>
void expect_pair_error_row(const PairErrorRow<T, C> &row) {
  SCOPED_TRACE(std::string(row.name) + "(" + std::to_string(row.x) + ")");
  for (std::uint8_t flag : {0, 1}) {
    Recorder rec(flag);
    const C got = call_pair(row.fn, row.x);
    ASSERT_EQ(rec.reports.size(), 1u) << "flag " << int{flag};
    const Report &r = rec.reports[0];
    EXPECT_EQ(r.number, row.error);
    EXPECT_EQ(r.value_count, 1);
    EXPECT_EQ(r.value_type[0], kTypeCode<T>);
    EXPECT_EQ(bits_of(r.value_as<T>(0)), bits_of(row.x));
    const C &want = flag == 1 ? row.ieee : row.finite;
    EXPECT_EQ(bits_of(got.re), bits_of(want.re)) << "first value, flag " << int{flag};
    EXPECT_EQ(bits_of(got.im), bits_of(want.im)) << "second value, flag " << int{flag};
  }
}

// A handler that answers 1 with `good` in the slot: the entry stores its
// pair at `good`, after exactly one report of `error`.
template <class T, class C>
void expect_pair_resume_with(PairFn<T, C> fn, T bad, T good, std::int32_t error) {
  const C want = call_pair(fn, good);
  Recorder rec;
  rec.answer = [good](const Report &r, int) {
    replace(r, 1, good);
    return 1;
  };
  const C got = call_pair(fn, bad);
  ASSERT_EQ(rec.reports.size(), 1u);
  EXPECT_EQ(rec.reports[0].number, error);
  EXPECT_EQ(bits_of(got.re), bits_of(want.re));
  EXPECT_EQ(bits_of(got.im), bits_of(want.im));
}

}  // namespace support
