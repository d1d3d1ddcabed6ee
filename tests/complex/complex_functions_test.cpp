// The complex elementary functions against MPC at 320 bits: one table of
// rows (entry, oracle, argument regions, bound per part), rows of special
// values bit for bit, and the error rows with both defaults and a resume.
//
// Bounds: ulps of the part's type at the exact value, plus an absolute term
// that a rounded intermediate of the evaluation carries into the part:
//   Complex8, all 0.501: Real8 intermediates (errors near 2^-52 relative)
//     rounded to Real4; plus the terms below.
//   g_cdabs 0.503, g_cdsqrt 0.505: five or eight register roundings of
//     2^-64, then Real8.
//   g_cqabs 2.5: five rounded Real16 steps, about half an ulp each.
//   g_cqsqrt 3: the modulus (2.5) halved by the root, then the root, y/2
//     and the quotient, half an ulp each.
//   g_cdexp 2.2: sin y, cos y stored as Real8 (up to one ulp of the
//     result) and e^x in the register (0.35 ulp, doubled likewise); plus
//     |y| 2^-62 e^x, FSIN and FCOS's 66-bit pi (also for g_cexp).
//   Logarithms: the modulus rounded (Real8 before g_dlog: 0.51 2^-52;
//     register 6 2^-64) carried by 1/m; the imaginary part g_datan2's 0.51.
//   g_cdsin, g_cdcos 4: FSIN/FCOS rounded (0.52 ulp) and g_dsch (1.2), up
//     to twice that in ulps of the product; plus |x| 2^-62 cosh y (also for
//     the Complex8 forms).
//   g_cdsinq, g_cdcosq 4.3: g_dscnq (0.7) and g_dschq (1.2) likewise; plus
//     g_dschq's rounded t = |y| pi/2 carried by t, and a subnormal
//     sin(x pi/2) rounded before cosh t multiplies it.
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

template <class T>
using ComplexOf = std::conditional_t<sizeof(T) == 4, Complex8,
                                     std::conditional_t<sizeof(T) == 8, Complex16, Complex32>>;
template <class C>
using Entry = C *(*)(C *, const C *);
using MpcFn = int (*)(mpc_ptr, mpc_srcptr, mpc_rnd_t);

// ---- Arguments and errors ---------------------------------------------------

constexpr Real16 kPi = real16(0x4000921f, 0xb54442d1, 0x8469898c, 0xc51701b8);  // rounded
constexpr Real16 negated(Real16 v) {
  v.w[3] ^= kSign16;
  return v;
}
template <class T>  // type codes
constexpr std::uint16_t kCode = sizeof(T) == 4   ? 9
                                : sizeof(T) == 8 ? 10
                                                 : 11;
constexpr Real16 two_q = real16(0x40000000);
Real16 product(const Real16 &a, const Real16 &b) {  // g_aqmq
  Real16 r;
  g_aqmq(&r, &a, &b);
  return r;
}

// A part's magnitude log-uniform in [lo, hi) with a random sign; {0, 0}: a
// zero of either sign.
struct Region {
  double lo, hi;
};
struct Regions {
  Region x, y;
};
constexpr Region kZeroPart = {0, 0}, kModerate = {1e-3, 1e3};
template <class T>
constexpr Region kAny = {std::numeric_limits<T>::denorm_min(), std::numeric_limits<T>::max()};
template <class T>
constexpr Region kTiny = {std::numeric_limits<T>::denorm_min(), std::numeric_limits<T>::min() * 4};
template <class T>
constexpr Region kHuge = {std::numeric_limits<T>::max() / 16, std::numeric_limits<T>::max()};

template <class T>
T draw(Sampler &s, const Region &r) {
  const double m = r.hi == 0 ? 0 : std::exp(s.uniform(std::log(r.lo), std::log(r.hi)));
  const T v = static_cast<T>(std::fmin(m, r.hi));
  return s.bits() & 1 ? -v : v;
}

// |got - exact| in ulps at the exact value; 0 when got is the exact value
// rounded (an overflow or underflow of that rounding included).
template <class T>
double part_error(T got, mpfr_srcptr exact) {
  const T rounded = sizeof(T) == 4 ? mpfr_get_flt(exact, MPFR_RNDN)
                                   : static_cast<T>(mpfr_get_d(exact, MPFR_RNDN));
  return bits_of(got) == bits_of(rounded) ? 0 : oracle::ulp_error(got, exact);
}
double part_error(const Real16 &got, mpfr_srcptr exact) {
  if (mpfr_zero_p(exact)) return (got.w[3] & ~kSign16) == 0 ? 0 : INFINITY;
  oracle::Big diff;
  mpfr_sub(diff, oracle::Exact(got), exact, MPFR_RNDN);
  mpfr_abs(diff, diff, MPFR_RNDN);
  mpfr_mul_2si(diff, diff, 113 - mpfr_get_exp(exact), MPFR_RNDN);
  return mpfr_get_d(diff, MPFR_RNDU);
}

