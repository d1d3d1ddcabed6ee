// The control-block fields as the runtime protocol fixes them for 32-bit
// targets, and the 64-bit rule applied to them: every offset doubles, an
// address field widens to 8 bytes, other fields keep their width. The tests
// check the library against this table, written independently of the
// library's own offsets header.
#pragma once

#include <cstddef>

namespace support::layout {

enum Field {
  kMuteFlag,
  kInfinityFlag,
  kResumeRef,
  kArgSlot1,
  kArgSlot2,
  kErrorNumber,
  kClear720,
  kClear721,
  kClear724,
  kClear732,
  kClear736,
  kClear737,
  kClear744,
  kValueCount,
  kValue1Addr,
  kValue1Type,
  kValue1Pad,
  kValue2Addr,
  kValue2Type,
  kValue2Pad,
  kResumeWord,
  kReportFlag,
  kHandler,
  kFieldCount
};

struct Spec32 {
  std::size_t offset;  // 32-bit layout
  std::size_t width;   // bytes on 32-bit targets
  bool address;
  const char *name;
};

inline constexpr Spec32 kFields32[kFieldCount] = {
    {588, 1, false, "exception mute flag"},
    {589, 1, false, "infinity flag"},
    {688, 4, true, "resume word reference"},
    {696, 4, true, "first argument slot address"},
    {700, 4, true, "second argument slot address"},
    {716, 4, false, "error number"},
    {720, 1, false, "cleared byte 720"},
    {721, 1, false, "cleared byte 721"},
    {724, 4, false, "cleared word 724"},
    {732, 4, false, "cleared word 732"},
    {736, 1, false, "cleared byte 736"},
    {737, 1, false, "cleared byte 737"},
    {744, 4, false, "cleared word 744"},
    {752, 4, false, "value count"},
    {756, 4, true, "value 1 address"},
    {760, 2, false, "value 1 type code"},
    {762, 2, false, "value 1 pad"},
    {764, 4, true, "value 2 address"},
    {768, 2, false, "value 2 type code"},
    {770, 2, false, "value 2 pad"},
    {796, 4, false, "resume word"},
    {1250, 1, false, "exception report flag"},
    {2300, 4, true, "error handler"},
};

inline constexpr std::size_t kScale = sizeof(void *) / 4;
inline constexpr std::size_t kBlockSize = 2304 * kScale;

struct Placed {
  std::size_t offset;
  std::size_t width;
};

// Where the field lies on this target.
constexpr Placed field(Field f) {
  const Spec32 &s = kFields32[f];
  return {s.offset * kScale, s.address ? sizeof(void *) : s.width};
}

}  // namespace support::layout
