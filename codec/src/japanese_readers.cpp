// The three Japanese codes, read into code page 932. JIS X 0208 codes go
// over by the same arithmetic as jis2sjis and euc2sjis, so the vendor rows of
// code page 932 come through whatever the label says; a code that code page
// 932 does not define becomes the geta mark.
#include <cstddef>

#include "cp932_codes.h"
#include "display_readers.h"
#include "jis_arith.h"

namespace jconvert_detail {
namespace {

constexpr unsigned char ESC = 0x1B;
constexpr unsigned char SO = 0x0E;
constexpr unsigned char SI = 0x0F;

bool in(unsigned char c, unsigned char lo, unsigned char hi) { return c >= lo && c <= hi; }
bool is_graphic(unsigned char c) { return in(c, 0x21, 0x7E); }
bool is_kana(unsigned char c) { return in(c, 0xA1, 0xDF); }
bool is_sjis_lead(unsigned char c) { return in(c, 0x81, 0x9F) || in(c, 0xE0, 0xFC); }

unsigned char at(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

void write_jis0208(unsigned char row, unsigned char cell, DisplayWriter& out) {
  const BytePair p = jis_to_sjis(row, cell);
  out.Pair(p.first, p.second);
}

// The character sets an ISO-2022-JP escape sequence designates.
enum class JisSet {
  kAscii,  // ASCII and JIS X 0201 Roman alike
  kKatakana,
  kJis0208,
  kJis0212,
  kJisX0213Plane1,
  kJisX0213Plane2,
  kGb2312,
  kKsc5601,
};

// A double-byte code of a set other than JIS X 0208, through iconv in the
// 8-bit form of a code that holds the set; one geta mark when it is none.
void write_other_pair(JisSet set, unsigned char row, unsigned char cell, DisplayWriter& out) {
  const char high[3] = {'\x8F', static_cast<char>(row | 0x80), static_cast<char>(cell | 0x80)};
  const std::string_view pair(high + 1, 2);
  const std::string_view with_ss3(high, 3);
  bool read = false;
  switch (set) {
    case JisSet::kJis0212: read = ReadOneCharacter("EUC-JP", with_ss3, out); break;
    case JisSet::kJisX0213Plane1: read = ReadOneCharacter("EUC-JISX0213", pair, out); break;
    case JisSet::kJisX0213Plane2: read = ReadOneCharacter("EUC-JISX0213", with_ss3, out); break;
    case JisSet::kGb2312: read = ReadOneCharacter("GB18030", pair, out); break;
    case JisSet::kKsc5601: read = ReadOneCharacter("CP949", pair, out); break;
    default: break;
  }
  if (!read) out.Geta();
}

struct JisState {
  JisSet g0 = JisSet::kAscii;
  bool shifted = false;      // SO: half-width katakana until SI
  const char* g2 = nullptr;  // the 96-character set of ESC N, as an iconv charset
};

struct Designation {
  std::string_view seq;  // after the ESC
  JisSet set;
};

constexpr Designation kDesignations[] = {
    {"(B", JisSet::kAscii},           {"(J", JisSet::kAscii},           {"(H", JisSet::kAscii},
    {"(I", JisSet::kKatakana},        {"$@", JisSet::kJis0208},         {"$B", JisSet::kJis0208},
    {"$A", JisSet::kGb2312},          {"$(D", JisSet::kJis0212},        {"$(C", JisSet::kKsc5601},
    {"$(O", JisSet::kJisX0213Plane1}, {"$(Q", JisSet::kJisX0213Plane1}, {"$(P", JisSet::kJisX0213Plane2},
};

// Applies the escape sequence at text[i] (an ESC) and returns its length;
// 0 for one this reader does not know, which changes nothing.
std::size_t apply_escape(std::string_view text, std::size_t i, JisState& st, DisplayWriter& out) {
  const std::string_view rest = text.substr(i + 1);
  const auto starts = [&](std::string_view seq) { return rest.substr(0, seq.size()) == seq; };
  for (const Designation& d : kDesignations) {
    if (starts(d.seq)) {
      st.g0 = d.set;
      return 1 + d.seq.size();
    }
  }
  // The JIS X 0208-1990 announcer, and katakana as G1 for SO: nothing to change.
  if (starts("&@") || starts(")I")) return 3;
  if (starts(".A") || starts(".F")) {
    st.g2 = rest[1] == 'A' ? "ISO-8859-1" : "ISO-8859-7";
    return 3;
  }
  // ESC N: a single character of the G2 set.
  if (st.g2 && rest.size() >= 2 && rest[0] == 'N' && in(static_cast<unsigned char>(rest[1]), 0x20, 0x7F)) {
    const char high = static_cast<char>(rest[1] | 0x80);
    if (!ReadOneCharacter(st.g2, std::string_view(&high, 1), out)) out.Geta();
    return 3;
  }
  return 0;
}

}  // namespace

void ReadIso2022Jp(std::string_view text, DisplayWriter& out) {
  JisState st;
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    const unsigned char c = at(text, i);
    if (c == ESC) {
      const std::size_t length = apply_escape(text, i, st, out);
      if (length == 0) out.Geta();
      i += length ? length : 1;
      continue;
    }
    ++i;
    if (c == SO || c == SI) {
      st.shifted = c == SO;
    } else if (c >= 0x80) {
      // Eight-bit katakana as some senders write them; anything else is no character.
      if (is_kana(c)) out.Kana(c);
      else out.Geta();
    } else if (!is_graphic(c)) {
      out.Ascii(c);  // a blank, or a control character as a space
    } else if (st.shifted || st.g0 == JisSet::kKatakana) {
      if (c <= 0x5F) out.Kana(static_cast<unsigned char>(c + 0x80));
      else out.Geta();
    } else if (st.g0 == JisSet::kAscii) {
      // The run of printable ASCII from here on, in one piece.
      const std::size_t from = i - 1;
      while (i < n && at(text, i) >= 0x20 && at(text, i) <= 0x7E) ++i;
      out.Printable(text.substr(from, i - from));
    } else if (i == n || !is_graphic(at(text, i))) {
      out.Geta();  // a row byte without its cell; what follows is read again
    } else {
      const unsigned char cell = at(text, i++);
      if (st.g0 == JisSet::kJis0208) write_jis0208(c, cell, out);
      else write_other_pair(st.g0, c, cell, out);
    }
  }
}

void ReadShiftJis(std::string_view text, DisplayWriter& out) {
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    const unsigned char c = at(text, i++);
    if (c < 0x80) {
      out.Ascii(c);
    } else if (c == 0x80) {
      out.Ascii(' ');  // U+0080, a control character
    } else if (is_kana(c)) {
      out.Kana(c);
    } else if (!is_sjis_lead(c) || i == n) {
      out.Geta();
    } else {
      const unsigned char trail = at(text, i);
      if (is_cp932_defined(c, trail)) {
        out.Pair(c, trail);
        ++i;
      } else if (in(trail, 0x80, 0xFC)) {
        out.Geta();  // an undefined code; an ASCII byte in its place is read again
        ++i;
      } else {
        out.Geta();  // the byte after the lead is read again
      }
    }
  }
}

void ReadEucJp(std::string_view text, DisplayWriter& out) {
  const std::size_t n = text.size();
  const auto high = [&](std::size_t k) { return k < n && in(at(text, k), 0xA1, 0xFE); };
  std::size_t i = 0;
  while (i < n) {
    const unsigned char c = at(text, i);
    if (c < 0x80) {
      out.Ascii(c);
      ++i;
    } else if (c == 0x8E && i + 1 < n && is_kana(at(text, i + 1))) {
      out.Kana(at(text, i + 1));
      i += 2;
    } else if (c == 0x8F && high(i + 1) && high(i + 2)) {
      write_other_pair(JisSet::kJis0212, at(text, i + 1) & 0x7F, at(text, i + 2) & 0x7F, out);
      i += 3;
    } else if (in(c, 0xA1, 0xFE) && high(i + 1)) {
      write_jis0208(c & 0x7F, at(text, i + 1) & 0x7F, out);
      i += 2;
    } else {
      out.Geta();
      ++i;
    }
  }
}

}  // namespace jconvert_detail
