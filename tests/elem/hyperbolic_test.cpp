// The hyperbolic functions and the paired routines, one property table per
// type. A pair is two rows, one per stored value (support::part, which also
// checks the hidden result address): g_scnh, g_dsch, g_scns, g_dscn and
// g_scnsq must give the single functions' bits; the others go to MPFR.
//
// Bounds in ulps, sinh / cosh, per range of |x|:
//   to 1: the series (0.69 / 0.06 Real4, 0.066 / 0.29 Real8) rounded once.
//   to 8.32, 18.4: E = e^|x| rounded before E/2 -+ 1/(2E), sinh carrying it
//     times coth|x|: 1.85 / 1.1; g_scnhq keeps E in the register: 0.51.
//   to 88.722, 709.782: e^|x|/2 rounded once plus the term left out: 1.01;
//     Real8 the processor's e^|x| (0.35 ulp) and the term: 1.2.
//   to the limit: (h/2) h, h = e^(|x|/2): Real4 0.51, Real8 twice h's: 1.2.
//   q forms: plus the error of t = |x| pi/2 (quadrant_t_error).
//   tanh: rational forms 0.8 / 0.55; e^(-2|x|) in the register 0.51; the
//     constant 1.0 from 9 (0.511 ulp) and 18.369 (1.998 ulp, to 19.06).
//   g_dscnq: series 0.1 / 0.2 ulp after an exact reduction: 0.7.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "support/family_table.h"
#include "support/ieee_constants.h"

