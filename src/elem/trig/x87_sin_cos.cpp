// FSIN and FCOS rounded to Real4 and Real8 for the callers outside the
// radian sine and cosine entries (the pairs, the complex functions), and
// the load-time probe of the model (x87_sin_cos.h).
#include "elem/trig/x87_sin_cos.h"

#include <cmath>
#include <cstdint>

#include "common/bits.h"
#include "common/cpu.h"
#include "common/real4_rounding.h"
#include "common/x87.h"

namespace vx {
namespace {

template <bool kCosine>
long double instruction(long double x) {
  return kCosine ? x87::fcos(x) : x87::fsin(x);
}

template <bool kCosine>
[[gnu::target("fma")]] double real8_route(double x) {
  double v;
  if (x87_trig::within(x, x87_trig::kReach) && x87_trig::real8<kCosine>(x, v)) [[likely]]
    return v;
  return static_cast<double>(instruction<kCosine>(x));
}

template <bool kCosine>
[[gnu::target("fma")]] float real4_route(float x) {
  if (x87_trig::within(x, x87_trig::kReach4)) [[likely]]
    return x87_trig::real4<kCosine>(x);
  return static_cast<float>(instruction<kCosine>(x));
}

// Both from one reduction.
[[gnu::target("fma")]] SineCosine<double> real8_pair(double x) {
  if (x87_trig::within(x, x87_trig::kReach)) [[likely]] {
    const x87_trig::Reduced r = x87_trig::reduce<true>(x);
    double s, c;
    if (x87_trig::settle(x87_trig::sine_at<true>(r, r.q), s) &&
        x87_trig::settle(x87_trig::sine_at<true>(r, r.q + 1), c)) [[likely]]
      return {s, c};
  }
  return {static_cast<double>(x87::fsin(x)), static_cast<double>(x87::fcos(x))};
}

[[gnu::target("fma")]] SineCosine<float> real4_pair(float x) {
  if (x87_trig::within(x, x87_trig::kReach4)) [[likely]] {
    const x87_trig::Reduced r = x87_trig::reduce<false>(static_cast<double>(x));
    const double s = x87_trig::sine_at<false>(r, r.q).high;
    const double c = x87_trig::sine_at<false>(r, r.q + 1).high;
    if (clear_of_real4_midpoint(s) && clear_of_real4_midpoint(c)) [[likely]]
      return {static_cast<float>(s), static_cast<float>(c)};
  }
  return {static_cast<float>(x87::fsin(x)), static_cast<float>(x87::fcos(x))};
}

template <class T, bool kCosine>
T rounded(T x) {
  if (cpu::x87_sin_cos) {
    if constexpr (sizeof(T) == 4)
      return real4_route<kCosine>(x);
    else
      return real8_route<kCosine>(x);
  }
  return static_cast<T>(instruction<kCosine>(x));
}

// Arguments where the reduction constant shows: pi, next to multiples of
// pi/2 (r = 7.2e-11 at k = 1234567) and large ones up to 2.65e15, where
// reducing by pi/2 itself moves the value by up to 2^-18.
constexpr std::uint64_t kProbe[] = {
    0x400921fb54442d18,  // 3.141592653589793: FSIN 1.2246063538223773e-16
    0x413d97354f0c5996,  // 1939253.3087821952
    0x431921fb54455c16,  // 1768559438026501.5
    0x4322d97c7f332b5b,  // 2652839157011885.5
    0xc0f86a0000000000,  // -100000
};

[[gnu::target("fma")]] bool agrees(double x) {
  double s, c;
  const float f = static_cast<float>(x);
  return x87_trig::real8<false>(x, s) && s == static_cast<double>(x87::fsin(x)) &&
         x87_trig::real8<true>(x, c) && c == static_cast<double>(x87::fcos(x)) &&
         (!x87_trig::within(f, x87_trig::kReach4) ||
          (bits(x87_trig::real4<false>(f)) == bits(static_cast<float>(x87::fsin(f))) &&
           bits(x87_trig::real4<true>(f)) == bits(static_cast<float>(x87::fcos(f)))));
}

}  // namespace

bool x87_sin_cos_probe() {
  for (std::uint64_t b : kProbe)
    if (!agrees(real8_from_bits(b))) return false;
  return true;
}

template <class T>
T x87_sine(T x) {
  return rounded<T, false>(x);
}
template <class T>
T x87_cosine(T x) {
  return rounded<T, true>(x);
}
template float x87_sine(float);
template double x87_sine(double);
template float x87_cosine(float);
template double x87_cosine(double);

template <class T>
SineCosine<T> x87_sine_cosine(T x) {
  if (cpu::x87_sin_cos) {
    if constexpr (sizeof(T) == 4)
      return real4_pair(x);
    else
      return real8_pair(x);
  }
  return {static_cast<T>(x87::fsin(x)), static_cast<T>(x87::fcos(x))};
}
template SineCosine<float> x87_sine_cosine(float);
template SineCosine<double> x87_sine_cosine(double);

}  // namespace vx
