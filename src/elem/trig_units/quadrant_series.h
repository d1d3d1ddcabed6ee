// The series of the sine and cosine in quadrant units, S(r) = sin(r pi/2)
// and C(r) = cos(r pi/2) for |r| <= 1/2, evaluated in the x87 register
// (the Real4 series also in Real8 arithmetic, see real4_rounding.h): the
// kernels of g_sinq/g_cosq (sin_cos_quadrants.cpp) and of the pair g_scnsq
// (sin_cos_pairs.cpp), which must agree with them bit for bit.
#pragma once

#include <type_traits>

#include "elem/trig_units/unit_trig.h"

namespace vx::quadrant_series {

using ld = long double;

// S(r) = r (a0 + a1 s + ... + a4 s^4), s = r^2: sin of r quadrant units,
// |r| <= 1/2; C(r) = 1 + b1 s + ... + b4 s^4: cos.
namespace r4 {

constexpr double a0 = 1.5707963268;    // 0x3FF921FB544486E0: pi/2
constexpr double a1 = -0.645964096;    // 0xBFE4ABBCE556B9FF
constexpr double a2 = 0.0796925818;    // 0x3FB466BBA890970C
constexpr double a3 = -0.00468126063;  // 0xBF732CA854F55C2C
constexpr double a4 = 0.000158195075;  // 0x3F24BC2558D6BB20
constexpr double b1 = -1.23370054;     // 0xBFF3BD3CC705B87C
constexpr double b2 = 0.253669183;     // 0x3FD03C1DAB3F3C09
constexpr double b3 = -0.020859936;    // 0xBF955C4E9BAAA719
constexpr double b4 = 0.000903362994;  // 0x3F4D99F54200B591

constexpr double sine[] = {a0, a1, a2, a3, a4};
constexpr double cosine[] = {b1, b2, b3, b4};

using Kernels = unit_trig::SeriesKernels<sine, cosine>;

}  // namespace r4

// S(r) = 2r + r (a0 + a1 s + ... + a6 s^6): sin of r quadrant units, the
// leading coefficient pi/2 held as the exact 2 plus a0; C(r) = 1 + s (b1 +
// s (b2 + ... + s b7)): cos.
namespace r8 {

constexpr double a0 = -0.4292036732051034;      // 0xBFDB7812AEEF4B9F: pi/2 - 2
constexpr double a1 = -0.6459640975062443;      // 0xBFE4ABBCE625BE41
constexpr double a2 = 0.07969262624603957;      // 0x3FB466BC67758700
constexpr double a3 = -0.004681754132282516;    // 0xBF732D2CCE2D53D2
constexpr double a4 = 0.00016044115029217513;   // 0x3F250782FCA3D77A
constexpr double a5 = -3.5986417556400512e-06;  // 0xBECE30063A2DEC6D
constexpr double a6 = 5.6337210964493664e-08;   // 0x3E6E3EED649D1325
constexpr double b1 = -1.2337005501361697;      // 0xBFF3BD3CC9BE45DE
constexpr double b2 = 0.2536695079010466;       // 0x3FD03C1F081B5AAA
constexpr double b3 = -0.020863480763308;       // 0xBF955D3C7E3C8D5B
constexpr double b4 = 0.0009192602741467699;    // 0x3F4E1F5068303F25
constexpr double b5 = -2.5202036558203225e-05;  // 0xBEFA6D1EC3D4806D
constexpr double b6 = 4.7106035811466514e-07;   // 0x3E9F9CC15D518CCB
constexpr double b7 = -6.320557322797555e-09;   // 0xBE3B2586B9A8DB78

constexpr double sine[] = {a0, a1, a2, a3, a4, a5, a6};
constexpr double cosine[] = {b1, b2, b3, b4, b5, b6, b7};

struct Kernels {
  static ld sin(ld r) { return r * horner(sine, r * r) + 2 * r; }
  static ld cos(ld r) { return 1 + r * r * horner(cosine, r * r); }
};

}  // namespace r8

template <class T>
using KernelsOf = std::conditional_t<sizeof(T) == 4, r4::Kernels, r8::Kernels>;

}  // namespace vx::quadrant_series
