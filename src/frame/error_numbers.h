// The error numbers the library reports, by family.
//
// Each number names one condition of one group of functions; the comment
// gives the functions and the condition. A condition's numbers run Real4,
// Real8, Real16 (then Complex8, Complex16, Complex32): a name takes the
// entry name of its first function (kSinRange for g_sin, kDsinRange for
// g_dsin). Numbers outside the series 202 to 280 serve the angle-unit forms
// and the Real16 arithmetic.
//
// One enum per family, in the order of the families; a family that starts
// to report adds its own group (complex, powers, model, MATMUL, the Real16
// functions). Only numbers some function raises are named here.
#pragma once

#include <cstdint>

namespace vx::err {

// ---- trig: radian sine, cosine, tangent, cotangent, and the radian pairs ---
enum Trig : std::int32_t {
  kSinRange = 202,   // g_sin g_cos g_scns: |x| >= 823000 or infinite (g_scns: NaN too)
  kDsinRange = 203,  // g_dsin g_dcos g_dscn: |x| >= 3.53e15 or infinite (g_dscn: NaN too);
                     // g_dscnq: |x| >= 2.25e15, infinite or NaN
  kTanRange = 211,   // g_tan g_cotan: |x| >= 823000, infinite or NaN
  kTanPole = 212,    // g_tan g_cotan: at a pole (reduced cotangent argument zero)
  kDtanRange = 213,  // g_dtan g_dcotan: |x| >= 3.53e15, infinite or NaN
  kDtanPole = 214,   // g_dtan g_dcotan: at a pole (reduced cotangent argument zero)
};

// ---- trig_units: degree and quadrant sine, cosine, tangent, cotangent ------
enum TrigUnits : std::int32_t {
  kTanqPole = 1355,    // g_tanq g_cotq: at a pole (tangent odd, cotangent even integer)
  kDtanqPole = 1356,   // g_dtanq g_dcotq: at a pole (tangent odd, cotangent even integer)
  kSindRange = 1361,   // g_sind g_cosd: |x| >= 47200000, infinite or NaN
  kDsindRange = 1362,  // g_dsind g_dcosd: |x| >= 2.03e17, infinite or NaN
  kTandRange = 1363,   // g_tand g_cotd: |x| >= 47200000, infinite or NaN
  kDtandRange = 1364,  // g_dtand g_dcotd: |x| >= 2.03e17, infinite or NaN
  kTandPole = 1365,    // g_tand g_cotd: at a pole (an odd / even multiple of 90)
  kDtandPole = 1366,   // g_dtand g_dcotd: at a pole (an odd / even multiple of 90)
};

// ---- inverse_trig: arc sine, arc cosine, two-argument arc tangent ----------
enum InverseTrig : std::int32_t {
  kAsinDomain = 217,     // g_asin g_acos: |x| > 1 or NaN
  kDasinDomain = 218,    // g_dasin g_dacos: |x| > 1 or NaN
  kAtan2Zero = 220,      // g_atan2: y and x both zero; no values
  kDatan2Zero = 221,     // g_datan2: y and x both zero; no values
  kAsinqDomain = 1357,   // g_asinq g_acosq: |x| > 1 or NaN
  kDasinqDomain = 1358,  // g_dasinq g_dacosq: |x| > 1 or NaN
  kAtan2qZero = 1359,    // g_atan2q: y and x both zero; no values
  kDtan2qZero = 1360,    // g_dtan2q: y and x both zero; no values
  kAsindDomain = 1367,   // g_asind g_acosd: |x| > 1 or NaN
  kDasindDomain = 1368,  // g_dasind g_dacosd: |x| > 1 or NaN
  kAtan2dZero = 1369,    // g_atan2d: y and x both zero; no values
  kDtan2dZero = 1370,    // g_dtan2d: y and x both zero; no values
};

// ---- exp_log: square root, exponentials, logarithms ------------------------
enum ExpLog : std::int32_t {
  kSqrtDomain = 226,      // g_sqrt: x < 0, minus infinity included
  kDsqrtDomain = 227,     // g_dsqrt: x < 0, minus infinity included
  kExpOverflow = 229,     // g_exp: x >= 88.722, plus infinity or a positive NaN
  kDexpOverflow = 230,    // g_dexp: x >= 709.782 or plus infinity
  kExp2Overflow = 238,    // g_exp2: x >= 128, plus infinity or a positive NaN
  kDexp2Overflow = 239,   // g_dexp2: x >= 1024 or plus infinity
  kExp10Overflow = 241,   // g_exp10: x >= 38.531, plus infinity or a positive NaN
  kDexp10Overflow = 242,  // g_dexp10: x >= 308.254 or plus infinity
  kLogDomain = 244,       // g_log g_log2 g_log10 g_alog g_alog2 g_alog10: x <= 0 or NaN
  kDlogDomain = 245,      // g_dlog g_dlog2 g_dlog10: x <= 0 or NaN
};

// ---- hyperbolic: sinh, cosh and their pairs --------------------------------
enum Hyperbolic : std::int32_t {
  kSinhOverflow = 223,   // g_sinh g_cosh g_scnh: |x| >= 89.415; g_scnhq: |x| >= 56.923;
                         // infinities and NaNs too
  kDsinhOverflow = 224,  // g_dsinh g_dcosh g_dsch: |x| >= 710.475; g_dschq: |x| >= 452.302;
                         // infinities and NaNs too
};

// ---- erf_gamma: gamma and its logarithm ------------------------------------
enum ErfGamma : std::int32_t {
  kGammaRange = 250,   // g_gamma: x <= 0, or x >= 35.03986 (overflow)
  kDgammaRange = 251,  // g_dgamma: x <= 0, or x >= 171.6243 (overflow)
  kLgammaRange = 253,  // g_lgamma g_algama: x <= 0, or x >= 4.03711e36 (overflow)
  kDlgamaRange = 254,  // g_dlgama: x <= 0, or x >= 2.55634e305 (overflow)
};

// ---- real16_add, real16_mul: Real16 arithmetic and square root -------------
enum Real16Arithmetic : std::int32_t {
  kQsqrtDomain = 228,       // g_qsqrt: sign bit set, word 3 not 0x80000000 (a -0)
  kQdivOverflow = 278,      // g_aqdq: rounded quotient's biased exponent 0x7fff or more
  kQdivUnderflow = 279,     // g_aqdq: rounded quotient's biased exponent 0 or less
  kQdivByZero = 280,        // g_aqdq: divisor zero (word 3 0 or 0x80000000); no values
  kReal16Overflow = 1397,   // g_aqaq g_aqsq g_aqmq: rounded result's biased exponent
                            // 0x7fff or more; no values
  kReal16Underflow = 1398,  // g_aqaq g_aqsq g_aqmq: rounded result's biased exponent
                            // 0 or less; no values
};

// ---- real16_inverse_trig: Real16 arc sine, arc cosine, two-argument arc tangent
enum Real16InverseTrig : std::int32_t {
  kQasinDomain = 219,    // g_qasin g_qacos: |x| > 1 (high word 0x3fff0000 or more, x not
                         // +-1), infinities and NaNs included
  kQatan2Zero = 222,     // g_qatan2: y and x both zero; no values
  kQasinqDomain = 1400,  // g_qasinq g_qacosq: as 219
  kQatan2qZero = 1401,   // g_qatan2q: y and x both zero; no values
  kQasindDomain = 1405,  // g_qasind g_qacosd: as 219
  kQatan2dZero = 1406,   // g_qatan2d: y and x both zero; no values
};

// ---- complex_functions: complex exponential, logarithm, sine, cosine ------
enum ComplexFunctions : std::int32_t {
  kCsinX = 205,      // g_csin g_ccos: |x| >= 823000, infinities included
  kCsinY = 206,      // g_csin g_ccos: |y| >= 89.415, infinities included
  kCdsinX = 207,     // g_cdsin g_cdcos: |x| >= 3.53e15, infinities included
  kCdsinY = 208,     // g_cdsin g_cdcos: |y| >= 710.4749755859375, infinities included
  kCqsinX = 209,     // g_cqsin g_cqcos: |x| high word >= 0x403e921f
  kCqsinY = 210,     // g_cqsin g_cqcos: |y| high word >= 0x400c62e9 (11357.125)
  kCexpX = 232,      // g_cexp: x >= 88.722, plus infinity included
  kCexpY = 233,      // g_cexp: |y| >= 823000, infinities included
  kCdexpX = 234,     // g_cdexp: x >= 709.782, plus infinity included
  kCdexpY = 235,     // g_cdexp: |y| >= 3.53e15, infinities included
  kCqexpX = 236,     // g_cqexp: high word of x >= 0x400c62e4 (11356.5), signed
  kCqexpY = 237,     // g_cqexp: |y| high word >= 0x403e921f
  kClogZero = 247,   // g_clog: z zero; no values
  kCdlogZero = 248,  // g_cdlog: z zero; no values
  kCqlogZero = 249,  // g_cqlog: g_cqabs(z) zero; no values
  kCsinqX = 1407,    // g_csinq g_ccosq: |x| >= 524000, infinities included
  kCsinqY = 1408,    // g_csinq g_ccosq: |y| >= 56.92, infinities included
  kCdsinqX = 1409,   // g_cdsinq g_cdcosq: |x| >= 2.25e15, infinities included
  kCdsinqY = 1410,   // g_cdsinq g_cdcosq: |y| >= 452.3, infinities included
  kCqsinqX = 1411,   // g_cqsinq g_cqcosq: |x| high word >= 0x403e0000 (2^63)
  kCqsinqY = 1412,   // g_cqsinq g_cqcosq: |y| high word >= 0x400bc3e2 (7232.125)
};

// ---- power: the ** operators ----------------------------------------------
enum Power : std::int32_t {
  kArxiZero = 261,       // g_arxi: zero base, negative exponent
  kArxrZero = 262,       // g_arxr: zero (or NaN) base, exponent not positive
  kArxrNegative = 263,   // g_arxr: negative base, exponent not integral
  kAdxiZero = 264,       // g_adxi: zero base, negative exponent
  kAdxjZero = 265,       // g_adxj: zero base, negative exponent
  kAdxdZero = 266,       // g_adxd: zero (or NaN) base, exponent not positive
  kAdxdNegative = 267,   // g_adxd: negative base, exponent not integral
  kAqxiZero = 268,       // g_aqxi: zero base, negative exponent
  kAqxjZero = 269,       // g_aqxj: zero base, negative exponent
  kAqxqZero = 270,       // g_aqxq: zero base, exponent not positive
  kAqxqNegative = 271,   // g_aqxq: negative base, exponent not integral
  kAqxqOverflow = 272,   // g_aqxq g_a2xq g_atxq: result too large
  kAcxiZero = 273,       // g_acxi: zero base, negative exponent
  kAxxiZero = 274,       // g_axxi: zero base, negative exponent
  kAxxjZero = 275,       // g_axxj: zero base, negative exponent
  kAzxiZero = 276,       // g_azxi: zero base, negative exponent
  kAzxjZero = 277,       // g_azxj: zero base, negative exponent
  kArxjZero = 1413,      // g_arxj: zero base, negative exponent
  kAcxjZero = 1414,      // g_acxj: zero base, negative exponent
  kArxrOverflow = 1416,  // g_arxr g_a2xr g_atxr: result too large
  kAdxdOverflow = 1417,  // g_adxd g_a2xd g_atxd: result too large
};

// ---- real16_trig: Real16 sine, cosine, tangent, cotangent and the pairs ---
enum Real16Trig : std::int32_t {
  kQsinRange = 204,    // g_qsin g_qcos g_qpscn: |x| >= 1.5707855224609375 2^63 (high word
                       // 0x403e921f), infinities and NaNs too
  kQtanRange = 215,    // g_qtan g_qcotan: the same bound
  kQtanPole = 216,     // g_qtan g_qcotan: at a pole (the cotangent kernel's argument zero)
  kQtanqPole = 1399,   // g_qtanq g_qcotq: at a pole, integers from 2^112 on of the wrong parity too
  kQsindRange = 1402,  // g_qsind g_qcosd: |x| >= 90 2^63 (high word 0x40446800)
  kQtandRange = 1403,  // g_qtand g_qcotd: the same bound
  kQtandPole = 1404,   // g_qtand g_qcotd: at a pole (an odd / even multiple of 90, cot of 0)
};

// ---- real16_exp_log: Real16 exponentials and logarithms -------------------
enum Real16ExpLog : std::int32_t {
  kQexpOverflow = 231,    // g_qexp: x >= 11356.5 (word 3 >= 0x400c62e4, positive)
  kQexp2Overflow = 240,   // g_qexp2: x >= 16384 (word 3 >= 0x400d0000, positive)
  kQexp10Overflow = 243,  // g_qexp10: x >= 4932.0625 (word 3 >= 0x400b3441, positive)
  kQlogDomain = 246,      // g_qlog g_qlog2 g_qlog10: x zero or negative
};

// ---- real16_hyperbolic: Real16 hyperbolic, error and gamma functions -------
enum Real16Hyperbolic : std::int32_t {
  kQsinhOverflow = 225,  // g_qsinh g_qcosh g_qpscnh: |x| >= 11357.125; g_qpscnhq: |x| >= 7232.125
  kQgammaRange = 252,    // g_qgamma: x <= 0 or x >= 1755
  kQlgamaRange = 255,    // g_qlgama: x <= 0 or word 3 >= 0x7ff17176
};

// ---- model, modulo_merge: NEAREST and MODULO ------------------------------
enum Model : std::int32_t {
  kNearestZero = 1393,  // g_neare g_neared g_neareq g_neare2 g_neared2 g_neareq2:
                        // direction s zero; no values, x returned
  kModuloZero = 1396,   // g_modlr g_modld g_modlq: P zero; no values, the largest
                        // finite value returned
};

// ---- matmul: MATMUL over array descriptors ---------------------------------
enum Matmul : std::int32_t {
  kMatmulShape = 1375,  // g_matmlr g_matmld g_matmlq g_matmlc g_matmlx g_matmlz ulx_gmd2
                        // ulx_gmx2: inner extents differ; no values, result shape zeroed
};

// ---- dgemm, dgemv: the BLAS-style Real8 routes ------------------------------
enum Blas : std::int32_t {
  kBlasShape = 1375,  // g_mt22blasd g_mt21blasd: inner extents differ; no values,
                      // nothing written
};

}  // namespace vx::err
