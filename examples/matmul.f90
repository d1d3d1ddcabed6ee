! MATMUL through vexmorg as compiled code calls it: array descriptors
! (data address, rank, and per dimension the addresses of a byte stride and
! an extent) for C = MATMUL(A, B) through g_matmld, the BLAS-style route
! g_mt22blasd for C = 2 A**T B + D, and operands that do not conform, which
! reach the runtime's handler as error 1375 and leave the result's shape
! zero.
program matmul_example
  use, intrinsic :: iso_c_binding
  use vexmorg
  use vexmori
  implicit none

  integer, parameter :: w = int(c_sizeof(c_null_ptr)) / 4  ! 1 on 32-bit targets, 2 on 64-bit
  type, bind(c) :: dimension_entry
    type(c_ptr) :: stride_ref, extent_ref
  end type
  type, bind(c) :: array_descriptor
    type(c_ptr) :: data_address
    integer(c_int8_t) :: head(8 * w)  ! the rank is byte w + 1
    type(dimension_entry) :: dim(2)
  end type

  real(c_double), target :: a(3, 4), b(4, 2), c(3, 2), d(4, 2), e(4, 2)
  integer(c_int32_t), target :: ints(4, 4)  ! per descriptor: strides 1, 2 and extents 1, 2
  type(array_descriptor), target :: desc(4)
  type(c_ptr), target :: list(12)
  character(kind=c_char), target :: no = 'N', tr = 'T'
  real(c_double), target :: two = 2, zero = 0
  integer(c_int32_t), target :: ld3 = 3, ld4 = 4
  type(vexmori_error_report) :: report
  integer(c_int32_t) :: reports
  integer :: i

  a = reshape([(0.1d0 * i, i = 1, 12)], [3, 4])
  b = reshape([(1d0 / i, i = 1, 8)], [4, 2])
  d = 1

  ! C = MATMUL(A, B): list (result, A, B)
  call describe(1, c_loc(c), 0, 0)
  call describe(2, c_loc(a), 3, 4)
  call describe(3, c_loc(b), 4, 2)
  list(1:3) = [c_loc(desc(1)), c_loc(desc(2)), c_loc(desc(3))]
  call g_matmld(c_loc(list))
  print '(a, 2i3)', 'MATMUL(A, B) through g_matmld, shape', ints(3, 1), ints(4, 1)
  print '(2es25.16)', (c(i, :), i = 1, 3)
  print '(a, es10.2)', 'largest difference from gfortran''s MATMUL:', maxval(abs(c - matmul(a, b)))

  ! E = 2 A**T C + D: A**T 4-by-3, C 3-by-2, D 4-by-2; list (E, A, C, D, TRANSA, TRANSB,
  ! alpha, beta, LDE, LDA, LDC, LDD)
  e = 0
  call describe(4, c_loc(d), 4, 2)
  list = [c_loc(desc(3)), c_loc(desc(2)), c_loc(desc(1)), c_loc(desc(4)), c_loc(tr), c_loc(no), &
          c_loc(two), c_loc(zero), c_loc(ld4), c_loc(ld3), c_loc(ld3), c_loc(ld4)]
  call describe(1, c_loc(c), 3, 2)
  call describe(3, c_loc(e), 4, 2)
  call g_mt22blasd(c_loc(list))
  print '(a)', '2 A**T C + D through g_mt22blasd'
  print '(2es25.16)', (e(i, :), i = 1, 4)

  ! A (3-by-4) times C (3-by-2) does not conform: error 1375, result shape zero
  call describe(3, c_loc(e), 0, 0)
  list(1:3) = [c_loc(desc(3)), c_loc(desc(2)), c_loc(desc(1))]
  ints(3:4, 3) = 7
  call g_matmld(c_loc(list))
  reports = vexmori_last_error(report)
  print '(a, i5, a, 4i3)', 'MATMUL of 3-by-4 and 3-by-2: error', report%number, &
    ', result strides and extents', ints(:, 3)

contains

  ! Descriptor k over `data`: rank 2, contiguous columns of `rows` Real8.
  subroutine describe(k, data, rows, cols)
    integer, intent(in) :: k, rows, cols
    type(c_ptr), intent(in) :: data
    ints(:, k) = [8, 8 * rows, rows, cols]
    desc(k)%data_address = data
    desc(k)%head = 0
    desc(k)%head(w + 1) = 2
    desc(k)%dim(1) = dimension_entry(c_loc(ints(1, k)), c_loc(ints(3, k)))
    desc(k)%dim(2) = dimension_entry(c_loc(ints(2, k)), c_loc(ints(4, k)))
  end subroutine
end program
