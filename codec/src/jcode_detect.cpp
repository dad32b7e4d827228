#include <algorithm>
#include <cstdint>
#include <cstring>

#include "Jconvert.h"
#include "byte_writer.h"

namespace {

bool in(unsigned char c, unsigned char lo, unsigned char hi) { return c >= lo && c <= hi; }

bool is_binary_byte(unsigned char c) { return c < 0x08 || c == 0xFF; }

// Whether all eight bytes at p are 0x08..0x7F other than ESC.
bool plain8(const unsigned char* p) {
  constexpr std::uint64_t ones = 0x0101010101010101ULL;
  constexpr std::uint64_t highs = 0x8080808080808080ULL;
  std::uint64_t w;
  std::memcpy(&w, p, 8);
  if (w & highs) return false;
  const std::uint64_t below_8 = (w - 8 * ones) & ~w & highs;
  const std::uint64_t esc = w ^ (0x1B * ones);
  const std::uint64_t has_esc = (esc - ones) & ~esc & highs;
  return (below_8 | has_esc) == 0;
}

bool undecided(int code) { return code == JCODE_ASCII || code == JCODE_EUC_OR_SJIS; }

// Evidence carried by a byte of a run that follows 0xA1..0xDF 0xE0..0xEF.
int classify_run_byte(unsigned char c, int code) {
  if (in(c, 0x81, 0x8D) || in(c, 0x8F, 0x9C)) return JCODE_SJIS;
  if (c == 0xFD || c == 0xFE) return JCODE_EUC;
  return code;
}

}  // namespace

int InCodeCheck(const std::string& text) {
  const unsigned char* s = jconvert_detail::bytes(text);
  const std::size_t n = text.size();
  if (n == 0) return JCODE_ASCII;

  // The last byte is never part of the pre-scan.
  const std::int64_t limit = std::min<std::int64_t>(STRICT_CHECK_LEN, static_cast<std::int64_t>(n) - 1);
  for (std::int64_t i = 0; i < limit; ++i) {
    if (is_binary_byte(s[i])) return JCODE_BINARY;
  }

  int code = JCODE_ASCII;
  std::size_t i = 0;
  // Every step below looks at s[i + 1], which exists while i + 1 < n.
  while (undecided(code) && i + 1 < n) {
    // Plain ASCII decides nothing: skip it in bulk, eight bytes at a time
    // while the last of them is still followed by another byte.
    if (s[i] < 0x80 && s[i] != 0x1B && !is_binary_byte(s[i])) {
      ++i;
      while (i + 8 < n && plain8(s + i)) i += 8;
      continue;
    }
    const unsigned char c = s[i];
    const unsigned char d = s[i + 1];
    if (c == 0x1B) {
      if (d == 0x24) {
        if (i + 2 < n && s[i + 2] == 0x42) code = JCODE_JIS83;
        else if (i + 2 < n && s[i + 2] == 0x40) code = JCODE_JIS78;
        i += 3;
      } else {
        i += 2;
      }
    } else if (is_binary_byte(c)) {
      code = JCODE_BINARY;
    } else if (c == 0x80 || c == 0xA0) {
      i += 1;
    } else if (in(c, 0x81, 0x8D) || in(c, 0x8F, 0x9F)) {
      code = JCODE_SJIS;
    } else if (c == 0x8E) {
      if (in(d, 0x40, 0x7E) || in(d, 0x80, 0xA0) || in(d, 0xE0, 0xFC)) code = JCODE_SJIS;
      else if (in(d, 0xA1, 0xDF)) code = JCODE_EUC_OR_SJIS;
      i += 2;
    } else if (in(c, 0xA1, 0xDF)) {
      if (in(d, 0xF0, 0xFE)) {
        code = JCODE_EUC;
        i += 2;
      } else if (in(d, 0xA1, 0xDF)) {
        code = JCODE_EUC_OR_SJIS;
        i += 2;
      } else if (in(d, 0xE0, 0xEF)) {
        code = JCODE_EUC_OR_SJIS;
        std::size_t j = i + 1;
        while (j < n && s[j] >= 0x40 && code == JCODE_EUC_OR_SJIS) {
          code = classify_run_byte(s[j], code);
          ++j;
        }
        // The byte that ended the run is passed over unexamined.
        i = j + 1;
      } else if (d <= 0x9F) {
        code = JCODE_SJIS;
      } else {  // 0xA0 or 0xFF
        i += 2;
      }
    } else if (in(c, 0xE0, 0xEF)) {
      if (in(d, 0x40, 0x7E) || in(d, 0x80, 0xA0)) code = JCODE_SJIS;
      else if (d == 0xFD || d == 0xFE) code = JCODE_EUC;
      else if (in(d, 0xA1, 0xFC)) code = JCODE_EUC_OR_SJIS;
      i += 2;
    } else {  // 0xF0..0xFE
      code = JCODE_EUC;
    }
  }
  return code;
}
