// Every positive Real4 argument of g_sinh, g_cosh and g_tanh (the negated
// by the symmetry) against the bounds of hyperbolic_test, libm's Real8
// function screening each result (CTest label slow, not in the default
// run); tanh to 20, from which it is 1 to within 2^-57.
#include <gtest/gtest.h>

#include <cmath>

#include "support/family_table.h"

namespace {

using support::Symmetry;
constexpr auto bits = support::bits_of<float>;

TEST(Exhaustive4, SinhCoshTanh) {
  const support::Screen screens[] = {
      {"g_sinh", g_sinh, [](float x) { return std::sinh(double{x}); }, mpfr_sinh,
       [](float x) {
         return x <= 1 ? 1.2 : bits(x) < 0x41051eb8 ? 1.85 : bits(x) < 0x42b171aa ? 1.01 : 0.51;
       },
       Symmetry::odd},
      {"g_cosh", g_cosh, [](float x) { return std::cosh(double{x}); }, mpfr_cosh,
       [](float x) {
         return x <= 1 ? 0.6 : bits(x) < 0x41051eb8 ? 1.1 : bits(x) < 0x42b171aa ? 1.01 : 0.51;
       },
       Symmetry::even},
      {"g_tanh", g_tanh, [](float x) { return std::tanh(double{x}); }, mpfr_tanh,
       [](float x) { return x <= 1  ? 0.8
                            : x < 9 ? 0.51
                                    : 0.512; }, Symmetry::odd}};
  // To 89.415 (excluded); tanh from the smallest subnormal (a zero of either
  // sign gives +0, hyperbolic_test's row) to 20 (included).
  for (const support::Screen &s : screens)
    support::every_real4(s, s.fn == g_tanh ? 1 : 0, s.fn == g_tanh ? 0x41a00001 : 0x42b2d47b);
}

}  // namespace
