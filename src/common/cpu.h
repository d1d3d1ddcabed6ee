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

// The model of FSIN and FCOS (elem/trig/x87_sin_cos.h) usable: fma holds
// and the load-time probe finds the model and the instruction agreeing.
// Cleared by the tests alike.
extern bool x87_sin_cos;
// The processor's F2XM1 and FYL2X, and the constants FLDL2E, FLDLN2 and
// FLDLG2, as the SSE routes of the exponential and the logarithms model
// them (elem/exp_log/exp_route.h, log_route.h): checked at a few arguments
// when the library is loaded, so that an x87 whose results differ (an
// emulator's) keeps the instructions. Cleared by the tests alike.
extern bool x87_exp_log;
// FPATAN errs by less than one unit of its 64-bit significand, as the
// arc tangents' SSE routes assume (elem/inverse_trig/atan.cpp): a probe of
// six arguments finds each result within one unit of the correctly rounded
// value, which an instruction computed in Real8 (an emulator) misses.
extern bool fpatan_bound;

// The one switch of the entries that have a fused multiply-add route:
// kFmaRoute(args...) where `fma` holds, else kBaseline(args...). The two
// give the same results.
template <auto kFmaRoute, auto kBaseline, class... A>
[[gnu::always_inline]] inline auto fma_or_baseline(A... args) {
  return fma ? kFmaRoute(args...) : kBaseline(args...);
}

}  // namespace vx::cpu
