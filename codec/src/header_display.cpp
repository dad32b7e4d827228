// A raw header value as the listing shows it, in code page 932.
//
// Three passes, each linear: the value is cut into plain text and runs of
// adjacent encoded-words (a run holds the decoded bytes of words in one
// charset, so a character split across words comes out whole); the plain
// text as a whole decides how its 8-bit bytes are read; then every piece is
// read into the result.
#include <string_view>
#include <vector>

#include "Jconvert.h"
#include "charset_label.h"
#include "display_readers.h"
#include "encoded_word.h"

namespace jconvert_detail {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool only_blanks(std::string_view s) {
  for (const char c : s) {
    if (!is_blank(c)) return false;
  }
  return true;
}

struct Piece {
  std::size_t begin, end;              // in the value: plain text, or the words of the run
  const Charset* charset;              // nullptr for plain text
  std::size_t bytes_begin, bytes_end;  // a run's decoded bytes, in the bytes buffer
};

struct Pieces {
  std::vector<Piece> list;
  std::string bytes;
};

Pieces cut(std::string_view value) {
  Pieces pieces;
  std::size_t text_from = 0;  // where the plain text not yet in a piece begins
  std::size_t search = 0;
  while (true) {
    const std::size_t at = value.find("=?", search);
    if (at == std::string_view::npos) break;
    search = at + 1;
    EncodedWord word;
    if (!ParseEncodedWord(value, at, word)) continue;
    const Charset* charset = FindCharset(word.charset);
    if (!charset) continue;
    const std::size_t bytes_begin = pieces.bytes.size();
    if (!AppendWordBytes(word, pieces.bytes)) continue;
    // Only blanks (a fold among them) between this word and the run before:
    // they go, and in the same charset the bytes join the run's.
    Piece* last = pieces.list.empty() ? nullptr : &pieces.list.back();
    const bool adjacent =
        last && last->charset && last->end == text_from && only_blanks(value.substr(text_from, at - text_from));
    if (adjacent && last->charset == charset) {
      last->end = word.end;
      last->bytes_end = pieces.bytes.size();
    } else {
      if (!adjacent && at > text_from) pieces.list.push_back({text_from, at, nullptr, 0, 0});
      pieces.list.push_back({at, word.end, charset, bytes_begin, pieces.bytes.size()});
    }
    text_from = search = word.end;
  }
  if (text_from < value.size()) pieces.list.push_back({text_from, value.size(), nullptr, 0, 0});
  return pieces;
}

// Plain text with its folds undone (a line break before a blank goes) and
// every other line break as one space.
std::string unfold(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') {
      out += text[i];
      continue;
    }
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    if (i + 1 < text.size() && (text[i + 1] == ' ' || text[i + 1] == '\t')) continue;
    out += ' ';
  }
  return out;
}

enum class PlainCode { kSevenBit, kUtf8, kShiftJis, kEucJp, kJis };

bool is_valid_utf8(std::string_view s) {
  std::size_t i = 0;
  const auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  while (i < s.size()) {
    const unsigned char c = at(i);
    std::size_t need;
    unsigned char lower = 0x80, upper = 0xBF;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      need = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
      need = 2;
      if (c == 0xE0) lower = 0xA0;
      if (c == 0xED) upper = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      need = 3;
      if (c == 0xF0) lower = 0x90;
      if (c == 0xF4) upper = 0x8F;
    } else {
      return false;
    }
    for (std::size_t k = 1; k <= need; ++k) {
      if (i + k >= s.size() || at(i + k) < lower || at(i + k) > upper) return false;
      lower = 0x80;
      upper = 0xBF;
    }
    i += need + 1;
  }
  return true;
}

// How the plain text of a value is read: 8-bit bytes as UTF-8 when every
// piece is valid UTF-8, else as the codec's detection finds them.
PlainCode choose_plain_code(const std::vector<std::string>& texts) {
  bool eight_bit = false, utf8 = true;
  for (const std::string& t : texts) {
    for (const char c : t) eight_bit = eight_bit || static_cast<unsigned char>(c) >= 0x80;
  }
  if (!eight_bit) return PlainCode::kSevenBit;
  for (const std::string& t : texts) utf8 = utf8 && is_valid_utf8(t);
  if (utf8) return PlainCode::kUtf8;
  std::string all;
  for (const std::string& t : texts) all += t;
  // Control characters become blanks anyway; they must not make the text binary.
  for (char& c : all) {
    const auto u = static_cast<unsigned char>(c);
    if ((u < 0x20 && u != 0x1B) || u == 0x7F) c = ' ';
  }
  switch (InCodeCheck(all)) {
    case JCODE_EUC: return PlainCode::kEucJp;
    case JCODE_JIS83:
    case JCODE_JIS78: return PlainCode::kJis;
    default: return PlainCode::kShiftJis;  // undecided text is Shift_JIS, as the listing always took it
  }
}

void read_plain(std::string_view text, PlainCode code, DisplayWriter& out) {
  switch (code) {
    case PlainCode::kSevenBit:  // escape sequences only mean something as JIS
    case PlainCode::kJis: ReadIso2022Jp(text, out); break;
    case PlainCode::kUtf8: ReadUtf8(text, out); break;
    case PlainCode::kShiftJis: ReadShiftJis(text, out); break;
    case PlainCode::kEucJp: ReadEucJp(text, out); break;
  }
}

}  // namespace
}  // namespace jconvert_detail

std::string DecodeHeaderForDisplay(const std::string& headerValue) {
  using namespace jconvert_detail;
  const std::string_view value(headerValue);
  // Printable ASCII without a word, as most addresses and many subjects are, shows as it is.
  bool printable = value.find("=?") == std::string_view::npos;
  for (std::size_t i = 0; printable && i < value.size(); ++i) printable = value[i] >= 0x20 && value[i] <= 0x7E;
  if (printable) return headerValue;
  const Pieces pieces = cut(value);

  std::vector<std::string> plain;
  for (const Piece& p : pieces.list) {
    if (!p.charset) plain.push_back(unfold(value.substr(p.begin, p.end - p.begin)));
  }
  const PlainCode code = choose_plain_code(plain);

  std::string result;
  result.reserve(headerValue.size());
  IconvPool pool;
  DisplayWriter out(result, pool);
  std::size_t next_plain = 0;
  for (const Piece& p : pieces.list) {
    if (!p.charset) {
      read_plain(plain[next_plain++], code, out);
      continue;
    }
    const std::string_view bytes = std::string_view(pieces.bytes).substr(p.bytes_begin, p.bytes_end - p.bytes_begin);
    // A charset whose converter glibc lacks: its words stay as they came.
    if (!ReadCharset(*p.charset, bytes, out)) read_plain(unfold(value.substr(p.begin, p.end - p.begin)), code, out);
  }
  out.Finish();
  return result;
}

std::string Utf8ToDisplaySjis(const std::string& utf8) {
  using namespace jconvert_detail;
  std::string result;
  result.reserve(utf8.size());
  IconvPool pool;
  DisplayWriter out(result, pool);
  ReadUtf8(utf8, out);
  out.Finish();
  return result;
}
