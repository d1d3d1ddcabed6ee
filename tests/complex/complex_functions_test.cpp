// The complex elementary functions against MPC at 320 bits: one table per
// type of rows (entry, oracle, regions, bound per part, special values bit
// for bit, error rows with both defaults, resumes). Bounds in ulps of the
// part's type at the exact value, plus the row's Term (the absolute error a
// rounded intermediate carries into the part):
//   Complex8 0.501: Real8 intermediates rounded to Real4.
//   g_cdabs 0.503, g_cdsqrt 0.505: five or eight register roundings, then Real8.
//   g_cdexp 2.2: sin y, cos y as Real8 and e^x in the register, doubled by the product.
//   g_cdsin, g_cdcos 4: FSIN/FCOS (0.52) and g_dsch (1.2), doubled likewise;
//     g_cdsinq, g_cdcosq 4.3: g_dscnq (0.7) and g_dschq (1.2).
//   Logarithms: the real part's rounding plus the modulus's (0.51 2^-52, 6 2^-64,
//     g_cqabs's 2.5 2^-112) carried by 1/m, the imaginary part g_datan2's 0.51;
//     g_cqlog 2: g_qlog's and g_qatan2's 2.
//   g_cqabs 2.5: five rounded Real16 steps; g_cqsqrt 3: that modulus halved by
//     the root, then the root, y/2 and the quotient.
//   g_cqexp, g_cqsin, g_cqcos, g_cqsinq, g_cqcosq 8.5: Real16 pairs within 2 ulp
//     each, doubled by the product, then its rounding.
// Terms: pi/2 of FSIN and FCOS (66 bits, |v| 2^-62) or of the Real16 reduction
// (|v| 2^-159), carried by e^x or cosh y; the quadrant pairs' rounded
// t = |y| pi/2 carried by t (2^-112 t cosh t for Real16), and a subnormal
// sin(x pi/2) rounded before cosh t multiplies it.
#include <gtest/gtest.h>
#include <mpc.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "support/checks.h"
#include "support/ieee_constants.h"
#include "support/real16_checks.h"

