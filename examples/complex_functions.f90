! The branch cut of the complex square root and logarithm, along the
! negative real axis, approached with +0 and -0 imaginary parts. vexmorg
! chooses the side by y < 0, and -0 is not below zero: SQRT(-4 - 0i) is
! -0 + 2i (the sign of the zero only reaches the real part) and LOG(-1 -
! 0i) is 0 + pi i, as from above. gfortran follows the sign of the zero
! across the cut. Then the exponential of a real part too large: error
! 232, and with the runtime's default answer the IEEE substitute.
program complex_functions
  use, intrinsic :: iso_c_binding
  use vexmorg
  implicit none

  complex(c_float_complex) :: z, r
  real(c_float) :: minus_zero
  integer :: k

  minus_zero = -0.0
  do k = 1, 2
    if (k == 1) then
      z = cmplx(-4.0, 0.0, c_float)
    else
      z = cmplx(-4.0, minus_zero, c_float)
    end if
    call g_csqrt(r, z)
    print '(a, 2f6.1, a, 2f6.1, a, 2f6.1)', 'sqrt(', z, ')  vexmorg', r, '  gfortran', sqrt(z)
    z = cmplx(-1.0, aimag(z), c_float)
    call g_clog(r, z)
    print '(a, 2f6.1, a, 2f9.5, a, 2f9.5)', 'log (', z, ')  vexmorg', r, '  gfortran', log(z)
  end do
  z = cmplx(100.0, 1.0, c_float)
  call g_cexp(r, z)
  print '(a, 2es14.6)', 'exp(100 + 1i), refused:', r
end program
