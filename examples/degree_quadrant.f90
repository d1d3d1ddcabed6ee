! Calls vexmorg's degree and quadrant-unit functions the way compiled code
! does (every argument by reference, through the interfaces of the vexmorg
! module) and prints them beside what a program would write with gfortran's
! radian intrinsics, sin(x * pi/180) and sin(x * pi/2): the library's
! results are exact at multiples of a right angle, the scaled radian ones
! are not. Then a pole travels through the runtime's handler.
program degree_quadrant
  use, intrinsic :: iso_c_binding
  use vexmorg
  use vexmori
  implicit none

  real(c_double), parameter :: pi = 3.14159265358979323846264338327950288d0
  real(c_float) :: deg4(7) = [0.0, 30.0, 45.0, 90.0, 180.0, 270.0, 1.0e6]
  real(c_double) :: deg8(6) = [0.0d0, 30.0d0, 45.0d0, 135.0d0, 180.0d0, 1.0d15]
  real(c_double) :: quad8(6) = [0.5d0, 1.0d0, 2.0d0, 3.0d0, 2.5d0, 1.0d12 + 1]
  real(c_float) :: x4, r4
  type(vexmori_error_report) :: report
  integer(c_int32_t) :: reports
  integer :: i

  print '(a)', 'Real4 degrees: vexmorg beside the radian functions'
  print '(a10, 4a16)', 'x', 'g_sind', 'sin(x*pi/180)', 'g_cosd', 'cos(x*pi/180)'
  do i = 1, size(deg4)
    print '(f10.1, 4es16.7)', deg4(i), g_sind(deg4(i)), sin(deg4(i) * real(pi / 180, c_float)), &
      g_cosd(deg4(i)), cos(deg4(i) * real(pi / 180, c_float))
  end do

  print '(/a)', 'Real8 degrees: vexmorg beside the radian functions'
  print '(a10, 4a25)', 'x', 'g_dsind', 'sin(x*pi/180)', 'g_dtand', 'tan(x*pi/180)'
  do i = 1, size(deg8)
    print '(es10.3, 4es25.16)', deg8(i), g_dsind(deg8(i)), sin(deg8(i) * (pi / 180)), &
      g_dtand(deg8(i)), tan(deg8(i) * (pi / 180))
  end do

  print '(/a)', 'Real8 quadrant units (one unit is a right angle)'
  print '(a10, 4a25)', 'x', 'g_dsinq', 'sin(x*pi/2)', 'g_dcosq', 'cos(x*pi/2)'
  do i = 1, size(quad8)
    print '(es10.3, 4es25.16)', quad8(i), g_dsinq(quad8(i)), sin(quad8(i) * (pi / 2)), &
      g_dcosq(quad8(i)), cos(quad8(i) * (pi / 2))
  end do

  ! tand(90) is a pole: error 1365 reaches the runtime's handler, which
  ! declines; with the infinity flag clear the default is 3.40282002e+38.
  print '(/a)', 'A pole through the runtime:'
  call vexmori_set_infinity_flag(0_c_int8_t)
  x4 = 90.0
  r4 = g_tand(x4)
  reports = vexmori_last_error(report)
  print '(a, f4.1, a, es15.8)', '  g_tand(', x4, ') = ', r4
  print '(a, i0, a, i0, a)', '  runtime saw error ', report%number, ' with ', &
    report%value_count, ' reported value'
  call vexmori_set_infinity_flag(1_c_int8_t)
  r4 = g_tand(x4)
  print '(a, f0.0)', '  with the infinity flag set the default is ', r4
end program degree_quadrant
