// The SIMD tile of fma_panels.h, over a vector type V (fma_panels_avx2.cpp,
// fma_panels_avx512.cpp include it after their target pragma, so that it
// holds no standard-library code). V supplies n (lanes), v (the vector),
// load, set1, fma, add, sub, mul, min, max, abs, exponent (x with its
// significand bits cleared), pow2 (lanes whose significand bits are all
// clear), lt / le (lane masks of ordered comparisons), store and select
// (by a lane mask). Loads and stores are unaligned.
#pragma once

namespace vx::matmul {

// NR columns of VL-row panel sums: res[c*VL + r] and, per column, the mask
// of the lanes whose result is the register's.
struct TileArgs {
  std::int32_t kc;
  const double *ap;        // kc rows of VL values: a(l, lane) at ap[l*VL + lane]
  const double *const *b;  // per column: b(l) at b[c][l]
  double factor;           // run: c0 = factor * c first (0: +0, c not read); run_last: c added last
  const double *c;         // [NR][VL]
  const double *norm_a, *max_a;          // [VL]
  const double *norm_b, *sum_b, *max_b;  // [NR]
};

// Statistics of n values: an upper bound of the Euclidean norm and of the
// sum of magnitudes (each sum within 2^-44 of its exact value for up to
// 512 values; squares below the normal range lose at most 2^-1074 each,
// which 2^-1000 covers) and the largest magnitude. With a NaN or an
// infinity among the values the tile's sums are not finite and the test
// rejects them whatever the statistics hold.
template <class V>
void simd_stats(const double *x, std::int32_t n, double &norm, double &sum, double &max) {
  using v = typename V::v;
  constexpr int VL = V::n;
  v s2 = V::set1(0.0), s1 = s2, m = s2;
  std::int32_t l = 0;
  for (; l + VL <= n; l += VL) {
    const v a = V::abs(V::load(x + l));
    s2 = V::fma(a, a, s2), s1 = V::add(s1, a), m = V::max(m, a);
  }
  alignas(64) double t2[VL], t1[VL], tm[VL];
  V::store(t2, s2), V::store(t1, s1), V::store(tm, m);
  double q2 = 0, q1 = 0, qm = 0;
  for (int r = 0; r < VL; ++r) q2 += t2[r], q1 += t1[r], qm = tm[r] > qm ? tm[r] : qm;
  for (; l < n; ++l) {
    const double a = x[l] < 0 ? -x[l] : x[l];
    q2 += a * a, q1 += a, qm = a > qm ? a : qm;
  }
  norm = V::sqrt1(q2 * (1 + 0x1p-44) + 0x1p-1000);
  sum = q1 * (1 + 0x1p-44);
  max = qm;
}

// The first `rows` lanes from p (C's elements, which need not lie on
// 8-byte boundaries), the others 0; a full vector only when every lane is
// there, so that nothing past the last element is touched.
inline unsigned char *byte(double *p) { return reinterpret_cast<unsigned char *>(p); }

template <class V>
typename V::v load_rows(const unsigned char *p, int rows) {
  if (rows == V::n) return V::load(reinterpret_cast<const double *>(p));
  alignas(64) double t[V::n] = {};
  for (int r = 0; r < rows; ++r) t[r] = load<double>(p + 8 * r);
  return V::load(t);
}
// Lane r of x into p's element r where bit r of `keep` is set, r < rows.
template <class V>
void store_rows(unsigned char *p, unsigned keep, int rows, typename V::v x) {
  if (rows == V::n && keep == (1u << V::n) - 1) return V::store(reinterpret_cast<double *>(p), x);
  alignas(64) double t[V::n];
  V::store(t, x);
  for (int r = 0; r < rows; ++r)
    if (keep >> r & 1) store(p + 8 * r, t[r]);
}

template <class V, int NR>
struct Tile {
  using v = typename V::v;
  static constexpr int VL = V::n;

  // T, the bound of |c0| + sum |a b| (Tp the part of the products, fc the
  // magnitude of c0), and P = 2^floor(log2 T).
  struct Bound {
    v tp, fc, t, p;
  };
  static Bound bound(const TileArgs &x, int c) {
    const v cv = V::load(x.c + c * VL);
    const v fc = x.factor == 0
                     ? V::set1(0.0)
                     : V::mul(V::abs(V::mul(V::set1(x.factor), cv)), V::set1(1 + 0x1p-50));
    const v tp = V::mul(V::min(V::mul(V::load(x.norm_a), V::set1(x.norm_b[c])),
                               V::mul(V::load(x.max_a), V::set1(x.sum_b[c]))),
                        V::set1(1 + 0x1p-40));
    const v t = V::add(V::add(tp, fc), V::set1(0x1p-1000));
    return {tp, fc, t, V::exponent(t)};
  }

