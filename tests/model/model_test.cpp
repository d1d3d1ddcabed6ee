// The numeric model intrinsics (EXPONENT, FRACTION, NEAREST, RRSPACING,
// SCALE, SET_EXPONENT, SPACING) bit for bit.
//
// Real4 and Real8: every entry over random patterns of every class against
// the model's values computed with frexp, ldexp and nextafter (exact here);
// where the model has no IEEE counterpart (subnormals taken as 1.f, the
// fields of infinities and NaNs) against the value +-1.f * 2^k built from
// x's fraction. Real16: against MPFR's exact values, exponents and 113-bit
// neighbours. Then the edge rows and NEAREST's error 1393.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/model_checks.h"
#include "support/family_table.h"

namespace {

using namespace model_test;
using oracle::real16;
using std::optional;
using support::bits_of;
using support::real16_of;
using support::Sampler;

// ---- Real4 and Real8: the model from frexp, ldexp, nextafter -------------

// One call: x, an integer i, a direction s.
template <class T>
struct Case {
  T x;
  std::int32_t i = 0;
  T s = 1;
};

// EXPONENT: 0 for a zero; the exponent of x as 0.m * 2^e for a normal x;
// a subnormal gives the field's 0 - (bias - 1), an infinity or NaN the
// field's all ones - (bias - 1).
template <class T>
int model_exponent(T x) {
  int e = 0;
  switch (std::fpclassify(x)) {
    case FP_ZERO:
      return 0;
    case FP_SUBNORMAL:
      return std::numeric_limits<T>::min_exponent - 1;
    case FP_NORMAL:
      std::frexp(x, &e);
      return e;
    default:
      return std::numeric_limits<T>::max_exponent + 1;
  }
}

// +-1.f * 2^k with x's sign and stored fraction f, for the classes with no
// IEEE value of that shape.
template <class T>
T with_fraction_of(T x, int k) {
  const auto f = bits_of(x) & ((Bits<T>{1} << (kDigits<T> - 1)) - 1);
  const long double m = std::ldexp(static_cast<long double>(f), 1 - kDigits<T>) + 1;
  return static_cast<T>(std::copysign(std::ldexp(m, k), static_cast<long double>(x)));
}

// The new field of SCALE and SET_EXPONENT when it lies in 1 .. 2 * bias.
template <class T>
optional<int> in_range(long field) {
  if (field < 1 || field > kFieldMax<T> - 1) return std::nullopt;
  return static_cast<int>(field) - (std::numeric_limits<T>::max_exponent - 1);  // unbiased
}

template <class T>
struct Model {
  static optional<T> fraction(const Case<T> &c) {
    int e;
    if (std::isnormal(c.x)) return std::frexp(c.x, &e);
    if (std::isfinite(c.x)) return c.x;  // field 0: x itself
    return with_fraction_of(c.x, -1);
  }
  static optional<T> rrspacing(const Case<T> &c) {
    constexpr T kTop = T(Bits<T>{1} << (kDigits<T> - 1));  // 2^(p-1)
    int e;
    if (c.x == 0) return c.x;
    if (std::isnormal(c.x)) return std::ldexp(std::fabs(std::frexp(c.x, &e)), kDigits<T>);
    if (std::isfinite(c.x)) return kTop + std::fabs(c.x) / std::numeric_limits<T>::denorm_min();
    return std::fabs(with_fraction_of(c.x, kDigits<T> - 1));
  }
  static optional<T> scale(const Case<T> &c) {
    if (c.x == 0) return T(0);
    const auto k = in_range<T>(long{model_exponent(c.x)} + c.i + kFieldMax<T> / 2 - 1);
    if (!k) return std::nullopt;
    return std::isnormal(c.x) ? std::ldexp(c.x, c.i) : with_fraction_of(c.x, *k);
  }
  static optional<T> set_exponent(const Case<T> &c) {
    int e;
    if (c.x == 0) return c.x;
    const auto k = in_range<T>(long{c.i} + kFieldMax<T> / 2 - 1);
    if (!k) return std::nullopt;
    return std::isnormal(c.x) ? std::ldexp(std::frexp(c.x, &e), c.i) : with_fraction_of(c.x, *k);
  }
  static optional<T> spacing(const Case<T> &c) {
    if (c.x == 0) return std::numeric_limits<T>::min();
    const int smallest = std::numeric_limits<T>::min_exponent - kDigits<T>;  // -149, -1074
    return std::ldexp(T(1), std::max(model_exponent(c.x) - kDigits<T>, smallest));
  }
  // NaN x and infinities stepping away from zero leave the values: rows.
  static optional<T> nearest(const Case<T> &c) {
    const T toward = std::copysign(std::numeric_limits<T>::infinity(), c.s);
    if (c.x != c.x || (std::isinf(c.x) && std::signbit(c.x) == std::signbit(c.s)))
      return std::nullopt;
    if (c.x == 0) return std::copysign(std::numeric_limits<T>::denorm_min(), c.s);
    return std::nextafter(c.x, toward);
  }
};

// A row: the entry as a function of the case (its result's returned bits,
// or the integer) and the model's value.
template <class T>
struct Row {
  const char *name;
  std::int64_t (*got)(const Case<T> &);
  optional<std::int64_t> (*want)(const Case<T> &);
};

template <class T>
std::int64_t as_int(T v) {
  return static_cast<std::int64_t>(returned(v));
}
template <class T, optional<T> (*kFn)(const Case<T> &)>
optional<std::int64_t> model_bits(const Case<T> &c) {
  const auto v = kFn(c);
  return v ? optional<std::int64_t>(as_int(*v)) : std::nullopt;
}
template <class T>
optional<std::int64_t> model_exponent_of(const Case<T> &c) {
  return model_exponent(c.x);
}

// Direction arguments of the type-code forms, with s's sign.
float as_real4(double s) { return static_cast<float>(s); }
Real16 as_real16(double s) { return real16((std::signbit(s) ? 0x80000000 : 0) | 0x3fff1234, 5); }

using M4 = Model<float>;
using M8 = Model<double>;
using C4 = Case<float>;
using C8 = Case<double>;

// clang-format off
const Row<float> kRows4[] = {
  {"g_expon", [](const C4 &c) -> std::int64_t { return g_expon(&c.x); }, model_exponent_of<float>},
  {"g_jexpon", [](const C4 &c) { return g_jexpon(&c.x); }, model_exponent_of<float>},
  {"g_fract", [](const C4 &c) { return as_int(g_fract(&c.x)); }, model_bits<float, M4::fraction>},
  {"g_rrspa", [](const C4 &c) { return as_int(g_rrspa(&c.x)); }, model_bits<float, M4::rrspacing>},
  {"g_scale", [](const C4 &c) { return as_int(g_scale(&c.x, &c.i)); }, model_bits<float, M4::scale>},
  {"g_stexp", [](const C4 &c) { return as_int(g_stexp(&c.x, &c.i)); },
   model_bits<float, M4::set_exponent>},
  {"g_spaci", [](const C4 &c) { return as_int(g_spaci(&c.x)); }, model_bits<float, M4::spacing>},
  {"g_neare", [](const C4 &c) { return as_int(g_neare(&c.x, &c.s)); },
   model_bits<float, M4::nearest>},
  {"g_neare2_real4", [](const C4 &c) { const std::int32_t k = 9; return as_int(g_neare2(&c.x, &c.s, &k)); },
   model_bits<float, M4::nearest>},
  {"g_neare2_real8", [](const C4 &c) { const std::int32_t k = 10; const double s = c.s;
     return as_int(g_neare2(&c.x, &s, &k)); }, model_bits<float, M4::nearest>},
  {"g_neare2_real16", [](const C4 &c) { const std::int32_t k = 11; const Real16 s = as_real16(c.s);
     return as_int(g_neare2(&c.x, &s, &k)); }, model_bits<float, M4::nearest>},
};
const Row<double> kRows8[] = {
  {"g_expond", [](const C8 &c) -> std::int64_t { return g_expond(&c.x); }, model_exponent_of<double>},
  {"g_jexpnd", [](const C8 &c) { return g_jexpnd(&c.x); }, model_exponent_of<double>},
  {"g_fractd", [](const C8 &c) { return as_int(g_fractd(&c.x)); }, model_bits<double, M8::fraction>},
  {"g_rrspad", [](const C8 &c) { return as_int(g_rrspad(&c.x)); }, model_bits<double, M8::rrspacing>},
  {"g_scaled", [](const C8 &c) { return as_int(g_scaled(&c.x, &c.i)); }, model_bits<double, M8::scale>},
  {"g_stexpd", [](const C8 &c) { return as_int(g_stexpd(&c.x, &c.i)); },
   model_bits<double, M8::set_exponent>},
  {"g_spacid", [](const C8 &c) { return as_int(g_spacid(&c.x)); }, model_bits<double, M8::spacing>},
  {"g_neared", [](const C8 &c) { return as_int(g_neared(&c.x, &c.s)); },
   model_bits<double, M8::nearest>},
  {"g_neared2_real4", [](const C8 &c) { const std::int32_t k = 9; const float s = as_real4(c.s);
     return as_int(g_neared2(&c.x, &s, &k)); }, model_bits<double, M8::nearest>},
  {"g_neared2_real8", [](const C8 &c) { const std::int32_t k = 10; return as_int(g_neared2(&c.x, &c.s, &k)); },
   model_bits<double, M8::nearest>},
  {"g_neared2_real16", [](const C8 &c) { const std::int32_t k = 11; const Real16 s = as_real16(c.s);
     return as_int(g_neared2(&c.x, &s, &k)); }, model_bits<double, M8::nearest>},
};
// clang-format on

// Random cases: x of every class, i around the whole exponent range, s
// nonzero with either sign (now and then a NaN, whose sign bit decides).
template <class T>
void check_random(const Row<T> &row) {
  Sampler s(std::hash<std::string>{}(row.name));
  int failures = 0, compared = 0;
  for (std::uint64_t n = 0; n < support::scaled(200000); ++n) {
    const auto span = static_cast<std::uint64_t>(2 * kFieldMax<T> + 9);
    Case<T> c{draw_pattern<T>(s), static_cast<std::int32_t>(s.bits() % span) - kFieldMax<T> - 4,
              static_cast<T>(s.log_uniform_signed(1e-30, 1e30))};
    if (n % 16 == 0) c.s = std::copysign(std::numeric_limits<T>::quiet_NaN(), c.s);
    const auto want = row.want(c);
    if (!want) continue;
    ++compared;
    const std::int64_t got = row.got(c);
    if (got != *want && ++failures <= 5)
      ADD_FAILURE() << row.name << "(" << std::hexfloat << c.x << ", " << c.i << ", " << c.s
                    << ") = " << std::hex << got << ", not " << *want;
  }
  EXPECT_GT(compared, 1000) << row.name;
}

class Model4 : public ::testing::TestWithParam<Row<float>> {};
TEST_P(Model4, MatchesTheModel) { check_random(GetParam()); }
INSTANTIATE_TEST_SUITE_P(Real4, Model4, ::testing::ValuesIn(kRows4), support::RowName{});

class Model8 : public ::testing::TestWithParam<Row<double>> {};
TEST_P(Model8, MatchesTheModel) { check_random(GetParam()); }
INSTANTIATE_TEST_SUITE_P(Real8, Model8, ::testing::ValuesIn(kRows8), support::RowName{});

// ---- Real16: MPFR ----------------------------------------------------------

struct Case16 {
  Real16 x;
  std::int32_t i = 0;
  Real16 s = real16(0x3fff0000);
};

bool word3_zero(const Real16 &x) { return (x.w[3] & 0x7fffffff) == 0; }
bool full_zero(const Real16 &x) { return word3_zero(x) && (x.w[0] | x.w[1] | x.w[2]) == 0; }
std::uint32_t sign16(const Real16 &x) { return x.w[3] & 0x80000000; }

// x's exact value and its exponent as 0.m * 2^e; x not a word-3 zero.
struct Exact16 {
  oracle::Big v{oracle::Precision{256}};
  long e;
  explicit Exact16(const Real16 &x) {
    oracle::set_real16(v, x);
    e = mpfr_get_exp(v);
  }
  // v * 2^k, which must be a Real16 with biased exponent 1 .. 0x7ffe.
  optional<Real16> times_power(long k) {
    oracle::Big r{oracle::Precision{256}};
    mpfr_mul_2si(r, v, k, MPFR_RNDN);
    const auto rounded = oracle::round_to_real16(r);
    if (rounded.outcome != oracle::Outcome::value) return std::nullopt;
    return rounded.bits;
  }
};

// 2^t in the format's bits: a normal power with biased exponent t + 16383,
// or below that the single fraction bit of weight 2^t (2^-16494 at least).
Real16 power_of_two(long t) {
  if (t > -16383) return real16(static_cast<std::uint32_t>(t + 16383) << 16);
  const long k = std::max(t + 16494, 0L);  // bit k of the 112 fraction bits
  return real16_of(false, 0, k >= 64 ? std::uint64_t{1} << (k - 64) : 0,
                   k < 64 ? std::uint64_t{1} << k : 0);
}

Real16 int_result(std::int64_t v) {
  const auto u = static_cast<std::uint64_t>(v);
  return real16(0, 0, static_cast<std::uint32_t>(u >> 32), static_cast<std::uint32_t>(u));
}

struct Row16 {
  const char *name;
  Real16 (*got)(const Case16 &);
  optional<Real16> (*want)(const Case16 &);
};

template <Real16 *(*kFn)(Real16 *, const Real16 *)>
Real16 unary16(const Case16 &c) {
  Real16 r;
  kFn(&r, &c.x);
  return r;
}
template <Real16 *(*kFn)(Real16 *, const Real16 *, const std::int32_t *)>
Real16 with_int16(const Case16 &c) {
  Real16 r;
  kFn(&r, &c.x, &c.i);
  return r;
}
template <std::int32_t kCode>
Real16 nearest16(const Case16 &c) {
  Real16 r;
  const std::int32_t code = kCode;
  if (code == 0) return *g_neareq(&r, &c.x, &c.s);
  const double d = sign16(c.s) ? -0.75 : 0.75;
  const float f = static_cast<float>(d);
  const void *s = code == 9    ? static_cast<const void *>(&f)
                  : code == 10 ? static_cast<const void *>(&d)
                               : static_cast<const void *>(&c.s);
  return *g_neareq2(&r, &c.x, s, &code);
}

optional<Real16> exponent16(const Case16 &c) {
  return int_result(word3_zero(c.x) ? 0 : Exact16(c.x).e);
}
// Word-3 zeros over nonzero lower words: rows (the value is 0, the bits are
// not).
optional<Real16> fraction16(const Case16 &c) {
  if (((c.x.w[3] >> 16) & 0x7fff) == 0) return c.x;
  Exact16 x(c.x);
  return x.times_power(-x.e);
}
optional<Real16> rrspacing16(const Case16 &c) {
  if (full_zero(c.x)) return c.x;
  if (word3_zero(c.x)) return std::nullopt;
  Exact16 x(c.x);
  mpfr_abs(x.v, x.v, MPFR_RNDN);
  return x.times_power(113 - x.e);
}
optional<Real16> scale16(const Case16 &c) {
  if (full_zero(c.x)) return c.x;
  if (word3_zero(c.x)) return std::nullopt;
  return Exact16(c.x).times_power(c.i);
}
optional<Real16> set_exponent16(const Case16 &c) {
  if (full_zero(c.x)) return c.x;
  if (word3_zero(c.x)) return std::nullopt;
  Exact16 x(c.x);
  return x.times_power(c.i - x.e);
}
optional<Real16> spacing16(const Case16 &c) {
  if (full_zero(c.x)) return real16(0x00010000);  // 2^-16382
  if (word3_zero(c.x)) return real16(0, 0, 0, 1);
  return power_of_two(Exact16(c.x).e - 113);
}
// The 113-bit neighbour toward s's sign; results at the ends (biased
// exponent 0 or 0x7fff) and word-3 zeros with nonzero lower words: rows.
optional<Real16> nearest16_model(const Case16 &c) {
  if (full_zero(c.x)) return real16(sign16(c.s), 0, 0, 1);
  if (word3_zero(c.x)) return std::nullopt;
  Exact16 x(c.x);
  oracle::Big n{oracle::Precision{113}};
  mpfr_set(n, x.v, MPFR_RNDN);  // exact
  sign16(c.s) ? mpfr_nextbelow(n) : mpfr_nextabove(n);
  const auto r = oracle::round_to_real16(n);
  if (r.outcome != oracle::Outcome::value) return std::nullopt;
  return r.bits;
}

// clang-format off
const Row16 kRows16[] = {
  {"g_exponq", [](const Case16 &c) { return int_result(g_exponq(&c.x)); }, exponent16},
  {"g_jexpnq", [](const Case16 &c) { return int_result(g_jexpnq(&c.x)); }, exponent16},
  {"g_fractq", unary16<g_fractq>, fraction16},
  {"g_rrspaq", unary16<g_rrspaq>, rrspacing16},
  {"g_scaleq", with_int16<g_scaleq>, scale16},
  {"g_stexpq", with_int16<g_stexpq>, set_exponent16},
  {"g_spaciq", unary16<g_spaciq>, spacing16},
  {"g_neareq", nearest16<0>, nearest16_model},
  {"g_neareq2_real4", nearest16<9>, nearest16_model},
  {"g_neareq2_real8", nearest16<10>, nearest16_model},
  {"g_neareq2_real16", nearest16<11>, nearest16_model},
};
// clang-format on

class Model16 : public ::testing::TestWithParam<Row16> {};
TEST_P(Model16, MatchesMpfr) {
  const Row16 &row = GetParam();
  support::Real16Sampler s(std::hash<std::string>{}(row.name));
  int failures = 0, compared = 0;
  for (std::uint64_t n = 0; n < support::scaled(50000); ++n) {
    const Case16 c{draw_real16(s), static_cast<std::int32_t>(s.below(0x10000)) - 0x8000,
                   s.with_exponent(1 + s.below32(0x7ffe))};
    const auto want = row.want(c);
    if (!want) continue;
    ++compared;
    const Real16 got = row.got(c);
    if (!oracle::same_bits(got, *want) && ++failures <= 5)
      ADD_FAILURE() << row.name << "(" << support::show(c.x) << ", " << c.i << ", "
                    << support::show(c.s) << ") = " << support::show(got) << ", not "
                    << support::show(*want);
  }
  EXPECT_GT(compared, 1000) << row.name;
}
INSTANTIATE_TEST_SUITE_P(Real16, Model16, ::testing::ValuesIn(kRows16), support::RowName{});

// ---- Edge rows -------------------------------------------------------------

template <class T>
T f(Bits<T> b) {
  return std::bit_cast<T>(b);
}
using F = std::uint32_t;
using D = std::uint64_t;

// Each row: an entry of the tables above, its case, the bits it must give.
template <class T>
struct Edge {
  const Row<T> &row;
  Case<T> c;
  std::int64_t want;
};

TEST(Edges, Real4AndReal8) {
  const auto &[expon, jexpon, fract, rrspa, scale, stexp, spaci, neare, n2_4, n2_8, n2_16] = kRows4;
  const auto &[expond, jexpnd, fractd, rrspad, scaled, stexpd, spacid, neared, nd2_4, nd2_8,
               nd2_16] = kRows8;
  const float sub = f<float>(1), inf = INFINITY;
  const std::vector<Edge<float>> rows4 = {
      {expon, {0.25f}, -1},   // EXPONENT(0.25) is -1
      {jexpon, {0.25f}, -1},  // ... also from the INTEGER*8 forms (high word 0xffffffff)
      {expon, {1.0f}, 1},     // EXPONENT(1.0) is 1
      {expon, {inf}, 129},    // EXPONENT(+infinity) of Real4 is 129
      {expon, {-0.0f}, 0},    // EXPONENT(-0.0) is 0
      {expon, {f<float>(0x7fc00001)}, 129},  // an infinity or NaN gives 129
      {expon, {sub}, -126},                  // EXPONENT of the smallest Real4 subnormal is -126
      {spaci, {sub}, 1},                     // its SPACING is 2^-149
      {fract, {sub}, 1},                     // its FRACTION is itself
      {fract, {-6.0f}, 0xbf400000},          // FRACTION(-6.0) is -0.75
      {fract, {inf}, 0x3f000000},            // FRACTION of Real4 +infinity is 0.5
      {fract, {f<float>(0xff800001)}, 0xbf000001},  // a NaN: a value in [0.5, 1)
      {rrspa, {-3.0f}, 0x4b400000},                 // RRSPACING(-3.0) of Real4 is 12582912.0
      {rrspa, {-0.0f}, 0x80000000},                 // RRSPACING(-0.0) is -0.0
      {rrspa, {f<float>(0x7f800003)}, 0x4b000003},  // 1.f times 2^(p-1), NaNs included
      {scale, {-0.0f, 5}, 0},                       // SCALE(-0.0, 5) of Real4 is +0.0
      {scale, {3.0f, 2}, 0x41400000},               // SCALE(3.0, 2) is 12.0
      {scale, {1.0f, 0x7fffffff}, 0x3f000000},      // no range check: 127 + (2^31 - 1) wraps
      {stexp, {3.0f, 1}, 0x3fc00000},               // SET_EXPONENT(3.0, 1) is 1.5
      {stexp, {-0.0f, 4}, 0x80000000},              // SET_EXPONENT(-0.0, 4) is -0.0
      {stexp, {1.0f, 200}, 326u << 23},             // field 126 + 200 spills into the sign bit
      {spaci, {1.0f}, 0x34000000},                  // SPACING(1.0) is 2^-23
      {spaci, {0.0f}, 0x00800000},                  // zero: 2^-126
      {spaci, {-inf}, 0x74000000},                  // an infinity gives 2^(129-24)
      {neare, {1.0f, 0, -2.0f}, 0x3f7fffff},        // NEAREST(1.0, -2.0) of Real4 is 0x3f7fffff
      {neare, {-0.0f, 0, 1.0f}, 1},                 // NEAREST(-0.0, 1.0) is 2^-149
      {neare, {0.0f, 0, -1.0f}, 0x80000001},  // a zero gives the smallest pattern with s's sign
      {neare, {f<float>(0x7f7fffff), 0, 1.0f}, 0x7f800000},  // largest toward plus: infinity
      {neare, {inf, 0, -1.0f}, 0x7f7fffff},  // infinity toward zero: the largest finite value
      {neare, {inf, 0, 1.0f}, as_int(f<float>(0x7f800001))},  // ... away from zero: a NaN
      {neare, {1.0f, 0, -NAN}, 0x3f7fffff},  // a NaN s gives the direction of its sign bit
      {neare, {f<float>(0xffc00005), 0, 1.0f}, 0xffc00004},  // a NaN x steps its pattern
  };
  const double subd = f<double>(1), infd = INFINITY;
  const std::vector<Edge<double>> rows8 = {
      {expond, {0.25}, -1},             // EXPONENT(0.25) is -1
      {jexpnd, {0.25}, -1},             // ... also from the INTEGER*8 forms
      {expond, {subd}, -1022},          // a subnormal Real8 gives -1022
      {expond, {-infd}, 1025},          // an infinity or NaN gives 1025
      {fractd, {-6.0}, as_int(-0.75)},  // FRACTION(-6.0) is -0.75
      {fractd, {f<double>(0x000fffff00000001)}, 0x000fffff00000001},  // field 0: x unchanged
      {rrspad, {-3.0}, as_int(6755399441055744.0)},                   // 1.5 * 2^52
      {scaled, {-0.0, 5}, 0},                    // the sign of -0.0 is not kept
      {scaled, {subd, 1}, 0x0010000000000001},   // a subnormal is taken as 1.f
      {stexpd, {-0.0, 4}, as_int(-0.0)},         // SET_EXPONENT(-0.0, 4) is -0.0
      {spacid, {1.0}, as_int(0x1p-52)},          // SPACING(1.0) is 2^-52
      {spacid, {0.0}, 0x0010000000000000},       // SPACING(0.0) of Real8 is 2^-1022
      {spacid, {0x1p-1000}, as_int(0x1p-1052)},  // in the low word
      {spacid, {0x1p-980}, as_int(0x1p-1032)},   // in the high fraction word
      // g_neared stepping 0x3ff00000_ffffffff upward carries into the high word
      {neared, {f<double>(0x3ff00000ffffffff), 0, 1.0}, 0x3ff0000100000000},
  };
  for (const auto &e : rows4)
    EXPECT_EQ(e.row.got(e.c), e.want) << e.row.name << "(" << e.c.x << ", " << e.c.i << ")";
  for (const auto &e : rows8)
    EXPECT_EQ(e.row.got(e.c), e.want) << e.row.name << "(" << e.c.x << ", " << e.c.i << ")";
}

struct Edge16 {
  const Row16 &row;
  Case16 c;
  Real16 want;
};

TEST(Edges, Real16) {
  const auto &[expon, jexpon, fract, rrspa, scale, stexp, spaci, neare, n2_4, n2_8, n2_16] =
      kRows16;
  const Real16 one = real16(0x3fff0000), garbage = real16(0x80000000, 7, 8, 9);
  const Real16 plus = real16(0x3fff0000), minus = real16(0xbfff0000);
  const Edge16 rows[] = {
      {expon, {real16(0, 1)}, int_result(0)},                   // word 3 a zero pattern gives 0
      {jexpon, {real16(0x3ffd0000)}, int_result(-1)},           // EXPONENT(0.25) is -1
      {fract, {real16(0x0000abcd, 1)}, real16(0x0000abcd, 1)},  // field 0: x unchanged
      {fract, {real16(0xffff0000)}, real16(0xbffe0000)},        // an infinity: 0.5, signed
      {rrspa, {garbage}, real16(0x406f0000, 7, 8, 9)},          // not zero by the full test
      {rrspa, {real16(0x80000000)}, real16(0x80000000)},        // a zero: x
      {scale, {real16(0x80000000), 5}, real16(0x80000000)},     // SCALE(-0.0, 5) of Real16 is -0.0
      {scale, {garbage, 3}, real16(0xc0010000, 7, 8, 9)},       // e = 0: field 3 + 16382
      {stexp, {garbage, 2}, real16(0xc0000000, 7, 8, 9)},       // field 16383 + 1, sign kept
      {spaci, {one}, real16(0x3f8f0000)},                       // SPACING(1.0) is 2^-112
      {spaci, {real16(0x3ffe8000)}, real16(0x3f8e0000)},        // SPACING(0.75) of Real16 is 2^-113
      {spaci, {real16(0)}, real16(0x00010000)},                 // zero: 2^-16382
      {spaci, {garbage}, real16(0, 0, 0, 1)},  // word 3 zero, lower words not: 2^-16494
      {spaci, {real16(0x00370000)}, real16(0, 0, 0x00400000)},  // 2^(-16327 - 113): word 1
      {neare, {real16(0x7ffeffff, ~0u, ~0u, ~0u), 0, plus}, real16(0x7fff0000)},  // to infinity
      {neare, {real16(0xffff0000), 0, plus}, real16(0xfffeffff, ~0u, ~0u, ~0u)},  // toward zero
      {neare, {real16(0x7fff0000), 0, plus}, real16(0x7fff0000, 0, 0, 1)},        // away: a NaN
      {neare, {real16(0x3fff0000, 0, 0, ~0u), 0, plus}, real16(0x3fff0000, 0, 1, 0)},  // carry
      {neare, {real16(0x00010000), 0, minus}, real16(0x0000ffff, ~0u, ~0u, ~0u)},      // borrow
      {neare, {real16(0x80000000), 0, plus}, real16(0, 0, 0, 1)},  // -0 toward plus
      {neare, {real16(0, 0, 0, 1), 0, minus}, real16(0)},          // the smallest pattern down: +0
      {neare, {garbage, 0, plus}, real16(0x80000000, 7, 8, 8)},    // a pattern, not a zero
  };
  for (const Edge16 &e : rows)
    EXPECT_TRUE(oracle::same_bits(e.row.got(e.c), e.want))
        << e.row.name << "(" << support::show(e.c.x) << ", " << e.c.i
        << ") = " << support::show(e.row.got(e.c));
}

// g_neared2 with a Real16 direction: word 3 = 0x80000000 over zero words is
// zero (error 1393); with word 0 = 1 it is not, and steps toward minus.
TEST(Edges, TypeCodeDirections) {
  const double x = 1.0;
  const std::int32_t real16_code = 11, real8_code = 10;
  const Real16 minus_one_bit = real16(0x80000000, 0, 0, 1);
  EXPECT_EQ(g_neared2(&x, &minus_one_bit, &real16_code), std::nextafter(1.0, 0.0));
  // Two words, pattern test: high 0x80000000 over low 1 is not zero.
  const std::uint64_t tiny = 0x8000000000000001;
  EXPECT_EQ(g_neared2(&x, &tiny, &real8_code), std::nextafter(1.0, 0.0));
}

// ---- NEAREST with a zero direction: error 1393 -----------------------------

TEST(Errors, NearestZeroDirectionReturnsX) {
  const float x4 = 1.5f, s4 = -0.0f, r4 = 2.0f;
  const double x8 = -2.5, s8 = 0.0, r8 = 3.0;
  const Real16 x16 = real16(0x40001234, 1, 2, 3), s16 = real16(0x80000000),
               r16 = real16(0x3fff0000);
  const std::int32_t c9 = 9, c10 = 10, c11 = 11;
  constexpr std::int32_t kError = 1393;  // NEAREST with a zero direction: no values, x returned
  Real16 out;
  expect_fixed_report<float, float>(
      "g_neare", kError, x4, r4, [&] { return g_neare(&x4, &s4); }, x4);
  expect_fixed_report<float, float>(
      "g_neare2", kError, x4, r4, [&] { return g_neare2(&x4, &s4, &c9); }, x4);
  expect_fixed_report<double, double>(
      "g_neared", kError, x8, r8, [&] { return g_neared(&x8, &s8); }, x8);
  expect_fixed_report<double, double>(
      "g_neared2", kError, x8, r8, [&] { return g_neared2(&x8, &s8, &c10); }, x8);
  expect_fixed_report<Real16, Real16>(
      "g_neareq", kError, x16, r16, [&] { return *g_neareq(&out, &x16, &s16); }, x16);
  expect_fixed_report<Real16, Real16>(
      "g_neareq2", kError, x16, r16, [&] { return *g_neareq2(&out, &x16, &s16, &c11); }, x16);
  expect_fixed_report<double, double>(
      "g_neared2 (Real16 -0)", kError, x8, r8, [&] { return g_neared2(&x8, &s16, &c11); }, x8);
}

}  // namespace
