// Fields of the runtime control block `ulx_lca` that the library touches.
//
// The offsets are those of the 32-bit layout. On 64-bit targets one rule
// widens the block: every offset doubles, and a field that holds an address
// is 8 bytes wide (every other field keeps its width). This is the only file
// that names a control-block offset.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vx::cb {

inline constexpr std::size_t kScale = sizeof(void *) / 4;  // 1 on i386, 2 on x86_64
constexpr std::size_t at(std::size_t offset32) { return offset32 * kScale; }

inline constexpr std::size_t kMuteFlag = at(588);      // 8 bits: reports only when 0
inline constexpr std::size_t kInfinityFlag = at(589);  // 8 bits: 1 selects NaN/infinity defaults
inline constexpr std::size_t kResumeRef = at(688);     // address of the resume word
inline constexpr std::size_t kArgSlot1 = at(696);      // address of the first argument slot
inline constexpr std::size_t kArgSlot2 = at(700);      // address of the second argument slot
inline constexpr std::size_t kRecord = at(716);        // IntrinsicErrorRecord starts here
inline constexpr std::size_t kErrorNumber = at(716);   // 32 bits
inline constexpr std::size_t kClearByte1 = at(720);    // 8 bits, written 0
inline constexpr std::size_t kClearByte2 = at(721);    // 8 bits, written 0
inline constexpr std::size_t kClearWord1 = at(724);    // 32 bits, written 0
inline constexpr std::size_t kClearWord2 = at(732);    // 32 bits, written 0
inline constexpr std::size_t kClearByte3 = at(736);    // 8 bits, written 0
inline constexpr std::size_t kClearByte4 = at(737);    // 8 bits, written 0
inline constexpr std::size_t kClearWord3 = at(744);    // 32 bits, written 0
inline constexpr std::size_t kValueCount = at(752);    // 32 bits: 1 or 2
inline constexpr std::size_t kValue1Addr = at(756);    // address of the first value copy
inline constexpr std::size_t kValue1Type = at(760);    // 16 bits: value type code
inline constexpr std::size_t kValue1Pad = at(762);     // 16 bits, written 0
inline constexpr std::size_t kValue2Addr = at(764);    // address of the second value copy
inline constexpr std::size_t kValue2Type = at(768);    // 16 bits
inline constexpr std::size_t kValue2Pad = at(770);     // 16 bits, written 0
inline constexpr std::size_t kResumeWord = at(796);    // 32 bits: nonzero computes again
inline constexpr std::size_t kReportFlag = at(1250);   // 8 bits: exception reports only when 1
inline constexpr std::size_t kHandler = at(2300);      // address of the error handler
inline constexpr std::size_t kBlockSize = at(2304);    // the block is at least this large

static_assert(kHandler + sizeof(void *) <= kBlockSize);

}  // namespace vx::cb