  // The rounding test: ok lanes where every value within e of hi + lo
  // rounds to hi (|lo| + e below half the gap to hi's neighbour, a quarter
  // of hi's ulp at a power of two) and T and hi are in range.
  static unsigned accept(v hi, v lo, v e, v t) {
    v half = V::mul(V::exponent(hi), V::set1(0x1p-53));
    half = V::sub(half, V::and_mask(V::pow2(hi), V::mul(half, V::set1(0.5))));
    return V::le(V::set1(0x1p-900), t) & V::le(t, V::set1(0x1p900)) &
           V::lt(V::add(V::abs(lo), e), half) & V::le(V::set1(0x1p-1000), V::abs(hi)) &
           V::le(V::abs(hi), V::set1(0x1p1000));
  }

  // MATMUL's panels (c added last, factor 1), a column at a time: the partial
  // sums before c lie below Tp, so each of the kc - 1 additions that can
  // round does so by at most 2^-64 2^floor(log2 Tp), and the last, c's, by
  // 2^-64 2^floor(log2 T); no extremes are tracked.
  static void run_last(const TileArgs &x, double *res, unsigned *ok) {
#pragma GCC unroll 8
    for (int c = 0; c < NR; ++c) {
      const Bound bd = bound(x, c);
      const v cv = V::load(x.c + c * VL), sigma = V::mul(bd.p, V::set1(12.0));
      v H = sigma, L = V::set1(0.0);
      for (std::int32_t l = 0; l < x.kc; ++l) {
        const v a = V::load(x.ap + l * VL), b = V::set1(x.b[c][l]), h = V::fma(a, b, H);
        L = V::add(L, V::fma(a, b, V::sub(H, h))), H = h;
      }
      const v h = V::add(H, cv);
      L = V::add(L, V::add(cv, V::sub(H, h)));
      const v hq = V::sub(h, sigma), hi = V::add(hq, L), bb = V::sub(hi, hq);
      const v lo = V::add(V::sub(hq, V::sub(hi, bb)), V::sub(L, bb));
      const v adds =
          V::fma(V::set1(double(x.kc - 1)), V::exponent(bd.tp), V::add(bd.tp, V::exponent(bd.t)));
      const v e = V::fma(adds, V::set1(0x1p-64 * (1 + 0x1p-30)), V::mul(bd.p, V::set1(0x1p-86)));
      ok[c] = accept(hi, lo, e, bd.t);
      V::store(res + c * VL, hi);
    }
  }

