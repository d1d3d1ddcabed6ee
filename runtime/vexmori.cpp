// Substitute for the core runtime's vexmori: the control block `ulx_lca`,
// the exception-machinery word `ulx_x_init` and routine `ulx_xint`, a
// default error handler, and a small API to choose another policy.
//
// At start-up the default handler is installed and the infinity flag is 1
// (NaN and infinity defaults); the exception report and mute flags are 0.
#include "vexmorg/vexmori.h"

#include <cstring>

#include "frame/block_fields.h"
#include "frame/control_block.h"
#include "frame/runtime_imports.h"

namespace cb = vx::cb;

extern "C" {
alignas(16) unsigned char ulx_lca[cb::kBlockSize];
std::int32_t ulx_x_init = 0;
}

namespace {

std::uint32_t xint_calls = 0;
std::uint32_t reports_taken = 0;
VexmoriErrorReport last_report{};

template <class T>
void put(std::size_t offset, T value) {
  vx::put_field(ulx_lca, offset, value);
}

template <class T>
T get(std::size_t offset) {
  return vx::get_field<T>(ulx_lca, offset);
}

void copy_value(int index, std::size_t address_offset, std::size_t type_offset) {
  const auto type = get<std::uint16_t>(type_offset);
  const auto *address = get<const unsigned char *>(address_offset);
  last_report.value_type[index] = type;
  std::memset(last_report.value[index], 0, sizeof last_report.value[index]);
  if (address != nullptr) std::memcpy(last_report.value[index], address, vx::type_code_size(type));
}

struct StartUp {
  StartUp() {
    vexmori_set_handler(nullptr);
    vexmori_set_infinity_flag(1);
  }
} start_up;

}  // namespace

// Records the report and answers zero (take the default). The value count is
// consumed: the library leaves the value descriptors alone when a report
// carries no values, so a stale count must not describe the next report.
void vexmori_default_handler(void *record) {
  (void)record;
  ++reports_taken;
  last_report.number = get<std::int32_t>(cb::kErrorNumber);
  const auto count = get<std::int32_t>(cb::kValueCount);
  last_report.value_count = count == 1 || count == 2 ? count : 0;
  last_report.value_type[0] = last_report.value_type[1] = 0;
  if (last_report.value_count >= 1) copy_value(0, cb::kValue1Addr, cb::kValue1Type);
  if (last_report.value_count == 2) copy_value(1, cb::kValue2Addr, cb::kValue2Type);
  put<std::int32_t>(cb::kValueCount, 0);
  put<std::int32_t>(cb::kResumeWord, 0);
}

VexmoriHandler vexmori_set_handler(VexmoriHandler handler) {
  const auto previous = get<VexmoriHandler>(cb::kHandler);
  put<VexmoriHandler>(cb::kHandler, handler != nullptr ? handler : vexmori_default_handler);
  return previous;
}

void vexmori_set_infinity_flag(std::uint8_t value) { put(cb::kInfinityFlag, value); }
void vexmori_set_report_flag(std::uint8_t value) { put(cb::kReportFlag, value); }
void vexmori_set_mute_flag(std::uint8_t value) { put(cb::kMuteFlag, value); }
void vexmori_set_resume(std::int32_t word) { put(cb::kResumeWord, word); }

void *vexmori_argument_slot(int which) {
  return get<void *>(which == 2 ? cb::kArgSlot2 : cb::kArgSlot1);
}

unsigned char *vexmori_control_block(void) { return ulx_lca; }

std::uint32_t vexmori_last_error(VexmoriErrorReport *out) {
  if (out != nullptr) *out = last_report;
  return reports_taken;
}

std::uint32_t vexmori_xint_calls(void) { return xint_calls; }

// Initialises the exception machinery. The substitute has nothing to set up;
// it counts the calls so that tests can see the library calls it once.
void ulx_xint(void *record) {
  (void)record;
  ++xint_calls;
}
