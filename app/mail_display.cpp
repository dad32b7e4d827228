#include "mail_display.h"

#include "Jconvert.h"

namespace {

constexpr char kJisRoman[] = "\x1b(J";

// Removes every ESC ( J, those the header decoder put after each word and
// any the decoded bytes held themselves. Deleting one can join the bytes
// around it into another, which goes too: the pattern cannot overlap itself,
// so cutting it off the end of the output as it forms removes exactly what
// deleting occurrences one by one would, in linear time.
std::string RemoveJisRoman(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  for (const char c : s) {
    out += c;
    if (out.size() >= 3 && out.compare(out.size() - 3, 3, kJisRoman) == 0) out.resize(out.size() - 3);
  }
  return out;
}

// Two encoded-words side by side decode into "... ESC ( B ESC $ B ...", and
// the JIS decoder does not take an escape sequence directly behind another.
// Such a return to one-byte mode changes nothing: drop it.
std::string DropReturnsBeforeEscapes(std::string s) {
  std::size_t w = 0;
  for (std::size_t i = 0; i < s.size();) {
    if (s[i] == '\x1b' && i + 3 < s.size() && s[i + 1] == '(' && s[i + 3] == '\x1b') {
      i += 3;
      continue;
    }
    s[w++] = s[i++];
  }
  s.resize(w);
  return s;
}

}  // namespace

std::string DecodeForDisplay(const std::string& raw) {
  const std::string s = DropReturnsBeforeEscapes(RemoveJisRoman(DecodeHeaderString(raw)));
  return ConvertJCode(s, JCODE_SJIS);
}

bool HasNgWord(const std::string& subject, const std::vector<std::string>& words) {
  for (const std::string& word : words) {
    if (word.empty()) return false;
    if (subject.find(word) != std::string::npos) return true;
  }
  return false;
}
