// uuencoded body lines: "M" lines of 45 bytes, a short final line, then an
// empty line marked by a backquote. Lengths first, then one pass by position.
#include <algorithm>

#include "Jconvert.h"
#include "byte_writer.h"
#include "six_bit.h"
#include "six_bit_decoder.h"
#include "transfer_length.h"
#include "transfer_result.h"

namespace jconvert_detail {
namespace {

constexpr SixBitAlphabet kAlphabet = [] {
  SixBitAlphabet a{};
  a[0] = '`';
  for (std::size_t v = 1; v < 64; ++v) a[v] = static_cast<char>(0x20 + v);
  return a;
}();

constexpr PairTable kPairs = make_pair_table(kAlphabet);

constexpr std::size_t kLineBytes = 45;
constexpr std::size_t kLineChars = 61;  // "M" and 15 groups

constexpr bool is_break(unsigned char c) { return c == '\r' || c == '\n'; }

// Inside a group every character but a line break counts, by the classic
// rule: its code less 0x20, modulo 64, so both space and backquote are 0.
constexpr int group_value(unsigned char c) { return is_break(c) ? -1 : (c - 0x20) & 0x3F; }

// Only characters a UU encoder writes (0x20..0x60) take the fast loop.
constexpr QuadTables kQuads =
    make_quad_tables([](unsigned char c) { return c >= 0x20 && c <= 0x60 ? (c - 0x20) & 0x3F : -1; });

}  // namespace

int uu_length_value(unsigned char c) {
  if (c == '`' || c < 0x20) return 0;
  return c - 0x20;
}

std::size_t uu_encoded_length(std::size_t n, std::size_t line_break_len) {
  const std::size_t rest = n % kLineBytes;
  const std::size_t last = rest ? 1 + 4 * ((rest + 2) / 3) : 0;
  return n / kLineBytes * (kLineChars + line_break_len) + last + 2 * line_break_len + 1;
}

std::size_t uu_decoded_length(const std::string& text) {
  const unsigned char* s = bytes(text);
  const std::size_t n = text.size();
  std::size_t len = 0;
  for (std::size_t i = 0; i < n;) {
    if (is_break(s[i])) {
      ++i;
    } else if (s[i] == 'M') {
      len += kLineBytes;
      i += std::min(kLineChars, n - i);
    } else {
      return len + static_cast<std::size_t>(uu_length_value(s[i]));
    }
  }
  return len;
}

}  // namespace jconvert_detail

using namespace jconvert_detail;

std::string EncodeUU(const std::string& data, const std::string& lineBreak) {
  std::string result;
  size_result(result, uu_encoded_length(data.size(), lineBreak.size()));
  const unsigned char* in = bytes(data);
  const std::size_t n = data.size();
  const std::size_t lb = lineBreak.size();
  char* out = result.data();
  for (std::size_t lines = n / kLineBytes; lines > 0; --lines) {
    *out = 'M';
    encode_groups(kPairs, in, kLineBytes / 3, out + 1);
    std::memcpy(out + kLineChars, lineBreak.data(), lb);
    in += kLineBytes;
    out += kLineChars + lb;
  }
  if (const std::size_t rest = n % kLineBytes) {
    *out++ = kAlphabet[rest];
    encode_groups(kPairs, in, rest / 3, out);
    out += 4 * (rest / 3);
    if (rest % 3) {
      put_group(kPairs, short_group_bits(in + rest / 3 * 3, rest % 3), out);
      out += 4;
    }
  }
  std::memcpy(out, lineBreak.data(), lb);
  out[lb] = '`';
  std::memcpy(out + lb + 1, lineBreak.data(), lb);
  return result;
}

// Each line gives the bytes its length character calls for. A line cut
// short by a line break or the end of the text is read as if its missing
// characters were spaces (mail relays strip trailing spaces), and what
// stands after a line's last group is ignored up to the next line break.
// A line whose byte count is a multiple of three has no such tail: the
// next character opens the next line, as in text written without line
// breaks. Nothing is written past the counted length.
std::string DecodeUU(const std::string& text) {
  std::string result;
  size_result(result, uu_decoded_length(text));
  SixBitDecoder decoder(result);
  const unsigned char* const s = bytes(text);
  const std::size_t n = text.size();
  std::size_t i = 0;
  long due = 0;  // bytes the current line still owes; below 0 in its tail
  while (i < n && decoder.room() > 0) {
    const unsigned char c = s[i];
    if (is_break(c)) {
      // Groups missing from a cut-short line are spaces: zero bytes.
      if (due > 0) decoder.zeros(static_cast<std::size_t>(due));
      due = 0;
      ++i;
    } else if (due == 0) {
      due = uu_length_value(c);
      ++i;
    } else if (due < 0) {
      ++i;
    } else {
      const std::size_t used =
          decoder.whole_groups(kQuads, s + i, std::min(static_cast<std::size_t>(due) / 3, (n - i) / 4));
      i += used;
      due -= static_cast<long>(3 * used / 4);
      if (used > 0) continue;
      for (int p = 0; p < 4; ++p) {
        int v = 0;
        if (i < n && !is_break(s[i])) v = group_value(s[i++]);
        decoder.add(static_cast<std::uint32_t>(v));
      }
      decoder.put(static_cast<std::size_t>(std::min(due, 3L)));
      due -= 3;
    }
  }
  return result;
}
