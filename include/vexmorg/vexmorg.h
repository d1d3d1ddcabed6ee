/*
 * vexmorg: mathematical intrinsics of a Fortran compiler for x86.
 *
 * Every entry follows the compiled-Fortran convention: arguments by address,
 * read once and never written; Real4 and Real8 results in the x87 top
 * register (the native floating return register on x86_64); Real16 and
 * complex results through a hidden result address passed first and returned.
 * Errors never come back as codes: they go to the core runtime's handler
 * (vexmori), which answers "compute again" or "return the default";
 * vexmori.h is the substitute runtime's API for choosing that answer.
 *
 * Usable from C and C++. Needs an x86 compiler with the 80-bit long double.
 */
#ifndef VEXMORG_VEXMORG_H
#define VEXMORG_VEXMORG_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#define VEXMORG_API
#else
#define VEXMORG_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ------------------------------------------------------------------------
 * Types that cross the interface
 * ---------------------------------------------------------------------- */

/* REAL*16: four little-endian 32-bit words, word 0 least significant; word 3
 * holds the sign (bit 31), the biased exponent (bits 30..16, bias 16383) and
 * the top 16 fraction bits. Zero whenever word 3 is 0 or 0x80000000. */
typedef struct Real16 {
  uint32_t w[4];
} Real16;

/* Unsigned 128-bit fixed-point value, most significant word first. */
typedef struct Fixed128 {
  uint32_t w[4];
} Fixed128;

typedef struct Complex8 {
  float re, im;
} Complex8;

typedef struct Complex16 {
  double re, im;
} Complex16;

typedef struct Complex32 {
  Real16 re, im;
} Complex32;

/* Where a stride and an extent live: compiled code keeps them outside the
 * descriptor; the library reads operands' and writes the result's. */
typedef struct DimensionEntry {
  int32_t *stride_ref; /* byte distance between consecutive elements */
  int32_t *extent_ref; /* number of elements */
} DimensionEntry;

/* Array descriptor of a MATMUL operand or result. 32-bit layout: data at 0,
 * rank at 5, dimension entries at 12 and 20. On 64-bit targets every offset
 * doubles and addresses are 8 bytes: data at 0, rank at 10, entries at 24
 * and 40. */
#define VEXMORG_WORD_SCALE (sizeof(void *) / 4)
typedef struct ArrayDescriptor {
  void *data_address;
  uint8_t unused0[sizeof(void *) / 4];
  uint8_t rank;
  uint8_t unused1[7 * (sizeof(void *) / 4) - 1];
  DimensionEntry dim[2];
} ArrayDescriptor;

/* The single argument of every MATMUL entry: result, left and right operand. */
typedef struct MatmulArgs {
  ArrayDescriptor *result, *a, *b;
} MatmulArgs;

/* The single argument of g_mt22blasd, C = alpha op(A) op(B) + beta C (+ D):
 * descriptors (C and D: data only; A and B: data and extents), TRANSA and
 * TRANSB ("N" or "T"), alpha, beta and the leading dimensions in elements.
 * d is null when there is no addend; ldd is then not read. */
typedef struct GemmCallArgs {
  ArrayDescriptor *c, *a, *b, *d;
  const char *transa, *transb;
  const double *alpha, *beta;
  const int32_t *ldc, *lda, *ldb, *ldd;
} GemmCallArgs;

/* The single argument of g_mt21blasd, y = alpha op(A) x + beta y (+ z):
 * descriptors (y and z: data and stride; A: data and extents; x: data,
 * extent and stride), TRANS ("N" or "T"), alpha, beta and LDA. z is null
 * when there is no addend. */
typedef struct GemvCallArgs {
  ArrayDescriptor *y, *a, *x, *z;
  const char *trans;
  const double *alpha, *beta;
  const int32_t *lda;
} GemvCallArgs;

#ifdef __cplusplus
static_assert(offsetof(ArrayDescriptor, rank) == 5 * VEXMORG_WORD_SCALE, "rank offset");
static_assert(offsetof(ArrayDescriptor, dim) == 12 * VEXMORG_WORD_SCALE, "dimension offset");
static_assert(sizeof(DimensionEntry) == 8 * VEXMORG_WORD_SCALE, "dimension entry size");
static_assert(offsetof(DimensionEntry, extent_ref) == 4 * VEXMORG_WORD_SCALE, "extent offset");
static_assert(sizeof(Real16) == 16 && sizeof(Complex32) == 32, "Real16 layout");
static_assert(sizeof(GemmCallArgs) == 12 * sizeof(void *), "twelve addresses");
static_assert(sizeof(GemvCallArgs) == 8 * sizeof(void *), "eight addresses");
#else
_Static_assert(offsetof(ArrayDescriptor, rank) == 5 * VEXMORG_WORD_SCALE, "rank offset");
_Static_assert(offsetof(ArrayDescriptor, dim) == 12 * VEXMORG_WORD_SCALE, "dimension offset");
_Static_assert(sizeof(DimensionEntry) == 8 * VEXMORG_WORD_SCALE, "dimension entry size");
_Static_assert(offsetof(DimensionEntry, extent_ref) == 4 * VEXMORG_WORD_SCALE, "extent offset");
_Static_assert(sizeof(Real16) == 16 && sizeof(Complex32) == 32, "Real16 layout");
_Static_assert(sizeof(GemmCallArgs) == 12 * sizeof(void *), "twelve addresses");
_Static_assert(sizeof(GemvCallArgs) == 8 * sizeof(void *), "eight addresses");
#endif

