// The processor features of cpu.h, read with CPUID and XGETBV.
#include "common/cpu.h"

#include <cpuid.h>
#include <immintrin.h>

#include "common/x87.h"
#include "elem/exp_log/exp_log_routes.h"
#include "elem/inverse_trig/atan_route.h"
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

}  // namespace

bool fma = detect_fma();
bool avx512 = detect_avx512();
bool x87_sin_cos = fma && x87_sin_cos_probe();
bool x87_exp_log = x87_exp_log_probe();
bool x87_atan = x87_atan_probe();

}  // namespace vx::cpu
