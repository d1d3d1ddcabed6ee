// Measures what this processor's FSIN and FCOS compute, against MPFR
// evaluations of candidate models. A model is "reduce x exactly by a
// constant P close to pi/2 (r = x - k P, k the integer nearest x/P), then
// take sin or cos of r with the quadrant k mod 4"; the candidates are pi/2
// rounded to b bits for several b, and pi/2 itself. For each candidate and
// each argument set the tool prints the largest distance of the
// instruction's result from the model's value in units of the 64-bit
// significand (ulp64 of the model's value) and the share of results that
// are the model's value correctly rounded to 64 bits. The right model shows
// the instruction's own accuracy everywhere; a wrong P shows large errors
// near the multiples of pi/2 of large arguments.
//
//   build/native/tools/x87/measure_sin_cos [count [deep]]
//
// Then, for P = pi/2 rounded to 66 bits (the candidate that fits), it runs
// `deep` arguments per set and prints the largest error by the binade of
// the reduced argument, where an internal reduction that kept too few bits
// would show as errors growing towards small |r|.
#include <mpfr.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "common/x87.h"

namespace {

constexpr mpfr_prec_t kPrec = 400;

struct Mp {
  mpfr_t v;
  Mp() { mpfr_init2(v, kPrec); }
  ~Mp() { mpfr_clear(v); }
  operator mpfr_ptr() { return v; }
};

// pi/2 rounded to `bits` bits (0: to kPrec bits).
void half_pi(Mp &p, int bits) {
  mpfr_const_pi(p, MPFR_RNDN);
  mpfr_div_2ui(p, p, 1, MPFR_RNDN);
  if (bits > 0) mpfr_prec_round(p, bits, MPFR_RNDN), mpfr_prec_round(p, kPrec, MPFR_RNDN);
}

// The model's value of sin (cosine = false) or cos of x with P, and the
// reduced argument's magnitude.
void model(Mp &out, double &reduced, long double x, bool cosine, Mp &p) {
  Mp t, k, r;
  mpfr_set_ld(t, x, MPFR_RNDN);
  mpfr_div(k, t, p, MPFR_RNDN);
  mpfr_rint(k, k, MPFR_RNDN);
  mpfr_mul(r, k, p, MPFR_RNDN);
  mpfr_sub(r, t, r, MPFR_RNDN);  // exact at kPrec bits for |x| < 2^63
  reduced = std::fabs(mpfr_get_d(r, MPFR_RNDN));
  long q = mpfr_get_si(k, MPFR_RNDN) & 3;
  if (cosine) q = (q + 1) & 3;
  if (q & 1)
    mpfr_cos(out, r, MPFR_RNDN);
  else
    mpfr_sin(out, r, MPFR_RNDN);
  if (q >= 2) mpfr_neg(out, out, MPFR_RNDN);
}

// |got - v| in units of the 64-bit significand at v; and whether got is v
// rounded to 64 bits.
double ulp64_error(long double got, Mp &v, bool &rounded) {
  Mp g, d, r;
  mpfr_set_ld(g, got, MPFR_RNDN);
  mpfr_sub(d, g, v, MPFR_RNDN);
  mpfr_set(r, v, MPFR_RNDN);
  mpfr_prec_round(r, 64, MPFR_RNDN);
  rounded = mpfr_equal_p(r, g);
  if (mpfr_zero_p(v)) return mpfr_zero_p(d) ? 0 : INFINITY;
  const long e = mpfr_get_exp(v);  // v = m 2^e, 0.5 <= |m| < 1
  mpfr_mul_2si(d, d, 64 - e, MPFR_RNDN);
  return std::fabs(mpfr_get_d(d, MPFR_RNDN));
}

// The instruction's distance from the model at x, in ulp64; rounded tells
// whether it is the model's value rounded to 64 bits, reduced |r|.
double distance(long double x, bool cosine, Mp &p, bool &rounded, double &reduced) {
  Mp v;
  model(v, reduced, x, cosine, p);
  return ulp64_error(cosine ? vx::x87::fcos(x) : vx::x87::fsin(x), v, rounded);
}

struct Set {
  const char *name;
  std::vector<long double> args;
};

std::vector<Set> argument_sets(std::size_t count) {
  std::mt19937_64 rng(20261206);
  std::uniform_real_distribution<double> u(0, 1);
  std::vector<Set> sets;
  auto add = [&](const char *name, auto gen) {
    Set s{name, {}};
    for (std::size_t i = 0; i < count; ++i) s.args.push_back(gen());
    sets.push_back(std::move(s));
  };
  // log-uniform doubles in [2^lo, 2^hi), random sign
  auto logu = [&](double lo, double hi) {
    const double x = std::exp2(lo + (hi - lo) * u(rng));
    return rng() & 1 ? -x : x;
  };
  // the double nearest k pi/2 for k below 2^bits, moved by a few units
  auto near_multiple = [&](int bits, bool single) {
    Mp p, t;
    half_pi(p, 0);
    const std::uint64_t k = 1 + (rng() >> (64 - bits));
    mpfr_mul_ui(t, p, k, MPFR_RNDN);
    long double x;
    if (single) {
      float f = mpfr_get_flt(t, MPFR_RNDN);
      for (int m = static_cast<int>(rng() % 5) - 2; m != 0; m += m > 0 ? -1 : 1)
        f = std::nextafter(f, m > 0 ? INFINITY : 0.0f);
      x = f;
    } else {
      double d = mpfr_get_d(t, MPFR_RNDN);
      for (int m = static_cast<int>(rng() % 5) - 2; m != 0; m += m > 0 ? -1 : 1)
        d = std::nextafter(d, m > 0 ? INFINITY : 0.0);
      x = d;
    }
    return rng() & 1 ? -x : x;
  };
  add("log-uniform 2^-40..1", [&] { return static_cast<long double>(logu(-40, 0)); });
  add("uniform 0..3.2", [&] { return static_cast<long double>(3.2 * u(rng)); });
  add("log-uniform 1..3.53e15", [&] { return static_cast<long double>(logu(0, 51.64)); });
  add("Real4 near k pi/2, k < 2^19", [&] { return near_multiple(19, true); });
  add("Real8 near k pi/2, k < 2^21", [&] { return near_multiple(21, false); });
  add("Real8 near k pi/2, k < 2^51", [&] { return near_multiple(51, false); });
  return sets;
}

}  // namespace

