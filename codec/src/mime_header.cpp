// MIME header encoded-words in ISO-2022-JP with the B encoding.
#include <cstring>

#include "Jconvert.h"
#include "byte_writer.h"
#include "mime_header.h"

namespace jconvert_detail {

bool is_cp932_lead_byte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

}  // namespace jconvert_detail

namespace {

using namespace jconvert_detail;

constexpr char kPrefix[] = "=?ISO-2022-JP?B?";
constexpr std::size_t kPrefixLen = sizeof kPrefix - 1;
constexpr char kEscRoman[] = "\x1B(J";

unsigned char ascii_upper(unsigned char c) { return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 0x20) : c; }

// Position of the first prefix at or after from, letters in any case; npos
// when there is none.
std::size_t find_prefix(const std::string& s, std::size_t from) {
  const std::size_t n = s.size();
  while (n - from >= kPrefixLen) {
    const void* eq = std::memchr(s.data() + from, '=', n - from - kPrefixLen + 1);
    if (!eq) return std::string::npos;
    const std::size_t p = static_cast<std::size_t>(static_cast<const char*>(eq) - s.data());
    std::size_t k = 1;
    while (k < kPrefixLen && ascii_upper(static_cast<unsigned char>(s[p + k])) == kPrefix[k]) ++k;
    if (k == kPrefixLen) return p;
    from = p + 1;
  }
  return std::string::npos;
}

}  // namespace

// Runs of double-byte characters become one encoded-word each, with nothing
// added around it. A lead byte with no byte after it is no character: it
// stays in the text as it is rather than being turned into one.
std::string CreateHeaderString(const std::string& sjisText) {
  const unsigned char* s = bytes(sjisText);
  const std::size_t n = sjisText.size();
  std::string result;
  std::size_t i = 0;
  while (i < n) {
    const std::size_t plain = i;
    while (i < n && !(is_cp932_lead_byte(s[i]) && i + 1 < n)) ++i;
    result.append(sjisText, plain, i - plain);
    if (i == n) break;
    const std::size_t run = i;
    while (i + 1 < n && is_cp932_lead_byte(s[i])) i += 2;
    result += kPrefix;
    result += EncodeBase64(sjis2jis83(sjisText.substr(run, i - run)));
    result += "?=";
  }
  return result;
}

// One pass from left to right: the decoded bytes of a word are never
// searched again, so a word can neither be decoded twice nor be pieced
// together from decoded bytes and the text around them.
std::string DecodeHeaderString(const std::string& headerValue) {
  std::size_t p = find_prefix(headerValue, 0);
  if (p == std::string::npos) return headerValue;
  std::string result;
  std::size_t from = 0;
  // Once no "?=" follows a prefix, none follows any later one: not looking
  // again keeps a value of many unclosed prefixes linear.
  bool closing_left = true;
  while (p != std::string::npos) {
    result.append(headerValue, from, p - from);
    const std::size_t start = p + kPrefixLen;
    const std::size_t end = closing_left ? headerValue.find("?=", start) : std::string::npos;
    closing_left = end != std::string::npos;
    if (end == std::string::npos) {
      // No closing "?=": the prefix goes, the rest stays as plain text.
      from = start;
    } else {
      result += DecodeBase64(headerValue.substr(start, end - start));
      result += kEscRoman;
      from = end + 2;
    }
    p = find_prefix(headerValue, from);
  }
  result.append(headerValue, from, std::string::npos);
  return result;
}
