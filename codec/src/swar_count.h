// Byte counting eight bytes at a time, for the length passes of the decoders.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace jconvert_detail {

// One high bit for each byte of w that equals b.
inline std::uint64_t bytes_equal_mask(std::uint64_t w, unsigned char b) {
  constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
  const std::uint64_t x = w ^ (0x0101010101010101ULL * b);
  // Exact per byte: no borrow crosses into the next byte.
  return ~(((x & kLow7) + kLow7) | x) & ~kLow7;
}

// How many of the n bytes at s are CR or LF, and how many are extra.
struct LineBreakCount {
  std::size_t breaks = 0;
  std::size_t extra = 0;
};

// Adds up the 0/1 bytes of a lane accumulator.
inline std::size_t lane_sum(std::uint64_t acc) {
  constexpr std::uint64_t kEven = 0x00FF00FF00FF00FFULL;
  const std::uint64_t pairs = (acc & kEven) + ((acc >> 8) & kEven);
  return static_cast<std::size_t>((pairs * 0x0001000100010001ULL) >> 48);
}

inline LineBreakCount count_breaks(const unsigned char* s, std::size_t n, unsigned char extra) {
  LineBreakCount c;
  std::size_t i = 0;
#if defined(__SSE2__)
  // Sixteen lanes counting down from 0 by compare results (-1 each), summed
  // before any lane can wrap.
  const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
  const __m128i ex = _mm_set1_epi8(static_cast<char>(extra)), zero = _mm_setzero_si128();
  while (n - i >= 16) {
    __m128i breaks = zero, extras = zero;
    for (int k = 0; k < 255 && n - i >= 16; ++k, i += 16) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
      breaks = _mm_sub_epi8(breaks, _mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)));
      extras = _mm_sub_epi8(extras, _mm_cmpeq_epi8(v, ex));
    }
    const __m128i b = _mm_sad_epu8(breaks, zero), e = _mm_sad_epu8(extras, zero);
    c.breaks += static_cast<std::size_t>(_mm_cvtsi128_si32(b) + _mm_extract_epi16(b, 4));
    c.extra += static_cast<std::size_t>(_mm_cvtsi128_si32(e) + _mm_extract_epi16(e, 4));
  }
#endif
  // One count per byte lane; a lane holds at most 255 before it is emptied.
  while (n - i >= 8) {
    std::uint64_t breaks = 0, extras = 0;
    for (int k = 0; k < 255 && n - i >= 8; ++k, i += 8) {
      std::uint64_t w;
      std::memcpy(&w, s + i, 8);
      breaks += (bytes_equal_mask(w, '\r') | bytes_equal_mask(w, '\n')) >> 7;
      extras += bytes_equal_mask(w, extra) >> 7;
    }
    c.breaks += lane_sum(breaks);
    c.extra += lane_sum(extras);
  }
  for (; i < n; ++i) {
    c.breaks += s[i] == '\r' || s[i] == '\n';
    c.extra += s[i] == extra;
  }
  return c;
}

}  // namespace jconvert_detail
