// The processor features of cpu.h, read with CPUID and XGETBV.
#include "common/cpu.h"

#include <cpuid.h>
#include <immintrin.h>

#include "common/x87.h"
#include "elem/exp_log/exp_log_routes.h"
#include "elem/trig/x87_sin_cos.h"

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
bool x87_exp_log = x87_exp_log_probe();
bool fpatan_bound = probe_fpatan();

}  // namespace vx::cpu
