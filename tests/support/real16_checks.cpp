#include "support/real16_checks.h"

#include <functional>

namespace support {

void Real16Sampler::fraction(std::uint64_t &high, std::uint64_t &low) {
  constexpr std::uint64_t kHigh = 0xffffffffffff, kAll = ~std::uint64_t{0};
  const unsigned k = static_cast<unsigned>(below(113));
  switch (below(10)) {
    case 0:  // all ones
      high = kHigh, low = kAll;
      return;
    case 1:  // all zeros
      high = low = 0;
      return;
    case 2:  // one bit
      high = k >= 64 && k < 112 ? std::uint64_t{1} << (k - 64) : 0;
      low = k < 64 ? std::uint64_t{1} << k : 0;
      return;
    case 3:  // the low k bits, or all but them
      high = k >= 112 ? kHigh : (k > 64 ? (std::uint64_t{1} << (k - 64)) - 1 : 0);
      low = k >= 64 ? kAll : (std::uint64_t{1} << k) - 1;
      if (bits() & 1) high ^= kHigh, low = ~low;
      return;
    case 4:  // the high part only
      high = bits() & kHigh, low = 0;
      return;
    default:
      high = bits() & kHigh, low = bits();
      return;
  }
}

Real16Test::Real16Test()
    : s(std::hash<std::string>{}(::testing::UnitTest::GetInstance()->current_test_info()->name())) {
}

void Real16Test::TearDown() {
  if (failures > 10) ADD_FAILURE() << failures << " failures in all";
}

void Real16Test::fail(const std::string &what) {
  if (++failures <= 10) ADD_FAILURE() << what;
}

void Real16Test::check(const Operator16 &op, const Real16 &a, const Real16 &b) {
  using oracle::Outcome;
  const oracle::Real16Result want = op.reference(ref, a, b);
  const bool negative = ((op.infinity_by_sign_of_a ? a.w[3] : a.w[3] ^ b.w[3]) & kSign16) != 0;
  const bool zero_a = (a.w[3] & ~kSign16) == 0;
  Real16 ieee = want.bits, finite = kZero;
  std::int32_t error = 0;
  int values = op.values;
  if (want.outcome == Outcome::overflow) {
    error = op.overflow_error, ieee = negative ? kMinusInf : kInf, finite = kLargest;
  } else if (want.outcome == Outcome::underflow) {
    error = op.underflow_error;
  } else if (want.outcome == Outcome::divide_by_zero) {
    error = op.zero_divisor_error, values = 0;
    ieee = zero_a ? kNaN : real16((a.w[3] & kSign16) | 0x7fff0000),
    finite = zero_a ? kZero : kLargest;
  } else if (op.negative_error != 0 && !zero_a && (a.w[3] & kSign16) != 0) {
    error = op.negative_error, values = 1, ieee = kNaN, finite = want.bits;
  }
  for (const std::uint8_t flag : {1, 0}) {
    vexmori_set_infinity_flag(flag);
    rec.reports.clear();
    Real16 got;
    op.fn(&got, &a, &b);
    const std::size_t n = rec.reports.size();
    const Real16 &expected = flag == 1 ? ieee : finite;
    if (n == (error != 0 ? 1u : 0u) && oracle::same_bits(got, expected) &&
        (n == 0 || (rec.reports[0].number == error && rec.reports[0].value_count == values))) {
      if (error == 0) break;
      continue;
    }
    const auto report = [](std::size_t count, std::int32_t number, int with) {
      return std::to_string(count) + " report(s), number " + std::to_string(number) + " with " +
             std::to_string(with) + " values";
    };
    fail(std::string(op.name) + "(" + show(a) + ", " + show(b) + ") under infinity flag " +
         std::to_string(flag) + "\n  got      " + show(got) + ", " +
         report(n, n > 0 ? rec.reports[0].number : 0, n > 0 ? rec.reports[0].value_count : 0) +
         "\n  expected " + show(expected) + ", " + report(error != 0, error, values));
    break;
  }
  vexmori_set_infinity_flag(1);
}

}  // namespace support
