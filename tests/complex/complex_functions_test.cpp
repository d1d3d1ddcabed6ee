// The complex elementary functions against MPC at 320 bits: one property
// table of rows (entry, MPC function, argument regions, bound per part),
// rows of special values bit for bit, and the error rows with both
// defaults and a resume.
//
// Bounds, per part: ulps of the part's type at the exact value, plus an
// absolute term (in the part's units) that a rounded intermediate of the
// evaluation carries into it:
//   g_cabs 0.501: exact squares in Real8, two roundings of 2^-53, then Real4.
//   g_cdabs 0.503: five register roundings of 2^-64 (0.0025 ulp), then Real8.
//   g_cqabs 2.5: five rounded Real16 steps (t, t^2, 1 + t^2, the root, the
//     product), about half an ulp each relative to the modulus.
//   Complex8 square root, exponential, logarithm, sine, cosine 0.501: Real8
//     intermediates (their errors near 2^-52 relative) rounded to Real4,
//     plus the terms below.
//   g_cdsqrt 0.505: about eight register roundings of 2^-64, then Real8.
//   g_cqsqrt 3: the modulus (2.5), m + |x| and the root halve it, the
//     root, y/2 and the quotient add half an ulp each.
//   g_cdexp 2.2: cos y and sin y stored as Real8 (one ulp of the result at
//     most) and e^x in the register (0.35 of its ulp, doubled likewise),
//     then Real8; plus |y| 2^-62 times e^x (FSIN and FCOS's 66-bit pi).
//   g_cdlog: real part 0.501 plus m's register rounding carried by 1/m
//     (6 2^-64 absolute); imaginary part g_datan2's 0.51.
//   g_clog: real part plus m stored as Real8 before g_dlog (0.51 2^-52).
//   g_cdsin, g_cdcos 4: FSIN/FCOS rounded (0.52 ulp) and g_dsch (1.2 ulp),
//     each worth up to twice that in ulps of the product, then Real8; plus
//     |x| 2^-62 cosh y. Complex8: the same absolute term.
//   g_cdsinq, g_cdcosq 4.3: g_dscnq (0.7 ulp) and g_dschq (1.2) likewise;
//     plus g_dschq's rounded t = |y| pi/2 carried by t, and a subnormal
//     sin(x pi/2) rounded before cosh t multiplies it.
#include <gtest/gtest.h>
#include <mpc.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "support/checks.h"
#include "support/ieee_constants.h"
#include "support/real16_checks.h"

