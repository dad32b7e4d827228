// The six-bit text layer of BinHex 4.0: ":" + text in lines of 64 + ":".
// No run-length coding, header, forks or CRC; callers add those.
#include <algorithm>

#include "Jconvert.h"
#include "byte_writer.h"
#include "six_bit.h"
#include "six_bit_decoder.h"
#include "swar_count.h"
#include "transfer_length.h"
#include "transfer_result.h"

namespace jconvert_detail {
namespace {

constexpr bool left_out(unsigned char c) {
  for (const char* p = "./7:;<=>?OW\\]^_gno"; *p; ++p) {
    if (c == static_cast<unsigned char>(*p)) return true;
  }
  return false;
}

constexpr SixBitAlphabet kAlphabet = [] {
  SixBitAlphabet a{};
  std::size_t v = 0;
  for (unsigned char c = '!'; c <= 'r'; ++c) {
    if (!left_out(c)) a[v++] = static_cast<char>(c);
  }
  return a;
}();

constexpr PairTable kPairs = make_pair_table(kAlphabet);

// The closing ":" and the other characters left out of the alphabet end the
// text; line breaks, and anything outside "!".."r", are skipped.
constexpr std::array<int, 256> kValues = [] {
  std::array<int, 256> t{};
  for (int c = 0; c < 256; ++c) t[c] = c >= '!' && c <= 'r' ? kEndText : kSkipChar;
  for (int v = 0; v < 64; ++v) t[static_cast<unsigned char>(kAlphabet[v])] = v;
  return t;
}();

constexpr int value_of(unsigned char c) { return kValues[c]; }

constexpr QuadTables kQuads = make_quad_tables(value_of);

constexpr std::size_t kLineChars = 64;

}  // namespace

std::size_t binhex_encoded_length(std::size_t n, std::size_t line_break_len) {
  const std::size_t chars = 4 * (n / 3) + (n % 3 ? n % 3 + 1 : 0);
  // A break can only follow the third character of a group (counting the
  // opening ":", that is where every 64th character falls): after group g
  // when g % 16 == 15. A final group of two bytes has a third character.
  const std::size_t groups_with_third = n / 3 + (n % 3 == 2);
  return 2 + chars + line_break_len * (groups_with_third / 16);
}

std::size_t binhex_decoded_length(const std::string& text) {
  const std::size_t breaks = count_breaks(bytes(text), text.size(), ':').breaks;
  const std::size_t rest = text.size() - breaks;
  if (rest <= 2) return 0;
  const std::size_t n = rest - 2;
  return 3 * (n / 4) + (n % 4 ? n % 4 - 1 : 0);
}

}  // namespace jconvert_detail

using namespace jconvert_detail;

std::string EncodeBinHex(const std::string& data, const std::string& lineBreak) {
  std::string result;
  size_result(result, binhex_encoded_length(data.size(), lineBreak.size()));
  const unsigned char* in = bytes(data);
  const std::size_t n = data.size();
  char* out = result.data();
  *out++ = ':';
  std::size_t column = 1;
  auto group = [&](std::uint32_t bits, std::size_t chars) {
    char g[4];
    put_group(kPairs, bits, g);
    std::memcpy(out, g, std::min<std::size_t>(chars, 3));
    out += std::min<std::size_t>(chars, 3);
    if (chars < 3) return;
    column += 3;
    if (column == kLineChars) {
      std::memcpy(out, lineBreak.data(), lineBreak.size());
      out += lineBreak.size();
      column = 0;
    }
    if (chars == 4) {
      *out++ = g[3];
      ++column;
    }
  };
  for (std::size_t i = 0; i + 3 <= n; i += 3) {
    group((std::uint32_t{in[i]} << 16) | (std::uint32_t{in[i + 1]} << 8) | in[i + 2], 4);
  }
  if (const std::size_t rest = n % 3) group(short_group_bits(in + n - rest, rest), rest + 1);
  *out = ':';
  return result;
}

// The opening ":" is skipped when it is there. Line breaks may stand
// anywhere and characters outside "!".."r" are ignored; the closing ":"
// (or any other character left out of the alphabet) ends the text where it
// stands. A group of k < 4 characters so ended, or cut short by the end of
// the text, gives k - 1 bytes. Nothing is written past the counted length.
std::string DecodeBinHex(const std::string& text) {
  std::string result;
  size_result(result, binhex_decoded_length(text));
  SixBitDecoder decoder(result);
  const unsigned char* s = bytes(text);
  const unsigned char* const end = s + text.size();
  while (s < end && (*s == '\r' || *s == '\n')) ++s;
  if (s < end && *s == ':') ++s;
  decode_six_bit_text<value_of>(decoder, kQuads, s, static_cast<std::size_t>(end - s));
  return result;
}
