// The substitute runtime as a program finds it at start-up, before anything
// has changed its flags.
#include <gtest/gtest.h>
#include <vexmorg/vexmori.h>

#include <cstring>

#include "support/layout.h"

namespace {

using namespace support::layout;

TEST(RuntimeStartUp, IeeeDefaultsNoExceptionReportsDefaultHandler) {
  const unsigned char *block = vexmori_control_block();
  EXPECT_EQ(block[field(kInfinityFlag).offset], 1);
  EXPECT_EQ(block[field(kReportFlag).offset], 0);
  EXPECT_EQ(block[field(kMuteFlag).offset], 0);
  VexmoriHandler handler;
  std::memcpy(&handler, block + field(kHandler).offset, sizeof handler);
  EXPECT_EQ(handler, &vexmori_default_handler);
  EXPECT_EQ(vexmori_xint_calls(), 0u);
}

}  // namespace
