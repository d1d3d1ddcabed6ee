// NEAREST: the neighbour of x in the direction of s's sign, by stepping the
// bit pattern of x.
//   g_neare g_neared g_neareq: s of x's type.
//   g_neare2 g_neared2 g_neareq2: s of any real type, named by its type code
//     (9 Real4, 10 Real8, 11 Real16).
//
// 1. s zero: error 1393 (both argument slots, no values); whatever the
//    handler answers, x is returned. g_neare and g_neared use the FPU test,
//    g_neareq the full test; the type-code forms read s by its code: one
//    word with the pattern test, two words with the pattern test, four words
//    with the full test.
// 2. The direction is s's sign bit (a NaN s is not zero and has one).
// 3. x a zero of either sign by its bit pattern: the smallest positive
//    pattern (lowest word 1) with s's sign.
// 4. Otherwise add 1 to x's pattern as an unsigned integer of 32, 64 or 128
//    bits when x's sign equals s's, else subtract 1 (carries and borrows run
//    through the words). So the largest finite value steps to the infinity,
//    an infinity toward zero to the largest finite value, an infinity away
//    from zero to a NaN pattern.
// A type code other than 9, 10 or 11 reads nothing and returns x.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "common/words128.h"
#include "frame/block_fields.h"
#include "frame/error_numbers.h"
#include "frame/hidden_result.h"
#include "model/model.h"
#include "quad/real16.h"

namespace vx::model {
namespace {

// The direction argument: zero, or the sign bit that gives the direction.
struct Direction {
  bool zero;
  std::uint32_t sign;
};

Direction direction(float s) { return {s == 0.0f, bits(s) & kSign}; }
Direction direction(double s) { return {s == 0.0, high_word(s) & kSign}; }
Direction direction(const Real16 &s) { return {full_zero(s), s.w[3] & kSign}; }

// s by its type code; `known` false for a code other than 9, 10, 11.
Direction direction(const void *s, std::int32_t code, bool &known) {
  known = true;
  switch (code) {
    case kTypeReal4: {
      std::uint32_t w;
      std::memcpy(&w, s, sizeof w);
      return {zero_pattern(w), w & kSign};
    }
    case kTypeReal8: {
      std::uint64_t b;
      std::memcpy(&b, s, sizeof b);
      const auto high = static_cast<std::uint32_t>(b >> 32);
      return {zero_pattern(high, static_cast<std::uint32_t>(b)), high & kSign};
    }
    case kTypeReal16: {
      Real16 v;
      std::memcpy(&v, s, sizeof v);
      return direction(v);
    }
    default:
      known = false;
      return {false, 0};
  }
}

// Error 1393; s's slot holds as many bytes as its type has.
template <class X>
void report_zero_direction(const X &x, const void *s, std::size_t s_size) {
  std::array<unsigned char, 16> slot{};
  std::memcpy(slot.data(), s, s_size);
  report_fixed_result(err::kNearestZero, x, slot);
}

std::uint32_t step(std::uint32_t x, std::uint32_t sign) {
  if (zero_pattern(x)) return sign | 1;
  return (x & kSign) == sign ? x + 1 : x - 1;
}
std::uint64_t step(std::uint64_t x, std::uint32_t sign) {
  const std::uint64_t s = std::uint64_t{sign} << 32;
  if ((x & ~(std::uint64_t{kSign} << 32)) == 0) return s | 1;
  return (x & (std::uint64_t{kSign} << 32)) == s ? x + 1 : x - 1;
}
Real16 step(const Real16 &x, std::uint32_t sign) {
  if (full_zero(x)) return real16_from_words(sign, 0, 0, 1);
  const w128::U128 b = quad::bits_of(x);
  const w128::U128 one{0, 1};
  return quad::real16_from_bits((x.w[3] & kSign) == sign ? w128::add(b, one) : w128::sub(b, one));
}

float nearest(float x, Direction d) { return d.zero ? x : real4_from_bits(step(bits(x), d.sign)); }
double nearest(double x, Direction d) {
  return d.zero ? x : real8_from_bits(step(bits(x), d.sign));
}
Real16 nearest(const Real16 &x, Direction d) { return d.zero ? x : step(x, d.sign); }

template <class X, class S>
X nearest_same(const X *x, const S *s) {
  const X xv = *x;
  const S vs = *s;
  const Direction d = direction(vs);
  if (d.zero) [[unlikely]]
    report_zero_direction(xv, &vs, sizeof vs);
  return nearest(xv, d);
}

template <class X>
X nearest_coded(const X *x, const void *s, const std::int32_t *typecode) {
  const X xv = *x;
  const std::int32_t code = *typecode;
  bool known;
  const Direction d = direction(s, code, known);
  if (!known) return xv;
  if (d.zero) [[unlikely]]
    report_zero_direction(xv, s, type_code_size(static_cast<std::uint16_t>(code)));
  return nearest(xv, d);
}

}  // namespace
}  // namespace vx::model

using vx::model::nearest_coded;
using vx::model::nearest_same;

float g_neare(const float *x, const float *s) { return nearest_same(x, s); }
double g_neared(const double *x, const double *s) { return nearest_same(x, s); }
Real16 *g_neareq(Real16 *result, const Real16 *x, const Real16 *s) {
  return vx::store_result(result, nearest_same(x, s));
}

float g_neare2(const float *x, const void *s, const std::int32_t *typecode) {
  return nearest_coded(x, s, typecode);
}
double g_neared2(const double *x, const void *s, const std::int32_t *typecode) {
  return nearest_coded(x, s, typecode);
}
Real16 *g_neareq2(Real16 *result, const Real16 *x, const void *s, const std::int32_t *typecode) {
  return vx::store_result(result, nearest_coded(x, s, typecode));
}
