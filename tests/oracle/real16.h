// Real16 and MPFR: the exact value of a Real16, the correctly rounded Real16
// of an MPFR number under the format's rules, and the reference results of
// the Real16 operators.
//
// The format's rules: a value is zero when word 3 is 0 or 0x80000000; the
// patterns with exponent 0x7fff are ordinary numbers (2^16384 * 1.f); a
// value rounded to 113 bits (to nearest, ties to even, with an unbounded
// exponent) whose biased exponent is 0 or less is an underflow and one of
// 0x7fff or more an overflow; every zero result is +0.
#pragma once

#include <vexmorg/vexmorg.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "oracle/oracle.h"

namespace oracle {

enum class Outcome { value, overflow, underflow, divide_by_zero };
struct Real16Result {
  Real16 bits{};  // +0 unless the outcome is a value
  Outcome outcome = Outcome::value;
};

// A Real16 from its words, most significant first.
constexpr Real16 real16(std::uint32_t w3, std::uint32_t w2 = 0, std::uint32_t w1 = 0,
                        std::uint32_t w0 = 0) {
  return Real16{{w0, w1, w2, w3}};
}
inline bool same_bits(const Real16 &a, const Real16 &b) { return std::memcmp(&a, &b, 16) == 0; }
std::string describe(const Real16 &x);  // "3fff0000'00000000'00000000'00000000 (1.00000000e+00)"

// The exact value of x into `out`, whose precision must be at least 113.
void set_real16(mpfr_ptr out, const Real16 &x);
// The exact value of x at kPrecision bits.
struct Exact : Big {
  explicit Exact(const Real16 &x) { set_real16(*this, x); }
};
// `v` rounded to 113 bits under the format's rules.
Real16Result round_to_real16(mpfr_srcptr v);

// |got - exact| in units in the last place of Real16 at the exact value:
// 2^(e - 112) for the binade 2^e of |exact| (of the smallest normal for an
// exact zero). A sign that differs from a nonzero exact value's counts as
// the distance through zero.
double ulp_error(const Real16 &got, mpfr_srcptr exact);

// The reference result of an operator (the root takes a alone), with its
// rules for zero operands: a zero passes the other operand of a sum or
// difference through bit for bit, a zero b of a difference first; a zero
// factor or dividend gives +0; a zero divisor is a division by zero; the
// root of a zero is +0 and of a negative x the root of |x|.
enum class Op { add, sub, mul, div, sqrt };
Real16Result reference(Op op, const Real16 &a, const Real16 &b);

}  // namespace oracle
