// The special values the error rows compare against, bit for bit: the
// infinities, the quiet NaNs with clear payload (either sign), and the
// finite overflow substitutes of the default results.
#pragma once

#include <bit>
#include <cstdint>
#include <limits>

namespace support {

inline constexpr float kInfF = std::numeric_limits<float>::infinity();
inline constexpr double kInfD = std::numeric_limits<double>::infinity();
inline constexpr float kNaNF = std::bit_cast<float>(0x7fc00000u);
inline constexpr float kMNaNF = std::bit_cast<float>(0xffc00000u);
inline constexpr double kNaND = std::bit_cast<double>(std::uint64_t{0x7ff8000000000000});
inline constexpr double kMNaND = std::bit_cast<double>(std::uint64_t{0xfff8000000000000});
inline constexpr float kBigF = std::bit_cast<float>(0x7f7fffeeu);  // 3.40282002e+38
inline constexpr double kBigD =
    std::bit_cast<double>(std::uint64_t{0x7fefffffffffffb6});  // 1.7976931348623011e+308
// sqrt(1/2): the finite default of a sine or cosine whose argument is too
// large.
inline constexpr float kSqrtHalfF = std::bit_cast<float>(0x3f3504f3u);  // 0.70710677
inline constexpr double kSqrtHalfD =
    std::bit_cast<double>(std::uint64_t{0x3fe6a09e667f3bcd});  // 0.7071067811865476

}  // namespace support
