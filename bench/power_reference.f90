! gfortran's own ** with an integer exponent, one out-of-line bind(C)
! procedure per base and exponent kind, arguments by reference: the
! references of power_bench.cpp. Complex and Real16 results go through a
! result argument, as ours go through the hidden result address.
module power_reference
  use, intrinsic :: iso_c_binding, only: c_float, c_double, c_float128, c_int32_t, c_int64_t, &
                                         c_float_complex, c_double_complex
  implicit none
  private
  public :: f_powi4, f_powi8, f_powj4, f_powj8, f_cpowi8, f_cpowi16, f_qpowi

contains

  real(c_float) function f_powi4(x, n) bind(C)
    real(c_float), intent(in) :: x
    integer(c_int32_t), intent(in) :: n
    f_powi4 = x**n
  end function f_powi4

  real(c_double) function f_powi8(x, n) bind(C)
    real(c_double), intent(in) :: x
    integer(c_int32_t), intent(in) :: n
    f_powi8 = x**n
  end function f_powi8

  real(c_float) function f_powj4(x, n) bind(C)
    real(c_float), intent(in) :: x
    integer(c_int64_t), intent(in) :: n
    f_powj4 = x**n
  end function f_powj4

  real(c_double) function f_powj8(x, n) bind(C)
    real(c_double), intent(in) :: x
    integer(c_int64_t), intent(in) :: n
    f_powj8 = x**n
  end function f_powj8

  subroutine f_cpowi8(r, x, n) bind(C)
    complex(c_float_complex), intent(out) :: r
    complex(c_float_complex), intent(in) :: x
    integer(c_int32_t), intent(in) :: n
    r = x**n
  end subroutine f_cpowi8

  subroutine f_cpowi16(r, x, n) bind(C)
    complex(c_double_complex), intent(out) :: r
    complex(c_double_complex), intent(in) :: x
    integer(c_int32_t), intent(in) :: n
    r = x**n
  end subroutine f_cpowi16

  subroutine f_qpowi(r, x, n) bind(C)
    real(c_float128), intent(out) :: r
    real(c_float128), intent(in) :: x
    integer(c_int32_t), intent(in) :: n
    r = x**n
  end subroutine f_qpowi

end module power_reference
