// Typed reads and writes of control-block fields, and the size of a
// reported value by its type code. Fields may be unaligned; the block is
// little-endian like its host.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "frame/errors.h"

namespace vx {

template <class T>
void put_field(unsigned char *block, std::size_t offset, T value) {
  std::memcpy(block + offset, &value, sizeof value);
}

template <class T>
T get_field(const unsigned char *block, std::size_t offset) {
  T value;
  std::memcpy(&value, block + offset, sizeof value);
  return value;
}

// Bytes of a value of the given type code; 0 for codes no report uses.
constexpr std::size_t type_code_size(std::uint16_t type) {
  switch (type) {
    case kInteger1:
      return 1;
    case kInteger2:
      return 2;
    case kInteger4:
      return 4;
    case kInteger8:
      return 8;
    case kTypeReal4:
      return 4;
    case kTypeReal8:
      return 8;
    case kTypeReal16:
      return 16;
    default:
      return 0;
  }
}

}  // namespace vx
