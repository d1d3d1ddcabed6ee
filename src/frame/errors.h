// The two error operations every reporting function uses.
//
// raise_intrinsic_error fills the error record in the runtime's control
// block, calls the runtime's handler with the record's address and returns
// the resume word the handler left (nonzero: compute again with the argument
// slots; zero: return the default).
//
// signal_arith_exception is the path of software overflow, underflow and
// division by zero: it initialises the runtime's exception machinery once per
// process, waits for the floating-point unit, and raises the error only when
// the runtime asks for exception reports (report flag 1, mute flag 0); it
// returns the resume word, or 0 when no report was made.
#pragma once

#include <vexmorg/vexmorg.h>

#include <cstdint>

namespace vx {

// Value type codes of the error record.
enum TypeCode : std::uint16_t {
  kInteger1 = 1,
  kInteger2 = 2,
  kInteger4 = 3,
  kInteger8 = 4,
  kTypeReal4 = 9,
  kTypeReal8 = 10,
  kTypeReal16 = 11,
};

template <class T>
inline constexpr std::uint16_t type_code = 0;
template <>
inline constexpr std::uint16_t type_code<std::int8_t> = kInteger1;
template <>
inline constexpr std::uint16_t type_code<std::int16_t> = kInteger2;
template <>
inline constexpr std::uint16_t type_code<std::int32_t> = kInteger4;
template <>
inline constexpr std::uint16_t type_code<std::int64_t> = kInteger8;
template <>
inline constexpr std::uint16_t type_code<float> = kTypeReal4;
template <>
inline constexpr std::uint16_t type_code<double> = kTypeReal8;
template <>
inline constexpr std::uint16_t type_code<Real16> = kTypeReal16;
// A complex value reports with the code of its component type.
template <>
inline constexpr std::uint16_t type_code<Complex8> = kTypeReal4;
template <>
inline constexpr std::uint16_t type_code<Complex16> = kTypeReal8;
template <>
inline constexpr std::uint16_t type_code<Complex32> = kTypeReal16;

// A reported value: the address of its copy and its type code.
struct ValueRef {
  const void *address;
  std::uint16_t type;
};

// `slot2` is null for one-operand reports, and the second slot address is
// then left untouched; with `count` 0 the value descriptors are left as they
// are.
std::int32_t raise_intrinsic_error(std::int32_t number, void *slot1, void *slot2,
                                   const ValueRef *values, int count);
std::int32_t signal_arith_exception(std::int32_t number, void *slot1, void *slot2,
                                    const ValueRef *values, int count);

// True when the infinity flag selects the IEEE defaults (NaN, infinities).
bool infinity_defaults();

// The default of a reporting site: `ieee` under the infinity flag, else
// the finite substitute.
template <class R>
R pick_default(R finite, R ieee) {
  return infinity_defaults() ? ieee : finite;
}

}  // namespace vx