namespace {

using namespace support;

// ---- Arguments --------------------------------------------------------------

// A part's magnitude log-uniform in [lo, hi) with a random sign; lo = hi =
// 0 gives a zero of either sign.
struct Region {
  double lo, hi;
};
constexpr Region kZeroPart = {0, 0};
template <class T>
constexpr Region kAnyPart = {std::numeric_limits<T>::denorm_min(), std::numeric_limits<T>::max()};
template <class T>
constexpr Region kTinyPart = {std::numeric_limits<T>::denorm_min(),
                              std::numeric_limits<T>::min() * 4};
template <class T>
constexpr Region kHugePart = {std::numeric_limits<T>::max() / 16, std::numeric_limits<T>::max()};
constexpr Region kModerate = {1e-3, 1e3};

// Regions of the real and imaginary parts.
struct Regions {
  Region x, y;
};

template <class T>
T draw_part(Sampler &s, const Region &r) {
  const double m = r.hi == 0 ? 0 : std::exp(s.uniform(std::log(r.lo), std::log(r.hi)));
  const T v = static_cast<T>(std::fmin(m, r.hi));
  return s.bits() & 1 ? -v : v;
}

// ---- Error of one part ----------------------------------------------------

// |got - exact| in ulps of T at the exact value; 0 when got is exact
// rounded to T (an overflow or underflow of the rounding included).
template <class T>
double part_error(T got, mpfr_srcptr exact) {
  const T rounded = sizeof(T) == 4 ? mpfr_get_flt(exact, MPFR_RNDN)
                                   : static_cast<T>(mpfr_get_d(exact, MPFR_RNDN));
  if (std::bit_cast<std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>>(got) ==
      std::bit_cast<std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>>(rounded))
    return 0;
  return oracle::ulp_error(got, exact);
}
// The same for a Real16 part, in units of its 113-bit significand.
double part_error(const Real16 &got, mpfr_srcptr exact) {
  if (mpfr_zero_p(exact)) return (got.w[3] & ~kSign16) == 0 ? 0 : INFINITY;
  oracle::Exact g(got);
  oracle::Big diff;
  mpfr_sub(diff, g, exact, MPFR_RNDN);
  mpfr_abs(diff, diff, MPFR_RNDN);
  mpfr_mul_2si(diff, diff, 113 - mpfr_get_exp(exact), MPFR_RNDN);
  return mpfr_get_d(diff, MPFR_RNDU);
}

// ---- Moduli -------------------------------------------------------------------

struct Moduli : Real16Test {
  template <class T>
  double run(const char *name,
             T (*fn)(const std::conditional_t<sizeof(T) == 4, Complex8, Complex16> *), double ulps,
             const std::vector<Regions> &regions) {
    oracle::WorstCase worst;
    for (const Regions &r : regions)
      for (std::uint64_t i = 0; i < scaled(20000); ++i) {
        Sampler &sampler = plain;
        const std::conditional_t<sizeof(T) == 4, Complex8, Complex16> z = {
            draw_part<T>(sampler, r.x), draw_part<T>(sampler, r.y)};
        oracle::Big e;
        oracle::Big x(static_cast<double>(z.re)), y(static_cast<double>(z.im));
        mpfr_hypot(e, x, y, MPFR_RNDN);
        const T got = fn(&z);
        const double err = part_error(got, e);
        worst.add(err, static_cast<double>(z.re));
        if (!(err <= ulps))
          fail(std::string(name) + "(" + std::to_string(z.re) + ", " + std::to_string(z.im) +
               ") = " + std::to_string(got) + ": " + std::to_string(err) + " ulp");
      }
    std::printf("%s: %s\n", name, worst.describe().c_str());
    return worst.ulps;
  }
  Sampler plain{20261206};
};

template <class T>
std::vector<Regions> modulus_regions() {
  // Everywhere; near the axes; both huge (no overflow before the rounding);
  // both tiny (subnormal parts).
  return {{kAnyPart<T>, kAnyPart<T>},   {kModerate, kTinyPart<T>},    {kZeroPart, kAnyPart<T>},
          {kHugePart<T>, kHugePart<T>}, {kTinyPart<T>, kTinyPart<T>}, {kModerate, kModerate}};
}

TEST_F(Moduli, Complex8AndComplex16AgainstMpc) {
  run<float>("g_cabs", g_cabs, 0.501, modulus_regions<float>());
  run<double>("g_cdabs", g_cdabs, 0.503, modulus_regions<double>());
}

TEST_F(Moduli, Complex32AgainstMpc) {
  oracle::WorstCase worst;
  for (std::uint64_t i = 0; i < scaled(40000); ++i) {
    // Exponents anywhere; parts one or two binades apart (the high words
    // decide the order); zero patterns with garbage below word 3.
    const std::uint32_t e = 1 + s.below32(0x7ffd);
    const std::uint32_t k = s.below32(4);
    const Complex32 z = {s.with_exponent(e), k == 0 ? real16(s.bits() & kSign16, s.below32(3), 1, 2)
                                             : k == 1
                                                 ? s.with_exponent(e > 2 ? e - s.below32(2) : e)
                                                 : s.with_exponent(1 + s.below32(0x7ffd))};
    for (const Complex32 &w : {z, Complex32{z.im, z.re}}) {
      Real16 got;
      ASSERT_EQ(g_cqabs(&got, &w), &got);
      oracle::Exact x(w.re), y(w.im);
      oracle::Big exact;
      mpfr_hypot(exact, x, y, MPFR_RNDN);
      const oracle::Real16Result r = oracle::round_to_real16(exact);
      if (r.outcome != oracle::Outcome::value) continue;  // the product's report: below
      const double err = part_error(got, exact);
      worst.add(err, 0);
      if (!(err <= 2.5) || (got.w[3] & kSign16))
        fail("g_cqabs(" + show(w.re) + ", " + show(w.im) + ") = " + show(got) + ": " +
             std::to_string(err) + " ulp");
    }
  }
  std::printf("g_cqabs: %s\n", worst.describe().c_str());
}

// Rows of the definition, bit for bit.
TEST_F(Moduli, SpecialValues) {
  const double inf = kInfD, nan = kNaND;
  struct {
    Complex16 z;
    double want;
  } const rows16[] = {
      {{3e300, 4e300}, 5e300},  // returns 5e300 without overflow
      {{-0.0, 0.0}, 0},         // a = 0: result 0
      {{0.0, -2.0}, 2},        {{inf, 1}, inf},
      {{1, -inf}, inf},        {{inf, inf}, nan},  // inf/inf in the scaled formula
      {{nan, 1}, nan},                             // the unordered comparison takes t = a/b
      {{1, nan}, nan},
  };
  for (const auto &r : rows16) {
    const double got = g_cdabs(&r.z);
    EXPECT_TRUE(std::isnan(r.want) ? std::isnan(got) : bits_of(got) == bits_of(r.want))
        << r.z.re << ", " << r.z.im << ": " << got;
  }
  // g_cabs of (3e38, 4e38) returns +infinity on rounding to Real4 (4e38
  // is beyond Real4: (2.4e38, 3.2e38) has the same modulus).
  const Complex8 big = {2.4e38f, 3.2e38f}, zero = {-0.0f, -0.0f};
  EXPECT_EQ(bits_of(g_cabs(&big)), bits_of(kInfF));
  EXPECT_EQ(bits_of(g_cabs(&zero)), 0u);
  // Complex32: both high words zero gives +0 whatever words 0 to 2 hold.
  const Complex32 zeros = {real16(kSign16, 7, 7, 7), real16(0, 1)};
  const Complex32 three_four = {real16(0xc0008000), real16(0x40010000)};  // (-3, 4)
  Real16 got;
  g_cqabs(&got, &zeros);
  EXPECT_TRUE(oracle::same_bits(got, kZero)) << show(got);
  g_cqabs(&got, &three_four);
  EXPECT_TRUE(oracle::same_bits(got, real16(0x40014000))) << show(got);  // 5
}

// The Complex32 modulus beyond the largest finite value: the product's
// overflow report (1397), its default under both infinity flags.
TEST_F(Moduli, Complex32Overflow) {
  const Complex32 z = {kLargest, kLargest};
  for (const std::uint8_t flag : {0, 1}) {
    Recorder rec{flag, 1, 0};
    Real16 got;
    g_cqabs(&got, &z);
    ASSERT_EQ(rec.reports.size(), 1u);
    EXPECT_EQ(rec.reports[0].number, 1397);
    EXPECT_TRUE(oracle::same_bits(got, flag ? kInf : kLargest)) << show(got);
  }
}

// ---- Complex results against MPC -------------------------------------------

template <class T>
using ComplexOf = std::conditional_t<sizeof(T) == 4, Complex8, Complex16>;
template <class C>
using Entry = C *(*)(C *, const C *);
using MpcFn = int (*)(mpc_ptr, mpc_srcptr, mpc_rnd_t);

// The absolute error a rounded intermediate carries into a part, at z
// whose exact part has magnitude v.
using Term = double (*)(double x, double y, double v);

struct PartBound {
  double ulps;
  Term term = nullptr;
};

// sin(z pi/2) and cos(z pi/2) from the parts, exact at the multiples of a
// right angle: sin(x pi/2) cosh(y pi/2) + cos(x pi/2) sinh(y pi/2) i and
// cos(x pi/2) cosh(y pi/2) - sin(x pi/2) sinh(y pi/2) i.
template <bool kCosine>
int quadrant_sin_cos(mpc_ptr out, mpc_srcptr z, mpc_rnd_t) {
  const mpfr_prec_t p = mpfr_get_prec(mpc_realref(out)) + 64;
  oracle::Big s{oracle::Precision{p}}, c{oracle::Precision{p}}, t{oracle::Precision{p}},
      sh{oracle::Precision{p}}, ch{oracle::Precision{p}};
  oracle::sinq(s, mpc_realref(z), MPFR_RNDN);
  oracle::cosq(c, mpc_realref(z), MPFR_RNDN);
  mpfr_const_pi(t, MPFR_RNDN);
  mpfr_mul(t, t, mpc_imagref(z), MPFR_RNDN);
  mpfr_div_2ui(t, t, 1, MPFR_RNDN);
  mpfr_sinh_cosh(sh, ch, t, MPFR_RNDN);
  mpfr_mul(mpc_realref(out), kCosine ? c : s, ch, MPFR_RNDN);
  mpfr_mul(mpc_imagref(out), kCosine ? s : c, sh, MPFR_RNDN);
  if (kCosine) mpfr_neg(mpc_imagref(out), mpc_imagref(out), MPFR_RNDN);
  return 0;
}
constexpr MpcFn sinq = quadrant_sin_cos<false>, cosq = quadrant_sin_cos<true>;

template <class T>
struct Row {
  const char *name;
  Entry<ComplexOf<T>> fn;
  MpcFn f;
  std::vector<Regions> regions;
  PartBound re, im;
  // g_datan2 takes -0 as +0: the logarithms' exact values are those of z
  // with its zero parts made +0.
  bool plus_zeros = false;
};

// f(z) at 320 bits.
struct Exact {
  mpc_t v;
  Exact(MpcFn f, double x, double y) {
    mpc_t z;
    mpc_init2(v, oracle::kPrecision), mpc_init2(z, oracle::kPrecision);
    mpc_set_d_d(z, x, y, MPC_RNDNN);
    f(v, z, MPC_RNDNN);
    mpc_clear(z);
  }
  ~Exact() { mpc_clear(v); }
  Exact(const Exact &) = delete;
};

// The bound at z: ulps, plus the absolute term in ulps of the exact value.
template <class T>
double bound_of(const PartBound &b, double x, double y, mpfr_srcptr exact) {
  if (b.term == nullptr) return b.ulps;
  const double e = std::fabs(mpfr_get_d(exact, MPFR_RNDN));
  return b.ulps + b.term(x, y, e) / ulp_of<T>(e);
}

struct ComplexFunctions : Real16Test {
  template <class T>
  void run(const Row<T> &row) {
    Recorder rec;  // no argument of the regions is refused
    oracle::WorstCase worst[2];
    Sampler sampler(std::hash<std::string>{}(row.name));
    for (const Regions &r : row.regions)
      for (std::uint64_t i = 0; i < scaled(2000); ++i) {
        const ComplexOf<T> z = {draw_part<T>(sampler, r.x), draw_part<T>(sampler, r.y)};
        check(row, z, worst);
      }
    // The worst errors beyond the absolute terms.
    std::printf("%s: real part %s; imaginary part %s\n", row.name, worst[0].describe().c_str(),
                worst[1].describe().c_str());
    EXPECT_TRUE(rec.reports.empty()) << row.name << " reported " << rec.reports[0].number;
  }
  template <class T>
  void check(const Row<T> &row, const ComplexOf<T> &z, oracle::WorstCase *worst) {
    ComplexOf<T> got;
    if (row.fn(&got, &z) != &got) fail(std::string(row.name) + " returns another address");
    const double x = z.re, y = z.im;
    const Exact e(row.f, row.plus_zeros && x == 0 ? 0.0 : x, row.plus_zeros && y == 0 ? 0.0 : y);
    const T parts[2] = {got.re, got.im};
    const PartBound *bounds[2] = {&row.re, &row.im};
    for (int i = 0; i < 2; ++i) {
      mpfr_srcptr exact = i == 0 ? mpc_realref(e.v) : mpc_imagref(e.v);
      const double err = part_error(parts[i], exact), bound = bound_of<T>(*bounds[i], x, y, exact);
      worst[i].add(std::fmax(err - (bound - bounds[i]->ulps), 0), i == 0 ? x : y);
      if (!(err <= bound))
        fail(std::string(row.name) + "(" + std::to_string(x) + ", " + std::to_string(y) +
             (i ? ") imaginary part " : ") real part ") + std::to_string(parts[i]) + ": " +
             std::to_string(err) + " ulp > " + std::to_string(bound));
    }
  }
};

// Absolute terms. FSIN and FCOS reduce with a 66-bit pi: |angle| 2^-62,
// carried by e^x (exponential) or cosh y (sine, cosine).
double exp_angle(double x, double y, double) { return std::exp(x) * std::fabs(y) * 0x1p-62; }
double sin_angle(double x, double y, double) { return std::cosh(y) * std::fabs(x) * 0x1p-62; }
// The quadrant hyperbolic pair rounds t = |y| pi/2 (a relative 2^-53 +
// 3.9e-17), which sinh t and cosh t carry multiplied by about t; a
// subnormal sin(x pi/2) from g_dscnq is rounded by up to 2^-1075 (taken as
// 2^-1074), which cosh t carries.
double quadrant_t(double, double y, double v) {
  const double t = std::fabs(y) * 1.5707963267948966;
  return v * t * (0x1p-53 + 3.9e-17) + std::cosh(t) * 0x1p-1074;
}
// The relative error of the modulus m carried into ln m: Real8 (stored
// before g_dlog) and the register's.
double log_m8(double, double, double) { return 0.51 * 0x1p-52; }
double log_m16(double, double, double) { return 6 * 0x1p-64; }

template <class T>
constexpr double kExpMax = sizeof(T) == 4 ? 88.72 : 709.78;
template <class T>
constexpr double kExpYMax = sizeof(T) == 4 ? 822999 : 3.5299e15;

// Regions of an exponential: x moderate, near the top and deep below, y
// near the axis, moderate and near its limit.
template <class T>
std::vector<Regions> exp_regions() {
  return {{{1e-3, 20}, {1e-3, 10}},
          {kZeroPart, {1e-3, 1e3}},
          {{1e-3, 20}, kZeroPart},
          {{kExpMax<T> - 1, kExpMax<T>}, {1e-3, 100}},
          {{1, kExpMax<T>}, {1e-3, kExpYMax<T>}},
          {{1e-3, 20}, kTinyPart<T>},
          {kTinyPart<T>, {1e-3, kExpYMax<T>}}};
}
// Regions of a logarithm: everywhere, near the axes, near |z| = 1, huge and
// tiny parts.
template <class T>
std::vector<Regions> log_regions() {
  return {{kAnyPart<T>, kAnyPart<T>},   {kModerate, kZeroPart},   {kZeroPart, kModerate},
          {{0.5, 2}, {1e-6, 1e-2}},     {{0.5, 2}, {0.5, 2}},     {kHugePart<T>, kHugePart<T>},
          {kTinyPart<T>, kTinyPart<T>}, {kModerate, kTinyPart<T>}};
}

// Regions of a square root: everywhere, both sides of the cut (x < 0, y
// tiny or zero), the axes, huge and tiny parts.
template <class T>
std::vector<Regions> sqrt_regions() {
  return {{kAnyPart<T>, kAnyPart<T>},   {kModerate, kZeroPart},       {kModerate, kTinyPart<T>},
          {kZeroPart, kModerate},       {kHugePart<T>, kHugePart<T>}, {kTinyPart<T>, kTinyPart<T>},
          {kHugePart<T>, kTinyPart<T>}, {kModerate, kModerate}};
}
// Regions of a sine or cosine inside the limits xmax, ymax: x moderate to
// the limit, y moderate, near the axes, tiny parts.
template <class T>
std::vector<Regions> sin_regions(double xmax, double ymax) {
  return {{{1e-3, 10}, {1e-3, 10}},      {{1e-3, xmax}, {1e-3, ymax}}, {kZeroPart, {1e-3, ymax}},
          {{1e-3, xmax}, kZeroPart},     {kTinyPart<T>, {1e-3, 30}},   {{1e-3, 30}, kTinyPart<T>},
          {{1e-3, 10}, {ymax / 2, ymax}}};
}
template <class T>
std::vector<Regions> sin_radians() {
  return sizeof(T) == 4 ? sin_regions<T>(822999, 89.41) : sin_regions<T>(3.5299e15, 710.47);
}
template <class T>
std::vector<Regions> sin_quadrants() {
  return sizeof(T) == 4 ? sin_regions<T>(523999, 56.91) : sin_regions<T>(2.2499e15, 452.29);
}

const Row<float> kRows8[] = {
    {"g_csqrt", g_csqrt, mpc_sqrt, sqrt_regions<float>(), {0.501}, {0.501}, true},
    {"g_csin", g_csin, mpc_sin, sin_radians<float>(), {0.501, sin_angle}, {0.501, sin_angle}},
    {"g_ccos", g_ccos, mpc_cos, sin_radians<float>(), {0.501, sin_angle}, {0.501, sin_angle}},
    {"g_csinq", g_csinq, sinq, sin_quadrants<float>(), {0.501}, {0.501}},
    {"g_ccosq", g_ccosq, cosq, sin_quadrants<float>(), {0.501}, {0.501}},
    {"g_cexp", g_cexp, mpc_exp, exp_regions<float>(), {0.501, exp_angle}, {0.501, exp_angle}},
    {"g_clog", g_clog, mpc_log, log_regions<float>(), {0.501, log_m8}, {0.501}, true},
};
const Row<double> kRows16[] = {
    {"g_cdsqrt", g_cdsqrt, mpc_sqrt, sqrt_regions<double>(), {0.505}, {0.505}, true},
    {"g_cdsin", g_cdsin, mpc_sin, sin_radians<double>(), {4, sin_angle}, {4, sin_angle}},
    {"g_cdcos", g_cdcos, mpc_cos, sin_radians<double>(), {4, sin_angle}, {4, sin_angle}},
    {"g_cdsinq", g_cdsinq, sinq, sin_quadrants<double>(), {4.3, quadrant_t}, {4.3, quadrant_t}},
    {"g_cdcosq", g_cdcosq, cosq, sin_quadrants<double>(), {4.3, quadrant_t}, {4.3, quadrant_t}},
    {"g_cdexp", g_cdexp, mpc_exp, exp_regions<double>(), {2.2, exp_angle}, {2.2, exp_angle}},
    {"g_cdlog", g_cdlog, mpc_log, log_regions<double>(), {0.501, log_m16}, {0.51}, true},
};

TEST_F(ComplexFunctions, Complex8AgainstMpc) {
  for (const auto &row : kRows8) run(row);
}
TEST_F(ComplexFunctions, Complex16AgainstMpc) {
  for (const auto &row : kRows16) run(row);
}

// ---- Special values and errors ------------------------------------------------

template <class T>
bool same_part(T got, T want) {
  return std::isnan(want) ? std::isnan(got) : bits_of(got) == bits_of(want);
}

// f(z) is `want` bit for bit (a NaN part: any NaN), with the reports `errors`.
template <class C>
void expect_call(const char *name, Entry<C> fn, const C &z, const C &want,
                 std::vector<std::int32_t> errors = {}, std::uint8_t flag = 1) {
  Recorder rec{flag};
  C got;
  fn(&got, &z);
  std::vector<std::int32_t> numbers;
  for (const Report &r : rec.reports) numbers.push_back(r.number);
  EXPECT_TRUE(same_part(got.re, want.re) && same_part(got.im, want.im) && numbers == errors)
      << name << "(" << z.re << ", " << z.im << ") = (" << got.re << ", " << got.im << ") with "
      << numbers.size() << " reports, flag " << int{flag};
}

// A refused z: error `error` reporting `value` (a part, type code of the
// part) or nothing (`value` unused, z in the slot); the handler declines:
// `finite` under infinity flag 0, `ieee` under 1.
template <class C>
struct Fault {
  const char *name;
  Entry<C> fn;
  C z;
  std::int32_t error;
  bool with_value;
  decltype(C{}.re) value;
  C finite, ieee;
};

template <class C>
void check_fault(const Fault<C> &f) {
  using T = decltype(f.z.re);
  for (const std::uint8_t flag : {0, 1}) {
    expect_call(f.name, f.fn, f.z, flag ? f.ieee : f.finite, {f.error}, flag);
    // The slot lives in the reporting frame: read it while the handler runs.
    Recorder rec{flag};
    bool slot_ok = false;
    rec.answer = [&](const Report &r, int) {
      if (f.with_value) {
        slot_ok = bits_of(r.slot_as<T>(1)) == bits_of(f.value);
      } else {
        const C slot = r.slot_as<C>(1);
        slot_ok = same_part(slot.re, f.z.re) && same_part(slot.im, f.z.im);
      }
      return 0;
    };
    C got;
    f.fn(&got, &f.z);
    ASSERT_EQ(rec.reports.size(), 1u) << f.name;
    EXPECT_TRUE(slot_ok) << f.name << ": the argument slot";
    if (f.with_value) {
      const Report &r = rec.reports[0];
      EXPECT_EQ(r.value_count, 1) << f.name;
      EXPECT_EQ(r.value_type[0], kTypeCode<T>) << f.name;
      EXPECT_EQ(bits_of(r.value_as<T>(0)), bits_of(f.value)) << f.name;
    }
  }
}

// A resume: the handler writes `answers` into the slot in turn (a part, or
// z for the logarithms), each reported as `errors` says; the result is f
// of `corrected`, the argument the last answer makes.
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
  EXPECT_EQ(numbers, errors) << name;
  fn(&want, &corrected);
  EXPECT_TRUE(same_part(got.re, want.re) && same_part(got.im, want.im))
      << name << " resumed: (" << got.re << ", " << got.im << ")";
}

