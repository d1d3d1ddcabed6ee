// Complex to an integer power: g_acxi g_axxi g_azxi (INTEGER*4) and
// g_acxj g_axxj g_azxj (INTEGER*8), by binary exponentiation.
//
// Zero base: for the INTEGER*4 forms the modulus (g_cabs, g_cdabs, g_cqabs)
// is not above 0 (a NaN modulus too); for the INTEGER*8 forms both parts
// equal 0. Then n = 0 gives (1, 0), n > 0 gives (0, 0), n < 0 is error 273,
// 274, 276 / 1414, 275, 277 through signal_arith_exception, default
// (NaN, NaN) under the infinity flag, else (3.40282002e+38, 0),
// (1.7976931348623011e+308, 0) or (largest finite Real16, 0).
//
// INTEGER*4: n = 0, 1, 2 directly (n = 2 as ((a - b)(a + b), 2ab)); then,
// with m = |n|, the base is squared while m is even, the accumulator starts
// at it, and every further bit of m squares p and multiplies a set bit into
// the accumulator, low to high; squares (a a - b b, 2ab) and products in the
// register (Complex8, Complex16) or with g_azmz and the Real16 operators
// (Complex32). A negative n with a modulus of 1 or more takes (1, 0) / the
// power at the end; with a modulus below 1, (1, 0) / the base first; both
// divisions by g_axdx (Complex8 too: the Complex8 result is rounded once,
// at the end) or g_azdz.
//
// INTEGER*8: r = (1, 0), p the base or (1, 0) / the base for n < 0, then
// right to left over the 64 bits of |n|: r = r p for a set bit, p = p p
// before each further bit, every product and quotient the library's
// operator of the type (g_acmc g_acdc, g_axmx g_axdx, g_azmz g_azdz).
// g_axxj gives (1, 0) for the base (1, 0) and +-(1, 0) by the parity of n
// for (-1, 0), and (0, 0) at once for n below -2^32 when the modulus is at
// least 1.0000001652591795 (0x3ff000002c5c863b).
//
// Overflow and underflow of the register products are not reported; the
// Real16 operations report their own.
#include <cstdint>

#include "frame/ieee_constants.h"
#include "power/power.h"
#include "qelem/real16_ops.h"
#include "quad/real16.h"