namespace {

using namespace support;

template <class C>
using Entry = C *(*)(C *, const C *);
using MpcFn = int (*)(mpc_ptr, mpc_srcptr, mpc_rnd_t);

constexpr Real16 negated(Real16 v) { return v.w[3] ^= kSign16, v; }

// Per part type: the complex type and type code; bit-for-bit equality (a
// NaN: any NaN); the error in ulps at the exact value (0 when got is it
// rounded, an overflow or underflow included) and the ulp there; and the
// arithmetic of the sine and cosine defaults: products in W (Real8, the x87
// register) rounded to T, negation, the pairs (sine first), r, H and D.
template <class T>
struct Kind {
  using C = std::conditional_t<sizeof(T) == 4, Complex8, Complex16>;
  using W = std::conditional_t<sizeof(T) == 4, double, long double>;
  static constexpr std::uint16_t code = sizeof(T) == 4 ? 9 : 10;
  static constexpr T nan = std::numeric_limits<T>::quiet_NaN(), one = 1, two = 2, half = 0.5;
  static constexpr T inf = std::numeric_limits<T>::infinity();
  static constexpr W r = kSqrtHalfD;
  static constexpr W H =
      sizeof(T) == 4 ? W{std::bit_cast<float>(0x7effffeeu)} : 0x1.fffffffffffb6p+1022;
  static constexpr W D =
      sizeof(T) == 4 ? W{std::bit_cast<float>(0x7f3504e6u)} : 0x1.6a09e667f3b99p+1023;
  static bool same(T got, T want) {
    return std::isnan(want) ? std::isnan(got) : bits_of(got) == bits_of(want);
  }
  static double error(T got, mpfr_srcptr e) {
    const T rounded =
        sizeof(T) == 4 ? mpfr_get_flt(e, MPFR_RNDN) : static_cast<T>(mpfr_get_d(e, MPFR_RNDN));
    return bits_of(got) == bits_of(rounded) ? 0 : oracle::ulp_error(got, e);
  }
  static double ulp(double v, mpfr_srcptr) { return ulp_of<T>(v); }
  static T mul(W a, W b) { return static_cast<T>(a * b); }
  static T neg(T v) { return -v; }
  static T inf_as(T v) { return std::copysign(inf, v); }
  static void pair(bool quadrant, bool hyperbolic, T v, T &s, T &c) {
    C p;
    if constexpr (sizeof(T) == 4) {
      (quadrant ? (hyperbolic ? g_scnhq : g_scnsq) : (hyperbolic ? g_scnh : g_scns))(&p, &v);
    } else {
      (quadrant ? (hyperbolic ? g_dschq : g_dscnq) : (hyperbolic ? g_dsch : g_dscn))(&p, &v);
    }
    s = p.re, c = p.im;
  }
};
// Real16: products by g_aqmq, negation by ulx_gqqc.
template <>
struct Kind<Real16> {
  using C = Complex32;
  using W = Real16;
  static constexpr std::uint16_t code = 11;
  static constexpr Real16 nan = kNaN, inf = kInf, one = kOne, two = real16(0x40000000),
                          half = real16(0x3ffe0000);
  static constexpr Real16 r = real16(0x3ffe6a09, 0xe667f3bc, 0xc908b2fb, 0x1366ea95);
  static constexpr Real16 H = real16(0x7ffdffff, ~0u, ~0u, ~0u);
  static constexpr Real16 D = real16(0x7ffe6a09, 0xe667f3bc, 0xc908b2fb, 0x1366ea94);
  static bool same(const Real16 &got, const Real16 &want) { return oracle::same_bits(got, want); }
  static double error(const Real16 &got, mpfr_srcptr e) { return oracle::ulp_error(got, e); }
  static double ulp(double, mpfr_srcptr e) {
    return std::ldexp(1.0, static_cast<int>(mpfr_get_exp(e)) - 113);
  }
  static Real16 mul(const Real16 &a, const Real16 &b) {
    Real16 r;
    return g_aqmq(&r, &a, &b), r;
  }
  static Real16 neg(Real16 v) { return ulx_gqqc(&v, v), v; }
  static Real16 inf_as(const Real16 &v) { return v.w[3] & kSign16 ? kMinusInf : kInf; }
  static void pair(bool quadrant, bool hyperbolic, Real16 v, Real16 &s, Real16 &c) {
    (quadrant ? (hyperbolic ? g_qpscnhq : g_qpscnq) : (hyperbolic ? g_qpscnh : g_qpscn))(&v, &s,
                                                                                         &c);
  }
};
template <class T>
using ComplexOf = typename Kind<T>::C;

// |z| + 0i.
int modulus(mpc_ptr out, mpc_srcptr z, mpc_rnd_t) {
  mpfr_set_zero(mpc_imagref(out), 1);
  return mpc_abs(mpc_realref(out), z, MPFR_RNDN);
}
// sin(z pi/2), cos(z pi/2), exact at the right angles: sinq x cosh(y pi/2)
// + cosq x sinh(y pi/2) i; cosq x cosh(y pi/2) - sinq x sinh(y pi/2) i.
template <bool kCosine>
int quadrant(mpc_ptr out, mpc_srcptr z, mpc_rnd_t) {
  const oracle::Precision p{oracle::kPrecision + 64};
  oracle::Big s(p), c(p), t(p), sh(p), ch(p);
  oracle::sinq(s, mpc_realref(z), MPFR_RNDN), oracle::cosq(c, mpc_realref(z), MPFR_RNDN);
  mpfr_const_pi(t, MPFR_RNDN);
  mpfr_mul(t, t, mpc_imagref(z), MPFR_RNDN);
  mpfr_div_2ui(t, t, 1, MPFR_RNDN);
  mpfr_sinh_cosh(sh, ch, t, MPFR_RNDN);
  mpfr_mul(mpc_realref(out), kCosine ? c : s, ch, MPFR_RNDN);
  mpfr_mul(mpc_imagref(out), kCosine ? s : c, sh, MPFR_RNDN);
  if (kCosine) mpfr_neg(mpc_imagref(out), mpc_imagref(out), MPFR_RNDN);
  return 0;
}
constexpr MpcFn sinq = quadrant<false>, cosq = quadrant<true>;

// The absolute error a rounded intermediate carries into a part (0 real,
// 1 imaginary) of magnitude v at z = x + yi.
using Term = double (*)(double x, double y, double v, int part);
// clang-format off
template <double kC>
double exp_y(double x, double y, double, int) { return std::exp(x) * std::fabs(y) * kC; }
template <double kC>
double cosh_x(double x, double y, double, int) { return std::cosh(y) * std::fabs(x) * kC; }
template <double kC> double log_m(double, double, double, int part) { return part ? 0 : kC; }
// clang-format on
double quadrant_t(double, double y, double v, int) {  // 2^-1074 for the subnormal's 2^-1075
  const double t = std::fabs(y) * 1.5707963267948966;
  return v * t * (0x1p-53 + 3.9e-17) + std::cosh(t) * 0x1p-1074;
}
double quadrant_t32(double, double y, double, int) {
  const double t = std::fabs(y) * 1.5707963267948966;
  return std::cosh(t) * t * 0x1p-112;
}

// The moduli as complex results |z| + 0i.
template <auto f, class C>
C *as_complex(C *r, const C *z) {
  return *r = {f(z), 0}, r;
}
Complex32 *cqabs(Complex32 *r, const Complex32 *z) { return r->im = kZero, g_cqabs(&r->re, z), r; }

// A part's magnitude log-uniform in [lo, hi) with a random sign; {0, 0}: a
// zero of either sign. Complex32: {{n, 0}, {m, 0}}, exponents within n
// binades of 1 for x and m for y (0: n).
struct Region {
  double lo, hi;
};
struct Regions {
  Region x, y;
};
constexpr Region kZeroPart = {0, 0}, kModerate = {1e-3, 1e3};
template <class T>
using L = std::numeric_limits<T>;
// clang-format off
template <class T> constexpr Region kAny = {L<T>::denorm_min(), L<T>::max()};
template <class T> constexpr Region kTiny = {L<T>::denorm_min(), L<T>::min() * 4};
template <class T> constexpr Region kHuge = {L<T>::max() / 16, L<T>::max()};
// clang-format on
template <class T>
T draw(Sampler &s, const Region &r) {
  const double m = r.hi == 0 ? 0 : std::exp(s.uniform(std::log(r.lo), std::log(r.hi)));
  const T v = static_cast<T>(std::fmin(m, r.hi));
  return s.bits() & 1 ? -v : v;
}
// Everywhere, near the axes and the cut, huge and tiny parts.
template <class T>
const std::vector<Regions> kEverywhere = {
    {kAny<T>, kAny<T>},   {kModerate, kZeroPart}, {kModerate, kTiny<T>}, {kZeroPart, kModerate},
    {kHuge<T>, kHuge<T>}, {kTiny<T>, kTiny<T>},   {kHuge<T>, kTiny<T>},  {{0.5, 2}, {1e-6, 1e-2}}};
// Exponentials: x up to the limit and deep below, y to its limit.
template <class T>
std::vector<Regions> exp_regions(double xmax, double ymax) {
  return {{{1e-3, 20}, {1e-3, 10}},        {kZeroPart, {1e-3, 1e3}},  {{1e-3, 20}, kZeroPart},
          {{xmax - 1, xmax}, {1e-3, 100}}, {{1, xmax}, {1e-3, ymax}}, {kTiny<T>, {1e-3, ymax}}};
}
// Sines and cosines inside the limits.
template <class T>
std::vector<Regions> sin_regions(double xmax, double ymax) {
  return {{{1e-3, 10}, {1e-3, 10}},      {{1e-3, xmax}, {1e-3, ymax}}, {kZeroPart, {1e-3, ymax}},
          {{1e-3, xmax}, kZeroPart},     {kTiny<T>, {1e-3, 30}},       {{1e-3, 30}, kTiny<T>},
          {{1e-3, 10}, {ymax / 2, ymax}}};
}

// f(z) is `want` bit for bit (a NaN part: any NaN), with the report `error`
// (0: none) under infinity flag 1.
template <class C>
struct Special {
  C z, want;
  std::int32_t error = 0;
};
// z refused with error `error`, reporting `value` (the part, with the type
// code of the part) or, for the logarithms (247 to 249), z in the slot and
// no values; the handler declines: `finite` under infinity flag 0, `ieee`
// under 1.
template <class C>
struct Fault {
  C z;
  std::int32_t error;
  decltype(C{}.re) value;
  C finite, ieee;
};
// The handler writes `parts` (or, for the logarithms, `zs`) into the slot in
// turn, reported as `errors`; the result is f(corrected).
template <class C>
struct Resume {
  C z;
  std::vector<decltype(C{}.re)> parts;
  std::vector<C> zs;
  std::vector<std::int32_t> errors;
  C corrected;
};
template <class C>
struct Errors {
  std::vector<Fault<C>> faults;
  std::vector<Resume<C>> resumes;
};
bool slot_holds_z(std::int32_t error) { return error >= 247 && error <= 249; }

// How the oracle sees the zero parts of z: with their signs, as +0 (g_datan2
// and the roots), or (g_cqlog) as +0 only where all four words are those of -0.
enum class Zeros { kept, plus, plus_if_minus_zero };
using enum Zeros;

template <class C>
struct Row {
  const char *name;
  Entry<C> fn;
  MpcFn f;
  std::vector<Regions> regions;
  double ulps;
  Term term = nullptr;
  Zeros zeros = kept;
  std::vector<Special<C>> specials = {};
  Errors<C> errors = {};
};

// A sine's or cosine's error rows, the defaults from the pairs of the part
// type at 1/2 (r, H and D of the kind); refused parts xbig and ybig.
template <class T>
Errors<ComplexOf<T>> sin_cos(bool cosine, bool quadrant, T xbig, T ybig, std::int32_t x_error,
                             std::int32_t y_error) {
  using C = ComplexOf<T>;
  using K = Kind<T>;
  const T nan = K::nan, half = K::half, minus_inf = K::neg(K::inf), mx = K::neg(xbig);
  const T d = static_cast<T>(K::D), minus_d = K::neg(d);
  T s, c, sh, ch;
  K::pair(quadrant, false, half, s, c), K::pair(quadrant, true, half, sh, ch);
  // x only: sin r ch + (r sh) i, cos r ch - (r sh) i.
  const C x_only = {K::mul(K::r, ch), cosine ? K::neg(K::mul(K::r, sh)) : K::mul(K::r, sh)};
  // y only: sin H s + (H c) i, cos H c - (H s) i, the imaginary part
  // negated for y < 0; +-infinity with the same signs under the flag.
  const C y_only =
      cosine ? C{K::mul(K::H, c), K::neg(K::mul(K::H, s))} : C{K::mul(K::H, s), K::mul(K::H, c)};
  const C y_inf = {K::inf_as(y_only.re), K::inf_as(y_only.im)};
  // Both: sin D + D i, -D for y < 0; cos D - D i for y > 0, D + D i otherwise.
  // clang-format off
  return {{{{xbig, ybig}, x_error, xbig, {d, cosine ? minus_d : d}, {nan, nan}},
           {{mx, K::neg(ybig)}, x_error, mx, {d, cosine ? d : minus_d}, {nan, nan}},
           {{xbig, half}, x_error, xbig, x_only, {nan, nan}},
           {{half, ybig}, y_error, ybig, y_only, y_inf},
           {{half, minus_inf}, y_error, minus_inf, {y_only.re, K::neg(y_only.im)},
            {y_inf.re, K::neg(y_inf.im)}}},
          // A replacement refused again reports again (x, then y once x passes).
          {{{xbig, ybig}, {mx, K::one, K::two}, {}, {x_error, x_error, y_error},
            {K::one, K::two}}}};
  // clang-format on
}

// f(z) is `want` bit for bit with the reports `errors` under infinity flag
// `flag`; `answer` sees each report while the handler runs (the argument
// slot lives in the reporting frame) and answers it (default: declines).
template <class C>
void expect_call(const char *name, Entry<C> fn, const C &z, const C &want,
                 std::vector<std::int32_t> errors, std::uint8_t flag = 1,
                 std::function<int(const Report &, int)> answer = nullptr) {
  using K = Kind<decltype(z.re)>;
  Recorder rec{flag};
  rec.answer = [&](const Report &r, int i) { return answer ? answer(r, i) : 0; };
  C got;
  fn(&got, &z);
  std::vector<std::int32_t> numbers;
  for (const Report &r : rec.reports) numbers.push_back(r.number);
  EXPECT_TRUE(K::same(got.re, want.re) && K::same(got.im, want.im) && numbers == errors)
      << name << " " << ::testing::PrintToString(z) << " = " << ::testing::PrintToString(got)
      << " with " << numbers.size() << " reports, flag " << int{flag};
}

struct ComplexFunctions : Real16Test {
  template <class C>
  void check(const Row<C> &row) {
    using T = decltype(C{}.re);
    using K = Kind<T>;
    {
      Recorder rec{1, 0, 0};  // no argument of the regions is refused
      oracle::WorstCase worst[2];
      Sampler sampler(std::hash<std::string>{}(row.name));
      for (const Regions &r : row.regions)
        for (std::uint64_t i = 0; i < scaled(sizeof(T) == 16 ? 10000 : 2000); ++i) {
          C z;
          if constexpr (sizeof(T) == 16) {  // zero patterns one time in six, not both
            const auto span = [&](double lo) { return static_cast<std::uint32_t>(lo); };
            const std::uint32_t spans[2] = {span(r.x.lo), span(r.y.lo == 0 ? r.x.lo : r.y.lo)};
            Real16 *parts[2] = {&z.re, &z.im};
            for (int k = 0; k < 2; ++k)
              *parts[k] = s.below(6) == 0 && (k == 0 || (z.re.w[3] & ~kSign16) != 0)
                              ? real16(s.bits() & kSign16, s.below32(3))
                              : s.with_exponent(0x3fff - spans[k] + s.below32(2 * spans[k]));
          } else {
            z = {draw<T>(sampler, r.x), draw<T>(sampler, r.y)};
          }
          measure(row, z, worst);
        }
      std::printf("%s: real %s; imaginary %s\n", row.name, worst[0].describe().c_str(),
                  worst[1].describe().c_str());
      EXPECT_TRUE(rec.reports.empty()) << row.name << " reported";
    }
    for (const Special<C> &p : row.specials)
      expect_call(row.name, row.fn, p.z, p.want,
                  p.error ? std::vector{p.error} : std::vector<std::int32_t>{});
    for (const Fault<C> &f : row.errors.faults)
      for (const std::uint8_t flag : {0, 1})
        expect_call(row.name, row.fn, f.z, flag ? f.ieee : f.finite, {f.error}, flag,
                    [&](const Report &r, int) {
                      const auto z = [&] { return r.slot_as<C>(1); };
                      EXPECT_TRUE(slot_holds_z(f.error)
                                      ? K::same(z().re, f.z.re) && K::same(z().im, f.z.im)
                                      : K::same(r.slot_as<T>(1), f.value) && r.value_count == 1 &&
                                            r.value_type[0] == K::code &&
                                            K::same(r.value_as<T>(0), f.value))
                          << row.name << ": the slot and the reported value";
                      return 0;
                    });
    for (const Resume<C> &e : row.errors.resumes) {
      C want;
      row.fn(&want, &e.corrected);
      expect_call(row.name, row.fn, e.z, want, e.errors, 1, [&](const Report &r, int i) {
        const auto k = static_cast<std::size_t>(i);
        k < e.parts.size() ? replace(r, 1, e.parts[k]) : replace(r, 1, e.zs.at(k));
        return 1;
      });
    }
  }

