// The arc kernels ulx_guat, ulx_guad, ulx_guaq against MPFR: the angle of
// (X, Y) for the pairs their callers pass (X = 1.0 at scale 1, or a pair of
// [0, 1] ordered and rescaled by ulx_guwc), with and without the
// complement, in units of the last place of the result's scale.
//
// Bound: 128 units of 2^-128 at the result's scale (2^-120 radians). Each
// of at most 127 steps truncates X >> s and Y >> s, and the degree and
// quadrant tables are rounded at every index; measured over 30000 pairs:
// 44 units (radians), 78 (degrees), 53 (quadrant units), the run prints
// its own maxima.
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
using vx::fixed::U128;
namespace w = vx::w128;

using Kernel = void (*)(std::int32_t, const Fixed128 *, const Fixed128 *, Fixed128 *);
struct KernelCase {
  const char *name;
  Kernel fn;
  unsigned long turn;  // units in a full turn; 0 for radians
  int scale[2];        // of the result without and with the complement
};
const KernelCase kKernels[] = {
    {"guat", ulx_guat, 0, {1, 1}},
    {"guad", ulx_guad, 360, {6, 7}},
    {"guaq", ulx_guaq, 4, {0, 1}},
};
constexpr double kBound = 128;  // units of 2^-128 at the result's scale

Fixed128 words(U128 n) { return vx::fixed::store(n); }
U128 call(const KernelCase &k, bool flag, U128 y, U128 x) {
  const Fixed128 fy = words(y), fx = words(x);
  Fixed128 out;
  k.fn(flag ? 1 : 0, &fy, &fx, &out);
  return vx::fixed::load(out);
}

// The exact angle of (x, y) in the kernel's unit, complemented to a right
// angle with the flag, times 2^(128 - scale).
void exact(Big &out, const KernelCase &k, bool flag, U128 y, U128 x) {
  Big fy, fx;
  support::Mpz z;
  z.set({y.hi, y.lo}), mpfr_set_z(fy, z.get(), MPFR_RNDN);
  z.set({x.hi, x.lo}), mpfr_set_z(fx, z.get(), MPFR_RNDN);
  k.turn == 0 ? mpfr_atan2(out, fy, fx, MPFR_RNDN) : mpfr_atan2u(out, fy, fx, k.turn, MPFR_RNDN);
  if (flag) {
    Big right;
    k.turn == 0 ? (mpfr_const_pi(right, MPFR_RNDN), mpfr_div_2ui(right, right, 1, MPFR_RNDN))
                : mpfr_set_d(right, static_cast<double>(k.turn) / 4, MPFR_RNDN);
    mpfr_sub(out, right, out, MPFR_RNDN);
  }
  mpfr_mul_2si(out, out, 128 - k.scale[flag], MPFR_RNDN);
}

// |got - exact| in units of the result's last place.
double units(const KernelCase &k, bool flag, U128 y, U128 x) {
  Big e, g;
  exact(e, k, flag, y, x);
  const U128 r = call(k, flag, y, x);
  support::Mpz z;
  z.set({r.hi, r.lo}), mpfr_set_z(g, z.get(), MPFR_RNDN);
  mpfr_sub(g, g, e, MPFR_RNDN);
  return std::fabs(mpfr_get_d(g, MPFR_RNDN));
}

// The scan as defined, on GMP integers: for j = 0 to 126, when bit j of the
// current Y (weight 2^(127 - j)) is set, s = j, or j + 1 when Y < X >> j;
// Y -= X >> s, X += (Y before) >> s while j < 64, A += the table entry of s
// (radians: the bit 2^(127 - s) from s = 43 on); the complement pi/2 - A,
// or A / 2 taken from the right angle one scale up. X and A wrap modulo
// 2^128 as the words do (only for pairs outside the kernels' range).
U128 literal(const KernelCase &k, bool flag, U128 y0, U128 x0) {
  namespace angles = vx::fixed::angles;
  support::Mpz y({y0.hi, y0.lo}), x({x0.hi, x0.lo}), a, t, before;
  for (unsigned j = 0; j <= 126; ++j) {
    if (!mpz_tstbit(y.get(), 127 - j)) continue;
    unsigned s = j;
    mpz_fdiv_q_2exp(t.get(), x.get(), s);
    if (mpz_cmp(y.get(), t.get()) < 0) mpz_fdiv_q_2exp(t.get(), x.get(), ++s);
    mpz_set(before.get(), y.get());
    mpz_sub(y.get(), y.get(), t.get());
    if (j < 64) {
      mpz_fdiv_q_2exp(t.get(), before.get(), s), mpz_add(x.get(), x.get(), t.get());
      mpz_fdiv_r_2exp(x.get(), x.get(), 128);  // the words wrap
    }
    const Fixed128 *table = k.turn == 0 ? angles::at : k.turn == 360 ? angles::ad : angles::aq;
    if (k.turn == 0 && s >= 43) {
      mpz_set_ui(t.get(), 0), mpz_setbit(t.get(), 127 - s);
    } else {
      const Fixed128 &e = table[s];
      t.set({std::uint64_t{e.w[0]} << 32 | e.w[1], std::uint64_t{e.w[2]} << 32 | e.w[3]});
    }
    mpz_add(a.get(), a.get(), t.get());
  }
  mpz_fdiv_r_2exp(a.get(), a.get(), 128);
  if (flag) {
    const U128 right = k.turn == 0 ? w::from_words(0xc90fdaa2, 0x2168c234, 0xc4c6628b, 0x80dc1cd1)
                       : k.turn == 360 ? w::from_words(0xb4000000, 0, 0, 0)
                                       : w::from_words(0x80000000, 0, 0, 0);
    if (k.turn != 0) mpz_fdiv_q_2exp(a.get(), a.get(), 1);
    t.set({right.hi, right.lo}), mpz_sub(a.get(), t.get(), a.get());
  }
  mpz_fdiv_r_2exp(a.get(), a.get(), 128);  // modulo 2^128, as the words wrap
  return {support::word_of(a.get(), 1), support::word_of(a.get(), 0)};
}

