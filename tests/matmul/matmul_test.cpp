// MATMUL of the six element types against the reference product of
// support/matmul_reference.h, bit for bit, and the result shape written back.
// Operands are sections with element strides of either sign, gaps, transposed
// views, byte strides that are not multiples of the element size, data off
// 8-byte boundaries, and extents 0 given as negative numbers.
#include <gtest/gtest.h>
#include <vexmorg/vexmorg.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <random>
#include <type_traits>
#include <vector>

#include "oracle/real16.h"
#include "support/matmul_reference.h"
#include "support/recorder.h"
#include "support/sampling.h"

namespace {

using Entry = void (*)(const MatmulArgs *);
template <class P, int N, Entry F, Entry G = nullptr>
struct Type {
  using Part = P;
  static constexpr int kParts = N;
  static constexpr std::int32_t kSize = sizeof(P) * N;
  static constexpr Entry kEntries[2] = {F, G};  // G: the same product for aligned data
};
using Types = ::testing::Types<Type<float, 1, g_matmlr>, Type<double, 1, g_matmld, ulx_gmd2>,
                               Type<Real16, 1, g_matmlq>, Type<float, 2, g_matmlc>,
                               Type<double, 2, g_matmlx, ulx_gmx2>, Type<Real16, 2, g_matmlz>>;

enum Case { kMM, kMV, kVM };
struct Shape {
  Case c;
  std::int32_t m, k, n;
};

using Array = support::MatmulArray;

template <class Tr>
struct Run {
  using P = typename Tr::Part;
  using Elem = std::array<P, Tr::kParts>;
  static constexpr int size = Tr::kSize;
  std::mt19937_64 g;

  P part() {
    if constexpr (std::is_same_v<P, Real16>) {  // |x| in [2^-8, 2^8), every fraction bit random
      const std::uint32_t e = 0x3fff - 8 + static_cast<std::uint32_t>(g() % 16);
      return oracle::real16(static_cast<std::uint32_t>(g() & 0x8000ffff) | e << 16,
                            static_cast<std::uint32_t>(g()), static_cast<std::uint32_t>(g()),
                            static_cast<std::uint32_t>(g()));
    } else {
      const double m = std::ldexp(1.0 + static_cast<double>(g() % 4096) / 4096, int(g() % 16) - 8);
      return static_cast<P>(g() & 1 ? -m : m);
    }
  }

  // A rows-by-cols operand (rank 1: one dimension of extent `rows`).
  Array operand(int rank, std::int32_t rows, std::int32_t cols) {
    Array a;
    a.rank = rank;
    const std::int32_t gap = 1 + int(g() % 2), ld = std::max(rows, cols) + int(g() % 3);
    const bool transposed = rank == 2 && g() % 2;
    a.s[0] = gap * (transposed ? ld : 1), a.s[1] = rank == 2 ? gap * (transposed ? 1 : ld) : 0;
    for (int d = 0; d < rank; ++d) {
      if (g() % 3 == 0) a.s[d] = -a.s[d];
      // Byte strides truncate toward zero to elements: add up to size-1 bytes away from 0.
      const std::int32_t odd = int(g() % size) * (a.s[d] < 0 ? -1 : 1);
      a.stride[d] = a.s[d] * size + odd;
      const std::int32_t e = d ? cols : rows;
      a.extent[d] = e == 0 && g() % 2 ? -1 - int(g() % 5) : e;  // a negative extent counts as 0
    }
    const std::ptrdiff_t shift = g() % 2 ? 4 : 0;  // off an 8-byte boundary
    a.place(size, shift);
    for (std::size_t b = shift; b + size <= a.bytes.size(); b += size)
      for (int p = 0; p < Tr::kParts; ++p) {
        const P v = part();
        std::memcpy(&a.bytes[b + p * sizeof(P)], &v, sizeof v);
      }
    return a;
  }

