// ulx_guat, ulx_guad, ulx_guaq: the arc kernels (arc.h), the pair read as
// (complement flag, Y, X), the angle written at the kernel's scale.
//
// Accuracy: every step truncates X >> s and Y >> s (one unit each), the
// degree and quadrant entries are rounded, and the scan ends with Y below
// one unit of X's 2^127: within 128 units of 2^-128 at the result's scale
// (measured 44 in radians, 78 in degrees, 53 in quadrant units), by
// tests/fixed/arc_internal_test.cpp against MPFR; the same test compares
// the scan bit for bit with its definition.
#include "fixed/arc.h"

#include <array>
#include <cstddef>

#include "fixed/tables/angles.h"

namespace vx::fixed {
namespace {

constexpr U128 kHalfPi =
    w128::from_words(0xc90fdaa2, 0x2168c234, 0xc4c6628b, 0x80dc1cd1);  // scale 1
constexpr U128 kDegrees90 = w128::from_words(0xb4000000, 0, 0, 0);     // scale 7
constexpr U128 kQuadrant1 = w128::from_words(0x80000000, 0, 0, 0);     // scale 1

// The angle tables as 128-bit words.
template <std::size_t N>
constexpr std::array<U128, N> words_of(const Fixed128 (&table)[N]) {
  std::array<U128, N> out{};
  for (std::size_t i = 0; i < N; ++i) out[i] = load(table[i]);
  return out;
}
constexpr auto kAt = words_of(angles::at);
constexpr auto kAd = words_of(angles::ad);
constexpr auto kAq = words_of(angles::aq);

// atan(2^-s) in the unit's table; in radians the single bit 2^-s (bit
// 127 - s at scale 1) from s = 43 on.
template <AngleUnit kUnit>
[[gnu::always_inline]] inline U128 angle(unsigned s) {
  if constexpr (kUnit == AngleUnit::radians) {
    if (s >= 43) return s >= 64 ? U128{0, u64{1} << (127 - s)} : U128{u64{1} << (63 - s), 0};
    return kAt[s];
  } else if constexpr (kUnit == AngleUnit::degrees) {
    return kAd[s];
  } else {
    return kAq[s];
  }
}

// The words of the first 64 positions, where X and Y change together: the
// compiler's 128-bit integer where there is one (it keeps the pair in
// registers), else U128; the same bits either way.
#if VX_WORDS128_FAST
using Wide = w128::native;
constexpr Wide wide(U128 x) { return w128::to_native(x); }
constexpr U128 narrow(Wide x) { return w128::from_native(x); }
constexpr Wide shr_w(Wide x, unsigned n) { return x >> n; }
constexpr Wide add_w(Wide a, Wide b) { return a + b; }
constexpr Wide sub_w(Wide a, Wide b) { return a - b; }
constexpr bool less_w(Wide a, Wide b) { return a < b; }
#else
using Wide = U128;
constexpr Wide wide(U128 x) { return x; }
constexpr U128 narrow(Wide x) { return x; }
constexpr Wide shr_w(Wide x, unsigned n) { return w128::shr(x, n); }
constexpr Wide add_w(Wide a, Wide b) { return w128::add(a, b); }
constexpr Wide sub_w(Wide a, Wide b) { return w128::sub(a, b); }
constexpr bool less_w(Wide a, Wide b) { return w128::less(a, b); }
#endif

// The angle sum, or its complement: pi/2 - A in radians; in degrees and
// quadrant units A / 2 (one scale up) from the right angle.
template <AngleUnit kUnit>
U128 finish(bool complement, U128 a) {
  if (!complement) return a;
  if constexpr (kUnit == AngleUnit::radians) return w128::sub(kHalfPi, a);
  return w128::sub(kUnit == AngleUnit::degrees ? kDegrees90 : kQuadrant1, w128::shr(a, 1));
}

// The scan of arc.h. Positions 0 to 63 work on the whole 128-bit X and Y;
// from 64 on X no longer changes and X >> s is the top half of X shifted by
// s - 64. Each round jumps to the next set bit of Y at a position j or
// later (Y masked to the positions from j on), so the positions between,
// holding zeros, cost nothing.
template <AngleUnit kUnit>
U128 pseudo_divide(bool complement, U128 y, U128 x) {
  U128 a = {0, 0};
  int j = 0;
  Wide wx = wide(x), wy = wide(y), wa = wide(a);
  for (; j < 64; ++j) {  // positions 0 to 63
    // The next set bit at position j or later: Y's leading bit, unless
    // bits above j are still set (an X below 1.0 leaves them).
    const U128 yn = narrow(wy);
    int lead = clz128(yn);
    if (lead < j) [[unlikely]] {
      const U128 m = w128::shr({~0ull, ~0ull}, static_cast<unsigned>(j));
      lead = clz128({yn.hi & m.hi, yn.lo & m.lo});
    }
    j = lead;
    if (j >= 64) break;
    auto s = static_cast<unsigned>(j);
    // X >> (j + 1) when Y is below X >> j: floor(floor(X / 2^j) / 2).
    const Wide xj = shr_w(wx, s), yj = shr_w(wy, s);
    const bool below = less_w(wy, xj);
    s += below ? 1 : 0;
    const Wide xs = below ? shr_w(xj, 1) : xj, ys = below ? shr_w(yj, 1) : yj;
    wy = sub_w(wy, xs);
    wx = add_w(wx, ys);
    wa = add_w(wa, wide(angle<kUnit>(s)));
  }
  x = narrow(wx), y = narrow(wy), a = narrow(wa);
  if (w128::is_zero(y)) return finish<kUnit>(complement, a);
  if (y.hi != 0) [[unlikely]] {  // only for an X below 1.0, outside the kernels' range
    for (; j <= 126; ++j) {
      const u64 rest = y.lo & (~0ull >> (j - 64));
      if (rest == 0 || (j = 64 + w128::clz64(rest)) > 126) break;
      auto s = static_cast<unsigned>(j);
      U128 xs = {0, x.hi >> (s - 64)};
      if (w128::less(y, xs)) xs.lo >>= 1, ++s;
      y = w128::sub(y, xs);
      a = w128::add(a, angle<kUnit>(s));
    }
    return finish<kUnit>(complement, a);
  }
  // Positions 64 to 126 with Y below 2^64: 64-bit words, and table entries
  // below 2^64.
  u64 yl = y.lo, low = a.lo, carries = 0;
  const u64 xh = x.hi;
  for (; j <= 126; ++j) {
    const u64 rest = yl & (~0ull >> (j - 64));
    if (rest == 0 || (j = 64 + w128::clz64(rest)) > 126) break;
    auto s = static_cast<unsigned>(j);
    const u64 xj = xh >> (s - 64);
    const unsigned below = yl < xj ? 1 : 0;
    s += below;
    yl -= xj >> below;
    const u64 e = angle<kUnit>(s).lo;
    low += e;
    carries += low < e ? 1 : 0;
  }
  return finish<kUnit>(complement, {a.hi + carries, low});
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
