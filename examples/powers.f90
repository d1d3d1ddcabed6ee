! The ** operators through vexmorg, called the way compiled code calls
! them. x ** n for an integer n is binary exponentiation whose working
! precision is part of the operator: g_arxi rounds every square to Real4,
! g_arxj rounds once. A real exponent goes through 2^(y log2 x); a negative
! base needs an integral exponent, and the runtime decides what happens
! when it is not.
program powers
  use, intrinsic :: iso_c_binding
  use vexmorg
  use vexmori
  implicit none

  real(c_float) :: x4 = 3.0, y4
  integer(c_int32_t) :: n4 = 20, minus3 = -3
  integer(c_int64_t) :: n8 = 20
  real(c_double) :: half = 0.5d0, x8, y8
  real(c_float128) :: q, r
  type(vexmori_error_report) :: report
  integer(c_int32_t) :: reports

  print '(a)', '3.0 ** 20 (exactly 3486784401)'
  print '(a, f14.1)', '  g_arxi, squares rounded to Real4 ', g_arxi(x4, n4)
  print '(a, f14.1)', '  g_arxj, rounded once            ', g_arxj(x4, n8)
  print '(a, f14.1)', '  gfortran                        ', x4**n4

  print '(/a, f0.1)', '0.5d0 ** (-3) through g_adxi (the doubled accumulator): ', &
    g_adxi(half, minus3)

  print '(/a)', 'x ** y for Real8 against gfortran'
  x8 = 1.0000001d0
  y8 = 1.0d9
  print '(a, 2es25.16)', '  1.0000001d0 ** 1d9 ', g_adxd(x8, y8), x8**y8
  x8 = -2.0d0
  y8 = 10.0d0
  print '(a, 2es25.16)', '  (-2d0) ** 10d0     ', g_adxd(x8, y8), x8**y8

  ! A negative base with a non-integral exponent: error 263 reaches the
  ! handler once the runtime asks for exception reports; it declines, and
  ! with the infinity flag clear the power of |x| comes back.
  call vexmori_set_report_flag(1_c_int8_t)
  call vexmori_set_infinity_flag(0_c_int8_t)
  x4 = -8.0
  y4 = 1.0 / 3.0
  print '(/a, es15.8)', '(-8.0) ** (1.0/3.0) = ', g_arxr(x4, y4)
  reports = vexmori_last_error(report)
  print '(a, i0, a, i0, a)', '  runtime saw error ', report%number, ' with ', &
    report%value_count, ' reported values'
  call vexmori_set_infinity_flag(1_c_int8_t)
  print '(a, es15.8)', '  with the infinity flag set: ', g_arxr(x4, y4)
  call vexmori_set_report_flag(0_c_int8_t)

  print '(/a)', 'Real16 2 ** x and 10 ** x'
  q = 0.5_c_float128
  call g_a2xq(r, q)
  print '(a, es44.34)', '  2 ** 0.5  ', r
  print '(a, es44.34)', '  sqrt(2)   ', sqrt(2.0_c_float128)
  q = -1.0_c_float128
  call g_atxq(r, q)
  print '(a, es44.34)', '  10 ** (-1)', r
end program powers
