// The protocol with the core runtime, once per shape of entry: an argument
// error with one value (g_sin), two slots and no values (g_atan2d), a hidden
// result (g_qsqrt, the pair g_dscn); arithmetic exceptions with two values
// (g_aqdq overflow) and without (g_aqaq overflow, g_aqdq by zero). For each:
// the error number and the record at their offsets, no other byte of the
// control block written; slots that are working copies; value descriptors
// (count, type codes, copies apart from the slots); a resume computes again
// from the slots, and a replacement that still fails reports again; a
// declined report gives the default the infinity flag selects (1: the IEEE
// pattern, any other value: the finite one). Argument errors report whatever
// the exception flags say; arithmetic exceptions only with the report flag 1
// and the mute flag 0.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "support/ieee_constants.h"
#include "support/recorder.h"

namespace {

using namespace support;
using namespace support::layout;

// Arguments and results as bytes, compared whole.
struct alignas(16) Bytes {
  std::uint8_t b[16] = {};
  bool operator==(const Bytes &) const = default;
};
template <class T>
Bytes of(const T &v) {
  static_assert(sizeof v <= sizeof(Bytes));
  Bytes r;
  std::memcpy(r.b, &v, sizeof v);
  return r;
}
Bytes of16(std::uint32_t w3, std::uint32_t w2 = 0, std::uint32_t w1 = 0, std::uint32_t w0 = 0) {
  return of(Real16{{w0, w1, w2, w3}});
}
const Bytes kNone, kLargest = of16(0x7ffeffff, ~0u, ~0u, ~0u), kInf16 = of16(0x7fff0000);

// An entry called on argument buffers (b unused by one-argument entries):
// the result in the return register, or through the hidden result address.
template <class R, class A, class... B>
Bytes call(R (*fn)(const A *, const B *...), const void *a, [[maybe_unused]] const void *b) {
  return of(fn(static_cast<const A *>(a), static_cast<const B *>(b)...));
}
template <class R, class A, class... B>
Bytes hidden(R *(*fn)(R *, const A *, const B *...), const void *a,
             [[maybe_unused]] const void *b) {
  R r;
  fn(&r, static_cast<const A *>(a), static_cast<const B *>(b)...);
  return of(r);
}

struct Shape {
  const char *name;
  Bytes (*call)(const void *a, const void *b);
  std::size_t size;  // of each argument
  int slots, values;
  std::uint16_t type;  // of the values
  bool arith;          // through signal_arith_exception
  std::int32_t error;
  Bytes a, b;              // arguments that report
  Bytes again_a, again_b;  // a replacement that reports again
  Bytes good_a, good_b;    // a replacement that computes
  Bytes finite, ieee;      // the defaults
};

const Shape kShapes[] = {
    {"sin_one_value", [](auto a, auto b) { return call(g_sin, a, b); }, 4, 1, 1, 9, false, 202,
     of(1e6f), kNone, of(-2e6f), kNone, of(0.5f), kNone, of(kSqrtHalfF), of(kNaNF)},
    {"atan2d_two_slots_no_values", [](auto a, auto b) { return call(g_atan2d, a, b); }, 4, 2, 0, 0,
     false, 1369, of(0.0f), of(-0.0f), of(-0.0f), of(0.0f), of(1.0f), of(1.0f), of(0.0f),
     of(kNaNF)},
    {"qsqrt_hidden_result", [](auto a, auto b) { return hidden(g_qsqrt, a, b); }, 16, 1, 1, 11,
     false, 228, of16(0xc0010000), kNone, of16(0xc0000000), kNone, of16(0x40010000), kNone,
     of16(0x40000000), of16(0x7fff8000)},
    {"dscn_hidden_pair", [](auto a, auto b) { return hidden(g_dscn, a, b); }, 8, 1, 1, 10, false,
     203, of(1e16), kNone, of(-4e15), kNone, of(0.5), kNone, of(Complex16{kSqrtHalfD, kSqrtHalfD}),
     of(Complex16{kNaND, kNaND})},
    {"aqdq_overflow_two_values", [](auto a, auto b) { return hidden(g_aqdq, a, b); }, 16, 2, 2, 11,
     true, 278, of16(0x7ff00000, 1), of16(0x000f0000, 2), kLargest, of16(0x3ffe0000),
     of16(0x40008000), of16(0x40000000), kLargest, kInf16},
    {"aqaq_overflow_no_values", [](auto a, auto b) { return hidden(g_aqaq, a, b); }, 16, 2, 0, 0,
     true, 1397, kLargest, kLargest, of16(0xfffeffff, ~0u), of16(0xfffeffff, ~0u), of16(0x3fff0000),
     of16(0x40000000), kLargest, kInf16},
    {"aqdq_by_zero_no_values", [](auto a, auto b) { return hidden(g_aqdq, a, b); }, 16, 2, 0, 0,
     true, 280, of16(0x40014000), of16(0), of16(0xc0014000), of16(0x80000000, 3), of16(0x40008000),
     of16(0x40000000), kLargest, kInf16},
};

class Protocol : public ::testing::TestWithParam<Shape> {};

TEST_P(Protocol, DeclinedReportFillsTheRecordAndGivesTheDefault) {
  const Shape &p = GetParam();
  unsigned char *block = vexmori_control_block();
  for (const std::uint8_t flag : {0, 1, 2}) {
    SCOPED_TRACE("infinity flag " + std::to_string(flag));
    // Argument errors with the exception reports off and muted. The block
    // is filled with a pattern, all but the handler and the three flags.
    Recorder rec(flag, p.arith ? 1 : 0, p.arith ? 0 : 1);
    constexpr std::uint8_t kFill = 0xa5;
    std::vector<unsigned char> saved(block, block + kBlockSize);
    std::memset(block, kFill, kBlockSize);
    for (const Field f : {kHandler, kInfinityFlag, kReportFlag, kMuteFlag})
      std::memcpy(block + field(f).offset, saved.data() + field(f).offset, field(f).width);
    Bytes slot[2];
    rec.answer = [&](const Report &r, int) {
      std::memcpy(slot[0].b, r.slot1, p.size);
      if (p.slots == 2) std::memcpy(slot[1].b, r.slot2, p.size);
      return 0;
    };
    EXPECT_EQ(p.call(&p.a, &p.b), flag == 1 ? p.ieee : p.finite);
    ASSERT_EQ(rec.reports.size(), 1u);
    const Report &r = rec.reports[0];
    const unsigned char *seen = r.block.data();
    EXPECT_EQ(r.number, p.error);
    EXPECT_EQ(r.record, block + field(kErrorNumber).offset);
    EXPECT_EQ(read<const void *>(seen, kResumeRef), block + field(kResumeWord).offset);
    constexpr Field kCleared[] = {kClear720, kClear721, kClear724, kClear732,
                                  kClear736, kClear737, kClear744};
    std::set<Field> written(std::begin(kCleared), std::end(kCleared));
    written.insert(
        {kResumeRef, kArgSlot1, kErrorNumber, kMuteFlag, kInfinityFlag, kReportFlag, kHandler});
    if (p.slots == 2) written.insert(kArgSlot2);
    if (p.values > 0) written.insert({kValueCount, kValue1Addr, kValue1Type, kValue1Pad});
    if (p.values == 2) written.insert({kValue2Addr, kValue2Type, kValue2Pad});
    for (const Field f : kCleared)
      EXPECT_EQ(read<std::uint32_t>(seen, f) & (field(f).width == 1 ? 0xff : ~0u), 0u) << f;
    const Bytes *args[2] = {&p.a, &p.b};
    const void *slots[2] = {r.slot1, r.slot2};
    for (int i = 0; i < p.slots; ++i) {
      EXPECT_NE(slots[i], args[i]) << "a slot is a working copy";
      EXPECT_EQ(slot[i], *args[i]) << "slot " << i + 1;
    }
    EXPECT_TRUE(p.values == 0 || r.value_count == p.values) << r.value_count;
    for (int i = 0; i < p.values; ++i) {
      Bytes copy;
      std::memcpy(copy.b, r.value[i].data(), p.size);
      EXPECT_EQ(r.value_type[i], p.type);
      EXPECT_EQ(read<std::uint16_t>(seen, i == 0 ? kValue1Pad : kValue2Pad), 0);
      EXPECT_EQ(copy, *args[i]) << "value " << i + 1;
      EXPECT_NE(r.value_address[i], slots[i]) << "a value is a copy apart from the slot";
    }
    std::vector<bool> named(kBlockSize, false);
    for (const Field f : written)
      for (std::size_t i = 0; i < field(f).width; ++i) named[field(f).offset + i] = true;
    for (std::size_t i = 0; i < kBlockSize; ++i)
      ASSERT_TRUE(named[i] || seen[i] == kFill) << "byte " << i << " of the control block written";
    if (!p.arith) continue;
    // Without reports, or muted: the default at once.
    for (const auto &[report, mute] :
         {std::pair{0, 0}, std::pair{2, 0}, std::pair{1, 1}, std::pair{1, 0x80}}) {
      Recorder quiet(flag, report, mute);
      EXPECT_EQ(p.call(&p.a, &p.b), flag == 1 ? p.ieee : p.finite);
      EXPECT_TRUE(quiet.reports.empty()) << "report flag " << report << ", mute flag " << mute;
    }
  }
}

TEST_P(Protocol, ResumeComputesAgainWithTheSlots) {
  const Shape &p = GetParam();
  const Bytes want = p.call(&p.good_a, &p.good_b);
  Recorder rec(1, 1, 0);
  Bytes second;  // slot 1 at the second report
  rec.answer = [&](const Report &r, int index) {
    if (index == 1) std::memcpy(second.b, r.slot1, p.size);
    std::memcpy(r.slot1, (index == 0 ? p.again_a : p.good_a).b, p.size);
    if (p.slots == 2) std::memcpy(r.slot2, (index == 0 ? p.again_b : p.good_b).b, p.size);
    return index < 2 ? 1 : 0;
  };
  const Bytes a = p.a, b = p.b;
  EXPECT_EQ(p.call(&a, &b), want);
  ASSERT_EQ(rec.reports.size(), 2u);
  EXPECT_EQ(rec.reports[1].number, p.error);
  EXPECT_EQ(second, p.again_a) << "the second report starts from the replacement";
  EXPECT_TRUE(p.values == 0 ||
              std::memcmp(rec.reports[1].value[0].data(), p.again_a.b, p.size) == 0);
  EXPECT_TRUE(a == p.a && b == p.b) << "the arguments are not written";
}

INSTANTIATE_TEST_SUITE_P(Shapes, Protocol, ::testing::ValuesIn(kShapes),
                         [](const auto &info) { return std::string(info.param.name); });

// The default handler records each report and declines. A report without
// values after one with a value: its record counts none, whatever the
// value count of the block held before.
TEST(DefaultHandler, RecordsEachReportWithItsOwnValueCount) {
  vexmori_set_handler(nullptr);
  vexmori_set_infinity_flag(0);
  const float x = 1.0e6f, zero = 0.0f;
  VexmoriErrorReport last;
  const std::uint32_t before = vexmori_last_error(nullptr);
  EXPECT_EQ(g_sin(&x), kSqrtHalfF);
  EXPECT_EQ(vexmori_last_error(&last), before + 1);
  EXPECT_EQ(last.number, 202);
  EXPECT_EQ(last.value_count, 1);
  EXPECT_EQ(last.value_type[0], 9);
  EXPECT_EQ(std::memcmp(last.value[0], &x, 4), 0);
  EXPECT_EQ(g_atan2d(&zero, &zero), 0.0f);
  EXPECT_EQ(vexmori_last_error(&last), before + 2);
  EXPECT_EQ(last.number, 1369);
  EXPECT_EQ(last.value_count, 0);
  vexmori_set_infinity_flag(1);
  auto mine = [](void *) { vexmori_set_resume(0); };
  EXPECT_EQ(vexmori_set_handler(mine), &vexmori_default_handler);
  EXPECT_EQ(vexmori_set_handler(nullptr), static_cast<VexmoriHandler>(mine));
}

}  // namespace
