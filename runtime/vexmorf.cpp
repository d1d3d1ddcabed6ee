// Substitute for the core runtime's vexmorf: the leading-zero count and the
// truncations that the library imports.
#include <cmath>

#include "frame/runtime_imports.h"

// Zero bits above the highest set bit: 31 for 1, 0 when bit 31 is set. The
// caller passes a nonzero word; 0 gives 32.
std::int32_t ulx_fnzb(std::uint32_t word) { return word == 0 ? 32 : __builtin_clz(word); }

// Truncation toward zero; infinities and NaNs come back unchanged.
float f_aint(const float *x) { return std::trunc(*x); }
double f_dint(const double *x) { return std::trunc(*x); }