  // f(z) against the oracle at z, within the row's bound plus its term.
  template <class C>
  void measure(const Row<C> &row, const C &z, oracle::WorstCase *worst) {
    using T = decltype(C{}.re);
    C got;
    if (row.fn(&got, &z) != &got) fail(std::string(row.name) + " returns another address");
    mpc_t exact, w;
    mpc_init2(exact, oracle::kPrecision), mpc_init2(w, oracle::kPrecision);
    mpfr_ptr in[2] = {mpc_realref(w), mpc_imagref(w)};
    const T parts[2] = {z.re, z.im}, out[2] = {got.re, got.im};
    for (int i = 0; i < 2; ++i) {
      if constexpr (sizeof(T) == 16) {  // a zero pattern is a zero of its sign
        oracle::set_real16(in[i], parts[i]);
        if (mpfr_zero_p(in[i]) && (parts[i].w[3] & kSign16) &&
            !(row.zeros == plus_if_minus_zero && oracle::same_bits(parts[i], kMinusZero)))
          mpfr_set_zero(in[i], -1);
      } else {
        mpfr_set_d(in[i], parts[i], MPFR_RNDN);
      }
      if (row.zeros == plus && mpfr_zero_p(in[i])) mpfr_set_zero(in[i], 1);
    }
    const double x = mpfr_get_d(in[0], MPFR_RNDN), y = mpfr_get_d(in[1], MPFR_RNDN);
    row.f(exact, w, MPC_RNDNN);
    for (int i = 0; i < 2; ++i) {
      mpfr_srcptr e = i == 0 ? mpc_realref(exact) : mpc_imagref(exact);
      const double v = std::fabs(mpfr_get_d(e, MPFR_RNDN)), t = row.term ? row.term(x, y, v, i) : 0;
      const double carried = t == 0 ? 0 : t / Kind<T>::ulp(v, e);
      const double err = Kind<T>::error(out[i], e), bound = row.ulps + carried;
      worst[i].add(std::fmax(err - carried, 0), i ? y : x);
      if (!(err <= bound))
        fail(std::string(row.name) + ::testing::PrintToString(z) + (i ? " imaginary " : " real ") +
             std::to_string(err) + " ulp > " + std::to_string(bound));
    }
    mpc_clear(exact), mpc_clear(w);
  }
};

TEST_F(ComplexFunctions, Complex8) {
  const float fi = kInfF, fn = kNaNF, pi = 3.14159265f, D = static_cast<float>(Kind<float>::D);
  const Complex8 l3 = {static_cast<float>(double{kBigF} * std::cos(3.0)),
                       static_cast<float>(double{kBigF} * std::sin(3.0))};
  // clang-format off
  const Row<Complex8> rows[] = {
      // g_cabs of (3e38, 4e38) returns +infinity on rounding to Real4 (the
      // same modulus from Real4 parts).
      {"g_cabs", as_complex<g_cabs, Complex8>, modulus, kEverywhere<float>, 0.501, {}, kept,
          {{{2.4e38f, 3.2e38f}, {fi, 0}}}},
      // g_csqrt of -4 + 0i returns 0 + 2i and of -4 - 0i returns -0 + 2i;
      // 0 + 0i returns 0 + 0i without a division.
      {"g_csqrt", g_csqrt, mpc_sqrt, kEverywhere<float>, 0.501, {}, plus,
          {{{-4, 0}, {0, 2}}, {{-4, -0.0f}, {-0.0f, 2}}, {{-0.0f, -0.0f}, {0, 0}},
           {{fi, 1}, {fi, 0}}}},
      // g_cexp of 88.722 + 0i raises 232; with the flag clear it returns
      // 3.40282e38 + 0i (L c + L s i); with the flag +-infinity with the
      // sign of c (+ for c >= 0) and with the sign of s. g_cexp of 0 + 1e6 i
      // raises 233 and returns 1 + 0i with the flag clear. Both: D + D i.
      {"g_cexp", g_cexp, mpc_exp, exp_regions<float>(88.72, 822999), 0.501, exp_y<0x1p-62>, kept,
          {{{0, 0}, {1, 0}}, {{fn, 0}, {fn, fn}}},  // a NaN passes the limits
          {{{{88.722f, 0}, 232, 88.722f, {kBigF, 0}, {fi, fi}}, {{fi, 3}, 232, fi, l3, {-fi, fi}},
            {{0, 1e6f}, 233, 1e6f, {1, 0}, {fn, fn}}, {{100, -1e6f}, 232, 100, {D, D}, {fn, fn}},
            {{-2, -fi}, 233, -fi, {std::exp(-2.0f), 0}, {fn, fn}}},
           {{{100, 1e6f}, {90, 1, 2}, {}, {232, 232, 233}, {1, 2}}}}},
      // g_clog of 0 + 0i raises 247 (no values): -3.40282e38 + 0i, or
      // +infinity + NaN i with the flag; of -1 + 0i returns 0 + pi i, and
      // g_datan2 takes -0 as +0.
      {"g_clog", g_clog, mpc_log, kEverywhere<float>, 0.501, log_m<0.51 * 0x1p-52>, plus,
          {{{-1, 0}, {0, pi}}, {{-1, -0.0f}, {0, pi}}},
          {{{{-0.0f, 0}, 247, 0, {-kBigF, 0}, {fi, fn}}},
           {{{0, 0}, {}, {{-0.0f, 0}, {-1, 0}}, {247, 247}, {-1, 0}}}}},
      // g_csin of 1e6 + 100i (both refused) returns D + D i with the flag
      // clear; of 1e6 - 100i returns D - D i.
      {"g_csin", g_csin, mpc_sin, sin_regions<float>(822999, 89.41), 0.501, cosh_x<0x1p-62>,
          kept, {}, sin_cos<float>(false, false, 1e6f, 100, 205, 206)},
      // cos z = c ch - (s sh) i: cos 0 = 1 - 0i; quadrant units exact at
      // the right angles.
      {"g_ccos", g_ccos, mpc_cos, sin_regions<float>(822999, 89.41), 0.501, cosh_x<0x1p-62>,
          kept, {{{0, 0}, {1, -0.0f}}}, sin_cos<float>(true, false, 823000, 89.415f, 205, 206)},
      {"g_csinq", g_csinq, sinq, sin_regions<float>(523999, 56.91), 0.501, {}, kept, {},
          sin_cos<float>(false, true, 524000, 56.92f, 1407, 1408)},
      {"g_ccosq", g_ccosq, cosq, sin_regions<float>(523999, 56.91), 0.501, {}, kept,
          {{{1, 0}, {0, -0.0f}}}, sin_cos<float>(true, true, 1e7f, 60, 1407, 1408)},
  };
  // clang-format on
  for (const auto &row : rows) check(row);
}

TEST_F(ComplexFunctions, Complex16) {
  const double di = kInfD, dn = kNaND, pi = 3.141592653589793,
               D = static_cast<double>(Kind<double>::D);
  const Complex16 l2 = {kBigD * std::cos(2.0), kBigD * std::sin(2.0)};
  // clang-format off
  const Row<Complex16> rows[] = {
      // g_cdabs of (3e300, 4e300) returns 5e300 without overflow.
      {"g_cdabs", as_complex<g_cdabs, Complex16>, modulus, kEverywhere<double>, 0.503, {}, kept,
          {{{3e300, 4e300}, {5e300, 0}}, {{di, di}, {dn, 0}}}},  // inf/inf
      {"g_cdsqrt", g_cdsqrt, mpc_sqrt, kEverywhere<double>, 0.505, {}, plus,
          {{{-4, -0.0}, {-0.0, 2}}, {{-di, -1}, {0, -di}},
           {{-4, -1e-300}, {2.5e-301, -2}}}},  // v negated, u = (1/2 / v) y
      {"g_cdexp", g_cdexp, mpc_exp, exp_regions<double>(709.78, 3.5299e15), 2.2, exp_y<0x1p-62>,
          kept,
          {{{1, dn}, {dn, dn}}, {{-di, 0}, {dn, dn}}},  // e^x unchecked: -inf - (-inf) in F2XM1
          {{{{709.782, -0.0}, 234, 709.782, {kBigD, -0.0}, {di, -di}},
            {{1000, 2}, 234, 1000, l2, {-di, di}}, {{di, di}, 234, di, {D, D}, {dn, dn}},
            {{1, 3.53e15}, 235, 3.53e15, {std::exp(1.0), 0}, {dn, dn}}},
           {{{1, 4e15}, {5e15, 2}, {}, {235, 235}, {1, 2}}}}},
      {"g_cdlog", g_cdlog, mpc_log, kEverywhere<double>, 0.51, log_m<6 * 0x1p-64>, plus,
          {{{-1, -0.0}, {0, pi}}},
          {{{{0, -0.0}, 248, 0, {-kBigD, 0}, {di, dn}}},
           {{{0, 0}, {}, {{0, -0.0}, {0, 2}}, {248, 248}, {0, 2}}}}},
      {"g_cdsin", g_cdsin, mpc_sin, sin_regions<double>(3.5299e15, 710.47), 4, cosh_x<0x1p-62>,
          kept, {}, sin_cos<double>(false, false, 3.53e15, 710.4749755859375, 207, 208)},
      {"g_cdcos", g_cdcos, mpc_cos, sin_regions<double>(3.5299e15, 710.47), 4, cosh_x<0x1p-62>,
          kept, {{{0, -0.0}, {1, 0}}}, sin_cos<double>(true, false, 1e300, 800, 207, 208)},
      {"g_cdsinq", g_cdsinq, sinq, sin_regions<double>(2.2499e15, 452.29), 4.3, quadrant_t, kept,
          {{{2, 0}, {-0.0, -0.0}}},  // (-S(0), -C(0)) at k = 1
          sin_cos<double>(false, true, 2.25e15, 452.3, 1409, 1410)},
      {"g_cdcosq", g_cdcosq, cosq, sin_regions<double>(2.2499e15, 452.29), 4.3, quadrant_t, kept,
          {}, sin_cos<double>(true, true, 3e15, kInfD, 1409, 1410)},
  };
  // clang-format on
  for (const auto &row : rows) check(row);
}

// Complex32 regions in binades of 1: the modulus every exponent, the root
// 4000 and the logarithm 8000 (no step overflows, nor the angle), all 8;
// the exponential |x| below 2^9 (e^x a double), |y| 2^62; the sines |y|
// below 2^9 (2^8 in quadrant units: cosh t a double), |x| 2^62. Limits on
// the high words: the exponential's x (signed) from 0x400c62e4, |y| from
// 0x403e921f; the sines' |x| from 0x403e921f (0x403e0000 in quadrant
// units), |y| from 0x400c62e9 (11357.125) or 0x400bc3e2 (7232.125).
TEST_F(ComplexFunctions, Complex32) {
  using K = Kind<Real16>;
  const Real16 two = K::two, four = real16(0x40010000), minus_one = real16(0xbfff0000);
  const Real16 pi = real16(0x4000921f, 0xb54442d1, 0x8469898c, 0xc51701b8);  // rounded
  const Real16 limit_x = real16(0x400c62e4), limit_y = real16(0x403e921f), D = K::D;
  const Real16 below_x = real16(0x400c62e3, ~0u, ~0u, ~0u), big_x = real16(0x400c8000);
  Real16 s2, c2, e1, t, m;
  g_qpscn(&two, &s2, &c2);
  g_qexp(&e1, &kOne);
  // Equal high words take t = y/x: |x| sqrt(1 + t^2) in rounded Real16 steps.
  const Real16 hx = real16(0x3fff322c, 0x4b2c5f34, 0x8b9b8c3c, 0xb69054ec),
               hy = real16(0x3fff322c, 0x31dff4f5, 0x959fdedf, 0xf95fc8c9);
  g_aqdq(&t, &hy, &hx), g_aqmq(&m, &t, &t), g_aqaq(&t, &kOne, &m), g_qsqrt(&m, &t);
  g_aqmq(&t, &hx, &m);
  // clang-format off
  const Row<Complex32> rows[] = {
      {"g_cqabs", cqabs, modulus, {{{16382, 0}, {}}, {{8, 0}, {}}}, 2.5, {}, kept,
          {{{real16(0xc0008000), four}, {real16(0x40014000), kZero}},
           {{real16(kSign16, 7, 7, 7), real16(0, 1)}, {kZero, kZero}}, {{hx, hy}, {t, kZero}},
           // Beyond the largest finite Real16, the product's overflow (1397) stands.
           {{kLargest, kLargest}, {kInf, kZero}, 1397}}},
      // A part whose word 3 is exactly 0x80000000 becomes +0, so -4 - 0i
      // gives +0 + 2i; both high words zero give +0.
      {"g_cqsqrt", g_cqsqrt, mpc_sqrt, {{{4000, 0}, {}}, {{8, 0}, {}}}, 3, {}, plus,
          {{{real16(0xc0010000), real16(kSign16, 1, 2, 3)}, {kZero, two}},
           {{real16(kSign16, 5), kMinusZero}, {kZero, kZero}},
           {{real16(0x40008000), four}, {two, kOne}}}},  // 3 + 4i
      // L the largest finite Real16, D = L sqrt(2)/2; e^(x - 0i): the sign
      // bit of sin(-0) gives -infinity.
      {"g_cqexp", g_cqexp, mpc_exp, {{{9, 0}, {62, 0}}, {{4, 0}, {4, 0}}}, 8.5, exp_y<0x1p-159>,
          kept,
          {{{kZero, kZero}, {kOne, kZero}},
           {{kMinusInf, kOne}, {kZero, kZero}}},  // x < 0 passes: e^x = 0
          {{{{limit_x, kZero}, 236, limit_x, {kLargest, kZero}, {kInf, kInf}},
            {{kInf, kMinusZero}, 236, kInf, {kLargest, kZero}, {kInf, kMinusInf}},
            {{kNaN, two}, 236, kNaN, {K::mul(kLargest, c2), K::mul(kLargest, s2)},
             {kMinusInf, kInf}},
            {{kOne, negated(limit_y)}, 237, negated(limit_y), {e1, kZero}, {kNaN, kNaN}},
            {{big_x, kInf}, 236, big_x, {D, D}, {kNaN, kNaN}}},
           {{{kInf, kInf}, {limit_x, below_x, two}, {}, {236, 236, 237}, {below_x, two}}}}},
      // Products with a zero factor and ulx_gqqc's negation give +0: exact
      // at the right angles in quadrant units, cos 0 = 1 + 0i.
      {"g_cqsin", g_cqsin, mpc_sin, {{{62, 0}, {9, 0}}, {{4, 0}, {4, 0}}}, 8.5, cosh_x<0x1p-159>,
          kept, {}, sin_cos<Real16>(false, false, limit_y, real16(0x400c62e9), 209, 210)},
      {"g_cqcos", g_cqcos, mpc_cos, {{{62, 0}, {9, 0}}, {{4, 0}, {4, 0}}}, 8.5, cosh_x<0x1p-159>,
          kept, {{{kMinusZero, kMinusZero}, {kOne, kZero}}},
          sin_cos<Real16>(true, false, kInf, real16(0x40100000), 209, 210)},
      {"g_cqsinq", g_cqsinq, sinq, {{{62, 0}, {8, 0}}, {{4, 0}, {4, 0}}}, 8.5, quadrant_t32,
          kept, {{{kOne, kZero}, {kOne, kZero}}, {{two, kMinusZero}, {kZero, kZero}}},
          sin_cos<Real16>(false, true, real16(0x403e0000), real16(0x400bc3e2), 1411, 1412)},
      {"g_cqcosq", g_cqcosq, cosq, {{{62, 0}, {8, 0}}, {{4, 0}, {4, 0}}}, 8.5, quadrant_t32,
          kept, {{{kOne, kZero}, {kZero, kZero}}, {{two, kZero}, {negated(kOne), kZero}}},
          sin_cos<Real16>(true, true, real16(0x40700000), kInf, 1411, 1412)},
      // g_cqlog replaces a part that is -0 in all four words by +0: -1 - 0i
      // gives pi i, a sign with lower words set stays and gives -pi i. Of
      // zero: the negative largest finite value + 0i, or +infinity + NaN i;
      // both high words zero make the modulus zero.
      {"g_cqlog", g_cqlog, mpc_log, {{{8000, 0}, {}}, {{8, 0}, {}}}, 2, log_m<2.5 * 0x1p-112>,
          plus_if_minus_zero,
          {{{kOne, kZero}, {kZero, kZero}}, {{minus_one, kMinusZero}, {kZero, pi}},
           {{minus_one, real16(kSign16, 1)}, {kZero, negated(pi)}}},
          {{{{real16(kSign16, 0, 0, 1), real16(0, 5)}, 249, kZero, {negated(kLargest), kZero},
             {kInf, kNaN}}},
           {{{kZero, kZero}, {}, {{kMinusZero, kZero}, {minus_one, kZero}}, {249, 249},
             {minus_one, kZero}}}}},
  };
  // clang-format on
  for (const auto &row : rows) check(row);
}

}  // namespace
