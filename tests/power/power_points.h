// What the power suites share: every ** entry called on its operands by
// value, and its fixed points: a result given without a report, or a report
// checked whole (number, values, argument slots, the default under both
// infinity flags and at once with the reports off or muted) and a handler
// that changes the slots and resumes.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <type_traits>

#include "support/checks.h"
#include "support/ieee_constants.h"
#include "support/real16_checks.h"

namespace power_test {

using namespace support;
using std::int32_t, std::int64_t;

// Result, base and exponent of x ** n, x ** y (the result by value or through
// a result address), 2 ** x and 10 ** x (whose base is only reported).
template <class R, class X, class Y>
std::tuple<R, X, Y> sig(R (*)(const X *, const Y *));
template <class R, class X, class Y>
std::tuple<R, X, Y> sig(R *(*)(R *, const X *, const Y *));
template <class R>
std::tuple<R, R, R> sig(R (*)(const R *));
template <class R>
std::tuple<R, R, R> sig(R *(*)(R *, const R *));
template <auto fn, int i>
using Type = std::tuple_element_t<i, decltype(sig(fn))>;
template <auto fn>
using Result = Type<fn, 0>;
template <auto fn>
using Base = Type<fn, 1>;
template <auto fn>
using Exponent = Type<fn, 2>;

// fn(a, b) by value; a result address must come back.
template <auto fn>
Result<fn> call(const Base<fn> &a, const Exponent<fn> &b) {
  using F = decltype(fn);
  Result<fn> r;
  if constexpr (std::is_invocable_v<F, const Base<fn> *, const Exponent<fn> *>)
    r = fn(&a, &b);
  else if constexpr (std::is_invocable_v<F, const Exponent<fn> *>)
    r = fn(&b);
  else if constexpr (std::is_invocable_v<F, Result<fn> *, const Exponent<fn> *>)
    EXPECT_EQ(fn(&r, &b), &r);
  else
    EXPECT_EQ(fn(&r, &a, &b), &r);
  return r;
}

// "g_arxi" for fn = g_arxi.
template <auto fn>
std::string name_of() {
  const std::string s = __PRETTY_FUNCTION__;  // "... [with auto fn = g_arxi; ...]"
  const std::size_t at = s.find("fn = ") + 5;
  return s.substr(at, s.find_first_of(";]", at) - at);
}

template <class T>
bool same(const T &a, const T &b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// The type code of a reported value.
template <class T>
constexpr int kCode = std::is_integral_v<T> ? (sizeof(T) == 4 ? 3 : 4)
                      : sizeof(T) == 4      ? 9
                      : sizeof(T) == 8      ? 10
                                            : 11;

// A row of a table: fn(a, b) gives `want` without a report; or, with
// `error`, reports it with `values` values (1: b; 2: a and b; 0: reported by
// a step, with its own slots) and gives `want` under infinity flag 0,
// `ieee` under 1. A handler that writes fix_a and fix_b (those given) into
// the slots and resumes gets `fixed`.
template <auto fn>
std::function<void()> at(Base<fn> a, Exponent<fn> b, Result<fn> want, int32_t error = 0,
                         int values = 0, Result<fn> ieee = {}, std::optional<Base<fn>> fix_a = {},
                         std::optional<Exponent<fn>> fix_b = {}, Result<fn> fixed = {}) {
  return [=] {
    SCOPED_TRACE(name_of<fn>() + " error " + std::to_string(error));
    for (std::uint8_t flag : {0, 1}) {
      Recorder rec(flag);
      Base<fn> slot1{};
      Exponent<fn> slot2{};
      rec.answer = [&](const Report &r, int) {
        return slot1 = r.slot_as<Base<fn>>(1), slot2 = r.slot_as<Exponent<fn>>(2), 0;
      };
      EXPECT_TRUE(same(call<fn>(a, b), flag && error ? ieee : want)) << "flag " << int{flag};
      ASSERT_EQ(rec.reports.empty(), error == 0);
      ASSERT_TRUE(values == 0 || rec.reports.size() == 1);  // a step may report once per step
      if (error == 0) return;
      const Report &r = rec.reports[0];
      EXPECT_EQ(r.number, error);
      if (values == 0) continue;
      EXPECT_EQ(r.value_count, values);
      EXPECT_EQ(r.value_type[values - 1], kCode<Exponent<fn>>);
      EXPECT_TRUE(same(r.value_as<Exponent<fn>>(values - 1), b));
      EXPECT_TRUE(values == 1 ||
                  (r.value_type[0] == kCode<Base<fn>> && same(r.value_as<Base<fn>>(0), a)));
      EXPECT_TRUE(same(slot1, a) && same(slot2, b));
    }
    for (std::uint8_t mute : {0, 1}) {
      Recorder rec(0, mute, mute);  // reports off, or muted
      EXPECT_TRUE(same(call<fn>(a, b), want));
      EXPECT_TRUE(rec.reports.empty());
    }
    if (!fix_a && !fix_b) return;
    Recorder rec;
    rec.answer = [&](const Report &r, int index) {
      if (fix_a) replace(r, 1, *fix_a);
      if (fix_b) replace(r, 2, *fix_b);
      return index == 0;
    };
    EXPECT_TRUE(same(call<fn>(a, b), fixed)) << "resumed";
  };
}

}  // namespace power_test
