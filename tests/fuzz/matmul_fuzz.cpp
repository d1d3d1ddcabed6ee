// libFuzzer target: the eight MATMUL entries on descriptors the input
// builds, bit for bit against the reference (support/matmul_reference.h).
// Input: the entry, the case, extents m, k, n of 0 to 20 or negative, B's
// extent 1 (k or another), then the operands' layouts and elements, the
// input read again from its start. Operands span exactly their allocations
// and vectors have no dimension 2, so ASan catches a stray access. A
// mismatch prints the case and aborts.
#include <cstdio>
#include <cstdlib>

#include "support/matmul_reference.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size < 8) return 0;
  support::CaseBytes in{data, size};
  const support::MatmulRoute &route = support::kMatmulRoutes[in.byte() % 8];
  auto extent = [&in] {
    const std::uint8_t x = in.byte();
    return x >= 0xf0 ? 0xef - x : x % 21;  // -1 to -16 counts as 0
  };
  support::MatmulShape s{in.byte() % 3, extent(), extent(), extent(), 0};
  s.kb = in.byte() < 0xe0 ? s.k : extent();
  const char *what = route.check(route.entry, s, in, route.aligned);
  if (what == nullptr) return 0;
  std::fprintf(stderr, "%s case %d, m %d k %d n %d kb %d: %s\n", route.name, s.c, s.m, s.k, s.n,
               s.kb, what);
  std::abort();
}
