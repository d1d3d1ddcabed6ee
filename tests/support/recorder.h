// A recording error handler for the tests: installed for the lifetime of a
// Recorder, it keeps what each report carried (error number, argument slots,
// value descriptors and copies, a snapshot of the whole control block) and
// answers what the test asks.
#pragma once

#include <vexmorg/vexmorg.h>
#include <vexmorg/vexmori.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

namespace support {

struct Report {
  std::int32_t number = 0;
  void *record = nullptr;  // the address the handler received
  void *slot1 = nullptr;
  void *slot2 = nullptr;
  std::int32_t value_count = 0;  // as found in the block (may be stale: see below)
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

  // Clears the value count so that a report carrying no values cannot be
  // mistaken for one that does (the library leaves the descriptors alone).
  static void clear_value_count();

 private:
  static void handler(void *record);
  VexmoriHandler previous_;
};

}  // namespace support
