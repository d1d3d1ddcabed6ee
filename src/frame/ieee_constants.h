// The special constants and the finite substitutes of the default results.
#pragma once

#include <type_traits>

#include "common/bits.h"

namespace vx {

// IEEE patterns: the quiet NaN with clear payload, and the infinities.
inline constexpr float _NaN_F = real4_from_bits(0x7fc00000);
inline constexpr float _Inf_F = real4_from_bits(0x7f800000);
inline constexpr float _MInf_F = real4_from_bits(0xff800000);
inline constexpr double _NaN_D = real8_from_bits(0x7ff8000000000000);
inline constexpr double _Inf_D = real8_from_bits(0x7ff0000000000000);
inline constexpr double _MInf_D = real8_from_bits(0xfff0000000000000);
inline constexpr Real16 _NaN_Q = real16_from_words(0x7fff8000, 0, 0, 0);
inline constexpr Real16 _Inf_Q = real16_from_words(0x7fff0000, 0, 0, 0);
inline constexpr Real16 _MInf_Q = real16_from_words(0xffff0000, 0, 0, 0);

// Finite substitute of an overflowing result when the infinity flag is not
// 1. Real4 and Real8 use a value a few units below the largest finite one;
// Real16 uses the largest finite value itself.
inline constexpr float kOverflowF = real4_from_bits(0x7f7fffee);  // 3.40282002e+38
inline constexpr double kOverflowD =
    real8_from_bits(0x7fefffffffffffb6);  // 1.7976931348623011e+308
inline constexpr Real16 kOverflowQ =
    real16_from_words(0x7ffeffff, 0xffffffff, 0xffffffff, 0xffffffff);

// The IEEE patterns and the finite overflow substitute by type, for code
// written once for Real4 and Real8: kNaN<T>, kMinusInf<T>, kOverflow<T>.
template <class T>
constexpr T by_type(float real4, double real8) {
  static_assert(std::is_same_v<T, float> || std::is_same_v<T, double>, "Real4 or Real8");
  if constexpr (std::is_same_v<T, float>) {
    return real4;
  } else {
    return real8;
  }
}
template <class T>
inline constexpr T kNaN = by_type<T>(_NaN_F, _NaN_D);
template <class T>
inline constexpr T kMinusInf = by_type<T>(_MInf_F, _MInf_D);
template <class T>
inline constexpr T kOverflow = by_type<T>(kOverflowF, kOverflowD);

// Finite substitute of a sine or cosine whose argument is too large to
// reduce: sqrt(1/2) rounded to the type.
inline constexpr float kSqrtHalfF = real4_from_bits(0x3f3504f3);           // 0.70710677
inline constexpr double kSqrtHalfD = real8_from_bits(0x3fe6a09e667f3bcd);  // 0.7071067811865476
template <class T>
inline constexpr T kSqrtHalf = by_type<T>(kSqrtHalfF, kSqrtHalfD);

}  // namespace vx