/* ------------------------------------------------------------------------
 * Radian trigonometric functions, Real4 and Real8
 * ---------------------------------------------------------------------- */

VEXMORG_API float g_sin(const float *x);
VEXMORG_API float g_cos(const float *x);
VEXMORG_API float g_tan(const float *x);
VEXMORG_API float g_cotan(const float *x);
VEXMORG_API double g_dsin(const double *x);
VEXMORG_API double g_dcos(const double *x);
VEXMORG_API double g_dtan(const double *x);
VEXMORG_API double g_dcotan(const double *x);

/* ------------------------------------------------------------------------
 * Degree and quadrant trigonometric functions, Real4 and Real8
 * ---------------------------------------------------------------------- */

/* Angles in degrees (d) and in quadrant units (q: one unit is a right
 * angle). Exact at multiples of a right angle. */
VEXMORG_API float g_sind(const float *x);
VEXMORG_API float g_cosd(const float *x);
VEXMORG_API float g_tand(const float *x);
VEXMORG_API float g_cotd(const float *x);
VEXMORG_API float g_sinq(const float *x);
VEXMORG_API float g_cosq(const float *x);
VEXMORG_API float g_tanq(const float *x);
VEXMORG_API float g_cotq(const float *x);
VEXMORG_API double g_dsind(const double *x);
VEXMORG_API double g_dcosd(const double *x);
VEXMORG_API double g_dtand(const double *x);
VEXMORG_API double g_dcotd(const double *x);
VEXMORG_API double g_dsinq(const double *x);
VEXMORG_API double g_dcosq(const double *x);
VEXMORG_API double g_dtanq(const double *x);
VEXMORG_API double g_dcotq(const double *x);

/* ------------------------------------------------------------------------
 * Inverse trigonometric functions, Real4 and Real8
 * ---------------------------------------------------------------------- */

/* Radians, degrees (suffix d) and quadrant units (suffix q, a right angle
 * is 1). The two-argument forms take y first and give the angle of the
 * point (x, y). */
VEXMORG_API float g_asin(const float *x);
VEXMORG_API float g_acos(const float *x);
VEXMORG_API float g_atan(const float *x);
VEXMORG_API float g_atan2(const float *y, const float *x);
VEXMORG_API float g_asind(const float *x);
VEXMORG_API float g_acosd(const float *x);
VEXMORG_API float g_atand(const float *x);
VEXMORG_API float g_atan2d(const float *y, const float *x);
VEXMORG_API float g_asinq(const float *x);
VEXMORG_API float g_acosq(const float *x);
VEXMORG_API float g_atanq(const float *x);
VEXMORG_API float g_atan2q(const float *y, const float *x);
VEXMORG_API double g_dasin(const double *x);
VEXMORG_API double g_dacos(const double *x);
VEXMORG_API double g_datan(const double *x);
VEXMORG_API double g_datan2(const double *y, const double *x);
VEXMORG_API double g_dasind(const double *x);
VEXMORG_API double g_dacosd(const double *x);
VEXMORG_API double g_datand(const double *x);
VEXMORG_API double g_dtan2d(const double *y, const double *x);
VEXMORG_API double g_dasinq(const double *x);
VEXMORG_API double g_dacosq(const double *x);
VEXMORG_API double g_datanq(const double *x);
VEXMORG_API double g_dtan2q(const double *y, const double *x);

/* ------------------------------------------------------------------------
 * Exponential, logarithm and root functions, Real4 and Real8
 * ---------------------------------------------------------------------- */

/* g_alog, g_alog2, g_alog10 are the Fortran specific names of g_log,
 * g_log2, g_log10: separate entries with the same behaviour. */
VEXMORG_API float g_exp(const float *x);
VEXMORG_API float g_exp2(const float *x);
VEXMORG_API float g_exp10(const float *x);
VEXMORG_API float g_log(const float *x);
VEXMORG_API float g_log2(const float *x);
VEXMORG_API float g_log10(const float *x);
VEXMORG_API float g_alog(const float *x);
VEXMORG_API float g_alog2(const float *x);
VEXMORG_API float g_alog10(const float *x);
VEXMORG_API float g_sqrt(const float *x);
VEXMORG_API float g_cbrt(const float *x);
VEXMORG_API double g_dexp(const double *x);
VEXMORG_API double g_dexp2(const double *x);
VEXMORG_API double g_dexp10(const double *x);
VEXMORG_API double g_dlog(const double *x);
VEXMORG_API double g_dlog2(const double *x);
VEXMORG_API double g_dlog10(const double *x);
VEXMORG_API double g_dsqrt(const double *x);
VEXMORG_API double g_dcbrt(const double *x);

