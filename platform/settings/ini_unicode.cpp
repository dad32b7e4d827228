#include "ini_unicode.h"

#include <cstdint>

#include "iconv_converter.h"

namespace tolvane::ini {
namespace {

void PutUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

void PutUtf16(std::string& out, std::uint32_t unit) {
  out += static_cast<char>(unit & 0xFF);
  out += static_cast<char>(unit >> 8);
}

// '?' for one Shift_JIS byte that has no conversion; the next byte starts afresh.
std::size_t QuestionMarkForByte(std::string& out, std::string_view) {
  out += '?';
  return 1;
}

// '?' for a whole UTF-8 sequence that code page 932 lacks.
std::size_t QuestionMarkForUtf8Sequence(std::string& out, std::string_view rest) {
  out += '?';
  std::size_t skip = 1;
  if (static_cast<unsigned char>(rest.front()) >= 0xC0)
    while (skip < rest.size() && (static_cast<unsigned char>(rest[skip]) & 0xC0) == 0x80) ++skip;
  return skip;
}

// '?' for every byte where iconv lacks the conversion altogether.
std::string Convert(std::string_view in, const char* from, const char* to,
                    const tolvane::text::IconvConverter::OnBad& on_bad) {
  tolvane::text::IconvConverter converter(to, from);
  if (!converter.ok()) return std::string(in.size(), '?');
  return converter.Convert(in, on_bad);
}

}  // namespace

bool IsUtf16LeFile(std::string_view bytes) { return bytes.substr(0, 2) == "\xFF\xFE"; }

std::string Utf16LeToUtf8(std::string_view utf16) {
  std::string out;
  out.reserve(utf16.size() * 3 / 2);
  std::size_t i = 0;
  for (; i + 1 < utf16.size(); i += 2) {
    std::uint32_t unit = static_cast<unsigned char>(utf16[i]) | (static_cast<unsigned char>(utf16[i + 1]) << 8);
    if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < utf16.size()) {
      const std::uint32_t low =
          static_cast<unsigned char>(utf16[i + 2]) | (static_cast<unsigned char>(utf16[i + 3]) << 8);
      if (low >= 0xDC00 && low < 0xE000) {
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    PutUtf8(out, unit);
  }
  return out;
}

std::string Utf8ToUtf16Le(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size() * 2);
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    const std::size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    std::uint32_t cp = n == 1 ? b : n == 2 ? (b & 0x1Fu) : n == 3 ? (b & 0x0Fu) : (b & 0x07u);
    for (std::size_t k = 1; k < n && i + k < utf8.size(); ++k) cp = (cp << 6) | (utf8[i + k] & 0x3Fu);
    i += n;
    if (cp >= 0x10000) {
      PutUtf16(out, 0xD800 + ((cp - 0x10000) >> 10));
      PutUtf16(out, 0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      PutUtf16(out, cp);
    }
  }
  return out;
}

std::string SjisToUtf8(std::string_view sjis) { return Convert(sjis, "CP932", "UTF-8", QuestionMarkForByte); }
std::string Utf8ToSjis(std::string_view utf8) { return Convert(utf8, "UTF-8", "CP932", QuestionMarkForUtf8Sequence); }

}  // namespace tolvane::ini
