// Real16 logarithms: g_qlog (ln x), g_qlog2 (log2 x), g_qlog10 (log10 x).
//
// Method:
//   near 1 (word 3 from 0x3ffefff2 to below 0x3fff0006, 0.99989 <= x <
//   1.0000916): d = x - 1 (exact), s = d / (x + 1), z = s^2 and the series
//   2 atanh(s) = 2s + 2s^3/3 + ..., scaled to the base, written as
//   D + s (p - D) with D (1 - s) = 2s, 3s, s for D = d, 1.5 d, d/2, so
//   that the leading term is never rounded apart: p = z (f0 + f1 z + f2 z^2
//   + f3 z^3) for ln; for log2 and log10, p = f0 + f1 z + ... + f4 z^4 with
//   f0 = 2/ln 2 - 3 (2/ln 10 - 1) and fi = 2/((2i + 1) ln b).
//   elsewhere: x = m 2^n, m in [1, 2), M = m in Fixed128 at scale 1. For k
//   = 1 to 64, whenever M (1 + 2^-k) stays below 2, M is multiplied by
//   1 + 2^-k (M + M >> k) and log_b(1 + 2^-k) is taken from L, which starts
//   at log_b 2. The loop starts at k = 1 and compares the product with 2:
//   from k = 2 the factors multiply to about 1.6, too little for an m
//   below 1.25, and a test of the single bit of weight 2^-(k-1) of M skips
//   factors that would still fit. M ends within 2^-63 below 2, and the last
//   step adds ln(M/2) to first order, -(2 - M)/2 divided by ln b (the
//   neglected square is below 2^-128). L = log_b m is held at scale 0 (ln),
//   1 (log2, from log2 2 = 1) or -1 (log10), the tables at scale 0 shifted
//   to it. m = 1 gives L = 0. The result is n log_b 2 + L in Real16
//   arithmetic, except for n = -1: -(log_b 2 - L), the difference taken in
//   fixed point (exact, no cancellation).
//
// Special cases:
//   x zero (word 3 0 or 0x80000000): error 246, default the negative
//     largest finite Real16 (word 3 0xfffeffff), or _MInf_Q.
//   x negative: error 246, default the logarithm of |x|, or _NaN_Q.
//   x is reported as a value (type 11); a resume starts again with the slot.
//   The patterns with exponent 0x7fff are numbers (2^16384 m).
//
// Accuracy: near 1 within 1 ulp; elsewhere the roundings of n log_b 2, L
// and their sum, within 2 ulp where they cancel (x just below 1/2);
// real16_exp_log_test measures against MPFR.
#include <array>

#include "qelem/exp_log/exp_log.h"

