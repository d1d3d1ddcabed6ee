! A complex quotient through vexmorg. The textbook formula
! (p*c + q*d)/(c*c + d*d) squares the divisor's components; for a divisor
! of 1e200 + 1e200i those squares overflow to infinity and it returns
! 0 + 0i. g_axdx divides the larger component into the smaller one
! (Smith's formula) and never forms them.
program complex_arith
  use, intrinsic :: iso_c_binding
  use vexmorg
  implicit none

  complex(c_double_complex) :: a = (1.0d0, 2.0d0), b = (1.0d200, 1.0d200), q
  real(c_double) :: den

  print '(a)', '(1 + 2i) / (1e200 + 1e200i)'
  den = real(b)**2 + aimag(b)**2
  print '(a, 2es25.16e3)', '  textbook  ', (real(a) * real(b) + aimag(a) * aimag(b)) / den, &
    (aimag(a) * real(b) - real(a) * aimag(b)) / den
  call g_axdx(q, a, b)
  print '(a, 2es25.16e3)', '  vexmorg   ', q
  print '(a, 2es25.16e3)', '  gfortran  ', a / b
end program