/* ------------------------------------------------------------------------
 * Hyperbolic functions and paired sine-cosine routines, Real4 and Real8
 * ---------------------------------------------------------------------- */

VEXMORG_API float g_sinh(const float *x);
VEXMORG_API float g_cosh(const float *x);
VEXMORG_API float g_tanh(const float *x);
VEXMORG_API double g_dsinh(const double *x);
VEXMORG_API double g_dcosh(const double *x);
VEXMORG_API double g_dtanh(const double *x);

/* The paired routines store (sin x, cos x) or (sinh x, cosh x) through the
 * result address, sine first, as a Complex8 or Complex16, and return it. The
 * q forms take x in quadrant units (x pi/2 radians). */
VEXMORG_API Complex8 *g_scns(Complex8 *result, const float *x);
VEXMORG_API Complex8 *g_scnsq(Complex8 *result, const float *x);
VEXMORG_API Complex16 *g_dscn(Complex16 *result, const double *x);
VEXMORG_API Complex16 *g_dscnq(Complex16 *result, const double *x);
VEXMORG_API Complex8 *g_scnh(Complex8 *result, const float *x);
VEXMORG_API Complex8 *g_scnhq(Complex8 *result, const float *x);
VEXMORG_API Complex16 *g_dsch(Complex16 *result, const double *x);
VEXMORG_API Complex16 *g_dschq(Complex16 *result, const double *x);

/* ------------------------------------------------------------------------
 * Error and gamma functions, Real4 and Real8
 * ---------------------------------------------------------------------- */

VEXMORG_API float g_erf(const float *x);
VEXMORG_API float g_erfc(const float *x);
VEXMORG_API float g_gamma(const float *x);
VEXMORG_API float g_lgamma(const float *x);
VEXMORG_API float g_algama(const float *x);
VEXMORG_API double g_derf(const double *x);
VEXMORG_API double g_derfc(const double *x);
VEXMORG_API double g_dgamma(const double *x);
VEXMORG_API double g_dlgama(const double *x);

/* ------------------------------------------------------------------------
 * REAL*16 arithmetic, comparisons, conversions and elemental intrinsics
 *
 * Results are correctly rounded (to nearest, ties to even). Zero is any
 * value whose word 3 is 0 or 0x80000000; there are no subnormals, and the
 * infinity and NaN patterns are not recognised on input. Overflow and
 * underflow go to the runtime as arithmetic exceptions (1397/1398 for + - *,
 * 278/279 for /, 280 for division by zero); the square root of a negative
 * number is argument error 228.
 * ---------------------------------------------------------------------- */

/* a + b, a - b, a * b, a / b, sqrt(x) */
VEXMORG_API Real16 *g_aqaq(Real16 *result, const Real16 *a, const Real16 *b);
VEXMORG_API Real16 *g_aqsq(Real16 *result, const Real16 *a, const Real16 *b);
VEXMORG_API Real16 *g_aqmq(Real16 *result, const Real16 *a, const Real16 *b);
VEXMORG_API Real16 *g_aqdq(Real16 *result, const Real16 *a, const Real16 *b);
VEXMORG_API Real16 *g_qsqrt(Real16 *result, const Real16 *x);

/* a == b, a /= b, a > b, a >= b, a < b, a <= b: 1 or 0 */
VEXMORG_API int32_t g_afeq(const Real16 *a, const Real16 *b);
VEXMORG_API int32_t g_afne(const Real16 *a, const Real16 *b);
VEXMORG_API int32_t g_afgt(const Real16 *a, const Real16 *b);
VEXMORG_API int32_t g_afge(const Real16 *a, const Real16 *b);
VEXMORG_API int32_t g_aflt(const Real16 *a, const Real16 *b);
VEXMORG_API int32_t g_afle(const Real16 *a, const Real16 *b);

/* Three-way comparison of a and b: 0 equal (+0 equals -0), 1 a < b, 2 a > b,
 * 3 unordered (a NaN); g_acmp and g_acmpe are the same */
VEXMORG_API int32_t g_acmp(const Real16 *a, const Real16 *b);
VEXMORG_API int32_t g_acmpe(const Real16 *a, const Real16 *b);

/* -x for a Real16 passed by value (four words, word 0 first); -0 is +0 */
VEXMORG_API Real16 *ulx_gqqc(Real16 *result, Real16 x);

/* Conversions: INTEGER*4, INTEGER*8, Real4, Real8 to Real16 (exact);
 * Real16 to Real8 and Real4 (rounded, saturating at the largest finite
 * value); Real16 to INTEGER*4 (truncated, saturating) and INTEGER*8
 * (truncated; 0 from 2^64 on). */
