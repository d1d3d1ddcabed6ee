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
