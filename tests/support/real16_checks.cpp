#include "support/real16_checks.h"

#include <utility>

namespace support {

std::string show(const Real16 &x) { return oracle::describe(x); }

bool check_operator(const Operator16 &op, oracle::Real16Reference &ref, Recorder &rec,
                    const Real16 &a, const Real16 &b, int *budget) {
  using oracle::Outcome;
  const oracle::Real16Result want = (ref.*op.reference)(a, b);
  const std::size_t before = rec.reports.size();
  Real16 got;
  op.fn(&got, &a, &b);
  const std::size_t reports = rec.reports.size() - before;
  Real16 expected = want.bits;
  std::int32_t error = 0;
  const bool negative =
      op.infinity_by_sign_of_a ? (a.w[3] & kSign16) != 0 : ((a.w[3] ^ b.w[3]) & kSign16) != 0;
  switch (want.outcome) {
    case Outcome::value:
      break;
    case Outcome::overflow:
      error = op.overflow_error;
      expected = real16(negative ? 0xffff0000 : 0x7fff0000);
      break;
    case Outcome::underflow:
      error = op.underflow_error;
      expected = real16(0);
      break;
    case Outcome::divide_by_zero:
      error = op.divide_by_zero_error;
      expected =
          (a.w[3] & ~kSign16) == 0 ? real16(0x7fff8000) : real16((a.w[3] & kSign16) | 0x7fff0000);
      break;
  }
  const bool reports_ok =
      error == 0 ? reports == 0 : reports == 1 && rec.reports[before].number == error;
  const bool ok = reports_ok && oracle::same_bits(got, expected);
  if (!ok && (*budget)-- > 0) {
    ADD_FAILURE() << op.name << "(" << show(a) << ", " << show(b) << ")\n  got      " << show(got)
                  << " with " << reports << " report(s)"
                  << (reports > 0 ? " number " + std::to_string(rec.reports[before].number) : "")
                  << "\n  expected " << show(expected) << " (" << oracle::describe(want.outcome)
                  << ")";
  }
  rec.reports.clear();  // keep a long run's memory flat
  return ok;
}

void expect_error16(const ErrorCase16 &c) {
  SCOPED_TRACE(std::string(c.name) + "(" + show(c.a) + ", " + show(c.b) + ")");
  for (std::uint8_t flag : {0, 1}) {
    const Real16 &want = flag == 1 ? c.ieee : c.finite;
    {
      Recorder rec(flag, 1, 0);
      Real16 slot1{}, slot2{};  // read while the report is in progress
      rec.answer = [&](const Report &r, int) {
        slot1 = r.slot_as<Real16>(1);
        slot2 = r.slot_as<Real16>(2);
        return 0;
      };
      Real16 got;
      c.fn(&got, &c.a, &c.b);
      ASSERT_EQ(rec.reports.size(), 1u) << "flag " << int{flag};
      const Report &r = rec.reports[0];
      EXPECT_EQ(r.number, c.error);
      EXPECT_TRUE(oracle::same_bits(slot1, c.a));
      EXPECT_TRUE(oracle::same_bits(slot2, c.b));
      EXPECT_NE(r.slot1, static_cast<const void *>(&c.a)) << "the slot is a working copy";
      EXPECT_EQ(r.value_count, c.values);
      if (c.values == 2) {
        EXPECT_EQ(r.value_type[0], 11);
        EXPECT_EQ(r.value_type[1], 11);
        EXPECT_TRUE(oracle::same_bits(r.value_as<Real16>(0), c.a));
        EXPECT_TRUE(oracle::same_bits(r.value_as<Real16>(1), c.b));
        EXPECT_NE(r.value_address[0], r.slot1);
      }
      EXPECT_TRUE(oracle::same_bits(got, want))
          << "flag " << int{flag} << ": got " << show(got) << ", want " << show(want);
    }
    for (const auto &[report, mute] : {std::pair{0, 0}, std::pair{1, 1}, std::pair{2, 0}}) {
      Recorder rec(flag, static_cast<std::uint8_t>(report), static_cast<std::uint8_t>(mute));
      Real16 got;
      c.fn(&got, &c.a, &c.b);
      EXPECT_TRUE(rec.reports.empty()) << "report flag " << report << ", mute flag " << mute;
      EXPECT_TRUE(oracle::same_bits(got, want)) << "flag " << int{flag} << ": got " << show(got);
    }
  }
}

void expect_resume16(Binary16 fn, const Real16 &bad_a, const Real16 &bad_b, const Real16 &a,
                     const Real16 &b, std::int32_t error) {
  Real16 want;
  fn(&want, &a, &b);
  Recorder rec(1, 1, 0);
  rec.answer = [a, b](const Report &r, int index) {
    if (index > 0) return 0;
    replace(r, 1, a);
    replace(r, 2, b);
    return 1;
  };
  Real16 got;
  fn(&got, &bad_a, &bad_b);
  ASSERT_EQ(rec.reports.size(), 1u);
  EXPECT_EQ(rec.reports[0].number, error);
  EXPECT_TRUE(oracle::same_bits(got, want)) << show(got) << " vs " << show(want);
}

}  // namespace support
