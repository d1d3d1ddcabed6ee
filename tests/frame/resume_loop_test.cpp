// The resume loop: which arguments go into slots and values, what a resume
// does with the slots, and which default a declined report returns.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>

#include "frame/resume.h"
#include "support/recorder.h"

namespace {

using support::Recorder;
using support::Report;
using vx::Attempt;

// A toy function: the square of x for x >= 0, error 900 otherwise.
Attempt<float> square_attempt(float x) {
  if (x < 0) return vx::argument_error(900, -1.0f, std::bit_cast<float>(0x7fc00000u));
  return vx::result(x * x);
}

TEST(ResumeLoop, PassesWithoutReporting) {
  Recorder rec;
  EXPECT_EQ(vx::resume_loop(square_attempt, 3.0f), 9.0f);
  EXPECT_TRUE(rec.reports.empty());
}

TEST(ResumeLoop, SlotAndValueAreSeparateCopiesOfTheArgument) {
  Recorder rec;
  vx::resume_loop(square_attempt, -2.5f);
  ASSERT_EQ(rec.reports.size(), 1u);
  const Report &r = rec.reports[0];
  EXPECT_EQ(r.number, 900);
  EXPECT_EQ(r.value_count, 1);
  EXPECT_EQ(r.value_type[0], 9);
  EXPECT_NE(r.slot1, r.value_address[0]);
  EXPECT_EQ(r.value_as<float>(0), -2.5f);
}

TEST(ResumeLoop, ResumeTakesTheReplacementFromTheSlot) {
  Recorder rec;
  rec.answer = [](const Report &r, int) {
    support::replace(r, 1, 4.0f);
    return 1;
  };
  EXPECT_EQ(vx::resume_loop(square_attempt, -1.0f), 16.0f);
  EXPECT_EQ(rec.reports.size(), 1u);
}

TEST(ResumeLoop, AFailingReplacementReportsAgain) {
  Recorder rec;
  rec.answer = [](const Report &r, int index) {
    support::replace(r, 1, index == 0 ? -7.0f : 2.0f);
    return 1;
  };
  EXPECT_EQ(vx::resume_loop(square_attempt, -1.0f), 4.0f);
  ASSERT_EQ(rec.reports.size(), 2u);
  EXPECT_EQ(rec.reports[1].value_as<float>(0), -7.0f);
}

TEST(ResumeLoop, ResumeWithoutChangeReportsAgainUntilDeclined) {
  Recorder rec(0);
  rec.answer = [](const Report &, int index) { return index < 4 ? 1 : 0; };
  EXPECT_EQ(vx::resume_loop(square_attempt, -1.0f), -1.0f);
  EXPECT_EQ(rec.reports.size(), 5u);
}

struct DefaultCase {
  std::uint8_t infinity;
  bool ieee;
};

class Defaults : public ::testing::TestWithParam<DefaultCase> {};

TEST_P(Defaults, TheInfinityFlagChoosesOnlyWhenItIsOne) {
  Recorder rec(GetParam().infinity);
  const float v = vx::resume_loop(square_attempt, -1.0f);
  if (GetParam().ieee) {
    EXPECT_EQ(std::bit_cast<std::uint32_t>(v), 0x7fc00000u);
  } else {
    EXPECT_EQ(v, -1.0f);
  }
}

INSTANTIATE_TEST_SUITE_P(Flag, Defaults,
                         ::testing::Values(DefaultCase{1, true}, DefaultCase{0, false},
                                           DefaultCase{2, false}, DefaultCase{0xff, false}));

// Two arguments: y (double) and n (INTEGER*4); error when both are zero.
Attempt<double> pair_attempt(double y, std::int32_t n) {
  if (y == 0 && n == 0) return vx::argument_error(901, 0.0, 1.0);
  return vx::result(y + n);
}

TEST(ResumeLoop, TwoArgumentsWithoutValues) {
  Recorder rec;
  Recorder::clear_value_count();
  rec.answer = [](const Report &r, int) {
    EXPECT_EQ(r.slot_as<double>(1), 0.0);
    EXPECT_EQ(r.slot_as<std::int32_t>(2), 0);
    support::replace(r, 2, std::int32_t{5});
    return 1;
  };
  EXPECT_EQ(vx::resume_loop<vx::kNoValues>(pair_attempt, 0.0, 0), 5.0);
  ASSERT_EQ(rec.reports.size(), 1u);
  EXPECT_EQ(rec.reports[0].value_count, 0);
}

TEST(ResumeLoop, SecondArgumentAsTheOnlyValue) {
  Recorder rec;
  vx::resume_loop<vx::kSecondValue>(pair_attempt, 0.0, 0);
  ASSERT_EQ(rec.reports.size(), 1u);
  EXPECT_EQ(rec.reports[0].value_count, 1);
  EXPECT_EQ(rec.reports[0].value_type[0], 3);  // INTEGER*4
}

TEST(ResumeLoop, BothArgumentsAsValues) {
  Recorder rec;
  vx::resume_loop<vx::kBothValues>(pair_attempt, 0.0, 0);
  ASSERT_EQ(rec.reports.size(), 1u);
  EXPECT_EQ(rec.reports[0].value_count, 2);
  EXPECT_EQ(rec.reports[0].value_type[0], 10);
  EXPECT_EQ(rec.reports[0].value_type[1], 3);
}

// An overflow of a software operation goes through signal_arith_exception.
Attempt<double> overflow_attempt(double a, double b) {
  if (a * b > 1e300) return vx::arith_exception(902, 7.0, HUGE_VAL);
  return vx::result(a * b);
}

TEST(ResumeLoop, ArithmeticExceptionsReportOnlyWhenAsked) {
  {
    Recorder rec(0, 0, 0);
    EXPECT_EQ(vx::resume_loop<vx::kNoValues>(overflow_attempt, 1e200, 1e200), 7.0);
    EXPECT_TRUE(rec.reports.empty());
  }
  {
    Recorder rec(1, 1, 0);
    rec.answer = [](const Report &r, int) {
      support::replace(r, 2, 2.0);
      return 1;
    };
    EXPECT_EQ(vx::resume_loop<vx::kNoValues>(overflow_attempt, 1e200, 1e200), 2e200);
    ASSERT_EQ(rec.reports.size(), 1u);
    EXPECT_EQ(rec.reports[0].number, 902);
  }
}

}  // namespace

// One error of a function may report no values while its others do.
Attempt<double> quotient_attempt(double a, double b) {
  if (b == 0) return vx::without_values(vx::arith_exception(903, 0.0, 1.0));
  if (a / b > 1e300) return vx::arith_exception(904, 2.0, 3.0);
  return vx::result(a / b);
}

TEST(ResumeLoop, AnErrorWithoutValuesInAFunctionWithValues) {
  Recorder rec(1, 1, 0);
  EXPECT_EQ(vx::resume_loop<vx::kBothValues>(quotient_attempt, 1.0, 0.0), 1.0);
  ASSERT_EQ(rec.reports.size(), 1u);
  EXPECT_EQ(rec.reports[0].number, 903);
  EXPECT_EQ(rec.reports[0].value_count, 0);
  EXPECT_EQ(rec.reports[0].slot_as<double>(2), 0.0);
  EXPECT_EQ(vx::resume_loop<vx::kBothValues>(quotient_attempt, 1e200, 1e-200), 3.0);
  ASSERT_EQ(rec.reports.size(), 2u);
  EXPECT_EQ(rec.reports[1].number, 904);
  EXPECT_EQ(rec.reports[1].value_count, 2);
}
