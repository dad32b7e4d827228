// UTF-8, UTF-16 and the charsets glibc's iconv reads, as Unicode characters;
// and the choice of reader for a charset.
#include <cerrno>
#include <cstddef>

#include "display_readers.h"

namespace jconvert_detail {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

unsigned char at(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

void read_utf16(std::string_view text, bool big_endian, DisplayWriter& out) {
  const std::size_t n = text.size();
  const auto unit = [&](std::size_t i) -> char32_t {
    return big_endian ? (char32_t{at(text, i)} << 8 | at(text, i + 1)) : (char32_t{at(text, i + 1)} << 8 | at(text, i));
  };
  std::size_t i = 0;
  for (; i + 1 < n; i += 2) {
    const char32_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 3 < n) {
      const char32_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        out.CodePoint(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    out.CodePoint(u >= 0xD800 && u <= 0xDFFF ? kReplacement : u);
  }
  if (i < n) out.CodePoint(kReplacement);  // half a code unit
}

void read_user_defined(std::string_view text, DisplayWriter& out) {
  // Bytes from 0x80 up stand for U+F780 on, which code page 932 lacks.
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 0x80) out.Ascii(static_cast<unsigned char>(c));
    else out.Geta();
  }
}

// Text in a glibc iconv charset. In a single-byte charset a byte in
// 0x80..0x9F that iconv lacks is the C1 control of that number. False, with
// nothing written, when glibc lacks the charset.
bool read_with_iconv(const char* charset, bool single_byte, std::string_view text, DisplayWriter& out) {
  iconv_t cd = out.pool().get(kUtf32, charset);
  if (!cd) return false;
  char32_t buffer[1024];
  char* in = const_cast<char*>(text.data());
  std::size_t in_left = text.size();
  bool flushed = false;
  while (!flushed) {
    char* to = reinterpret_cast<char*>(buffer);
    std::size_t room = sizeof buffer;
    std::size_t rc;
    if (in_left > 0) {
      rc = iconv(cd, &in, &in_left, &to, &room);
    } else {
      rc = iconv(cd, nullptr, nullptr, &to, &room);  // what a stateful charset still holds
      flushed = rc != static_cast<std::size_t>(-1) || errno != E2BIG;
    }
    const int error = rc == static_cast<std::size_t>(-1) ? errno : 0;
    for (const char32_t* p = buffer; p < reinterpret_cast<char32_t*>(to); ++p) out.CodePoint(*p);
    if (error && error != E2BIG && in_left > 0) {
      // An invalid byte, or a sequence cut off by the end: one replacement for its first byte.
      const unsigned char bad = static_cast<unsigned char>(*in);
      out.CodePoint(single_byte && bad >= 0x80 && bad <= 0x9F ? char32_t{bad} : kReplacement);
      ++in;
      --in_left;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  return true;
}

}  // namespace

void ReadUtf8(std::string_view text, DisplayWriter& out) {
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    const unsigned char c = at(text, i);
    if (c < 0x80) {
      out.CodePoint(c);
      ++i;
      continue;
    }
    std::size_t need;
    unsigned char lower = 0x80, upper = 0xBF;  // bounds of the first continuation byte
    char32_t cp;
    if (c >= 0xC2 && c <= 0xDF) {
      need = 1;
      cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      need = 2;
      cp = c & 0x0F;
      if (c == 0xE0) lower = 0xA0;
      if (c == 0xED) upper = 0x9F;  // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
      need = 3;
      cp = c & 0x07;
      if (c == 0xF0) lower = 0x90;
      if (c == 0xF4) upper = 0x8F;  // nothing above U+10FFFF
    } else {
      out.CodePoint(kReplacement);
      ++i;
      continue;
    }
    std::size_t k = 1;
    for (; k <= need && i + k < n; ++k) {
      const unsigned char b = at(text, i + k);
      if (b < lower || b > upper) break;
      cp = cp << 6 | (b & 0x3F);
      lower = 0x80;
      upper = 0xBF;
    }
    if (k <= need) {
      // The bytes so far are one invalid sequence; the byte that broke it is read again.
      out.CodePoint(kReplacement);
      i += k;
    } else {
      out.CodePoint(cp);
      i += k;
    }
  }
}

bool ReadOneCharacter(const char* charset, std::string_view bytes, DisplayWriter& out) {
  iconv_t cd = out.pool().get(kUtf32, charset);
  if (!cd) return false;
  char32_t buffer[4];  // a character may be a base and a combining mark
  char* in = const_cast<char*>(bytes.data());
  std::size_t in_left = bytes.size();
  char* to = reinterpret_cast<char*>(buffer);
  std::size_t room = sizeof buffer;
  if (iconv(cd, &in, &in_left, &to, &room) == static_cast<std::size_t>(-1) ||
      iconv(cd, nullptr, nullptr, &to, &room) == static_cast<std::size_t>(-1) || in_left != 0)
    return false;
  for (const char32_t* p = buffer; p < reinterpret_cast<char32_t*>(to); ++p) out.CodePoint(*p);
  return true;
}

bool ReadCharset(const Charset& charset, std::string_view text, DisplayWriter& out) {
  // A byte-order mark decides, as the standard's decode does.
  if (text.substr(0, 3) == "\xEF\xBB\xBF") {
    ReadUtf8(text.substr(3), out);
    return true;
  }
  if (text.substr(0, 2) == "\xFE\xFF" || text.substr(0, 2) == "\xFF\xFE") {
    read_utf16(text.substr(2), text[0] == '\xFE', out);
    return true;
  }
  switch (charset.reader) {
    case Reader::kUtf8: ReadUtf8(text, out); return true;
    case Reader::kUtf16Le: read_utf16(text, false, out); return true;
    case Reader::kUtf16Be: read_utf16(text, true, out); return true;
    case Reader::kIso2022Jp: ReadIso2022Jp(text, out); return true;
    case Reader::kShiftJis: ReadShiftJis(text, out); return true;
    case Reader::kEucJp: ReadEucJp(text, out); return true;
    case Reader::kIconv: return read_with_iconv(charset.iconv_name, false, text, out);
    case Reader::kSingleByteIconv: return read_with_iconv(charset.iconv_name, true, text, out);
    case Reader::kUserDefined: read_user_defined(text, out); return true;
    case Reader::kReplacement:
      if (!text.empty()) out.CodePoint(kReplacement);
      return true;
  }
  return false;
}

}  // namespace jconvert_detail
