// EUC-JP and Shift_JIS to JIS: ESC $ B before two-byte characters, ESC ( J
// before single-byte ones and line ends, nothing added at the end.
#include "Jconvert.h"
#include "byte_writer.h"
#include "hankana.h"
#include "jis_arith.h"

namespace {

using namespace jconvert_detail;

constexpr unsigned char CR = 0x0D;
constexpr unsigned char LF = 0x0A;

// JIS X 0208 "geta" mark, written for an EUC 0x8E pair that names no katakana.
constexpr unsigned char kGetaRow = 0x22;
constexpr unsigned char kGetaCell = 0x2E;

class JisWriter {
 public:
  explicit JisWriter(std::size_t input_size) : out_(input_size + input_size / 4 + 16) {}

  void single(const unsigned char* p, std::size_t len) {
    out_.reserve(len + 3);
    if (two_byte_) {
      out_.append("\x1B(J", 3);
      two_byte_ = false;
    }
    out_.append(reinterpret_cast<const char*>(p), len);
  }
  void pair(unsigned char a, unsigned char b) {
    out_.reserve(5);
    if (!two_byte_) {
      out_.append("\x1B$B", 3);
      two_byte_ = true;
    }
    out_.put2(a, b);
  }
  std::string finish() && { return std::move(out_).finish(); }

 private:
  ByteWriter out_;
  bool two_byte_ = false;
};

// Writes katakana k as full-width, combined with a sound mark when the next
// character is one that combines with it. Returns whether the mark was used.
bool put_hankana(JisWriter& out, unsigned char k, int next_mark) {
  if (next_mark >= 0) {
    if (unsigned voiced = hankana_with_mark(k, static_cast<unsigned char>(next_mark))) {
      out.pair(static_cast<unsigned char>(voiced >> 8), static_cast<unsigned char>(voiced & 0xFF));
      return true;
    }
  }
  out.pair(hankana_row(k), kHankanaCell[k - 0xA0]);
  return false;
}

// Walks the text, copying bytes below 0x80 as single-byte characters and
// handing every other byte to on_high(s, n, i, out), which returns how many
// bytes it consumed. CR and LF leave two-byte mode like any single byte.
template <typename OnHigh>
std::string encode_jis(const std::string& text, OnHigh on_high) {
  const unsigned char* s = bytes(text);
  const std::size_t n = text.size();
  JisWriter out(n);
  std::size_t i = 0;
  while (i < n) {
    if (s[i] < 0x80) {
      const std::size_t run = ascii_run(s + i, s + n);
      out.single(s + i, run);
      i += run;
    } else {
      i += on_high(s, n, i, out);
    }
  }
  return std::move(out).finish();
}

}  // namespace

std::string euc2jis83(const std::string& text) {
  return encode_jis(text, [](const unsigned char* s, std::size_t n, std::size_t i,
                             JisWriter& out) -> std::size_t {
    // A lead byte with nothing after it has no 7-bit form: it is dropped.
    if (i + 1 >= n) return 1;
    const unsigned char c = s[i];
    const unsigned char d = s[i + 1];
    if (c != 0x8E) {
      out.pair(c & 0x7F, d & 0x7F);
      return 2;
    }
    const unsigned char k = static_cast<unsigned char>((d & 0x7F) | 0x80);
    if (!is_hankana(k)) {
      out.pair(kGetaRow, kGetaCell);
      return 2;
    }
    const bool mark_follows = i + 3 < n && s[i + 2] == 0x8E &&
                              (s[i + 3] == kVoicedMark || s[i + 3] == kSemiVoicedMark);
    return put_hankana(out, k, mark_follows ? s[i + 3] : -1) ? 4 : 2;
  });
}

std::string sjis2jis83(const std::string& text) {
  return encode_jis(text, [](const unsigned char* s, std::size_t n, std::size_t i,
                             JisWriter& out) -> std::size_t {
    const unsigned char c = s[i];
    if (is_hankana(c)) {
      const int next = i + 1 < n ? s[i + 1] : -1;
      return put_hankana(out, c, next) ? 2 : 1;
    }
    if (i + 1 >= n) return 1;  // lone lead byte: no 7-bit form, dropped
    const BytePair p = sjis_to_jis(c, s[i + 1]);
    out.pair(p.first, p.second);
    return 2;
  });
}
