// The resume loop shared by every function that can report an error.
//
// A function states one attempt on its current arguments: the domain tests
// and the computation, ending in either `result(value)` or an error with its
// number and its two defaults. `resume_loop` does the rest:
//
//   1. run the attempt; a result is returned;
//   2. on an error, copy the arguments into argument slots and value copies
//      and report (raise_intrinsic_error, or signal_arith_exception for the
//      arithmetic exceptions of the software operations);
//   3. resume word nonzero: take the arguments from the slots, whatever the
//      handler left there, and go to 1;
//   4. zero (or no report made): return the default the infinity flag picks.
//
// No count bounds the loop: it ends when the handler supplies a valid
// argument or answers zero.
//
// g_sin (src/elem/trig/sin_cos.cpp, written out for Real4 alone):
//
//   float g_sin(const float *x) {
//     return resume_loop(
//         [](float v) {
//           // |x| >= 823000 or infinite: too large to reduce (a NaN is not).
//           if (std::fabs(v) >= asinmx) return argument_error(err::kSinRange, kSqrtHalfF, _NaN_F);
//           return result(static_cast<float>(x87::fsin(v)));
//         },
//         *x);
//   }
#pragma once

#include <cstdint>
#include <type_traits>

#include "frame/error_numbers.h"
#include "frame/errors.h"

namespace vx {

// Which path an error takes to the runtime.
enum class Via : std::uint8_t { argument_error, arith_exception };

// The outcome of one attempt: a result, or an error with both defaults.
template <class R>
struct Attempt {
  R value;             // the result; after an error, the finite default
  R ieee;              // the default when the infinity flag is 1
  std::int32_t error;  // 0 when `value` is the result
  Via via;
  bool values = true;  // false: this error reports no values, whatever kValues says
};

template <class R>
constexpr Attempt<R> result(R value) {
  return {value, value, 0, Via::argument_error, true};
}

// An argument outside the domain: reported through raise_intrinsic_error.
template <class R>
constexpr Attempt<R> argument_error(std::int32_t number, R finite, R ieee) {
  return {finite, ieee, number, Via::argument_error, true};
}

// Overflow, underflow or division by zero of a software operation: reported
// through signal_arith_exception, and only when the runtime asks for it.
template <class R>
constexpr Attempt<R> arith_exception(std::int32_t number, R finite, R ieee) {
  return {finite, ieee, number, Via::arith_exception, true};
}

// An error that reports its argument slots but no values, in a function
// whose other errors report values (a division by zero beside the overflow
// and underflow of the same quotient).
template <class R>
constexpr Attempt<R> without_values(Attempt<R> a) {
  a.values = false;
  return a;
}

// Which arguments are also reported as values (bit i: argument i), numbered
// in argument order. Every argument always gets its slot.
enum Values : unsigned {
  kNoValues = 0,
  kFirstValue = 1,
  kSecondValue = 2,
  kBothValues = 3,
};

namespace detail {

inline std::int32_t report(Via via, std::int32_t number, void *slot1, void *slot2,
                           const ValueRef *values, int count) {
  return via == Via::arith_exception ? signal_arith_exception(number, slot1, slot2, values, count)
                                     : raise_intrinsic_error(number, slot1, slot2, values, count);
}

// Reports one argument; on resume `x` takes the slot's value.
template <unsigned kValues, class A>
[[gnu::noinline, gnu::cold]] bool report_args(Via via, std::int32_t number, bool with_values,
                                              A &x) {
  A slot = x;
  const A copy = x;
  const ValueRef value{&copy, type_code<A>};
  const int count = (with_values && (kValues & 1)) ? 1 : 0;
  if (report(via, number, &slot, nullptr, &value, count) == 0) return false;
  x = slot;
  return true;
}

// Reports two arguments (slots in argument order); on resume both take the
// slots' values.
template <unsigned kValues, class A, class B>
[[gnu::noinline, gnu::cold]] bool report_args(Via via, std::int32_t number, bool with_values, A &a,
                                              B &b) {
  A slot1 = a;
  B slot2 = b;
  const A copy1 = a;
  const B copy2 = b;
  ValueRef values[2] = {};
  int count = 0;
  if (with_values && (kValues & 1)) values[count++] = {&copy1, type_code<A>};
  if (with_values && (kValues & 2)) values[count++] = {&copy2, type_code<B>};
  if (report(via, number, &slot1, &slot2, values, count) == 0) return false;
  a = slot1;
  b = slot2;
  return true;
}

// The loop proper, out of line: it starts again from the first attempt,
// which is a pure function of the arguments, so the caller's fast path
// keeps nothing for it.
template <unsigned kValues, class F, class... A>
[[gnu::noinline, gnu::cold]] auto report_and_resume(F attempt, A... args)
    -> decltype(attempt(args...).value) {
  for (;;) {
    const auto a = attempt(args...);
    if (a.error == 0) return a.value;
    if (!report_args<kValues>(a.via, a.error, a.values, args...))
      return pick_default(a.value, a.ieee);
  }
}

}  // namespace detail

// Runs `attempt(args...)` under the resume loop. One or two arguments, each
// with a reportable type (type_code). `kValues` says which are reported as
// values; the default reports each one. The first attempt is inlined,
// reads the arguments where they are and returns its result directly; only
// an error leaves for the loop, which works on copies.
template <unsigned kValues = kBothValues, class F, class... A>
[[gnu::always_inline]] inline auto resume_loop(F attempt, const A &...args)
    -> decltype(attempt(args...).value) {
  static_assert(sizeof...(A) == 1 || sizeof...(A) == 2, "one or two arguments");
  static_assert(((type_code<A> != 0) && ...), "argument without a value type code");
  const auto a = attempt(args...);
  if (a.error == 0) [[likely]]
    return a.value;
  return detail::report_and_resume<kValues>(attempt, args...);
}

}  // namespace vx
