// raise_intrinsic_error and signal_arith_exception: the protocol with the
// core runtime. Field writes happen in the order the runtime expects; only
// the fields named in control_block.h are touched.
#include "frame/errors.h"

#include "common/x87.h"
#include "frame/block_fields.h"
#include "frame/control_block.h"
#include "frame/runtime_imports.h"

namespace vx {
namespace {

template <class T>
void put(std::size_t offset, T value) {
  std::memcpy(ulx_lca + offset, &value, sizeof value);
}

template <class T>
T get(std::size_t offset) {
  T value;
  std::memcpy(&value, ulx_lca + offset, sizeof value);
  return value;
}

using Handler = void (*)(void *record);

}  // namespace

bool infinity_defaults() { return get<std::uint8_t>(cb::kInfinityFlag) == 1; }

std::int32_t raise_intrinsic_error(std::int32_t number, void *slot1, void *slot2,
                                   const ValueRef *values, int count) {
  put<void *>(cb::kResumeRef, ulx_lca + cb::kResumeWord);
  put<void *>(cb::kArgSlot1, slot1);
  if (slot2 != nullptr) put<void *>(cb::kArgSlot2, slot2);
  put<std::int32_t>(cb::kErrorNumber, number);
  put<std::uint8_t>(cb::kClearByte1, 0);
  put<std::uint8_t>(cb::kClearByte2, 0);
  put<std::int32_t>(cb::kClearWord1, 0);
  put<std::int32_t>(cb::kClearWord2, 0);
  put<std::uint8_t>(cb::kClearByte3, 0);
  put<std::uint8_t>(cb::kClearByte4, 0);
  put<std::int32_t>(cb::kClearWord3, 0);
  if (count > 0) {
    put<std::int32_t>(cb::kValueCount, count);
    put<const void *>(cb::kValue1Addr, values[0].address);
    put<std::uint16_t>(cb::kValue1Type, values[0].type);
    put<std::uint16_t>(cb::kValue1Pad, 0);
    if (count > 1) {
      put<const void *>(cb::kValue2Addr, values[1].address);
      put<std::uint16_t>(cb::kValue2Type, values[1].type);
      put<std::uint16_t>(cb::kValue2Pad, 0);
    }
  }
  // A runtime always installs a handler; without one there is nobody to ask
  // for a replacement, so the default is the only answer.
  Handler handler = get<Handler>(cb::kHandler);
  if (handler == nullptr) return 0;
  handler(ulx_lca + cb::kRecord);
  return get<std::int32_t>(cb::kResumeWord);
}

std::int32_t signal_arith_exception(std::int32_t number, void *slot1, void *slot2,
                                    const ValueRef *values, int count) {
  if (ulx_x_init == 0) {
    ulx_x_init = 2;
    std::uint32_t record[3] = {0, 0, 0};
    ulx_xint(record);
  }
  x87::fwait();
  if (get<std::uint8_t>(cb::kReportFlag) == 1 && get<std::uint8_t>(cb::kMuteFlag) == 0)
    return raise_intrinsic_error(number, slot1, slot2, values, count);
  return 0;
}

}  // namespace vx
