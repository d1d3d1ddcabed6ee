! REAL*16 through vexmorg, beside gfortran's own real(16) arithmetic (the
! two share their bit layout for normal numbers): the four operators, the
! square root and two conversions, each marked "same" when the bits agree.
! Then an overflow travels through the runtime as an arithmetic exception,
! and NEAREST steps across the ends of the range.
program real16
  use, intrinsic :: iso_c_binding
  use vexmorg
  use vexmori
  implicit none

  real(c_float128) :: a(5) = [1.0_c_float128, -2.5_c_float128, 3.0e100_c_float128, &
                              1.0e-3_c_float128, 7.0_c_float128]
  real(c_float128) :: b(5) = [3.0_c_float128, 0.1_c_float128, -7.0e-50_c_float128, &
                              3.0_c_float128, -7.0_c_float128]
  real(c_float128) :: ours, big
  real(c_float) :: h4, x4
  type(vexmori_error_report) :: report
  integer(c_int32_t) :: reports
  integer :: i

  print '(a)', 'Real16: vexmorg beside gfortran'
  do i = 1, size(a)
    print '(/a, es12.4, a, es12.4)', 'a = ', a(i), ', b = ', b(i)
    call g_aqaq(ours, a(i), b(i))
    call show('a + b', ours, a(i) + b(i))
    call g_aqsq(ours, a(i), b(i))
    call show('a - b', ours, a(i) - b(i))
    call g_aqmq(ours, a(i), b(i))
    call show('a * b', ours, a(i) * b(i))
    call g_aqdq(ours, a(i), b(i))
    call show('a / b', ours, a(i) / b(i))
    call g_qsqrt(ours, abs(a(i)))
    call show('sqrt(|a|)', ours, sqrt(abs(a(i))))
    print '(a12, es42.34, a, l1)', 'dble(a / b)', g_dbleq(a(i) / b(i)), '  same ', &
      transfer(g_dbleq(a(i) / b(i)), 0_c_int64_t) == transfer(real(a(i) / b(i), c_double), 0_c_int64_t)
  end do

  ! The largest value times 2 overflows: error 1397 reaches the runtime's
  ! handler when exception reports are on; the handler declines, and the
  ! default is the largest value (infinity flag clear) or infinity.
  print '(/a)', 'An overflow through the runtime:'
  call vexmori_set_report_flag(1_c_int8_t)
  call vexmori_set_infinity_flag(0_c_int8_t)
  big = huge(big)
  call g_aqmq(ours, big, 2.0_c_float128)
  reports = vexmori_last_error(report)
  print '(a, es16.6e4, a, i0)', '  huge * 2 = ', ours, ', runtime saw error ', report%number
  call vexmori_set_infinity_flag(1_c_int8_t)
  call g_aqmq(ours, big, 2.0_c_float128)
  print '(a, es16.6e4)', '  with the infinity flag set: ', ours
  call vexmori_set_report_flag(0_c_int8_t)

  ! NEAREST steps the bit pattern: past the largest value lies the infinity,
  ! below the infinity the largest value, next to a zero the smallest
  ! subnormal. gfortran's NEAREST in the second column.
  print '(/a)', 'NEAREST at the ends of the range (ours, gfortran''s):'
  h4 = huge(h4)
  x4 = g_neare(h4, 1.0_c_float)
  print '(a, 2es16.8)', '  Real4 huge, up      ', x4, nearest(h4, 1.0)
  print '(a, 2es16.8)', '  Real4 infinity, down', g_neare(x4, -1.0_c_float), nearest(x4, -1.0)
  print '(a, 2es16.8)', '  Real4 -0.0, up      ', g_neare(-0.0_c_float, 1.0_c_float), &
    nearest(-0.0_c_float, 1.0)
  call g_neareq(ours, 0.0_c_float128, -1.0_c_float128)
  print '(a, 2es16.6e4)', '  Real16 0, down      ', ours, nearest(0.0_c_float128, -1.0)

contains

  subroutine show(what, ours, theirs)
    character(*), intent(in) :: what
    real(c_float128), intent(in) :: ours, theirs
    print '(a12, es42.34, a, l1)', what, ours, '  same ', &
      all(transfer(ours, [0_c_int64_t, 0_c_int64_t]) == transfer(theirs, [0_c_int64_t, 0_c_int64_t]))
  end subroutine

end program real16
