// ulx_guat, ulx_guad, ulx_guaq: the arc kernels (arc.h), the pair read as
// (complement flag, Y, X), the angle written at the kernel's scale.
//
// Accuracy: every step truncates X >> s and Y >> s (one unit each) and the
// scan ends with Y below one unit of X's 2^127; the angle is within about
// 2^-120 of atan(Y / X) at scale 1 (2^-114 at scale 7).
// tests/fixed/arc_internal_test.cpp measures it against MPFR.
#include "fixed/arc.h"

#include "fixed/tables/angles.h"

namespace vx::fixed {
namespace {

constexpr U128 kHalfPi =
    w128::from_words(0xc90fdaa2, 0x2168c234, 0xc4c6628b, 0x80dc1cd1);  // scale 1
constexpr U128 kDegrees90 = w128::from_words(0xb4000000, 0, 0, 0);     // scale 7
constexpr U128 kQuadrant1 = w128::from_words(0x80000000, 0, 0, 0);     // scale 1

// atan(2^-s) in the unit's table; in radians the single bit 2^-s (bit
// 127 - s at scale 1) from s = 43 on.
template <AngleUnit kUnit>
[[gnu::always_inline]] inline U128 angle(unsigned s) {
  if constexpr (kUnit == AngleUnit::radians) {
    if (s >= 43) return w128::shl({0, 1}, 127 - s);
    return load(angles::at[s]);
  } else if constexpr (kUnit == AngleUnit::degrees) {
    return load(angles::ad[s]);
  } else {
    return load(angles::aq[s]);
  }
}

template <AngleUnit kUnit>
U128 pseudo_divide(bool complement, U128 y, U128 x) {
  U128 a = {0, 0};
  // The next bit position to test: past the last one tested, and at least
  // Y's leading bit (the positions between hold zeros).
  for (int j = 0; !w128::is_zero(y); ++j) {
    const int lead = clz128(y);
    if (lead > j) j = lead;
    if (j > 126) break;
    auto s = static_cast<unsigned>(j);
    if (w128::less(y, w128::shr(x, s))) ++s;
    const U128 before = y;
    y = w128::sub(y, w128::shr(x, s));
    if (j < 64) x = w128::add(x, w128::shr(before, s));
    a = w128::add(a, angle<kUnit>(s));
  }
  if (!complement) return a;
  if constexpr (kUnit == AngleUnit::radians) return w128::sub(kHalfPi, a);
  return w128::sub(kUnit == AngleUnit::degrees ? kDegrees90 : kQuadrant1, w128::shr(a, 1));
}

template <AngleUnit kUnit>
void arc_entry(std::int32_t flag, const Fixed128 *y, const Fixed128 *x, Fixed128 *out) {
  *out = store(pseudo_divide<kUnit>(flag != 0, load(*y), load(*x)));
}

}  // namespace

U128 arc(AngleUnit unit, bool complement, U128 y, U128 x) {
  switch (unit) {
    case AngleUnit::radians:
      return pseudo_divide<AngleUnit::radians>(complement, y, x);
    case AngleUnit::degrees:
      return pseudo_divide<AngleUnit::degrees>(complement, y, x);
    case AngleUnit::quadrants:
      break;
  }
  return pseudo_divide<AngleUnit::quadrants>(complement, y, x);
}

}  // namespace vx::fixed

void ulx_guat(int32_t flag, const Fixed128 *y, const Fixed128 *x, Fixed128 *out) {
  vx::fixed::arc_entry<vx::fixed::AngleUnit::radians>(flag, y, x, out);
}

void ulx_guad(int32_t flag, const Fixed128 *y, const Fixed128 *x, Fixed128 *out) {
  vx::fixed::arc_entry<vx::fixed::AngleUnit::degrees>(flag, y, x, out);
}

void ulx_guaq(int32_t flag, const Fixed128 *y, const Fixed128 *x, Fixed128 *out) {
  vx::fixed::arc_entry<vx::fixed::AngleUnit::quadrants>(flag, y, x, out);
}
