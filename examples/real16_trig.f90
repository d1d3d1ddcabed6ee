! REAL*16 sines in degrees through vexmorg, beside what a program writes
! with gfortran's real(16) intrinsics, sin(x * pi/180): the library's
! results are exact at every multiple of a right angle (sin 180 = 0,
! sin 270 = -1 to the last bit), the scaled radian ones are not. Then the
! quadrant-unit form, a radian sine and cosine pair, and a pole of the
! degree tangent through the runtime's handler.
program real16_trig
  use, intrinsic :: iso_c_binding
  use vexmorg
  use vexmori
  implicit none

  real(c_float128), parameter :: pi = 4 * atan(1.0_c_float128)
  real(c_float128) :: deg(8) = [30.0_c_float128, 45.0_c_float128, 90.0_c_float128, &
                                180.0_c_float128, 270.0_c_float128, 360.0_c_float128, &
                                -720.0_c_float128, 1.0e18_c_float128]
  real(c_float128) :: ours, s, c, x
  type(vexmori_error_report) :: report
  integer(c_int32_t) :: reports
  integer :: i

  print '(a)', 'Real16 sine in degrees: vexmorg beside sin(x*pi/180)'
  print '(a10, 2a44)', 'x', 'g_qsind', 'sin(x*pi/180)'
  do i = 1, size(deg)
    call g_qsind(ours, deg(i))
    print '(es10.2, 2es44.34)', deg(i), ours, sin(deg(i) * (pi / 180))
  end do

  print '(/a)', 'Real16 cosine in quadrant units (one unit is a right angle)'
  do i = 0, 4
    x = i
    call g_qcosq(ours, x)
    print '(f10.1, 2es44.34)', x, ours, cos(x * (pi / 2))
  end do

  x = 1.0_c_float128
  call g_qpscn(x, s, c)
  print '(/a, 2es44.34)', 'g_qpscn(1):   ', s, c
  print '(a, 2es44.34)', 'sin(1), cos(1)', sin(x), cos(x)

  ! tand(90) is a pole: error 1404 reaches the runtime's handler, which
  ! declines; with the infinity flag clear the default is the largest value.
  call vexmori_set_infinity_flag(0_c_int8_t)
  x = 90.0_c_float128
  call g_qtand(ours, x)
  reports = vexmori_last_error(report)
  print '(/a, es16.6e4, a, i0)', 'g_qtand(90) = ', ours, ', runtime saw error ', report%number
  call vexmori_set_infinity_flag(1_c_int8_t)
end program
