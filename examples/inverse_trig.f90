! Calls vexmorg's inverse trigonometric entries the way compiled code does
! (every argument by reference, through the interfaces of the vexmorg
! module) and prints them beside gfortran's radian intrinsics, scaled to
! degrees or quadrant units where the entry works in those; then lets two
! argument errors travel through the runtime's handler.
program inverse_trig
  use, intrinsic :: iso_c_binding
  use vexmorg
  use vexmori
  implicit none

  real(c_float), parameter :: deg4 = 180 / acos(-1.0), quad4 = 2 / acos(-1.0)
  real(c_double), parameter :: deg8 = 180 / acos(-1.0d0), quad8 = 2 / acos(-1.0d0)
  real(c_float) :: x4(6) = [-1.0, -0.6, 0.0, 0.3, 0.75, 1.0]
  real(c_double) :: x8(6) = [-1.0d0, -0.6d0, 0.0d0, 0.3d0, 0.75d0, 1.0d0]
  real(c_double) :: t8(6) = [-100.0d0, -1.0d0, 0.125d0, 1.0d0, 15.0d0, 1.0d20]
  real(c_double) :: y8(4) = [1.0d0, -1.0d0, 1.0d30, -0.0d0]
  real(c_double) :: xx8(4) = [-1.0d0, -1.0d0, 1.0d0, -1.0d0]
  real(c_float) :: bad4, r4
  real(c_double) :: zero8, r8
  type(vexmori_error_report) :: report
  integer(c_int32_t) :: reports
  integer :: i

  print '(a)', 'Real4 arc sine and arc cosine: vexmorg beside gfortran'
  print '(a6, 6a14)', 'x', 'g_asin', 'asin', 'g_acosd', 'acos deg', 'g_asinq', 'asin quad'
  do i = 1, size(x4)
    print '(f6.2, 6f14.8)', x4(i), g_asin(x4(i)), asin(x4(i)), g_acosd(x4(i)), &
      acos(x4(i)) * deg4, g_asinq(x4(i)), asin(x4(i)) * quad4
  end do

  print '(/a)', 'Real8 arc sine and arc cosine: vexmorg beside gfortran'
  print '(a6, 4a24)', 'x', 'g_dasind', 'asin deg', 'g_dacosq', 'acos quad'
  do i = 1, size(x8)
    print '(f6.2, 4f24.17)', x8(i), g_dasind(x8(i)), asin(x8(i)) * deg8, g_dacosq(x8(i)), &
      acos(x8(i)) * quad8
  end do

  print '(/a)', 'Arc tangents: vexmorg beside gfortran'
  print '(a10, 5a24)', 'x', 'g_datan', 'atan', 'g_datand', 'atan deg', 'g_atanq (Real4)'
  do i = 1, size(t8)
    print '(es10.2, 4f24.17, f24.8)', t8(i), g_datan(t8(i)), atan(t8(i)), g_datand(t8(i)), &
      atan(t8(i)) * deg8, g_atanq(real(t8(i), c_float))
  end do

  ! The sign of a zero never selects the result: atan2(-0.0, -1.0) is
  ! +180 degrees here, -180 for gfortran.
  print '(/a)', 'Two-argument arc tangents in degrees: vexmorg beside gfortran'
  print '(2a10, 2a24)', 'y', 'x', 'g_dtan2d', 'atan2 deg'
  do i = 1, size(y8)
    print '(2es10.2, 2f24.15)', y8(i), xx8(i), g_dtan2d(y8(i), xx8(i)), &
      atan2(y8(i), xx8(i)) * deg8
  end do

  ! asind(1.5) lies outside the domain: error 1367 reaches the runtime's
  ! handler, which declines; with the infinity flag clear the default is
  ! 90 degrees, with it set a NaN. atan2d(0, 0) reports 1370 without values.
  print '(/a)', 'Argument errors through the runtime:'
  call vexmori_set_infinity_flag(0_c_int8_t)
  bad4 = 1.5
  r4 = g_asind(bad4)
  reports = vexmori_last_error(report)
  print '(a, f4.1, a, f5.1, a, i0, a, i0, a)', '  g_asind(', bad4, ') = ', r4, &
    ' after error ', report%number, ' with ', report%value_count, ' reported value'
  zero8 = 0
  r8 = g_dtan2d(zero8, zero8)
  reports = vexmori_last_error(report)
  print '(a, f4.1, a, i0)', '  g_dtan2d(0, 0) = ', r8, ' after error ', report%number
  call vexmori_set_infinity_flag(1_c_int8_t)
  r4 = g_asind(bad4)
  print '(a, f0.0)', '  with the infinity flag set the default is ', r4
end program inverse_trig
