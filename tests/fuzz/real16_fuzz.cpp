// libFuzzer target: the Real16 operators and conversions on raw bit
// patterns against MPFR (tests/oracle), the relations against their rules on
// the patterns. Input: a byte choosing the operation, then two Real16 (an
// integer, Real4 or Real8 in the first bytes). The runtime keeps its start-up
// policy (defaults, infinity flag 1, no exception reports). A mismatch prints
// the operation and the operand bits and aborts.
//
// The MATMUL entries and their descriptors have a target of their own,
// matmul_fuzz.cpp.
#include <mpfr.h>
#include <vexmorg/vexmorg.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "oracle/real16.h"

namespace {

using oracle::Outcome;
using oracle::real16;
constexpr Real16 kInf = real16(0x7fff0000), kMinusInf = real16(0xffff0000),
                 kNaN = real16(0x7fff8000);

constexpr std::uint32_t kSign = 0x80000000;
bool zero(const Real16 &x) { return (x.w[3] & ~kSign) == 0; }
bool is_nan(const Real16 &x) {
  return (x.w[3] & 0x7fff0000) == 0x7fff0000 && ((x.w[3] & 0xffff) | x.w[2] | x.w[1] | x.w[0]);
}
// Sign first, then the magnitude words as unsigned numbers.
int order(const Real16 &a, const Real16 &b) {
  if ((a.w[3] ^ b.w[3]) & kSign) return a.w[3] & kSign ? -1 : 1;
  const std::uint32_t ma[4] = {a.w[3] & ~kSign, a.w[2], a.w[1], a.w[0]},
                      mb[4] = {b.w[3] & ~kSign, b.w[2], b.w[1], b.w[0]};
  int c = 0;
  for (int i = 0; i < 4 && c == 0; ++i) c = (ma[i] > mb[i]) - (ma[i] < mb[i]);
  return a.w[3] & kSign ? -c : c;
}
// The value of an IEEE pattern of e exponent and m fraction bits, its
// all-ones exponent read like any other.
void set_ieee(mpfr_ptr out, std::uint64_t bits, int e, int m) {
  const std::int64_t bias = (1 << (e - 1)) - 1, exp = std::int64_t(bits >> m) & ((1 << e) - 1);
  const std::uint64_t frac = bits & ((1ull << m) - 1);
  mpfr_set_uj(out, exp ? frac | 1ull << m : frac, MPFR_RNDN);
  mpfr_mul_2si(out, out, (exp ? exp : 1) - bias - m, MPFR_RNDN);
  if (bits >> (e + m) & 1) mpfr_neg(out, out, MPFR_RNDN);
}

void check(bool ok, const char *op, const Real16 &a, const Real16 &b, const Real16 &got) {
  if (ok) return;
  std::fprintf(stderr, "%s(%s, %s) gave %s\n", op, oracle::describe(a).c_str(),
               oracle::describe(b).c_str(), oracle::describe(got).c_str());
  std::abort();
}

Real16 *root(Real16 *r, const Real16 *a, const Real16 *) { return g_qsqrt(r, a); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size < 33) return 0;
  static mpfr_t x;
  static const bool init = (mpfr_init2(x, 256), true);
  (void)init;
  Real16 a, b, got{};
  std::memcpy(&a, data + 1, 16);
  std::memcpy(&b, data + 17, 16);
  const unsigned op = data[0] % 11;
  if (op < 5) {  // + - * / and the square root, bit for bit
    static const char *const kName[] = {"g_aqaq", "g_aqsq", "g_aqmq", "g_aqdq", "g_qsqrt"};
    static Real16 *(*const kFn[])(Real16 *, const Real16 *, const Real16 *) = {
        g_aqaq, g_aqsq, g_aqmq, g_aqdq, root};
    static const oracle::Op kOp[] = {oracle::Op::add, oracle::Op::sub, oracle::Op::mul,
                                     oracle::Op::div, oracle::Op::sqrt};
    const oracle::Real16Result want = oracle::reference(kOp[op], a, b);
    kFn[op](&got, &a, &b);
    bool ok = oracle::same_bits(got, want.bits);
    // Defaults under infinity flag 1: an overflow gives an infinity, an
    // underflow +0, a zero divisor a NaN (zero dividend) or a's infinity,
    // the root of a negative number a NaN.
    if (want.outcome == Outcome::overflow)
      ok = oracle::same_bits(got, kInf) || oracle::same_bits(got, kMinusInf);
    if (want.outcome == Outcome::divide_by_zero)
      ok = oracle::same_bits(got, zero(a) ? kNaN : real16((a.w[3] & 0x80000000) | 0x7fff0000));
    if (op == 4 && !zero(a) && (a.w[3] & 0x80000000)) ok = oracle::same_bits(got, kNaN);
    check(ok, kName[op], a, b, got);
  } else if (op == 5) {  // the six relations by their rules on the patterns
    const bool zeros = ((a.w[3] == kSign && (b.w[3] & ~kSign) == 0) ||
                        (b.w[3] == kSign && (a.w[3] & ~kSign) == 0)) &&
                       !(a.w[0] | a.w[1] | a.w[2] | b.w[0] | b.w[1] | b.w[2]);
    const int c = zeros ? 0 : order(a, b);
    const bool nan = !zeros && (is_nan(a) || is_nan(b));
    const int want = nan ? 0x010000
                         : (c == 0) << 20 | (c != 0) << 16 | (c > 0) << 12 | (c >= 0) << 8 |
                               (c < 0) << 4 | (c <= 0);
    const int r = g_afeq(&a, &b) << 20 | g_afne(&a, &b) << 16 | g_afgt(&a, &b) << 12 |
                  g_afge(&a, &b) << 8 | g_aflt(&a, &b) << 4 | g_afle(&a, &b);
    check(r == want, "relations (eq ne gt ge lt le)", a, b, real16(r));
  } else if (op <
             10) {  // integers, Real4 and Real8 (every pattern an ordinary number) convert exactly
    std::int32_t n;
    std::int64_t m;
    std::uint32_t f;
    std::uint64_t d;
    float fv;
    double dv;
    std::memcpy(&n, data + 1, 4), std::memcpy(&m, data + 1, 8), std::memcpy(&f, data + 1, 4),
        std::memcpy(&d, data + 1, 8);
    std::memcpy(&fv, data + 1, 4), std::memcpy(&dv, data + 1, 8);
    if (op == 6) mpfr_set_si(x, n, MPFR_RNDN), g_qfloat(&got, &n);
    if (op == 7) mpfr_set_sj(x, m, MPFR_RNDN), g_aqcj(&got, &m);
    if (op == 8) set_ieee(x, f, 8, 23), g_qext(&got, &fv);
    if (op == 9) set_ieee(x, d, 11, 52), g_qextd(&got, &dv);
    check(oracle::same_bits(got, oracle::round_to_real16(x).bits), "to Real16", a, b, got);
  } else {  // Real8 and Real4: nearest, saturated, +0.0 below half the least subnormal
    oracle::set_real16(x, a);
    double d = mpfr_get_d(x, MPFR_RNDN), g = g_dbleq(&a);
    float f = mpfr_get_flt(x, MPFR_RNDN), h = g_snglq(&a);
    if (std::isinf(d)) d = std::copysign(std::numeric_limits<double>::max(), d);
    if (std::isinf(f)) f = std::copysign(std::numeric_limits<float>::max(), f);
    if (mpfr_zero_p(x) || (d == 0 && mpfr_get_exp(x) <= -1075)) d = 0;
    if (mpfr_zero_p(x) || (f == 0 && mpfr_get_exp(x) <= -150)) f = 0;
    std::memcpy(&got, &g, 8), std::memcpy(&got.w[2], &h, 4);
    check(std::memcmp(&d, &g, 8) == 0 && std::memcmp(&f, &h, 4) == 0, "g_dbleq, g_snglq", a, b,
          got);
  }
  return 0;
}
