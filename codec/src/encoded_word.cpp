#include "encoded_word.h"

#include "Jconvert.h"

namespace jconvert_detail {
namespace {

// Neither a charset nor an encoded text holds these.
bool ends_token(unsigned char c) { return c <= 0x20 || c == 0x7F || c == '?'; }

bool is_base64_char(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '/';
}

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Base64 characters, then at most two "=" that end it; a count that leaves
// a single character over is no Base64.
bool is_valid_b(std::string_view text) {
  std::size_t chars = 0;
  while (chars < text.size() && is_base64_char(static_cast<unsigned char>(text[chars]))) ++chars;
  const std::size_t padding = text.size() - chars;
  if (padding > 2 || chars % 4 == 1) return false;
  for (std::size_t i = chars; i < text.size(); ++i) {
    if (text[i] != '=') return false;
  }
  return padding == 0 || (chars + padding) % 4 == 0;
}

bool append_q(std::string_view text, std::string& out) {
  const std::size_t start = out.size();
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '_') {
      out += ' ';
    } else if (c != '=') {
      out += c;
    } else {
      const int hi = i + 1 < text.size() ? hex_value(text[i + 1]) : -1;
      const int lo = i + 2 < text.size() ? hex_value(text[i + 2]) : -1;
      if (hi < 0 || lo < 0) {
        out.resize(start);
        return false;
      }
      out += static_cast<char>(hi * 16 + lo);
      i += 2;
    }
  }
  return true;
}

}  // namespace

bool ParseEncodedWord(std::string_view value, std::size_t at, EncodedWord& word) {
  const std::size_t n = value.size();
  std::size_t i = at + 2;
  const std::size_t charset_start = i;
  while (i < n && !ends_token(static_cast<unsigned char>(value[i]))) ++i;
  if (i == n || value[i] != '?' || i == charset_start) return false;
  std::string_view charset = value.substr(charset_start, i - charset_start);
  charset = charset.substr(0, charset.find('*'));  // RFC 2231: charset*language
  if (charset.empty()) return false;
  if (i + 2 >= n || value[i + 2] != '?') return false;
  const char encoding = value[i + 1];
  if (encoding != 'B' && encoding != 'b' && encoding != 'Q' && encoding != 'q') return false;
  const std::size_t text_start = i + 3;
  i = text_start;
  while (i < n && !ends_token(static_cast<unsigned char>(value[i]))) ++i;
  if (i + 1 >= n || value[i] != '?' || value[i + 1] != '=') return false;
  word.charset = charset;
  word.encoding = encoding == 'b' || encoding == 'B' ? 'B' : 'Q';
  word.text = value.substr(text_start, i - text_start);
  word.end = i + 2;
  return true;
}

bool AppendWordBytes(const EncodedWord& word, std::string& out) {
  if (word.encoding == 'Q') return append_q(word.text, out);
  if (!is_valid_b(word.text)) return false;
  // The text is well-formed, so the codec's lenient decoder gives exactly its bytes.
  out += DecodeBase64(std::string(word.text));
  return true;
}

}  // namespace jconvert_detail
