// Double-double kernels of the Real8 gamma and complementary error
// functions. A double-double value is an unevaluated sum of two Real8
// numbers, high part first, the low part below half an ulp of the high
// part. The kernels take and give such values by address.
//
//   ulx_gtmt(out, a, b)  out = a b, double-double, to about 103 bits
//   ulx_gtml(out, a, b)  out = a b for a double-double a and a Real8 b
//   ulx_gte2(v)          2^v as a Real8
//   ulx_gtem(x)          e^(-x^2) as a Real8
//   ulx_gtlg(out, x)     ln x as a double-double
//   ulx_gtep(v)          e^v as a Real8
//
// The pair type and its exact operations are common/double_double.h.
#pragma once

#include "common/double_double.h"

extern "C" {
void ulx_gtmt(vx::DoubleDouble *out, const vx::DoubleDouble *a, const vx::DoubleDouble *b);
void ulx_gtml(vx::DoubleDouble *out, const vx::DoubleDouble *a, const double *b);
double ulx_gte2(const vx::DoubleDouble *v);
double ulx_gtem(const double *x);
void ulx_gtlg(vx::DoubleDouble *out, const double *x);
double ulx_gtep(const vx::DoubleDouble *v);
}
