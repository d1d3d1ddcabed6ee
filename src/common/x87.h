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

// FSIN: sin(x) for |x| < 2^63; larger x comes back unchanged (C2 set).
static inline long double fsin(long double x) {
  long double r;
  __asm__("fsin" : "=t"(r) : "0"(x));
  return r;
}

// FCOS: cos(x) for |x| < 2^63; larger x comes back unchanged (C2 set).
static inline long double fcos(long double x) {
  long double r;
  __asm__("fcos" : "=t"(r) : "0"(x));
  return r;
}

// FPATAN: atan(y / x) with the quadrant of (x, y), in [-pi, pi]; any y, x.
// Consumes both operands and leaves the result.
static inline long double fpatan(long double y, long double x) {
  long double r;
  __asm__("fpatan" : "=t"(r) : "0"(x), "u"(y) : "st(1)");
  return r;
}

// F2XM1: 2^x - 1 for -1 <= x <= 1; undefined outside.
static inline long double f2xm1(long double x) {
  long double r;
  __asm__("f2xm1" : "=t"(r) : "0"(x));
  return r;
}

// FYL2X: y * log2(x) for x > 0. Consumes both operands, leaves the product.
static inline long double fyl2x(long double y, long double x) {
  long double r;
  __asm__("fyl2x" : "=t"(r) : "0"(x), "u"(y) : "st(1)");
  return r;
}

// FSCALE: x * 2^trunc(n), exact while in range; n stays where it was.
static inline long double fscale(long double x, long double n) {
  long double r;
  __asm__("fscale" : "=t"(r) : "0"(x), "u"(n));
  return r;
}

// FRNDINT: x rounded to an integer under the current rounding control.
static inline long double frndint(long double x) {
  long double r;
  __asm__("frndint" : "=t"(r) : "0"(x));
  return r;
}

// FSQRT: the correctly rounded square root, x >= 0.
static inline long double fsqrt(long double x) {
  long double r;
  __asm__("fsqrt" : "=t"(r) : "0"(x));
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

// FLDL2E, FLDLN2, FLDLG2: log2(e), ln(2), log10(2) to the register's
// precision, rounded under the current rounding control.
static inline long double fldl2e() {
  long double r;
  __asm__("fldl2e" : "=t"(r));
  return r;
}

static inline long double fldln2() {
  long double r;
  __asm__("fldln2" : "=t"(r));
  return r;
}

static inline long double fldlg2() {
  long double r;
  __asm__("fldlg2" : "=t"(r));
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

}  // namespace vx::x87
