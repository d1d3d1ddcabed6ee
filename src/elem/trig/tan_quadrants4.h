// P and Q: the tangent and cotangent of r quadrant units (r pi/2 radians),
// |r| <= 1/2, of the Real4 tangents, evaluated in the 64-bit register.
// g_tan and g_cotan use them beyond pi/2, g_tanq and g_cotq throughout.
#pragma once

namespace vx::tan_quadrants4 {

// P(r) = r (p0 + p1 s + ... + p7 s^7), s = r^2: tan of r quadrant units.
inline constexpr double p0 = 1.57079632495;      // 0x3FF921FB53C56555
inline constexpr double p1 = 1.29192913155;      // 0x3FF4ABBDE18C1C65
inline constexpr double p2 = 1.27500445895;      // 0x3FF4666B13571C5D
inline constexpr double p3 = 1.27586313501;      // 0x3FF469EF7670A3C5
inline constexpr double p4 = 1.23645271281;      // 0x3FF3C882A3C91C63
inline constexpr double p5 = 1.5704721821;       // 0x3FF920A770565B2A
inline constexpr double p6 = -0.00557282855056;  // 0xBF76D388C5EF15AD
inline constexpr double p7 = 3.86748496588;      // 0x400EF09BF531CF6A
// Q(r) = (q0 + q1 s + ... + q5 s^5) / r: cot of r quadrant units.
inline constexpr double q0 = 0.63661977242;      // 0x3FE45F306DD0FCD4
inline constexpr double q1 = -0.523598789964;    // 0xBFE0C1523FE3DB92
inline constexpr double q2 = -0.0861279000597;   // 0xBFB60C7A620791C4
inline constexpr double q3 = -0.0202500604783;   // 0xBF94BC6E8DFC3B79
inline constexpr double q4 = -0.00491460683521;  // 0xBF742156BA142C40
inline constexpr double q5 = -0.00151168616363;  // 0xBF58C478A89D64D0

inline long double tangent(long double r) {
  const long double s = r * r;
  return r * (((((((p7 * s + p6) * s + p5) * s + p4) * s + p3) * s + p2) * s + p1) * s + p0);
}

inline long double cotangent(long double r) {
  const long double s = r * r;
  return (((((q5 * s + q4) * s + q3) * s + q2) * s + q1) * s + q0) / r;
}

}  // namespace vx::tan_quadrants4
