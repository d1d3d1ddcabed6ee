#include "support/recorder.h"

#include "frame/block_fields.h"
#include "support/layout.h"

namespace support {
namespace {

Recorder *current = nullptr;

template <class T>
T read_at(std::size_t offset) {
  return vx::get_field<T>(vexmori_control_block(), offset);
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

void Recorder::clear_value_count() {
  const std::int32_t zero = 0;
  std::memcpy(vexmori_control_block() + layout::field(layout::kValueCount).offset, &zero, 4);
}

void Recorder::handler(void *record) {
  using namespace layout;
  Report r;
  r.number = read_at<std::int32_t>(field(kErrorNumber).offset);
  r.record = record;
  r.slot1 = read_at<void *>(field(kArgSlot1).offset);
  r.slot2 = read_at<void *>(field(kArgSlot2).offset);
  r.value_count = read_at<std::int32_t>(field(kValueCount).offset);
  r.value_address[0] = read_at<const void *>(field(kValue1Addr).offset);
  r.value_address[1] = read_at<const void *>(field(kValue2Addr).offset);
  r.value_type[0] = read_at<std::uint16_t>(field(kValue1Type).offset);
  r.value_type[1] = read_at<std::uint16_t>(field(kValue2Type).offset);
  for (int i = 0; i < 2 && i < r.value_count; ++i) {
    if (r.value_address[i] != nullptr)
      std::memcpy(r.value[i].data(), r.value_address[i], vx::type_code_size(r.value_type[i]));
  }
  const unsigned char *block = vexmori_control_block();
  r.block.assign(block, block + layout::kBlockSize);

  Recorder &self = *current;
  const int index = static_cast<int>(self.reports.size());
  self.reports.push_back(r);
  const std::int32_t word = self.answer ? self.answer(self.reports.back(), index) : 0;
  clear_value_count();
  std::memcpy(vexmori_control_block() + field(kResumeWord).offset, &word, 4);
}

}  // namespace support
