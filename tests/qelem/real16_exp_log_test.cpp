// Real16 exponentials, logarithms and cube root against MPFR (256 bits),
// and their tables recomputed.
//
// Bounds: 2 ulp for the exponentials and logarithms (the reductions round r
// or n log_b 2 once, the fixed-point loops lose below 2^-120), 0.5 ulp for
// the cube root (correctly rounded).
#include <gtest/gtest.h>

#include <cmath>

#include "qelem/exp_log/tables/log_table.h"
#include "support/mpz_words.h"
#include "support/real16_functions.h"

namespace {

using namespace support;
using oracle::Big;
using oracle::Precision;

constexpr Real16 kHalf = real16(0x3ffe0000), kTwo = real16(0x40000000);
constexpr Real16 kMinusLargest = real16(0xfffeffff, ~0u, ~0u, ~0u);
constexpr Real16 kLn2 = real16(0x3ffe62e4, 0x2fefa39e, 0xf35793c7, 0x673007e6);

Real16 q(double x) { return widened(x); }
Real16 two_to(int k) { return real16(static_cast<std::uint32_t>(16383 + k) << 16); }
Real16 rounded(mpfr_srcptr v) { return oracle::round_to_real16(v).bits; }

// The Real16 nearest to +-k c: the hardest arguments of a reduction by c.
std::vector<Point16> multiples(int (*constant)(mpfr_ptr, mpfr_rnd_t)) {
  std::vector<Point16> p;
  Big c(Precision{256}), v(Precision{256});
  constant(c, MPFR_RNDN);
  for (long k : {1, 2, 3, 7, 100, 1001, 16381})
    for (long sign : {1, -1})
      p.push_back({rounded((mpfr_mul_si(v, c, sign * k, MPFR_RNDN), v)), 2});
  return p;
}
int log10_2(mpfr_ptr v, mpfr_rnd_t rnd) { return mpfr_set_ui(v, 2, rnd), mpfr_log10(v, v, rnd); }

// x^(k) -> want(k) for k from lo to hi by step, and at the ks listed.
std::vector<Exact16> powers(Real16 (*x)(int), Real16 (*want)(int), int lo, int hi, int step,
                            std::vector<int> ks) {
  std::vector<Exact16> e;
  for (int k = lo; k <= hi; k += step) ks.push_back(k);
  for (int k : ks) e.push_back({x(k), want(k)});
  return e;
}
Real16 qi(int k) { return q(k); }
Real16 ten_to(int k) {  // exact for k up to 48 (5^48 < 2^113)
  Big v(Precision{113});
  mpfr_ui_pow_ui(v, 10, static_cast<unsigned long>(k), MPFR_RNDN);
  return rounded(v);
}

// "g_qcbrt of -27 returns -3; of 2^300 returns 2^100": and r^3 -> r for
// roots of up to 37 bits over the exponent range.
std::vector<Exact16> cbrt_exact() {
  std::vector<Exact16> e = {
      {q(-27), q(-3)}, {two_to(300), two_to(100)}, {kZero, kZero}, {kMinusZero, kZero}};
  for (double c : {1.5, 3.0, 1 + 0x1p-37, 12345.0, 0x1.fffffffffp0})
    for (int k : {-5000, -1, 0, 1, 5000}) {
      Real16 root = q(c);
      root.w[3] += static_cast<std::uint32_t>(k) << 16;
      oracle::Exact v(root);
      mpfr_pow_ui(v, v, 3, MPFR_RNDN);  // exact: at most 111 bits
      e.push_back({rounded(v), root});
    }
  return e;
}

// Roots just above a midpoint, by less than 2^-15 ulp (the 15 bits below
// the kept ones at the half, the root inexact): cubes of random midpoints
// rounded, the few that land there.
std::vector<Point16> near_ties() {
  std::vector<Point16> p;
  Sampler s(3);
  Big m(Precision{512}), v(Precision{512}), u(Precision{512});
  for (int i = 0; p.size() < 8 && i < 1000000; ++i) {
    oracle::set_real16(m,
                       real16_of(false, 16383 + s.bits() % 3, s.bits() & 0xffffffffffff, s.bits()));
    mpfr_set_ui_2exp(u, 1, mpfr_get_exp(m) - 114, MPFR_RNDN);  // half an ulp
    mpfr_add(m, m, u, MPFR_RNDN);
    mpfr_pow_ui(v, m, 3, MPFR_RNDN);
    const Real16 x = rounded(v);
    oracle::set_real16(v, x);
    mpfr_cbrt(v, v, MPFR_RNDN);
    mpfr_sub(v, v, m, MPFR_RNDN);
    mpfr_div_2ui(u, u, 14, MPFR_RNDN);
    if (mpfr_cmp_ui(v, 0) > 0 && mpfr_cmp(v, u) < 0) p.push_back({x, 0.5});
  }
  EXPECT_EQ(p.size(), 8u);
  return p;
}

// "g_qexp ... of 11356.5 raises 231" and the limits of g_qexp2 and g_qexp10;
// "g_qlog of -e with the infinity flag clear raises 246 and then returns the
// logarithm of e"; the logarithm of zero.
std::vector<Fault16> overflow(std::int32_t error, std::vector<Real16> xs) {
  return faults(error, kLargest, kInf, xs);
}
std::vector<Fault16> log_faults(Entry16 fn) {
  auto f = faults(246, kMinusLargest, kMinusInf, {kZero, kMinusZero});
  for (double x : {-2.718281828459045, -1.0, -0x1p-1000}) {
    Recorder quiet;
    f.push_back({q(x), 246, Fn16(fn)(q(-x)), kNaN});
  }
  return f;
}

const std::vector<Range16> kExpRanges = {{-1, 1, 2}, {0x1p-120, 0x1p-20, 2, Draw::log}};
const std::vector<Range16> kLogRanges = {
    {1, 0x7ffe, 2, Draw::binades}, {0.99989, 1.0000915, 2}, {0.25, 0.5, 2}, {1, 4, 2}};
std::vector<Range16> with(Range16 r, std::vector<Range16> rs) {
  return rs.insert(rs.begin(), r), rs;
}

// clang-format off
const Row16 kRows[] = {
    // "g_qexp of 0 returns exactly 1"; "of -11355.125 returns +0 without an error".
    {"g_qexp", g_qexp, mpfr_exp, kNone, with({-11355, 11356, 2}, kExpRanges),
     multiples(mpfr_const_log2),
     {{kZero, kOne}, {kMinusZero, kOne}, {q(-11355.125), kZero}, {q(-1e6), kZero}, {kMinusInf, kZero}},
     overflow(231, {q(11356.5), q(20000), kInf, kNaN, kLargest})},
    // "g_qexp2 of 10 returns exactly 1024"; integers give exact powers; x <= -16382 gives +0.
    {"g_qexp2", g_qexp2, mpfr_exp2, kNone, with({-16381.9, 16383.9, 2}, kExpRanges),
     {{q(-1.5), 2}, {q(-0.5), 2}},
     [] { auto e = powers(qi, two_to, -16381, 16383, 997, {-1, 0, 1, 10, 16383});
          return e.push_back({q(-16382), kZero}), e; }(),
     overflow(240, {q(16384), q(1e6), kInf})},
    // 10^k for k = 0..48 is exact; x <= -4931.4375 gives +0.
    {"g_qexp10", g_qexp10, mpfr_exp10, kNone, with({-4931.4, 4932, 2}, kExpRanges),
     multiples(log10_2),
     [] { auto e = powers(qi, ten_to, 0, 48, 1, {});
          return e.push_back({q(-4931.4375), kZero}), e; }(),
     overflow(243, {q(4932.0625), q(5000), kInf})},
    // ln 1 = 0 on the near-1 path; log(1/2) = -ln 2 as rounded.
    {"g_qlog", g_qlog, mpfr_log, kNone, kLogRanges, {{kTwo, 2}, {kLargest, 2}},
     {{kHalf, negated(kLn2)}, {kOne, kZero}}, log_faults(g_qlog)},
    // "g_qlog2 of 2^100 returns 100".
    {"g_qlog2", g_qlog2, mpfr_log2, kNone, kLogRanges, {},
     powers(two_to, qi, -16382, 16383, 991, {-2, -1, 0, 1, 2, 100}), log_faults(g_qlog2)},
    // "g_qlog10 of 1000 returns 3 up to the last unit".
    {"g_qlog10", g_qlog10, mpfr_log10, kNone, kLogRanges,
     {{q(1000), 1}, {q(1e30), 1}, {q(0.1), 2}}, {{kOne, kZero}}, log_faults(g_qlog10)},
    {"g_qcbrt", g_qcbrt, mpfr_cbrt, kOdd, {{1, 0x7ffe, 0.5, Draw::binades}, {-10, 10, 0.5}},
     near_ties(), cbrt_exact()},
};
// clang-format on

VEXMORG_TABLE16(Real16ExpLog, Entries, kRows);

// The tables: log_b(1 + 2^-k) truncated to 192 fraction bits (128 and the
// 64 below them), modulo 2^128 (log2 2 = 1 wraps to 0).
TEST(Real16ExpLogTables, TruncatedLogarithms) {
  struct Table {
    int base;
    const vx::w128::U128 *entries;
    const std::uint64_t *low;
    int count;
  };
  using namespace vx::qlog_table;
  for (const Table &t :
       {Table{0, al, al_low, 65}, Table{2, a2, a2_low, 129}, Table{10, a10, a10_low, 129}}) {
    for (int k = 0; k < t.count; ++k) {
      Big v(Precision{512}), b(Precision{512});
      mpfr_set_ui_2exp(v, 1, -k, MPFR_RNDN);
      mpfr_log1p(v, v, MPFR_RNDN);
      if (t.base != 0) mpfr_set_ui(b, t.base, MPFR_RNDN), mpfr_log(b, b, MPFR_RNDN);
      if (t.base != 0) mpfr_div(v, v, b, MPFR_RNDN);
      mpfr_mul_2ui(v, v, 192, MPFR_RNDN);
      mpfr_floor(v, v);
      Mpz z({t.entries[k].hi, t.entries[k].lo, t.low[k]});
      mpfr_set_z(b, z.get(), MPFR_RNDN);
      mpfr_sub(v, v, b, MPFR_RNDN);
      EXPECT_TRUE(mpfr_zero_p(v) || mpfr_cmp_ui_2exp(v, 1, 192) == 0) << t.base << " " << k;
    }
  }
}

}  // namespace
