// MERGE(TSOURCE, FSOURCE, MASK): TSOURCE when the 32-bit logical MASK is
// not 0, else FSOURCE, copied whole.
//   g_mrgr g_mrgd (Real4, Real8: the floating return register), g_mrgq
//   (Real16), g_cmrg g_dmrg g_qmrg (Complex8, Complex16, Complex32), the
//   last four through the result address.
// No errors.
#include <vexmorg/vexmorg.h>

#include <cstdint>

#include "frame/hidden_result.h"

namespace {

// The address of the selected argument: a conditional move, no branch to
// mispredict on masks that vary.
template <class T>
const T *chosen(const T *t, const T *f, const std::int32_t *mask) {
  return *mask != 0 ? t : f;
}

template <class T>
T *merge_into(T *result, const T *t, const T *f, const std::int32_t *mask) {
  const T value = *chosen(t, f, mask);
  return vx::store_result(result, value);
}

}  // namespace

float g_mrgr(const float *tsource, const float *fsource, const std::int32_t *mask) {
  return *chosen(tsource, fsource, mask);
}

double g_mrgd(const double *tsource, const double *fsource, const std::int32_t *mask) {
  return *chosen(tsource, fsource, mask);
}

Real16 *g_mrgq(Real16 *result, const Real16 *tsource, const Real16 *fsource,
               const std::int32_t *mask) {
  return merge_into(result, tsource, fsource, mask);
}

Complex8 *g_cmrg(Complex8 *result, const Complex8 *tsource, const Complex8 *fsource,
                 const std::int32_t *mask) {
  return merge_into(result, tsource, fsource, mask);
}

Complex16 *g_dmrg(Complex16 *result, const Complex16 *tsource, const Complex16 *fsource,
                  const std::int32_t *mask) {
  return merge_into(result, tsource, fsource, mask);
}

Complex32 *g_qmrg(Complex32 *result, const Complex32 *tsource, const Complex32 *fsource,
                  const std::int32_t *mask) {
  return merge_into(result, tsource, fsource, mask);
}
