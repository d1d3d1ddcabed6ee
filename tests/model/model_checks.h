// What the model and modulo_merge suites share: bit patterns of every class
// (zeros, subnormals, normals up to the extremes, infinities, NaNs), results
// compared as bits the way the return register delivers them, and the check
// of an error that reports no values and returns a fixed result.
#pragma once

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <string>

#include "support/checks.h"
#include "support/real16_checks.h"

namespace model_test {

template <class T>
using Bits = decltype(support::bits_of(T{}));

template <class T>
inline constexpr int kDigits = std::numeric_limits<T>::digits;  // p: 24, 53
template <class T>
inline constexpr int kFieldMax = 2 * std::numeric_limits<T>::max_exponent - 1;  // 255, 2047

// A pattern of every class: the exponent field 0 (zero, subnormal), 1, 2,
// anywhere, the two largest finite ones or all ones (infinity, NaN), under a
// fraction that is 0, 1, all ones, its top bit, or random; either sign.
template <class T>
T draw_pattern(support::Sampler &s) {
  using U = Bits<T>;
  constexpr U kFraction = (U{1} << (kDigits<T> - 1)) - 1;
  const U fields[] = {0, 1, 2, 0, U(kFieldMax<T> - 2), U(kFieldMax<T> - 1), U(kFieldMax<T>)};
  const U fraction_choices[] = {0, 1, kFraction, (kFraction >> 1) + 1, U(s.bits()) & kFraction};
  U field = fields[s.bits() % 7];
  if (s.bits() % 3 == 0) field = U(1 + s.bits() % (kFieldMax<T> - 1));
  const U fraction = s.bits() % 3 ? U(s.bits()) & kFraction : fraction_choices[s.bits() % 5];
  const U sign = U(s.bits() & 1) << (8 * sizeof(T) - 1);
  return std::bit_cast<T>(sign | (field << (kDigits<T> - 1)) | fraction);
}

// A Real16 of every class: biased exponent 0, 1, 2, anywhere, 0x7ffd,
// 0x7ffe, 0x7fff, with the sampler's fraction patterns (all zeros among
// them, so zeros with either sign, and word 3 a zero pattern over nonzero
// lower words).
inline Real16 draw_real16(support::Real16Sampler &s) {
  const std::uint32_t fields[] = {0, 1, 2, 0x7ffd, 0x7ffe, 0x7fff};
  const std::uint32_t f = s.below(3) == 0 ? fields[s.below(6)] : s.below32(0x8000);
  return s.with_exponent(f);
}

// The bits a caller stores from the floating return register: on i386 the
// value passes through the x87 register, whose load quiets a signalling NaN
// (sets the top fraction bit); elsewhere the bits are returned as they are.
template <class T>
Bits<T> returned(T want) {
  auto b = support::bits_of(want);
#if defined(__i386__)
  constexpr Bits<T> kQuiet = Bits<T>{1} << (kDigits<T> - 2);
  if (want != want) b |= kQuiet;
#endif
  return b;
}

// `call()` reports `number` once with no values and gives `want` under both
// infinity flags, although the handler writes `replacement` into argument
// slot 1 and answers 1: the result depends on neither. Slot 1 holds a
// working copy of `x` at the report.
template <class X, class R>
void expect_fixed_report(const std::string &what, std::int32_t number, const X &x,
                         const X &replacement, const std::function<R()> &call, const R &want) {
  for (std::uint8_t flag : {0, 1}) {
    SCOPED_TRACE(what + ", infinity flag " + std::to_string(flag));
    support::Recorder rec(flag);
    X seen{};
    rec.answer = [&](const support::Report &r, int index) {
      seen = r.slot_as<X>(1);
      support::replace(r, 1, replacement);
      return index == 0 ? 1 : 0;
    };
    const R got = call();
    ASSERT_EQ(rec.reports.size(), 1u);
    EXPECT_EQ(rec.reports[0].number, number);
    EXPECT_EQ(rec.reports[0].value_count, 0);
    EXPECT_EQ(std::memcmp(&seen, &x, sizeof x), 0) << "slot 1 holds x";
    EXPECT_NE(rec.reports[0].slot1, static_cast<const void *>(&x)) << "a working copy";
    EXPECT_EQ(std::memcmp(&got, &want, sizeof want), 0);
  }
}

}  // namespace model_test
