// Typed reads and writes of control-block fields, and the size of a
// reported value by its type code. Fields may be unaligned; the block is
// little-endian like its host.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

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
    case 1:
      return 1;  // INTEGER*1
    case 2:
      return 2;  // INTEGER*2
    case 3:
      return 4;  // INTEGER*4
    case 4:
      return 8;  // INTEGER*8
    case 9:
      return 4;  // Real4
    case 10:
      return 8;  // Real8
    case 11:
      return 16;  // Real16
    default:
      return 0;
  }
}

}  // namespace vx
