// Every Real4 argument of g_exp, g_log, g_alog, g_log10 and g_alog10 that
// the instructions compute (label slow, not in the default run): the
// entries, which take their SSE routes where the processor allows, against
// the register sequence itself, bit for bit. The arguments that return 0.0
// or report an error do not reach the sequence.
#include <gtest/gtest.h>
#include <vexmorg/vexmorg.h>

#include <atomic>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <thread>
#include <vector>

#include "common/x87.h"
#include "elem/exp_log/exp_kernel.h"

namespace {

namespace x87 = vx::x87;
using Entry = float (*)(const float *);

float exp_sequence(float x) { return static_cast<float>(vx::exp_x87(x)); }
template <long double (*kConstant)()>
float log_sequence(float x) {
  return static_cast<float>(x87::fyl2x(kConstant(), x));
}

// -88.029 < x < 88.722 compute (0xC2B00ED9, 0x42B171AA); x > 0 for the
// logarithms.
bool exp_computes(std::uint32_t i) {
  return i < 0xc2b00ed9 && static_cast<std::int32_t>(i) < 0x42b171aa;
}
bool log_computes(std::uint32_t i) { return i - 1 < 0x7f800000; }

TEST(ExpLogEveryReal4, AsTheInstructions) {
  const struct {
    std::vector<Entry> entries;  // the entries of one sequence
    float (*sequence)(float);
    bool (*computes)(std::uint32_t);
  } kSequences[] = {{{g_exp}, exp_sequence, exp_computes},
                    {{g_log, g_alog}, log_sequence<x87::fldln2>, log_computes},
                    {{g_log10, g_alog10}, log_sequence<x87::fldlg2>, log_computes}};
  for (const auto &s : kSequences) {
    std::atomic<std::uint64_t> compared = 0, differ = 0;
    const auto run = [&](std::uint32_t odd) {  // the patterns whose last bit is `odd`
      std::uint64_t c = 0, d = 0;
      for (std::uint64_t n = 0; n < (std::uint64_t{1} << 31); ++n) {
        const auto i = static_cast<std::uint32_t>(n << 1) | odd;
        if (!s.computes(i)) continue;
        const float x = std::bit_cast<float>(i);
        const std::uint32_t want = std::bit_cast<std::uint32_t>(s.sequence(x));
        for (const Entry e : s.entries) {
          ++c;
          if (std::bit_cast<std::uint32_t>(e(&x)) != want && ++d <= 3)
            std::printf("  differs at %a\n", static_cast<double>(x));
        }
      }
      compared += c, differ += d;
    };
    std::thread other(run, 1);
    run(0);
    other.join();
    std::printf("  %zu entries, %llu comparisons, %llu differ\n", s.entries.size(),
                static_cast<unsigned long long>(compared), static_cast<unsigned long long>(differ));
    EXPECT_EQ(differ, 0u);
  }
}

}  // namespace
