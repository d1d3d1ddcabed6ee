// Real16 exponentials, logarithms and cube root against MPFR (256 bits).
//
// Bounds: 2 ulp for the exponentials and logarithms (the reductions round r
// or n log_b 2 once, the fixed-point loops lose below 2^-120), 0.5 ulp for
// the cube root (correctly rounded). Exact points: powers of two from
// g_qexp2 and g_qlog2, powers of ten from g_qexp10, ln 1 = 0, log(1/2) =
// -ln 2 as rounded, exact cubes.
// The tables are recomputed with MPFR.
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
Real16 power_of_two(int k) { return real16(static_cast<std::uint32_t>(16383 + k) << 16); }
Real16 negative(Real16 x) { return x.w[3] ^= kSign16, x; }

// The Real16 nearest to k c: the hardest arguments of a reduction by c.
Real16 nearest_multiple(int (*constant)(mpfr_ptr, mpfr_rnd_t), int k, int divide_by = 1) {
  Big v(Precision{256});
  constant(v, MPFR_RNDN);
  if (divide_by != 1) mpfr_div_ui(v, v, static_cast<unsigned long>(divide_by), MPFR_RNDN);
  mpfr_mul_si(v, v, k, MPFR_RNDN);
  return oracle::round_to_real16(v).bits;
}
int log10_2(mpfr_ptr v, mpfr_rnd_t rnd) {
  mpfr_set_ui(v, 2, rnd);
  return mpfr_log10(v, v, rnd);
}

std::vector<Point16> multiples(int (*constant)(mpfr_ptr, mpfr_rnd_t), int limit) {
  std::vector<Point16> p;
  for (int k : {1, 2, 3, 7, 100, 1001, limit}) {
    p.push_back({nearest_multiple(constant, k), 2});
    p.push_back({nearest_multiple(constant, -k), 2});
  }
  return p;
}

std::vector<Exact16> powers_of_two_from(Real16 (*arg)(int), Real16 (*want)(int), int lo, int hi,
                                        int step) {
  std::vector<Exact16> e;
  for (int k = lo; k <= hi; k += step) e.push_back({arg(k), want(k)});
  return e;
}

std::vector<Exact16> exp_exact() {
  // "g_qexp of 0 returns exactly 1"; "of -11355.125 returns +0 without an error".
  return {{kZero, kOne},
          {kMinusZero, kOne},
          {q(-11355.125), kZero},
          {q(-1e6), kZero},
          {kMinusInf, kZero}};
}

std::vector<Exact16> exp2_exact() {
  // "g_qexp2 of 10 returns exactly 1024"; integers give exact powers; x <= -16382 gives +0.
  auto e = powers_of_two_from([](int k) { return q(k); }, power_of_two, -16381, 16383, 997);
  for (int k : {-16381, -1, 0, 1, 10, 16383}) e.push_back({q(k), power_of_two(k)});
  e.push_back({q(-16382), kZero});
  return e;
}

std::vector<Exact16> exp10_exact() {
  // 10^k for k = 0..48 is exact (5^48 < 2^113); x <= -4931.4375 gives +0.
  std::vector<Exact16> e = {{q(-4931.4375), kZero}};
  for (int k = 0; k <= 48; ++k) {
    Big v(Precision{113});
    mpfr_ui_pow_ui(v, 10, static_cast<unsigned long>(k), MPFR_RNDN);
    e.push_back({q(k), oracle::round_to_real16(v).bits});
  }
  return e;
}

std::vector<Exact16> log2_exact() {
  // "g_qlog2 of 2^100 returns 100"; ln 1 = 0 on the near-1 path.
  auto e = powers_of_two_from(
      power_of_two, [](int k) { return q(k); }, -16382, 16383, 991);
  for (int k : {-2, -1, 1, 2, 100}) e.push_back({power_of_two(k), q(k)});
  e.push_back({kOne, kZero});
  return e;
}

std::vector<Exact16> cbrt_exact() {
  // "g_qcbrt of -27 returns -3; of 2^300 returns 2^100".
  std::vector<Exact16> e = {
      {q(-27), q(-3)}, {power_of_two(300), power_of_two(100)}, {kZero, kZero}, {kMinusZero, kZero}};
  for (double c : {1.5, 3.0, 1 + 0x1p-37, 12345.0, 0x1.fffffffffp0})
    for (int k : {-5000, -1, 0, 1, 5000}) {
      Real16 root = q(c);
      root.w[3] += static_cast<std::uint32_t>(k) << 16;
      Big v(Precision{256});
      oracle::set_real16(v, root);
      mpfr_pow_ui(v, v, 3, MPFR_RNDN);  // exact: at most 111 bits
      e.push_back({oracle::round_to_real16(v).bits, root});
    }
  return e;
}

