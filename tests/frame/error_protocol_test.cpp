// The error record, field by field, at the offsets of the runtime protocol:
// the exact 32-bit ones on i386, the widened ones on x86_64. Every byte of
// the control block that the protocol does not name must stay untouched.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "frame/errors.h"
#include "frame/runtime_imports.h"
#include "support/layout.h"
#include "support/recorder.h"

namespace {

using namespace support::layout;
using support::Recorder;

constexpr std::uint8_t kFill = 0xa5;

// Fills the block with a pattern, keeping the handler and setting the flags.
void fill_block(std::uint8_t infinity, std::uint8_t report, std::uint8_t mute) {
  unsigned char *block = vexmori_control_block();
  const Placed h = field(kHandler);
  unsigned char handler[8];
  std::memcpy(handler, block + h.offset, h.width);
  std::memset(block, kFill, kBlockSize);
  std::memcpy(block + h.offset, handler, h.width);
  vexmori_set_infinity_flag(infinity);
  vexmori_set_report_flag(report);
  vexmori_set_mute_flag(mute);
}

template <class T>
T at(const std::vector<std::uint8_t> &block, Field f) {
  const Placed p = field(f);
  EXPECT_EQ(p.width, sizeof(T)) << kFields32[f].name;
  T v;
  std::memcpy(&v, block.data() + p.offset, sizeof v);
  return v;
}

bool untouched(const std::vector<std::uint8_t> &block, Field f) {
  const Placed p = field(f);
  for (std::size_t i = 0; i < p.width; ++i)
    if (block[p.offset + i] != kFill) return false;
  return true;
}

// Every byte outside the given fields still holds the fill pattern.
void expect_only(const std::vector<std::uint8_t> &block, std::set<Field> written) {
  written.insert({kMuteFlag, kInfinityFlag, kReportFlag, kHandler});
  std::vector<bool> named(kBlockSize, false);
  for (Field f : written) {
    const Placed p = field(f);
    for (std::size_t i = 0; i < p.width; ++i) named[p.offset + i] = true;
  }
  for (std::size_t i = 0; i < kBlockSize; ++i) {
    if (!named[i]) {
      ASSERT_EQ(block[i], kFill) << "byte " << i << " of the control block written";
    }
  }
}

const std::set<Field> kAlwaysWritten = {kResumeRef, kArgSlot1, kErrorNumber, kClear720, kClear721,
                                        kClear724,  kClear732, kClear736,    kClear737, kClear744};

void expect_cleared(const std::vector<std::uint8_t> &block) {
  for (Field f : {kClear720, kClear721, kClear736, kClear737})
    EXPECT_EQ(at<std::uint8_t>(block, f), 0) << kFields32[f].name;
  for (Field f : {kClear724, kClear732, kClear744})
    EXPECT_EQ(at<std::int32_t>(block, f), 0) << kFields32[f].name;
}

TEST(ErrorRecord, OneArgumentOneValue) {
  Recorder rec;
  fill_block(1, 0, 0);
  double slot = 1.0e300, copy = 1.0e300;
  const vx::ValueRef value{&copy, vx::kTypeReal8};
  rec.answer = [](const support::Report &, int) { return 0; };
  EXPECT_EQ(vx::raise_intrinsic_error(203, &slot, nullptr, &value, 1), 0);

  ASSERT_EQ(rec.reports.size(), 1u);
  const auto &b = rec.reports[0].block;
  unsigned char *block = vexmori_control_block();
  EXPECT_EQ(rec.reports[0].record, block + field(kErrorNumber).offset);
  EXPECT_EQ(at<void *>(b, kResumeRef), block + field(kResumeWord).offset);
  EXPECT_EQ(at<void *>(b, kArgSlot1), &slot);
  EXPECT_TRUE(untouched(b, kArgSlot2));
  EXPECT_EQ(at<std::int32_t>(b, kErrorNumber), 203);
  expect_cleared(b);
  EXPECT_EQ(at<std::int32_t>(b, kValueCount), 1);
  EXPECT_EQ(at<const void *>(b, kValue1Addr), &copy);
  EXPECT_EQ(at<std::uint16_t>(b, kValue1Type), 10);
  EXPECT_EQ(at<std::uint16_t>(b, kValue1Pad), 0);
  for (Field f : {kValue2Addr, kValue2Type, kValue2Pad}) EXPECT_TRUE(untouched(b, f));
  std::set<Field> written = kAlwaysWritten;
  written.insert({kValueCount, kValue1Addr, kValue1Type, kValue1Pad});
  expect_only(b, written);
}

TEST(ErrorRecord, TwoArgumentsTwoValues) {
  Recorder rec;
  fill_block(0, 0, 0);
  Real16 a{{1, 2, 3, 0x40000000}}, b{{4, 5, 6, 0x3fff0000}};
  Real16 ca = a, cb = b;
  const vx::ValueRef values[2] = {{&ca, vx::kTypeReal16}, {&cb, vx::kTypeReal16}};
  EXPECT_EQ(vx::raise_intrinsic_error(278, &a, &b, values, 2), 0);

  ASSERT_EQ(rec.reports.size(), 1u);
  const auto &blk = rec.reports[0].block;
  EXPECT_EQ(at<void *>(blk, kArgSlot1), &a);
  EXPECT_EQ(at<void *>(blk, kArgSlot2), &b);
  EXPECT_EQ(at<std::int32_t>(blk, kErrorNumber), 278);
  expect_cleared(blk);
  EXPECT_EQ(at<std::int32_t>(blk, kValueCount), 2);
  EXPECT_EQ(at<const void *>(blk, kValue1Addr), &ca);
  EXPECT_EQ(at<std::uint16_t>(blk, kValue1Type), 11);
  EXPECT_EQ(at<std::uint16_t>(blk, kValue1Pad), 0);
  EXPECT_EQ(at<const void *>(blk, kValue2Addr), &cb);
  EXPECT_EQ(at<std::uint16_t>(blk, kValue2Type), 11);
  EXPECT_EQ(at<std::uint16_t>(blk, kValue2Pad), 0);
  // The handler read the copies as they were.
  EXPECT_EQ(rec.reports[0].value_as<Real16>(1).w[0], 4u);
  std::set<Field> written = kAlwaysWritten;
  written.insert({kArgSlot2, kValueCount, kValue1Addr, kValue1Type, kValue1Pad, kValue2Addr,
                  kValue2Type, kValue2Pad});
  expect_only(blk, written);
}

TEST(ErrorRecord, NoValuesLeavesTheDescriptorsAlone) {
  Recorder rec;
  fill_block(1, 0, 0);
  float y = 0.0f, x = -0.0f;
  EXPECT_EQ(vx::raise_intrinsic_error(220, &y, &x, nullptr, 0), 0);
  ASSERT_EQ(rec.reports.size(), 1u);
  const auto &b = rec.reports[0].block;
  EXPECT_EQ(at<void *>(b, kArgSlot1), &y);
  EXPECT_EQ(at<void *>(b, kArgSlot2), &x);
  for (Field f :
       {kValueCount, kValue1Addr, kValue1Type, kValue1Pad, kValue2Addr, kValue2Type, kValue2Pad})
    EXPECT_TRUE(untouched(b, f)) << kFields32[f].name;
  std::set<Field> written = kAlwaysWritten;
  written.insert(kArgSlot2);
  expect_only(b, written);
}

TEST(ErrorRecord, ReturnsTheResumeWordTheHandlerLeft) {
  Recorder rec;
  rec.answer = [](const support::Report &, int) { return 7; };
  float slot = 1.0f, copy = 1.0f;
  const vx::ValueRef value{&copy, vx::kTypeReal4};
  EXPECT_EQ(vx::raise_intrinsic_error(202, &slot, nullptr, &value, 1), 7);
  rec.answer = nullptr;
  EXPECT_EQ(vx::raise_intrinsic_error(202, &slot, nullptr, &value, 1), 0);
  EXPECT_EQ(rec.reports.size(), 2u);
}

TEST(ErrorRecord, RepeatedReportsRefillTheRecord) {
  Recorder rec;
  float s1 = 1.0f, c1 = 1.0f;
  const vx::ValueRef v1{&c1, vx::kTypeReal4};
  vx::raise_intrinsic_error(202, &s1, nullptr, &v1, 1);
  double s2 = 2.0, c2 = 2.0;
  const vx::ValueRef v2{&c2, vx::kTypeReal8};
  vx::raise_intrinsic_error(245, &s2, nullptr, &v2, 1);
  ASSERT_EQ(rec.reports.size(), 2u);
  EXPECT_EQ(rec.reports[1].number, 245);
  EXPECT_EQ(rec.reports[1].slot1, &s2);
  EXPECT_EQ(rec.reports[1].value_type[0], 10);
  EXPECT_EQ(rec.reports[1].value_as<double>(0), 2.0);
}

// ---- signal_arith_exception --------------------------------------------

TEST(ArithException, InitialisesTheMachineryOncePerProcess) {
  Recorder rec(1, 0, 0);
  ulx_x_init = 0;
  const std::uint32_t before = vexmori_xint_calls();
  Real16 a{}, b{};
  EXPECT_EQ(vx::signal_arith_exception(1397, &a, &b, nullptr, 0), 0);
  EXPECT_EQ(ulx_x_init, 2);
  EXPECT_EQ(vexmori_xint_calls(), before + 1);
  EXPECT_EQ(vx::signal_arith_exception(1397, &a, &b, nullptr, 0), 0);
  EXPECT_EQ(vexmori_xint_calls(), before + 1);
  EXPECT_TRUE(rec.reports.empty());  // report flag 0: no report
}

struct FlagCase {
  std::uint8_t report, mute;
  bool reaches_handler;
};

class ArithFlags : public ::testing::TestWithParam<FlagCase> {};

TEST_P(ArithFlags, ReportOnlyWhenAskedAndNotMuted) {
  const FlagCase c = GetParam();
  Recorder rec(1, c.report, c.mute);
  rec.answer = [](const support::Report &, int) { return 3; };
  Real16 a{}, b{};
  const std::int32_t word = vx::signal_arith_exception(1398, &a, &b, nullptr, 0);
  EXPECT_EQ(rec.reports.size(), c.reaches_handler ? 1u : 0u);
  EXPECT_EQ(word, c.reaches_handler ? 3 : 0);
  if (c.reaches_handler) {
    EXPECT_EQ(rec.reports[0].number, 1398);
    EXPECT_EQ(rec.reports[0].slot1, &a);
    EXPECT_EQ(rec.reports[0].slot2, &b);
  }
}

INSTANTIATE_TEST_SUITE_P(Flags, ArithFlags,
                         ::testing::Values(FlagCase{1, 0, true}, FlagCase{0, 0, false},
                                           FlagCase{1, 1, false}, FlagCase{2, 0, false},
                                           FlagCase{1, 0x80, false}, FlagCase{0, 1, false}));

}  // namespace
