// The substitute runtime as a program finds it at start-up, before anything
// has changed its flags, and the first arithmetic exception of the process:
// it initialises the exception machinery, once.
#include <gtest/gtest.h>

#include "frame/runtime_imports.h"
#include "support/recorder.h"

namespace {

using namespace support::layout;

TEST(RuntimeStartUp, DefaultsAndTheFirstArithmeticException) {
  const unsigned char *block = vexmori_control_block();
  EXPECT_EQ(read<std::uint8_t>(block, kInfinityFlag), 1);
  EXPECT_EQ(read<std::uint8_t>(block, kReportFlag), 0);
  EXPECT_EQ(read<std::uint8_t>(block, kMuteFlag), 0);
  EXPECT_EQ(read<VexmoriHandler>(block, kHandler), &vexmori_default_handler);
  EXPECT_EQ(ulx_x_init, 0);
  // An argument error leaves the machinery alone.
  const float x = 1.0e6f;
  g_sin(&x);
  EXPECT_EQ(vexmori_xint_calls(), 0u);
  // The first overflow initialises it, with reports off; the second does not.
  const Real16 largest = {{~0u, ~0u, ~0u, 0x7ffeffff}};
  Real16 sum;
  for (const std::uint32_t calls : {1u, 1u}) {
    g_aqaq(&sum, &largest, &largest);
    EXPECT_EQ(vexmori_xint_calls(), calls);
    EXPECT_EQ(ulx_x_init, 2);
    EXPECT_EQ(sum.w[3], 0x7fff0000u);  // _Inf_Q
    EXPECT_EQ(vexmori_last_error(nullptr), 1u) << "no report beside g_sin's";
  }
}

}  // namespace