constexpr float kPiF = 3.14159265f;
constexpr double kPiD = 3.141592653589793;
constexpr float kL8 = kBigF, kD8 = std::bit_cast<float>(0x7f3504e6u);
const double kD16 = std::bit_cast<double>(std::uint64_t{0x7fe6a09e667f3b99});

TEST_F(ComplexFunctions, ExpLogSpecialValues) {
  const float nf = kNaNF;
  const double nd = kNaND;
  // e^0 = 1 + 0i; a NaN part passes the limits and runs through.
  expect_call<Complex8>("g_cexp", g_cexp, {0, 0}, {1, 0});
  expect_call<Complex16>("g_cdexp", g_cdexp, {-0.0, 0}, {1, 0});
  expect_call<Complex8>("g_cexp", g_cexp, {nf, 0}, {nf, nf});
  expect_call<Complex16>("g_cdexp", g_cdexp, {1, nd}, {nd, nd});
  // g_clog of -1 + 0i returns 0 + pi i; g_datan2 takes -0 as +0, so -1 - 0i
  // too lies on the upper side of the cut.
  expect_call<Complex8>("g_clog", g_clog, {-1, 0}, {0, kPiF});
  expect_call<Complex8>("g_clog", g_clog, {-1, -0.0f}, {0, kPiF});
  expect_call<Complex16>("g_cdlog", g_cdlog, {-1, -0.0}, {0, kPiD});
  expect_call<Complex16>("g_cdlog", g_cdlog, {1, 0}, {0, 0});
  expect_call<Complex16>("g_cdlog", g_cdlog, {-0.0, -2}, {std::log(2.0), -kPiD / 2});
}

