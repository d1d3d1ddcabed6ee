// The half exponential of the Real8 hyperbolic sine and cosine and their
// pairs (sinh_cosh.cpp), computed in half_exp.cpp.
#pragma once

extern "C" {

// e^x / 2 as a Real8, for -700 < x < 709 (the result is normal). Never
// reports.
double ulx_guhy(const double *x);
}