  static void run(const TileArgs &x, double *res, unsigned *ok) {
    v H[NR], L[NR], mx[NR], mn[NR];
    const v f = V::set1(x.factor);
#pragma GCC unroll 8
    for (int c = 0; c < NR; ++c) {
      const v sigma = V::mul(bound(x, c).p, V::set1(12.0));  // 1.5 * 2^M, 2^M = 8P >= 4T
      H[c] = sigma, L[c] = V::set1(0.0);
      if (x.factor != 0) {
        const v cv = V::load(x.c + c * VL), h = V::fma(f, cv, H[c]);
        L[c] = V::fma(f, cv, V::sub(H[c], h)), H[c] = h;
      }
      mx[c] = mn[c] = H[c];
    }
    const std::int32_t kc = x.kc;
    std::int32_t l = 0;
    // Two terms per step, H's extremes after each step; an odd last term.
    for (; l + 2 <= kc; l += 2) {
      const v a0 = V::load(x.ap + l * VL), a1 = V::load(x.ap + (l + 1) * VL);
#pragma GCC unroll 8
      for (int c = 0; c < NR; ++c) {
        const v b0 = V::set1(x.b[c][l]), b1 = V::set1(x.b[c][l + 1]);
        const v h0 = V::fma(a0, b0, H[c]);
        L[c] = V::add(L[c], V::fma(a0, b0, V::sub(H[c], h0)));
        const v h1 = V::fma(a1, b1, h0);
        L[c] = V::add(L[c], V::fma(a1, b1, V::sub(h0, h1)));
        H[c] = h1, mx[c] = V::max(mx[c], h1), mn[c] = V::min(mn[c], h1);
      }
    }
    if (l < kc) {
      const v a0 = V::load(x.ap + l * VL);
#pragma GCC unroll 8
      for (int c = 0; c < NR; ++c) {
        const v b0 = V::set1(x.b[c][l]), h0 = V::fma(a0, b0, H[c]);
        L[c] = V::add(L[c], V::fma(a0, b0, V::sub(H[c], h0)));
        H[c] = h0, mx[c] = V::max(mx[c], h0), mn[c] = V::min(mn[c], h0);
      }
    }
#pragma GCC unroll 8
    for (int c = 0; c < NR; ++c) {
      const Bound bd = bound(x, c);
      const v sigma = V::mul(bd.p, V::set1(12.0));
      // E = hi + lo exactly (two_sum of H - sigma, exact, and L)
      const v hq = V::sub(H[c], sigma), hi = V::add(hq, L[c]), bb = V::sub(hi, hq);
      const v lo = V::add(V::sub(hq, V::sub(hi, bb)), V::sub(L[c], bb));
      const v max_s = V::max(V::sub(mx[c], sigma), V::sub(sigma, mn[c]));
      // a partial sum between two extremes' checks: one product away
      const v max_p = V::mul(V::load(x.max_a), V::set1(x.max_b[c]));
      // Every sum an addition rounds lies below `partial`, so it rounds by at
      // most 2^-64 times 2^floor(log2 partial). The slack covers the grid
      // (up to 65 half grids, 2^-43 P) and the register's own drift (2^-55 T).
      const v partial =
          V::fma(V::add(max_s, max_p), V::set1(1 + 0x1p-40), V::mul(bd.p, V::set1(0x1p-30)));
      const v e =
          V::add(V::mul(V::fma(V::set1(double(kc + 1)), V::exponent(partial), V::add(bd.tp, bd.fc)),
                        V::set1(0x1p-64 * (1 + 0x1p-30))),
                 V::mul(bd.p, V::set1(0x1p-86)));
      ok[c] = accept(hi, lo, e, bd.t);
      V::store(res + c * VL, hi);
    }
  }
};

// The block kernel over tiles of VL rows by NR columns: A repacked into
// VL-row strips, statistics of every row and column, the tiles' results
// stored where accepted, the rest by x87_panel_sum.
template <class V, int NR>
std::int64_t fma_block(const GemmBlock &k) {
  constexpr int VL = V::n;
  alignas(64) double ap[64 * 64];
  alignas(64) double na[64 + VL], ma[64 + VL];
  double nb[256 + NR], sb[256 + NR], mb[256 + NR];
  alignas(64) static constexpr double zeros[64] = {};
  const std::int32_t strips = (k.mc + VL - 1) / VL;
  for (std::int32_t i = 0; i < strips * VL; ++i) {
    const bool in = i < k.mc;
    const double *row = k.a + i * k.lda;
    double *strip = ap + (i / VL) * k.kc * VL + i % VL;
    for (std::int32_t l = 0; l < k.kc; ++l) strip[l * VL] = in ? row[l] : 0.0;
    na[i] = ma[i] = 0;
    if (in) {
      double sum;
      simd_stats<V>(row, k.kc, na[i], sum, ma[i]);
    }
  }
  for (std::int32_t j = 0; j < k.nc + NR; ++j) {
    nb[j] = sb[j] = mb[j] = 0;
    if (j < k.nc) simd_stats<V>(k.b + j * k.ldb, k.kc, nb[j], sb[j], mb[j]);
  }
  std::int64_t left = 0;
  PanelElement pending[4 + NR * VL];
  int waiting = 0;
  double scratch = 0;
  for (std::int32_t j0 = 0; j0 < k.nc; j0 += NR) {
    const double *bcol[NR];
    for (int c = 0; c < NR; ++c) bcol[c] = j0 + c < k.nc ? k.b + (j0 + c) * k.ldb : zeros;
    for (std::int32_t s = 0; s < strips; ++s) {
      alignas(64) double cin[NR * VL], res[NR * VL];
      unsigned ok[NR];
      const std::int32_t i0 = s * VL;
      const int rows = k.mc - i0 < VL ? k.mc - i0 : VL;
      const unsigned lanes = (1u << rows) - 1;
      for (int c = 0; c < NR; ++c)  // a column segment of C is contiguous
        V::store(cin + c * VL, k.factor != 0 && j0 + c < k.nc
                                   ? load_rows<V>(byte(k.c + i0 + (j0 + c) * k.ldc), rows)
                                   : V::set1(0.0));
      const TileArgs args{
          k.kc,   ap + s * k.kc * VL, bcol, k.factor, cin, na + i0, ma + i0, nb + j0, sb + j0,
          mb + j0};
      Tile<V, NR>::run(args, res, ok);
      for (int c = 0; c < NR && j0 + c < k.nc; ++c) {
        double *col = k.c + i0 + (j0 + c) * k.ldc;
        store_rows<V>(byte(col), ok[c] & lanes, rows, V::load(res + c * VL));
        for (unsigned bad = ~ok[c] & lanes; bad != 0; bad &= bad - 1) {
          const int r = __builtin_ctz(bad);
          pending[waiting++] = {k.a + (i0 + r) * k.lda, bcol[c], col + r};
          ++left;
        }
      }
      for (; waiting >= 4; waiting -= 4) x87_panel_sums4(k.kc, pending + waiting - 4, k.factor);
    }
  }
  for (int w = waiting; w > 0 && w < 4; ++w) pending[w] = {k.a, k.b, &scratch};
  if (waiting > 0) x87_panel_sums4(k.kc, pending, k.factor);
  return left;
}

}  // namespace vx::matmul

