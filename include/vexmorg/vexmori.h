/*
 * vexmori: the substitute core runtime's API.
 *
 * vexmorg imports the control block `ulx_lca`, the word `ulx_x_init` and
 * `ulx_xint` from vexmori, and `ulx_fnzb`, `f_aint`, `f_dint` from vexmorf.
 * The substitute runtime (runtime/) provides them so that the library links
 * and runs on its own; the calls below let a program or a test choose what
 * the runtime answers when a vexmorg entry reports an error.
 *
 * Usable from C and C++.
 */
#ifndef VEXMORG_VEXMORI_H
#define VEXMORG_VEXMORI_H

#include <stdint.h>

#if defined(_WIN32)
#if defined(VEXMORI_BUILDING)
#define VEXMORI_API __declspec(dllexport)
#else
#define VEXMORI_API __declspec(dllimport)
#endif
#else
#define VEXMORI_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ------------------------------------------------------------------------
 * Policy: the handler, its answer and the flags
 * ---------------------------------------------------------------------- */

/* An error handler receives the address of the error record inside the
 * control block and answers by setting the resume word (vexmori_set_resume):
 * nonzero computes again with the argument slots, zero takes the default. */
typedef void (*VexmoriHandler)(void *record);

/* Installs `handler` (NULL reinstalls the default) and returns the previous
 * one. The default handler records the report and answers zero. */
VEXMORI_API VexmoriHandler vexmori_set_handler(VexmoriHandler handler);
VEXMORI_API void vexmori_default_handler(void *record);

/* The three flag bytes of the control block. Start-up values: infinity 1
 * (NaN and infinity defaults), exception report 0, exception mute 0. */
VEXMORI_API void vexmori_set_infinity_flag(uint8_t value);
VEXMORI_API void vexmori_set_report_flag(uint8_t value);
VEXMORI_API void vexmori_set_mute_flag(uint8_t value);

/* For handlers: the answer, and the argument slots (1 or 2) of the report. */
VEXMORI_API void vexmori_set_resume(int32_t word);
VEXMORI_API void *vexmori_argument_slot(int which);

/* ------------------------------------------------------------------------
 * Test hooks: what the runtime saw
 * ---------------------------------------------------------------------- */

/* The control block itself, for programs that read or write its fields. */
VEXMORI_API unsigned char *vexmori_control_block(void);

/* What the default handler saw last. */
typedef struct VexmoriErrorReport {
  int32_t number;         /* error number */
  int32_t value_count;    /* 0, 1 or 2 reported values */
  uint16_t value_type[2]; /* value type codes (9 Real4, 10 Real8, 11 Real16...) */
  uint8_t value[2][16];   /* copies of the reported values */
} VexmoriErrorReport;

/* Copies the last report taken by the default handler into `out` and
 * returns how many reports it has taken since start-up. */
VEXMORI_API uint32_t vexmori_last_error(VexmoriErrorReport *out);

/* How many times `ulx_xint` has run (the library calls it once per process,
 * at the first arithmetic exception). */
VEXMORI_API uint32_t vexmori_xint_calls(void);

#ifdef __cplusplus
}
#endif

#endif /* VEXMORG_VEXMORI_H */
