// JIS (ISO-2022-JP style, 7-bit) to EUC-JP and Shift_JIS.
#include "Jconvert.h"
#include "byte_writer.h"
#include "jis_arith.h"

namespace {

using namespace jconvert_detail;

constexpr unsigned char ESC = 0x1B;

// Converts one stretch of two-byte mode starting at p, up to the next ESC
// that stands where a character would start, or to stop; a pair begun before
// stop is finished even past it. The character at p is converted even when it
// is ESC (the byte right after an escape sequence). Returns the position reached.
using TwoByteStretch = const unsigned char* (*)(const unsigned char* p, const unsigned char* stop,
                                                const unsigned char* end, unsigned char*& o);

const unsigned char* euc_stretch(const unsigned char* p, const unsigned char* stop, const unsigned char* end,
                                 unsigned char*& o) {
  const unsigned char* const first = p;
#if defined(JCONVERT_SIMD)
  // Byte by byte: 0x21..0x7E gain 0x80, everything else passes.
  while (end - p >= 16 && p < stop) {
    const __m128i v = load16(p);
    // 0x21..0x7E: signed bytes above 0x20 (0x80 and up are negative) but 0x7F.
    const __m128i graphic =
        _mm_andnot_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(0x7F)), _mm_cmpgt_epi8(v, _mm_set1_epi8(0x20)));
    store16(o, _mm_or_si128(v, _mm_and_si128(graphic, _mm_set1_epi8(static_cast<char>(0x80)))));
    // Bytes before the first ESC are kept (the one at p may be taken as a character).
    unsigned esc = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8(ESC))));
    if (p == first) esc &= ~1u;
    const unsigned k = esc ? static_cast<unsigned>(__builtin_ctz(esc)) : 16;
    p += k;
    o += k;
    if (k < 16) break;
  }
#else
  (void)end;
#endif
  while (p < stop && (*p != ESC || p == first)) {
    const unsigned char c = *p++;
    *o++ = c >= 0x21 && c <= 0x7E ? static_cast<unsigned char>(c + 0x80) : c;
  }
  return p;
}

const unsigned char* sjis_stretch(const unsigned char* p, const unsigned char* stop, const unsigned char* end,
                                  unsigned char*& o) {
  const unsigned char* const first = p;
#if defined(JCONVERT_SIMD)
  // Pairs whatever their values; only an ESC where a row byte would be ends the stretch.
  while (end - p >= 16 && p < stop) {
    const __m128i v = load16(p);
    store16(o, jis_to_sjis_x8(v));
    // Pairs before the first ESC in a row position are kept.
    const __m128i esc = _mm_cmpeq_epi16(_mm_and_si128(v, _mm_set1_epi16(0x00FF)), _mm_set1_epi16(ESC));
    const std::size_t k = kept_bytes(_mm_xor_si128(esc, _mm_set1_epi8(-1)));
    p += k;
    o += k;
    if (k < 16) break;
  }
#endif
  while (p < stop && (*p != ESC || p == first)) {
    if (p + 1 == end) {
      *o++ = *p++;  // a row byte with no cell after it: kept as it is
      break;
    }
    const BytePair q = jis_to_sjis_fast(p[0], p[1]);
    o[0] = q.first;
    o[1] = q.second;
    o += 2;
    p += 2;
  }
  return p;
}

// Walks text, handling escape sequences. An escape sequence is always three
// bytes; the byte right after one is taken as a character even if it is ESC
// itself. Neither target is ever longer than the input.
std::string decode_jis(const std::string& text, TwoByteStretch two_byte_stretch) {
  const unsigned char* p = bytes(text);
  const unsigned char* const end = p + text.size();
  ByteWriter out(text.size());
  bool two_byte = false;
  bool after_escape = false;  // the current byte follows an escape sequence
  while (p < end) {
    const unsigned char* const stop = p + std::min<std::size_t>(static_cast<std::size_t>(end - p), kBlock);
    unsigned char* o = out.room(static_cast<std::size_t>(stop - p) + kSlack);
    while (p < stop) {
      if (*p == ESC && !after_escape) {
        if (end - p >= 2) {
          if (p[1] == 0x24) two_byte = true;
          else if (p[1] == 0x28) two_byte = false;
        }
        if (end - p <= 3) {
          p = end;  // the text ends inside the escape or right after it
          break;
        }
        p += 3;
        after_escape = true;
        continue;
      }
      if (!two_byte) {
        if (after_escape) {
          *o++ = *p++;
        } else {
          // The single-byte stretch up to the next escape, copied as it is.
          const void* esc = std::memchr(p, ESC, static_cast<std::size_t>(stop - p));
          const unsigned char* const to = esc ? static_cast<const unsigned char*>(esc) : stop;
          std::memcpy(o, p, static_cast<std::size_t>(to - p));
          o += to - p;
          p = to;
        }
      } else {
        p = two_byte_stretch(p, stop, end, o);
      }
      after_escape = false;
    }
    out.commit(o);
  }
  return std::move(out).finish();
}

}  // namespace

std::string jis2euc(const std::string& text) { return decode_jis(text, euc_stretch); }

std::string jis2sjis(const std::string& text) { return decode_jis(text, sjis_stretch); }
