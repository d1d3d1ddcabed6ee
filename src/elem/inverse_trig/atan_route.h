// FPATAN rounded to Real4 or Real8, for every caller that rounds the
// instruction's result to a type: the same bits as
// static_cast<T>(x87::fpatan(y, x)) for every y and x (signed zeros,
// infinities and NaNs included), mostly from an SSE evaluation whose error
// bound decides the rounding (atan.cpp states the model and the bound).
#pragma once

namespace vx {

// FPATAN(y, x), the angle of (x, y), rounded to the type.
float rounded_fpatan(float y, float x);
double rounded_fpatan(double y, double x);

// FPATAN(x, 1), atan(x), rounded to the type.
float rounded_fpatan_over_one(float x);
double rounded_fpatan_over_one(double x);

// FPATAN within one unit of its 64-bit significand at six arguments
// (x87_probe.cpp): sets cpu::x87_atan when the library is loaded.
bool x87_atan_probe();

}  // namespace vx
