! Calls vexmorg's exponentials, logarithms and roots the way compiled code
! does (every argument by reference, through the interfaces of the vexmorg
! module) and prints them beside gfortran's own intrinsics; then sends a
! logarithm of a negative number through the runtime's handler.
program exp_log
  use, intrinsic :: iso_c_binding
  use vexmorg
  use vexmori
  implicit none

  real(c_float) :: x4(5) = [0.125, 1.0, 2.5, 10.0, 37.0]
  real(c_double) :: x8(5) = [0.125d0, 1.0d0, 2.5d0, 10.0d0, 300.0d0]
  real(c_float) :: neg4, r4
  type(vexmori_error_report) :: report
  integer(c_int32_t) :: reports
  integer :: i

  print '(a)', 'Real4: vexmorg beside gfortran'
  print '(a8, 6a15)', 'x', 'g_exp', 'exp', 'g_alog', 'log', 'g_sqrt', 'sqrt'
  do i = 1, size(x4)
    print '(f8.3, 6es15.7)', x4(i), g_exp(x4(i)), exp(x4(i)), g_alog(x4(i)), log(x4(i)), &
      g_sqrt(x4(i)), sqrt(x4(i))
  end do
  print '(/a8, 6a15)', 'x', 'g_exp2', '2**x', 'g_log2', 'log(x)/log(2)', 'g_cbrt', 'x**(1/3)'
  do i = 1, size(x4)
    print '(f8.3, 6es15.7)', x4(i), g_exp2(x4(i)), 2.0**x4(i), g_log2(x4(i)), &
      log(x4(i)) / log(2.0), g_cbrt(x4(i)), x4(i)**(1.0 / 3.0)
  end do

  print '(/a)', 'Real8: vexmorg beside gfortran'
  print '(a8, 4a25)', 'x', 'g_dexp10', '10**x', 'g_dlog10', 'log10'
  do i = 1, size(x8)
    print '(f8.3, 4es25.16)', x8(i), g_dexp10(x8(i)), 10.0d0**x8(i), g_dlog10(x8(i)), &
      log10(x8(i))
  end do
  print '(/a8, 4a25)', 'x', 'g_dlog', 'log', 'g_dcbrt', 'x**(1/3)'
  do i = 1, size(x8)
    print '(f8.3, 4es25.16)', x8(i), g_dlog(x8(i)), log(x8(i)), g_dcbrt(x8(i)), &
      x8(i)**(1.0d0 / 3.0d0)
  end do

  ! log(-8.0) is outside the domain: error 244 reaches the runtime's
  ! handler, which declines; with the infinity flag clear the default is
  ! the logarithm of the magnitude, with it set a NaN.
  print '(/a)', 'An argument error through the runtime:'
  call vexmori_set_infinity_flag(0_c_int8_t)
  neg4 = -8.0
  r4 = g_log(neg4)
  reports = vexmori_last_error(report)
  print '(a, f0.1, a, f10.7)', '  g_log(', neg4, ') = ', r4
  print '(a, i0, a, i0, a)', '  runtime saw error ', report%number, ' with ', &
    report%value_count, ' reported value'
  call vexmori_set_infinity_flag(1_c_int8_t)
  r4 = g_log(neg4)
  print '(a, f0.0)', '  with the infinity flag set the default is ', r4
end program exp_log