TEST_F(ComplexFunctions, ExpLogErrors) {
  const float fi = kInfF, fn = kNaNF;
  const double di = kInfD, dn = kNaND;
  const Fault<Complex8> faults8[] = {
      // g_cexp of 88.722 + 0i raises 232; with the flag clear it returns
      // 3.40282e38 + 0i (L c + L s i); with the flag +-infinity with the
      // sign of c (+ for c >= 0) and with the sign of s.
      {"g_cexp", g_cexp, {88.722f, 0}, 232, true, 88.722f, {kL8, 0}, {fi, fi}},
      {"g_cexp",
       g_cexp,
       {fi, 3},
       232,
       true,
       fi,
       {static_cast<float>(double{kL8} * std::cos(3.0)),
        static_cast<float>(double{kL8} * std::sin(3.0))},
       {-fi, fi}},
      // g_cexp of 0 + 1e6 i raises 233 and returns 1 + 0i with the flag clear.
      {"g_cexp", g_cexp, {0, 1e6f}, 233, true, 1e6f, {1, 0}, {fn, fn}},
      {"g_cexp", g_cexp, {-2, -fi}, 233, true, -fi, {std::exp(-2.0f), 0}, {fn, fn}},
      // Both refused: D + D i, the x error reported.
      {"g_cexp", g_cexp, {100, -1e6f}, 232, true, 100, {kD8, kD8}, {fn, fn}},
      // g_clog of 0 + 0i raises 247 (no values): -3.40282e38 + 0i, or
      // +infinity + NaN i with the flag.
      {"g_clog", g_clog, {-0.0f, 0}, 247, false, 0, {-kL8, 0}, {fi, fn}},
  };
  const Fault<Complex16> faults16[] = {
      {"g_cdexp", g_cdexp, {709.782, -0.0}, 234, true, 709.782, {kBigD, -0.0}, {di, -di}},
      {"g_cdexp",
       g_cdexp,
       {1000, 2},
       234,
       true,
       1000,
       {kBigD * std::cos(2.0), kBigD * std::sin(2.0)},
       {-di, di}},
      {"g_cdexp", g_cdexp, {1, 3.53e15}, 235, true, 3.53e15, {std::exp(1.0), 0}, {dn, dn}},
      {"g_cdexp", g_cdexp, {di, di}, 234, true, di, {kD16, kD16}, {dn, dn}},
      {"g_cdlog", g_cdlog, {0, -0.0}, 248, false, 0, {-kBigD, 0}, {di, dn}},
  };
  for (const auto &f : faults8) check_fault(f);
  for (const auto &f : faults16) check_fault(f);
  // A replacement refused again reports again (x, then y once x passes).
  check_resume<Complex8, float>("g_cexp", g_cexp, {100, 1e6f}, {90, 1, 2}, {232, 232, 233}, {1, 2});
  check_resume<Complex16, double>("g_cdexp", g_cdexp, {1, 4e15}, {5e15, 2}, {235, 235}, {1, 2});
  check_resume<Complex8, Complex8>("g_clog", g_clog, {0, 0}, {{-0.0f, 0}, {-1, 0}}, {247, 247},
                                   {-1, 0});
  check_resume<Complex16, Complex16>("g_cdlog", g_cdlog, {0, 0}, {{0, -0.0}, {0, 2}}, {248, 248},
                                     {0, 2});
}

