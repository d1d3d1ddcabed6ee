! gfortran's own MATMUL for bench/matmul_bench.cpp: c = matmul(a, b) of
! n-by-n Real8 arrays, as a program compiled by gfortran evaluates it.
subroutine gfortran_matmul(n, a, b, c) bind(c, name='gfortran_matmul')
  use, intrinsic :: iso_c_binding, only: c_double, c_int32_t
  integer(c_int32_t), value :: n
  real(c_double), intent(in) :: a(n, n), b(n, n)
  real(c_double), intent(out) :: c(n, n)
  c = matmul(a, b)
end subroutine