// ---- Oracles and bounds -----------------------------------------------------

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

// The absolute error a rounded intermediate carries into a part (0 real,
// 1 imaginary) of magnitude v at z = x + yi.
using Term = double (*)(double x, double y, double v, int part);
double exp_angle(double x, double y, double, int) { return std::exp(x) * std::fabs(y) * 0x1p-62; }
double sin_angle(double x, double y, double, int) { return std::cosh(y) * std::fabs(x) * 0x1p-62; }
double quadrant_t(double, double y, double v, int) {  // 2^-1074 for the subnormal's 2^-1075
  const double t = std::fabs(y) * 1.5707963267948966;
  return v * t * (0x1p-53 + 3.9e-17) + std::cosh(t) * 0x1p-1074;
}
double log_m8(double, double, double, int part) { return part ? 0 : 0.51 * 0x1p-52; }
double log_m16(double, double, double, int part) { return part ? 0 : 6 * 0x1p-64; }
// The Real16 radian reduction by pi/2 in two pieces (hpa exact in k hpa,
// hpb k rounded: k 2^-161, the pieces' own error k 2^-163, k < 0.64 |v|).
double exp_angle32(double x, double y, double, int) {
  return std::exp(x) * std::fabs(y) * 0x1p-159;
}
double sin_angle32(double x, double y, double, int) {
  return std::cosh(y) * std::fabs(x) * 0x1p-159;
}
// g_qpscnhq's t = |y| pi/2 rounded (with pi/2): 1.5 2^-113 relative, times cosh t.
double quadrant_t32(double, double y, double, int) {
  const double t = std::fabs(y) * 1.5707963267948966;
  return std::cosh(t) * t * 0x1p-112;
}
double log_m32(double, double, double, int part) {
  return part ? 0 : 2.5 * 0x1p-112;
}  // g_cqabs's 2.5 ulp

// The moduli as complex results |z| + 0i, for the table.
template <auto f, class C>
C *as_complex(C *r, const C *z) {
  *r = {f(z), 0};
  return r;
}
Complex32 *cqabs(Complex32 *r, const Complex32 *z) {
  r->im = kZero;
  g_cqabs(&r->re, z);
  return r;
}

// How the oracle sees the zero parts of z: with their signs, as +0, or
// (Complex32) as +0 only where all four words are those of -0.
enum class Zeros { kept, plus, plus_if_minus_zero };

template <class C>
struct Row {
  const char *name;
  Entry<C> fn;
  MpcFn f;
  std::vector<Regions> regions;  // Complex32: {{n, 0}, {}}, exponents within n binades of 1
  double ulps;
  Term term = nullptr;
  // g_datan2 and the Complex32 root take -0 as +0: the exact value is
  // that of z with its zero parts +0; g_cqlog does so for -0 itself only.
  Zeros zeros = Zeros::kept;
};