// "g_qexp ... of 11356.5 raises 231" and the limits of g_qexp2 and g_qexp10;
// "g_qlog of -e with the infinity flag clear raises 246 and then returns the
// logarithm of e"; the logarithm of zero.
std::vector<Fault16> overflow(std::vector<Real16> xs, std::int32_t error) {
  std::vector<Fault16> f;
  for (const Real16 &x : xs) f.push_back({x, error, kLargest, kInf});
  return f;
}
std::vector<Fault16> log_faults(Entry16 fn) {
  std::vector<Fault16> f = {{kZero, 246, kMinusLargest, kMinusInf},
                            {kMinusZero, 246, kMinusLargest, kMinusInf}};
  for (double x : {-2.718281828459045, -1.0, -0x1p-1000}) {
    Recorder quiet;
    f.push_back({q(x), 246, call(fn, q(-x)), kNaN});
  }
  return f;
}

const Row16 kRows[] = {
    {"g_qexp",
     g_qexp,
     mpfr_exp,
     {{-11355, 11356, 2}, {-1, 1, 2}, {0x1p-120, 0x1p-20, 2, Draw::log}},
     multiples(mpfr_const_log2, 16381),
     exp_exact(),
     overflow({q(11356.5), q(20000), kInf, kNaN, kLargest}, 231)},
    {"g_qexp2",
     g_qexp2,
     mpfr_exp2,
     {{-16381.9, 16383.9, 2}, {-1, 1, 2}, {0x1p-120, 0x1p-20, 2, Draw::log}},
     {{q(-1.5), 2}, {q(-0.5), 2}},
     exp2_exact(),
     overflow({q(16384), q(1e6), kInf}, 240)},
    {"g_qexp10",
     g_qexp10,
     mpfr_exp10,
     {{-4931.4, 4932, 2}, {-1, 1, 2}, {0x1p-120, 0x1p-20, 2, Draw::log}},
     multiples(log10_2, 16381),
     exp10_exact(),
     overflow({q(4932.0625), q(5000), kInf}, 243)},
    {"g_qlog",
     g_qlog,
     mpfr_log,
     {{1, 0x7ffe, 2, Draw::binades}, {0.99989, 1.0000915, 2}, {0.25, 0.5, 2}, {1, 4, 2}},
     {{kTwo, 2}, {kLargest, 2}},
     {{kHalf, negative(kLn2)}, {kOne, kZero}},
     log_faults(g_qlog)},
    {"g_qlog2",
     g_qlog2,
     mpfr_log2,
     {{1, 0x7ffe, 2, Draw::binades}, {0.99989, 1.0000915, 2}, {0.25, 0.5, 2}, {1, 4, 2}},
     {},
     log2_exact(),
     log_faults(g_qlog2)},
    {"g_qlog10",
     g_qlog10,
     mpfr_log10,
     {{1, 0x7ffe, 2, Draw::binades}, {0.99989, 1.0000915, 2}, {0.25, 0.5, 2}, {1, 4, 2}},
     // "g_qlog10 of 1000 returns 3 up to the last unit".
     {{q(1000), 1}, {q(1e30), 1}, {q(0.1), 2}},
     {{kOne, kZero}},
     log_faults(g_qlog10)},
    {"g_qcbrt",
     g_qcbrt,
     mpfr_cbrt,
     {{1, 0x7ffe, 0.5, Draw::binades}, {-10, 10, 0.5}},
     {},
     cbrt_exact()},
};

VEXMORG_TABLE16(Real16ExpLog, Entries, kRows);

// The tables: log_b(1 + 2^-k) truncated to 128 fraction bits.
TEST(Real16ExpLogTables, TruncatedLogarithms) {
  struct Table {
    int base;
    const vx::w128::U128 *entries;
    int count;
  };
  for (const Table &t : {Table{0, vx::qlog_table::al, 65}, Table{2, vx::qlog_table::a2, 129},
                         Table{10, vx::qlog_table::a10, 129}}) {
    for (int k = 0; k < t.count; ++k) {
      Big v(Precision{512}), b(Precision{512});
      mpfr_set_ui_2exp(v, 1, -k, MPFR_RNDN);
      mpfr_log1p(v, v, MPFR_RNDN);
      if (t.base != 0) {
        mpfr_set_ui(b, static_cast<unsigned long>(t.base), MPFR_RNDN);
        mpfr_log(b, b, MPFR_RNDN);
        mpfr_div(v, v, b, MPFR_RNDN);
      }
      // Truncated, modulo 2^128 (log2 2 = 1 wraps to 0).
      mpfr_mul_2ui(v, v, 128, MPFR_RNDN);
      mpfr_floor(v, v);
      mpfr_set_ui_2exp(b, 1, 128, MPFR_RNDN);
      if (mpfr_cmp(v, b) >= 0) mpfr_sub(v, v, b, MPFR_RNDN);
      Mpz z({t.entries[k].hi, t.entries[k].lo});
      mpfr_set_z(b, z.get(), MPFR_RNDN);
      EXPECT_TRUE(mpfr_equal_p(v, b)) << "base " << t.base << " entry " << k;
    }
  }
}

}  // namespace
