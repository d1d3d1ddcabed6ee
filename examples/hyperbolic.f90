! Calls vexmorg's hyperbolic functions and paired sine-cosine routines the
! way compiled code does (every argument by reference, through the
! interfaces of the vexmorg module) and prints them beside gfortran's own
! intrinsics; then lets an overflow travel through the runtime's handler.
program hyperbolic
  use, intrinsic :: iso_c_binding
  use vexmorg
  use vexmori
  implicit none

  real(c_float) :: x4(6) = [0.0, 0.5, -1.0, 3.0, -20.0, 89.0]
  real(c_double) :: x8(6) = [0.0d0, 0.5d0, -1.0d0, 3.0d0, -20.0d0, 710.0d0]
  real(c_float), parameter :: hpi4 = 1.5707964
  real(c_double), parameter :: hpi8 = 1.5707963267948966d0
  complex(c_float_complex) :: p4
  complex(c_double_complex) :: p8
  real(c_float) :: big4, r4
  type(vexmori_error_report) :: report
  integer(c_int32_t) :: reports
  integer :: i

  print '(a)', 'Real4: vexmorg beside gfortran'
  print '(a8, 6a15)', 'x', 'g_sinh', 'sinh', 'g_cosh', 'cosh', 'g_tanh', 'tanh'
  do i = 1, size(x4)
    print '(f8.2, 6es15.7)', x4(i), g_sinh(x4(i)), sinh(x4(i)), g_cosh(x4(i)), cosh(x4(i)), &
      g_tanh(x4(i)), tanh(x4(i))
  end do

  print '(/a)', 'Real8: vexmorg beside gfortran'
  print '(a8, 4a25)', 'x', 'g_dsinh', 'sinh', 'g_dtanh', 'tanh'
  do i = 1, size(x8)
    print '(f8.2, 4es25.16)', x8(i), g_dsinh(x8(i)), sinh(x8(i)), g_dtanh(x8(i)), tanh(x8(i))
  end do

  print '(/a)', 'Pairs (one call, two values) beside the two intrinsics:'
  print '(a8, 4a15)', 'x', 'g_scns: sin', 'cos', 'sin', 'cos'
  do i = 1, 4
    call g_scns(p4, x4(i))
    print '(f8.2, 4es15.7)', x4(i), p4, sin(x4(i)), cos(x4(i))
  end do
  print '(a8, 4a15)', 'x', 'g_scnsq: sin', 'cos', 'sin(x pi/2)', 'cos(x pi/2)'
  do i = 1, 4
    call g_scnsq(p4, x4(i))
    print '(f8.2, 4es15.7)', x4(i), p4, sin(hpi4 * x4(i)), cos(hpi4 * x4(i))
  end do
  print '(a8, 4a25)', 'x', 'g_dsch: sinh', 'cosh', 'sinh', 'cosh'
  do i = 2, 4
    call g_dsch(p8, x8(i))
    print '(f8.2, 4es25.16)', x8(i), p8, sinh(x8(i)), cosh(x8(i))
  end do
  print '(a8, 4a25)', 'x', 'g_dschq: sinh', 'cosh', 'sinh(x pi/2)', 'cosh(x pi/2)'
  do i = 2, 4
    call g_dschq(p8, x8(i))
    print '(f8.2, 4es25.16)', x8(i), p8, sinh(hpi8 * x8(i)), cosh(hpi8 * x8(i))
  end do

  ! sinh(90.0) overflows Real4: error 223 reaches the runtime's handler,
  ! which declines; with the infinity flag clear the default is
  ! 3.40282002e+38, a few units below the largest Real4.
  print '(/a)', 'A result too large, through the runtime:'
  call vexmori_set_infinity_flag(0_c_int8_t)
  big4 = 90.0
  r4 = g_sinh(-big4)
  reports = vexmori_last_error(report)
  print '(a, f0.1, a, es15.8)', '  g_sinh(-', big4, ') = ', r4
  print '(a, i0, a, i0, a)', '  runtime saw error ', report%number, ' with ', &
    report%value_count, ' reported value'
  call vexmori_set_infinity_flag(1_c_int8_t)
  print '(a, es15.8)', '  with the infinity flag set: ', g_sinh(-big4)
  ! The quadrant pair keeps its finite default whatever the flag holds.
  big4 = 60.0
  call g_scnhq(p4, big4)
  print '(a, 2es16.8)', '  g_scnhq(60.0) with the flag set: ', p4
end program hyperbolic
