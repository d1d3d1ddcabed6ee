// The model intrinsics, MODULO, the floor helpers and MERGE, bit for bit. Real4/Real8: random
// patterns against frexp, ldexp, nextafter and floor, or +-1.f * 2^k where IEEE has no value;
// MODULO against MPFR's 64-bit steps. Real16 against MPFR. Then edge rows, errors 1393, 1396.
#include <gtest/gtest.h>
#include <mpfr.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <type_traits>

#include "support/checks.h"
#include "support/real16_checks.h"

namespace {

using namespace support;
using oracle::real16;
using std::optional;

template <class T>
using Bits = decltype(bits_of(T{}));
template <class T>
constexpr int kP = std::numeric_limits<T>::digits;  // 24, 53
template <class T>
constexpr int kBias = std::numeric_limits<T>::max_exponent - 1;  // 127, 1023

// An entry on copies of its arguments; call16 for a hidden result.
template <class R, class... P>
R call(R (*f)(const P *...), std::type_identity_t<P>... a) {
  return f(&a...);
}
template <class... P>
Real16 call16(Real16 *(*f)(Real16 *, const P *...), std::type_identity_t<P>... a) {
  Real16 r;
  EXPECT_EQ(f(&r, &a...), &r);
  return r;
}

// The bits a caller stores from the return register (i386: x87 quiets a signalling NaN).
template <class T>
std::int64_t returned(T v) {
  auto b = bits_of(v);
#if defined(__i386__)
  if (v != v) b |= Bits<T>{1} << (kP<T> - 2);
#endif
  return static_cast<std::int64_t>(b);
}
template <class T>
optional<std::int64_t> ret(const optional<T> &v) {
  return v ? optional<std::int64_t>(returned(*v)) : std::nullopt;
}

// Exponent field 0, 1, 2, any, the top two finite or all ones; fraction 0, 1, ones, top, any.
template <class T>
T draw(Sampler &s) {
  using U = Bits<T>;
  constexpr U kFraction = (U{1} << (kP<T> - 1)) - 1, kTop = 2 * kBias<T> + 1;
  const U fields[] = {0, 1, 2, U(1 + s.bits() % (kTop - 1)), kTop - 2, kTop - 1, kTop};
  const U fractions[] = {0, 1, kFraction, (kFraction >> 1) + 1, U(s.bits()) & kFraction};
  return std::bit_cast<T>(U(s.bits() & 1) << (8 * sizeof(T) - 1) |
                          fields[s.bits() % 7] << (kP<T> - 1) | fractions[s.bits() % 5]);
}
Real16 draw16(Real16Sampler &s) {
  const std::uint32_t fields[] = {0, 1, 2, 0x7ffd, 0x7ffe, 0x7fff};
  return s.with_exponent(s.below(3) == 0 ? fields[s.below(6)] : s.below32(0x8000));
}

template <class V>
std::string hex(const V &v) {
  unsigned char b[sizeof v];
  char t[3];
  std::string s;
  std::memcpy(b, &v, sizeof v);
  for (std::size_t k = sizeof v; k-- > 0; s += t) std::snprintf(t, sizeof t, "%02x", b[k]);
  return s;
}
// Failures per entry, the first three of each printed, the counts at the end.
struct Tally {
  std::map<std::string, int> failures;
  template <class X, class V>
  void check(const char *entry, const X &x, std::int32_t i, const V &got, const optional<V> &want) {
    if (want && std::memcmp(&got, &*want, sizeof got) != 0 && ++failures[entry] <= 3)
      ADD_FAILURE() << entry << "(" << hex(x) << ", " << i << ") = " << hex(got) << ", not "
                    << hex(*want);
  }
  ~Tally() {
    for (const auto &[entry, count] : failures) ADD_FAILURE() << entry << ": " << count;
  }
};

// EXPONENT: e of x = 0.m * 2^e, 0 for zero; subnormals and infinities/NaNs from the raw field.
template <class T>
int exponent_of(T x) {
  int e = 0;
  if (std::isnormal(x)) std::frexp(x, &e);
  if (x != 0 && !std::isnormal(x)) e = std::isfinite(x) ? 1 - kBias<T> : kBias<T> + 2;
  return e;
}
// +-1.f * 2^k with x's sign and stored fraction.
template <class T>
T with_fraction_of(T x, int k) {
  const auto f = bits_of(x) & ((Bits<T>{1} << (kP<T> - 1)) - 1);
  const long double m = std::ldexp(static_cast<long double>(f), 1 - kP<T>) + 1;
  return static_cast<T>(std::copysign(std::ldexp(m, k), static_cast<long double>(x)));
}
template <class T>
T fraction_of(T x) {
  int e;
  return std::isnormal(x) ? std::frexp(x, &e) : std::isfinite(x) ? x : with_fraction_of(x, -1);
}
// SCALE and SET_EXPONENT: x's 1.f * 2^(field - bias) for a field in 1 .. 2 bias, else no value.
template <class T>
optional<T> with_field(T x, long field) {
  if (field < 1 || field > 2 * kBias<T>) return std::nullopt;
  const int k = static_cast<int>(field) - kBias<T>;
  int e;
  return std::isnormal(x) ? std::ldexp(std::frexp(x, &e), k + 1) : with_fraction_of(x, k);
}
template <class T>
optional<T> nearest_of(T x, T s) {
  if (x != x || (std::isinf(x) && std::signbit(x) == std::signbit(s))) return std::nullopt;  // rows
  if (x == 0) return std::copysign(std::numeric_limits<T>::denorm_min(), s);
  return std::nextafter(x, std::copysign(std::numeric_limits<T>::infinity(), s));
}
// FLOOR: std::floor, but FLOOR(-0.0) is +0.0.
template <class T>
T floor_of(T x) {
  return x == 0 ? T(0) : std::floor(x);
}
float to_type(mpfr_srcptr v, float) { return mpfr_get_flt(v, MPFR_RNDN); }
double to_type(mpfr_srcptr v, double) { return mpfr_get_d(v, MPFR_RNDN); }
template <class T>
T modulo_of(T a, T p) {
  oracle::Big ea(static_cast<double>(a), {64}), ep(static_cast<double>(p), {64}),
      r(oracle::Precision{64});
  mpfr_div(r, ea, ep, MPFR_RNDN);
  mpfr_set_d(r, static_cast<double>(floor_of(to_type(r, T{}))), MPFR_RNDN);
  mpfr_mul(r, r, ep, MPFR_RNDN);
  mpfr_sub(r, ea, r, MPFR_RNDN);
  return to_type(r, T{});
}

template <class T>
struct Entries {
  std::int32_t (*expon)(const T *);
  std::int64_t (*jexpon)(const T *);
  T (*fract)(const T *), (*rrspa)(const T *), (*spaci)(const T *), (*floor)(const T *);
  T (*scale)(const T *, const std::int32_t *), (*stexp)(const T *, const std::int32_t *);
  T (*neare)(const T *, const T *), (*modulo)(const T *, const T *);
  T (*neare2)(const T *, const void *, const std::int32_t *);
};
const Entries<float> k4 = {g_expon, g_jexpon, g_fract, g_rrspa, g_spaci, ulx_gflo,
                           g_scale, g_stexp,  g_neare, g_modlr, g_neare2};
const Entries<double> k8 = {g_expond, g_jexpnd, g_fractd, g_rrspad, g_spacid, ulx_gfld,
                            g_scaled, g_stexpd, g_neared, g_modld,  g_neared2};

// Every other sample a MODULO: |A / P| log-uniform in 2^+-(p + 8), some multiples, any class.
template <class T>
void check_model(const Entries<T> &en) {
  Sampler s(kP<T>);
  Tally t;
  const T kTop = std::ldexp(T(1), kP<T> - 1), kMin = std::numeric_limits<T>::min();
  for (std::uint64_t n = 0; n < scaled(400000); ++n) {
    const T x = draw<T>(s), ax = std::fabs(x);
    const auto i = static_cast<std::int32_t>(s.bits() % (4 * kBias<T> + 9)) - 2 * kBias<T> - 4;
    T d = static_cast<T>(s.log_uniform_signed(1e-30, 1e30));  // a direction, now and then a NaN
    if (n % 16 == 0) d = std::copysign(std::numeric_limits<T>::quiet_NaN(), d);
    const int ex = exponent_of(x);
    int k;
    t.check<T, std::int64_t>("EXPONENT", x, 0, en.expon(&x), ex);
    t.check<T, std::int64_t>("EXPONENT*8", x, 0, en.jexpon(&x), ex);
    t.check("FRACTION", x, 0, returned(en.fract(&x)), ret<T>(fraction_of(x)));
    const T rr = std::isnormal(x)   ? std::ldexp(std::fabs(std::frexp(x, &k)), kP<T>)
                 : std::isfinite(x) ? kTop + ax / std::numeric_limits<T>::denorm_min()
                                    : std::fabs(with_fraction_of(x, kP<T> - 1));
    t.check("RRSPACING", x, 0, returned(en.rrspa(&x)), ret<T>(x == 0 ? x : rr));
    const T sp =
        std::ldexp(T(1), std::max(ex - kP<T>, std::numeric_limits<T>::min_exponent - kP<T>));
    t.check("SPACING", x, 0, returned(en.spaci(&x)), ret<T>(x == 0 ? kMin : sp));
    t.check("SCALE", x, i, returned(en.scale(&x, &i)),
            ret(x == 0 ? T(0) : with_field(x, long{ex} + i + kBias<T> - 1)));
    t.check("SET_EXPONENT", x, i, returned(en.stexp(&x, &i)),
            ret(x == 0 ? x : with_field(x, long{i} + kBias<T> - 1)));
    t.check("NEAREST", x, 0, returned(en.neare(&x, &d)), ret(nearest_of(x, d)));
    const std::int32_t code = sizeof(T) == 4 ? 10 : 9;  // s of the other type
    const auto other = std::conditional_t<sizeof(T) == 4, double, float>(d);
    t.check("NEAREST2", x, code, returned(en.neare2(&x, &other, &code)), ret(nearest_of(x, d)));
    const bool nan = x != x;
    const T fl = en.floor(&x);
    t.check("FLOOR", x, 0, nan ? std::signbit(fl) == std::signbit(x) && fl != fl : returned(fl),
            optional<std::int64_t>(nan ? 1 : returned(floor_of(x))));
    if (n % 2) continue;
    T a = draw<T>(s), p = draw<T>(s);
    if (n % 16) {
      p = static_cast<T>(s.log_uniform_signed(1e-20, 1e20));
      a = static_cast<T>(p * s.log_uniform_signed(std::exp2(-kP<T> - 8), std::exp2(kP<T> + 8)));
      if (n % 8 == 2) a = std::round(a / p) * p;
    }
    if (p == 0) continue;
    const T got = en.modulo(&a, &p), want = modulo_of(a, p);
    t.check<T, std::int64_t>("MODULO", a, 0, want != want ? got != got : returned(got),
                             want != want ? 1 : returned(want));
  }
}

TEST(Model, Real4) { check_model(k4); }
TEST(Model, Real8) { check_model(k8); }

bool word3_zero(const Real16 &x) { return (x.w[3] & 0x7fffffff) == 0; }
bool full_zero(const Real16 &x) { return word3_zero(x) && (x.w[0] | x.w[1] | x.w[2]) == 0; }

// v * 2^k rounded to the format, or nothing at its ends.
optional<Real16> scaled16(mpfr_srcptr v, long k) {
  oracle::Big r{oracle::Precision{256}};
  mpfr_mul_2si(r, v, k, MPFR_RNDN);
  const auto rounded = oracle::round_to_real16(r);
  return rounded.outcome == oracle::Outcome::value ? optional(rounded.bits) : std::nullopt;
}
// 2^t: normal, or below 2^-16382 the fraction bit of weight 2^t (2^-16494 at least).
Real16 power_of_two(long t) {
  if (t > -16383) return real16(static_cast<std::uint32_t>(t + 16383) << 16);
  const long k = std::max(t + 16494, 0L);
  return real16_of(false, 0, k >= 64 ? 1ull << (k - 64) : 0, k < 64 ? 1ull << k : 0);
}
// FLOOR exactly: +0 for every zero, x itself where it is integral.
Real16 floor16(const Real16 &x) {
  oracle::Big v{oracle::Precision{256}}, f{oracle::Precision{256}};
  oracle::set_real16(v, x);
  mpfr_floor(f, v);
  return mpfr_zero_p(f) ? real16(0) : mpfr_equal_p(f, v) ? x : oracle::round_to_real16(f).bits;
}

// Word-3 zeros over nonzero lower words: the rows. MODULO: A - FLOOR(A / P) * P through the
// reference's rounded operations, where none overflows or underflows.
TEST(Model, Real16) {
  Real16Sampler s(113);
  Tally t;
  int compared = 0;
  for (std::uint64_t n = 0; n < scaled(60000); ++n) {
    const Real16 x = draw16(s), d = s.with_exponent(1 + s.below32(0x7ffe));
    const auto i = static_cast<std::int32_t>(s.below(0x10000)) - 0x8000;
    const bool zero = full_zero(x), valued = !word3_zero(x);
    oracle::Big v{oracle::Precision{256}}, next{oracle::Precision{113}};
    oracle::set_real16(v, x);
    const std::int64_t e = valued ? mpfr_get_exp(v) : 0;
    const auto either = [&](optional<Real16> r) {
      return zero ? optional(x) : valued ? r : std::nullopt;
    };
    t.check<Real16, std::int64_t>("EXPONENT", x, 0, call(g_exponq, x), e);
    t.check<Real16, std::int64_t>("EXPONENT*8", x, 0, call(g_jexpnq, x), e);
    t.check("FRACTION", x, 0, call16(g_fractq, x),
            ((x.w[3] >> 16) & 0x7fff) == 0 ? optional(x) : scaled16(v, -e));
    mpfr_abs(v, v, MPFR_RNDN);
    t.check("RRSPACING", x, 0, call16(g_rrspaq, x), either(scaled16(v, 113 - e)));
    oracle::set_real16(v, x);
    t.check("SCALE", x, i, call16(g_scaleq, x, i), either(scaled16(v, i)));
    t.check("SET_EXPONENT", x, i, call16(g_stexpq, x, i), either(scaled16(v, i - e)));
    t.check("SPACING", x, 0, call16(g_spaciq, x),
            optional(zero     ? real16(0x00010000)
                     : valued ? power_of_two(e - 113)
                              : real16(0, 0, 0, 1)));
    mpfr_set(next, v, MPFR_RNDN);  // exact
    (d.w[3] & 0x80000000) ? mpfr_nextbelow(next) : mpfr_nextabove(next);
    const auto stepped = oracle::round_to_real16(next);
    const optional<Real16> near = zero ? optional(real16(d.w[3] & 0x80000000, 0, 0, 1))
                                  : valued && stepped.outcome == oracle::Outcome::value
                                      ? optional(stepped.bits)
                                      : std::nullopt;
    const std::int32_t c11 = 11;
    Real16 r2;
    g_neareq2(&r2, &x, &d, &c11);
    t.check("NEAREST", x, 0, call16(g_neareq, x, d), near);
    t.check("NEAREST2", x, 0, r2, near);
    t.check("FLOOR", x, 0, call16(ulx_gflq, x), optional(floor16(x)));
    if (n >= scaled(50000)) continue;
    const std::uint32_t ep = 0x3000 + s.below32(0x2000);
    const Real16 p = s.with_exponent(ep),
                 a = s.with_exponent(ep + s.below32(240) - 120 + (n % 8 == 0 ? 500 : 0));
    const auto q = oracle::reference(oracle::Op::div, a, p);
    const auto m = oracle::reference(oracle::Op::mul, floor16(q.bits), p);
    const auto want = oracle::reference(oracle::Op::sub, a, m.bits);
    if (q.outcome != oracle::Outcome::value || m.outcome != oracle::Outcome::value ||
        want.outcome != oracle::Outcome::value)
      continue;
    ++compared;
    t.check("MODULO", a, 0, call16(g_modlq, a, p), optional(want.bits));
  }
  EXPECT_GT(compared, 1000);
}

float f4(std::uint32_t b) { return std::bit_cast<float>(b); }
double f8(std::uint64_t b) { return std::bit_cast<double>(b); }
#define ROW(got, want) EXPECT_EQ(returned(got), returned(want)) << #got

TEST(Edges, Real4AndReal8) {
  const float inf = INFINITY, sub = f4(1);
  EXPECT_EQ(call(g_expon, 0.25f), -1);         // EXPONENT(0.25) is -1
  EXPECT_EQ(call(g_jexpon, 0.25f), -1);        // ... INTEGER*8: high word 0xffffffff
  EXPECT_EQ(call(g_expon, 1.0f), 1);           // EXPONENT(1.0) is 1
  EXPECT_EQ(call(g_expon, inf), 129);          // EXPONENT(+infinity) of Real4 is 129
  EXPECT_EQ(call(g_expon, -0.0f), 0);          // EXPONENT(-0.0) is 0
  EXPECT_EQ(call(g_expon, sub), -126);         // EXPONENT of the smallest Real4 subnormal is -126
  ROW(call(g_spaci, sub), sub);                // its SPACING is 2^-149
  ROW(call(g_fract, sub), sub);                // its FRACTION is itself
  ROW(call(g_fract, -6.0f), -0.75f);           // FRACTION(-6.0) is -0.75
  ROW(call(g_fract, inf), 0.5f);               // FRACTION of Real4 +infinity is 0.5
  ROW(call(g_rrspa, -3.0f), 12582912.0f);      // RRSPACING(-3.0) of Real4 is 12582912.0
  ROW(call(g_rrspa, -0.0f), -0.0f);            // RRSPACING(-0.0) is -0.0
  ROW(call(g_scale, -0.0f, 5), 0.0f);          // SCALE(-0.0, 5) of Real4 is +0.0
  ROW(call(g_scale, 3.0f, 2), 12.0f);          // SCALE(3.0, 2) is 12.0
  ROW(call(g_scale, 1.0f, 0x7fffffff), 0.5f);  // no range check: the field wraps in 32 bits
  ROW(call(g_stexp, 3.0f, 1), 1.5f);           // SET_EXPONENT(3.0, 1) is 1.5
  ROW(call(g_stexp, -0.0f, 4), -0.0f);         // SET_EXPONENT(-0.0, 4) is -0.0
  ROW(call(g_stexp, 1.0f, 200), f4(326u << 23));    // field 126 + 200 spills into the sign
  ROW(call(g_spaci, 1.0f), 0x1p-23f);               // SPACING(1.0) is 2^-23
  ROW(call(g_spacid, 1.0), 0x1p-52);                // ... 2^-52 (Real8)
  ROW(call(g_spacid, 0.0), 0x1p-1022);              // SPACING(0.0) of Real8 is 2^-1022
  ROW(call(g_neare, 1.0f, -2.0f), f4(0x3f7fffff));  // NEAREST(1.0, -2.0) of Real4 is 0x3f7fffff
  ROW(call(g_neare, -0.0f, 1.0f), sub);             // NEAREST(-0.0, 1.0) is 2^-149
  ROW(call(g_neare, inf, 1.0f), f4(0x7f800001));    // an infinity away from zero: a NaN pattern
  ROW(call(g_neare, f4(0xffc00005), 1.0f), f4(0xffc00004));  // a NaN x steps its pattern
  // g_neared stepping 0x3ff00000_ffffffff upward carries into the high word
  ROW(call(g_neared, f8(0x3ff00000ffffffff), 1.0), f8(0x3ff0000100000000));
  ROW(call(ulx_gflo, 16777215.0f), 16777215.0f);  // FLOOR(16777215.0) of Real4 (E = 23)
  ROW(call(ulx_gflo, -8388607.5f), -8388608.0f);  // FLOOR(-8388607.5) of Real4
  // MODULO(+-7.0, +-3.0) = 1.0, 2.0, -2.0, -1.0 and FLOOR(-0.5) = -1.0, FLOOR(-0.0) = +0.0,
  // FLOOR(-2.0) = -2.0, FLOOR(-2.5) = -3.0, FLOOR(2.5) = 2.0, in all three types.
  const double modulos[][3] = {{7, 3, 1}, {-7, 3, 2}, {7, -3, -2}, {-7, -3, -1}};
  const double floors[][2] = {{-0.5, -1}, {-0.0, 0}, {-2, -2}, {-2.5, -3}, {2.5, 2}};
  const auto q = [](double v) { return call16(g_qextd, v); };
  for (const auto &r : modulos) {
    ROW(call(g_modlr, float(r[0]), float(r[1])), float(r[2]));
    ROW(call(g_modld, r[0], r[1]), r[2]);
    EXPECT_TRUE(oracle::same_bits(call16(g_modlq, q(r[0]), q(r[1])), q(r[2]))) << r[0] << r[1];
  }
  for (const auto &r : floors) {
    ROW(call(ulx_gflo, float(r[0])), float(r[1]));
    ROW(call(ulx_gfld, r[0]), r[1]);
    EXPECT_TRUE(oracle::same_bits(call16(ulx_gflq, q(r[0])), q(r[1]))) << r[0];
  }
  // ulx_gflq of -1.0e-30 gives -1.0; of 1.0e40 gives x unchanged.
  EXPECT_TRUE(oracle::same_bits(call16(ulx_gflq, q(-1.0e-30)), q(-1)));
  EXPECT_TRUE(oracle::same_bits(call16(ulx_gflq, q(1.0e40)), q(1.0e40)));
  // g_neared2 steps toward minus for Real16 words 0x80000000, 0, 0, 1 and 8-byte 0x8..01.
  const double one = 1.0;
  const std::int32_t c10 = 10, c11 = 11;
  const Real16 s16 = real16(0x80000000, 0, 0, 1);
  const std::uint64_t s8 = 0x8000000000000001;
  EXPECT_EQ(g_neared2(&one, &s16, &c11), std::nextafter(1.0, 0.0));
  EXPECT_EQ(g_neared2(&one, &s8, &c10), std::nextafter(1.0, 0.0));
}

TEST(Edges, Real16) {
  const Real16 garbage = real16(0x80000000, 7, 8, 9), minus = real16(0xbfff0000);
  const struct {
    Real16 got, want;
  } rows[] = {
      {call16(g_fractq, real16(0xffff0000)), real16(0xbffe0000)},   // an infinity: 0.5, signed
      {call16(g_rrspaq, garbage), real16(0x406f0000, 7, 8, 9)},     // not zero by the full test
      {call16(g_scaleq, kMinusZero, 5), kMinusZero},                // SCALE(-0.0, 5) is -0.0
      {call16(g_scaleq, garbage, 3), real16(0xc0010000, 7, 8, 9)},  // e = 0: field 3 + 16382
      {call16(g_stexpq, garbage, 2), real16(0xc0000000, 7, 8, 9)},  // field 2 + 16382
      {call16(g_spaciq, kOne), real16(0x3f8f0000)},                 // SPACING(1.0) is 2^-112
      {call16(g_spaciq, real16(0x3ffe8000)), real16(0x3f8e0000)},   // SPACING(0.75) is 2^-113
      {call16(g_neareq, kLargest, kOne), kInf},                     // the largest up: the infinity
      {call16(g_neareq, kInf, kOne), real16(0x7fff0000, 0, 0, 1)},  // away from zero: a NaN
      {call16(g_neareq, real16(0x3fff0000, 0, 0, ~0u), kOne), real16(0x3fff0000, 0, 1, 0)},
      {call16(g_neareq, real16(0x00010000), minus), real16(0x0000ffff, ~0u, ~0u, ~0u)},
      {call16(g_neareq, real16(0, 0, 0, 1), minus), kZero},            // the smallest down: +0
      {call16(g_neareq, garbage, kOne), real16(0x80000000, 7, 8, 8)},  // a pattern, not a zero
      {call16(ulx_gflq, garbage), kZero},  // word 3 0x80000000: a negative zero, +0
  };
  for (const auto &r : rows) EXPECT_TRUE(oracle::same_bits(r.got, r.want)) << show(r.got);
  EXPECT_EQ(call(g_jexpnq, real16(0x3ffd0000)), -1);  // EXPONENT(0.25) is -1, INTEGER*8 too
}

// MERGE: any mask other than 0 selects TSOURCE, copied whole (NaN patterns too).
TEST(Merge, CopiesTheSelectedArgument) {
  const float t4 = f4(0x7fa00001), f4v = -2.0f;
  const double t8 = -0.0, f8v = f8(0x7ff0000000000123);
  const Complex32 tq = {real16(0x7fff0001, 2, 3, 4), real16(0x80000000, 5)}, fq = {};
  const Complex8 tc = {1.0f, f4(0xffc00007)}, fc = {};
  const Complex16 tz = {1.5, t8}, fz = {};
  for (const std::int32_t mask : {0, 1, 2, -1, INT32_MIN}) {
    const bool t = mask != 0;
    ROW(call(g_mrgr, t4, f4v, mask), t ? t4 : f4v);
    ROW(call(g_mrgd, t8, f8v, mask), t ? t8 : f8v);
    const auto copies = [&](auto fn, const auto &tv, const auto &fv) {
      std::remove_cvref_t<decltype(tv)> r;
      EXPECT_EQ(fn(&r, &tv, &fv, &mask), &r);
      EXPECT_EQ(std::memcmp(&r, t ? &tv : &fv, sizeof r), 0) << mask;
    };
    copies(g_mrgq, tq.re, fq.re);
    copies(g_cmrg, tc, fc);
    copies(g_dmrg, tz, fz);
    copies(g_qmrg, tq, fq);
  }
}

// `entry()` reports `number` once, no values, x in slot 1, and gives `want` under both
// infinity flags although the handler replaces slot 1 and answers 1.
template <class X, class R, class F>
void expect_report(std::int32_t number, const X &x, const R &want, F entry) {
  for (std::uint8_t flag : {0, 1}) {
    Recorder rec(flag);
    X seen{};
    rec.answer = [&](const Report &r, int index) {
      seen = r.slot_as<X>(1);
      replace(r, 1, X{});
      return index == 0 ? 1 : 0;
    };
    const R got = entry();
    ASSERT_EQ(rec.reports.size(), 1u) << number;
    EXPECT_EQ(rec.reports[0].number, number);
    EXPECT_EQ(rec.reports[0].value_count, 0);
    EXPECT_EQ(std::memcmp(&seen, &x, sizeof x), 0) << number << ": slot 1 holds x";
    EXPECT_EQ(std::memcmp(&got, &want, sizeof want), 0) << number << ", flag " << int{flag};
  }
}

TEST(Errors, ZeroDirectionOrZeroP) {
  // NEAREST(x, 0.0) reports 1393 and returns x; a Real16 -0 direction counts as zero.
  const float x4 = 1.5f, s4 = -0.0f, a4 = 5.0f;
  const double x8 = -2.5, s8 = 0.0, a8 = 5.0;
  const Real16 x16 = real16(0x40001234, 1, 2, 3), s16 = kMinusZero;
  const std::int32_t c9 = 9, c10 = 10, c11 = 11;
  Real16 r;
  expect_report(1393, x4, x4, [&] { return g_neare(&x4, &s4); });
  expect_report(1393, x4, x4, [&] { return g_neare2(&x4, &s4, &c9); });
  expect_report(1393, x8, x8, [&] { return g_neared(&x8, &s8); });
  expect_report(1393, x8, x8, [&] { return g_neared2(&x8, &s8, &c10); });
  expect_report(1393, x8, x8, [&] { return g_neared2(&x8, &s16, &c11); });
  expect_report(1393, x16, x16, [&] { return *g_neareq(&r, &x16, &s16); });
  expect_report(1393, x16, x16, [&] { return *g_neareq2(&r, &x16, &s16, &c11); });
  // MODULO(5.0, +-0.0) reports 1396 and returns 3.4028234663852886e+38 (Real4) or
  // 1.7976931348623157e+308 (Real8); g_modlq with P words 0x80000000, 0, 0, 1 reports 1396.
  for (const double p8 : {0.0, -0.0}) {
    const float p4 = static_cast<float>(p8);
    expect_report(1396, a4, f4(0x7f7fffff), [&] { return g_modlr(&a4, &p4); });
    expect_report(1396, a8, f8(0x7fefffffffffffff), [&] { return g_modld(&a8, &p8); });
  }
  const Real16 a16 = real16(0x40014000), p16 = real16(0x80000000, 0, 0, 1);
  expect_report(1396, a16, kLargest, [&] { return *g_modlq(&r, &a16, &p16); });
}

}  // namespace
