// Result lengths and encoder outputs of the transfer encodings, computed
// from their rules apart from the codec's sources; the fuzz targets compare
// the codec against them. Encoders are named after the codec functions they
// model, lengths after the codec's own length functions.
#pragma once

#include <cstddef>
#include <string>

namespace reference {

namespace detail {

inline bool is_break(char c) { return c == '\r' || c == '\n'; }

// Three bytes to four six-bit values, most significant bit first; missing
// bytes count as zero.
inline void six_bit(const std::string& d, std::size_t i, int v[4]) {
  auto at = [&](std::size_t j) { return j < d.size() ? static_cast<unsigned char>(d[j]) : 0; };
  const int a = at(i), b = at(i + 1), c = at(i + 2);
  v[0] = a >> 2;
  v[1] = ((a & 3) << 4) | (b >> 4);
  v[2] = ((b & 0x0F) << 2) | (c >> 6);
  v[3] = c & 0x3F;
}

}  // namespace detail

// --- Base64 -----------------------------------------------------------------

inline std::size_t base64_decoded_length(const std::string& text) {
  std::size_t n = 0;
  for (char c : text) n += !(detail::is_break(c) || c == '=');
  return 3 * (n / 4) + (n % 4 ? n % 4 - 1 : 0);
}

inline std::string EncodeBase64R(const std::string& data, const std::string& line_break) {
  static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  int v[4];
  std::size_t on_line = 0;
  std::size_t i = 0;
  for (; i + 3 <= data.size(); i += 3) {
    detail::six_bit(data, i, v);
    for (int k = 0; k < 4; ++k) out += alphabet[v[k]];
    on_line += 4;
    if (on_line == 76) {
      out += line_break;
      on_line = 0;
    }
  }
  const std::size_t rest = data.size() - i;
  if (rest) {
    detail::six_bit(data, i, v);
    out += alphabet[v[0]];
    out += alphabet[v[1]];
    out += rest == 2 ? alphabet[v[2]] : '=';
    out += '=';
  }
  return out;
}

// --- UU ---------------------------------------------------------------------

// A length value is the code less 0x20, the backquote 0. A control character
// would give a negative count; a line cannot owe fewer than no bytes.
inline long uu_length_value(unsigned char c) {
  if (c == '`') return 0;
  const long v = static_cast<long>(c) - 0x20;
  return v < 0 ? 0 : v;
}

inline std::size_t uu_decoded_length(const std::string& text) {
  std::size_t len = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    if (detail::is_break(text[i])) {
      ++i;
    } else if (text[i] == 'M') {
      len += 45;
      i += 61;
    } else {
      return len + static_cast<std::size_t>(uu_length_value(static_cast<unsigned char>(text[i])));
    }
  }
  return len;
}

inline std::string EncodeUU(const std::string& data, const std::string& line_break) {
  auto ch = [](int v) { return v == 0 ? '`' : static_cast<char>(0x20 + v); };
  std::string out;
  int v[4];
  const std::size_t n = data.size();
  std::size_t i = 0;
  for (; i + 45 <= n; i += 45) {
    out += 'M';
    for (std::size_t g = 0; g < 45; g += 3) {
      detail::six_bit(data, i + g, v);
      for (int k = 0; k < 4; ++k) out += ch(v[k]);
    }
    out += line_break;
  }
  if (const std::size_t rest = n - i) {
    out += static_cast<char>(0x20 + rest);
    for (std::size_t g = 0; g < rest; g += 3) {
      detail::six_bit(data, i + g, v);
      for (int k = 0; k < 4; ++k) out += ch(v[k]);
    }
  }
  out += line_break;
  out += '`';
  out += line_break;
  return out;
}

// --- BinHex -----------------------------------------------------------------

inline std::string binhex_alphabet() {
  const std::string left_out = "./7:;<=>?OW\\]^_gno";
  std::string a;
  for (char c = '!'; c <= 'r'; ++c) {
    if (left_out.find(c) == std::string::npos) a += c;
  }
  return a;  // 64 characters
}

inline std::size_t binhex_decoded_length(const std::string& text) {
  long n = static_cast<long>(text.size()) - 2;
  for (char c : text) n -= detail::is_break(c);
  if (n <= 0) return 0;
  return static_cast<std::size_t>(3 * (n / 4) + (n % 4 ? n % 4 - 1 : 0));
}

inline std::string EncodeBinHex(const std::string& data, const std::string& line_break) {
  static const std::string alphabet = binhex_alphabet();
  std::string out = ":";
  std::size_t on_line = 1;
  int v[4];
  std::size_t i = 0;
  for (; i + 3 <= data.size(); i += 3) {
    detail::six_bit(data, i, v);
    for (int k = 0; k < 3; ++k) out += alphabet[static_cast<std::size_t>(v[k])];
    on_line += 3;
    if (on_line == 64) {
      out += line_break;
      on_line = 0;
    }
    out += alphabet[static_cast<std::size_t>(v[3])];
    on_line += 1;
  }
  const std::size_t rest = data.size() - i;
  if (rest) {
    detail::six_bit(data, i, v);
    out += alphabet[static_cast<std::size_t>(v[0])];
    out += alphabet[static_cast<std::size_t>(v[1])];
    if (rest == 2) {
      out += alphabet[static_cast<std::size_t>(v[2])];
      on_line += 3;
      if (on_line == 64) out += line_break;
    }
  }
  out += ':';
  return out;
}

}  // namespace reference
