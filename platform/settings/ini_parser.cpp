#include "ini_parser.h"

#include <cstddef>
#include <vector>

namespace tolvane::ini {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v'; }

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool IsTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

// Length of the character at s[i]: 2 for a Shift_JIS lead and trail pair.
std::size_t CharLength(std::string_view s, std::size_t i, TextCode code) {
  if (code == TextCode::kShiftJis && i + 1 < s.size() && IsLeadByte(static_cast<unsigned char>(s[i])) &&
      IsTrailByte(static_cast<unsigned char>(s[i + 1])))
    return 2;
  return 1;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Section and key arguments lose only their outer spaces.
std::string_view TrimSpaces(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b, TextCode code) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size();) {
    const std::size_t n = CharLength(a, i, code);
    if (n == 2) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
    } else if (FoldAscii(a[i]) != FoldAscii(b[i])) {
      return false;
    }
    i += n;
  }
  return true;
}

enum class Kind { kBlank, kComment, kHeader, kKey, kOther };

struct Line {
  std::size_t begin = 0;  // first byte
  std::size_t end = 0;    // end of the content, before the line end
  std::size_t next = 0;   // first byte after the line end
  Kind kind = Kind::kBlank;
  std::string_view name;   // section name of a header, key of a key line
  std::string_view value;  // raw text after the '=' of a key line
  std::size_t value_begin = 0;
};

Line Classify(std::string_view text, std::size_t begin, std::size_t end, std::size_t next, TextCode code) {
  Line line;
  line.begin = begin;
  line.end = end;
  line.next = next;
  std::string_view s = text.substr(begin, end - begin);
  std::size_t lead = 0;
  while (lead < s.size() && IsBlank(s[lead])) ++lead;
  if (lead == s.size()) return line;
  if (s[lead] == ';') {
    line.kind = Kind::kComment;
  } else if (s[lead] == '[') {
    // The name ends at the first ']'; without one it runs to the line end.
    std::size_t i = lead + 1;
    while (i < s.size() && s[i] != ']') i += CharLength(s, i, code);
    line.kind = Kind::kHeader;
    line.name = TrimBlanks(s.substr(lead + 1, i - lead - 1));
  } else if (const std::size_t eq = s.find('='); eq != std::string_view::npos) {
    line.kind = Kind::kKey;
    line.name = TrimBlanks(s.substr(lead, eq - lead));
    line.value = s.substr(eq + 1);
    line.value_begin = begin + eq + 1;
  } else {
    line.kind = Kind::kOther;
  }
  return line;
}

// CR LF, a lone LF and a lone CR each end a line.
std::vector<Line> SplitLines(std::string_view text, TextCode code) {
  std::vector<Line> lines;
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t end = begin;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    std::size_t next = end;
    if (next < text.size()) next += (text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n') ? 2 : 1;
    lines.push_back(Classify(text, begin, end, next, code));
    begin = next;
  }
  return lines;
}

// Where a section and a key stand: only the first copy of the section counts,
// and in it the first copy of the key.
struct Place {
  const Line* header = nullptr;
  const Line* last_key = nullptr;
  const Line* key = nullptr;
};

Place Locate(const std::vector<Line>& lines, std::string_view section, std::string_view key, TextCode code) {
  Place place;
  for (const Line& line : lines) {
    if (line.kind == Kind::kHeader) {
      if (place.header) break;
      if (SameName(line.name, section, code)) place.header = &line;
    } else if (place.header && line.kind == Kind::kKey) {
      place.last_key = &line;
      if (!place.key && SameName(line.name, key, code)) place.key = &line;
    }
  }
  return place;
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

}  // namespace

std::optional<std::string> FindValue(std::string_view text, std::string_view section, std::string_view key,
                                     TextCode code) {
  const std::vector<Line> lines = SplitLines(text, code);
  const Place place = Locate(lines, TrimSpaces(section), TrimSpaces(key), code);
  if (!place.key) return std::nullopt;
  std::string_view v = TrimBlanks(place.key->value);
  if (v.size() >= 2 && IsQuote(v.front()) && v.back() == v.front()) v = v.substr(1, v.size() - 2);
  return std::string(v);
}

std::string SetValue(std::string_view text, std::string_view section, std::string_view key, std::string_view value,
                     TextCode code) {
  section = TrimSpaces(section);
  key = TrimSpaces(key);
  const std::vector<Line> lines = SplitLines(text, code);
  const Place place = Locate(lines, section, key, code);
  std::string out;
  out.reserve(text.size() + section.size() + key.size() + value.size() + 8);

  if (place.key) {
    const Line& line = *place.key;
    out.append(text.substr(0, line.value_begin));
    out.append(value);
    if (line.next == line.end) out.append("\r\n");
    else out.append(text.substr(line.end, line.next - line.end));
    out.append(text.substr(line.next));
  } else if (place.header) {
    const Line& anchor = place.last_key ? *place.last_key : *place.header;
    out.append(text.substr(0, anchor.next));
    if (anchor.next == anchor.end) out.append("\r\n");
    out.append(key).append("=").append(value).append("\r\n");
    out.append(text.substr(anchor.next));
  } else {
    out.append(text);
    if (!out.empty() && out.back() != '\n' && out.back() != '\r') out.append("\r\n");
    out.append("[").append(section).append("]\r\n");
    out.append(key).append("=").append(value).append("\r\n");
  }
  return out;
}

std::string EncodeValue(std::string_view value) {
  value = value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3)));
  const bool blank_ends = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()));
  const bool quoted = value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front();
  if (!blank_ends && !quoted) return std::string(value);
  std::string out;
  out.reserve(value.size() + 2);
  out.append("\"").append(value).append("\"");
  return out;
}

}  // namespace tolvane::ini
