// Arc tangents in degrees and quadrant units (a right angle is 1):
// g_atand, g_atanq, g_atan2d, g_atan2q (Real4), g_datand, g_datanq,
// g_dtan2d, g_dtan2q (Real8).
//
// Method of the one-argument forms: coefficients already in the unit (no
// radian result is converted), the x87 register, one rounding at the end.
// The sign of x is put back on the arc tangent of |x| (Real8 next to a
// breakpoint keeps it in c and u instead).
//   small |x|    an odd series of x, below 1/8;
//   middle |x|   a breakpoint c next to |x| (|x| rounded to two fraction
//                bits, Real4, 1/8 to 8; to three or four, Real8, 1/8 to
//                32), u = (|x| - c) / (c |x| + 1) and
//                atan |x| = atantbl(c) + atan u, with atan u an odd series
//                of u; Real4 also takes c = 15 from 8 to 16 (at15 is
//                -atan 15);
//   large |x|    the quarter turn minus the series of 1/|x| (Real4 from 16
//                to 2^24, Real8 from 32 to 2^53);
//   beyond       the quarter turn, also for infinities and NaNs (signed by
//                the sign bit).
// atantbl comes from tools/tables/gen_atan.cpp (atan_table.h): the Real4
// entries and the Real8 high parts are the nearest Real8, the low parts the
// nearest Real8 to the remainder. (The first Real8 entry, atan(1/8) in
// degrees, has the high part 7.1250163489017977; the shorter decimal
// 7.125016348901795 reads back three units below it.)
//
// The two-argument forms (y, x) go through the one-argument form of y/x,
// rounded to the argument type, while |y| is at most 2^24 (Real4) or about
// 2^56 (Real8) times |x|, adding or subtracting the half turn for x < 0 (by
// the sign of y, y >= 0 adding). Beyond that, or for x = 0, the result is
// the quarter turn signed by y > 0.
//
// Errors: y and x both zero, error 1369 (g_atan2d), 1359 (g_atan2q), 1370
// (g_dtan2d), 1360 (g_dtan2q); both argument slots (y, then x) and no
// values reported; default 0.0, or a NaN with the infinity flag. The
// one-argument forms have none.
//
// The quadrant-unit Real4 coefficients other than pc0, pb0 and at15 are
// the degree ones divided by 90 (the short series rounded to Real4, as the
// degree one is).
//
// Accuracy against MPFR (inverse_trig_test, which states why), by analysis
// of the table, the series and the one rounding: Real4 within 0.55 ulp;
// Real8 within 0.55 ulp, but 0.85 (degrees) and 1.1 ulp (quadrant units)
// below 1/8, where the leading coefficient is 180/pi or 2/pi rounded; the
// quarter turn of the largest arguments within 0.64 ulp.
#include <cstdint>

#include "common/bits.h"
#include "common/horner.h"
#include "elem/inverse_trig/tables/atan_table.h"
#include "frame/ieee_constants.h"
#include "frame/resume.h"

