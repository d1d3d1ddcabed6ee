// libFuzzer target: the Real16 operators, relations and conversions on raw
// bit patterns against MPFR (tests/oracle). Input: one byte choosing the
// operation, then the operand bytes (two Real16, or an integer, Real4 or
// Real8 in the first bytes). The runtime keeps its start-up policy: default
// handler answering "take the default", infinity flag 1, exception reports
// off. A mismatch prints the operation and the operand bits and aborts.
//
// MATMUL descriptors: the MATMUL entries do not exist yet; their fuzzing
// (random shapes, strides and extents against a reference product) joins
// this target with them.
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

bool zero(const Real16 &x) { return (x.w[3] & 0x7fffffff) == 0; }

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
  static oracle::Real16Reference ref;
  static mpfr_t x, y;
  static const bool init = (mpfr_inits2(256, x, y, static_cast<mpfr_ptr>(nullptr)), true);
  (void)init;
  Real16 a, b, got{};
  std::memcpy(&a, data + 1, 16);
  std::memcpy(&b, data + 17, 16);
  const unsigned op = data[0] % 11;
  if (op < 5) {  // + - * / and the square root, bit for bit
    static const char *const kName[] = {"g_aqaq", "g_aqsq", "g_aqmq", "g_aqdq", "g_qsqrt"};
    static Real16 *(*const kFn[])(Real16 *, const Real16 *, const Real16 *) = {
        g_aqaq, g_aqsq, g_aqmq, g_aqdq, root};
    const oracle::Real16Result want = op == 0   ? ref.add(a, b)
                                      : op == 1 ? ref.sub(a, b)
                                      : op == 2 ? ref.mul(a, b)
                                      : op == 3 ? ref.div(a, b)
                                                : ref.sqrt(a);
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
  } else if (op == 5) {  // the six relations from the exact values
    oracle::set_real16(x, a), oracle::set_real16(y, b);
    const int c = mpfr_cmp(x, y);
    const int r[6] = {g_afeq(&a, &b), g_afne(&a, &b), g_afgt(&a, &b),
                      g_afge(&a, &b), g_aflt(&a, &b), g_afle(&a, &b)};
    const bool ok = r[0] == (c == 0) && r[1] == (c != 0) && r[2] == (c > 0) && r[3] == (c >= 0) &&
                    r[4] == (c < 0) && r[5] == (c <= 0);
    check(ok, "relations", a, b,
          real16(r[0] << 20 | r[1] << 16 | r[2] << 12 | r[3] << 8 | r[4] << 4 | r[5]));
  } else if (op < 10) {  // integers, Real4 and Real8 convert exactly
    std::int32_t n;
    std::int64_t m;
    float f;
    double d;
    std::memcpy(&n, data + 1, 4), std::memcpy(&m, data + 1, 8), std::memcpy(&f, data + 1, 4),
        std::memcpy(&d, data + 1, 8);
    if ((op == 8 && (!std::isfinite(f) || f == 0)) || (op == 9 && (!std::isfinite(d) || d == 0)))
      return 0;
    if (op == 6) mpfr_set_si(x, n, MPFR_RNDN), g_qfloat(&got, &n);
    if (op == 7) mpfr_set_sj(x, m, MPFR_RNDN), g_aqcj(&got, &m);
    if (op == 8) mpfr_set_flt(x, f, MPFR_RNDN), g_qext(&got, &f);
    if (op == 9) mpfr_set_d(x, d, MPFR_RNDN), g_qextd(&got, &d);
    check(oracle::same_bits(got, oracle::round_to_real16(x).bits), "to Real16", a, b, got);
  } else if (!zero(
                 a)) {  // Real8 and Real4: nearest, saturated, +0.0 below half the least subnormal
    oracle::set_real16(x, a);
    double d = mpfr_get_d(x, MPFR_RNDN), g = g_dbleq(&a);
    float f = mpfr_get_flt(x, MPFR_RNDN), h = g_snglq(&a);
    if (std::isinf(d)) d = std::copysign(std::numeric_limits<double>::max(), d);
    if (std::isinf(f)) f = std::copysign(std::numeric_limits<float>::max(), f);
    if (d == 0) d = 0;
    if (f == 0) f = 0;
    std::memcpy(&got, &g, 8), std::memcpy(&got.w[2], &h, 4);
    check(std::memcmp(&d, &g, 8) == 0 && std::memcmp(&f, &h, 4) == 0, "g_dbleq, g_snglq", a, b,
          got);
  }
  return 0;
}
