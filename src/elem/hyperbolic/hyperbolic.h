// Internals shared by the hyperbolic family: the half exponential ulx_guhy
// (guhy.cpp), used by the Real8 hyperbolic sine and cosine and their pairs
// (sinh_cosh.cpp), and the store of the paired routines.
#pragma once

extern "C" {

// e^x / 2 as a Real8, for -700 < x < 709 (the result is normal). Never
// reports.
double ulx_guhy(const double *x);
}

namespace vx {

// A paired routine's values stored through its hidden result address, which
// it returns.
template <class C>
C *store_pair(C *result, const C &values) {
  *result = values;
  return result;
}

}  // namespace vx