// ---- Square roots, sines and cosines: special values and errors ------------

TEST_F(ComplexFunctions, SqrtSpecialValues) {
  const float fi = kInfF;
  const double di = kInfD;
  // g_csqrt of -4 + 0i returns 0 + 2i and of -4 - 0i returns -0 + 2i: the
  // sign of a zero imaginary part does not move the result across the cut.
  expect_call<Complex8>("g_csqrt", g_csqrt, {-4, 0}, {0, 2});
  expect_call<Complex8>("g_csqrt", g_csqrt, {-4, -0.0f}, {-0.0f, 2});
  expect_call<Complex16>("g_cdsqrt", g_cdsqrt, {-4, -0.0}, {-0.0, 2});
  // g_csqrt of 0 + 0i returns 0 + 0i without a division (either signs).
  expect_call<Complex8>("g_csqrt", g_csqrt, {-0.0f, -0.0f}, {0, 0});
  expect_call<Complex16>("g_cdsqrt", g_cdsqrt, {-0.0, -0.0}, {0, 0});
  // x < 0, y < 0: v negated, u = (1/2 / v) y.
  expect_call<Complex16>("g_cdsqrt", g_cdsqrt, {-4, -1e-300}, {2.5e-301, -2});
  expect_call<Complex16>("g_cdsqrt", g_cdsqrt, {3, 4}, {2, 1});
  // Infinite parts through the formula.
  expect_call<Complex8>("g_csqrt", g_csqrt, {fi, 1}, {fi, 0});
  expect_call<Complex16>("g_cdsqrt", g_cdsqrt, {-di, -1}, {0, -di});
  // Complex32: a part with word 3 exactly 0x80000000 becomes +0 first, so
  // -4 - 0i gives +0 + 2i; a zero modulus gives +0 + 0i.
  const Complex32 cases[][2] = {
      {{real16(0xc0010000), real16(kSign16, 1, 2, 3)}, {kZero, real16(0x40000000)}},
      {{real16(0xc0010000), kZero}, {kZero, real16(0x40000000)}},
      {{real16(kSign16, 5), real16(kSign16)}, {kZero, kZero}},
      {{real16(0x40010000), kZero}, {real16(0x40000000), kZero}},              // 4: 2 + 0i
      {{real16(0x40008000), real16(0x40010000)}, {real16(0x40000000), kOne}},  // 3 + 4i: 2 + i
  };
  for (const auto &c : cases) {
    Complex32 got;
    ASSERT_EQ(g_cqsqrt(&got, &c[0]), &got);
    EXPECT_TRUE(oracle::same_bits(got.re, c[1].re) && oracle::same_bits(got.im, c[1].im))
        << show(c[0].re) << ", " << show(c[0].im) << ": " << show(got.re) << ", " << show(got.im);
  }
}

