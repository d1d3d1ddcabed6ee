! Calls an installed vexmorg from Fortran through its compiled modules: a
! real(16) sum by reference through c_float128 and an argument error through
! the runtime. Stops with code 1 when either comes out wrong.
program consumer
  use, intrinsic :: iso_c_binding
  use vexmorg
  use vexmori
  implicit none
  real(c_float128) :: a, b, s
  real(c_float) :: x, r
  type(vexmori_error_report) :: report
  integer(c_int32_t) :: reports

  a = 1.0_c_float128 / 3
  b = 2.0_c_float128 / 3
  call g_aqaq(s, a, b)
  call vexmori_set_infinity_flag(0_c_int8_t)
  x = -8.0
  r = g_log(x) ! error 244; with the infinity flag clear, log |x|
  reports = vexmori_last_error(report)
  print '(a, f0.30, a, f0.6, a, i0)', 'g_aqaq = ', s, ', g_log(-8) = ', r, ', error ', report%number
  if (s /= a + b .or. abs(r - log(8.0)) > 4 * epsilon(r) .or. report%number /= 244) stop 1
end program consumer
