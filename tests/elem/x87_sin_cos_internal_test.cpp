// The entries that round FSIN and FCOS to a type give the instruction's
// results bit for bit, through the model route of x87_sin_cos.h where
// vx::cpu::x87_sin_cos holds (a processor with FMA whose unit the load-time
// probe recognises). Where it does not (the i386 emulator, whose FSIN
// reduces by another pi), the entries execute the instruction and the
// comparison still holds; the test says which it ran. The exhaustive Real4
// comparison is x87_sin_cos_slow_test.
#include <gtest/gtest.h>
#include <vexmorg/vexmorg.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "common/cpu.h"
#include "common/x87.h"
#include "elem/trig/tables/sin_cos_table.h"
#include "elem/trig/x87_sin_cos.h"
#include "elem/x87_sin_cos_arguments.h"
#include "support/family_table.h"

namespace {

using support::bits_of;

template <class T>
struct Results {
  T sin, cos;
};

// What each entry returns for x, and what the instruction rounds to.
template <class T>
std::vector<Results<T>> entries(T x) {
  if constexpr (sizeof(T) == 4) {
    Complex8 p;
    g_scns(&p, &x);
    const auto v = vx::x87_sine_cosine(x);
    return {
        {g_sin(&x), g_cos(&x)}, {p.re, p.im}, {vx::x87_sine(x), vx::x87_cosine(x)}, {v.sin, v.cos}};
  } else {
    Complex16 p;
    g_dscn(&p, &x);
    const auto v = vx::x87_sine_cosine(x);
    return {{g_dsin(&x), g_dcos(&x)},
            {p.re, p.im},
            {vx::x87_sine(x), vx::x87_cosine(x)},
            {v.sin, v.cos}};
  }
}

// Every entry at x against the instruction; the first mismatch fails.
template <class T>
bool same(T x) {
  const T s = static_cast<T>(vx::x87::fsin(x)), c = static_cast<T>(vx::x87::fcos(x));
  const char *names[] = {"g_sin/g_cos", "pair", "x87_sine/x87_cosine", "x87_sine_cosine"};
  int i = 0;
  for (const Results<T> &r : entries(x)) {
    if (bits_of(r.sin) != bits_of(s) || bits_of(r.cos) != bits_of(c)) {
      ADD_FAILURE() << std::hexfloat << names[i] << "(" << x << ") = (" << r.sin << ", " << r.cos
                    << "), the instruction (" << s << ", " << c << ")";
      return false;
    }
    ++i;
  }
  return true;
}

// Arguments over the whole range below the limit (x87_sin_cos_arguments.h)
// and the ends of the range.
template <class T>
void compare(T limit, std::uint64_t count) {
  std::printf("  model route %s\n", vx::cpu::x87_sin_cos ? "on" : "off: the instruction runs");
  support::Sampler s(sizeof(T) * 20261206);
  for (std::uint64_t i = 0; i < support::scaled(count); ++i)
    if (!same(x87_sin_cos_arguments::draw(s, limit, i))) return;
  for (T x : {T(0), -T(0), std::numeric_limits<T>::denorm_min(), std::nextafter(limit, T(0))})
    if (!same(x) || !same(-x)) return;
}

TEST(X87SinCos, Real4EntriesAreTheInstruction) { compare<float>(823000.0f, 2000000); }
TEST(X87SinCos, Real8EntriesAreTheInstruction) { compare<double>(3.53e15, 2000000); }

// rows[0][64 + j] = (sin, cos)(j/64), rows[1][64 + j] = (cos, -sin)(j/64),
// |j| <= 64: the nearest Real8 and the nearest Real8 to the remainder.
TEST(X87SinCos, TableRecomputedWithMpfr) {
  oracle::Big t, s, c;
  for (int j = 0; j < vx::sin_cos_table::kRows; ++j) {
    mpfr_set_si(t, j - 64, MPFR_RNDN);
    mpfr_div_2ui(t, t, 6, MPFR_RNDN);
    mpfr_sin(s, t, MPFR_RNDN);
    mpfr_cos(c, t, MPFR_RNDN);
    const auto &r0 = vx::sin_cos_table::rows[0][j], &r1 = vx::sin_cos_table::rows[1][j];
    support::expect_split(s, r0.a, r0.a_low, j);
    support::expect_split(c, r0.b, r0.b_low, j);
    support::expect_split(c, r1.a, r1.a_low, j);
    mpfr_neg(s, s, MPFR_RNDN);
    support::expect_split(s, r1.b, r1.b_low, j);
  }
}

}  // namespace