VEXMORG_API Real16 *g_qfloat(Real16 *result, const int32_t *n);
VEXMORG_API Real16 *g_aqcj(Real16 *result, const int64_t *n);
VEXMORG_API Real16 *g_qext(Real16 *result, const float *x);
VEXMORG_API Real16 *g_qextd(Real16 *result, const double *x);
VEXMORG_API double g_dbleq(const Real16 *x);
VEXMORG_API float g_snglq(const Real16 *x);
VEXMORG_API int32_t g_iqint(const Real16 *x);
VEXMORG_API int64_t g_ajcq(const Real16 *x);

/* ABS, SIGN, DIM, MAX, MIN, MOD, AINT, ANINT, NINT, and the Real16 product
 * of two Real8 */
VEXMORG_API Real16 *g_qabs(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_qsign(Real16 *result, const Real16 *a, const Real16 *b);
VEXMORG_API Real16 *g_qdim(Real16 *result, const Real16 *a, const Real16 *b);
VEXMORG_API Real16 *g_qmax1(Real16 *result, const Real16 *a, const Real16 *b);
VEXMORG_API Real16 *g_qmin1(Real16 *result, const Real16 *a, const Real16 *b);
VEXMORG_API Real16 *g_qmod(Real16 *result, const Real16 *a, const Real16 *p);
VEXMORG_API Real16 *g_qint(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_qnint(Real16 *result, const Real16 *x);
VEXMORG_API int32_t g_iqnint(const Real16 *x);
VEXMORG_API int64_t g_jqnint(const Real16 *x);
VEXMORG_API Real16 *g_qprod(Real16 *result, const double *x, const double *y);

/* Complex32: CMPLX(re, im); CMPLX(x, y) with y of the type code `typecode`
 * (1, 2, 3, 4 INTEGER*1/2/4/8, 9 Real4, 10 Real8, 11 Real16), or (x, 0)
 * when `present` is 0; CONJG; REAL; AIMAG */
VEXMORG_API Complex32 *g_qcmplx(Complex32 *result, const Real16 *re, const Real16 *im);
VEXMORG_API Complex32 *g_qcmpxo(Complex32 *result, const Real16 *x, const void *y,
                                const int32_t *present, const int32_t *typecode);
VEXMORG_API Complex32 *g_qconjg(Complex32 *result, const Complex32 *z);
VEXMORG_API Real16 *g_qreal(Real16 *result, const Complex32 *z);
VEXMORG_API Real16 *g_qimag(Real16 *result, const Complex32 *z);

/* ------------------------------------------------------------------------
 * REAL*16 exponentials, logarithms and cube root
 *
 * e^x, 2^x, 10^x, ln x, log2 x, log10 x within 2 ulp, the cube root
 * correctly rounded. The exponentials report a result too large as errors
 * 231, 240, 243 (default the largest finite Real16, or infinity) and give
 * +0 below their underflow limits; the logarithms report x <= 0 as error
 * 246 (default for 0 the negative largest finite value or -infinity, for
 * x < 0 the logarithm of |x| or a NaN).
 * ---------------------------------------------------------------------- */

VEXMORG_API Real16 *g_qexp(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_qexp2(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_qexp10(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_qlog(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_qlog2(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_qlog10(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_qcbrt(Real16 *result, const Real16 *x);

/* ------------------------------------------------------------------------
 * REAL*16 hyperbolic, error and gamma functions
 *
 * sinh, cosh, tanh, the pairs (x first, then the sinh and cosh addresses;
 * g_qpscnhq of x pi/2), erf, erfc, gamma, ln gamma. Too large: 225 (sinh,
 * cosh and g_qpscnh from |x| = 11357.125 on, g_qpscnhq from 7232.125 on;
 * the largest finite Real16 or an infinity, the pairs always finite);
 * gamma of x <= 0 or x >= 1755: 252; ln gamma of x <= 0 or from about
 * 1.048e4928 on: 255 (the largest finite Real16, or NaN for x <= 0 and
 * infinity above with the infinity flag). ulx_gddq(a, b) is a / b for a
 * Real8 a and a Real16 b by value, +0 when word 3 of b is 0.
 * ---------------------------------------------------------------------- */

VEXMORG_API Real16 *g_qsinh(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_qcosh(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_qtanh(Real16 *result, const Real16 *x);
VEXMORG_API void g_qpscnh(const Real16 *x, Real16 *s, Real16 *c);
VEXMORG_API void g_qpscnhq(const Real16 *x, Real16 *s, Real16 *c);
VEXMORG_API Real16 *g_qerf(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_qerfc(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_qgamma(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_qlgama(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *ulx_gddq(Real16 *result, double a, Real16 b);

/* ------------------------------------------------------------------------
 * Fixed128 primitives of the REAL*16 function kernels (internal entries)
 *
 * A Fixed128 N at scale k stands for N * 2^(k - 128). No error is reported;
 * operands out of range give defined values.
 * ---------------------------------------------------------------------- */

/* x * 2^(128 - k), truncated; 0 for x zero, negative, from 2^k on or below
 * 2^(k - 128). x by value, word 0 first. */
VEXMORG_API void ulx_guqw(int32_t k, Real16 x, Fixed128 *out);
/* N * 2^(k - 128) rounded to nearest, ties to even (positive) */
VEXMORG_API void ulx_guwt(int32_t k, const Fixed128 *n, Real16 *out);
/* Orders the pair (the larger into a; *flag_out 1 when b was strictly the
 * larger) and scales both by one factor that keeps their ratio. */
VEXMORG_API void ulx_guwc(int32_t *flag_out, Fixed128 *a, Fixed128 *b);
/* a * 2^127 / b for a / b below 2, truncated (a few units low at most) */
VEXMORG_API void ulx_guwd(const Fixed128 *a, const Fixed128 *b, Fixed128 *out);
/* N * N / 2^128, truncated (at most one unit low) */
VEXMORG_API void ulx_guwq(const Fixed128 *in, Fixed128 *out);
/* floor(sqrt(N * 2^128)); from N >= 2^126 on with bit 0 cleared */
VEXMORG_API void ulx_guws(const Fixed128 *in, Fixed128 *out);

/* ------------------------------------------------------------------------
 * Sine, cosine, tangent and hyperbolic kernels of the REAL*16 functions
 * (internal entries): x by value, word 0 first, already reduced (|x| up to
 * 0.9578 radians, 54.88 degrees, 0.6098 quadrant units, 1.1181 for the
 * hyperbolic pair). Mode bit 0 asks for the sine (sinh) at the first
 * output, bit 1 for the cosine (cosh) at the second; both addresses must
 * be valid. The tangent kernels give tan x for mode 0 and cot x otherwise.
 * ---------------------------------------------------------------------- */

VEXMORG_API void ulx_gusc(int32_t mode, Real16 x, Real16 *sin_out, Real16 *cos_out);
VEXMORG_API void ulx_gusd(int32_t mode, Real16 x, Real16 *sin_out, Real16 *cos_out);
VEXMORG_API void ulx_gusq(int32_t mode, Real16 x, Real16 *sin_out, Real16 *cos_out);
VEXMORG_API void ulx_gush(int32_t mode, Real16 x, Real16 *sinh_out, Real16 *cosh_out);
VEXMORG_API Real16 *ulx_gutc(Real16 *result, int32_t mode, Real16 x);
VEXMORG_API Real16 *ulx_gutd(Real16 *result, int32_t mode, Real16 x);
VEXMORG_API Real16 *ulx_gutq(Real16 *result, int32_t mode, Real16 x);

/* ------------------------------------------------------------------------
 * Arc kernels of the REAL*16 inverse trigonometric functions (internal)
 *
 * The angle whose tangent is y / x (Fixed128, nonnegative, 0 <= y <= x,
 * x rescaled by ulx_guwc or 1.0 at scale 1); with a nonzero flag its
 * complement to a right angle. Results: ulx_guat radians at scale 1;
 * ulx_guad degrees at scale 6 (complement at 7); ulx_guaq quadrant units
 * at scale 0 (complement at 1).
 * ---------------------------------------------------------------------- */
VEXMORG_API void ulx_guat(int32_t flag, const Fixed128 *y, const Fixed128 *x, Fixed128 *out);
VEXMORG_API void ulx_guad(int32_t flag, const Fixed128 *y, const Fixed128 *x, Fixed128 *out);
VEXMORG_API void ulx_guaq(int32_t flag, const Fixed128 *y, const Fixed128 *x, Fixed128 *out);

/* ------------------------------------------------------------------------
 * REAL*16 inverse trigonometric functions: radians, degrees (d) and
 * quadrant units (q, one unit a right angle)
 *
 * |x| above 1 (infinities and NaNs included) is error 219 (g_qasin,
 * g_qacos), 1405 (degrees), 1400 (quadrant units), x reported; default the
 * right angle with the sign of x (arc sine), the half turn for a negative x
 * and 0 otherwise (arc cosine), or _NaN_Q with the infinity flag. Both
 * arguments of an ATAN2 zero is 222, 1406, 1401 (no values); default +0 or
 * _NaN_Q.
 * ---------------------------------------------------------------------- */
VEXMORG_API Real16 *g_qasin(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_qacos(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_qatan(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_qatan2(Real16 *result, const Real16 *y, const Real16 *x);
VEXMORG_API Real16 *g_qasind(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_qacosd(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_qatand(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_qatan2d(Real16 *result, const Real16 *y, const Real16 *x);
VEXMORG_API Real16 *g_qasinq(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_qacosq(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_qatanq(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_qatan2q(Real16 *result, const Real16 *y, const Real16 *x);
/* a * b: b converted to Real16 (exact), then g_aqmq; a by value */
VEXMORG_API Real16 *ulx_gqmd(Real16 *result, Real16 a, double b);

/* ------------------------------------------------------------------------
 * REAL*16 sine, cosine, tangent, cotangent: radians, degrees (d) and
 * quadrant units (q, one unit a right angle), and the paired sine and
 * cosine (x first, then the sine and cosine addresses).
 *
 * Too large to reduce: 204 (sine, cosine, g_qpscn; default sqrt(1/2), NaN
 * with the infinity flag), 215 (tangents; 1, NaN), 1402 (degrees; sqrt(1/2),
 * NaN), 1403 (degree tangents; 1, NaN). Poles: 216, 1404, 1399 (the
 * largest finite value, +infinity with the flag). g_qpscn stores sqrt(1/2)
 * at both outputs whatever the flag; the quadrant sines and g_qpscnq never
 * report. ulx_gdsq: a - b for a Real8 a and a Real16 b, both by value.
 * ---------------------------------------------------------------------- */

VEXMORG_API Real16 *g_qsin(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_qcos(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_qtan(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_qcotan(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_qsind(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_qcosd(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_qtand(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_qcotd(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_qsinq(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_qcosq(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_qtanq(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_qcotq(Real16 *result, const Real16 *x);
VEXMORG_API void g_qpscn(const Real16 *x, Real16 *s, Real16 *c);
VEXMORG_API void g_qpscnq(const Real16 *x, Real16 *s, Real16 *c);
VEXMORG_API Real16 *ulx_gdsq(Real16 *result, double a, Real16 b);

/* ------------------------------------------------------------------------
 * Numeric model intrinsics, Real4, Real8 and Real16
 *
 * EXPONENT, FRACTION, NEAREST, RRSPACING, SCALE, SET_EXPONENT, SPACING,
 * computed on the bit patterns without rounding. Only NEAREST reports: a
 * zero direction is error 1393 (no values), and x comes back whatever the
 * handler answers. SCALE and SET_EXPONENT do not check the range of the
 * new exponent.
 * ---------------------------------------------------------------------- */

/* EXPONENT as INTEGER*4 and INTEGER*8 */
VEXMORG_API int32_t g_expon(const float *x);
VEXMORG_API int32_t g_expond(const double *x);
VEXMORG_API int32_t g_exponq(const Real16 *x);
VEXMORG_API int64_t g_jexpon(const float *x);
VEXMORG_API int64_t g_jexpnd(const double *x);
VEXMORG_API int64_t g_jexpnq(const Real16 *x);

/* FRACTION, RRSPACING, SPACING */
VEXMORG_API float g_fract(const float *x);
VEXMORG_API double g_fractd(const double *x);
VEXMORG_API Real16 *g_fractq(Real16 *result, const Real16 *x);
VEXMORG_API float g_rrspa(const float *x);
VEXMORG_API double g_rrspad(const double *x);
VEXMORG_API Real16 *g_rrspaq(Real16 *result, const Real16 *x);
VEXMORG_API float g_spaci(const float *x);
VEXMORG_API double g_spacid(const double *x);
VEXMORG_API Real16 *g_spaciq(Real16 *result, const Real16 *x);

/* NEAREST(x, s); the 2 forms take s of the type code `typecode` (9 Real4,
 * 10 Real8, 11 Real16) */
VEXMORG_API float g_neare(const float *x, const float *s);
VEXMORG_API double g_neared(const double *x, const double *s);
VEXMORG_API Real16 *g_neareq(Real16 *result, const Real16 *x, const Real16 *s);
VEXMORG_API float g_neare2(const float *x, const void *s, const int32_t *typecode);
VEXMORG_API double g_neared2(const double *x, const void *s, const int32_t *typecode);
VEXMORG_API Real16 *g_neareq2(Real16 *result, const Real16 *x, const void *s,
                              const int32_t *typecode);

/* SCALE(x, i) and SET_EXPONENT(x, i) */
VEXMORG_API float g_scale(const float *x, const int32_t *i);
VEXMORG_API double g_scaled(const double *x, const int32_t *i);
VEXMORG_API Real16 *g_scaleq(Real16 *result, const Real16 *x, const int32_t *i);
VEXMORG_API float g_stexp(const float *x, const int32_t *i);
VEXMORG_API double g_stexpd(const double *x, const int32_t *i);
VEXMORG_API Real16 *g_stexpq(Real16 *result, const Real16 *x, const int32_t *i);

/* ------------------------------------------------------------------------
 * MODULO, MERGE and the floor helpers
 *
 * MODULO(a, p) = a - FLOOR(a / p) * p; a zero p is error 1396 (no values),
 * after which the largest finite value of the type comes back whatever the
 * handler answers. MERGE copies tsource when mask is not 0, else fsource.
 * ---------------------------------------------------------------------- */

VEXMORG_API float g_modlr(const float *a, const float *p);
VEXMORG_API double g_modld(const double *a, const double *p);
VEXMORG_API Real16 *g_modlq(Real16 *result, const Real16 *a, const Real16 *p);

/* FLOOR in the argument's type; FLOOR(-0.0) is +0.0 */
VEXMORG_API float ulx_gflo(const float *x);
VEXMORG_API double ulx_gfld(const double *x);
VEXMORG_API Real16 *ulx_gflq(Real16 *result, const Real16 *x);

VEXMORG_API float g_mrgr(const float *tsource, const float *fsource, const int32_t *mask);
VEXMORG_API double g_mrgd(const double *tsource, const double *fsource, const int32_t *mask);
VEXMORG_API Real16 *g_mrgq(Real16 *result, const Real16 *tsource, const Real16 *fsource,
                           const int32_t *mask);
VEXMORG_API Complex8 *g_cmrg(Complex8 *result, const Complex8 *tsource, const Complex8 *fsource,
                             const int32_t *mask);
VEXMORG_API Complex16 *g_dmrg(Complex16 *result, const Complex16 *tsource, const Complex16 *fsource,
                              const int32_t *mask);
VEXMORG_API Complex32 *g_qmrg(Complex32 *result, const Complex32 *tsource, const Complex32 *fsource,
                              const int32_t *mask);

/* ------------------------------------------------------------------------
 * Complex products and quotients, a * b and a / b. Complex8 and Complex16
 * compute in the x87 register and round each part once; quotients by
 * Smith's formula (no squares of the divisor's components). Complex32 is a
 * fixed sequence of rounded Real16 operations, whose overflow, underflow
 * and division-by-zero reports are its own; a Complex32 zero divisor gives
 * +0 + 0i without a report. The result may share storage with a or b.
 * ---------------------------------------------------------------------- */
VEXMORG_API void g_acmc(Complex8 *result, const Complex8 *a, const Complex8 *b);
VEXMORG_API void g_acdc(Complex8 *result, const Complex8 *a, const Complex8 *b);
VEXMORG_API void g_axmx(Complex16 *result, const Complex16 *a, const Complex16 *b);
VEXMORG_API void g_axdx(Complex16 *result, const Complex16 *a, const Complex16 *b);
VEXMORG_API void g_azmz(Complex32 *result, const Complex32 *a, const Complex32 *b);
VEXMORG_API void g_azdz(Complex32 *result, const Complex32 *a, const Complex32 *b);

/* ------------------------------------------------------------------------
 * Complex elementary functions: ABS, SQRT, EXP, LOG, SIN, COS, and SIN and
 * COS in quadrant units (of z pi/2). Complex8 computes in Real8, Complex16
 * in Real8 and the x87 register, Complex32 in the Real16 arithmetic; each
 * part is rounded when stored. The exponential, sine and cosine refuse a
 * part beyond fixed limits (errors 205 to 237, 1407 to 1412, the part as
 * the value) and then return substitutes whose signs follow the
 * mathematics; the logarithm of zero is error 247, 248, 249 (no values).
 * ---------------------------------------------------------------------- */
VEXMORG_API float g_cabs(const Complex8 *z);
VEXMORG_API double g_cdabs(const Complex16 *z);
VEXMORG_API Real16 *g_cqabs(Real16 *result, const Complex32 *z);
VEXMORG_API Complex8 *g_csqrt(Complex8 *result, const Complex8 *z);
VEXMORG_API Complex8 *g_cexp(Complex8 *result, const Complex8 *z);
VEXMORG_API Complex8 *g_clog(Complex8 *result, const Complex8 *z);
VEXMORG_API Complex8 *g_csin(Complex8 *result, const Complex8 *z);
VEXMORG_API Complex8 *g_ccos(Complex8 *result, const Complex8 *z);
VEXMORG_API Complex8 *g_csinq(Complex8 *result, const Complex8 *z);
VEXMORG_API Complex8 *g_ccosq(Complex8 *result, const Complex8 *z);
VEXMORG_API Complex16 *g_cdsqrt(Complex16 *result, const Complex16 *z);
VEXMORG_API Complex16 *g_cdexp(Complex16 *result, const Complex16 *z);
VEXMORG_API Complex16 *g_cdlog(Complex16 *result, const Complex16 *z);
VEXMORG_API Complex16 *g_cdsin(Complex16 *result, const Complex16 *z);
VEXMORG_API Complex16 *g_cdcos(Complex16 *result, const Complex16 *z);
VEXMORG_API Complex16 *g_cdsinq(Complex16 *result, const Complex16 *z);
VEXMORG_API Complex16 *g_cdcosq(Complex16 *result, const Complex16 *z);
VEXMORG_API Complex32 *g_cqsqrt(Complex32 *result, const Complex32 *z);
VEXMORG_API Complex32 *g_cqexp(Complex32 *result, const Complex32 *z);
VEXMORG_API Complex32 *g_cqlog(Complex32 *result, const Complex32 *z);
VEXMORG_API Complex32 *g_cqsin(Complex32 *result, const Complex32 *z);
VEXMORG_API Complex32 *g_cqcos(Complex32 *result, const Complex32 *z);
VEXMORG_API Complex32 *g_cqsinq(Complex32 *result, const Complex32 *z);
VEXMORG_API Complex32 *g_cqcosq(Complex32 *result, const Complex32 *z);

/* ------------------------------------------------------------------------
 * The ** operators
 *
 * x ** n for an INTEGER*4 (i) or INTEGER*8 (j) exponent, by binary
 * exponentiation. A zero base with a negative exponent goes to the runtime
 * as an arithmetic exception (the exponent reported as a value); default
 * +infinity under the infinity flag, else 3.40282002e+38,
 * 1.7976931348623011e+308 or the largest finite Real16.
 * ---------------------------------------------------------------------- */
VEXMORG_API float g_arxi(const float *x, const int32_t *n);
VEXMORG_API float g_arxj(const float *x, const int64_t *n);
VEXMORG_API double g_adxi(const double *x, const int32_t *n);
VEXMORG_API double g_adxj(const double *x, const int64_t *n);
VEXMORG_API Real16 *g_aqxi(Real16 *result, const Real16 *x, const int32_t *n);
VEXMORG_API Real16 *g_aqxj(Real16 *result, const Real16 *x, const int64_t *n);
VEXMORG_API Complex8 *g_acxi(Complex8 *result, const Complex8 *x, const int32_t *n);
VEXMORG_API Complex8 *g_acxj(Complex8 *result, const Complex8 *x, const int64_t *n);
VEXMORG_API Complex16 *g_axxi(Complex16 *result, const Complex16 *x, const int32_t *n);
VEXMORG_API Complex16 *g_axxj(Complex16 *result, const Complex16 *x, const int64_t *n);
VEXMORG_API Complex32 *g_azxi(Complex32 *result, const Complex32 *x, const int32_t *n);
VEXMORG_API Complex32 *g_azxj(Complex32 *result, const Complex32 *x, const int64_t *n);

/* x ** y for a real y: 2^(y log2 x). y = 0 gives 1; a negative x needs an
 * integral y (error 263 / 267 otherwise, default NaN or the power of |x|);
 * a zero x needs y > 0 (error 262 / 266); overflow is error 1416 / 1417.
 * 2 ** x and 10 ** x report overflow as 1416 / 1417 with the base and x. */
VEXMORG_API float g_arxr(const float *x, const float *y);
VEXMORG_API double g_adxd(const double *x, const double *y);
VEXMORG_API float g_a2xr(const float *x);
VEXMORG_API float g_atxr(const float *x);
VEXMORG_API double g_a2xd(const double *x);
VEXMORG_API double g_atxd(const double *x);
VEXMORG_API Real16 *g_aqxq(Real16 *result, const Real16 *x, const Real16 *y);
VEXMORG_API Real16 *g_a2xq(Real16 *result, const Real16 *x);
VEXMORG_API Real16 *g_atxq(Real16 *result, const Real16 *x);
/* exp(y log x) in Complex16; a zero x gives (1, 0) for a zero y, else (0, 0) */
VEXMORG_API Complex8 *g_acxc(Complex8 *result, const Complex8 *x, const Complex8 *y);
VEXMORG_API Complex16 *g_axxx(Complex16 *result, const Complex16 *x, const Complex16 *y);
VEXMORG_API Complex32 *g_azxz(Complex32 *result, const Complex32 *x, const Complex32 *y);

/* ------------------------------------------------------------------------
 * MATMUL: list points at (result, A, B) descriptors. Matrix times matrix,
 * matrix times vector or vector times matrix by the operands' ranks; the
 * product goes to the result's data, contiguous in column order, and its
 * strides and extents through the result's references. Real4, Real8 and
 * their complex types sum in the 80-bit format, the matrix product
 * rounding C after each panel of 8 inner terms; Real16 and Complex32 round
 * every operation. Inner extents that differ: error 1375, the result's
 * strides and extents zeroed. g_matmld and g_matmlx hand operands on
 * 8-byte boundaries to ulx_gmd2 and ulx_gmx2 (same results).
 * ---------------------------------------------------------------------- */
VEXMORG_API void g_matmlr(const MatmulArgs *list);
VEXMORG_API void g_matmld(const MatmulArgs *list);
VEXMORG_API void g_matmlq(const MatmulArgs *list);
VEXMORG_API void g_matmlc(const MatmulArgs *list);
VEXMORG_API void g_matmlx(const MatmulArgs *list);
VEXMORG_API void g_matmlz(const MatmulArgs *list);
VEXMORG_API void ulx_gmd2(const MatmulArgs *list);
VEXMORG_API void ulx_gmx2(const MatmulArgs *list);

/* ------------------------------------------------------------------------
 * BLAS-style Real8 routes, chosen by compiled code instead of g_matmld.
 * g_mt22blasd: C = alpha op(A) op(B) + beta C, then C = C + D when D is
 * given; op(X) is X or its transpose ("T"); matrices addressed by their
 * leading dimensions (0 taken as 1 for A and B). The inner dimension runs
 * in panels of up to 64 terms summed in the 80-bit format, C rounded to
 * Real8 after each. g_mt21blasd: y = alpha op(A) x + beta y (+ z), vector
 * increments from the byte strides. Inner extents that differ: error 1375,
 * nothing written. Invalid leading dimensions or increments: nothing
 * computed, nothing reported.
 * ---------------------------------------------------------------------- */
VEXMORG_API void g_mt21blasd(const GemvCallArgs *list);
VEXMORG_API void g_mt22blasd(const GemmCallArgs *list);

#ifdef __cplusplus
}
#endif

#endif /* VEXMORG_VEXMORG_H */
