// Conversions between Real16 and the other numeric types:
//   g_qfloat (INTEGER*4), g_aqcj (INTEGER*8), g_qext (Real4), g_qextd
//   (Real8) to Real16, all exact; g_dbleq and g_snglq to Real8 and Real4,
//   rounded to nearest, ties to even; g_iqint and g_ajcq to INTEGER*4 and
//   INTEGER*8, truncated toward zero.
//
// Rules (none of them reports an error):
//   integers: 0 gives +0; the bit length L of |n| comes from the runtime's
//     ulx_fnzb, the leading 1 goes to the hidden bit and the biased
//     exponent is 16382 + L. The most negative values come out as their
//     exact patterns (word 3 0xc01e0000 and 0xc03e0000).
//   Real4, Real8: either zero gives +0; subnormals are normalised; the
//     exponent is rebiased (+0x3f80, +0x3c00), infinities and NaNs included
//     (a Real4 infinity becomes 2^128).
//   g_dbleq, g_snglq: a Real16 zero gives +0.0; a value at or beyond the
//     target's overflow threshold (after rounding) gives the largest finite
//     value with x's sign, not infinity; below the normal range the result
//     is subnormal with x's sign, rounded with everything shifted out as
//     sticky, and +0.0 whenever x is below half the smallest subnormal's
//     binade (2^-1075 for Real8, 2^-150 for Real4).
//   g_iqint: 0 below 1 in magnitude; from 2^31 on 0x7fffffff for positive
//     and 0x80000000 for negative x.
//   g_ajcq: 0 below 1 and from 2^64 on; between 2^63 and 2^64 the magnitude's
//     bits whatever the sign; otherwise the two's complement for negative x.
#include <cstdint>
#include <limits>
#include <type_traits>

#include "frame/hidden_result.h"
#include "frame/runtime_imports.h"
#include "quad/real16.h"

namespace vx::quad {
namespace {

using w128::u64;

// The Real16 of sign * mag, mag nonzero: exact.
Real16 from_magnitude(std::uint32_t sign, u64 mag) {
  const auto high = static_cast<std::uint32_t>(mag >> 32);
  const int length =
      high != 0 ? 64 - ulx_fnzb(high) : 32 - ulx_fnzb(static_cast<std::uint32_t>(mag));
  const U128 sig =
      w128::shl({0, mag}, static_cast<unsigned>(113 - length));  // leading 1 at bit 112
  const auto exp = static_cast<std::uint32_t>(kBias - 1 + length);
  return real16_from_words(sign | (exp << 16) | (w128::word(sig, 3) & 0xffff), w128::word(sig, 2),
                           w128::word(sig, 1), w128::word(sig, 0));
}

Real16 from_integer(std::int64_t n) {
  if (n == 0) return kZero;
  const u64 mag = n < 0 ? 0 - static_cast<u64>(n) : static_cast<u64>(n);  // 2^63 for the minimum
  return from_magnitude(n < 0 ? kSignBit : 0, mag);
}

// Real4 and Real8 as Real16: the fraction to the top of the 112 bits.
template <class T>
struct Wide {
  using Limits = std::numeric_limits<T>;
  using Bits = std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>;
  static constexpr int kFraction = Limits::digits - 1;                // 23, 52
  static constexpr int kExponentMask = 2 * Limits::max_exponent - 1;  // 0xff, 0x7ff
  // 0x3f80 = 16383 - 127, 0x3c00 = 16383 - 1023
  static constexpr std::int32_t kRebias = kBias - (Limits::max_exponent - 1);
};
static_assert(Wide<float>::kFraction == 23 && Wide<float>::kExponentMask == 0xff &&
              Wide<float>::kRebias == 0x3f80);
static_assert(Wide<double>::kFraction == 52 && Wide<double>::kExponentMask == 0x7ff &&
              Wide<double>::kRebias == 0x3c00);

template <class T>
Real16 widen(T x) {
  using W = Wide<T>;
  using Bits = typename W::Bits;
  constexpr int kWidth = 8 * sizeof(Bits);
  const Bits b = std::bit_cast<Bits>(x);
  Bits fraction = b & ((Bits{1} << W::kFraction) - 1);
  auto exp = static_cast<std::int32_t>((b >> W::kFraction) & W::kExponentMask);
  if (exp == 0) {
    if (fraction == 0) return kZero;  // either zero
    // Subnormal: shift the leading 1 out of the field, lower the exponent.
    const int shift = w128::clz64(fraction) - (63 - W::kFraction);
    fraction = (fraction << shift) & ((Bits{1} << W::kFraction) - 1);
    exp = 1 - shift;
  }
  const U128 f = w128::shl({0, static_cast<u64>(fraction)}, 112 - W::kFraction);
  const std::uint32_t sign = static_cast<std::uint32_t>(b >> (kWidth - 32)) & kSignBit;
  const auto field = static_cast<std::uint32_t>(exp + W::kRebias);
  return real16_from_words(sign | (field << 16) | w128::word(f, 3), w128::word(f, 2),
                           w128::word(f, 1), w128::word(f, 0));
}

// Real16 to Real4 or Real8, rounded to nearest, ties to even.
template <class T>
T narrow(const Real16 &x) {
  using W = Wide<T>;
  using Bits = typename W::Bits;
  constexpr int kWidth = 8 * sizeof(Bits);
  constexpr auto kMaxField = static_cast<std::int32_t>(W::kExponentMask);
  const Bits sign = sign_of(x) != 0 ? Bits{1} << (kWidth - 1) : 0;
  const Bits largest = sign | ((Bits{1} << (kWidth - 1)) - 1 - (Bits{1} << W::kFraction));
  if (is_zero(x)) return T{0};
  const std::int32_t e = exponent_of(x) - W::kRebias;  // the target's biased exponent
  if (e >= kMaxField) return std::bit_cast<T>(largest);
  if (e < -W::kFraction) return T{0};  // below 2^-1075 / 2^-150: +0
  // Normal: keep the 1 + kFraction top bits. Subnormal: 1 - e fewer.
  const unsigned shift = static_cast<unsigned>(112 - W::kFraction + (e < 1 ? 1 - e : 0));
  const U128 sig = significand_of(x);
  const U128 kept = w128::shr(sig, shift);
  const U128 rest = w128::sub(sig, w128::shl(kept, shift));
  const U128 half = w128::shl({0, 1}, shift - 1);
  const bool up = w128::less(half, rest) || (w128::equal(rest, half) && (kept.lo & 1) != 0);
  // The hidden bit of `kept` adds one to the exponent field, and a carry of
  // the rounding moves into it: the fields add.
  const Bits magnitude = (static_cast<Bits>(e < 1 ? 0 : e - 1) << W::kFraction) +
                         static_cast<Bits>(kept.lo) + (up ? 1 : 0);
  if ((magnitude >> W::kFraction) >= static_cast<Bits>(kMaxField)) return std::bit_cast<T>(largest);
  return std::bit_cast<T>(sign | magnitude);
}

}  // namespace
}  // namespace vx::quad