namespace {

using namespace support;

template <oracle::Fn1 f>
int at_quadrant(mpfr_ptr out, mpfr_srcptr x, mpfr_rnd_t rnd) {  // f(x pi/2)
  oracle::Big t;
  mpfr_const_pi(t, rnd);
  mpfr_mul(t, t, x, rnd);
  mpfr_div_2ui(t, t, 1, rnd);
  return f(out, t, rnd);
}

// t = |x| pi/2 is rounded to the type and uses a rounded pi/2: a relative
// error up to 2^-24 + 2.79e-8 (Real4, 1.5707964) or 2^-53 + 3.9e-17 (Real8,
// hpi), which sinh and cosh carry multiplied by t coth t or t tanh t.
template <class T, bool kSine>
double quadrant_t_error(double x, double value) {
  const double delta = sizeof(T) == 4 ? 0x1p-24 + 2.79e-8 : 0x1p-53 + 3.9e-17;
  const double t = x * 1.5707963267948966;
  const double gain = kSine ? (t == 0 ? 1 : t / std::tanh(t)) : t * std::tanh(t);
  return delta * gain * std::fabs(value) / ulp_of<T>(std::fabs(value));
}

// Both sides of each switch point in `ends`; the last (the limit) reports.
template <class T>
std::vector<T> sides(std::vector<double> ends) {
  std::vector<T> p(ends.begin(), ends.end() - 1);
  for (const double e : ends) p.push_back(std::nextafter(static_cast<T>(e), T{0}));
  return p;
}

// A sinh (odd, its defaults signed) or cosh (even) row: ranges through the
// switch points `ends` with a bound each, both sides of each, and `beyond`
// reported with the defaults the substitute and `ieee`.
template <class T>
Row<T> sinh_cosh(const char *name, Unary<T> fn, oracle::Fn1 exact, bool sine,
                 const std::vector<double> &ends, std::vector<double> bounds,
                 const std::vector<T> &beyond, std::int32_t error, T ieee) {
  Row<T> r = row(name, fn, exact, between(0, ends, std::move(bounds)))
                 .checked_at(sides<T>(ends))
                 .reports(faults<T>(beyond, error, T(sizeof(T) == 4 ? kBigF : kBigD), ieee, sine));
  r.symmetry = sine ? Symmetry::odd : Symmetry::even;
  return r;
}

// A value of a pair entry that gives the single function's bits, -0.0
// included (`at_zero`), and reports as it does.
template <class T>
Row<T> twin(const char *name, Unary<T> part, Unary<T> single, std::vector<Interval> ranges,
            T at_zero, const std::vector<Fault<T>> &reported) {
  return row(name, part, nullptr, std::move(ranges))
      .same_as(single)
      .exactly({{T(-0.0), at_zero}})
      .reports(reported);
}

// Real4: the switch points of g_sinh, g_cosh, g_scnh (1 included, 8.32,
// 88.722, the limit 89.415) and of g_scnhq (0.63661975, 5.3, 56.482,
// 56.923); beyond the limits, infinities and NaNs error 223.
const std::vector<double> kEnds4 = {f32(0x3f800001), f32(0x41051eb8), f32(0x42b171aa),
                                    f32(0x42b2d47b)};
const std::vector<double> kEndsQ4 = {f32(0x3f22f983), f32(0x40a9999a), f32(0x4261ed91),
                                     f32(0x4263b127)};
const std::vector<float> kBeyond4 = {f32(0x42b2d47b), -90, kInfF, -kInfF, kNaNF, kMNaNF};
const std::vector<float> kBeyondQ4 = {f32(0x4263b127), -60, kInfF, kNaNF};
const std::vector<Interval> kPairRange4 = {{1e-6, 89.415, 0, kLog}, {-89.415, 0, 0}};
// g_scns: |x| at or above 823000, infinities and (unlike g_sin) NaNs: error
// 202, both values 0.70710677, or NaN with the flag.
const std::vector<Interval> kScnsRange = {{-1, 1, 0}, {-823000, 823000, 0}};
const std::vector<Interval> kScnsqRange = {{-1, 1, 0}, {-0x1p23, 0x1p23, 0}, {-3e38, 3e38, 0}};
const auto kScnsFaults = faults<float>({823000, -3.4e38f, -kInfF, kNaNF}, 202, kSqrtHalfF, kNaNF);

const Row<float> kReal4[] = {
    sinh_cosh<float>("g_sinh", g_sinh, mpfr_sinh, true, kEnds4, {1.2, 1.85, 1.01, 0.51}, kBeyond4,
                     223, kInfF)
        .exactly({{-0.0f, -0.0f}, {1e-30f, 1e-30f}, {0x1p-149f, 0x1p-149f}}),
    sinh_cosh<float>("g_cosh", g_cosh, mpfr_cosh, false, kEnds4, {0.6, 1.1, 1.01, 0.51}, kBeyond4,
                     223, kInfF)
        .exactly({{-0.0f, 1}, {1e-30f, 1}}),
    row("g_tanh", g_tanh, mpfr_tanh, between(0, {f32(0x3f800001), 9, 20}, {0.8, 0.51, 0.512}))
        .odd()
        .checked_at(sides<float>({f32(0x3f800001), 9, 20}))
        .exactly({{-0.0f, 0}, {0x1p-149f, 0x1p-149f}})  // a zero gives +0
        // from 9.0 on 1.0 with the sign of x; a NaN is beyond every range: 1.0
        .exactly({{9, 1}, {-20, -1}, {-kInfF, -1}, {kNaNF, 1}, {kMNaNF, 1}}),
    twin<float>("g_scnh sinh", part<g_scnh, 0>, g_sinh, kPairRange4, -0.0f,
                faults<float>(kBeyond4, 223, kBigF, kInfF, true)),
    twin<float>("g_scnh cosh", part<g_scnh, 1>, g_cosh, kPairRange4, 1,
                faults<float>(kBeyond4, 223, kBigF, kInfF, false)),
    // The quadrant pair's defaults are the finite values whatever the flag.
    sinh_cosh<float>("g_scnhq sinh", part<g_scnhq, 0>, at_quadrant<mpfr_sinh>, true, kEndsQ4,
                     {1.2, 0.51, 1.01, 0.51}, kBeyondQ4, 223, kBigF)
        .widened_by(quadrant_t_error<float, true>)
        .exactly({{-0.0f, -0.0f}}),
    sinh_cosh<float>("g_scnhq cosh", part<g_scnhq, 1>, at_quadrant<mpfr_cosh>, false, kEndsQ4,
                     {1.2, 0.51, 1.01, 0.51}, kBeyondQ4, 223, kBigF)
        .widened_by(quadrant_t_error<float, false>)
        .exactly({{-0.0f, 1}}),
    twin<float>("g_scns sin", part<g_scns, 0>, g_sin, kScnsRange, -0.0f, kScnsFaults),
    twin<float>("g_scns cos", part<g_scns, 1>, g_cos, kScnsRange, 1, kScnsFaults),
    // g_scnsq never reports: from 2^23 on, infinities and NaNs included, it
    // gives the values of the integers.
    row("g_scnsq sin", part<g_scnsq, 0>, nullptr, kScnsqRange)
        .same_as(g_sinq)
        .exactly({{kInfF, 0}, {-kInfF, -0.0f}, {kNaNF, 0}}),
    row("g_scnsq cos", part<g_scnsq, 1>, nullptr, kScnsqRange)
        .same_as(g_cosq)
        .exactly({{kInfF, 1}, {-kInfF, 1}, {kNaNF, 1}}),
};

// Real8: the switch points of g_dsinh, g_dcosh, g_dsch (1, 18.4, 709.782,
// the limit 710.475) and of g_dschq (0.63661977, 11.7, 451.861, 452.302);
// beyond the limits, infinities and NaNs error 224.
const std::vector<double> kEnds8 = {1, 0x1.2666p+4, 709.782, 710.475};
const std::vector<double> kEndsQ8 = {0.63661977, 11.7, 451.861, 452.302};
const std::vector<double> kBeyond8 = {710.475, -1e300, -kInfD, kNaND};
const std::vector<double> kBeyondQ8 = {452.302, -1000, kNaND};
const std::vector<Interval> kPairRange8 = {{1e-6, 710.475, 0, kLog}, {-710.475, 0, 0}};
// g_dscnq: half-integers, where the reduction picks between two quadrants;
// |x| at or above 2.25e15, infinities and NaNs error 203 with both values
// 0.7071067811865476 whatever the flag.
const std::vector<Interval> kRangesQ8 = {
    {-1, 1, 0.7}, {-100, 100, 0.7}, {-2.25e15, -1e6, 0.7}, {1e6, 2.25e15, 0.7, kLog}};
const std::vector<double> kPointsQ8 = {0.5, -0.5, 1.5, -2.5, 3.5, 1e6 + 0.5, 0x1.ff973cafa7fffp50};
// g_dscn: |x| at or above 3.53e15, infinities and NaNs: error 203, both
// values 0.7071067811865476, or NaN with the flag.
const std::vector<Interval> kDscnRange = {{-1, 1, 0}, {-1e5, 1e5, 0}, {-3.53e15, 3.53e15, 0}};
const auto kDscnFaults = faults<double>({3.53e15, -1e300, kInfD, kNaND}, 203, kSqrtHalfD, kNaND);
const auto kFaultsQ8 =
    faults<double>({2.25e15, -0x1p60, -kInfD, kNaND}, 203, kSqrtHalfD, kSqrtHalfD);

const Row<double> kReal8[] = {
    sinh_cosh<double>("g_dsinh", g_dsinh, mpfr_sinh, true, kEnds8, {0.6, 1.85, 1.2, 1.2}, kBeyond8,
                      224, kInfD)
        .exactly({{-0.0, -0.0}, {1e-300, 1e-300}, {-0x1p-1074, -0x1p-1074}}),
    sinh_cosh<double>("g_dcosh", g_dcosh, mpfr_cosh, false, kEnds8, {0.75, 1.1, 1.2, 1.2}, kBeyond8,
                      224, kInfD)
        .exactly({{-0.0, 1}, {-1e-10, 1}}),
    row("g_dtanh", g_dtanh, mpfr_tanh,
        between(0, {1 + 0x1p-52, 18.369, 19.1, 40}, {0.55, 0.51, 2.0, 0.5}))
        .odd()
        .checked_at(sides<double>({1 + 0x1p-52, 18.369, 40}))
        .exactly({{-0.0, 0}, {1e-300, 1e-300}})  // a zero gives +0
        // from 18.369 on 1.0 with the sign of x; a NaN computes
        .exactly({{18.369, 1}, {-1e300, -1}, {kInfD, 1}, {kNaND, kNaND}, {kMNaND, kNaND}}),
    twin<double>("g_dsch sinh", part<g_dsch, 0>, g_dsinh, kPairRange8, -0.0,
                 faults<double>(kBeyond8, 224, kBigD, kInfD, true)),
    twin<double>("g_dsch cosh", part<g_dsch, 1>, g_dcosh, kPairRange8, 1,
                 faults<double>(kBeyond8, 224, kBigD, kInfD, false)),
    sinh_cosh<double>("g_dschq sinh", part<g_dschq, 0>, at_quadrant<mpfr_sinh>, true, kEndsQ8,
                      {0.75, 1.85, 1.2, 1.2}, kBeyondQ8, 224, kBigD)
        .widened_by(quadrant_t_error<double, true>)
        .exactly({{-0.0, -0.0}}),
    sinh_cosh<double>("g_dschq cosh", part<g_dschq, 1>, at_quadrant<mpfr_cosh>, false, kEndsQ8,
                      {0.75, 1.85, 1.2, 1.2}, kBeyondQ8, 224, kBigD)
        .widened_by(quadrant_t_error<double, false>)
        .exactly({{-0.0, 1}}),
    twin<double>("g_dscn sin", part<g_dscn, 0>, g_dsin, kDscnRange, -0.0, kDscnFaults),
    twin<double>("g_dscn cos", part<g_dscn, 1>, g_dcos, kDscnRange, 1, kDscnFaults),
    // At the multiples of a right angle 0 and 1 exactly, with the signs the
    // quadrant places on S(0) = +0 and C(0) = 1.
    row("g_dscnq sin", part<g_dscnq, 0>, oracle::sinq, kRangesQ8)
        .checked_at(kPointsQ8)
        .exactly({{0, 0}, {1, 1}, {2, -0.0}, {3, -1}, {-1, -1}, {-3, 1}, {1e6 + 3, -1}})
        .reports(kFaultsQ8),
    row("g_dscnq cos", part<g_dscnq, 1>, oracle::cosq, kRangesQ8)
        .checked_at(kPointsQ8)
        .exactly({{-0.0, 1}, {1, 0}, {2, -1}, {3, 0}, {-1, 0}, {-3, -0.0}, {1e6 + 3, 0}})
        .reports(kFaultsQ8),
};

VEXMORG_TABLE(Hyperbolic, Real4, kReal4, 20000);
VEXMORG_TABLE(Hyperbolic, Real8, kReal8, 20000);

}  // namespace
