// Output cursor for the one-pass conversions, and the byte helpers they share.
//
// A converter asks for room for a bounded stretch of output, writes it by
// raw pointer and commits the end. The result grows a stretch at a time, so a
// worst case far above the usual size (a katakana byte doubles, a JIS encoder
// adds escapes) never costs a zero-filled buffer of that size.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "huge_pages.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace jconvert_detail {

class ByteWriter {
 public:
  explicit ByteWriter(std::size_t expected) {
    out_.reserve(expected);
    advise_huge_pages(out_);
  }

  // Room for n bytes at the write position.
  unsigned char* room(std::size_t n) {
    if (out_.size() - pos_ < n) grow(n);
    return base() + pos_;
  }
  // Ends the output at p, a pointer into the last room handed out.
  void commit(const unsigned char* p) { pos_ = static_cast<std::size_t>(p - base()); }

  std::string finish() && {
    out_.resize(pos_);
    return std::move(out_);
  }

 private:
  unsigned char* base() { return reinterpret_cast<unsigned char*>(out_.data()); }

  void grow(std::size_t n) {
    const std::size_t want = pos_ + n;
    if (want > out_.capacity()) {
      out_.reserve(std::max(want, 2 * out_.capacity()));
      advise_huge_pages(out_);
    }
    out_.resize(want);  // zero-fills only the new stretch
  }

  std::string out_;
  std::size_t pos_ = 0;
};

// Input bytes a converter takes per room request: small enough that the
// stretch it zero-fills is still in cache when it is overwritten.
constexpr std::size_t kBlock = 16 * 1024;

// Slack beyond a stretch's worst case: the ASCII copy below stores 16 bytes.
constexpr std::size_t kSlack = 32;

// Copies the 16 bytes at p to o and returns how many of them, from the first,
// are below 0x80 (16 when all are). The caller keeps that many; o must have
// room for 16 bytes and p must have 16 readable bytes.
inline std::size_t copy_ascii16(const unsigned char* p, unsigned char* o) {
#if defined(__SSE2__)
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(o), v);
  const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(v));
  if (high == 0) return 16;
  return static_cast<std::size_t>(__builtin_ctz(high));
#else
  std::uint64_t w[2];
  std::memcpy(w, p, 16);
  std::memcpy(o, w, 16);
  for (int k = 0; k < 2; ++k) {
    const std::uint64_t high = w[k] & 0x8080808080808080ULL;
    if (high) return static_cast<std::size_t>(8 * k + __builtin_ctzll(high) / 8);
  }
  return 16;
#endif
}

// Copies the ASCII run at p: up to 16 bytes at once where 16 are readable,
// else the one byte. Returns how many were copied; o needs room for 16.
inline std::size_t copy_ascii(const unsigned char* p, const unsigned char* end, unsigned char* o) {
  if (end - p >= 16) return copy_ascii16(p, o);
  *o = *p;
  return 1;
}

// Length of the run of bytes below 0x80 starting at p, looking no further
// than end. Eight bytes at a time: ASCII stretches dominate real text.
inline std::size_t ascii_run(const unsigned char* p, const unsigned char* end) {
  const unsigned char* q = p;
  while (end - q >= 8) {
    std::uint64_t w;
    std::memcpy(&w, q, 8);
    if (w & 0x8080808080808080ULL) break;
    q += 8;
  }
  while (q < end && *q < 0x80) ++q;
  return static_cast<std::size_t>(q - p);
}

inline const unsigned char* bytes(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

}  // namespace jconvert_detail
