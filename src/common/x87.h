// The x87 instructions the library uses, one inline wrapper each, on the
// 80-bit long double. Nothing else in the code base contains assembly.
//
// Each wrapper states the domain where the instruction computes its
// function; outside it the instruction's own behaviour applies. Results are
// rounded under the caller's precision and rounding control, which the
// runtime sets to a 64-bit significand and round to nearest.
#pragma once

#if !(defined(__i386__) || defined(__x86_64__)) || __LDBL_MANT_DIG__ != 64
#error "vexmorg needs an x86 compiler whose long double is the x87 80-bit format"
#endif

#include <cstdint>

namespace vx::x87 {

// The wrappers of the instructions that take the top of the stack and
// leave their result in its place, of those that consume the top two
// (x on top, y below) and leave one result, and of those that push a
// constant.
#define VX_X87_ON_TOP(name, mnemonic)             \
  static inline long double name(long double x) { \
    long double r;                                \
    __asm__(mnemonic : "=t"(r) : "0"(x));         \
    return r;                                     \
  }
#define VX_X87_ON_TWO(name, mnemonic)                            \
  static inline long double name(long double y, long double x) { \
    long double r;                                               \
    __asm__(mnemonic : "=t"(r) : "0"(x), "u"(y) : "st(1)");      \
    return r;                                                    \
  }
#define VX_X87_CONSTANT(name, mnemonic) \
  static inline long double name() {    \
    long double r;                      \
    __asm__(mnemonic : "=t"(r));        \
    return r;                           \
  }

// FSIN: sin(x) for |x| < 2^63; larger x comes back unchanged (C2 set).
VX_X87_ON_TOP(fsin, "fsin")
// FCOS: cos(x) for |x| < 2^63; larger x comes back unchanged (C2 set).
VX_X87_ON_TOP(fcos, "fcos")
// F2XM1: 2^x - 1 for -1 <= x <= 1; undefined outside.
VX_X87_ON_TOP(f2xm1, "f2xm1")
// FRNDINT: x rounded to an integer under the current rounding control.
VX_X87_ON_TOP(frndint, "frndint")
// FSQRT: the correctly rounded square root, x >= 0.
VX_X87_ON_TOP(fsqrt, "fsqrt")

// FLDL2E, FLDLN2, FLDLG2: log2(e), ln(2), log10(2) to the register's
// precision, rounded under the current rounding control.
VX_X87_CONSTANT(fldl2e, "fldl2e")
VX_X87_CONSTANT(fldln2, "fldln2")
VX_X87_CONSTANT(fldlg2, "fldlg2")

// FPATAN: atan(y / x) with the quadrant of (x, y), in [-pi, pi]; any y, x.
VX_X87_ON_TWO(fpatan, "fpatan")
// FYL2X: y * log2(x) for x > 0.
VX_X87_ON_TWO(fyl2x, "fyl2x")

#undef VX_X87_ON_TOP
#undef VX_X87_ON_TWO
#undef VX_X87_CONSTANT

// FSCALE: x * 2^trunc(n), exact while in range; n stays where it was.
static inline long double fscale(long double x, long double n) {
  long double r;
  __asm__("fscale" : "=t"(r) : "0"(x), "u"(n));
  return r;
}

// FLD m64: the Real8 at p, loaded from memory straight into the register.
// A plain *p may be read once into an integer or SSE register and passed
// on through a store and reload, which costs a store-forwarding delay.
static inline long double fld(const double *p) {
  long double r;
  __asm__("fldl %1" : "=t"(r) : "m"(*p));
  return r;
}

// FWAIT: delivers a pending unmasked floating-point exception here.
static inline void fwait() { __asm__ __volatile__("fwait" ::: "memory"); }

// FNSTCW: the control word (bits 8-9 precision, 10-11 rounding).
static inline std::uint16_t control_word() {
  std::uint16_t cw;
  __asm__ __volatile__("fnstcw %0" : "=m"(cw));
  return cw;
}

// FLDCW: loads the control word (for a load-time probe that needs the
// 64-bit significand and round to nearest, restoring the caller's after).
static inline void set_control_word(std::uint16_t cw) {
  __asm__ __volatile__("fldcw %0" ::"m"(cw) : "memory");
}

}  // namespace vx::x87