namespace vx::qelem {
namespace {

using quad::Result16;

constexpr Real16 loge2 = q16(0x3ffe62e4, 0x2fefa39e, 0xf35793c7, 0x673007e6);   // ln 2
constexpr Real16 log102 = q16(0x3ffd3441, 0x3509f79f, 0xef311f12, 0xb35816f9);  // log10 2
constexpr Real16 oh = q16(0x3fff8000);                                          // 1.5

// The series near 1.
constexpr Real16 f_e[4] = {
    q16(0x3ffe5555, 0x55555555, 0x55555555, 0x55555555),  // 2/3
    q16(0x3ffd9999, 0x99999999, 0x99999999, 0x9999999a),  // 2/5
    q16(0x3ffd2492, 0x49249249, 0x24924924, 0x92492492),  // 2/7
    q16(0x3ffcc71c, 0x71c71c71, 0xc71c71c7, 0x1c71c71c),  // 2/9
};
constexpr Real16 f_2[5] = {
    q16(0xbffbd571, 0x35a8fa03, 0xd1105e00, 0x4be5b8b0),  // 2/ln 2 - 3 = -0.11460991822207318...
    q16(0x3ffeec70, 0x9dc3a03f, 0xd749fc15, 0x522bc2f9),  // 2/(3 ln 2) = 0.96179669392597555...
    q16(0x3ffe2776, 0xc50ef9bf, 0xe792ca73, 0x314d74fc),  // 2/(5 ln 2) = 0.57707801635558531...
    q16(0x3ffda617, 0x62a7aded, 0x93f645c9, 0x21dc5dfa),  // 2/(7 ln 2) = 0.41219858311113238...
    q16(0x3ffd484b, 0x13d7c02a, 0x8f86a80e, 0x36c7d750),  // 2/(9 ln 2) = 0.32059889797532520...
};
constexpr Real16 f_10[5] = {
    q16(0xbffc0d21, 0x3ab646bc, 0x73565522, 0xaa829661),  // 2/ln 10 - 1 = -0.13141103619349633...
    q16(0x3ffd287a, 0x7636f435, 0xecc6f1cf, 0x8e3f919a),  // 2/(3 ln 10) = 0.28952965460216789...
    q16(0x3ffc63c6, 0x2775250d, 0x8288555f, 0x777f7b86),  // 2/(5 ln 10) = 0.17371779276130072...
    q16(0x3ffbfc3f, 0xa615105c, 0x71550c3f, 0x3cff42c0),  // 2/(7 ln 10) = 0.12408413768664337...
    q16(0x3ffb8b4d, 0xf2f3f047, 0xe65e97bf, 0x6854c223),  // 2/(9 ln 10) = 0.09650988486738928...
};

enum class Base { e, two, ten };

// A 192-bit fixed-point word: the 128-bit word and 64 bits below it.
struct W192 {
  U128 hi;
  u64 lo;
};
constexpr W192 add192(W192 a, W192 b, w128::u32 &carry) {
  const u64 lo = a.lo + b.lo;
  return {w128::add_carry(a.hi, b.hi, lo < a.lo ? 1 : 0, carry), lo};
}
constexpr W192 sub192(W192 a, W192 b) {
  return {w128::sub(w128::sub(a.hi, b.hi), {0, a.lo < b.lo ? 1u : 0u}), a.lo - b.lo};
}
// floor(x / 2^k), 1 <= k <= 64.
constexpr W192 shr192(W192 x, unsigned k) {
  return {w128::shr(x.hi, k), k == 64 ? x.hi.lo : (x.lo >> k) | (x.hi.lo << (64 - k))};
}
constexpr W192 select192(bool c, W192 a, W192 b) {
  return {w128::select(c, a.hi, b.hi), c ? a.lo : b.lo};
}

// What the fixed-point loop needs of a base.
struct Fixed {
  std::int32_t scale;    // of L: 0, 1, -1
  U128 log_2;            // log_b 2 at that scale
  const U128 *table;     // log_b(1 + 2^-k) at scale 0, truncated to 128 bits
  const u64 *table_low;  // and the next 64 bits
  u64 gap;               // (2 - M)/2 / ln b in units of L, per unit of 2^192 - M, times 2^64
};
constexpr Fixed kFixed[3] = {
    {0, qlog_table::al[0], qlog_table::al, qlog_table::al_low, 0},
    {1, {u64{1} << 63, 0}, qlog_table::a2, qlog_table::a2_low, 0xb8aa3b295c17f0bb},  // log2(e)/2
    {-1, w128::shl(qlog_table::a10[0], 1), qlog_table::a10, qlog_table::a10_low,
     0xde5bd8a937287195},  // 2/ln 10
};

// Entry k at the base's scale, to 192 bits.
constexpr W192 entry(const Fixed &f, unsigned k) {
  const W192 e = {f.table[k], f.table_low[k]};
  if (f.scale > 0) return shr192(e, 1);
  if (f.scale < 0) return {w128::add(w128::shl(e.hi, 1), {0, e.lo >> 63}), e.lo << 1};
  return e;
}

// log_b m at the base's scale, rounded to 128 bits, for m in [1, 2) as
// format bits. M and L are carried to 192 bits: the 64 factors and table
// entries then lose below 2^-185 together, and a result near 1e-4 keeps its
// last bits.
// The base's entries 0..64 at its scale, to 192 bits.
template <Base kBase>
constexpr std::array<W192, 65> scaled_entries() {
  std::array<W192, 65> a{};
  for (unsigned k = 0; k < a.size(); ++k) a[k] = entry(kFixed[static_cast<int>(kBase)], k);
  return a;
}

template <Base kBase>
U128 log_of_significand(U128 m) {
  constexpr const Fixed &f = kFixed[static_cast<int>(kBase)];
  static constexpr std::array<W192, 65> kEntries = scaled_entries<kBase>();
  W192 big_m = {fixed::from_real16(1, m), 0};                // leading 1 at bit 191
  if (w128::is_zero(w128::shl(big_m.hi, 1))) return {0, 0};  // m = 1
  W192 l = {f.log_2, 0};
#pragma GCC unroll 64
  for (unsigned k = 1; k <= 64; ++k) {
    w128::u32 carry;
    const W192 next = add192(big_m, shr192(big_m, k), carry);
    big_m = select192(carry == 0, next, big_m);  // M (1 + 2^-k) still below 2
    l = select192(carry == 0, sub192(l, kEntries[k]), l);
  }
  // ln(M/2) to first order: -(2 - M)/2, that is -(2^192 - M) at scale 0;
  // 2 - M is below 2^-63, so its square is below L's last unit.
  const W192 g = sub192({{0, 0}, 0}, big_m);
  if (f.gap == 0) {
    l = sub192(l, g);
  } else {
    const w128::U256 c = w128::mul128x128({g.hi.lo, g.lo}, {0, f.gap});  // g below 2^128
    l = sub192(l, {c.hi, c.lo.hi});
  }
  return w128::add(l.hi, {0, l.lo >> 63});
}

Real16 near_one(const Real16 &x, Base base) {
  const Real16 d = sub(x, kOne);
  const Real16 s = div(d, add(x, kOne));
  const Real16 z = mul(s, s);
  Real16 big_d = d, p;
  if (base == Base::e) {
    p = mul(f_e[3], z);
    for (int i = 2; i >= 0; --i) p = mul(add(p, f_e[i]), z);
  } else {
    const Real16 *f = base == Base::two ? f_2 : f_10;
    big_d = base == Base::two ? mul(d, oh) : quad::is_zero(d) ? d : scaled(d, -1);
    p = f[4];
    for (int i = 3; i >= 0; --i) p = add(mul(p, z), f[i]);
  }
  return add(big_d, mul(s, sub(p, big_d)));
}

// log_b |x| for a nonzero x.
template <Base base>
U128 log_of_magnitude(Real16 x) {
  x.w[3] &= ~quad::kSignBit;
  if (x.w[3] >= 0x3ffefff2 && x.w[3] < 0x3fff0006) return quad::bits_of(near_one(x, base));
  const Fixed &f = kFixed[static_cast<int>(base)];
  const std::int32_t n = quad::exponent_of(x) - quad::kBias;
  const U128 b = quad::bits_of(x);
  const U128 l = log_of_significand<base>({(b.hi & 0xffffffffffff) | (u64{0x3fff} << 48), b.lo});
  if (n == -1) {  // -(log_b 2 - L), exactly before the rounding
    const U128 r = fixed::to_real16(f.scale, w128::sub(f.log_2, l));
    return {r.hi | (u64{1} << 63), r.lo};
  }
  const Real16 big_l = quad::real16_from_bits(fixed::to_real16(f.scale, l));
  if (n == 0) return quad::bits_of(big_l);
  const Real16 big_n = from_int(n);
  const Real16 head = base == Base::two ? big_n : mul(big_n, base == Base::e ? loge2 : log102);
  return quad::bits_of(add(head, big_l));
}

template <Base kBase>
Result16 logarithm(const Real16 &x) {
  if (quad::is_zero(x))  // error 246: -largest finite or -infinity
    return argument_error(err::kQlogDomain, quad::bits_of(negated(kOverflowQ)),
                          quad::bits_of(_MInf_Q));
  const U128 v = log_of_magnitude<kBase>(x);
  if (is_negative(x))  // error 246: log |x| or NaN
    return argument_error(err::kQlogDomain, v, quad::bits_of(_NaN_Q));
  return result(v);
}

}  // namespace
}  // namespace vx::qelem

Real16 *g_qlog(Real16 *result, const Real16 *x) {
  using namespace vx::qelem;
  return vx::quad::resume_and_store<vx::kFirstValue>(result, logarithm<Base::e>, *x);
}

Real16 *g_qlog2(Real16 *result, const Real16 *x) {
  using namespace vx::qelem;
  return vx::quad::resume_and_store<vx::kFirstValue>(result, logarithm<Base::two>, *x);
}

Real16 *g_qlog10(Real16 *result, const Real16 *x) {
  using namespace vx::qelem;
  return vx::quad::resume_and_store<vx::kFirstValue>(result, logarithm<Base::ten>, *x);
}
