// EUC-JP <-> Shift_JIS. Half-width katakana keep their width: 0x8E k in EUC-JP
// is the single byte k in Shift_JIS.
#include "Jconvert.h"
#include "byte_writer.h"
#include "jis_arith.h"

using namespace jconvert_detail;

namespace {

#if defined(JCONVERT_SIMD)
// Lanes whose first byte starts an EUC-JP pair other than 0x8E:
// 0x81..0xFE, as euc2sjis pairs them.
__m128i euc_pair_lanes(__m128i v) {
  const __m128i lead = _mm_and_si128(v, _mm_set1_epi16(0x00FF));
  const __m128i pair =
      _mm_and_si128(_mm_cmpgt_epi16(lead, _mm_set1_epi16(0x80)), _mm_cmplt_epi16(lead, _mm_set1_epi16(0xFF)));
  const __m128i kana = _mm_cmpeq_epi16(lead, _mm_set1_epi16(0x8E));
  return _mm_andnot_si128(kana, pair);
}
#endif

}  // namespace

std::string euc2sjis(const std::string& text) {
  const unsigned char* p = bytes(text);
  const unsigned char* const end = p + text.size();
  ByteWriter out(text.size());  // nothing grows
  while (p < end) {
    const unsigned char* const stop = p + std::min<std::size_t>(static_cast<std::size_t>(end - p), kBlock);
    unsigned char* o = out.room(static_cast<std::size_t>(stop - p) + kSlack);
    while (p < stop) {
      const unsigned char c = *p;
      if (c < 0x80) {
        const std::size_t k = copy_ascii(p, end, o);
        p += k;
        o += k;
        continue;
      }
#if defined(JCONVERT_SIMD)
      if (end - p >= 16) {
        // All sixteen bytes are converted; the pairs that really are pairs are kept.
        const __m128i v = load16(p);
        const __m128i pairs = euc_pair_lanes(v);
        store16(o, jis_to_sjis_x8(_mm_and_si128(v, _mm_set1_epi8(0x7F))));
        if (const std::size_t k = kept_bytes(pairs)) {
          p += k;
          o += k;
          continue;
        }
      }
#endif
      if (c == 0x80 || c == 0xFF || p + 1 == end) {
        *o++ = c;  // includes a lead byte left alone at the end
        ++p;
      } else if (c == 0x8E) {
        *o++ = p[1];
        p += 2;
      } else {
        const BytePair q = jis_to_sjis_fast(c & 0x7F, p[1] & 0x7F);
        o[0] = q.first;
        o[1] = q.second;
        o += 2;
        p += 2;
      }
    }
    out.commit(o);
  }
  return std::move(out).finish();
}

std::string sjis2euc(const std::string& text) {
  const unsigned char* p = bytes(text);
  const unsigned char* const end = p + text.size();
  // A katakana byte doubles; nothing grows more. Text with few katakana
  // stays close to its own size, and the writer grows for the rest.
  ByteWriter out(text.size() + text.size() / 16 + kSlack);
  while (p < end) {
    const unsigned char* const stop = p + std::min<std::size_t>(static_cast<std::size_t>(end - p), kBlock);
    unsigned char* o = out.room(2 * static_cast<std::size_t>(stop - p) + kSlack);
    while (p < stop) {
      const unsigned char c = *p;
      if (c < 0x80) {
        const std::size_t k = copy_ascii(p, end, o);
        p += k;
        o += k;
        continue;
      }
#if defined(JCONVERT_SIMD)
      if (end - p >= 16) {
        const __m128i v = load16(p);
        const __m128i pairs = sjis_pair_lanes(v);
        store16(o, _mm_xor_si128(sjis_to_jis_x8(v), _mm_set1_epi8(static_cast<char>(0x80))));
        if (const std::size_t k = kept_bytes(pairs)) {
          p += k;
          o += k;
          continue;
        }
      }
#endif
      if (c >= 0xA1 && c <= 0xDF) {
        o[0] = 0x8E;
        o[1] = c;
        o += 2;
        ++p;
      } else if (p + 1 == end) {
        *o++ = c;  // lead byte left alone at the end
        ++p;
      } else {
        const BytePair q = sjis_to_jis_fast(c, p[1]);
        o[0] = static_cast<unsigned char>(q.first + 0x80);
        o[1] = static_cast<unsigned char>(q.second + 0x80);
        o += 2;
        p += 2;
      }
    }
    out.commit(o);
  }
  return std::move(out).finish();
}
