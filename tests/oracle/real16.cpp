#include "oracle/real16.h"

#include <cmath>

#include "support/mpz_words.h"

namespace oracle {
namespace {

constexpr std::uint32_t kSign = 0x80000000;
constexpr long kBias = 16383;

bool zero_pattern(const Real16 &x) { return (x.w[3] & ~kSign) == 0; }

}  // namespace

std::string describe(const Real16 &x) {
  char text[96];
  mpfr_snprintf(text, sizeof text, "%08x'%08x'%08x'%08x (%.8Re)", x.w[3], x.w[2], x.w[1], x.w[0],
                Exact(x).get());
  return text;
}

void set_real16(mpfr_ptr out, const Real16 &x) {
  if (zero_pattern(x)) return mpfr_set_zero(out, 1);
  const support::Mpz z({std::uint64_t{(x.w[3] & 0xffff) | 0x10000} << 32 | x.w[2],
                        std::uint64_t{x.w[1]} << 32 | x.w[0]});
  mpfr_set_z_2exp(out, z.get(), static_cast<long>((x.w[3] >> 16) & 0x7fff) - kBias - 112,
                  MPFR_RNDN);
  if (x.w[3] & kSign) mpfr_neg(out, out, MPFR_RNDN);
}

Real16Result round_to_real16(mpfr_srcptr v) {
  Big r(Precision{113});
  mpfr_set(r, v, MPFR_RNDN);
  if (mpfr_zero_p(r)) return {};
  const long biased = mpfr_get_exp(r) - 1 + kBias;  // r = 1.f * 2^(exp - 1)
  if (biased <= 0 || biased >= 0x7fff)
    return {{}, biased <= 0 ? Outcome::underflow : Outcome::overflow};
  support::Mpz z;
  mpfr_get_z_2exp(z.get(), r);  // the 113-bit significand, signed
  mpz_abs(z.get(), z.get());
  const std::uint64_t high = support::word_of(z.get(), 1), low = support::word_of(z.get(), 0);
  return {real16((mpfr_signbit(r) ? kSign : 0) | static_cast<std::uint32_t>(biased) << 16 |
                     static_cast<std::uint32_t>(high >> 32 & 0xffff),
                 static_cast<std::uint32_t>(high), static_cast<std::uint32_t>(low >> 32),
                 static_cast<std::uint32_t>(low))};
}

double ulp_error(const Real16 &got, mpfr_srcptr exact) {
  Big d;
  set_real16(d, got);
  mpfr_sub(d, d, exact, MPFR_RNDN);
  const long e =
      mpfr_zero_p(exact) ? 1 - kBias : mpfr_get_exp(exact) - 1;  // |exact| in [2^e, 2^(e+1))
  mpfr_mul_2si(d, d, 112 - e, MPFR_RNDN);
  return std::fabs(mpfr_get_d(d, MPFR_RNDN));
}

Real16Result reference(Op op, const Real16 &a, const Real16 &b) {
  const bool za = zero_pattern(a), zb = zero_pattern(b);
  Real16 minus_b = b;
  minus_b.w[3] ^= kSign;
  if (op == Op::add && (za || zb)) return {za ? b : a};
  if (op == Op::sub && (za || zb)) return {zb ? a : minus_b};
  if (op == Op::div && zb) return {{}, Outcome::divide_by_zero};
  if (za || (op == Op::mul && zb)) return {};
  // Rounded once, to 113 bits: the exact sum of two operands far apart has
  // more bits than any fixed precision.
  Big x(Precision{113}), y(Precision{113}), r(Precision{113});
  set_real16(x, a);
  set_real16(y, op == Op::sub ? minus_b : b);
  if (op == Op::add || op == Op::sub) mpfr_add(r, x, y, MPFR_RNDN);
  if (op == Op::mul) mpfr_mul(r, x, y, MPFR_RNDN);
  if (op == Op::div) mpfr_div(r, x, y, MPFR_RNDN);
  if (op == Op::sqrt) mpfr_abs(x, x, MPFR_RNDN), mpfr_sqrt(r, x, MPFR_RNDN);
  return round_to_real16(r);
}

}  // namespace oracle
