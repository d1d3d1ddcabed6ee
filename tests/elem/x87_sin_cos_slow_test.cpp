// The FSIN and FCOS entries against the instruction over every Real4
// argument below the limit (g_sin, g_cos, g_scns), and over
// VEXMORG_X87_REAL8_COUNT random Real8 arguments (x87_sin_cos_arguments.h;
// default 10^7) for g_dsin, g_dcos, g_dscn: bit for bit (label slow, not in
// the default run). Run once with 10^9 Real8 arguments: all agreed.
#include <gtest/gtest.h>
#include <vexmorg/vexmorg.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <thread>
#include <vector>

#include "common/x87.h"
#include "elem/x87_sin_cos_arguments.h"

namespace {

// The entries at x against the instruction rounded to T.
template <class T, class C>
bool same(T x, T (*sin)(const T *), T (*cos)(const T *), C *(*pair)(C *, const T *)) {
  const T s = static_cast<T>(vx::x87::fsin(x)), c = static_cast<T>(vx::x87::fcos(x));
  C p;
  pair(&p, &x);
  const T got[] = {sin(&x), cos(&x), p.re, p.im}, want[] = {s, c, s, c};
  for (int i = 0; i < 4; ++i) {
    if (std::bit_cast<std::uint64_t>(static_cast<double>(got[i])) !=
        std::bit_cast<std::uint64_t>(static_cast<double>(want[i]))) {
      ADD_FAILURE() << std::hexfloat << "x = " << x << ": entry " << i << " gives " << got[i]
                    << ", the instruction " << want[i];
      return false;
    }
  }
  return true;
}

// f(part, parts) on every thread the processor has, part = 0 .. parts - 1.
template <class F>
void on_all_threads(F f) {
  const unsigned parts = std::max(1u, std::thread::hardware_concurrency());
  std::vector<std::thread> pool;
  for (unsigned t = 0; t < parts; ++t) pool.emplace_back(f, t, parts);
  for (std::thread &t : pool) t.join();
}

// Every Real4 of magnitude below 823000 (0x4948ED80), either sign.
TEST(X87SinCosEveryReal4, AreTheInstruction) {
  on_all_threads([](unsigned part, unsigned parts) {
    for (std::uint32_t b = part; b < 0x4948ed80u; b += parts)
      for (std::uint32_t sign : {0u, 0x80000000u})
        if (!same<float, Complex8>(std::bit_cast<float>(b | sign), g_sin, g_cos, g_scns)) return;
  });
}

TEST(X87SinCosManyReal8, AreTheInstruction) {
  const char *n = std::getenv("VEXMORG_X87_REAL8_COUNT");
  const std::uint64_t count = n != nullptr ? std::strtoull(n, nullptr, 10) : 10000000;
  on_all_threads([count](unsigned part, unsigned parts) {
    support::Sampler s(20261207 + part);
    for (std::uint64_t i = part; i < count; i += parts)
      if (!same<double, Complex16>(x87_sin_cos_arguments::draw(s, 3.53e15, i), g_dsin, g_dcos,
                                   g_dscn))
        return;
  });
}

}  // namespace
