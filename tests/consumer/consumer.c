/* Calls an installed vexmorg from C: a value the definition fixes and an
 * argument error through the runtime's default handler. Exit status 0 when
 * both come out as they must. */
#include <math.h>
#include <stdio.h>
#include <vexmorg/vexmorg.h>
#include <vexmorg/vexmori.h>

int main(void) {
  const double two = 2.0, minus_eight = -8.0;
  const double root = g_dsqrt(&two); /* correctly rounded */
  vexmori_set_infinity_flag(1);
  const double log_negative = g_dlog(&minus_eight); /* error 245, default NaN */
  VexmoriErrorReport report;
  const unsigned reports = vexmori_last_error(&report);
  printf("g_dsqrt(2) = %.17g, g_dlog(-8) = %g, error %d\n", root, log_negative, (int)report.number);
  return root == sqrt(2.0) && isnan(log_negative) && reports == 1 && report.number == 245 ? 0 : 1;
}
