// The processor exponential and logarithms rounded to Real4 or Real8, by
// their SSE routes where the processor allows (exp_route.h, log_route.h):
// each returns exactly the register sequence it names, rounded to its type,
// for every argument. For callers that round the same sequence.
#pragma once

namespace vx {

// static_cast<T>(exp_x87(x)): y = x FLDL2E, FRNDINT, F2XM1 + 1, FSCALE.
float exp_as_real4(float x);
double exp_as_real8(double x);

// static_cast<T>(x87::fyl2x(c, x)) for x > 0, c = FLDLN2 (ln) or FLDLG2
// (log10).
float ln_as_real4(float x);
float log10_as_real4(float x);
double ln_as_real8(double x);
double log10_as_real8(double x);

// The constants FLDL2E, FLDLN2, FLDLG2 and the instructions F2XM1 and FYL2X
// as the routes model them, at a few arguments (x87_probe.cpp): sets
// cpu::x87_exp_log when the library is loaded.
bool x87_exp_log_probe();

}  // namespace vx
