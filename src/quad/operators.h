// The Real16 operators as functions of values, for the kernels and the
// elementary functions that compose them. Each calls its entry, so that an
// overflow or underflow goes to the runtime exactly as in compiled code.
#pragma once

#include <vexmorg/vexmorg.h>

namespace vx::quad {

inline Real16 add(const Real16 &a, const Real16 &b) {
  Real16 r;
  g_aqaq(&r, &a, &b);
  return r;
}
inline Real16 sub(const Real16 &a, const Real16 &b) {
  Real16 r;
  g_aqsq(&r, &a, &b);
  return r;
}
inline Real16 mul(const Real16 &a, const Real16 &b) {
  Real16 r;
  g_aqmq(&r, &a, &b);
  return r;
}
inline Real16 div(const Real16 &a, const Real16 &b) {
  Real16 r;
  g_aqdq(&r, &a, &b);
  return r;
}

// c[0] + s (c[1] + s (... + s c[N-1])), from the highest coefficient down.
template <unsigned N>
Real16 horner(const Real16 (&c)[N], const Real16 &s) {
  Real16 p = c[N - 1];
  for (unsigned k = N - 1; k-- > 0;) p = add(c[k], mul(s, p));
  return p;
}

}  // namespace vx::quad
