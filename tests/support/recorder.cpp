#include "support/recorder.h"

namespace support {
namespace {

Recorder *current = nullptr;

// Bytes of a reported value by its type code (1, 2, 3, 4: INTEGER*1 to *8;
// 9, 10, 11: Real4, Real8, Real16).
std::size_t value_size(std::uint16_t type) {
  constexpr std::uint8_t kSize[12] = {0, 1, 2, 4, 8, 0, 0, 0, 0, 4, 8, 16};
  return type < 12 ? kSize[type] : 0;
}

// Clears the value count so that a report carrying no values cannot be
// mistaken for one that does (the library leaves the descriptors alone).
void clear_value_count() {
  const std::int32_t zero = 0;
  std::memcpy(vexmori_control_block() + layout::field(layout::kValueCount).offset, &zero, 4);
}

}  // namespace

Recorder::Recorder(std::uint8_t infinity, std::uint8_t report, std::uint8_t mute) {
  current = this;
  previous_ = vexmori_set_handler(&Recorder::handler);
  vexmori_set_infinity_flag(infinity);
  vexmori_set_report_flag(report);
  vexmori_set_mute_flag(mute);
  clear_value_count();
}

Recorder::~Recorder() {
  vexmori_set_handler(previous_);
  vexmori_set_infinity_flag(1);
  vexmori_set_report_flag(0);
  vexmori_set_mute_flag(0);
  current = nullptr;
}

void Recorder::handler(void *record) {
  using namespace layout;
  const unsigned char *block = vexmori_control_block();
  Report r;
  r.number = read<std::int32_t>(block, kErrorNumber);
  r.record = record;
  r.slot1 = read<void *>(block, kArgSlot1);
  r.slot2 = read<void *>(block, kArgSlot2);
  r.value_count = read<std::int32_t>(block, kValueCount);
  r.value_address = {read<const void *>(block, kValue1Addr),
                     read<const void *>(block, kValue2Addr)};
  r.value_type = {read<std::uint16_t>(block, kValue1Type), read<std::uint16_t>(block, kValue2Type)};
  for (int i = 0; i < 2 && i < r.value_count && r.value_count <= 2; ++i)
    std::memcpy(r.value[i].data(), r.value_address[i], value_size(r.value_type[i]));
  r.block.assign(block, block + kBlockSize);

  Recorder &self = *current;
  self.reports.push_back(r);
  const int index = static_cast<int>(self.reports.size()) - 1;
  const std::int32_t word = self.answer ? self.answer(self.reports.back(), index) : 0;
  clear_value_count();
  std::memcpy(vexmori_control_block() + field(kResumeWord).offset, &word, 4);
}

}  // namespace support
