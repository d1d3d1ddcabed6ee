// The rationals of the Real8 arc sines and arc cosines, with the Real8
// coefficients the register evaluates (asin_acos.cpp,
// asin_acos_quadrants.cpp, asin_acos_degrees.cpp), ascending; the value is
// one + N/D. gen_arc_fma expands them into arc_fma_table.h, and
// inverse_trig_internal_test checks those expansions against them.
#pragma once

#include <vector>

namespace arc_rationals {

struct Rational {
  std::vector<double> num, den;  // ascending coefficients
  int one;                       // 1 or 0
};

// The quadrant-unit rationals (asin_acos_quadrants.cpp).
inline const Rational quadrant_arcsin{
    {-7.880143195462664, 19.92986289740539, -17.582876954309587, 6.239933816479386,
     -0.7226209670820288, 0.003742091165584263},
    {21.68566860889831, -48.513762320053395, 37.07087034958211, -11.026014708098247, 1.0},
    1};
inline const Rational quadrant_kernel{
    {-34.58731733649902, 64.72019272828881, -38.04274314620163, 8.514948401112278,
     -0.6077268097294719, 0.002646058039002904},
    {346.970697742373, -388.11009856042716, 148.28348139832843, -22.052029416196493, 1.0},
    1};
// The radian rationals (asin_acos.cpp): x (1 + s A(s)/B(s)) up to 1/2,
// x (1 + C(s)/D(s)) up to sqrt(1/2), and 1 + P(v)/Q(v).
inline const Rational radian_arcsin{
    {0, 3.614278101483137, -6.459201907684824, 3.5080564238000966, -0.5642940339625301,
     0.005878063057431393},
    {21.68566860889831, -48.513762320053395, 37.07087034958211, -11.026014708098247, 1.0},
    1};
inline const Rational radian_arcsin_high{
    {-2.9337113789701198e-09, -13.010108037691234, 30.273171587675083, -24.065314885421614,
     7.382121834580398, -0.6604179821333029},
    {-78.06064870727668, 216.76632724636363, -221.02767465604543, 99.92275963114773,
     -18.76080406637674, 1.0},
    1};
inline const Rational radian_kernel{
    {381.04888728363596, -270.0958785644958, 39.33262011832943, 3.7062731896116072,
     -0.5205674656916033},
    {919.9333916073307, -913.8065550136159, 296.06065281142884, -34.31514791522208, 1.0},
    1};
// The degree rationals (asin_acos_degrees.cpp).
inline const Rational degree_arcsin{{41120.43221627929, 105728.48812409185, 88407.21073854952,
                                     26524.45143336623, 2071.1651883632517},
                                    {685.3405369379882, 1902.8525597300802, 1782.474677170776,
                                     644.9542641821329, 74.16145440473538, 1.0},
                                    0};
inline const Rational degree_kernel{{1860898.0837388965, 2392362.3083943785, 1000213.315715641,
                                     150044.945702257, 5858.139627752877},
                                    {21930.89423514709, 30445.637342083905, 14259.7960053086,
                                     2579.816866128876, 148.3229026897477, 1.0},
                                    0};

}  // namespace arc_rationals
