// The radian polynomial coefficients of the Real16 arc sine, arc cosine and
// arc tangent near the ends of their ranges, as Real16 words (word 3
// first), and the constants of every unit. tools/tables/gen_arc_units.cpp
// makes the degree and quadrant tables (tables/arc_units_table.h) from them.
//
//   asin s = s + s (f0 z + f1 z^2 + ... + f4 z^5),  z = s^2   (s below 1/512)
//   acos: 2 asin s of s = sqrt((1 - a) / 2), 8 rows of the same form
//   atan t = t + t (f0 + f1 z + ... + f5 z^5),      z = t^2   (t below 0.00303)
#pragma once

#include <cstdint>

namespace vx::qelem::arc {

struct Words {
  std::uint32_t w3, w2, w1, w0;
};

inline constexpr Words kAsinSeries[5] = {
    {0x3ffc5555, 0x55555555, 0x55555555, 0x5555a643},  // 0.16666666666666666666666666666716543
    {0x3ffb3333, 0x33333333, 0x33333315, 0x9ce271c7},  // 0.07499999999999999999999847037917609
    {0x3ffa6db6, 0xdb6db6db, 0x71a3da5a, 0x4e50df67},  // 0.04464285714285714455967196198464466
    {0x3ff9f1c7, 0x1c718ac8, 0xdcb15bce, 0x9b19725a},  // 0.03038194444358715340833031420329706
    {0x3ff96e8c, 0x78bc94e4, 0xc440a8ef, 0x9af8b0ea},  // 0.02237235823333909393648876550119215
};

inline constexpr Words kAcosSeries[8] = {
    {0x3ffc5555, 0x55555555, 0x55555555, 0x55554dab},  // 0.16666666666666666666666666666661943
    {0x3ffb3333, 0x33333333, 0x33333333, 0x3ff45d5c},  // 0.07500000000000000000000000257576077
    {0x3ffa6db6, 0xdb6db6db, 0x6db6d372, 0x423c82d3},  // 0.04464285714285714285709003505493582
    {0x3ff9f1c7, 0x1c71c71c, 0x74452e2f, 0x3b2ed4cb},  // 0.03038194444444444498491016170221763
    {0x3ff96e8b, 0xa2e8b9f6, 0x938d534c, 0x59771df8},  // 0.02237215909090598400106332354220176
    {0x3ff91c4e, 0xc4ef31be, 0xe59e5367, 0x9626ebb0},  // 0.01735276443357841019405396340625397
    {0x3ff8c999, 0x6d22aa20, 0x5316e9ad, 0x9b35685c},  // 0.01396482304456104563318207430118287
    {0x3ff87b40, 0x4e56d39b, 0xd401c6f4, 0xea9a720f},  // 0.01157382798342331898111871959432373
};

inline constexpr Words kAtanSeries[6] = {
    {0xbf8bbd8c, 0xbed20000, 0x00000000, 0x00000000},  // -2.094965029042091971570815572268800e-35
    {0xbffd5555, 0x55555555, 0x55555555, 0x551da31d},  // -0.33333333333333333333333333315758720
    {0x3ffc9999, 0x99999999, 0x9999911e, 0x86463f57},  // 0.19999999999999999999977551605572235
    {0xbffc2492, 0x49249248, 0xe8743ba0, 0x5b6ade5f},  // -0.14285714285714275285580289913164273
    {0x3ffbc71c, 0x71c59b46, 0x88be8c9a, 0x44fca778},  // 0.11111111108921679283713112935803592
    {0xbffb745a, 0xde6f6cae, 0xf60ac80d, 0x03ee0da3},  // -0.09090697182436334979938316046614074
};

// The unit factors folded into the degree and quadrant tables, and the
// powers of two split off their leading coefficient (f0 = K - P).
inline constexpr Words kRad = {0x4004ca5d, 0xc1a63c1f, 0x7b86152e, 0xa6fe81a5};  // 180/pi
inline constexpr Words kRhp = {0x3ffe45f3, 0x06dc9c88, 0x2a53f84e, 0xafa3ea6a};  // 2/pi

// f0 of each unit table, as fixed: K - P for the arc sine and cosine, and
// K (1 + f0 of the radian arc tangent) - P for the arc tangent.
inline constexpr Words kAsindF0 = {0xc001ad11, 0xf2ce1f04, 0x23cf568a, 0xc80bf2db};  // 180/pi - 64
inline constexpr Words kAsinqF0 = {0x3ffc17cc, 0x1b727220, 0xa94fe13a, 0xbe8fa9a7};  // 2/pi - 1/2
inline constexpr Words kAtandF0 = {0xc001ad11, 0xf2ce1f04, 0x23cf568a, 0xc80bf2dc};
inline constexpr Words kAtanqF0 = {0x3ffc17cc, 0x1b727220, 0xa94fe13a, 0xbe8fa9a6};

}  // namespace vx::qelem::arc