namespace vx::matmul {

// MATMUL's Real8 matrix product on the SIMD unit: C (zeroed by the caller,
// m-by-n, contiguous) += A B in panels of 8 terms, C(i,j) = RN(partial +
// C(i,j)) after each. Operands are packed 64 terms at a time (B 64
// columns, A 64 rows in VL-row strips) with statistics per panel of 8; a
// tile of VL by NR elements keeps its C values through the block's panels.
// Sums the test leaves open are formed in the register, as the driver does.
template <class V, int NR>
std::int64_t fma_matmul_block(const Operand &a, const Operand &b, unsigned char *c, std::int32_t m,
                              std::int32_t k, std::int32_t n) {
  constexpr int VL = V::n, KC = 64, MB = 64, NB = 64, P = KC / 8;
  constexpr int RA = MB + VL, CB = NB + NR;  // statistics rows, columns
  alignas(64) double ap[MB * KC], bp[NB * KC];
  alignas(64) double na[P * RA], ma[P * RA];
  double nb[P * CB], sb[P * CB], mb[P * CB];
  alignas(64) static constexpr double zeros[KC] = {};
  std::int64_t left = 0;
  for (std::int32_t j0 = 0; j0 < n; j0 += NB) {
    const std::int32_t nc = n - j0 < NB ? n - j0 : NB;
    for (std::int32_t l0 = 0; l0 < k; l0 += KC) {
      const std::int32_t kc = k - l0 < KC ? k - l0 : KC, panels = (kc + 7) / 8;
      for (std::int32_t j = 0; j < nc + NR; ++j)
        for (std::int32_t p = 0; p < panels; ++p) {
          const std::int32_t kp = kc - 8 * p < 8 ? kc - 8 * p : 8;
          double *col = bp + j * KC + 8 * p;
          nb[p * CB + j] = sb[p * CB + j] = mb[p * CB + j] = 0;
          if (j >= nc) continue;
          for (std::int32_t l = 0; l < kp; ++l)
            col[l] = load<double>(at(b, l0 + 8 * p + l, j0 + j));
          simd_stats<V>(col, kp, nb[p * CB + j], sb[p * CB + j], mb[p * CB + j]);
        }
      for (std::int32_t i0 = 0; i0 < m; i0 += MB) {
        const std::int32_t mc = m - i0 < MB ? m - i0 : MB, strips = (mc + VL - 1) / VL;
        for (std::int32_t i = 0; i < strips * VL; ++i) {
          double row[KC];
          double *strip = ap + (i / VL) * KC * VL + i % VL;
          for (std::int32_t l = 0; l < kc; ++l) {
            row[l] = i < mc ? load<double>(at(a, i0 + i, l0 + l)) : 0.0;
            strip[l * VL] = row[l];
          }
          for (std::int32_t p = 0; p < panels; ++p) {
            const std::int32_t kp = kc - 8 * p < 8 ? kc - 8 * p : 8;
            double sum;
            simd_stats<V>(row + 8 * p, kp, na[p * RA + i], sum, ma[p * RA + i]);
          }
        }
        for (std::int32_t jt = 0; jt < nc; jt += NR)
          for (std::int32_t s = 0; s < strips; ++s) {
            alignas(64) double ct[NR * VL], res[NR * VL];
            unsigned ok[NR];
            const std::int32_t it = i0 + s * VL;
            auto cat = [&](int cc, int r) {
              return c + (std::ptrdiff_t{j0 + jt + cc} * m + it + r) * 8;
            };
            const int rows = mc - s * VL < VL ? mc - s * VL : VL;
            const unsigned lanes = (1u << rows) - 1;
            for (int cc = 0; cc < NR; ++cc)  // a column segment of C is contiguous
              V::store(ct + cc * VL, jt + cc < nc ? load_rows<V>(cat(cc, 0), rows) : V::set1(0.0));
            for (std::int32_t p = 0; p < panels; ++p) {
              const std::int32_t kp = kc - 8 * p < 8 ? kc - 8 * p : 8;
              const double *bcol[NR];
              for (int cc = 0; cc < NR; ++cc)
                bcol[cc] = jt + cc < nc ? bp + (jt + cc) * KC + 8 * p : zeros;
              const double *strip = ap + (s * KC + 8 * p) * VL;
              const TileArgs args{kp,
                                  strip,
                                  bcol,
                                  1.0,
                                  ct,
                                  na + p * RA + s * VL,
                                  ma + p * RA + s * VL,
                                  nb + p * CB + jt,
                                  sb + p * CB + jt,
                                  mb + p * CB + jt};
              Tile<V, NR>::run_last(args, res, ok);
              for (int cc = 0; cc < NR; ++cc) {
                V::store(ct + cc * VL,
                         V::select(ok[cc], V::load(res + cc * VL), V::load(ct + cc * VL)));
                const unsigned bad = jt + cc < nc ? ~ok[cc] & lanes : 0;
                for (unsigned b = bad; b != 0; b &= b - 1) {  // the register's panel, as the
                  const int r = __builtin_ctz(b);             // driver sums it
                  long double sum = 0;
                  for (std::int32_t l = 0; l < kp; ++l)
                    sum = sum + static_cast<long double>(strip[l * VL + r]) * bcol[cc][l];
                  ct[cc * VL + r] =
                      static_cast<double>(sum + static_cast<long double>(ct[cc * VL + r]));
                  ++left;
                }
              }
            }
            for (int cc = 0; cc < NR && jt + cc < nc; ++cc)
              store_rows<V>(cat(cc, 0), lanes, rows, V::load(ct + cc * VL));
          }
      }
    }
  }
  return left;
}

}  // namespace vx::matmul

