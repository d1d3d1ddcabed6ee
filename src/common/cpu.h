// What the processor offers beyond the baseline the library is built for
// (x87 and SSE2). Read once when the library is loaded.
//
// A kernel with a faster route on such a processor keeps its baseline
// route, and both give the same results: the feature buys speed only.
#pragma once

namespace vx::cpu {

// Fused multiply-add (FMA3) usable: the processor has it and the operating
// system saves the AVX register state. The tests clear it to run the
// baseline routes on the same machine.
extern bool fma;

// AVX-512F usable (with fma): the processor has it and the operating system
// saves the opmask and 512-bit register state. Cleared by the tests alike.
extern bool avx512;

// The x87 instructions the SSE routes model, each checked at a few
// arguments when the library is loaded, so that a unit whose results differ
// (another processor's, an emulator's) keeps the instructions. The tests
// clear them to run the instructions on the same machine.
//   x87_sin_cos  FSIN and FCOS as elem/trig/x87_sin_cos.h models them
//                (with fma)
//   x87_exp_log  FLDL2E, FLDLN2, FLDLG2, F2XM1 and FYL2X as
//                elem/exp_log/exp_route.h and log_route.h model them
//   x87_atan     FPATAN within one unit of its 64-bit significand, as
//                elem/inverse_trig/atan.cpp assumes
extern bool x87_sin_cos;
extern bool x87_exp_log;
extern bool x87_atan;

// The one switch of the entries that have a fused multiply-add route:
// kFmaRoute(args...) where `fma` holds, else kBaseline(args...). The two
// give the same results.
template <auto kFmaRoute, auto kBaseline, class... A>
[[gnu::always_inline]] inline auto fma_or_baseline(A... args) {
  return fma ? kFmaRoute(args...) : kBaseline(args...);
}

}  // namespace vx::cpu
