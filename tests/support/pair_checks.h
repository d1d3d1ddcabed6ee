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

// The pair at x is (first, second) bit for bit, without a report.
template <class T, class C>
void expect_pair_exact(const char *name, PairFn<T, C> fn, T x, T first, T second) {
  Recorder rec;
  const C got = call_pair(fn, x);
  EXPECT_TRUE(rec.reports.empty()) << name << "(" << x << ") reported";
  EXPECT_EQ(bits_of(got.re), bits_of(first)) << name << "(" << x << ") first value " << got.re;
  EXPECT_EQ(bits_of(got.im), bits_of(second)) << name << "(" << x << ") second value " << got.im;
}

// Over `n` arguments from gen(), the pair entry stores what the two single
// functions it pairs return, bit for bit.
template <class T, class C, class Gen>
void expect_pair_agrees(const char *name, PairFn<T, C> pair, Unary<T> first, Unary<T> second,
                        std::uint64_t n, Gen gen) {
  int mismatches = 0;
  for (std::uint64_t i = 0; i < n; ++i) {
    const T x = static_cast<T>(gen());
    C p;
    pair(&p, &x);
    if ((bits_of(p.re) != bits_of(first(&x)) || bits_of(p.im) != bits_of(second(&x))) &&
        ++mismatches <= 5)
      ADD_FAILURE() << name << "(" << std::hexfloat << x << ") differs from the single functions";
  }
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
    C got;
    ASSERT_EQ(row.fn(&got, &row.x), &got);
    ASSERT_EQ(rec.reports.size(), 1u) << "flag " << int{flag};
    expect_argument_report(rec.reports[0], row.error, &row.x);
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