class ArcKernel : public ::testing::TestWithParam<KernelCase> {};

// Y = 0 gives 0, or the right angle with the flag; Y = X gives half a right
// angle either way; X = 1.0 and Y = 0.5 give atan(0.5) to the last bits.
TEST_P(ArcKernel, DefinitionRows) {
  const KernelCase &k = GetParam();
  const U128 one = w::from_words(0x80000000, 0, 0, 0), half = w::shr(one, 1);
  const U128 rescaled = w::from_words(0x90000000, 0, 0, 0);  // 1.0 as ulx_guwc leaves it
  for (bool flag : {false, true}) {
    // Rounded table entries and right angles: half a unit, one for the
    // complement of a rounded entry.
    EXPECT_LE(units(k, flag, {0, 0}, rescaled), 0.5) << flag;
    EXPECT_LE(units(k, flag, rescaled, rescaled), flag ? 1.0 : 0.5) << flag;
    EXPECT_LE(units(k, flag, half, one), kBound) << flag;
  }
  // The radian complement is pi/2 minus the angle without it, bit for bit.
  const U128 pi_2 = w::from_words(0xc90fdaa2, 0x2168c234, 0xc4c6628b, 0x80dc1cd1);
  if (k.turn == 0) {
    EXPECT_TRUE(w::equal(call(k, true, half, one), w::sub(pi_2, call(k, false, half, one))));
  }
}

// Random pairs as the callers make them, both flags.
TEST_P(ArcKernel, AgainstMpfr) {
  const KernelCase &k = GetParam();
  support::Sampler s(20261206 + k.turn);
  double worst[2] = {0, 0};
  for (std::uint64_t i = 0; i < support::scaled(3000); ++i) {
    // a in [0.5, 1) and b below it at scale 1 (some far below), rescaled;
    // or X = 1.0 and Y below it.
    const unsigned gap = s.bits() % 4 == 0 ? static_cast<unsigned>(s.bits() % 120) : 0;
    const U128 a = {s.bits() >> 2 | 1ull << 62, s.bits()},
               b = w::shr({s.bits(), s.bits()}, 1 + gap);
    U128 x = w::from_words(0x80000000, 0, 0, 0), y = a;
    if (s.bits() & 1) {
      const vx::fixed::Pair p = vx::fixed::rescale_pair(a, b);
      x = p.x, y = p.y;
    }
    const bool flag = s.bits() & 1;
    const double e = units(k, flag, y, x);
    worst[flag] = std::max(worst[flag], e);
    ASSERT_LE(e, kBound) << k.name << " " << flag << " " << y.hi << " " << x.hi;
  }
  std::printf("%s: at most %.1f units, %.1f with the complement\n", k.name, worst[0], worst[1]);
}

// The kernel is the scan bit for bit, for any pair: in range or not.
TEST_P(ArcKernel, TheScanBitForBit) {
  const KernelCase &k = GetParam();
  support::Sampler s(20261207 + k.turn);
  for (std::uint64_t i = 0; i < support::scaled(3000); ++i) {
    const unsigned gap = static_cast<unsigned>(s.bits() % 130);
    const U128 x = w::shr({s.bits(), s.bits()}, static_cast<unsigned>(s.bits() % 3));
    const U128 y = w::shr({s.bits(), s.bits()}, gap % 128);
    const bool flag = s.bits() & 1;
    ASSERT_TRUE(w::equal(call(k, flag, y, x), literal(k, flag, y, x))) << y.hi << " " << x.hi;
  }
}

INSTANTIATE_TEST_SUITE_P(Kernels, ArcKernel, ::testing::ValuesIn(kKernels),
                         [](const auto &info) { return std::string(info.param.name); });

}  // namespace
