// The argument limits and the error of the radian sine and cosine, alone
// (g_sin ... g_dcos, sin_cos.cpp) and paired (g_scns, g_dscn,
// sin_cos_pairs.cpp): from asinmx (Real4) or dsinmx (Real8) on, an
// argument counts as too large to reduce and is reported. The default is
// sqrt(1/2), or a NaN with the infinity flag.
#pragma once

#include <cstdint>

#include "frame/error_numbers.h"
#include "frame/ieee_constants.h"

namespace vx {

inline constexpr float asinmx = 823000.0f;  // 0x4948ED80: Real4 argument limit
inline constexpr double dsinmx = 3.53e15;   // 0x43291508581D4000: Real8 argument limit

template <class T>
inline constexpr T kSinCosLimit = by_type<T>(asinmx, dsinmx);
template <class T>
inline constexpr std::int32_t kSinCosError = sizeof(T) == 4 ? err::kSinRange : err::kDsinRange;

}  // namespace vx