using vx::quad::exponent_of;
using vx::quad::kBias;
using vx::quad::sign_of;

Real16 *g_qfloat(Real16 *result, const std::int32_t *n) {
  return vx::store_result(result, vx::quad::from_integer(*n));
}

Real16 *g_aqcj(Real16 *result, const std::int64_t *n) {
  return vx::store_result(result, vx::quad::from_integer(*n));
}

Real16 *g_qext(Real16 *result, const float *x) {
  return vx::store_result(result, vx::quad::widen(*x));
}

Real16 *g_qextd(Real16 *result, const double *x) {
  return vx::store_result(result, vx::quad::widen(*x));
}

double g_dbleq(const Real16 *x) { return vx::quad::narrow<double>(*x); }

float g_snglq(const Real16 *x) { return vx::quad::narrow<float>(*x); }

std::int32_t g_iqint(const Real16 *x) {
  const Real16 v = *x;
  if (v.w[3] == 0) return 0;
  const std::int32_t e = exponent_of(v);
  if (e < kBias) return 0;  // below 1
  const bool negative = sign_of(v) != 0;
  // 2^31 and more (the exponent above 0x401e, or the value itself): saturate
  const std::int32_t saturated = negative ? INT32_MIN : INT32_MAX;
  if (e > kBias + 31) return saturated;
  const auto mag = static_cast<std::uint32_t>(
      vx::w128::shr(vx::quad::significand_of(v), static_cast<unsigned>(112 - (e - kBias))).lo);
  if (mag >= 0x80000000u) return saturated;
  return negative ? -static_cast<std::int32_t>(mag) : static_cast<std::int32_t>(mag);
}

std::int64_t g_ajcq(const Real16 *x) {
  const Real16 v = *x;
  const std::int32_t e = exponent_of(v);
  if (v.w[3] == 0 || e < kBias || e > kBias + 63) return 0;  // below 1, or 2^64 and more
  const std::uint64_t mag =
      vx::w128::shr(vx::quad::significand_of(v), static_cast<unsigned>(112 - (e - kBias))).lo;
  // From 2^63 on the magnitude's bits, whatever the sign.
  if ((mag >> 63) != 0 || sign_of(v) == 0) return static_cast<std::int64_t>(mag);
  return -static_cast<std::int64_t>(mag);
}
