! REAL*16 exponentials, logarithms, cube root, hyperbolic, error and gamma
! functions through vexmorg, beside gfortran's own real(16) intrinsics, with
! the difference in units of the last place of gfortran's value. Then the
! logarithm of a negative number goes to the runtime (error 246) and comes
! back as the logarithm of its magnitude.
program real16_exp_log
  use, intrinsic :: iso_c_binding
  use vexmorg
  use vexmori
  implicit none

  real(c_float128) :: x, ours

  print '(a)', 'REAL*16: vexmorg beside gfortran (difference in ulps)'
  x = 10.5_c_float128
  call g_qexp(ours, x)
  call show('exp(10.5)', ours, exp(x))
  call g_qexp2(ours, x)
  call show('2**10.5', ours, 2.0_c_float128**x)
  x = 3.0_c_float128
  call g_qexp10(ours, x)
  call show('10**3', ours, 10.0_c_float128**x)
  x = 1000.0_c_float128
  call g_qlog(ours, x)
  call show('log(1000)', ours, log(x))
  call g_qlog10(ours, x)
  call show('log10(1000)', ours, log10(x))
  call g_qcbrt(ours, x)
  call show('cbrt(1000)', ours, x**(1.0_c_float128 / 3))
  x = 0.75_c_float128
  call g_qsinh(ours, x)
  call show('sinh(0.75)', ours, sinh(x))
  call g_qtanh(ours, x)
  call show('tanh(0.75)', ours, tanh(x))
  call g_qerf(ours, x)
  call show('erf(0.75)', ours, erf(x))
  call g_qerfc(ours, x)
  call show('erfc(0.75)', ours, erfc(x))
  x = 7.25_c_float128
  call g_qgamma(ours, x)
  call show('gamma(7.25)', ours, gamma(x))
  call g_qlgama(ours, x)
  call show('log_gamma(7.25)', ours, log_gamma(x))

  ! A negative argument: error 246; with the infinity flag clear the
  ! default is the logarithm of |x|.
  call vexmori_set_infinity_flag(0_c_int8_t)
  x = -exp(1.0_c_float128)
  call g_qlog(ours, x)
  print '(/a, f40.34)', 'log(-e), default after error 246: ', ours

contains

  subroutine show(what, got, want)
    character(*), intent(in) :: what
    real(c_float128), intent(in) :: got, want
    print '(a16, es44.34e4, f8.2)', what, got, (got - want) / spacing(want)
  end subroutine

end program
