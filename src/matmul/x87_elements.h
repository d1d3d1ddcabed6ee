// Element operations of the types the floating-point unit computes: Real4,
// Real8, Complex8, Complex16. Sums are held in the 80-bit extended format
// (long double) and rounded to the element type only when stored.
//
//   accumulate  s = s + a*b; complex: the term's real part a.re*b.re -
//               a.im*b.im and imaginary part a.re*b.im + a.im*b.re, each
//               evaluated in the extended format, added to separate sums
//   settle      the rounded total of a panel's partial sum and the stored c
//   round       the sum rounded to the element type
#pragma once

#include <vexmorg/vexmorg.h>

namespace vx::matmul {

template <class T>
struct X87Real {
  using Elem = T;
  using Sum = long double;
  static constexpr bool kPanels = true;

  static void accumulate(Sum &s, T a, T b) {
    s = s + static_cast<long double>(a) * static_cast<long double>(b);
  }
  static T settle(Sum s, T c) { return static_cast<T>(s + static_cast<long double>(c)); }
  static T round(Sum s) { return static_cast<T>(s); }
};

template <class C>
struct X87Complex {
  using Elem = C;
  struct Sum {
    long double re = 0, im = 0;
  };
  static constexpr bool kPanels = true;

  static void accumulate(Sum &s, const C &a, const C &b) {
    const long double ar = a.re, ai = a.im, br = b.re, bi = b.im;
    s.re = s.re + (ar * br - ai * bi);
    s.im = s.im + (ar * bi + ai * br);
  }
  static C settle(const Sum &s, const C &c) {
    using T = decltype(c.re);
    return {static_cast<T>(s.re + static_cast<long double>(c.re)),
            static_cast<T>(s.im + static_cast<long double>(c.im))};
  }
  static C round(const Sum &s) {
    using T = decltype(C::re);
    return {static_cast<T>(s.re), static_cast<T>(s.im)};
  }
};

}  // namespace vx::matmul
