// Mathematical constants that several kernels share, and the rule by which
// the library writes its floating-point constants.
//
// The rule. A constant shows the bits it holds: a decimal that reads back
// to exactly those bits, with the bit pattern beside it, or a hex literal.
// The bits are those its kernel's results are made with, and stay so. A
// constant that stands for a known value (pi/2, log2(e)) but does not hold
// that value's nearest Real8 is written as its hex bits, with the decimal
// it was made from and its distance from the value beside it, so that it
// is not read for that value: log2e is 1.442695040888963, two units below
// log2(e), in erf.cpp and double_double.cpp, whose kernels were made with
// that decimal, and the nearest Real8 of log2(e) in sinh_cosh.cpp (kLog2e
// below). Fitted coefficients stand for no known value, a leading one near
// ln 10 or pi/2 included, and decimals visibly shorter than a Real8
// (0.9189385332 for ln sqrt(2 pi) in the Real4 gamma function) show that
// they are short: both are written as decimals.
#pragma once

#include "common/double_double.h"

namespace vx {

// pi/2 and pi as a head, the nearest Real8, and a tail, the nearest Real8
// to the rest. The tails 6.123233995736762e-17 and 1.2246467991473525e-16
// sometimes quoted read back three units low.
inline constexpr double kHalfPi = 1.5707963267948966;        // 0x3FF921FB54442D18
inline constexpr double kHalfPiLow = 6.123233995736766e-17;  // 0x3C91A62633145C07
inline constexpr double kPi = 3.141592653589793;             // 0x400921FB54442D18
inline constexpr double kPiLow = 1.2246467991473532e-16;     // 0x3CA1A62633145C07

// 2/pi, the nearest Real8. The 0.6366197723675813 sometimes quoted reads
// back one unit low.
inline constexpr double kTwoOverPi = 0.6366197723675814;  // 0x3FE45F306DC9C883

// log2(e) = 1/ln 2 as the nearest Real8 and the nearest Real8 to the rest.
// The 1.442695040888963 sometimes quoted reads back two units low.
inline constexpr DoubleDouble kLog2e = {
    1.4426950408889634,      // 0x3FF71547652B82FE
    2.0355273740931033e-17,  // 0x3C7777D0FFDA0D24
};

}  // namespace vx
