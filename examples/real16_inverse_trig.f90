! The REAL*16 arc sine, arc cosine and arc tangents through vexmorg, beside
! gfortran's own real(16) intrinsics, with the difference in units of the
! last place; then the degree and quadrant forms at points where they are
! exact, and an arc sine of 1.5 through the runtime's error handler.
program real16_inverse_trig
  use, intrinsic :: iso_c_binding
  use vexmorg
  use vexmori
  implicit none

  real(c_float128) :: x(6) = [1.0e-30_c_float128, 0.001_c_float128, 0.5_c_float128, &
                              -0.75_c_float128, 0.9999999_c_float128, -1.0_c_float128]
  real(c_float128) :: ours, y, z
  type(vexmori_error_report) :: report
  integer(c_int32_t) :: reports
  integer :: i

  print '(a)', 'Real16 inverse trigonometric functions: vexmorg beside gfortran'
  do i = 1, size(x)
    print '(/a, es12.4)', 'x = ', x(i)
    call g_qasin(ours, x(i))
    call show('asin(x)', ours, asin(x(i)))
    call g_qacos(ours, x(i))
    call show('acos(x)', ours, acos(x(i)))
    y = x(i) * 1000
    call g_qatan(ours, y)
    call show('atan(1000x)', ours, atan(y))
    z = -0.3_c_float128
    call g_qatan2(ours, x(i), z)
    call show('atan2(x,-.3)', ours, atan2(x(i), z))
  end do

  print '(/a)', 'Degrees and quadrant units:'
  call g_qasind(ours, 1.0_c_float128)
  print '(a, f44.34)', '  asind(1)        ', ours
  call g_qacosd(ours, -1.0_c_float128)
  print '(a, f44.34)', '  acosd(-1)       ', ours
  call g_qatan2d(ours, 1.0_c_float128, -1.0_c_float128)
  print '(a, f44.34)', '  atan2d(1, -1)   ', ours
  call g_qatan2q(ours, -1.0_c_float128, -1.0_c_float128)
  print '(a, f44.34)', '  atan2q(-1, -1)  ', ours
  call g_qasind(ours, 0.5_c_float128)
  print '(a, f44.34)', '  asind(0.5)      ', ours

  ! |x| above 1 is error 219; the runtime's handler declines, and the
  ! default is pi/2 with the sign of x (infinity flag clear) or a NaN.
  print '(/a)', 'asin(1.5) through the runtime:'
  call vexmori_set_infinity_flag(0_c_int8_t)
  call g_qasin(ours, 1.5_c_float128)
  reports = vexmori_last_error(report)
  print '(a, es42.34, a, i0)', '  flag clear: ', ours, ', runtime saw error ', report%number
  call vexmori_set_infinity_flag(1_c_int8_t)
  call g_qasin(ours, 1.5_c_float128)
  print '(a, es42.34)', '  flag set:   ', ours

contains

  subroutine show(what, ours, theirs)
    character(*), intent(in) :: what
    real(c_float128), intent(in) :: ours, theirs
    print '(a13, es42.34, a, f6.2)', what, ours, '  ulp ', &
      real((ours - theirs) / spacing(theirs))
  end subroutine

end program real16_inverse_trig
