// MPFR functions of an angle unit in the shape of oracle::Fn1 and Fn2. The
// unit is the number of units in a full turn: 360 for degrees, 4 for
// quadrant units (mpfr_asinu(r, x, 360, rnd) is the arc sine in degrees).
//
//   oracle::exact(e, oracle::in_unit<mpfr_asinu, oracle::kDegrees>, x);
#pragma once

#include <mpfr.h>

namespace oracle {

inline constexpr unsigned long kDegrees = 360;
inline constexpr unsigned long kQuadrants = 4;

using UnitFn1 = int (*)(mpfr_ptr, mpfr_srcptr, unsigned long, mpfr_rnd_t);
using UnitFn2 = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, unsigned long, mpfr_rnd_t);

template <UnitFn1 F, unsigned long kTurn>
int in_unit(mpfr_ptr r, mpfr_srcptr x, mpfr_rnd_t rnd) {
  return F(r, x, kTurn, rnd);
}

template <UnitFn2 F, unsigned long kTurn>
int in_unit(mpfr_ptr r, mpfr_srcptr y, mpfr_srcptr x, mpfr_rnd_t rnd) {
  return F(r, y, x, kTurn, rnd);
}

}  // namespace oracle