namespace vx::matmul {

// DGEMV's column group (fma_panels.h) on the SIMD unit, VL rows at a time:
// the exact sum of w and the g products as in Tile, T = |w| + sum |t a|
// formed lane by lane; the register rounds the g products and the g
// additions by at most 2^-64 T and g 2^-64 2^floor(log2 T). Rows past the
// last full vector and the rejected lanes in the register.
template <class V>
std::int64_t gemv_group_block(double *w, const double *a, std::ptrdiff_t lda, const double *t,
                              int g, std::int32_t rows) {
  using v = typename V::v;
  constexpr int VL = V::n;
  std::int64_t left = 0;
  std::int32_t i = 0;
  for (; i + VL <= rows; i += VL) {
    const v wv = V::load(w + i);
    v sum = V::abs(wv);
    for (int c = 0; c < g; ++c)
      sum = V::fma(V::abs(V::load(a + i + c * lda)), V::set1(t[c] < 0 ? -t[c] : t[c]), sum);
    const v tt = V::fma(sum, V::set1(1 + 0x1p-45), V::set1(0x1p-1000));
    const v p = V::exponent(tt), sigma = V::mul(p, V::set1(12.0));
    v H = V::add(sigma, wv), L = V::add(wv, V::sub(sigma, H));
    for (int c = 0; c < g; ++c) {
      const v x = V::load(a + i + c * lda), b = V::set1(t[c]), h = V::fma(x, b, H);
      L = V::add(L, V::fma(x, b, V::sub(H, h))), H = h;
    }
    const v hq = V::sub(H, sigma), hi = V::add(hq, L), bb = V::sub(hi, hq);
    const v lo = V::add(V::sub(hq, V::sub(hi, bb)), V::sub(L, bb));
    const v e = V::fma(V::fma(V::set1(double(g)), V::exponent(tt), tt),
                       V::set1(0x1p-64 * (1 + 0x1p-30)), V::mul(p, V::set1(0x1p-86)));
    const unsigned ok = Tile<V, 1>::accept(hi, lo, e, tt), all = (1u << VL) - 1;
    alignas(64) double res[VL];
    V::store(res, hi);
    for (unsigned bad = ~ok & all; bad != 0; bad &= bad - 1, ++left) {
      const int r = __builtin_ctz(bad);
      res[r] = x87_gemv_group(w[i + r], a + i + r, lda, t, g);
    }
    V::store(w + i, V::load(res));
  }
  for (; i < rows; ++i) w[i] = x87_gemv_group(w[i], a + i, lda, t, g);
  return left;
}

}  // namespace vx::matmul
