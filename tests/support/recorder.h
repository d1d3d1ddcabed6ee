// A recording error handler for the tests: installed for the lifetime of a
// Recorder, it keeps what each report carried (error number, argument slots,
// value descriptors and copies, a snapshot of the whole control block) and
// answers what the test asks. The one place the tests take the runtime's
// API from.
#pragma once

#include <vexmorg/vexmorg.h>
#include <vexmorg/vexmori.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

namespace support {

// The control-block fields as the runtime protocol fixes them for 32-bit
// targets, and the 64-bit rule applied to them: every offset doubles, an
// address field widens to 8 bytes, other fields keep their width. Written
// apart from the library's own offsets header, which the tests check.
namespace layout {

// clang-format off
enum Field {
  kMuteFlag, kInfinityFlag, kResumeRef, kArgSlot1, kArgSlot2, kErrorNumber,
  kClear720, kClear721, kClear724, kClear732, kClear736, kClear737, kClear744,
  kValueCount, kValue1Addr, kValue1Type, kValue1Pad, kValue2Addr, kValue2Type, kValue2Pad,
  kResumeWord, kReportFlag, kHandler, kFieldCount
};
struct Spec32 { std::size_t offset, width; bool address; };
inline constexpr Spec32 kFields32[kFieldCount] = {
    {588, 1, false}, {589, 1, false}, {688, 4, true}, {696, 4, true}, {700, 4, true},
    {716, 4, false}, {720, 1, false}, {721, 1, false}, {724, 4, false}, {732, 4, false},
    {736, 1, false}, {737, 1, false}, {744, 4, false}, {752, 4, false}, {756, 4, true},
    {760, 2, false}, {762, 2, false}, {764, 4, true},  {768, 2, false}, {770, 2, false},
    {796, 4, false}, {1250, 1, false}, {2300, 4, true}};
// clang-format on

inline constexpr std::size_t kScale = sizeof(void *) / 4;
inline constexpr std::size_t kBlockSize = 2304 * kScale;

struct Placed {
  std::size_t offset, width;
};
// Where the field lies on this target.
constexpr Placed field(Field f) {
  const Spec32 &s = kFields32[f];
  return {s.offset * kScale, s.address ? sizeof(void *) : s.width};
}

// The field as a T, from a snapshot of the block or from the block itself.
template <class T>
T read(const unsigned char *block, Field f) {
  T v;
  std::memcpy(&v, block + field(f).offset, sizeof v);
  return v;
}

}  // namespace layout

struct Report {
  std::int32_t number = 0;
  void *record = nullptr;  // the address the handler received
  void *slot1 = nullptr;
  void *slot2 = nullptr;
  std::int32_t value_count = 0;  // as found in the block
  std::array<const void *, 2> value_address{};
  std::array<std::uint16_t, 2> value_type{};
  std::array<std::array<std::uint8_t, 16>, 2> value{};  // copies, by type code size
  std::vector<std::uint8_t> block;                      // control block at the call

  // The reported value `i` (0 or 1) as a T.
  template <class T>
  T value_as(int i) const {
    T v;
    std::memcpy(&v, value[i].data(), sizeof v);
    return v;
  }
  // The current content of argument slot 1 or 2 as a T.
  template <class T>
  T slot_as(int which) const {
    T v;
    std::memcpy(&v, which == 2 ? slot2 : slot1, sizeof v);
    return v;
  }
};

// Writes a replacement into argument slot 1 or 2 of a report in progress.
template <class T>
void replace(const Report &r, int which, T v) {
  std::memcpy(which == 2 ? r.slot2 : r.slot1, &v, sizeof v);
}

class Recorder {
 public:
  // Installs the recording handler and sets the flags: infinity flag,
  // exception report flag, exception mute flag.
  explicit Recorder(std::uint8_t infinity = 1, std::uint8_t report = 1, std::uint8_t mute = 0);
  ~Recorder();
  Recorder(const Recorder &) = delete;
  Recorder &operator=(const Recorder &) = delete;

  // How the handler answers report number `index` (0 for the first); it may
  // write replacements into the slots. The default answers 0.
  std::function<std::int32_t(const Report &, int index)> answer;
  std::vector<Report> reports;

 private:
  static void handler(void *record);
  VexmoriHandler previous_;
};

}  // namespace support
