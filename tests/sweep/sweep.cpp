// Every implemented export (from tools/exports.tsv) on random bit patterns, under a handler
// that takes the default or computes again (same or random arguments). After each call: no
// crash or endless loop, operands unchanged but those updated, nothing written around a result
// (operands end at an inaccessible page), the control block changed only in the error fields
// after a report, the x87 control word and stack (i386: ST(0) with a Real4/Real8 result), the
// MXCSR control bits and callee-saved registers kept, every result written. --seed=S --count=N.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "support/recorder.h"
#include "support/sampling.h"

namespace {

struct Export {
  const char *name;
  void *fn;
  const char *ret;
  std::vector<std::string> params;
};
const Export kExports[] = {
#include "sweep_calls.inc"
};
void PrintTo(const Export &e, std::ostream *os) { *os << e.name; }

// sweep_call loads the argument registers or pushes the words, fills the callee-saved registers
// with the sentinel, calls, and stores the return and callee-saved registers and FNSTENV's
// environment before anything is popped (i386: then pops a Real4/Real8 result).
#if defined(__x86_64__)
struct Call {
  void *fn;
  std::uint64_t gpr[6];
  double xmm[2];
  std::uint64_t rax, rdx, xmm0, sentinel, kept[6];
  unsigned char env[28];
};
static_assert(offsetof(Call, rax) == 72 && offsetof(Call, env) == 152);
asm(".pushsection .text; .globl sweep_call; .type sweep_call,@function; sweep_call:\n"
    "push %rbx; push %rbp; push %r12; push %r13; push %r14; push %r15; push %rdi\n"
    "mov 96(%rdi),%rbx; mov %rbx,%rbp; mov %rbx,%r12; mov %rbx,%r13; mov %rbx,%r14; mov %rbx,%r15\n"
    "movsd 56(%rdi),%xmm0; movsd 64(%rdi),%xmm1; mov (%rdi),%rax; mov 16(%rdi),%rsi\n"
    "mov 24(%rdi),%rdx; mov 32(%rdi),%rcx; mov 40(%rdi),%r8; mov 48(%rdi),%r9; mov 8(%rdi),%rdi\n"
    "call *%rax; mov (%rsp),%rdi; mov %rax,72(%rdi); mov %rdx,80(%rdi); movq %xmm0,88(%rdi)\n"
    "mov %rbx,104(%rdi); mov %rbp,112(%rdi); mov %r12,120(%rdi); mov %r13,128(%rdi)\n"
    "mov %r14,136(%rdi); mov %r15,144(%rdi); fnstenv 152(%rdi); fldenv 152(%rdi)\n"
    "pop %rdi; pop %r15; pop %r14; pop %r13; pop %r12; pop %rbp; pop %rbx; ret\n.popsection\n");
#else
struct Call {
  void *fn;
  std::uint32_t n, word[16];  // stack words, pushed right to left
  std::uint32_t rax, rdx, fp_result, sentinel, kept[3], esp_before, esp_after;
  unsigned char env[28];
};
static_assert(offsetof(Call, rax) == 72 && offsetof(Call, env) == 108);
asm(".pushsection .text; .globl sweep_call; .type sweep_call,@function; sweep_call:\n"
    "push %ebp; mov %esp,%ebp; push %ebx; push %esi; push %edi; mov 8(%ebp),%eax\n"
    "mov 4(%eax),%ecx; lea (,%ecx,4),%edx; sub %edx,%esp; and $-16,%esp; xor %edx,%edx\n"
    "1: cmp %ecx,%edx; jae 2f; mov 8(%eax,%edx,4),%ebx; mov %ebx,(%esp,%edx,4); inc %edx; jmp 1b\n"
    "2: mov %esp,100(%eax); mov 84(%eax),%ebx; mov %ebx,%esi; mov %ebx,%edi; call *(%eax)\n"
    "mov 8(%ebp),%ecx; mov %eax,72(%ecx); mov %edx,76(%ecx); mov %ebx,88(%ecx); mov %esi,92(%ecx)\n"
    "mov %edi,96(%ecx); mov %esp,104(%ecx); fnstenv 108(%ecx); fldenv 108(%ecx)\n"
    "cmpl $0,80(%ecx); je 3f; fstp %st(0)\n"
    "3: lea -12(%ebp),%esp; pop %edi; pop %esi; pop %ebx; pop %ebp; ret\n.popsection\n");
#endif
extern "C" void sweep_call(Call *);

enum Kind { kFloat, kReal16, kInt, kRaw };
struct Type {
  const char *name;
  int size, unit;  // unit: the size of one component
  Kind kind;
};
constexpr Type kTypes[] = {
    {"r4", 4, 4, kFloat},       {"r8", 8, 8, kFloat},   {"r16", 16, 16, kReal16},
    {"c8", 8, 4, kFloat},       {"c16", 16, 8, kFloat}, {"c32", 32, 16, kReal16},
    {"i1", 1, 1, kInt},         {"i2", 2, 2, kInt},     {"i4", 4, 4, kInt},
    {"i8", 8, 8, kInt},         {"l4", 4, 4, kInt},     {"f128", 16, 16, kRaw},
    {"words4", 16, 16, kReal16}};
const Type &type_of(const std::string &name) {
  for (const Type &t : kTypes)
    if (name == t.name) return t;
  throw std::runtime_error("no generator for type " + name);
}
// The type of the polymorphic operand by its value type code.
const char *const kCodeTypes[12] = {"", "i1", "i2", "i4", "i8", "", "", "", "", "r4", "r8", "r16"};
constexpr unsigned char kCanary = 0xa5;

using Rng = std::mt19937_64;
// An IEEE pattern of e exponent and m fraction bits: zero, subnormal, any finite, near 1,
// the extremes, infinity, quiet and signalling NaNs with random payloads.
std::uint64_t ieee(Rng &g, int e, int m) {
  const std::uint64_t emax = (1ull << e) - 1, q = 1ull << (m - 1), f = g() & (2 * q - 1), r = g();
  const std::uint64_t exp[8] = {
      0, 0, r % emax, (emax >> 1) - 40 + r % 80, r & 1 ? emax - 1 : r & 2, emax, emax, emax};
  const std::uint64_t frac[8] = {
      0, f, f, f, r & 4 ? 2 * q - 1 : r & 8, 0, f | q, (f & (q - 1)) | 1};
  const unsigned c = g() % 8;
  return (r >> 63) << (e + m) | exp[c] << m | frac[c];
}
void random_unit(Rng &g, const Type &t, unsigned char *p) {
  std::uint64_t v[2] = {g(), g()}, r = g();
  if (t.kind == kFloat) v[0] = t.unit == 4 ? ieee(g, 8, 23) : ieee(g, 11, 52);
  if (t.kind == kReal16) {  // every exponent field; a fraction random, all ones or zero
    if (r % 4 < 2) v[0] = v[1] = r % 4 ? ~0ull : 0;
    const std::uint64_t ex[] = {g() % 0x8000, 0x3fff - 120 + g() % 240, 0, 1, 0x7ffe, 0x7fff};
    v[1] = (v[1] & 0x8000ffffffffffffull) | ex[r / 4 % 6] << 48;
  }
  if (t.kind == kInt) {
    const std::uint64_t top = ~0ull >> (65 - 8 * t.unit);
    const std::uint64_t pick[] = {0, 1, ~0ull, top, ~top, r % 200 - 100, v[0]};
    v[0] = pick[r / 256 % 7];
  }
  std::memcpy(p, v, t.unit);
}
std::string hex(const unsigned char *p, const Type &t) {
  std::string s;
  char d[3];
  for (int i = t.size; i-- > 0; s += d) std::snprintf(d, sizeof d, "%02x", p[i]);
  return s;
}

// What the handler does and what the current call is, for the messages.
struct State {
  const Export *e = nullptr;
  std::vector<const Type *> slots;  // types of the argument slots, in argument order
  std::string args;
  std::uint64_t index = 0;
  Rng rng;
  int mode = 0, reports = 0, answer = 0;
  int most = 40;  // reports one call may make: a MATMUL makes up to 8 Real16 operations a term
  std::int32_t last = 0;
  const char *fault = "";
} s;
std::uint64_t g_seed = 20261206, g_count = 0;
std::atomic<std::uint64_t> calls = 0;

std::string where() {
  return std::string(s.e ? s.e->name : "?") + "(" + s.args + ") handler mode " +
         std::to_string(s.mode) + ", seed " + std::to_string(g_seed) + ", call " +
         std::to_string(s.index);
}
void on_signal(int sig) {
  const std::string m = "signal " + std::to_string(sig) + ": " + where() + "\n";
  if (write(2, m.data(), m.size()) < 0) _exit(3);
  signal(sig, SIG_DFL);
  raise(sig);
}
// A call that has not returned after 20 to 40 seconds aborts; a thread, since a timer signal
// would pass through the floating-point state under test.
void watchdog() {
  for (std::uint64_t seen = ~0ull; seen != calls;) {
    seen = calls;
    std::this_thread::sleep_for(std::chrono::seconds(20));
  }
  std::fprintf(stderr, "no return: %s\n", where().c_str());
  std::abort();
}

// Mode 0 takes the default; mode 1 computes again 3 times with the same argument (the same
// error again); mode 2 8 times with random replacements in the slots the report set. Slot 2 is
// cleared before each call and report, so a one-operand report inside an entry (a complex
// power's logarithm) finds no stale slot 2.
void clear_slot2() {
  using namespace support::layout;
  std::memset(vexmori_control_block() + field(kArgSlot2).offset, 0, field(kArgSlot2).width);
}
void handler(void *record) {
  using namespace support::layout;
  const unsigned char *block = vexmori_control_block();
  const std::int32_t number = read<std::int32_t>(block, kErrorNumber);
  if (record != block + field(kErrorNumber).offset) s.fault = "the handler got another address";
  if (s.mode == 1 && s.answer && number != s.last)
    s.fault = "the same argument reported another error";
  if (++s.reports > s.most) s.fault = "the resume loop goes on after the answer 0";
  for (size_t i = 0; s.mode == 2 && s.reports <= 8 && i < s.slots.size() && i < 2; ++i)
    if (void *slot = vexmori_argument_slot(int(i) + 1); s.slots[i] && slot)
      random_unit(s.rng, *s.slots[i], static_cast<unsigned char *>(slot));
  clear_slot2();
  s.last = number;
  s.answer = s.reports <= (s.mode == 1 ? 3 : s.mode == 2 ? 8 : 0);
  vexmori_set_resume(s.answer);
}

// One page per parameter before an inaccessible one; the parameter at its end, canary before.
struct Arena {
  long page = sysconf(_SC_PAGESIZE);
  unsigned char *base = static_cast<unsigned char *>(
      mmap(nullptr, 17 * page, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
  Arena() {
    for (int i = 0; i < 8; ++i) mprotect(page_of(i), page, PROT_READ | PROT_WRITE);
  }
  unsigned char *page_of(size_t i) const { return base + (2 * i + 1) * page; }
  unsigned char *at(size_t i, int size) const { return page_of(i) + page - size; }
};

// The caller's state during a run, restored after it; the infinity-control bit set in the
// control word shows an entry that loads a standard one.
constexpr std::uint16_t kCw = 0x137f;
struct Caller {
  std::uint16_t cw;
  std::uint32_t mx;
  VexmoriHandler previous = vexmori_set_handler(handler);
  Caller() { asm volatile("fnstcw %0; stmxcsr %1; fldcw %2" : "=m"(cw), "=m"(mx) : "m"(kCw)); }
  ~Caller() {
    asm volatile("fninit; fldcw %0; ldmxcsr %1" ::"m"(cw), "m"(mx));
    vexmori_set_handler(previous);
    vexmori_set_infinity_flag(1), vexmori_set_report_flag(0), vexmori_set_mute_flag(0);
  }
};

struct Param {
  char role;  // i(n), o(ut), u(pdated in place), v(alue), a(ny type), c(ode), f(lag)
  const Type *type;
};

void prepare(const std::vector<Param> &ps, const Arena &arena, Call &c) {
  int code = 3, gi = 0, xi = 0;
  for (const Param &p : ps)
    if (p.role == 'c') code = "\1\2\3\4\11\12\13"[s.rng() % 7];
  s.args.clear(), s.most = 40;
  for (size_t i = 0; i < ps.size(); ++i) {
    const Param &p = ps[i];
    const Type &t = p.role == 'a' ? type_of(kCodeTypes[code]) : *p.type;
    std::memset(arena.page_of(i), kCanary, arena.page);
    unsigned char *a = arena.at(i, t.size);
    if (p.role == 'c') std::memcpy(a, &code, 4);
    if (p.role == 'f')
      std::memcpy(a, "\0\1\0\0\0\0\0\0\5\0\0\0" + 4 * (s.rng() % 3), 4);  // 0x100, 0, 5
    for (int u = 0; u < t.size && strchr("ivau", p.role); u += t.unit) random_unit(s.rng, t, a + u);
    if (p.role != 'o') s.args += (s.args.empty() ? "" : ", ") + hex(a, t);
    std::uint64_t w[2] = {reinterpret_cast<std::uintptr_t>(a), 0};
    const int words = p.role == 'v' ? t.size / 4 : int(sizeof(void *) / 4);
    if (p.role == 'v') std::memcpy(w, a, t.size);
#if defined(__x86_64__)
    if (p.role == 'v' && t.kind == kFloat) c.xmm[xi++] = *reinterpret_cast<double *>(a);
    for (int k = 0; k < (words + 1) / 2 && !(p.role == 'v' && t.kind == kFloat); ++k)
      c.gpr[gi++] = w[k];
#else
    std::memcpy(c.word + c.n, w, 4 * words), c.n += words;
#endif
  }
  (void)gi, (void)xi;
}

std::string check(const Export &e, const std::vector<Param> &ps, const Arena &arena, const Call &c,
                  const std::vector<unsigned char> &pages, const unsigned char *before) {
  using namespace support::layout;
  static const std::vector<unsigned char> allowed = [] {  // the fields the error protocol writes
    std::vector<unsigned char> mask(kBlockSize);
    for (int f = kResumeRef; f <= kResumeWord; ++f)
      std::memset(&mask[field(Field(f)).offset], 1, field(Field(f)).width);
    return mask;
  }();
  const unsigned char *block = vexmori_control_block();
  if (*s.fault) return s.fault;
  const bool changed = std::memcmp(before, block, kBlockSize) != 0;
  for (std::size_t off = 0; changed && off < kBlockSize; ++off)
    if (before[off] != block[off] && !(s.reports > 0 && allowed.data()[off]))
      return "control block byte " + std::to_string(off) + " changed";
  std::uint16_t cw, sw, tags;
  std::memcpy(&cw, c.env, 2), std::memcpy(&sw, c.env + 4, 2), std::memcpy(&tags, c.env + 8, 2);
  const int top = sw >> 11 & 7;
  if (cw != kCw) return "x87 control word " + std::to_string(cw);
  for (auto k : c.kept)
    if (k != c.sentinel) return "callee-saved register changed";
#if defined(__x86_64__)
  if (tags != 0xffff || top != 0) return "x87 stack not empty, tags " + std::to_string(tags);
#else
  const bool only_st0 = (tags | 3 << 2 * top) == 0xffff && (tags >> 2 * top & 3) != 3 && top == 7;
  if (c.fp_result ? !only_st0 : tags != 0xffff || top != 0)
    return "x87 stack: tags " + std::to_string(tags) + " top " + std::to_string(top);
  if (c.esp_after != c.esp_before) return "stack pointer moved (the caller pops)";
#endif
  const std::string ret = e.ret;
  if (ret == "l4" && (c.rax & 0xffffffffu) > 1) return "LOGICAL result neither 1 nor 0";
  if (ret.rfind("ref:", 0) == 0 &&
      c.rax != reinterpret_cast<std::uintptr_t>(arena.at(0, type_of(ret.substr(4)).size)))
    return "not the hidden result address returned";
  for (size_t i = 0; i < ps.size(); ++i) {
    const unsigned char *pg = arena.page_of(i);
    const int size = ps[i].type->size, unit = ps[i].type->unit;
    if (!strchr("ou", ps[i].role) && std::memcmp(pg, &pages[i * arena.page], arena.page))
      return "operand " + std::to_string(i) + " changed";
    if (strchr("ou", ps[i].role) && std::memcmp(pg, &pages[i * arena.page], arena.page - size))
      return "written below result " + std::to_string(i);
    for (int u = 0; ps[i].role == 'o' && u < size; u += unit)
      if (std::memcmp(pg + arena.page - size + u, &pages[i * arena.page], unit) == 0)
        return "result " + std::to_string(i) + " not written";
  }
  return "";
}

void pass_list(Call &c, const void *list) {
  const auto address = reinterpret_cast<std::uintptr_t>(list);
#if defined(__x86_64__)
  c.gpr[0] = address;
#else
  c.word[0] = std::uint32_t(address), c.n = 1;
#endif
}

// Argument lists: list, descriptors, integers and BLAS scalars in `g_list`, what they must
// hold after the call in `g_want`; result and operands end at arena pages 1 to 4.
struct ListArgs {
  const void *list[12];
  ArrayDescriptor d[4];
  std::int32_t ints[4][4];
  char ch[2];
  double scal[2];
  std::int32_t ld[4];                // LDC, LDA, LDB, LDD
  std::vector<std::size_t> written;  // result bytes (from its page's start) that may change
  std::size_t unit;                  // ... `unit` long each
  bool must;                         // ... and must
} g_list, g_want;
// Descriptor d of g_list: strides at ints[d][0..1], extents at [2..3].
ArrayDescriptor describe(int d, void *data, int rank) {
  std::int32_t *i = g_list.ints[d];
  return {data, {}, std::uint8_t(rank), {}, {{&i[0], &i[2]}, {&i[1], &i[3]}}};
}

// MATMUL: result, A, B on pages 1 to 3; extents -2 to 6, inner ones differing one call in
// five; steps of either sign, transposed views, byte strides off the element size.
void prepare_list(const Type &t, const Arena &arena, Call &c) {
  ListArgs &L = g_list;
  L.written.clear(), L.unit = t.size, L.must = true;
  auto extent = [] { return int(s.rng() % 9) - 2; };
  const int cs = int(s.rng() % 3), rank[3] = {cs ? 1 : 2, cs == 2 ? 1 : 2, cs == 1 ? 1 : 2};
  std::int32_t e[3][2] = {{0, 0}, {extent(), extent()}, {extent(), extent()}};
  e[2][0] = s.rng() % 5 ? e[1][rank[1] - 1] : extent();  // B's extent 1: usually A's inner one
  auto eff = [&](int d, int k) { return std::max(e[d][k], 0); };
  s.most = 40 + 8 * 36 * eff(2, 0);
  const std::int32_t m = rank[1] == 2 ? eff(1, 0) : 1, n = rank[2] == 2 ? eff(2, 1) : 1;
  const bool conform = eff(1, rank[1] - 1) == eff(2, 0);
  s.args = std::to_string(cs) + ": " + std::to_string(e[1][0]) + "x" + std::to_string(e[1][1]) +
           " " + std::to_string(e[2][0]) + "x" + std::to_string(e[2][1]) + " strides";
  for (int d = 0; d < 3; ++d) {
    unsigned char *page = arena.page_of(d + 1);
    std::memset(page, kCanary, arena.page);
    std::ptrdiff_t step[2] = {1, m}, lo = 0, hi = 0;
    if (d > 0) {
      const int g = 1 + int(s.rng() % 2), ld = 6 + int(s.rng() % 3), tr = int(s.rng() % 2);
      step[tr] = g, step[1 - tr] = g * ld;
    }
    for (int k = 0; k < 2; ++k) {
      if (d > 0 && s.rng() % 3 == 0) step[k] = -step[k];
      const std::ptrdiff_t far = step[k] * (std::max(d ? eff(d, k) : k ? n : m, 1) - 1);
      lo += std::min<std::ptrdiff_t>(far, 0), hi += std::max<std::ptrdiff_t>(far, 0);
      const int odd = d ? int(s.rng() % t.size) : 0;
      L.ints[d][k] = std::int32_t(step[k]) * t.size + (step[k] < 0 ? -odd : odd);
      L.ints[d][2 + k] = d ? e[d][k] : int(s.rng());
      if (d == 0) L.ints[d][k] = int(s.rng());
      s.args += " " + std::to_string(L.ints[d][k]);
    }
    if (d == 0) lo = 0, hi = std::ptrdiff_t{m} * n - 1;
    unsigned char *region = page + arena.page - (hi - lo + 1) * t.size;
    for (unsigned char *u = region; d > 0 && u < page + arena.page; u += t.unit)
      random_unit(s.rng, t, u);
    L.d[d] = describe(d, region - lo * t.size, rank[d]);
    L.list[d] = &L.d[d];
  }
  for (std::size_t k = 0; k < std::size_t(m) * n * conform; ++k)
    L.written.push_back(arena.page - (k + 1) * t.size);
  // The result's strides and extents (a vector keeps dimension 2); zeros when not conforming.
  g_want = g_list;
  std::int32_t *w = g_want.ints[0];
  w[0] = conform ? t.size : 0, w[2] = conform ? (rank[0] == 2 ? m : m * n) : 0;
  if (rank[0] == 2) w[1] = conform ? t.size * m : 0, w[3] = conform ? n : 0;
  pass_list(c, L.list);
}

// BLAS lists: C A B D TRANSA TRANSB alpha beta LDC LDA LDB LDD (g_mt22blasd) or y A x z TRANS
// alpha beta LDA (g_mt21blasd), array r on page r+1. Extents -1 to 6, TRANS N, n, T or invalid,
// leading dimensions around the rows (0 or one below now and then), increments of either sign
// or 0 (stride 4), D and z absent now and then.
void prepare_blas(bool gemm, const Arena &arena, Call &c) {
  ListArgs &L = g_list;
  auto pick = [](std::initializer_list<std::int32_t> v) { return v.begin()[s.rng() % v.size()]; };
  auto eff = [](std::int32_t e) { return std::max(e, 0); };
  std::int32_t e[4][2], st[4] = {8, 8, 8, 8};
  L.written.clear();
  for (auto &x : e) x[0] = int(s.rng() % 8) - 1, x[1] = int(s.rng() % 8) - 1;
  for (char &ch : L.ch) ch = "NnTX"[s.rng() % 4];
  const bool ta = L.ch[0] == 'T', tb = gemm && L.ch[1] == 'T';
  const std::int32_t inner = eff(e[1][ta ? 0 : 1]);
  if (s.rng() % 5) e[2][gemm && tb ? 1 : 0] = inner;  // B's (x's) inner extent: usually A's
  const std::int32_t m = eff(e[1][ta ? 1 : 0]), n = gemm ? eff(e[2][tb ? 0 : 1]) : 0;
  const std::int32_t rows[4] = {m, eff(e[1][0]), eff(e[2][0]), m};
  for (int r = 0; r < 4; ++r) L.ld[r] = std::max(r % 3 ? 0 : 1, rows[r] + pick({0, 0, 1, -1, 2}));
  if (s.rng() % 4 == 0) L.ld[1] = 0;
  L.scal[0] = s.rng() % 4 ? double(int(s.rng() % 7) - 3) : 0.0, L.scal[1] = pick({0, 1, -2, 3});
  std::vector<std::size_t> written;  // C's (y's) elements from its data address
  std::size_t count[4];
  if (gemm) {
    const bool conform = eff(e[2][tb ? 1 : 0]) == inner;
    for (int r = 0; r < 4; ++r) {
      const std::int32_t cols = r == 1 ? eff(e[1][1]) : r == 2 ? eff(e[2][1]) : n;
      const std::int32_t ld = std::max(L.ld[r], 1);
      count[r] = rows[r] && cols ? std::size_t(ld) * (cols - 1) + rows[r] : 0;
    }
    for (std::int32_t j = 0; conform && j < n; ++j)
      for (std::int32_t i = 0; i < m; ++i) written.push_back(std::size_t(i) + j * L.ld[0]);
  } else {
    const bool t = L.ch[0] == 'T';
    const std::int32_t lenx = eff(e[2][0]), leny = eff(e[1][t ? 1 : 0]);
    for (int r : {0, 2, 3}) st[r] = pick({8, 8, 16, -8, -16, 4});
    const std::int32_t len[4] = {leny, 0, lenx, leny};
    for (int r : {0, 2, 3})
      count[r] = len[r] ? std::size_t(std::abs(st[r] / 8)) * (len[r] - 1) + 1 : 0;
    count[1] =
        rows[1] && e[1][1] > 0 ? std::size_t(std::max(L.ld[1], 1)) * (e[1][1] - 1) + rows[1] : 0;
    for (std::int32_t i = 0; lenx == inner && i < leny; ++i)
      written.push_back(std::size_t(i) * std::abs(st[0] / 8));
  }
  s.args = std::string(L.ch, gemm ? 2 : 1) + " extents";
  for (int r = 0; r < 4; ++r) {
    unsigned char *page = arena.page_of(r + 1);
    std::memset(page, kCanary, arena.page);
    const std::size_t bytes = std::max<std::size_t>(count[r], st[r] == 4 ? 1 : 0) * 8;
    unsigned char *region = page + arena.page - bytes;
    for (std::size_t w : written)
      if (r == 0 && 8 * w < bytes) L.written.push_back(arena.page - bytes + 8 * w);
    for (unsigned char *u = region; u < page + arena.page; u += 8)
      random_unit(s.rng, type_of("r8"), u);
    L.ints[r][0] = st[r], L.ints[r][1] = 0, L.ints[r][2] = e[r][0], L.ints[r][3] = e[r][1];
    s.args += " " + std::to_string(e[r][0]) + "x" + std::to_string(e[r][1]) + "/" +
              std::to_string(L.ld[r]) + "/" + std::to_string(st[r]);
    L.d[r] = describe(r, region, 2);
  }
  const void *z = s.rng() % 3 ? &L.d[3] : nullptr;  // the addend, absent now and then
  const void *gl[12] = {&L.d[0],    &L.d[1],    &L.d[2],  z,        &L.ch[0], &L.ch[1],
                        &L.scal[0], &L.scal[1], &L.ld[0], &L.ld[1], &L.ld[2], &L.ld[3]};
  const void *vl[8] = {&L.d[0], &L.d[1], &L.d[2], z, &L.ch[0], &L.scal[0], &L.scal[1], &L.ld[1]};
  std::copy_n(gemm ? gl : vl, gemm ? 12 : 8, L.list);
  L.unit = 8, L.must = false;
  g_want = g_list;
  pass_list(c, L.list);
}

// List, descriptors and scalars as wanted, operands as before, and on the result's page only
// the bytes at `written` changed (with `must`, each of them).
std::string check_list(const Arena &arena, const std::vector<unsigned char> &pages) {
  const ListArgs &L = g_list, &W = g_want;
  if (std::memcmp(L.list, W.list, sizeof L.list) || std::memcmp(L.d, W.d, sizeof L.d) ||
      std::memcmp(L.ch, W.ch, 2) || std::memcmp(L.scal, W.scal, 16) ||
      std::memcmp(L.ld, W.ld, sizeof L.ld))
    return "argument changed";
  if (std::memcmp(L.ints, W.ints, sizeof L.ints))
    return "descriptor integers, result extent " + std::to_string(L.ints[0][2]);
  for (int r = 2; r <= 4; ++r)
    if (std::memcmp(arena.page_of(r), &pages[(r - 1) * arena.page], arena.page))
      return "operand " + std::to_string(r - 1) + " changed";
  std::vector<unsigned char> now(arena.page_of(1), arena.page_of(1) + arena.page);
  for (std::size_t w : L.written) {
    if (L.must && std::memcmp(&now[w], pages.data(), L.unit) == 0)
      return "result element not written";
    std::memcpy(&now[w], &pages[w], L.unit);
  }
  return std::memcmp(now.data(), pages.data(), arena.page) ? "written outside the result" : "";
}

class Sweep : public ::testing::TestWithParam<Export> {};

TEST_P(Sweep, ArbitraryBitsLeaveTheCallerIntact) {
  const Export &e = GetParam();
  std::vector<Param> ps;
  s.e = &e;
  s.slots.clear();
  const Type *list = nullptr;  // the element type of an argument list
  int blas = 0;                // 2: g_mt22blasd's list, 1: g_mt21blasd's
  for (const std::string &p : e.params) {
    if (p.rfind("list:", 0) == 0) {
      ASSERT_EQ(std::count(p.begin(), p.end(), ':'), 2) << e.name << ": no builder for " << p;
      list = &type_of(p.substr(5, p.find(':', 5) - 5));
      blas = p.find("transa") != std::string::npos ? 2 : p.find("trans") != std::string::npos;
      continue;
    }
    const std::string tn = p.substr(p.find(':') + 1);
    const char role = p[0];
    ps.push_back({role, &type_of(strchr("acf", role) ? "i4" : tn.c_str())});
    if (strchr("ivau", role)) s.slots.push_back(role == 'a' ? nullptr : ps.back().type);
  }
  s.rng.seed(g_seed ^ std::hash<std::string>{}(e.name));
  static const Arena arena;
  std::vector<unsigned char> before(support::layout::kBlockSize),
      pages(arena.page * (list ? 4 : ps.size()));
  const Caller caller;
  std::uint32_t mx0, mx;
  const std::uint64_t n = g_count ? g_count : support::scaled(1500);
  for (s.index = 0; s.index < n; ++s.index) {
    Call c{};
    c.fn = e.fn;
    prepare(ps, arena, c);
    if (blas) prepare_blas(blas == 2, arena, c);
    if (list && !blas) prepare_list(*list, arena, c);
    // Real16/Complex32 powers to an integer: each of 64 squares and products may report (6 times).
    if (std::strstr("g_aqxi g_aqxj g_azxi g_azxj", e.name)) s.most = 6 * 2 * 65;
    for (size_t i = 0; i < pages.size() / arena.page; ++i)
      std::memcpy(&pages[i * arena.page], arena.page_of(i + (list != nullptr)), arena.page);
    vexmori_set_infinity_flag("\0\1\2"[s.rng() % 3]);
    vexmori_set_report_flag(s.rng() % 2);
    vexmori_set_mute_flag(s.rng() % 4 == 0);
    s.mode = int(s.rng() % 3), s.reports = s.answer = 0, s.fault = "";
    clear_slot2();
    std::memcpy(before.data(), vexmori_control_block(), before.size());
    c.sentinel = 0x5a17c3e9;
#if !defined(__x86_64__)
    c.fp_result = e.ret == std::string("r4") || e.ret == std::string("r8");
#endif
    asm volatile("stmxcsr %0" : "=m"(mx0));
    sweep_call(&c);
    asm volatile("stmxcsr %0" : "=m"(mx));
    ++calls;
    ASSERT_EQ((mx ^ mx0) & ~0x3fu, 0u) << "MXCSR control bits changed after " << where();
    ASSERT_EQ(check(e, ps, arena, c, pages, before.data()), "") << "after " << where();
    ASSERT_EQ(list ? check_list(arena, pages) : "", "") << "after " << where();
  }
}

INSTANTIATE_TEST_SUITE_P(Exports, Sweep, ::testing::ValuesIn(kExports),
                         [](const auto &info) { return std::string(info.param.name); });

}  // namespace

int main(int argc, char **argv) {
  ::testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--seed=", 7) == 0) g_seed = std::strtoull(argv[i] + 7, nullptr, 0);
    if (std::strncmp(argv[i], "--count=", 8) == 0) g_count = std::strtoull(argv[i] + 8, nullptr, 0);
  }
  std::printf("sweep: seed %llu\n", static_cast<unsigned long long>(g_seed));
  for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL}) signal(sig, on_signal);
  std::thread(watchdog).detach();
  return RUN_ALL_TESTS();
}