namespace vx {
namespace {

using power::kOne32, power::kZero32, power::ld, power::parts_zero;

// ---- Complex8 and Complex16 in the register -----------------------------------

struct Reg {
  ld re, im;
};

Reg square(Reg a) { return {a.re * a.re - a.im * a.im, 2 * a.re * a.im}; }
Reg product(Reg a, Reg b) { return {a.re * b.re - a.im * b.im, a.im * b.re + a.re * b.im}; }

// (1, 0) / z by the Complex16 quotient.
Reg reciprocal(Reg z) {
  const Complex16 one{1, 0}, d{static_cast<double>(z.re), static_cast<double>(z.im)};
  Complex16 q;
  g_axdx(&q, &one, &d);
  return {q.re, q.im};
}

template <class C>
using Part = decltype(C::re);

template <class C>
C stored(Reg r) {
  return {static_cast<Part<C>>(r.re), static_cast<Part<C>>(r.im)};
}

template <class C>
C zero_base_default() {
  return {kOverflow<Part<C>>, 0};
}
template <class C>
C nan_default() {
  return {kNaN<Part<C>>, kNaN<Part<C>>};
}

double modulus(const Complex8 &z) { return g_cabs(&z); }
double modulus(const Complex16 &z) { return g_cdabs(&z); }

template <class C>
Attempt<C> power_i(C z, std::int32_t n) {
  const double mod = modulus(z);
  if (!(mod > 0)) {
    if (n == 0) return result(C{1, 0});
    if (n > 0) return result(C{0, 0});
    return arith_exception(sizeof(C) == 8 ? err::kAcxiZero : err::kAxxiZero, zero_base_default<C>(),
                           nan_default<C>());
  }
  if (n == 0) return result(C{1, 0});
  if (n == 1) return result(z);
  const Reg x{z.re, z.im};
  if (n == 2) return result(stored<C>({(x.re - x.im) * (x.re + x.im), 2 * x.re * x.im}));
  const bool large = mod >= 1;
  Reg p = n < 0 && !large ? reciprocal(x) : x;
  std::uint32_t m = power::magnitude(n);
  while ((m & 1) == 0) m >>= 1, p = square(p);
  Reg r = p;
  for (m >>= 1; m != 0; m >>= 1) {
    p = square(p);
    if (m & 1) r = product(r, p);
  }
  if (n < 0 && large) r = reciprocal(r);
  return result(stored<C>(r));
}

// ---- INTEGER*8: the library's operators -------------------------------------

template <class C>
using Op = void (*)(C *, const C *, const C *);

template <class C, class I>
C right_to_left(C z, I n, const C &one, Op<C> mul, Op<C> div) {
  C r = one, p = z;
  if (n < 0) div(&p, &one, &z);
  for (auto m = power::magnitude(n);;) {
    if (m & 1) mul(&r, &r, &p);
    m >>= 1;
    if (m == 0) return r;
    mul(&p, &p, &p);
  }
}

constexpr double kHugeModulus = 1.0000001652591795;  // 0x3FF000002C5C863B

Attempt<Complex8> power_cj(Complex8 z, std::int64_t n) {
  if (parts_zero(z)) {
    if (n >= 0) return result(n == 0 ? Complex8{1, 0} : Complex8{0, 0});
    return arith_exception(err::kAcxjZero, zero_base_default<Complex8>(), nan_default<Complex8>());
  }
  return result(right_to_left<Complex8>(z, n, {1, 0}, g_acmc, g_acdc));
}

Attempt<Complex16> power_xj(Complex16 z, std::int64_t n) {
  if (parts_zero(z)) {
    if (n >= 0) return result(n == 0 ? Complex16{1, 0} : Complex16{0, 0});
    return arith_exception(err::kAxxjZero, zero_base_default<Complex16>(),
                           nan_default<Complex16>());
  }
  if (z.im == 0 && z.re == 1) return result(Complex16{1, 0});
  if (z.im == 0 && z.re == -1) return result(Complex16{(n & 1) ? -1.0 : 1.0, 0});
  if (static_cast<std::int32_t>(static_cast<std::uint64_t>(n) >> 32) < -1 &&
      g_cdabs(&z) >= kHugeModulus)
    return result(Complex16{0, 0});
  return result(right_to_left<Complex16>(z, n, {1, 0}, g_axmx, g_axdx));
}

// ---- Complex32 ----------------------------------------------------------------

constexpr Complex32 default32{kOverflowQ, quad::kZero}, nan32{_NaN_Q, _NaN_Q};

using qelem::add, qelem::mul, qelem::sub;

// (a a - b b, 2ab), 2ab as ab + ab.
Complex32 square32(const Complex32 &z) {
  const Real16 ab = mul(z.re, z.im);
  return {sub(mul(z.re, z.re), mul(z.im, z.im)), add(ab, ab)};
}

Attempt<Complex32> power_zi(Complex32 z, std::int32_t n) {
  Real16 mod;
  g_cqabs(&mod, &z);
  if (quad::is_zero(mod)) {
    if (n >= 0) return result(n == 0 ? kOne32 : kZero32);
    return arith_exception(err::kAzxiZero, default32, nan32);
  }
  if (n == 0) return result(kOne32);
  if (n == 1) return result(z);
  if (n == 2) {
    const Real16 ab = mul(z.re, z.im);
    return result(Complex32{mul(sub(z.re, z.im), add(z.re, z.im)), add(ab, ab)});
  }
  const bool large = g_afge(&mod, &kOne32.re) != 0;
  Complex32 p = z;
  if (n < 0 && !large) g_azdz(&p, &kOne32, &z);
  std::uint32_t m = power::magnitude(n);
  while ((m & 1) == 0) m >>= 1, p = square32(p);
  Complex32 r = p;
  for (m >>= 1; m != 0; m >>= 1) {
    p = square32(p);
    if (m & 1) g_azmz(&r, &r, &p);
  }
  if (n < 0 && large) g_azdz(&r, &kOne32, &r);
  return result(r);
}

Attempt<Complex32> power_zj(Complex32 z, std::int64_t n) {
  if (parts_zero(z)) {
    if (n >= 0) return result(n == 0 ? kOne32 : kZero32);
    return arith_exception(err::kAzxjZero, default32, nan32);
  }
  return result(right_to_left<Complex32>(z, n, kOne32, g_azmz, g_azdz));
}

}  // namespace
}  // namespace vx

using vx::power::integer_power;

Complex8 *g_acxi(Complex8 *result, const Complex8 *x, const std::int32_t *n) {
  return vx::store_result(result, integer_power(vx::power_i<Complex8>, *x, *n));
}
Complex16 *g_axxi(Complex16 *result, const Complex16 *x, const std::int32_t *n) {
  return vx::store_result(result, integer_power(vx::power_i<Complex16>, *x, *n));
}
Complex32 *g_azxi(Complex32 *result, const Complex32 *x, const std::int32_t *n) {
  return vx::store_result(result, integer_power(vx::power_zi, *x, *n));
}
Complex8 *g_acxj(Complex8 *result, const Complex8 *x, const std::int64_t *n) {
  return vx::store_result(result, integer_power(vx::power_cj, *x, *n));
}
Complex16 *g_axxj(Complex16 *result, const Complex16 *x, const std::int64_t *n) {
  return vx::store_result(result, integer_power(vx::power_xj, *x, *n));
}
Complex32 *g_azxj(Complex32 *result, const Complex32 *x, const std::int64_t *n) {
  return vx::store_result(result, integer_power(vx::power_zj, *x, *n));
}
