// Error function and its complement: g_erf, g_erfc (Real4), g_derf,
// g_derfc (Real8). No argument is reported.
//
// erf, a = |x|, s = a^2 (both types, evaluated in the x87 register):
//   a <= 2          a P(s)/Q(s), Q monic
//   a <= big        v = c0 / (a D(a) + d0), D monic; 1 - v^16 (four squarings)
//   beyond, NaN     1.0
//   the sign of x, a NaN counting as negative (so a NaN gives -1.0, and
//   -0.0 gives +0.0).
//
// erfc (Real4):
//   x < -2          1 - g_erf(x)
//   x <= 0.4765625  1 - x A(s)/B(s)
//   x <= 3          E (1 + C(x)/D(x)), E = e^(-x^2) by a table exponential
//   x <= xmax       E (e0 + e1 u + e2 u^2) / (x F(u)), u = 9/x^2
//   beyond, NaN     0.0 (from xmax = 9.3824 on, where x^2/ln 2 reaches 127,
//                   although erfc is still a subnormal Real4 up to 10.05)
// erfc (Real8):
//   x <= 0.4765625  1 - g_derf(x)
//   x <= 3          E A(x)/B(x), E = e^(-x^2) by ulx_gtem (double-double)
//   x <= xmax       E C(u)/(x D(u)), u = 9/x^2
//   beyond, NaN     0.0 (from xmax = 26.628736 on, where x^2/ln 2 reaches
//                   1023, although erfc is a subnormal Real8 up to 27.2;
//                   ulx_gte2's own limit at 1023 already gives E = 0 from
//                   sqrt(1023 ln 2) = 26.6287357 on)
// The denominators B, D, F are monic, one degree above their numerators:
// read as d0 + ... + d5 u^5 without the u^6 term, the Real8 tail form is
// wrong by 5e-6; with it, it is within 1e-16.
//
// Accuracy against MPFR (erf_gamma_test), bounds by analysis: the errors
// of the rational forms themselves, measured with MPFR over their ranges
// (up to 1.4 ulp for the Real4 erf near 1, 1 ulp for the Real8 erf near
// 0.2 and 0.87 ulp for the Real8 erfc tail), plus the one rounding, and
// for the Real8 erfc the rounding of E to Real8.
#include <vexmorg/vexmorg.h>

#include <cmath>
#include <cstdint>

#include "common/bits.h"
#include "common/horner.h"
#include "elem/erf_gamma/double_double.h"
#include "elem/exp_log/tables/exp2_table.h"