int main(int argc, char **argv) {
  const std::size_t count = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 20000;
  const std::vector<Set> sets = argument_sets(count);
  const int candidates[] = {64, 65, 66, 67, 68, 70, 0};
  for (bool cosine : {false, true}) {
    std::printf("%s\n", cosine ? "FCOS" : "FSIN");
    for (int bits : candidates) {
      Mp p;
      half_pi(p, bits);
      std::printf("  P = pi/2 to %s bits\n", bits ? std::to_string(bits).c_str() : "all");
      for (const Set &s : sets) {
        double worst = 0, at = 0;
        std::size_t exact = 0;
        for (long double x : s.args) {
          bool rounded;
          double reduced;
          const double e = distance(x, cosine, p, rounded, reduced);
          exact += rounded;
          if (e > worst) worst = e, at = static_cast<double>(x);
        }
        std::printf("    %-30s max %10.4g ulp64 (at %.17g), correctly rounded %.5f\n", s.name,
                    worst, at, static_cast<double>(exact) / s.args.size());
      }
    }
  }
  // The chosen model, by the binade of |r|.
  const std::size_t deep = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 200000;
  const std::vector<Set> many = argument_sets(deep);
  Mp p;
  half_pi(p, 66);
  for (bool cosine : {false, true}) {
    double worst[80] = {};
    std::size_t seen[80] = {}, total = 0, exact = 0;
    for (const Set &s : many) {
      for (long double x : s.args) {
        bool rounded;
        double reduced;
        const double e = distance(x, cosine, p, rounded, reduced);
        const int bin = reduced == 0 ? 79 : std::min(79, std::max(0, 2 - std::ilogb(reduced)));
        worst[bin] = std::max(worst[bin], e);
        ++seen[bin], ++total, exact += rounded;
      }
    }
    std::printf("%s, P = pi/2 to 66 bits, %zu arguments, correctly rounded %.6f\n",
                cosine ? "FCOS" : "FSIN", total, static_cast<double>(exact) / total);
    for (int b = 0; b < 80; ++b)
      if (seen[b])
        std::printf("  |r| in [2^%d, 2^%d): %9zu arguments, max %.4f ulp64\n", 2 - b, 3 - b,
                    seen[b], worst[b]);
  }
  return 0;
}
