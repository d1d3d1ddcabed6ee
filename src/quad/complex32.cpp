// Complex32 constructors and selectors: g_qcmplx (CMPLX of two Real16),
// g_qcmpxo (CMPLX of a Real16 and an optional second argument of any
// numeric kind), g_qconjg (CONJG), g_qreal (REAL), g_qimag (AIMAG).
//
// Rules:
//   g_qconjg inverts the sign bit of the imaginary part's word 3 (+0
//     becomes -0); nothing else changes.
//   g_qcmpxo: with a presence flag word of 0 the result is (x, +0);
//     otherwise y is converted by its type code: 1, 2, 3 (INTEGER*1, *2, *4)
//     sign-extended through g_qfloat, 4 (INTEGER*8) g_aqcj, 9 (Real4)
//     g_qext, 10 (Real8) g_qextd, 11 (Real16) copied. No other code reaches
//     it; one that did would give (x, +0).
//   Every input is copied before the result is written: the result may
//   alias an argument.
#include <cstdint>
#include <cstring>

#include "frame/hidden_result.h"
#include "quad/real16.h"

namespace {

template <class T>
T read(const void *p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// y of type `code` as Real16.
Real16 imaginary_from(const void *y, std::int32_t code) {
  Real16 v = vx::quad::kZero;
  std::int32_t n = 0;
  switch (code) {
    case vx::kInteger1:
      n = read<std::int8_t>(y);
      g_qfloat(&v, &n);
      break;
    case vx::kInteger2:
      n = read<std::int16_t>(y);
      g_qfloat(&v, &n);
      break;
    case vx::kInteger4:
      n = read<std::int32_t>(y);
      g_qfloat(&v, &n);
      break;
    case vx::kInteger8: {
      const auto wide = read<std::int64_t>(y);
      g_aqcj(&v, &wide);
      break;
    }
    case vx::kTypeReal4: {
      const auto f = read<float>(y);
      g_qext(&v, &f);
      break;
    }
    case vx::kTypeReal8: {
      const auto d = read<double>(y);
      g_qextd(&v, &d);
      break;
    }
    case vx::kTypeReal16:
      v = read<Real16>(y);
      break;
    default:
      break;
  }
  return v;
}

}  // namespace

Complex32 *g_qcmplx(Complex32 *result, const Real16 *re, const Real16 *im) {
  const Complex32 z = {*re, *im};
  return vx::store_result(result, z);
}

Complex32 *g_qcmpxo(Complex32 *result, const Real16 *x, const void *y, const std::int32_t *present,
                    const std::int32_t *typecode) {
  const Real16 re = *x;
  const Real16 im = *present != 0 ? imaginary_from(y, *typecode) : vx::quad::kZero;
  return vx::store_result(result, Complex32{re, im});
}

Complex32 *g_qconjg(Complex32 *result, const Complex32 *z) {
  Complex32 v = *z;
  v.im.w[3] ^= vx::quad::kSignBit;
  return vx::store_result(result, v);
}

Real16 *g_qreal(Real16 *result, const Complex32 *z) { return vx::store_result(result, z->re); }

Real16 *g_qimag(Real16 *result, const Complex32 *z) { return vx::store_result(result, z->im); }
