// EUC-JP <-> Shift_JIS. Half-width katakana keep their width: 0x8E k in EUC-JP
// is the single byte k in Shift_JIS.
#include "Jconvert.h"
#include "byte_writer.h"
#include "jis_arith.h"

using namespace jconvert_detail;

std::string euc2sjis(const std::string& text) {
  const unsigned char* s = bytes(text);
  const std::size_t n = text.size();
  ByteWriter out(n);
  std::size_t i = 0;
  while (i < n) {
    const unsigned char c = s[i];
    if (c < 0x80) {
      const std::size_t run = ascii_run(s + i, s + n);
      out.append(reinterpret_cast<const char*>(s + i), run);
      i += run;
    } else if (c == 0x80 || c == 0xFF || i + 1 >= n) {
      out.put(c);  // includes a lead byte left alone at the end
      ++i;
    } else if (c == 0x8E) {
      out.put(s[i + 1]);
      i += 2;
    } else {
      const BytePair p = jis_to_sjis(c & 0x7F, s[i + 1] & 0x7F);
      out.put2(p.first, p.second);
      i += 2;
    }
  }
  return std::move(out).finish();
}

std::string sjis2euc(const std::string& text) {
  const unsigned char* s = bytes(text);
  const std::size_t n = text.size();
  ByteWriter out(2 * n);  // a katakana byte doubles; nothing grows more
  std::size_t i = 0;
  while (i < n) {
    const unsigned char c = s[i];
    if (c < 0x80) {
      const std::size_t run = ascii_run(s + i, s + n);
      out.append(reinterpret_cast<const char*>(s + i), run);
      i += run;
    } else if (c >= 0xA1 && c <= 0xDF) {
      out.put2(0x8E, c);
      ++i;
    } else if (i + 1 >= n) {
      out.put(c);  // lead byte left alone at the end
      ++i;
    } else {
      const BytePair p = sjis_to_jis(c, s[i + 1]);
      out.put2(static_cast<unsigned char>(p.first + 0x80), static_cast<unsigned char>(p.second + 0x80));
      i += 2;
    }
  }
  return std::move(out).finish();
}
