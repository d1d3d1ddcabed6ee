// The processor features of cpu.h, read with CPUID and XGETBV.
#include "common/cpu.h"

#include <cpuid.h>
#include <immintrin.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "common/x87.h"
#include "elem/trig/x87_sin_cos.h"
#include "common/x87.h"

namespace vx::cpu {
namespace {

[[gnu::target("xsave")]] bool detect_fma() {
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
  constexpr unsigned fma3 = 1u << 12, osxsave = 1u << 27, avx = 1u << 28;
  if ((ecx & (fma3 | osxsave | avx)) != (fma3 | osxsave | avx)) return false;
  return (_xgetbv(0) & 6) == 6;  // XMM and YMM state saved on context switches
}

[[gnu::target("xsave")]] bool detect_avx512() {
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (!detect_fma() || !__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx)) return false;
  constexpr unsigned avx512f = 1u << 16;
  return (ebx & avx512f) && (_xgetbv(0) & 0xe6) == 0xe6;  // opmask, ZMM upper halves, ZMM16-31
}

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
// detect_x87_exp_log sets around it.
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

// x87_exp_log_agree under the 64-bit significand and round to nearest that
// the library works in, the caller's control word restored after.
bool detect_x87_exp_log() {
  const std::uint16_t cw = x87::control_word();
  x87::set_control_word(static_cast<std::uint16_t>((cw & ~0x0f00) | 0x0300));
  const bool ok = x87_exp_log_agree();
  x87::set_control_word(cw);
  return ok;
}

// FPATAN(y, x) within one unit of the 64-bit significand of `rounded`,
// atan2(y, x) correctly rounded to 64 bits (MPFR), at the pi/4 and pi/2
// points, next to pi and in the third quadrant.
bool probe_fpatan() {
  struct Point {
    double y, x;
    long double rounded;
  };
  static constexpr Point kPoints[] = {
      {0x1p+0, 0x1p+0, 0xc.90fdaa22168c235p-4L},   {-0x1p+0, -0x1.8p+1, -0xb.4784afefac9e11p-2L},
      {0x1p-30, -0x1p+0, 0xc.90fdaa12168c235p-2L}, {0x1.8p+1, 0x1p-20, 0xc.90fd7f776be178ap-3L},
      {0x1p-1, 0x1p+0, 0xe.d63382b0dda7b45p-5L},   {-0x1.8p+10, 0x1p-3, -0xc.90d2ff776d7603bp-3L}};
  for (const Point &p : kPoints) {
    const long double f = x87::fpatan(p.y, p.x);
    const long double unit = __builtin_fabsl(p.rounded) * 0x1p-63L;  // at least one unit
    if (!(__builtin_fabsl(f - p.rounded) <= unit)) return false;
  }
  return true;
}

}  // namespace

bool fma = detect_fma();
bool avx512 = detect_avx512();
bool x87_sin_cos = fma && x87_sin_cos_probe();
bool x87_exp_log = detect_x87_exp_log();
bool fpatan_bound = probe_fpatan();

}  // namespace vx::cpu
