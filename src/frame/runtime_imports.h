// What the library imports from the core runtime: the control block, the
// exception-machinery word and routine (vexmori), the leading-zero count and
// the truncations (vexmorf). The substitute runtime in runtime/ defines them
// from this same header.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#if defined(VEXMORI_BUILDING)
#define VX_VEXMORI_IMPORT __declspec(dllexport)
#else
#define VX_VEXMORI_IMPORT __declspec(dllimport)
#endif
#if defined(VEXMORF_BUILDING)
#define VX_VEXMORF_IMPORT __declspec(dllexport)
#else
#define VX_VEXMORF_IMPORT __declspec(dllimport)
#endif
#else
#define VX_VEXMORI_IMPORT __attribute__((visibility("default")))
#define VX_VEXMORF_IMPORT __attribute__((visibility("default")))
#endif

extern "C" {
// The runtime control block; its fields are named in control_block.h.
VX_VEXMORI_IMPORT extern unsigned char ulx_lca[];
// Zero until the exception machinery has been initialised.
VX_VEXMORI_IMPORT extern std::int32_t ulx_x_init;
// Initialises the exception machinery; takes a 12-byte record of zeros.
VX_VEXMORI_IMPORT void ulx_xint(void *record);

// Zero bits above the highest set bit of a nonzero word (31 for 1).
VX_VEXMORF_IMPORT std::int32_t ulx_fnzb(std::uint32_t word);
// Truncation toward zero, result in the floating return register.
VX_VEXMORF_IMPORT float f_aint(const float *x);
VX_VEXMORF_IMPORT double f_dint(const double *x);
}
