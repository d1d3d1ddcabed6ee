! Calls vexmorg's error and gamma functions the way compiled code does
! (every argument by reference, through the interfaces of the vexmorg
! module) and prints them beside gfortran's own intrinsics; then lets the
! pole of the gamma function travel through the runtime's handler.
program erf_gamma
  use, intrinsic :: iso_c_binding
  use vexmorg
  use vexmori
  implicit none

  real(c_float) :: x4(6) = [-2.5, -0.3, 0.0, 0.4, 1.5, 4.0]
  real(c_double) :: x8(6) = [-2.5d0, -0.3d0, 0.4d0, 1.5d0, 4.0d0, 12.0d0]
  real(c_float) :: g4(6) = [0.001, 0.5, 1.0, 3.5, 8.0, 30.25]
  real(c_double) :: g8(6) = [0.001d0, 0.5d0, 3.0d0, 15.5d0, 30.25d0, 171.0d0]
  real(c_double) :: bad8, r8
  type(vexmori_error_report) :: report
  integer(c_int32_t) :: reports
  integer :: i

  print '(a)', 'Real4: vexmorg beside gfortran'
  print '(a8, 4a16)', 'x', 'g_erf', 'erf', 'g_erfc', 'erfc'
  do i = 1, size(x4)
    print '(f8.3, 4es16.7)', x4(i), g_erf(x4(i)), erf(x4(i)), g_erfc(x4(i)), erfc(x4(i))
  end do

  print '(a8, 5a16)', 'x', 'g_gamma', 'gamma', 'g_lgamma', 'g_algama', 'log_gamma'
  do i = 1, size(g4)
    print '(f8.3, 5es16.7)', g4(i), g_gamma(g4(i)), gamma(g4(i)), g_lgamma(g4(i)), &
      g_algama(g4(i)), log_gamma(g4(i))
  end do

  print '(/a)', 'Real8: vexmorg beside gfortran'
  print '(a8, 4a25)', 'x', 'g_derf', 'erf', 'g_derfc', 'erfc'
  do i = 1, size(x8)
    print '(f8.3, 4es25.16)', x8(i), g_derf(x8(i)), erf(x8(i)), g_derfc(x8(i)), erfc(x8(i))
  end do
  print '(a8, 4a25)', 'x', 'g_dgamma', 'gamma', 'g_dlgama', 'log_gamma'
  do i = 1, size(g8)
    print '(f8.3, 4es25.16e3)', g8(i), g_dgamma(g8(i)), gamma(g8(i)), g_dlgama(g8(i)), &
      log_gamma(g8(i))
  end do

  ! gamma(-0.5) is rejected like a pole: error 251 reaches the runtime's
  ! handler, which declines; with the infinity flag clear the default is
  ! the finite overflow substitute.
  print '(/a)', 'An argument error through the runtime:'
  call vexmori_set_infinity_flag(0_c_int8_t)
  bad8 = -0.5d0
  r8 = g_dgamma(bad8)
  reports = vexmori_last_error(report)
  print '(a, f5.2, a, es24.16)', '  g_dgamma(', bad8, ') = ', r8
  print '(a, i0, a, i0, a)', '  runtime saw error ', report%number, ' with ', &
    report%value_count, ' reported value'
  call vexmori_set_infinity_flag(1_c_int8_t)
  r8 = g_dgamma(bad8)
  print '(a, f0.0)', '  with the infinity flag set the default is ', r8
end program erf_gamma
