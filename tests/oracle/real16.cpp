#include "oracle/real16.h"

#include <gmp.h>

namespace oracle {
namespace {

constexpr std::uint32_t kSign = 0x80000000;
constexpr long kBias = 16383;

bool zero_pattern(const Real16 &x) { return (x.w[3] & ~kSign) == 0; }

}  // namespace

bool same_bits(const Real16 &a, const Real16 &b) {
  return a.w[0] == b.w[0] && a.w[1] == b.w[1] && a.w[2] == b.w[2] && a.w[3] == b.w[3];
}

std::string describe(const Real16 &x) {
  char text[96];
  mpfr_snprintf(text, sizeof text, "%08x'%08x'%08x'%08x (%.8Re)", x.w[3], x.w[2], x.w[1], x.w[0],
                Exact(x).get());
  return text;
}

void set_real16(mpfr_ptr out, const Real16 &x) {
  if (zero_pattern(x)) return mpfr_set_zero(out, 1);
  const std::uint32_t words[4] = {x.w[0], x.w[1], x.w[2], (x.w[3] & 0xffff) | 0x10000};
  mpz_t z;
  mpz_init(z);
  mpz_import(z, 4, -1, sizeof words[0], 0, 0, words);
  mpfr_set_z_2exp(out, z, static_cast<long>((x.w[3] >> 16) & 0x7fff) - kBias - 112, MPFR_RNDN);
  mpz_clear(z);
  if (x.w[3] & kSign) mpfr_neg(out, out, MPFR_RNDN);
}

Real16Result round_to_real16(mpfr_srcptr v) {
  Real16Result out;
  if (mpfr_zero_p(v)) return out;
  Big r(Precision{113});
  mpfr_abs(r, v, MPFR_RNDN);
  const long biased = mpfr_get_exp(r) - 1 + kBias;  // r = 1.f * 2^(exp - 1)
  if (biased <= 0 || biased >= 0x7fff) {
    out.outcome = biased <= 0 ? Outcome::underflow : Outcome::overflow;
    return out;
  }
  mpfr_mul_2si(r, r, 113 - mpfr_get_exp(r),
               MPFR_RNDN);  // the significand, an integer
  mpz_t z;
  mpz_init(z);
  mpfr_get_z(z, r, MPFR_RNDZ);
  std::uint32_t w[4] = {0, 0, 0, 0};  // least significant first
  mpz_export(w, nullptr, -1, sizeof w[0], 0, 0, z);
  mpz_clear(z);
  const std::uint32_t sign = mpfr_sgn(v) < 0 ? kSign : 0;
  out.bits =
      real16(sign | (static_cast<std::uint32_t>(biased) << 16) | (w[3] & 0xffff), w[2], w[1], w[0]);
  return out;
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
