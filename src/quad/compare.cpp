// Real16 relational operators: g_afeq (==), g_afne (/=), g_afgt (>),
// g_afge (>=), g_aflt (<), g_afle (<=); result 1 or 0.
//
// Rules, in this order:
//   1. Equal zeros: one word 3 is 0x80000000, the other 0 or 0x80000000, and
//      words 0 to 2 of both are zero: ==, >=, <= hold; /=, >, < do not.
//   2. A NaN operand (exponent 0x7fff, some fraction bit set): only /=
//      holds. The infinity patterns are ordinary numbers.
//   3. == and /= compare the four words for identity (so +0 and a zero
//      with garbage in its lower words differ).
//   4. The orderings decide by sign, then by magnitude (word 3 without the
//      sign, then words 2, 1, 0, unsigned); for negative operands the larger
//      magnitude is the smaller value.
//
// Three-way comparisons g_acmp and g_acmpe (identical): 3 when a or b is a
// NaN; 0 for zeros of opposite signs (word 3 0 or 0x80000000, whatever
// words 0 to 2 hold); otherwise by sign, then magnitude: 0 equal, 1 a
// below b, 2 a above b. Zeros of the same sign order by their lower words
// like any other magnitudes, so -0 against -0 with words 0 to 2 clear is 0;
// the infinity patterns are the largest magnitudes of their sign.
#include <cstdint>

#include "quad/real16.h"

namespace vx::quad {
namespace {

bool lower_words_zero(const Real16 &x) { return (x.w[0] | x.w[1] | x.w[2]) == 0; }

bool equal_zeros(const Real16 &a, const Real16 &b) {
  const bool signed_zero = (a.w[3] == kSignBit && is_zero(b)) || (b.w[3] == kSignBit && is_zero(a));
  return signed_zero && lower_words_zero(a) && lower_words_zero(b);
}

bool is_nan(const Real16 &x) {
  return exponent_of(x) == kMaxExponent && ((x.w[3] & 0xffff) != 0 || !lower_words_zero(x));
}

enum class Relation { eq, ne, gt, ge, lt, le };

template <Relation kRelation>
std::int32_t relation(const Real16 &a, const Real16 &b) {
  constexpr bool kHoldsOnEqual =
      kRelation == Relation::eq || kRelation == Relation::ge || kRelation == Relation::le;
  if (equal_zeros(a, b)) return kHoldsOnEqual;
  if (is_nan(a) || is_nan(b)) return kRelation == Relation::ne;
  const int c = order(a, b);
  switch (kRelation) {
    case Relation::eq:
      return c == 0;
    case Relation::ne:
      return c != 0;
    case Relation::gt:
      return c > 0;
    case Relation::ge:
      return c >= 0;
    case Relation::lt:
      return c < 0;
    case Relation::le:
      return c <= 0;
  }
  return 0;
}

// The code of g_acmp: 0 equal, 1 below, 2 above, 3 unordered.
std::int32_t three_way(const Real16 &a, const Real16 &b) {
  if (is_nan(a) || is_nan(b)) return 3;
  if (sign_of(a) != sign_of(b) && is_zero(a) && is_zero(b)) return 0;
  const int c = order(a, b);
  return c == 0 ? 0 : c < 0 ? 1 : 2;
}

}  // namespace

int order(const Real16 &a, const Real16 &b) {
  const bool negative = sign_of(a) != 0;
  if (negative != (sign_of(b) != 0)) return negative ? -1 : 1;
  const U128 ma = magnitude_of(a), mb = magnitude_of(b);
  if (w128::equal(ma, mb)) return 0;
  const int by_magnitude = w128::less(ma, mb) ? -1 : 1;
  return negative ? -by_magnitude : by_magnitude;
}

}  // namespace vx::quad

using vx::quad::Relation;

std::int32_t g_afeq(const Real16 *a, const Real16 *b) {
  return vx::quad::relation<Relation::eq>(*a, *b);
}
std::int32_t g_afne(const Real16 *a, const Real16 *b) {
  return vx::quad::relation<Relation::ne>(*a, *b);
}
std::int32_t g_afgt(const Real16 *a, const Real16 *b) {
  return vx::quad::relation<Relation::gt>(*a, *b);
}
std::int32_t g_afge(const Real16 *a, const Real16 *b) {
  return vx::quad::relation<Relation::ge>(*a, *b);
}
std::int32_t g_aflt(const Real16 *a, const Real16 *b) {
  return vx::quad::relation<Relation::lt>(*a, *b);
}
std::int32_t g_afle(const Real16 *a, const Real16 *b) {
  return vx::quad::relation<Relation::le>(*a, *b);
}

std::int32_t g_acmp(const Real16 *a, const Real16 *b) { return vx::quad::three_way(*a, *b); }
std::int32_t g_acmpe(const Real16 *a, const Real16 *b) { return vx::quad::three_way(*a, *b); }
