// EUC-JP and Shift_JIS to JIS: ESC $ B before two-byte characters, ESC ( J
// before single-byte ones and line ends, nothing added at the end.
#include "Jconvert.h"
#include "byte_writer.h"
#include "hankana.h"
#include "jis_arith.h"

namespace {

using namespace jconvert_detail;

// JIS X 0208 "geta" mark, written for an EUC 0x8E pair that names no katakana.
constexpr unsigned char kGetaRow = 0x22;
constexpr unsigned char kGetaCell = 0x2E;

// Worst output per input byte: a katakana byte becomes ESC $ B and a pair.
constexpr std::size_t kMaxGrowth = 5;

// Writes the output of the JIS encoders into the rooms of a ByteWriter,
// tracking the mode. The hot loops work on the public cursor o directly.
struct JisOut {
  unsigned char* o;
  bool two_byte = false;

  void enter_two_byte() {
    if (!two_byte) {
      o[0] = 0x1B;
      o[1] = '$';
      o[2] = 'B';
      o += 3;
      two_byte = true;
    }
  }
  void leave_two_byte() {
    if (two_byte) {
      o[0] = 0x1B;
      o[1] = '(';
      o[2] = 'J';
      o += 3;
      two_byte = false;
    }
  }
  void pair(unsigned char a, unsigned char b) {
    o[0] = a;
    o[1] = b;
    o += 2;
  }
  // Katakana k as full-width, combined with a following sound mark when the
  // two combine (mark < 0: nothing follows). Returns whether the mark was used.
  bool hankana(unsigned char k, int mark) {
    if (mark >= 0) {
      if (const unsigned voiced = hankana_with_mark(k, static_cast<unsigned char>(mark))) {
        pair(static_cast<unsigned char>(voiced >> 8), static_cast<unsigned char>(voiced & 0xFF));
        return true;
      }
    }
    pair(hankana_row(k), kHankanaCell[k - 0xA0]);
    return false;
  }
  // A run of bytes below 0x80 starting at p (which is one): leaves two-byte
  // mode and copies up to 16 of them. Returns how many were taken.
  std::size_t ascii(const unsigned char* p, const unsigned char* end) {
    leave_two_byte();
    const std::size_t k = copy_ascii(p, end, o);
    o += k;
    return k;
  }
};

// Walks the text in blocks, handing each block to step(p, stop, end, out),
// which converts from p up to stop (finishing a character begun before it)
// and returns the position reached.
template <typename Step>
std::string encode_jis(const std::string& text, Step step) {
  const unsigned char* p = bytes(text);
  const unsigned char* const end = p + text.size();
  ByteWriter writer(text.size() + text.size() / 4 + 64);
  JisOut out{nullptr};
  while (p < end) {
    const unsigned char* const stop = p + std::min<std::size_t>(static_cast<std::size_t>(end - p), kBlock);
    out.o = writer.room(kMaxGrowth * static_cast<std::size_t>(stop - p) + 2 * kSlack);
    p = step(p, stop, end, out);
    writer.commit(out.o);
  }
  return std::move(writer).finish();
}

const unsigned char* euc_block(const unsigned char* p, const unsigned char* stop, const unsigned char* end,
                               JisOut& out) {
  while (p < stop) {
    const unsigned char c = *p;
    if (c < 0x80) {
      p += out.ascii(p, end);
      continue;
    }
    // A lead byte with nothing after it has no 7-bit form: it is dropped.
    if (p + 1 == end) return end;
    out.enter_two_byte();
#if defined(JCONVERT_SIMD)
    if (end - p >= 16) {
      // Pairs with no katakana: each byte loses its top bit. All sixteen
      // bytes are written; the leading real pairs are kept.
      const __m128i v = load16(p);
      const __m128i lead = _mm_and_si128(v, _mm_set1_epi16(0x00FF));
      const __m128i pair =
          _mm_andnot_si128(_mm_cmpeq_epi16(lead, _mm_set1_epi16(0x8E)), _mm_cmpgt_epi16(lead, _mm_set1_epi16(0x7F)));
      store16(out.o, _mm_and_si128(v, _mm_set1_epi8(0x7F)));
      if (const std::size_t k = kept_bytes(pair)) {
        out.o += k;
        p += k;
        continue;
      }
    }
#endif
    const unsigned char d = p[1];
    if (c != 0x8E) {
      out.pair(c & 0x7F, d & 0x7F);
      p += 2;
      continue;
    }
    const unsigned char k = static_cast<unsigned char>((d & 0x7F) | 0x80);
    if (!is_hankana(k)) {
      out.pair(kGetaRow, kGetaCell);
      p += 2;
      continue;
    }
    const bool mark_follows = end - p > 3 && p[2] == 0x8E && (p[3] == kVoicedMark || p[3] == kSemiVoicedMark);
    p += out.hankana(k, mark_follows ? p[3] : -1) ? 4 : 2;
  }
  return p;
}

const unsigned char* sjis_block(const unsigned char* p, const unsigned char* stop, const unsigned char* end,
                                JisOut& out) {
  while (p < stop) {
    const unsigned char c = *p;
    if (c < 0x80) {
      p += out.ascii(p, end);
      continue;
    }
    if (is_hankana(c)) {
      out.enter_two_byte();
      p += out.hankana(c, p + 1 < end ? p[1] : -1) ? 2 : 1;
      continue;
    }
    if (p + 1 == end) return end;  // lone lead byte: no 7-bit form, dropped
    out.enter_two_byte();
#if defined(JCONVERT_SIMD)
    if (end - p >= 16) {
      const __m128i v = load16(p);
      const __m128i pairs = sjis_pair_lanes(v);
      store16(out.o, sjis_to_jis_x8(v));
      if (const std::size_t k = kept_bytes(pairs)) {
        out.o += k;
        p += k;
        continue;
      }
    }
#endif
    const BytePair q = sjis_to_jis_fast(c, p[1]);
    out.pair(q.first, q.second);
    p += 2;
  }
  return p;
}

}  // namespace

std::string euc2jis83(const std::string& text) { return encode_jis(text, euc_block); }

std::string sjis2jis83(const std::string& text) { return encode_jis(text, sjis_block); }