// The Complex32 square root against MPC, parts 8000 binades around 1 (no
// step underflows or overflows: no report), zero patterns among them.
TEST_F(ComplexFunctions, Complex32SqrtAgainstMpc) {
  Recorder rec{1, 1, 0};
  oracle::WorstCase worst;
  for (std::uint64_t i = 0; i < scaled(20000); ++i) {
    auto part = [&] {
      return s.below(6) == 0 ? real16(s.bits() & kSign16, s.below32(3))
                             : s.with_exponent(0x3fff - 4000 + s.below32(8000));
    };
    const Complex32 z = {part(), part()};
    Complex32 got;
    g_cqsqrt(&got, &z);
    mpc_t exact, w;
    mpc_init2(exact, oracle::kPrecision), mpc_init2(w, oracle::kPrecision);
    oracle::set_real16(mpc_realref(w), z.re), oracle::set_real16(mpc_imagref(w), z.im);
    // Zero parts are +0 (the -0 patterns are replaced).
    if (mpfr_zero_p(mpc_realref(w))) mpfr_set_zero(mpc_realref(w), 1);
    if (mpfr_zero_p(mpc_imagref(w))) mpfr_set_zero(mpc_imagref(w), 1);
    mpc_sqrt(exact, w, MPC_RNDNN);
    const double e[2] = {part_error(got.re, mpc_realref(exact)),
                         part_error(got.im, mpc_imagref(exact))};
    mpc_clear(exact), mpc_clear(w);
    for (const double err : e) {
      worst.add(err, 0);
      if (!(err <= 3))
        fail("g_cqsqrt(" + show(z.re) + ", " + show(z.im) + ") = " + show(got.re) + ", " +
             show(got.im) + ": " + std::to_string(err) + " ulp");
    }
  }
  EXPECT_TRUE(rec.reports.empty());
  std::printf("g_cqsqrt: %s\n", worst.describe().c_str());
}