namespace vx {
namespace {

using ld = long double;

// ---- erf -------------------------------------------------------------------

struct Erf4 {
  using T = float;
  // P(s) = a0 + a1 s + a2 s^2 + a3 s^3, Q(s) = b0 + ... + b3 s^3 + s^4.
  static constexpr float a[] = {
      -3228.1604f,  // 0xC549C291: a0
      -157.22697f,  // 0xC31D3A1B: a1
      -81.458115f,  // 0xC2A2EA8E: a2
      5.710616f,    // 0x40B6BD5E: a3
  };
  static constexpr float b[] = {
      -2860.8828f,  // 0xC532CE20: b0
      -1092.9684f,  // 0xC4889EFD: b1
      -150.4115f,   // 0xC3166958: b2
      -3.930734f,   // 0xC07B9125: b3
  };
  static constexpr float small = 2.0f;     // 0x40000000: end of the rational form
  static constexpr float big = 4.1f;       // 0x40833333: erf rounds to 1 beyond
  static constexpr float c0 = 605.2727f;   // 0x44175174
  static constexpr float d0 = 582.02826f;  // 0x441181CF
  // D(a) = d1 + d2 a + d3 a^2 + d4 a^3 + a^4.
  static constexpr float d[] = {
      98.050224f,   // 0x42C419B7: d1
      -27.995562f,  // 0xC1DFF6E9: d2
      32.211716f,   // 0x4200D8CC: d3
      -6.840231f,   // 0xC0DAE32C: d4
  };
};

struct Erf8 {
  using T = double;
  // P(s) = a0 + ... + a6 s^6, Q(s) = b0 + ... + b6 s^6 + s^7.
  static constexpr double a[] = {
      39118923.673933595,  // 0x4182A7425D64374C: a0
      5546268.439132044,   // 0x415528471C1ABD4A: a1
      1773630.9275201862,  // 0x413B103EED71F682: a2
      104323.77891048486,  // 0x40F9783C766AD730: a3
      12553.842601833428,  // 0x40C884EBDA607B10: a4
      293.9162682432241,   // 0x40725EA908E3B02D: a5
      13.58288883723561,   // 0x402B2A7067DA42C5: a6
  };
  static constexpr double b[] = {
      34668243.45457128,   // 0x418087F69BA2F644: b0
      16471333.578071298,  // 0x416F6AA4B27F8F61: b1
      3595459.6643531015,  // 0x414B6E61D50985BE: b2
      469242.1067610982,   // 0x411CA3E86D52C805: b3
      39667.104450215156,  // 0x40E35E6357A7FA45: b4
      2172.4631286517897,  // 0x40A0F8ED1F32DA8E: b5
      70.67708559305875,   // 0x4051AB555ECFB1ED: b6
  };
  static constexpr double small = 2.0;              // 0x4000000000000000
  static constexpr double big = 7.0;                // 0x401C000000000000: erf rounds to 1 beyond
  static constexpr double c0 = 414759633.38836384;  // 0x41B8B8BAD1636BD0
  static constexpr double d0 = 414791153.5863145;   // 0x41B8B935F19618B5
  // D(a) = d1 + d2 a + ... + d11 a^10 + a^11.
  static constexpr double d[] = {
      29101645.9754425,     // 0x417BC0E4DF9B6998: d1
      17854451.50117115,    // 0x417106FF3804CC0A: d2
      3435951.6696880246,   // 0x414A36D7D5B85652: d3
      426223.3985746619,    // 0x411A03BD9823F4C7: d4
      -131600.46157624453,  // 0xC1001083B14EE2D7: d5
      150633.0927922606,    // 0x41026348BE09DE65: d6
      -53379.696129106655,  // 0xC0EA107646B08C5C: d7
      14560.718889705948,   // 0x40CC705C0493F03D: d8
      -2634.344232173321,   // 0xC0A494B03F330D4A: d9
      333.76457248396576,   // 0x4074DC3BB05B60DF: d10
      -25.605856703068913,  // 0xC0399B196CC5BE4D: d11
  };
};

template <class K>
typename K::T erf_of(typename K::T x) {
  using T = typename K::T;
  const ld a = std::fabs(ld{x});
  ld r = 1;             // a > big, and a NaN
  if (a <= K::small) {  // a P(s)/Q(s)
    const ld s = a * a;
    r = a * horner(K::a, s) / horner_monic(K::b, s);
  } else if (a <= K::big) {  // 1 - v^16
    ld v = K::c0 / (a * horner_monic(K::d, a) + K::d0);
    v *= v;
    v *= v;
    v *= v;
    v *= v;
    r = 1 - v;
  }
  return static_cast<T>(x < 0 || x != x ? -r : r);
}

// ---- erfc, Real4 -----------------------------------------------------------

namespace erfc4 {
// 1 - x A(s)/B(s): A = a0 + ... + a4 s^4, B = b0 + ... + b3 s^3 + s^4.
constexpr double a[] = {
    1355.706722,   // 0x40952ED3AEEE9574: a0
    260.728289,    // 0x40704BA7125DD096: a1
    59.77842942,   // 0x404DE3A393429277: a2
    4.594099077,   // 0x4012605B822931F5: a3
    0.1015135434,  // 0x3FB9FCCAA5010B2B: a4
};
constexpr double b[] = {
    1201.463801,  // 0x4092C5DAEEA63B69: b0
    631.5523202,  // 0x4083BC6B26DA5F5D: b1
    143.3486928,  // 0x4061EB287DCD8B39: b2
    17.304073,    // 0x40314DD7BA6698BB: b3
};
// E (1 + C(x)/D(x)): C = c0 + ... + c4 x^4, D = d0 + ... + d3 x^3 + x^4.
constexpr double c[] = {
    -3.58304218376e-05,  // 0xBF02C913EB822BE9: c0
    -9.28868798553,      // 0xC02293CEE96132EE: c1
    -10.5589489701,      // 0xC0251E2E8F356CBD: c2
    -5.0287661243,       // 0xC0141D74DDEC6799: c3
    -0.99991548552,      // 0xBFEFFF4EC2A250C9: c4
};
constexpr double d[] = {
    8.23222538225,  // 0x402076E63ECC2134: d0
    16.6515926763,  // 0x4030A6CEC7130589: d1
    13.730455242,   // 0x402B75FE3ABF29DD: d2
    5.59119830848,  // 0x40165D6316E17D0D: d3
};
// E (e0 + e1 u + e2 u^2) / (x F(u)): F = f0 + f1 u + f2 u^2 + u^3.
constexpr double e[] = {
    426.943178694,  // 0x407AAF17428AD039: e0
    264.24088232,   // 0x407083DAA76B695B: e1
    26.4068158687,  // 0x403A682515B38F72: e2
};
constexpr double f[] = {
    756.737082054,  // 0x4087A5E58B46A330: f0
    510.395638463,  // 0x407FE65488FF39FF: f1
    68.1545472141,  // 0x405109E419FF8FD6: f2
};
constexpr float xmax = 9.3823996f;  // 0x41161E4F: x^2/ln 2 = 127 (E stays normal)

// The table exponential: 2^t = 2^(m/64) 2^f with t - 1/128 rounded to m/64,
// so that f lies in [0, 1/64], and 2^f = 1 + f (p1 + f (p2 + f p3)).
// log2e: 1.442695040888963, two units below log2(e) (math_constants.h).
constexpr double log2e = 0x1.71547652b82fcp+0;  // 0x3FF71547652B82FC
constexpr double bg = 105553116266496.0;        // 0x42D8000000000000: 1.5 * 2^46, rounds to 1/64
constexpr double p1 = 0.693147189749263;        // 0x3FE62E4303E9324F
constexpr double p2 = 0.240223564102115;        // 0x3FCEBFA54FC608CD
constexpr double p3 = 0.0558054086633056;       // 0x3FAC9286CA4C312B
}  // namespace erfc4

// e^y for -127 ln 2 <= y <= 0, as a Real8.
double ulx_uexp(double y) {
  using namespace erfc4;
  const ld t = y * ld{log2e};
  const double n = static_cast<double>((t - 0.0078125) + bg);  // stored: bg + m/64
  const ld f = (bg - n) + t;                                   // t - m/64, in [0, 1/64]
  const std::uint32_t m = low_word(n);
  const std::uint32_t j = m & 63;
  const double v = static_cast<double>(exp2_table::e[j].high * (1 + f * (p1 + f * (p2 + f * p3))));
  return real8_from_words(high_word(v) + ((m - j) << 14), low_word(v));  // times 2^(m div 64)
}

float erfc_real4(float x) {
  using namespace erfc4;
  const ld xl = x;
  const ld s = xl * xl;
  if (x < -2.0f) return static_cast<float>(1 - ld{g_erf(&x)});
  if (x <= 0.4765625f) return static_cast<float>(1 - xl * horner(a, s) / horner_monic(b, s));
  if (x <= 3.0f) {
    const ld big_e = ulx_uexp(static_cast<double>(-s));  // -x^2 is exact in Real8
    return static_cast<float>(big_e * (1 + horner(c, xl) / horner_monic(d, xl)));
  }
  if (x <= xmax) {
    const ld big_e = ulx_uexp(static_cast<double>(-s));
    const ld u = 9 / s;
    return static_cast<float>(big_e * horner(e, u) / (xl * horner_monic(f, u)));
  }
  return 0.0f;  // x > xmax, and a NaN
}

// ---- erfc, Real8 -----------------------------------------------------------

namespace erfc8 {
// E A(x)/B(x): A = a0 + ... + a6 x^6, B = b0 + ... + b6 x^6 + x^7.
constexpr double a[] = {
    285.76438583209193,  // 0x4071DC3AECA365C5: a0
    434.62464631219507,  // 0x407B29FE8D21A71E: a1
    328.855693424764,    // 0x40748DB0EB96AC38: a2
    149.4243496943159,   // 0x4062AD9445CF64F1: a3
    42.478521114733134,  // 0x40453D402E0D1CB5: a4
    7.153630438113353,   // 0x401C9D514C2D77D0: a5
    0.5641910604622474,  // 0x3FE20DDA692C306D: a6
};
constexpr double b[] = {
    285.7643857791594,  // 0x4071DC3AEC953046: b0
    757.0752267694526,  // 0x4087A89A107E14A9: b1
    897.3592151344153,  // 0x408C0ADFAC2F3456: b2
    619.8776492264105,  // 0x40835F056CF52658: b3
    271.2059845423231,  // 0x4070F34BB6728C26: b4
    75.78957293786057,  // 0x4052F2885CEE7ABD: b5
    12.67957423063597,  // 0x40295BF1274F925B: b6
};
// E C(u)/(x D(u)): C = c0 + ... + c5 u^5, D = d0 + ... + d5 u^5 + u^6.
constexpr double c[] = {
    15464.133409236163,  // 0x40CE3411138DC927: c0
    40114.96679617538,   // 0x40E3965EEFFE8865: c1
    34480.177474017335,  // 0x40E0D605ADDDFD8B: c2
    11722.041637532055,  // 0x40C6E5055460EF3B: c3
    1455.0836858163977,  // 0x4096BC55B1BC1245: c4
    44.547094376830316,  // 0x40464607304427E6: c5
};
constexpr double d[] = {
    27409.462812117286,  // 0x40DAC45D9EB6B6FC: d0
    72624.67531083382,   // 0x40F1BB0ACE12BB9E: d1
    64895.43620537404,   // 0x40EFAFEDF564F8FB: d2
    23780.126743310484,  // 0x40D739081C8FF961: d3
    3458.6793147354924,  // 0x40AB055BCF241943: d4
    158.898725262294,    // 0x4063DCC25B7B3489: d5
};
constexpr double xmax = 26.628736;  // 0x403AA0F4D7ADD15F: x^2/ln 2 = 1023
}  // namespace erfc8

double erfc_real8(double x) {
  using namespace erfc8;
  if (x <= 0.4765625) return static_cast<double>(1 - ld{g_derf(&x)});
  if (x <= 3.0) {
    const ld big_e = ulx_gtem(&x);
    return static_cast<double>(big_e * horner(a, x) / horner_monic(b, x));
  }
  if (x <= xmax) {
    const ld big_e = ulx_gtem(&x);
    const ld u = 9 / (ld{x} * x);
    return static_cast<double>(big_e * horner(c, u) / (x * horner_monic(d, u)));
  }
  return 0.0;  // x > xmax, and a NaN
}

}  // namespace
}  // namespace vx

float g_erf(const float *x) { return vx::erf_of<vx::Erf4>(*x); }
float g_erfc(const float *x) { return vx::erfc_real4(*x); }
double g_derf(const double *x) { return vx::erf_of<vx::Erf8>(*x); }
double g_derfc(const double *x) { return vx::erfc_real8(*x); }