  void check(const Shape &sh) {
    const bool vm = sh.c == kVM, mv = sh.c == kMV;
    Array a = vm ? operand(1, sh.k, 1) : operand(2, sh.m, sh.k);
    Array b = mv ? operand(1, sh.k, 1) : operand(2, sh.k, sh.n);
    if (vm) std::swap(a.s[0], a.s[1]);  // a(l) is A(0, l)
    const std::int32_t m = vm ? 1 : sh.m, n = mv ? 1 : sh.n, count = m * n;
    for (Entry entry : Tr::kEntries) {
      if (entry == nullptr) continue;
      Array c;
      c.rank = sh.c == kMM ? 2 : 1;
      c.bytes.assign(static_cast<std::size_t>(count + 4) * size, 0xa5);
      std::fill_n(c.stride, 2, 0x7eadbeef), std::fill_n(c.extent, 2, 0x7eadbeef);
      const MatmulArgs args{c.desc(), a.desc(), b.desc()};
      support::Recorder rec;
      entry(&args);
      EXPECT_TRUE(rec.reports.empty());
      SCOPED_TRACE(testing::Message() << "case " << sh.c << " m " << sh.m << " k " << sh.k << " n "
                                      << sh.n << " entry " << (entry == Tr::kEntries[1]));
      // Result shape: (size, m), and (size * m, n) for matrix times matrix.
      EXPECT_EQ(c.stride[0], size);
      EXPECT_EQ(c.extent[0], sh.c == kMM ? m : count);
      if (sh.c == kMM) {
        EXPECT_EQ(c.stride[1], size * m);
        EXPECT_EQ(c.extent[1], n);
      }
      for (std::int32_t j = 0; j < n; ++j)
        for (std::int32_t i = 0; i < m; ++i) {
          bool exceptional = false;
          const Elem want =
              support::matmul_reference<P, Tr::kParts>(a, b, i, j, sh.k, sh.c == kMM, exceptional);
          ASSERT_FALSE(exceptional) << "C(" << i << "," << j << ")";
          ASSERT_EQ(std::memcmp(&c.bytes[(j * m + i) * size], &want, size), 0)
              << "C(" << i << "," << j << ")";
        }
      for (std::size_t x = count * size; x < c.bytes.size(); ++x)
        ASSERT_EQ(c.bytes[x], 0xa5) << "written past the result's " << count << " elements";
    }
  }
};

template <class Tr>
class Matmul : public ::testing::Test {};
TYPED_TEST_SUITE(Matmul, Types);

TYPED_TEST(Matmul, ProductsMatchTheReferenceBitForBit) {
  Run<TypeParam> run{std::mt19937_64(20261206 + TypeParam::kSize)};
  const Shape fixed[] = {
      {kMM, 3, 0, 2},  // a 3-by-0 times 0-by-2 product yields a 3-by-2 result of zeros
      {kMM, 0, 5, 4},  // a 0-by-5 times 5-by-4 product touches no element
      {kVM, 1, 0, 3},  // a vector of extent 0 times a 0-by-3 matrix yields three zeros
      {kMV, 4, 0, 1},  {kMM, 2, 8, 3},  {kMM, 3, 16, 2}, {kMM, 2, 17, 2},
      {kMV, 5, 17, 1}, {kVM, 1, 17, 5}, {kMV, 0, 3, 1},  {kVM, 1, 3, 0}};
  for (const Shape &sh : fixed) run.check(sh);
  const std::int32_t sizes[] = {0, 1, 7, 8, 9, 63, 64, 65, 100, 130};
  const double budget = std::is_same_v<typename TypeParam::Part, Real16> ? 3e3 : 3e5;
  for (std::uint64_t t = 0; t < support::scaled(100); ++t) {
    Shape sh{Case(run.g() % 3), sizes[run.g() % 10], sizes[run.g() % 10], sizes[run.g() % 10]};
    if (sh.c == kVM) sh.m = 1;
    if (sh.c == kMV) sh.n = 1;
    if (double(sh.m) * sh.k * sh.n > budget) sh.k = sh.k % 10;
    if (double(sh.m) * sh.k * sh.n > budget) sh.m = sh.c == kVM ? 1 : 9, sh.n = sh.c == kMV ? 1 : 7;
    run.check(sh);
  }
}

// Operands that do not conform: error 1375 with no values, whatever the
// infinity flag; whatever the handler answers, nothing is computed and every
// dimension of the result descriptor gets stride and extent 0.
TYPED_TEST(Matmul, NonConformingShapesReport1375) {
  const struct {
    int ra, a0, a1, rb, b0, b1;
  } rows[] = {
      {2, 2, 3, 2, 4, 2},   // a 2-by-3 times 4-by-2 product reports error 1375
      {2, 3, 2, 1, 3, 0},   // matrix times vector: A's extent 2 against B's extent 1
      {1, 4, 0, 2, 3, 5},   // vector times matrix: A's extent 1 against B's extent 1
      {2, 2, -1, 2, 1, 2},  // a negative extent counts as 0
  };
  using namespace support::layout;
  for (const auto &r : rows)
    for (int flag = 0; flag < 2; ++flag) {
      Run<TypeParam> run{std::mt19937_64(7)};
      Array a = run.operand(r.ra, r.a0, r.a1), b = run.operand(r.rb, r.b0, r.b1);
      Array c;
      c.rank = r.ra + r.rb - 2;
      c.bytes.assign(64 * 4, 0xa5);
      std::fill_n(c.stride, 2, 77), std::fill_n(c.extent, 2, 77);
      const MatmulArgs args{c.desc(), a.desc(), b.desc()};
      support::Recorder rec(static_cast<std::uint8_t>(flag));
      rec.answer = [flag](const support::Report &, int) { return flag; };
      const Field values[] = {kValueCount, kValue1Addr, kValue1Type, kValue2Addr, kValue2Type};
      for (Field f : values)
        std::memset(vexmori_control_block() + field(f).offset, 1, field(f).width);
      TypeParam::kEntries[0](&args);
      ASSERT_EQ(rec.reports.size(), 1u);
      EXPECT_EQ(rec.reports[0].number, 1375);
      const unsigned char *block = rec.reports[0].block.data();
      for (Field f : values)  // the value count and both value descriptors cleared
        EXPECT_TRUE(std::all_of(block + field(f).offset, block + field(f).offset + field(f).width,
                                [](int x) { return x == 0; }))
            << "field " << f;
      for (int d = 0; d < 2; ++d)
        EXPECT_EQ(c.stride[d] | c.extent[d], d < c.rank ? 0 : 77) << "dimension " << d;
      EXPECT_TRUE(std::all_of(c.bytes.begin(), c.bytes.end(), [](int x) { return x == 0xa5; }));
    }
}

// C is rounded to Real8 after each panel of 8 terms, a vector case once:
// 1 + 2^-54 + 2^-54 + 2^-60 rounds up to 1 + 2^-52 at term 8, and
// -2^-52 at term 9 brings it to 1; summed whole it is 1 - 2^-53 + 2^-60.
TEST(MatmulPanels, Real8RoundsAfterEachPanelOf8) {
  double av[9] = {1, 0x1p-54, 0x1p-54, 0x1p-60, 0, 0, 0, 0, -0x1p-52}, bv[9], c = 0;
  std::fill_n(bv, 9, 1.0);
  std::int32_t one = 1, nine = 9, s8 = 8, s72 = 72, cs[2], ce[2];
  for (int rank : {2, 1}) {
    ArrayDescriptor a{av, {}, std::uint8_t(rank), {}, {{&s8, &one}, {&s8, &nine}}};
    if (rank == 1) a.dim[0] = {&s8, &nine};
    ArrayDescriptor b{bv, {}, 2, {}, {{&s8, &nine}, {&s72, &one}}};
    ArrayDescriptor r{&c, {}, std::uint8_t(rank), {}, {{&cs[0], &ce[0]}, {&cs[1], &ce[1]}}};
    const MatmulArgs args{&r, &a, &b};
    g_matmld(&args);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(c),
              rank == 2 ? 0x3ff0000000000000u : 0x3fefffffffffffffu);
  }
}

}  // namespace
