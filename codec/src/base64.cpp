// Base64 (RFC 2045 alphabet): lengths first, then one pass by position.

#include "Jconvert.h"
#include "byte_writer.h"
#include "six_bit.h"
#include "six_bit_decoder.h"
#include "swar_count.h"
#include "transfer_length.h"
#include "transfer_result.h"

namespace jconvert_detail {
namespace {

constexpr SixBitAlphabet kAlphabet = [] {
  SixBitAlphabet a{};
  const char* s = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  for (std::size_t i = 0; i < 64; ++i) a[i] = s[i];
  return a;
}();

constexpr PairTable kPairs = make_pair_table(kAlphabet);

// "=" ends the group it stands in; line breaks and anything else outside
// the alphabet are skipped.
constexpr int value_of(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return c == '=' ? kEndGroup : kSkipChar;
}

constexpr QuadTables kQuads = make_quad_tables(value_of);

constexpr std::size_t kGroupsPerLine = 19;  // 76 characters

std::size_t encode(const unsigned char* in, std::size_t n, const std::string& line_break, char* out) {
  char* const start = out;
  std::size_t groups = n / 3;
  if (!line_break.empty()) {
    for (; groups >= kGroupsPerLine; groups -= kGroupsPerLine) {
      encode_groups(kPairs, in, kGroupsPerLine, out);
      in += 3 * kGroupsPerLine;
      out += 4 * kGroupsPerLine;
      std::memcpy(out, line_break.data(), line_break.size());
      out += line_break.size();
    }
  }
  encode_groups(kPairs, in, groups, out);
  in += 3 * groups;
  out += 4 * groups;
  // The padded final group never takes a line break after it.
  if (const std::size_t rest = n % 3) {
    put_group(kPairs, short_group_bits(in, rest), out);
    out[3] = '=';
    if (rest == 1) out[2] = '=';
    out += 4;
  }
  return static_cast<std::size_t>(out - start);
}

}  // namespace

std::size_t base64_encoded_length(std::size_t n, std::size_t line_break_len) {
  const std::size_t chars = 4 * (n / 3) + (n % 3 ? 4 : 0);
  return chars + line_break_len * (4 * (n / 3) / 76);
}

std::size_t base64_decoded_length(const std::string& text) {
  const LineBreakCount c = count_breaks(bytes(text), text.size(), '=');
  const std::size_t n = text.size() - c.breaks - c.extra;
  return 3 * (n / 4) + (n % 4 ? n % 4 - 1 : 0);
}

}  // namespace jconvert_detail

using namespace jconvert_detail;

std::string EncodeBase64(const std::string& data) { return EncodeBase64R(data, std::string()); }

std::string EncodeBase64R(const std::string& data, const std::string& lineBreak) {
  std::string out;
  size_result(out, base64_encoded_length(data.size(), lineBreak.size()));
  encode(bytes(data), data.size(), lineBreak, out.data());
  return out;
}

// Line breaks may stand anywhere, and characters outside the alphabet are
// ignored (RFC 2045). "=" ends the group it stands in and decoding goes on
// after it; a group of k < 4 characters ended by "=" or by the end of the
// text gives k - 1 bytes. Such groups make the result shorter than the
// fixed length, whose tail then stays zero; it can never run over, because
// every group gives one byte fewer than its characters.
std::string DecodeBase64(const std::string& text) {
  std::string result;
  size_result(result, base64_decoded_length(text));
  SixBitDecoder decoder(result);
  decode_six_bit_text<value_of>(decoder, kQuads, bytes(text), text.size());
  return result;
}
