! gfortran's own numeric model intrinsics, MODULO and MERGE, one out-of-line
! bind(C) function per intrinsic and kind, arguments by reference: the
! references of model_bench.cpp, called the way compiled code calls ours.
! Real16 is gfortran's real(16), the same 128-bit layout.
module model_reference
  use, intrinsic :: iso_c_binding, only: c_float, c_double, c_float128, c_int32_t
  implicit none
  private
  public :: f_exponent4, f_exponent8, f_exponent16, f_fraction4, f_fraction8, f_fraction16, &
            f_nearest4, f_nearest8, f_nearest16, f_rrspacing4, f_rrspacing8, f_rrspacing16, &
            f_scale4, f_scale8, f_scale16, f_set_exponent4, f_set_exponent8, f_set_exponent16, &
            f_spacing4, f_spacing8, f_spacing16, f_modulo4, f_modulo8, f_modulo16, &
            f_merge4, f_merge8, f_merge16

contains

  integer(c_int32_t) function f_exponent4(x) bind(C)
    real(c_float), intent(in) :: x
    f_exponent4 = exponent(x)
  end function f_exponent4

  integer(c_int32_t) function f_exponent8(x) bind(C)
    real(c_double), intent(in) :: x
    f_exponent8 = exponent(x)
  end function f_exponent8

  integer(c_int32_t) function f_exponent16(x) bind(C)
    real(c_float128), intent(in) :: x
    f_exponent16 = exponent(x)
  end function f_exponent16

  real(c_float) function f_fraction4(x) bind(C)
    real(c_float), intent(in) :: x
    f_fraction4 = fraction(x)
  end function f_fraction4

  real(c_double) function f_fraction8(x) bind(C)
    real(c_double), intent(in) :: x
    f_fraction8 = fraction(x)
  end function f_fraction8

  real(c_float128) function f_fraction16(x) bind(C)
    real(c_float128), intent(in) :: x
    f_fraction16 = fraction(x)
  end function f_fraction16

  real(c_float) function f_nearest4(x, s) bind(C)
    real(c_float), intent(in) :: x, s
    f_nearest4 = nearest(x, s)
  end function f_nearest4

  real(c_double) function f_nearest8(x, s) bind(C)
    real(c_double), intent(in) :: x, s
    f_nearest8 = nearest(x, s)
  end function f_nearest8

  real(c_float128) function f_nearest16(x, s) bind(C)
    real(c_float128), intent(in) :: x, s
    f_nearest16 = nearest(x, s)
  end function f_nearest16

  real(c_float) function f_rrspacing4(x) bind(C)
    real(c_float), intent(in) :: x
    f_rrspacing4 = rrspacing(x)
  end function f_rrspacing4

  real(c_double) function f_rrspacing8(x) bind(C)
    real(c_double), intent(in) :: x
    f_rrspacing8 = rrspacing(x)
  end function f_rrspacing8

  real(c_float128) function f_rrspacing16(x) bind(C)
    real(c_float128), intent(in) :: x
    f_rrspacing16 = rrspacing(x)
  end function f_rrspacing16

  real(c_float) function f_scale4(x, i) bind(C)
    real(c_float), intent(in) :: x
    integer(c_int32_t), intent(in) :: i
    f_scale4 = scale(x, i)
  end function f_scale4

  real(c_double) function f_scale8(x, i) bind(C)
    real(c_double), intent(in) :: x
    integer(c_int32_t), intent(in) :: i
    f_scale8 = scale(x, i)
  end function f_scale8

  real(c_float128) function f_scale16(x, i) bind(C)
    real(c_float128), intent(in) :: x
    integer(c_int32_t), intent(in) :: i
    f_scale16 = scale(x, i)
  end function f_scale16

  real(c_float) function f_set_exponent4(x, i) bind(C)
    real(c_float), intent(in) :: x
    integer(c_int32_t), intent(in) :: i
    f_set_exponent4 = set_exponent(x, i)
  end function f_set_exponent4

  real(c_double) function f_set_exponent8(x, i) bind(C)
    real(c_double), intent(in) :: x
    integer(c_int32_t), intent(in) :: i
    f_set_exponent8 = set_exponent(x, i)
  end function f_set_exponent8

  real(c_float128) function f_set_exponent16(x, i) bind(C)
    real(c_float128), intent(in) :: x
    integer(c_int32_t), intent(in) :: i
    f_set_exponent16 = set_exponent(x, i)
  end function f_set_exponent16

  real(c_float) function f_spacing4(x) bind(C)
    real(c_float), intent(in) :: x
    f_spacing4 = spacing(x)
  end function f_spacing4

  real(c_double) function f_spacing8(x) bind(C)
    real(c_double), intent(in) :: x
    f_spacing8 = spacing(x)
  end function f_spacing8

  real(c_float128) function f_spacing16(x) bind(C)
    real(c_float128), intent(in) :: x
    f_spacing16 = spacing(x)
  end function f_spacing16

  real(c_float) function f_modulo4(a, p) bind(C)
    real(c_float), intent(in) :: a, p
    f_modulo4 = modulo(a, p)
  end function f_modulo4

  real(c_double) function f_modulo8(a, p) bind(C)
    real(c_double), intent(in) :: a, p
    f_modulo8 = modulo(a, p)
  end function f_modulo8

  real(c_float128) function f_modulo16(a, p) bind(C)
    real(c_float128), intent(in) :: a, p
    f_modulo16 = modulo(a, p)
  end function f_modulo16

  ! MASK is a default LOGICAL (4 bytes, 0 false), as ours takes it; it is
  ! not a C-interoperable kind, hence -Wno-c-binding-type for this file.
  real(c_float) function f_merge4(tsource, fsource, mask) bind(C)
    real(c_float), intent(in) :: tsource, fsource
    logical, intent(in) :: mask
    f_merge4 = merge(tsource, fsource, mask)
  end function f_merge4

  real(c_double) function f_merge8(tsource, fsource, mask) bind(C)
    real(c_double), intent(in) :: tsource, fsource
    logical, intent(in) :: mask
    f_merge8 = merge(tsource, fsource, mask)
  end function f_merge8

  real(c_float128) function f_merge16(tsource, fsource, mask) bind(C)
    real(c_float128), intent(in) :: tsource, fsource
    logical, intent(in) :: mask
    f_merge16 = merge(tsource, fsource, mask)
  end function f_merge16

end module model_reference
