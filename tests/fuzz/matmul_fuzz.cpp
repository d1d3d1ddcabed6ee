// libFuzzer target: the eight MATMUL entries on descriptors the input
// builds, bit for bit against the reference of support/matmul_reference.h.
// Input: the entry, the case (matrix times matrix, matrix times vector,
// vector times matrix), extents m, k, n of 0 to 20 or negative, B's extent
// 1 (k or another); per operand element gaps 0 to 3 of either sign, column
// or transposed layout, a leading dimension past the extent, byte strides
// off a multiple of the element size, data off 8-byte boundaries (not for
// ulx_gmd2, ulx_gmx2); then the elements, the input read again from its
// start: moderate values, now and then raw Real4/Real8 bits or a Real16
// zero with nonzero low words. Operands span exactly their allocations and
// rank-1 descriptors have no dimension 2, so ASan catches a stray access.
// A mismatch prints the case and aborts.
#include <vexmorg/vexmorg.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#include "support/matmul_reference.h"
#include "support/recorder.h"

namespace {

using support::MatmulArray;
using Entry = void (*)(const MatmulArgs *);
constexpr std::int32_t kUnset = 0x7eadbeef;
char g_case[128];

void check(bool ok, const char *what, int i = -1, int j = -1) {
  if (ok) return;
  std::fprintf(stderr, "%s: %s (i %d, j %d)\n", g_case, what, i, j);
  std::abort();
}

struct Input {
  const std::uint8_t *p;
  std::size_t n, at = 0;
  std::uint8_t byte() { return p[at++ % n]; }
  std::uint32_t word() { return std::uint32_t{byte()} << 24 | byte() << 16 | byte() << 8 | byte(); }
};

template <class P>
P part(Input &in) {
  const std::uint32_t w = in.word(), sign = w & 0x80000000, how = in.byte(), e = how >> 3;
  if constexpr (std::is_same_v<P, Real16>)  // |x| in [2^-16, 2^16), or a zero
    return oracle::real16(how % 8 ? sign | (0x3fff - 16 + e) << 16 | (w & 0xffff) : sign, in.word(),
                          in.word(), in.word());
  else if constexpr (std::is_same_v<P, float>)  // |x| in [2^-8, 2^8), or raw bits
    return std::bit_cast<float>(how % 8 ? sign | (127 - 8 + e % 16) << 23 | (w & 0x7fffff) : w);
  else
    return std::bit_cast<double>(
        std::uint64_t{how % 8 ? sign | (1023 - 8 + e % 16) << 20 | (w & 0xfffff) : w} << 32 |
        in.word());
}

// A rows-by-cols operand (rank 1: `rows` elements), extents as given.
MatmulArray operand(Input &in, int rank, std::int32_t rows, std::int32_t cols, int size,
                    bool aligned) {
  MatmulArray a;
  a.rank = rank;
  const std::uint8_t how = in.byte(), extra = in.byte();
  const bool transposed = rank == 2 && how & 16;
  const std::int32_t ld = std::max(transposed ? cols : rows, 0) + extra % 4;
  a.s[0] = (how & 3) * (transposed ? ld : 1),
  a.s[1] = rank == 2 ? (how >> 2 & 3) * (transposed ? 1 : ld) : 0;
  for (int d = 0; d < rank; ++d) {
    if (how >> (5 + d) & 1) a.s[d] = -a.s[d];
    const std::int32_t odd = in.byte() % size;  // away from 0: the division truncates it off
    a.stride[d] = a.s[d] * size + (a.s[d] < 0 || (a.s[d] == 0 && how >> 7) ? -odd : odd);
    a.extent[d] = d ? cols : rows;
  }
  a.place(size, aligned ? 0 : extra >> 5);
  return a;
}

template <class P, int N>
void run(Input &in, Entry entry, bool aligned) {
  constexpr int size = sizeof(P) * N;
  const int c = in.byte() % 3;  // matrix times matrix, matrix times vector, vector times matrix
  auto extent = [&in] {
    const std::uint8_t x = in.byte();
    return x >= 0xf0 ? 0xef - x : x % 21;  // -1 to -16 counts as 0
  };
  const std::int32_t m = extent(), k = extent(), n = extent(), kb = in.byte() < 0xe0 ? k : extent();
  MatmulArray a =
      c == 2 ? operand(in, 1, k, 1, size, aligned) : operand(in, 2, m, k, size, aligned);
  MatmulArray b =
      c == 1 ? operand(in, 1, kb, 1, size, aligned) : operand(in, 2, kb, n, size, aligned);
  if (c == 2) std::swap(a.s[0], a.s[1]);  // a(l) is A(0, l)
  for (MatmulArray *x : {&a, &b})
    for (std::size_t at = x->origin % size; at + size <= x->bytes.size(); at += size)
      for (int p = 0; p < N; ++p) {
        const P v = part<P>(in);
        std::memcpy(&x->bytes[at + p * sizeof(P)], &v, sizeof v);
      }
  const bool mm = c == 0, conform = std::max(k, 0) == std::max(kb, 0);
  const std::int32_t rm = c == 2 ? 1 : std::max(m, 0), rn = c == 1 ? 1 : std::max(n, 0);
  MatmulArray r;
  r.rank = mm ? 2 : 1;
  r.bytes.assign(conform ? std::size_t(rm * rn * size) : 0, 0xa5);  // nothing when non-conforming
  std::fill_n(r.stride, 2, kUnset), std::fill_n(r.extent, 2, kUnset);
  const MatmulArgs args{r.desc(), a.desc(), b.desc()};
  for (MatmulArray *x : {&a, &b, &r})
    if (x->rank == 1) x->d.dim[1] = {};  // no dimension 2 to read or write
  std::snprintf(g_case, sizeof g_case,
                "case %d, m %d k %d n %d, B extent 1 %d, strides A %d %d B %d %d", c, m, k, n, kb,
                a.stride[0], a.stride[1], b.stride[0], b.stride[1]);
  support::Recorder rec;
  entry(&args);
  if (!conform) {
    // Error 1375, then every dimension of the result descriptor zeroed.
    check(rec.reports.size() == 1 && rec.reports[0].number == 1375, "not one report of 1375");
    check((r.stride[0] | r.extent[0] | (mm ? r.stride[1] | r.extent[1] : 0)) == 0, "not zeroed");
    return;
  }
  check(rec.reports.empty(), "a report from a conforming product");
  check(r.stride[0] == size && r.extent[0] == (mm ? rm : rm * rn), "result dimension 1");
  check(!mm || (r.stride[1] == size * rm && r.extent[1] == rn), "result dimension 2");
  for (std::int32_t j = 0; j < rn; ++j)
    for (std::int32_t i = 0; i < rm; ++i) {
      bool exceptional = false;
      const auto want =
          support::matmul_reference<P, N>(a, b, i, j, std::max(k, 0), mm, exceptional);
      check(!exceptional, "an operation of the reference overflowed or underflowed", i, j);
      check(std::memcmp(&r.bytes[(j * rm + i) * size], &want, size) == 0, "element differs", i, j);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size < 8) return 0;
  static const struct {
    void (*run)(Input &, Entry, bool);
    Entry entry;
    bool aligned;
  } kEntries[] = {{run<float, 1>, g_matmlr, false}, {run<double, 1>, g_matmld, false},
                  {run<double, 1>, ulx_gmd2, true}, {run<Real16, 1>, g_matmlq, false},
                  {run<float, 2>, g_matmlc, false}, {run<double, 2>, g_matmlx, false},
                  {run<double, 2>, ulx_gmx2, true}, {run<Real16, 2>, g_matmlz, false}};
  Input in{data, size};
  const auto &e = kEntries[in.byte() % 8];
  e.run(in, e.entry, e.aligned);
  return 0;
}
