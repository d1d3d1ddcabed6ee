! Calls vexmorg's entries the way compiled code does (every argument by
! reference, through the interfaces of the vexmorg module) and prints them
! beside gfortran's own intrinsics; then lets one argument error travel
! through the runtime's handler.
program trig_table
  use, intrinsic :: iso_c_binding
  use vexmorg
  use vexmori
  implicit none

  real(c_float) :: x4(6) = [0.0, 0.5, 1.0, 2.5, -100.25, 8000.0]
  real(c_double) :: x8(6) = [0.0d0, 0.5d0, 1.0d0, 2.5d0, -100.25d0, 123456.789d0]
  real(c_float) :: big4, r4
  type(vexmori_error_report) :: report
  integer(c_int32_t) :: reports
  integer :: i

  print '(a)', 'Real4: vexmorg beside gfortran'
  print '(a10, 4a16)', 'x', 'g_sin', 'sin', 'g_tan', 'tan'
  do i = 1, size(x4)
    print '(f10.3, 4es16.7)', x4(i), g_sin(x4(i)), sin(x4(i)), g_tan(x4(i)), tan(x4(i))
  end do

  print '(/a)', 'Real8: vexmorg beside gfortran'
  print '(a12, 4a25)', 'x', 'g_dcos', 'cos', 'g_dcotan', '1/tan'
  do i = 2, size(x8)
    print '(f12.3, 4es25.16)', x8(i), g_dcos(x8(i)), cos(x8(i)), g_dcotan(x8(i)), 1 / tan(x8(i))
  end do

  ! sin(1.0e6) is beyond the reduction limit: error 202 reaches the
  ! runtime's handler, which declines; with the infinity flag clear the
  ! default is sqrt(1/2).
  print '(/a)', 'An argument error through the runtime:'
  call vexmori_set_infinity_flag(0_c_int8_t)
  big4 = 1.0e6
  r4 = g_sin(big4)
  reports = vexmori_last_error(report)
  print '(a, es14.7, a, f10.8)', '  g_sin(', big4, ') = ', r4
  print '(a, i0, a, i0, a)', '  runtime saw error ', report%number, ' with ', &
    report%value_count, ' reported value'
  call vexmori_set_infinity_flag(1_c_int8_t)
  r4 = g_sin(big4)
  print '(a, f0.0)', '  with the infinity flag set the default is ', r4
end program trig_table
