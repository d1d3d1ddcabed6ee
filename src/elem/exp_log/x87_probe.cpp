// The load-time check of the processor's exponential and logarithm
// instructions against the model the SSE routes assume (cpu::x87_exp_log).
#include <cmath>
#include <cstdint>
#include <cstring>

#include "common/x87.h"
#include "elem/exp_log/exp_log_routes.h"

namespace vx {
namespace {

// The 64-bit significand of v.
std::uint64_t significand(long double v) {
  std::uint64_t m;
  std::memcpy(&m, &v, sizeof m);
  return m;
}

// got is want or one of its neighbours.
bool within_one_unit(long double got, long double want) {
  return got == want || got == std::nextafter(want, 0.0L) || got == std::nextafter(want, 2 * want);
}

// FLDL2E, FLDLN2, FLDLG2 the nearest 64-bit values to log2(e), ln 2 and
// log10(2); F2XM1 and FYL2X within one unit of the nearest 64-bit values to
// their results (from MPFR) at a few arguments, in the middle of the range
// and next to 1, where an evaluation in Real8 would be 2^11 units off.
// Opaque to the optimiser (noipa), so that it runs under the control word
// x87_exp_log_probe sets around it.
[[gnu::noipa]] bool x87_exp_log_agree() {
  struct Case {
    long double arg, want;
  };
  constexpr Case f2xm1[] = {{0x8p-5L, 0xc.1bf828c6dc54b7ap-6L},
                            {-0xf.ffffp-5L, -0x9.5f611c07a989a1fp-5L},
                            {0x8p-43L, 0xb.17217f7d20cf928p-44L},
                            {0xb.504f333f9de6484p-6L, 0x8.57befcf98072f88p-6L}};
  constexpr Case ln[] = {{3.0L, 0x8.c9f53d5681854bbp-3L},
                         {0x8.000000000002p-3L, 0xf.fffffffffffep-54L},
                         {0xb.8p-1003L, -0xa.d3231900c28cccbp+6L}};
  constexpr Case lg[] = {{3.0L, 0xf.4493cb27eafe847p-5L},
                         {0x8.000000000002p-3L, 0xd.e5bd8a9372855cap-55L},
                         {0xf.ffff8p+997L, 0x9.6aa5f0ac2705384p+5L}};
  bool ok = significand(x87::fldl2e()) == 0xB8AA3B295C17F0BC &&
            significand(x87::fldln2()) == 0xB17217F7D1CF79AC &&
            significand(x87::fldlg2()) == 0x9A209A84FBCFF799;
  for (const Case &c : f2xm1) ok = ok && within_one_unit(x87::f2xm1(c.arg), c.want);
  for (const Case &c : ln) ok = ok && within_one_unit(x87::fyl2x(x87::fldln2(), c.arg), c.want);
  for (const Case &c : lg) ok = ok && within_one_unit(x87::fyl2x(x87::fldlg2(), c.arg), c.want);
  return ok;
}

}  // namespace

// x87_exp_log_agree under the 64-bit significand and round to nearest that
// the library works in, the caller's control word restored after.
bool x87_exp_log_probe() {
  const std::uint16_t cw = x87::control_word();
  x87::set_control_word(static_cast<std::uint16_t>((cw & ~0x0f00) | 0x0300));
  const bool ok = x87_exp_log_agree();
  x87::set_control_word(cw);
  return ok;
}

}  // namespace vx
