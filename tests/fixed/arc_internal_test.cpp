// The arc kernels ulx_guat, ulx_guad, ulx_guaq against MPFR for the pairs their callers pass
// (X = 1.0, or a pair rescaled by ulx_guwc), with and without the complement, in units of
// 2^-128 at the result's scale; and bit for bit against the scan as defined, for any pair.
// Bound 128 units (2^-120 radians): up to 127 truncating steps and rounded table entries
// (measured: 44 radians, 78 degrees, 53 quadrant units).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "fixed/arc.h"
#include "fixed/tables/angles.h"
#include "oracle/oracle.h"
#include "support/mpz_words.h"
#include "support/sampling.h"

namespace {

using oracle::Big;
using support::Mpz;
using vx::fixed::U128;
namespace w = vx::w128;

struct KernelCase {
  const char *name;
  void (*fn)(std::int32_t, const Fixed128 *, const Fixed128 *, Fixed128 *);
  unsigned long turn;     // units in a full turn; 0 for radians
  int scale[2];           // of the result without and with the complement
  const Fixed128 *table;  // atan(2^-k) in the unit
  U128 right;             // the right angle at the complement's scale
};
const KernelCase kKernels[] = {
    {"guat",
     ulx_guat,
     0,
     {1, 1},
     vx::fixed::angles::at,
     w::from_words(0xc90fdaa2, 0x2168c234, 0xc4c6628b, 0x80dc1cd1)},  // hpi
    {"guad", ulx_guad, 360, {6, 7}, vx::fixed::angles::ad, {0xb4000000ull << 32, 0}},
    {"guaq", ulx_guaq, 4, {0, 1}, vx::fixed::angles::aq, {0x80000000ull << 32, 0}},
};
constexpr double kBound = 128;
constexpr U128 kOne = {1ull << 63, 0};  // 1.0 at scale 1

U128 call(const KernelCase &k, bool flag, U128 y, U128 x) {
  const Fixed128 fy = vx::fixed::store(y), fx = vx::fixed::store(x);
  Fixed128 out;
  k.fn(flag ? 1 : 0, &fy, &fx, &out);
  return vx::fixed::load(out);
}
mpz_ptr set(Mpz &z, U128 n) { return z.set({n.hi, n.lo}), z.get(); }

// |kernel - exact| in units of 2^-128 at the result's scale (flag: the complement).
double units(const KernelCase &k, bool flag, U128 y, U128 x) {
  Big e, a, b;
  Mpz z;
  mpfr_set_z(a, set(z, y), MPFR_RNDN), mpfr_set_z(b, set(z, x), MPFR_RNDN);
  k.turn == 0 ? mpfr_atan2(e, a, b, MPFR_RNDN) : mpfr_atan2u(e, a, b, k.turn, MPFR_RNDN);
  if (flag) {
    k.turn == 0 ? (mpfr_const_pi(a, MPFR_RNDN), mpfr_div_2ui(a, a, 1, MPFR_RNDN))
                : mpfr_set_d(a, static_cast<double>(k.turn) / 4, MPFR_RNDN);
    mpfr_sub(e, a, e, MPFR_RNDN);
  }
  mpfr_mul_2si(e, e, 128 - k.scale[flag], MPFR_RNDN);
  mpfr_set_z(b, set(z, call(k, flag, y, x)), MPFR_RNDN);
  mpfr_sub(e, b, e, MPFR_RNDN);
  return std::fabs(mpfr_get_d(e, MPFR_RNDN));
}

// The scan on GMP integers: for j = 0 to 126 with bit j of Y (weight 2^(127 - j)) set, s = j, or
// j + 1 when Y < X >> j; Y -= X >> s, X += (Y before) >> s while j < 64, A += entry s (radians:
// bit 2^(127 - s) from s = 43); complement hpi - A, or A / 2 from the right angle one scale up.
// X and A wrap modulo 2^128 (only outside the kernels' range).
U128 literal(const KernelCase &k, bool flag, U128 y0, U128 x0) {
  Mpz y, x, a, t, before;
  set(y, y0), set(x, x0);
  for (unsigned j = 0; j <= 126; ++j) {
    if (!mpz_tstbit(y.get(), 127 - j)) continue;
    unsigned s = j;
    mpz_fdiv_q_2exp(t.get(), x.get(), s);
    if (mpz_cmp(y.get(), t.get()) < 0) mpz_fdiv_q_2exp(t.get(), x.get(), ++s);
    mpz_set(before.get(), y.get());
    mpz_sub(y.get(), y.get(), t.get());
    if (j < 64) {
      mpz_fdiv_q_2exp(t.get(), before.get(), s), mpz_add(x.get(), x.get(), t.get());
      mpz_fdiv_r_2exp(x.get(), x.get(), 128);
    }
    const Fixed128 &e = k.table[k.turn == 0 && s >= 43 ? 0 : s];
    t.set({std::uint64_t{e.w[0]} << 32 | e.w[1], std::uint64_t{e.w[2]} << 32 | e.w[3]});
    if (k.turn == 0 && s >= 43) mpz_set_ui(t.get(), 0), mpz_setbit(t.get(), 127 - s);
    mpz_add(a.get(), a.get(), t.get());
  }
  mpz_fdiv_r_2exp(a.get(), a.get(), 128);
  if (flag) {
    if (k.turn != 0) mpz_fdiv_q_2exp(a.get(), a.get(), 1);
    mpz_sub(a.get(), set(t, k.right), a.get());
    mpz_fdiv_r_2exp(a.get(), a.get(), 128);
  }
  return {support::word_of(a.get(), 1), support::word_of(a.get(), 0)};
}

class ArcKernel : public ::testing::TestWithParam<KernelCase> {};

// Y = 0 gives 0 (the flag: the right angle), Y = X half a right angle, within half a unit (one
// for a complemented entry); then random pairs as the callers make them, within the bound.
TEST_P(ArcKernel, AgainstMpfr) {
  const KernelCase &k = GetParam();
  const U128 rescaled = {9ull << 60, 0};  // 1.0 as ulx_guwc leaves it
  for (bool flag : {false, true}) {
    EXPECT_LE(units(k, flag, {0, 0}, rescaled), 0.5) << flag;
    EXPECT_LE(units(k, flag, rescaled, rescaled), flag ? 1.0 : 0.5) << flag;
  }
  support::Sampler s(20261206 + k.turn);
  double worst[2] = {0, 0};
  for (std::uint64_t i = 0; i < support::scaled(3000); ++i) {
    // a in [0.5, 1) and b below it (some far below) rescaled, or X = 1.0 and Y = a.
    const unsigned gap = s.bits() % 4 == 0 ? static_cast<unsigned>(s.bits() % 120) : 0;
    const U128 a = {s.bits() >> 2 | 1ull << 62, s.bits()},
               b = w::shr({s.bits(), s.bits()}, 1 + gap);
    const vx::fixed::Pair p =
        s.bits() & 1 ? vx::fixed::rescale_pair(a, b) : vx::fixed::Pair{kOne, a, false};
    const bool flag = s.bits() & 1;
    const double e = units(k, flag, p.y, p.x);
    worst[flag] = std::max(worst[flag], e);
    ASSERT_LE(e, kBound) << k.name << " " << flag << " " << p.y.hi << " " << p.x.hi;
  }
  std::printf("%s: at most %.1f units, %.1f with the complement\n", k.name, worst[0], worst[1]);
}

// The kernel is the scan bit for bit, for any pair: in range or not.
TEST_P(ArcKernel, TheScanBitForBit) {
  const KernelCase &k = GetParam();
  support::Sampler s(20261207 + k.turn);
  for (std::uint64_t i = 0; i < support::scaled(3000); ++i) {
    const U128 x = w::shr({s.bits(), s.bits()}, static_cast<unsigned>(s.bits() % 3));
    const U128 y = w::shr({s.bits(), s.bits()}, static_cast<unsigned>(s.bits() % 128));
    const bool flag = s.bits() & 1;
    ASSERT_TRUE(w::equal(call(k, flag, y, x), literal(k, flag, y, x))) << y.hi << " " << x.hi;
  }
}

INSTANTIATE_TEST_SUITE_P(Kernels, ArcKernel, ::testing::ValuesIn(kKernels),
                         [](const auto &info) { return std::string(info.param.name); });

}  // namespace