namespace vx {
namespace {

using ld = long double;

constexpr float c15 = 15.0f;  // 0x41700000: the breakpoint from 8 to 16
constexpr double c1 = 1.0;    // 0x3FF0000000000000

// ---- Real4 -----------------------------------------------------------------

// x (pc0 + pc1 t + ... + pc4 t^4), t = x^2: atan x for |x| < 1/8.
// u (pb0 + pb1 w + pb2 w^2), w = u^2: atan u for |u| <= 1/16.
struct Degrees4 {
  static constexpr double pc0 = 57.29577950437288;    // 0x404CA5DC1A510DE7
  static constexpr float pc1 = -19.098587f;           // 0xC198C9E8
  static constexpr float pc2 = 11.458279f;            // 0x4137551C
  static constexpr float pc3 = -8.14532f;             // 0xC102533B
  static constexpr float pc4 = 5.618016f;             // 0x40B3C6C9
  static constexpr double pb0 = 57.29578;             // 0x404CA5DC1E7967CB
  static constexpr double pb1 = -19.098522;           // 0xC0331938BCDFEFBF
  static constexpr double pb2 = 11.411262;            // 0x4026D290EED02CD4
  static constexpr double at15 = -86.18592516570965;  // 0xC0558BE632AA8E7C: -atan 15
  static constexpr float hpi = 90.0f;                 // quarter turn
  static constexpr float half = 180.0f;
  static constexpr std::int32_t atan2_error = err::kAtan2dZero;
  static constexpr const double *atantbl = atantbl_degrees4;
};

struct Quadrants4 {
  static constexpr double pc0 = 0.636619772367476;     // 0x3FE45F306DC9C4CE
  static constexpr float pc1 = -0.212206528f;          // 0xBE594CAB
  static constexpr float pc2 = 0.12731421f;            // 0x3E025EA8
  static constexpr float pc3 = -0.0905035585f;         // 0xBDB959EE
  static constexpr float pc4 = 0.0624223985f;          // 0x3D7FAEA1
  static constexpr double pb0 = 0.6366197721934277;    // 0x3FE45F306DB1D906
  static constexpr double pb1 = -0.2122058;            // 0xBFCB298F4582C110
  static constexpr double pb2 = 0.1267918;             // 0x3FC03AB6B5335314
  static constexpr double at15 = -0.9576213907301072;  // 0xBFEEA4D59D6458DE: -atan 15
  static constexpr float hpi = 1.0f;                   // quarter turn
  static constexpr float half = 2.0f;
  static constexpr std::int32_t atan2_error = err::kAtan2qZero;
  static constexpr const double *atantbl = atantbl_quadrants4;
};

template <class U>
ld kernel4(ld u) {
  const ld w = u * u;
  return u * (U::pb0 + w * (U::pb1 + w * U::pb2));
}

template <class U>
ld arctan4(float x) {
  const std::uint32_t ix = bits(x) & 0x7fffffff;
  const float ax = real4_from_bits(ix);
  const int e = static_cast<int>(ix >> 23) - 127;  // unbiased exponent of |x|
  if (e < -3) {                                    // |x| < 1/8, zero and subnormals included
    const ld t = ld{x} * x;
    return x * (U::pc0 + t * (U::pc1 + t * (U::pc2 + t * (U::pc3 + t * U::pc4))));
  }
  ld r;
  if (e <= 2) {  // 1/8 <= |x| < 8: c = |x| rounded to two fraction bits
    const std::uint32_t k = (ix + 0x100000) >> 21;
    const float c = real4_from_bits(k << 21);
    const ld u = (ax - ld{c}) / (ld{c} * ax + c1);
    r = kernel4<U>(u) + U::atantbl[k - 496];
  } else if (e == 3) {  // 8 <= |x| < 16: c = 15
    const ld u = (ax - ld{c15}) / (ld{c15} * ax + c1);
    r = kernel4<U>(u) - U::at15;
  } else if (e >= 24) {  // |x| >= 2^24, infinities and NaNs: the quarter turn
    r = U::hpi;
  } else {  // 16 <= |x| < 2^24: the quarter turn minus atan(1/|x|)
    r = U::hpi - kernel4<U>(1 / ld{ax});
  }
  return ix == bits(x) ? r : -r;  // the sign of x, by its sign bit
}

// ---- Real8 -----------------------------------------------------------------

// Odd series of the groups: x pa(x^2) for |x| < 1/8; u pb(u^2), u pc(u^2),
// u pd(u^2) next to the breakpoints (1/8 to 1/2, 1/2 to 8, 8 to 32); the
// quarter turn minus v pe(v^2), v = 1/x, from 32 on.
struct Degrees8 {
  static constexpr double pa[8] = {
      57.29577951308232,   // 0x404CA5DC1A63C1F8: 180/pi
      -19.09859317102744,  // 0xC033193D66ED2BFA
      11.459155902612643,  // 0x4026EB167B82F92C
      -8.185111357056886,  // 0xC0205EC6EA715AE2
      6.366197231660463,   // 0x401976FC6837783E
      -5.208639877136122,  // 0xC014D5A5B123C3B0
      4.402247537112507,   // 0x40119BE6C7432DD7
      -3.615878807586351,  // 0xC00CED51DE471016
  };
  static constexpr double pb[4] = {
      57.29577951308232,    // 0x404CA5DC1A63C1F8
      -19.098593171027076,  // 0xC033193D66ED2B94
      11.459155872870047,   // 0x4026EB167A837C83
      -8.184333320531474,   // 0xC0205E60EFDE7DD5
  };
  static constexpr double pc[4] = {
      57.29577951308232,    // 0x404CA5DC1A63C1F8
      -19.098593171004083,  // 0xC033193D66ED124C
      11.459155426808534,   // 0x4026EB166B8BD8DF
      -8.181999863791098,   // 0xC0205D2F160DB7EC
  };
  static constexpr double pd[3] = {
      57.29577951308232,    // 0x404CA5DC1A63C1F8
      -19.098593169947574,  // 0xC033193D66E888A7
      11.458968152032135,   // 0x4026EAFDDFA5C464
  };
  static constexpr double pe[5] = {
      57.29577951308232,   // 0x404CA5DC1A63C1F8
      -19.09859317102698,  // 0xC033193D66ED2B79
      11.459155898834625,  // 0x4026EB167B628539
      -8.185100512993587,  // 0xC0205EC57E938F81
      6.353498723812787,   // 0x401969FB91C7D08B
  };
  static constexpr double hpi = 90.0;     // quarter turn
  static constexpr double mhpi1 = -90.0;  // minus the quarter turn
  static constexpr double half = 180.0;
  static constexpr std::int32_t atan2_error = err::kDtan2dZero;
  static constexpr const DoubleDouble *atantbl = atantbl_degrees8;
};

struct Quadrants8 {
  static constexpr double pa[8] = {
      0.6366197723675814,    // 0x3FE45F306DC9C883: 2/pi
      -0.21220659078919374,  // 0xBFCB2995E7B7B602
      0.1273239544734738,    // 0x3FC04C26BE3B00D5
      -0.09094568174507651,  // 0xBFB7483758CEBA25
      0.07073552479622736,   // 0x3FB21BB92DAA4A20
      -0.05787377641262357,  // 0xBFADA1A1B1F9F9DD
      0.048913861523472296,  // 0x3FA90B3CD720F73C
      -0.0401764311954039,   // 0xBFA49201541BC72C
  };
  // One group serves from 1/8 to 8.
  static constexpr double pc[4] = {
      0.6366197723675814,    // 0x3FE45F306DC9C883
      -0.21220659078893428,  // 0xBFCB2995E7B7917E
      0.1273239491867615,    // 0x3FC04C26B2E09A38
      -0.09091110959767888,  // 0xBFB745F35290AA8F
  };
  static constexpr const double (&pb)[4] = pc;
  static constexpr double pd[3] = {
      0.6366197723675814,    // 0x3FE45F306DC9C883
      -0.21220659077719525,  // 0xBFCB2995E7B11D5F
      0.1273218683559126,    // 0x3FC04C153E53BEDB
  };
  static constexpr double pe[5] = {
      0.6366197723675814,    // 0x3FE45F306DC9C883
      -0.21220659078918866,  // 0xBFCB2995E7B7B54B
      0.12732395443149586,   // 0x3FC04C26BE23ECF6
      -0.09094556125548431,  // 0xBFB74835534F04FC
      0.07059443026458652,   // 0x3FB2127A01442285
  };
  static constexpr double hpi = 1.0;     // quarter turn
  static constexpr double mhpi1 = -1.0;  // minus the quarter turn
  static constexpr double half = 2.0;
  static constexpr std::int32_t atan2_error = err::kDtan2qZero;
  static constexpr const DoubleDouble *atantbl = atantbl_quadrants8;
};

template <class U>
ld arctan8(double x) {
  const std::uint32_t h = high_word(x);
  const std::uint32_t e = (h >> 20) & 0x7ff;  // biased exponent
  if (e < 1020) {                             // |x| < 1/8, zero and subnormals included
    return x * horner(U::pa, ld{x} * x);
  }
  if (e <= 1027) {  // 1/8 <= |x| < 32: breakpoint c and u = (x - c) / (c x + 1)
    const std::uint32_t ha = h & 0x7ffff000;  // sign bit and low 12 bits cleared
    std::uint32_t hc, index;
    if (e == 1020) {  // three fraction bits
      hc = (h + 0x10000) & ~std::uint32_t{0x1ffff};
      index = (ha - 0x3fbf0000) >> 17;
    } else {  // four fraction bits
      hc = (h + 0x8000) & ~std::uint32_t{0xffff};
      index = (ha - 0x3fc78000) >> 16;
    }
    const double c = real8_from_words(hc, 0);  // signed like x
    const ld u = (x - ld{c}) / (ld{c} * x + c1);
    const ld w = u * u;
    const ld tail = u * (e <= 1021   ? horner(U::pb, w)
                         : e <= 1025 ? horner(U::pc, w)
                                     : horner(U::pd, w));
    const DoubleDouble &t = U::atantbl[index];
    return x < 0 ? (tail - t.low) - t.high : (tail + t.low) + t.high;
  }
  if (e <= 1075) {  // 32 <= |x| < 2^53: the quarter turn minus atan(1/x)
    const ld v = 1 / ld{x};
    const ld tail = v * horner(U::pe, v * v);
    return (x < 0 ? U::mhpi1 : U::hpi) - tail;
  }
  return h >> 31 ? U::mhpi1 : U::hpi;  // |x| >= 2^53, infinities and NaNs
}

// ---- Two arguments ---------------------------------------------------------

// How far |y| lies above |x|: the difference of their bit patterns (Real4)
// or high words (Real8), read as signed numbers.
std::int32_t magnitude_gap(float y, float x) {
  return static_cast<std::int32_t>(bits(y) & 0x7fffffff) -
         static_cast<std::int32_t>(bits(x) & 0x7fffffff);
}
std::int32_t magnitude_gap(double y, double x) {
  return static_cast<std::int32_t>(high_word(y) & 0x7fffffff) -
         static_cast<std::int32_t>(high_word(x) & 0x7fffffff);
}

template <class T>
constexpr std::int32_t kMaxGap = sizeof(T) == 4 ? 0x0c000000   // 24 binades
                                                : 0x03800000;  // 56 binades

template <class T, class U, ld (*kArcTan)(T)>
Attempt<T> arctan2(T y, T x) {
  // x nonzero (a NaN counts) and |y| not too far above |x|: through y/x
  if (x != 0 && magnitude_gap(y, x) <= kMaxGap<T>) {
    const T q = y / x;  // rounded to the argument type
    const ld r = kArcTan(q);
    if (!(x < 0)) return result(static_cast<T>(r));
    return result(static_cast<T>(y >= 0 ? r + U::half : r - U::half));
  }
  // otherwise, y nonzero (a NaN counts): the quarter turn, signed by y > 0
  if (y != 0) return result(static_cast<T>(y > 0 ? U::hpi : -U::hpi));
  // y and x both zero: error, default 0
  return argument_error(U::atan2_error, T{0}, kNaN<T>);
}

}  // namespace
}  // namespace vx

float g_atand(const float *x) { return static_cast<float>(vx::arctan4<vx::Degrees4>(*x)); }
float g_atanq(const float *x) { return static_cast<float>(vx::arctan4<vx::Quadrants4>(*x)); }
double g_datand(const double *x) { return static_cast<double>(vx::arctan8<vx::Degrees8>(*x)); }
double g_datanq(const double *x) { return static_cast<double>(vx::arctan8<vx::Quadrants8>(*x)); }

float g_atan2d(const float *y, const float *x) {
  using namespace vx;
  return resume_loop<kNoValues>(arctan2<float, Degrees4, arctan4<Degrees4>>, *y, *x);
}
float g_atan2q(const float *y, const float *x) {
  using namespace vx;
  return resume_loop<kNoValues>(arctan2<float, Quadrants4, arctan4<Quadrants4>>, *y, *x);
}
double g_dtan2d(const double *y, const double *x) {
  using namespace vx;
  return resume_loop<kNoValues>(arctan2<double, Degrees8, arctan8<Degrees8>>, *y, *x);
}
double g_dtan2q(const double *y, const double *x) {
  using namespace vx;
  return resume_loop<kNoValues>(arctan2<double, Quadrants8, arctan8<Quadrants8>>, *y, *x);
}