struct ComplexFunctions : Real16Test {
  template <class C>
  void run(const Row<C> &row) {
    using T = decltype(C{}.re);
    Recorder rec{1, 0, 0};  // no argument of the regions is refused
    oracle::WorstCase worst[2];
    Sampler sampler(std::hash<std::string>{}(row.name));
    for (const Regions &r : row.regions)
      for (std::uint64_t i = 0; i < scaled(sizeof(T) == 16 ? 10000 : 2000); ++i) {
        C z;
        if constexpr (sizeof(T) == 16) {  // zero patterns one time in six, not both
          // spans in binades: x's, y's (that of x when not given)
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
        check(row, z, worst);
      }
    std::printf("%s: real %s; imaginary %s\n", row.name, worst[0].describe().c_str(),
                worst[1].describe().c_str());
    EXPECT_TRUE(rec.reports.empty()) << row.name << " reported";
  }
  template <class C>
  void check(const Row<C> &row, const C &z, oracle::WorstCase *worst) {
    using T = decltype(C{}.re);
    C got;
    if (row.fn(&got, &z) != &got) fail(std::string(row.name) + " returns another address");
    mpc_t exact, w;
    mpc_init2(exact, oracle::kPrecision), mpc_init2(w, oracle::kPrecision);
    double x = 0, y = 0;
    if constexpr (sizeof(T) == 16) {  // a zero pattern is a zero of its sign
      for (const auto &[v, part] : {std::pair{z.re, mpc_realref(w)}, {z.im, mpc_imagref(w)}}) {
        oracle::set_real16(part, v);
        const bool minus_zero = oracle::same_bits(v, kMinusZero);
        if (mpfr_zero_p(part) && (v.w[3] & kSign16) &&
            !(row.zeros == Zeros::plus_if_minus_zero && minus_zero))
          mpfr_set_zero(part, -1);
      }
      x = mpfr_get_d(mpc_realref(w), MPFR_RNDN), y = mpfr_get_d(mpc_imagref(w), MPFR_RNDN);
    } else {
      x = z.re, y = z.im;
      mpc_set_d_d(w, x, y, MPC_RNDNN);
    }
    for (mpfr_ptr part : {mpc_realref(w), mpc_imagref(w)})
      if (row.zeros == Zeros::plus && mpfr_zero_p(part)) mpfr_set_zero(part, 1);
    row.f(exact, w, MPC_RNDNN);
    const T parts[2] = {got.re, got.im};
    for (int i = 0; i < 2; ++i) {
      mpfr_srcptr e = i == 0 ? mpc_realref(exact) : mpc_imagref(exact);
      double carried = 0;
      if (row.term) {
        const double v = std::fabs(mpfr_get_d(e, MPFR_RNDN));
        if constexpr (sizeof(T) < 16) {
          carried = row.term(x, y, v, i) / ulp_of<T>(v);
        } else if (const double t = row.term(x, y, v, i); t != 0) {
          carried = t / std::ldexp(1.0, static_cast<int>(mpfr_get_exp(e)) - 113);
        }
      }
      const double err = part_error(parts[i], e), bound = row.ulps + carried;
      worst[i].add(std::fmax(err - carried, 0), i ? y : x);
      if (!(err <= bound))
        fail(std::string(row.name) + ::testing::PrintToString(z) + (i ? " imaginary " : " real ") +
             std::to_string(err) + " ulp > " + std::to_string(bound));
    }
    mpc_clear(exact), mpc_clear(w);
  }
};

// Regions: everywhere, near the axes and the cut, huge and tiny parts.
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
constexpr MpcFn sinq = quadrant<false>, cosq = quadrant<true>;

const Row<Complex8> kRows8[] = {
    {"g_cabs", as_complex<g_cabs, Complex8>, modulus, kEverywhere<float>, 0.501},
    {"g_csqrt", g_csqrt, mpc_sqrt, kEverywhere<float>, 0.501, {}, Zeros::plus},
    {"g_cexp", g_cexp, mpc_exp, exp_regions<float>(88.72, 822999), 0.501, exp_angle},
    {"g_clog", g_clog, mpc_log, kEverywhere<float>, 0.501, log_m8, Zeros::plus},
    {"g_csin", g_csin, mpc_sin, sin_regions<float>(822999, 89.41), 0.501, sin_angle},
    {"g_ccos", g_ccos, mpc_cos, sin_regions<float>(822999, 89.41), 0.501, sin_angle},
    {"g_csinq", g_csinq, sinq, sin_regions<float>(523999, 56.91), 0.501},
    {"g_ccosq", g_ccosq, cosq, sin_regions<float>(523999, 56.91), 0.501},
};
const Row<Complex16> kRows16[] = {
    {"g_cdabs", as_complex<g_cdabs, Complex16>, modulus, kEverywhere<double>, 0.503},
    {"g_cdsqrt", g_cdsqrt, mpc_sqrt, kEverywhere<double>, 0.505, {}, Zeros::plus},
    {"g_cdexp", g_cdexp, mpc_exp, exp_regions<double>(709.78, 3.5299e15), 2.2, exp_angle},
    {"g_cdlog", g_cdlog, mpc_log, kEverywhere<double>, 0.51, log_m16, Zeros::plus},
    {"g_cdsin", g_cdsin, mpc_sin, sin_regions<double>(3.5299e15, 710.47), 4, sin_angle},
    {"g_cdcos", g_cdcos, mpc_cos, sin_regions<double>(3.5299e15, 710.47), 4, sin_angle},
    {"g_cdsinq", g_cdsinq, sinq, sin_regions<double>(2.2499e15, 452.29), 4.3, quadrant_t},
    {"g_cdcosq", g_cdcosq, cosq, sin_regions<double>(2.2499e15, 452.29), 4.3, quadrant_t},
};
// Complex32: the modulus over every exponent, the root within 4000 binades
// of 1 and the logarithm within 8000 (no step underflows or overflows, nor
// does the angle); all within 8
// binades of 1. The exponential: |x| below 2^9 (the term's e^x a double),
// |y| below 2^62.
//   g_cqexp 8.5: e^x and cos y or sin y within 2 ulp each (relative 2^-111
//     each, up to 2 ulps of the product apiece), then the rounded product;
//     plus the reduction's error of y carried by e^x.
//   g_cqsin, g_cqcos, g_cqsinq, g_cqcosq 8.5: the Real16 pairs within 2 ulp
//     each, likewise; plus the radian reduction of x carried by cosh y, or
//     the rounded t = |y| pi/2 of the quadrant hyperbolic pair. |y| below
//     2^9 (radians) or 2^8 (quadrant units: cosh t a double), |x| below 2^62.
//   g_cqlog: the real part g_qlog's 2 ulp plus the modulus's 2.5 ulp
//     (relative 2.5 2^-112) carried by ln; the imaginary part g_qatan2's 2.
const Row<Complex32> kRows32[] = {
    {"g_cqabs", cqabs, modulus, {{{16382, 0}, {}}, {{8, 0}, {}}}, 2.5},
    {"g_cqsqrt", g_cqsqrt, mpc_sqrt, {{{4000, 0}, {}}, {{8, 0}, {}}}, 3, {}, Zeros::plus},
    {"g_cqexp", g_cqexp, mpc_exp, {{{9, 0}, {62, 0}}, {{4, 0}, {4, 0}}}, 8.5, exp_angle32},
    {"g_cqsin", g_cqsin, mpc_sin, {{{62, 0}, {9, 0}}, {{4, 0}, {4, 0}}}, 8.5, sin_angle32},
    {"g_cqcos", g_cqcos, mpc_cos, {{{62, 0}, {9, 0}}, {{4, 0}, {4, 0}}}, 8.5, sin_angle32},
    {"g_cqsinq", g_cqsinq, sinq, {{{62, 0}, {8, 0}}, {{4, 0}, {4, 0}}}, 8.5, quadrant_t32},
    {"g_cqcosq", g_cqcosq, cosq, {{{62, 0}, {8, 0}}, {{4, 0}, {4, 0}}}, 8.5, quadrant_t32},
    {"g_cqlog",
     g_cqlog,
     mpc_log,
     {{{8000, 0}, {}}, {{8, 0}, {}}},
     2,
     log_m32,
     Zeros::plus_if_minus_zero},
};

TEST_F(ComplexFunctions, Complex8AgainstMpc) {
  for (const auto &row : kRows8) run(row);
}
TEST_F(ComplexFunctions, Complex16AgainstMpc) {
  for (const auto &row : kRows16) run(row);
}
TEST_F(ComplexFunctions, Complex32AgainstMpc) {
  for (const auto &row : kRows32) run(row);
}

// ---- Special values -----------------------------------------------------------

template <class T>
bool same_part(T got, T want) {
  if constexpr (sizeof(T) == 16) {
    return oracle::same_bits(got, want);
  } else {
    return std::isnan(want) ? std::isnan(got) : bits_of(got) == bits_of(want);
  }
}

// f(z) is `want` bit for bit (a NaN part: any NaN), with the reports
// `errors`; `in_handler` sees each report while the handler runs (the
// argument slot lives in the reporting frame), which then declines.
template <class C>
void expect_call(const char *name, Entry<C> fn, const C &z, const C &want,
                 std::vector<std::int32_t> errors = {}, std::uint8_t flag = 1,
                 std::function<void(const Report &)> in_handler = nullptr) {
  Recorder rec{flag};
  rec.answer = [&](const Report &r, int) {
    if (in_handler) in_handler(r);
    return 0;
  };
  C got;
  fn(&got, &z);
  std::vector<std::int32_t> numbers;
  for (const Report &r : rec.reports) numbers.push_back(r.number);
  EXPECT_TRUE(same_part(got.re, want.re) && same_part(got.im, want.im) && numbers == errors)
      << name << " " << ::testing::PrintToString(z) << " = " << ::testing::PrintToString(got)
      << " with " << numbers.size() << " reports, flag " << int{flag};
}

template <class C>
struct Special {
  const char *name;
  Entry<C> fn;
  C z, want;
};

TEST_F(ComplexFunctions, SpecialValues) {
  const float fi = kInfF, fn = kNaNF, pi4 = 3.14159265f;
  const double di = kInfD, dn = kNaND, pi8 = 3.141592653589793;
  const Special<Complex8> rows8[] = {
      // g_cabs of (3e38, 4e38) returns +infinity on rounding to Real4 (the
      // same modulus from Real4 parts).
      {"g_cabs", as_complex<g_cabs, Complex8>, {2.4e38f, 3.2e38f}, {fi, 0}},
      // g_csqrt of -4 + 0i returns 0 + 2i and of -4 - 0i returns -0 + 2i;
      // 0 + 0i returns 0 + 0i without a division.
      {"g_csqrt", g_csqrt, {-4, 0}, {0, 2}},
      {"g_csqrt", g_csqrt, {-4, -0.0f}, {-0.0f, 2}},
      {"g_csqrt", g_csqrt, {-0.0f, -0.0f}, {0, 0}},
      {"g_csqrt", g_csqrt, {fi, 1}, {fi, 0}},
      // g_clog of -1 + 0i returns 0 + pi i; g_datan2 takes -0 as +0.
      {"g_clog", g_clog, {-1, 0}, {0, pi4}},
      {"g_clog", g_clog, {-1, -0.0f}, {0, pi4}},
      {"g_cexp", g_cexp, {0, 0}, {1, 0}},
      {"g_cexp", g_cexp, {fn, 0}, {fn, fn}},  // a NaN passes the limits
      // cos z = c ch - (s sh) i: cos 0 = 1 - 0i; quadrant units exact at
      // the right angles.
      {"g_ccos", g_ccos, {0, 0}, {1, -0.0f}},
      {"g_ccosq", g_ccosq, {1, 0}, {0, -0.0f}},
  };
  const Special<Complex16> rows16[] = {
      // g_cdabs of (3e300, 4e300) returns 5e300 without overflow.
      {"g_cdabs", as_complex<g_cdabs, Complex16>, {3e300, 4e300}, {5e300, 0}},
      {"g_cdabs", as_complex<g_cdabs, Complex16>, {di, di}, {dn, 0}},  // inf/inf
      {"g_cdsqrt", g_cdsqrt, {-4, -0.0}, {-0.0, 2}},
      {"g_cdsqrt", g_cdsqrt, {-4, -1e-300}, {2.5e-301, -2}},  // v negated, u = (1/2 / v) y
      {"g_cdsqrt", g_cdsqrt, {-di, -1}, {0, -di}},
      {"g_cdlog", g_cdlog, {-1, -0.0}, {0, pi8}},
      {"g_cdexp", g_cdexp, {1, dn}, {dn, dn}},
      {"g_cdexp", g_cdexp, {-di, 0}, {dn, dn}},  // e^x unchecked: -inf - (-inf) in F2XM1
      {"g_cdcos", g_cdcos, {0, -0.0}, {1, 0}},
      {"g_cdsinq", g_cdsinq, {2, 0}, {-0.0, -0.0}},  // (-S(0), -C(0)) at k = 1
  };
  for (const auto &r : rows8) expect_call(r.name, r.fn, r.z, r.want);
  for (const auto &r : rows16) expect_call(r.name, r.fn, r.z, r.want);
  // Complex32: a part whose word 3 is exactly 0x80000000 becomes +0, so
  // -4 - 0i gives +0 + 2i; both high words zero give +0.
  const Real16 two = real16(0x40000000), four = real16(0x40010000), minus_four = real16(0xc0010000);
  const Special<Complex32> rows32[] = {
      {"g_cqsqrt", g_cqsqrt, {minus_four, real16(kSign16, 1, 2, 3)}, {kZero, two}},
      {"g_cqsqrt", g_cqsqrt, {real16(kSign16, 5), kMinusZero}, {kZero, kZero}},
      {"g_cqsqrt", g_cqsqrt, {real16(0x40008000), four}, {two, kOne}},  // 3 + 4i
      {"g_cqabs", cqabs, {real16(0xc0008000), four}, {real16(0x40014000), kZero}},
      {"g_cqabs", cqabs, {real16(kSign16, 7, 7, 7), real16(0, 1)}, {kZero, kZero}},
      {"g_cqexp", g_cqexp, {kZero, kZero}, {kOne, kZero}},
      // Products with a zero factor and ulx_gqqc's negation give +0: exact
      // at the right angles in quadrant units, cos 0 = 1 + 0i.
      {"g_cqcos", g_cqcos, {kMinusZero, kMinusZero}, {kOne, kZero}},
      {"g_cqsinq", g_cqsinq, {kOne, kZero}, {kOne, kZero}},
      {"g_cqsinq", g_cqsinq, {two, kMinusZero}, {kZero, kZero}},
      {"g_cqcosq", g_cqcosq, {kOne, kZero}, {kZero, kZero}},
      {"g_cqcosq", g_cqcosq, {two, kZero}, {negated(kOne), kZero}},
      {"g_cqexp", g_cqexp, {kMinusInf, kOne}, {kZero, kZero}},  // x < 0 passes: e^x = 0
      // g_cqlog replaces a part that is -0 in all four words by +0: -1 - 0i
      // gives pi i, a sign with lower words set stays and gives -pi i.
      {"g_cqlog", g_cqlog, {kOne, kZero}, {kZero, kZero}},
      {"g_cqlog", g_cqlog, {real16(0xbfff0000), kMinusZero}, {kZero, kPi}},
      {"g_cqlog", g_cqlog, {real16(0xbfff0000), real16(kSign16, 1)}, {kZero, negated(kPi)}},
  };
  for (const auto &r : rows32) expect_call(r.name, r.fn, r.z, r.want);
  // Beyond the largest finite Real16, the product's overflow (1397) stands.
  expect_call<Complex32>("g_cqabs", cqabs, {kLargest, kLargest}, {kInf, kZero}, {1397});
}

// ---- Errors -------------------------------------------------------------------

// z refused with error `error`, reporting `value` (a part, type code of the
// part) or, for the logarithms (247, 248), z in the slot and no values; the
// handler declines: `finite` under infinity flag 0, `ieee` under 1.
template <class C>
struct Fault {
  const char *name;
  Entry<C> fn;
  C z;
  std::int32_t error;
  decltype(C{}.re) value;
  C finite, ieee;
};

template <class C>
void check_fault(const Fault<C> &f) {
  using T = decltype(f.z.re);
  const bool with_value = f.error != 247 && f.error != 248 && f.error != 249;
  for (const std::uint8_t flag : {0, 1})
    expect_call(f.name, f.fn, f.z, flag ? f.ieee : f.finite, {f.error}, flag, [&](const Report &r) {
      if (with_value) {
        EXPECT_TRUE(same_part(r.slot_as<T>(1), f.value) && r.value_count == 1 &&
                    r.value_type[0] == kCode<T> && same_part(r.value_as<T>(0), f.value))
            << f.name << ": the slot and the reported value";
      } else {
        const C slot = r.slot_as<C>(1);
        EXPECT_TRUE(same_part(slot.re, f.z.re) && same_part(slot.im, f.z.im))
            << f.name << ": z in the slot";
      }
    });
}

// The handler writes `answers` into the slot in turn (a part, or z), each
// reported as `errors` says; the result is f of `corrected`.
template <class C, class R>
void check_resume(const char *name, Entry<C> fn, const C &z, std::vector<R> answers,
                  std::vector<std::int32_t> errors, const C &corrected) {
  Recorder rec;
  rec.answer = [&](const Report &r, int i) {
    replace(r, 1, answers.at(static_cast<std::size_t>(i)));
    return 1;
  };
  C got, want;
  fn(&got, &z);
  std::vector<std::int32_t> numbers;
  for (const Report &r : rec.reports) numbers.push_back(r.number);
  fn(&want, &corrected);
  EXPECT_TRUE(numbers == errors && same_part(got.re, want.re) && same_part(got.im, want.im))
      << name << " resumed: " << ::testing::PrintToString(got);
}

const float kD8 = std::bit_cast<float>(0x7f3504e6u);
const double kD16 = std::bit_cast<double>(std::uint64_t{0x7fe6a09e667f3b99});

TEST_F(ComplexFunctions, ExpLogErrors) {
  const float fi = kInfF, fn = kNaNF;
  const double di = kInfD, dn = kNaND;
  const Complex8 l3 = {static_cast<float>(double{kBigF} * std::cos(3.0)),
                       static_cast<float>(double{kBigF} * std::sin(3.0))};
  const Complex16 l2 = {kBigD * std::cos(2.0), kBigD * std::sin(2.0)};
  const Fault<Complex8> faults8[] = {
      // g_cexp of 88.722 + 0i raises 232; with the flag clear it returns
      // 3.40282e38 + 0i (L c + L s i); with the flag +-infinity with the
      // sign of c (+ for c >= 0) and with the sign of s.
      {"g_cexp", g_cexp, {88.722f, 0}, 232, 88.722f, {kBigF, 0}, {fi, fi}},
      {"g_cexp", g_cexp, {fi, 3}, 232, fi, l3, {-fi, fi}},
      // g_cexp of 0 + 1e6 i raises 233 and returns 1 + 0i with the flag clear.
      {"g_cexp", g_cexp, {0, 1e6f}, 233, 1e6f, {1, 0}, {fn, fn}},
      {"g_cexp", g_cexp, {-2, -fi}, 233, -fi, {std::exp(-2.0f), 0}, {fn, fn}},
      {"g_cexp", g_cexp, {100, -1e6f}, 232, 100, {kD8, kD8}, {fn, fn}},  // both: D + D i
      // g_clog of 0 + 0i raises 247 (no values): -3.40282e38 + 0i, or
      // +infinity + NaN i with the flag.
      {"g_clog", g_clog, {-0.0f, 0}, 247, 0, {-kBigF, 0}, {fi, fn}},
  };
  const Fault<Complex16> faults16[] = {
      {"g_cdexp", g_cdexp, {709.782, -0.0}, 234, 709.782, {kBigD, -0.0}, {di, -di}},
      {"g_cdexp", g_cdexp, {1000, 2}, 234, 1000, l2, {-di, di}},
      {"g_cdexp", g_cdexp, {1, 3.53e15}, 235, 3.53e15, {std::exp(1.0), 0}, {dn, dn}},
      {"g_cdexp", g_cdexp, {di, di}, 234, di, {kD16, kD16}, {dn, dn}},
      {"g_cdlog", g_cdlog, {0, -0.0}, 248, 0, {-kBigD, 0}, {di, dn}},
  };
  // Complex32: L the largest finite Real16, D = L sqrt(2)/2; x tested on
  // its high word as a signed word (from 11356.5), |y| from 0x403e921f.
  const Real16 limit_x = real16(0x400c62e4), limit_y = real16(0x403e921f);
  const Real16 D32 = real16(0x7ffe6a09, 0xe667f3bc, 0xc908b2fb, 0x1366ea94), q_nan = kNaN;
  Real16 s2, c2, e1;
  const Real16 two = real16(0x40000000);
  g_qpscn(&two, &s2, &c2);
  g_qexp(&e1, &kOne);
  const Fault<Complex32> faults32[] = {
      {"g_cqexp", g_cqexp, {limit_x, kZero}, 236, limit_x, {kLargest, kZero}, {kInf, kInf}},
      // e^(x - 0i): the sign bit of sin(-0) gives -infinity.
      {"g_cqexp", g_cqexp, {kInf, kMinusZero}, 236, kInf, {kLargest, kZero}, {kInf, kMinusInf}},
      {"g_cqexp",
       g_cqexp,
       {q_nan, two},
       236,
       q_nan,
       {product(kLargest, c2), product(kLargest, s2)},
       {kMinusInf, kInf}},
      {"g_cqexp",
       g_cqexp,
       {kOne, negated(limit_y)},
       237,
       negated(limit_y),
       {e1, kZero},
       {q_nan, q_nan}},
      {"g_cqexp",
       g_cqexp,
       {real16(0x400c8000), kInf},
       236,
       real16(0x400c8000),
       {D32, D32},
       {q_nan, q_nan}},
      // g_cqlog of zero: the negative largest finite value + 0i, or
      // +infinity + NaN i; both high words zero make the modulus zero.
      {"g_cqlog",
       g_cqlog,
       {real16(kSign16, 0, 0, 1), real16(0, 5)},
       249,
       kZero,
       {negated(kLargest), kZero},
       {kInf, q_nan}},
  };
  for (const auto &f : faults8) check_fault(f);
  for (const auto &f : faults16) check_fault(f);
  for (const auto &f : faults32) check_fault(f);
  const Real16 just_below_x = real16(0x400c62e3, ~0u, ~0u, ~0u);
  check_resume<Complex32, Real16>("g_cqexp", g_cqexp, {kInf, kInf}, {limit_x, just_below_x, two},
                                  {236, 236, 237}, {just_below_x, two});
  check_resume<Complex32, Complex32>("g_cqlog", g_cqlog, {kZero, kZero},
                                     {{kMinusZero, kZero}, {real16(0xbfff0000), kZero}}, {249, 249},
                                     {real16(0xbfff0000), kZero});
  // A replacement refused again reports again (x, then y once x passes).
  check_resume<Complex8, float>("g_cexp", g_cexp, {100, 1e6f}, {90, 1, 2}, {232, 232, 233}, {1, 2});
  check_resume<Complex16, double>("g_cdexp", g_cdexp, {1, 4e15}, {5e15, 2}, {235, 235}, {1, 2});
  check_resume<Complex8, Complex8>("g_clog", g_clog, {0, 0}, {{-0.0f, 0}, {-1, 0}}, {247, 247},
                                   {-1, 0});
  check_resume<Complex16, Complex16>("g_cdlog", g_cdlog, {0, 0}, {{0, -0.0}, {0, 2}}, {248, 248},
                                     {0, 2});
}

// The arithmetic of the sine and cosine defaults per part type: products in
// W (Real8, the x87 register, or g_aqmq) rounded to T, negation (ulx_gqqc
// for Real16), the pairs of the unit at v, and the constants r, H, D.
template <class T>
struct Kind {
  using W = std::conditional_t<sizeof(T) == 4, double, long double>;
  static constexpr T nan = std::numeric_limits<T>::quiet_NaN();
  static constexpr T inf = std::numeric_limits<T>::infinity(), one = 1, two = 2, half = 0.5;
  static constexpr W r = kSqrtHalfD;
  static constexpr W H = sizeof(T) == 4
                             ? W{std::bit_cast<float>(0x7effffeeu)}
                             : W{std::bit_cast<double>(std::uint64_t{0x7fdfffffffffffb6})};
  static T D() { return sizeof(T) == 4 ? static_cast<T>(kD8) : static_cast<T>(kD16); }
  static T mul(W a, W b) { return static_cast<T>(a * b); }
  static T neg(T v) { return -v; }
  static T inf_as(T v) { return std::copysign(inf, v); }
  static void pair(bool quadrant, bool hyperbolic, T v, T &s, T &c) {
    ComplexOf<T> p;
    if constexpr (sizeof(T) == 4) {
      (quadrant ? (hyperbolic ? g_scnhq : g_scnsq) : (hyperbolic ? g_scnh : g_scns))(&p, &v);
    } else {
      (quadrant ? (hyperbolic ? g_dschq : g_dscnq) : (hyperbolic ? g_dsch : g_dscn))(&p, &v);
    }
    s = p.re, c = p.im;
  }
};
template <>
struct Kind<Real16> {
  using W = Real16;
  static constexpr Real16 nan = kNaN, inf = kInf, one = kOne, two = two_q,
                          half = real16(0x3ffe0000);
  static constexpr Real16 r = real16(0x3ffe6a09, 0xe667f3bc, 0xc908b2fb, 0x1366ea95);
  static constexpr Real16 H = real16(0x7ffdffff, ~0u, ~0u, ~0u);
  static Real16 D() { return real16(0x7ffe6a09, 0xe667f3bc, 0xc908b2fb, 0x1366ea94); }
  static Real16 mul(const Real16 &a, const Real16 &b) { return product(a, b); }
  static Real16 neg(Real16 v) { return ulx_gqqc(&v, v), v; }
  static Real16 inf_as(const Real16 &v) { return v.w[3] & kSign16 ? kMinusInf : kInf; }
  static void pair(bool quadrant, bool hyperbolic, Real16 v, Real16 &s, Real16 &c) {
    (quadrant ? (hyperbolic ? g_qpscnhq : g_qpscnq) : (hyperbolic ? g_qpscnh : g_qpscn))(&v, &s,
                                                                                         &c);
  }
};

// A sine or cosine's errors, the defaults from the pairs of the part type
// (r = sqrt(2)/2 as Real8, or Real16; H and D of the kind), refused parts
// xbig, ybig (positive).
template <class T>
void check_sin_cos(const char *name, Entry<ComplexOf<T>> fn, bool cosine, bool quadrant, T xbig,
                   T ybig, std::int32_t x_error, std::int32_t y_error) {
  using C = ComplexOf<T>;
  using K = Kind<T>;
  const T D = K::D(), nan = K::nan, half = K::half, minus_inf = K::neg(K::inf);
  T s, c, sh, ch;
  K::pair(quadrant, false, half, s, c), K::pair(quadrant, true, half, sh, ch);
  // x only: sin r ch + (r sh) i, cos r ch - (r sh) i.
  const C x_only = {K::mul(K::r, ch), cosine ? K::neg(K::mul(K::r, sh)) : K::mul(K::r, sh)};
  // y only: sin H s + (H c) i, cos H c - (H s) i, the imaginary part
  // negated for y < 0; +-infinity with the same signs under the flag.
  const C y_only =
      cosine ? C{K::mul(K::H, c), K::neg(K::mul(K::H, s))} : C{K::mul(K::H, s), K::mul(K::H, c)};
  const C y_inf = {K::inf_as(y_only.re), K::inf_as(y_only.im)};
  const Fault<C> rows[] = {
      // Both: sin D + D i, -D for y < 0; cos D - D i for y > 0, D + D i otherwise.
      {name, fn, {xbig, ybig}, x_error, xbig, {D, cosine ? K::neg(D) : D}, {nan, nan}},
      {name,
       fn,
       {K::neg(xbig), K::neg(ybig)},
       x_error,
       K::neg(xbig),
       {D, cosine ? D : K::neg(D)},
       {nan, nan}},
      {name, fn, {xbig, half}, x_error, xbig, x_only, {nan, nan}},
      {name, fn, {half, ybig}, y_error, ybig, y_only, y_inf},
      {name,
       fn,
       {half, minus_inf},
       y_error,
       minus_inf,
       {y_only.re, K::neg(y_only.im)},
       {y_inf.re, K::neg(y_inf.im)}},
  };
  for (const auto &f : rows) check_fault(f);
  check_resume<C, T>(name, fn, {xbig, ybig}, {K::neg(xbig), K::one, K::two},
                     {x_error, x_error, y_error}, {K::one, K::two});
}

TEST_F(ComplexFunctions, SinCosErrors) {
  // g_csin of 1e6 + 100i (both refused) returns D + D i with the flag
  // clear; of 1e6 - 100i returns D - D i.
  check_sin_cos<float>("g_csin", g_csin, false, false, 1e6f, 100, 205, 206);
  check_sin_cos<float>("g_ccos", g_ccos, true, false, 823000, 89.415f, 205, 206);
  check_sin_cos<float>("g_csinq", g_csinq, false, true, 524000, 56.92f, 1407, 1408);
  check_sin_cos<float>("g_ccosq", g_ccosq, true, true, 1e7f, 60, 1407, 1408);
  check_sin_cos<double>("g_cdsin", g_cdsin, false, false, 3.53e15, 710.4749755859375, 207, 208);
  check_sin_cos<double>("g_cdcos", g_cdcos, true, false, 1e300, 800, 207, 208);
  check_sin_cos<double>("g_cdsinq", g_cdsinq, false, true, 2.25e15, 452.3, 1409, 1410);
  check_sin_cos<double>("g_cdcosq", g_cdcosq, true, true, 3e15, kInfD, 1409, 1410);
  // The Complex32 limits on the high words: |x| from 0x403e921f (radians)
  // or 0x403e0000, |y| from 0x400c62e9 (11357.125) or 0x400bc3e2 (7232.125).
  check_sin_cos<Real16>("g_cqsin", g_cqsin, false, false, real16(0x403e921f), real16(0x400c62e9),
                        209, 210);
  check_sin_cos<Real16>("g_cqcos", g_cqcos, true, false, kInf, real16(0x40100000), 209, 210);
  check_sin_cos<Real16>("g_cqsinq", g_cqsinq, false, true, real16(0x403e0000), real16(0x400bc3e2),
                        1411, 1412);
  check_sin_cos<Real16>("g_cqcosq", g_cqcosq, true, true, real16(0x40700000), kInf, 1411, 1412);
}

}  // namespace
