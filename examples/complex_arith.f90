! Complex quotients through vexmorg. The textbook formula
! (p*c + q*d)/(c*c + d*d) squares the divisor's components, and for a
! divisor of 1e200 (1e20 in single precision) those squares overflow to
! infinity, so it returns 0 + 0i. g_axdx and g_acdc divide the larger
! component into the smaller one (Smith's formula) and never form them.
program complex_arith
  use, intrinsic :: iso_c_binding
  use vexmorg
  implicit none

  complex(c_double_complex) :: a = (1.0d0, 2.0d0), b = (1.0d200, 1.0d200), q
  complex(c_float_complex) :: a8 = (1.0, 2.0), b8 = (1.0e20, 1.0e20), q8

  print '(a)', 'Complex quotients a / b: textbook formula, vexmorg, gfortran'
  call g_axdx(q, a, b)
  call show16('Complex16 (1, 2) / (1e200, 1e200)', naive16(a, b), q, a / b)
  call g_acdc(q8, a8, b8)
  call show16('Complex8  (1, 2) / (1e20, 1e20)', cmplx(naive8(a8, b8), kind=c_double), &
              cmplx(q8, kind=c_double), cmplx(a8 / b8, kind=c_double))

contains

  function naive16(a, b) result(r)
    complex(c_double_complex), intent(in) :: a, b
    complex(c_double_complex) :: r
    real(c_double) :: den
    den = real(b)**2 + aimag(b)**2
    r = cmplx((real(a) * real(b) + aimag(a) * aimag(b)) / den, &
              (aimag(a) * real(b) - real(a) * aimag(b)) / den, kind=c_double)
  end function

  function naive8(a, b) result(r)
    complex(c_float_complex), intent(in) :: a, b
    complex(c_float_complex) :: r
    real(c_float) :: den
    den = real(b)**2 + aimag(b)**2
    r = cmplx((real(a) * real(b) + aimag(a) * aimag(b)) / den, &
              (aimag(a) * real(b) - real(a) * aimag(b)) / den, kind=c_float)
  end function

  subroutine show16(what, naive, ours, theirs)
    character(*), intent(in) :: what
    complex(c_double_complex), intent(in) :: naive, ours, theirs
    print '(/a)', what
    print '(a, 2es25.16e3)', '  textbook  ', naive
    print '(a, 2es25.16e3)', '  vexmorg   ', ours
    print '(a, 2es25.16e3)', '  gfortran  ', theirs
  end subroutine

end program
