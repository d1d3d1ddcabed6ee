! Interfaces of the substitute core runtime (vexmori) for Fortran programs:
! the error handler, its answer and the flags that choose what the runtime
! answers when a vexmorg entry reports an error, and the test hooks that
! show what it saw. The C declarations are in vexmori.h.
module vexmori
  use, intrinsic :: iso_c_binding
  implicit none

  ! The error report the runtime's default handler keeps.
  type, bind(c) :: vexmori_error_report
    integer(c_int32_t) :: number
    integer(c_int32_t) :: value_count
    integer(c_int16_t) :: value_type(2)
    integer(c_int8_t) :: value(16, 2)
  end type

  interface
    ! Installs a handler (c_null_funptr reinstalls the default) and returns
    ! the previous one; the default records the report and answers zero.
    function vexmori_set_handler(handler) bind(c, name='vexmori_set_handler') result(previous)
      import :: c_funptr
      type(c_funptr), value :: handler
      type(c_funptr) :: previous
    end function
    subroutine vexmori_default_handler(record) bind(c, name='vexmori_default_handler')
      import :: c_ptr
      type(c_ptr), value :: record
    end subroutine
    ! The flag bytes: infinity (1: NaN and infinity defaults), exception
    ! report, exception mute.
    subroutine vexmori_set_infinity_flag(value) bind(c, name='vexmori_set_infinity_flag')
      import :: c_int8_t
      integer(c_int8_t), value :: value
    end subroutine
    subroutine vexmori_set_report_flag(value) bind(c, name='vexmori_set_report_flag')
      import :: c_int8_t
      integer(c_int8_t), value :: value
    end subroutine
    subroutine vexmori_set_mute_flag(value) bind(c, name='vexmori_set_mute_flag')
      import :: c_int8_t
      integer(c_int8_t), value :: value
    end subroutine
    ! For handlers: the answer (nonzero computes again), and the argument
    ! slots (1 or 2) of the report.
    subroutine vexmori_set_resume(word) bind(c, name='vexmori_set_resume')
      import :: c_int32_t
      integer(c_int32_t), value :: word
    end subroutine
    function vexmori_argument_slot(which) bind(c, name='vexmori_argument_slot') result(slot)
      import :: c_int, c_ptr
      integer(c_int), value :: which
      type(c_ptr) :: slot
    end function
    ! Test hooks: the control block, the default handler's last report and
    ! its count of reports, and the count of ulx_xint calls.
    function vexmori_control_block() bind(c, name='vexmori_control_block') result(block)
      import :: c_ptr
      type(c_ptr) :: block
    end function
    integer(c_int32_t) function vexmori_last_error(report) bind(c, name='vexmori_last_error')
      import :: c_int32_t, vexmori_error_report
      type(vexmori_error_report), intent(out) :: report
    end function
    integer(c_int32_t) function vexmori_xint_calls() bind(c, name='vexmori_xint_calls')
      import :: c_int32_t
    end function
  end interface
end module vexmori
