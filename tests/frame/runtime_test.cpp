// The substitute runtime and the floating-point environment the library
// relies on.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "common/x87.h"
#include "frame/runtime_imports.h"
#include "support/layout.h"
#include "support/recorder.h"

namespace {

using namespace support::layout;

TEST(Runtime, BlockIsAtLeastTheProtocolSize) {
  // The handler field is the last one named; it must lie inside the block.
  const unsigned char *end = vexmori_control_block() + kBlockSize - 1;
  EXPECT_GE(static_cast<const void *>(end),
            static_cast<const void *>(ulx_lca + field(kHandler).offset));
}

TEST(Runtime, DefaultHandlerRecordsAndDeclines) {
  VexmoriErrorReport before;
  const std::uint32_t count = vexmori_last_error(&before);
  const float x = 1.0e6f;
  EXPECT_EQ(std::bit_cast<std::uint32_t>(g_sin(&x)), 0x7fc00000u);  // NaN: flag 1, declined
  VexmoriErrorReport after;
  EXPECT_EQ(vexmori_last_error(&after), count + 1);
  EXPECT_EQ(after.number, 202);
  EXPECT_EQ(after.value_count, 1);
  EXPECT_EQ(after.value_type[0], 9);
  float v;
  std::memcpy(&v, after.value[0], 4);
  EXPECT_EQ(v, 1.0e6f);
}

TEST(Runtime, SetHandlerReturnsThePreviousOne) {
  auto mine = [](void *) { vexmori_set_resume(0); };
  VexmoriHandler previous = vexmori_set_handler(mine);
  EXPECT_EQ(previous, &vexmori_default_handler);
  EXPECT_EQ(vexmori_set_handler(nullptr), static_cast<VexmoriHandler>(mine));
  EXPECT_EQ(vexmori_set_handler(nullptr), &vexmori_default_handler);
}

struct ZeroCase {
  std::uint32_t word;
  std::int32_t zeros;
};

TEST(Runtime, LeadingZeroCount) {
  const ZeroCase cases[] = {{1, 31},         {2, 30},        {3, 30},         {0x8000, 16},
                            {0xffff, 16},    {0x10000, 15},  {0x7fffffff, 1}, {0x80000000, 0},
                            {0xffffffff, 0}, {0x00800001, 8}};
  for (const ZeroCase &c : cases) EXPECT_EQ(ulx_fnzb(c.word), c.zeros) << std::hex << c.word;
}

TEST(Runtime, TruncationTowardZero) {
  const double cases[][2] = {{2.5, 2.0},     {-2.5, -2.0},
                             {0.999, 0.0},   {-0.999, -0.0},
                             {1e300, 1e300}, {4503599627370497.0, 4503599627370497.0},
                             {-7.0, -7.0},   {1.5e-300, 0.0}};
  for (const auto &c : cases) {
    const double d = f_dint(&c[0]);
    EXPECT_EQ(d, c[1]) << c[0];
    EXPECT_EQ(std::signbit(d), std::signbit(c[0])) << c[0];
    const float x = static_cast<float>(c[0]);
    const float f = f_aint(&x);
    EXPECT_EQ(f, std::trunc(x)) << c[0];
    EXPECT_EQ(std::signbit(f), std::signbit(x)) << c[0];
  }
  const float inf = std::numeric_limits<float>::infinity();
  EXPECT_EQ(f_aint(&inf), inf);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_TRUE(std::isnan(f_dint(&nan)));
}

TEST(FloatingPointEnvironment, ExtendedPrecisionAndRoundToNearest) {
  // Several kernels rely on a 64-bit significand and round to nearest.
  const std::uint16_t cw = vx::x87::control_word();
  EXPECT_EQ((cw >> 8) & 3, 3) << "precision control";
  EXPECT_EQ((cw >> 10) & 3, 0) << "rounding control";
  // long double really carries 64 bits: 1 + 2^-63 is not 1.
  volatile long double tiny = 0x1p-63L;
  EXPECT_NE(1.0L + tiny, 1.0L);
}

}  // namespace
