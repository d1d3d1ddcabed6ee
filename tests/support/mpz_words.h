// GMP integers built from and read back as 64-bit words, most significant
// first. mpz_import and mpz_export take the words whole, so the 32-bit
// unsigned long of i386 plays no part.
#pragma once

#include <gmp.h>

#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace support {

class Mpz {
 public:
  Mpz() { mpz_init(v_); }
  explicit Mpz(std::initializer_list<std::uint64_t> words) : Mpz() { set(words); }
  ~Mpz() { mpz_clear(v_); }
  Mpz(const Mpz &) = delete;
  Mpz &operator=(const Mpz &) = delete;

  // The value of the words, most significant first.
  void set(std::initializer_list<std::uint64_t> words) {
    mpz_import(v_, words.size(), 1, sizeof(std::uint64_t), 0, 0, words.begin());
  }
  mpz_ptr get() { return v_; }
  mpz_srcptr get() const { return v_; }

 private:
  mpz_t v_;
};

// Word i (0 the least significant) of a nonnegative z.
inline std::uint64_t word_of(mpz_srcptr z, std::size_t i) {
  std::uint64_t words[8] = {};
  std::size_t count = 0;
  if (mpz_sizeinbase(z, 2) > 64 * 8) return 0;  // beyond what the suites use
  mpz_export(words, &count, -1, sizeof(std::uint64_t), 0, 0, z);
  return i < count ? words[i] : 0;
}

// z equals the words, most significant first.
inline bool same(mpz_srcptr z, std::initializer_list<std::uint64_t> words) {
  const Mpz w(words);
  return mpz_cmp(z, w.get()) == 0;
}

}  // namespace support