TEST_F(ComplexFunctions, SinCosSpecialValues) {
  // sin 0 = 0 + 0i; cos 0 = 1 - 0i (the imaginary part -(s sh)).
  expect_call<Complex8>("g_csin", g_csin, {0, 0}, {0, 0});
  expect_call<Complex8>("g_ccos", g_ccos, {0, 0}, {1, -0.0f});
  expect_call<Complex16>("g_cdcos", g_cdcos, {0, -0.0}, {1, 0});
  // Quadrant units are exact at the right angles: cos(pi/2) = 0 - 0i,
  // sin(pi) = 0 (the pair's -S(0) = -0 times cosh 0) + 0i.
  expect_call<Complex8>("g_ccosq", g_ccosq, {1, 0}, {0, -0.0f});
  expect_call<Complex16>("g_cdcosq", g_cdcosq, {1, 0}, {0, -0.0});
  expect_call<Complex16>("g_cdsinq", g_cdsinq, {2, 0}, {-0.0, -0.0});
}

// The errors of a sine or cosine entry, the handler declining, from the
// definition's default table; refused parts `xbig`, `ybig`.
template <class T>
void check_sin_cos_faults(const char *name, Entry<ComplexOf<T>> fn, bool cosine, bool quadrant,
                          T xbig, T ybig, std::int32_t x_error, std::int32_t y_error) {
  using C = ComplexOf<T>;
  using W = std::conditional_t<sizeof(T) == 4, double, long double>;
  using Pair = C *(*)(C *, const T *);
  Pair circular, hyperbolic;
  if constexpr (sizeof(T) == 4) {
    circular = quadrant ? g_scnsq : g_scns, hyperbolic = quadrant ? g_scnhq : g_scnh;
  } else {
    circular = quadrant ? g_dscnq : g_dscn, hyperbolic = quadrant ? g_dschq : g_dsch;
  }
  const T nan = std::numeric_limits<T>::quiet_NaN(), inf = std::numeric_limits<T>::infinity();
  const T D = sizeof(T) == 4 ? static_cast<T>(kD8) : static_cast<T>(kD16);
  const W H = sizeof(T) == 4 ? W{std::bit_cast<float>(0x7effffeeu)}
                             : W{std::bit_cast<double>(std::uint64_t{0x7fdfffffffffffb6})};
  const W r = kSqrtHalfD;
  const T small = T(0.5);
  C h, sc;
  hyperbolic(&h, &small), circular(&sc, &small);
  // x only: r ch + (r sh) i (cosine: - (r sh) i); NaN + NaN i with the flag.
  const C x_only = {static_cast<T>(r * W{h.im}),
                    static_cast<T>(cosine ? -(r * W{h.re}) : r * W{h.re})};
  // y only: H s + (H c) i (cosine: H c - (H s) i), the imaginary part
  // negated for y < 0; infinities with the same signs under the flag.
  C y_only = cosine ? C{static_cast<T>(H * W{sc.im}), static_cast<T>(-(H * W{sc.re}))}
                    : C{static_cast<T>(H * W{sc.re}), static_cast<T>(H * W{sc.im})};
  const C y_inf = {std::copysign(inf, y_only.re), std::copysign(inf, y_only.im)};
  const Fault<C> rows[] = {
      // Both refused: sin D + D i, -D for y < 0; cos D - D i for y > 0, D + D i otherwise.
      {name, fn, {xbig, ybig}, x_error, true, xbig, {D, cosine ? -D : D}, {nan, nan}},
      {name, fn, {-xbig, -ybig}, x_error, true, -xbig, {D, cosine ? D : -D}, {nan, nan}},
      {name, fn, {xbig, small}, x_error, true, xbig, x_only, {nan, nan}},
      {name, fn, {small, ybig}, y_error, true, ybig, y_only, y_inf},
      {name,
       fn,
       {small, -inf},
       y_error,
       true,
       -inf,
       {y_only.re, -y_only.im},
       {y_inf.re, -y_inf.im}},
  };
  for (const auto &f : rows) check_fault(f);
  // Resume: x refused, replaced by a refused x, then by 1; then y refused,
  // replaced by 2.
  check_resume<C, T>(name, fn, {xbig, ybig}, {xbig * 2, 1, 2}, {x_error, x_error, y_error}, {1, 2});
}

TEST_F(ComplexFunctions, SinCosErrors) {
  check_sin_cos_faults<float>("g_csin", g_csin, false, false, 1e6f, 100, 205, 206);
  check_sin_cos_faults<float>("g_ccos", g_ccos, true, false, 823000, 89.415f, 205, 206);
  check_sin_cos_faults<float>("g_csinq", g_csinq, false, true, 524000, 56.92f, 1407, 1408);
  check_sin_cos_faults<float>("g_ccosq", g_ccosq, true, true, 1e7f, 60, 1407, 1408);
  check_sin_cos_faults<double>("g_cdsin", g_cdsin, false, false, 3.53e15, 710.4749755859375, 207,
                               208);
  check_sin_cos_faults<double>("g_cdcos", g_cdcos, true, false, 1e300, 800, 207, 208);
  check_sin_cos_faults<double>("g_cdsinq", g_cdsinq, false, true, 2.25e15, 452.3, 1409, 1410);
  check_sin_cos_faults<double>("g_cdcosq", g_cdcosq, true, true, 3e15, kInfD, 1409, 1410);
}

}  // namespace
