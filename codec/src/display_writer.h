// The output of the header display: Shift_JIS (code page 932) that holds
// only characters, with control characters as a space and the geta mark for
// what cannot be shown.
#pragma once

#include <iconv.h>

#include <bit>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace jconvert_detail {

// The iconv name of char32_t text in this machine's byte order.
inline constexpr const char* kUtf32 = std::endian::native == std::endian::little ? "UTF-32LE" : "UTF-32BE";

// iconv converters opened on first use and closed with the pool; one pool
// serves one call, so nothing is shared between calls or threads.
class IconvPool {
 public:
  IconvPool() = default;
  ~IconvPool();
  IconvPool(const IconvPool&) = delete;
  IconvPool& operator=(const IconvPool&) = delete;

  // A converter in its initial state; nullptr when glibc lacks either charset.
  iconv_t get(const char* to, const char* from);

 private:
  struct Entry {
    const char* to;
    const char* from;
    iconv_t cd;
  };
  std::vector<Entry> entries_;
};

class DisplayWriter {
 public:
  DisplayWriter(std::string& out, IconvPool& pool) : out_(out), pool_(pool) {}
  DisplayWriter(const DisplayWriter&) = delete;
  DisplayWriter& operator=(const DisplayWriter&) = delete;

  IconvPool& pool() { return pool_; }

  // A byte below 0x80; a control character becomes a space.
  void Ascii(unsigned char c);
  // Printable ASCII, 0x20..0x7E, as it is.
  void Printable(std::string_view text) {
    direct();
    out_.append(text);
  }
  // A half-width katakana, 0xA1..0xDF.
  void Kana(unsigned char k);
  // A double-byte code: as it is when code page 932 defines it, else the geta mark.
  void Pair(unsigned char lead, unsigned char trail);
  void Geta();
  // A Unicode scalar value (U+FFFD marks a sequence that was no character).
  void CodePoint(char32_t cp);
  // Writes out the characters still held back; call before reading the result.
  void Finish();

 private:
  void flush_unicode(std::size_t keep);
  void direct() {
    if (!pending_.empty()) flush_unicode(0);
  }

  std::string& out_;
  IconvPool& pool_;
  std::u32string pending_;  // Unicode characters, converted in batches
};

}  // namespace jconvert_detail
