// Element operations of Real16 and Complex32: every product, difference and
// sum one rounded Real16 operation (g_aqmq, g_aqsq, g_aqaq), which report
// their own overflows and underflows. The sum is a stored element.
//
//   Real16     s = s + a*b
//   Complex32  p1 = a.re*b.re, p2 = a.im*b.im, d = p1 - p2, s.re = s.re + d;
//              p3 = a.re*b.im, p4 = a.im*b.re, t = p3 + p4, s.im = s.im + t
#pragma once

#include <vexmorg/vexmorg.h>

namespace vx::matmul {

struct Real16Elements {
  using Elem = Real16;
  using Sum = Real16;
  static constexpr bool kPanels = false;

  static void accumulate(Real16 &s, const Real16 &a, const Real16 &b) {
    Real16 p, t;
    g_aqmq(&p, &a, &b);
    g_aqaq(&t, &s, &p);
    s = t;
  }
  static Real16 round(const Real16 &s) { return s; }
};

struct Complex32Elements {
  using Elem = Complex32;
  using Sum = Complex32;
  static constexpr bool kPanels = false;

  static void accumulate(Complex32 &s, const Complex32 &a, const Complex32 &b) {
    Real16 p1, p2, p3, p4, d, t, re, im;
    g_aqmq(&p1, &a.re, &b.re);
    g_aqmq(&p2, &a.im, &b.im);
    g_aqsq(&d, &p1, &p2);
    g_aqaq(&re, &s.re, &d);
    g_aqmq(&p3, &a.re, &b.im);
    g_aqmq(&p4, &a.im, &b.re);
    g_aqaq(&t, &p3, &p4);
    g_aqaq(&im, &s.im, &t);
    s = {re, im};
  }
  static Complex32 round(const Complex32 &s) { return s; }
};

}  // namespace vx::matmul
