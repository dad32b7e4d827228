// Base64 (RFC 2045 alphabet): lengths first, then one pass by position.
#include <algorithm>

#include "Jconvert.h"
#include "byte_writer.h"
#include "six_bit.h"
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

constexpr int kPad = -1;   // "=": ends the group it stands in
constexpr int kSkip = -2;  // line breaks and anything outside the alphabet

constexpr int value_of(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return c == '=' ? kPad : kSkip;
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
  const std::size_t len = base64_decoded_length(text);
  std::string result;
  size_result(result, len);
  unsigned char* const out = reinterpret_cast<unsigned char*>(result.data());
  const unsigned char* const s = bytes(text);
  const std::size_t n = text.size();
  std::size_t i = 0, o = 0;
  std::uint32_t acc = 0;
  int k = 0;  // characters of the group so far
  auto flush = [&](int count) {
    const std::size_t m = std::min<std::size_t>(static_cast<std::size_t>(count), len - o);
    put_bytes(acc << (6 * (4 - k)), out + o, m);
    o += m;
    acc = 0;
    k = 0;
  };
  while (i < n) {
    if (k == 0) {
      const std::size_t g = decode_groups(kQuads, s + i, std::min((n - i) / 4, (len - o) / 3), out + o);
      i += 4 * g;
      o += 3 * g;
      if (i == n) break;
    }
    const int v = value_of(s[i++]);
    if (v >= 0) {
      acc = (acc << 6) | static_cast<std::uint32_t>(v);
      if (++k == 4) flush(3);
    } else if (v == kPad) {
      flush(k > 1 ? k - 1 : 0);
    }
  }
  if (k > 1) flush(k - 1);
  return result;
}
