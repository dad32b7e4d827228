#include "pop3_reply.h"

#include <limits>

namespace pop3 {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The index-th (from 0) blank-separated word of line, empty if none.
std::string_view Word(std::string_view line, int index) {
  std::size_t i = 0;
  for (;;) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i == line.size()) return {};
    std::size_t end = i;
    while (end < line.size() && !IsBlank(line[end])) ++end;
    if (index-- == 0) return line.substr(i, end - i);
    i = end;
  }
}

// A decimal number without sign, 0 when it is not one or out of range.
std::int64_t ParseNumber(std::string_view word) {
  if (word.empty()) return 0;
  std::int64_t count = 0;
  for (char c : word) {
    if (c < '0' || c > '9') return 0;
    const int digit = c - '0';
    if (count > (std::numeric_limits<std::int64_t>::max() - digit) / 10) return 0;
    count = count * 10 + digit;
  }
  return count;
}

}  // namespace

bool IsOkReply(std::string_view line) { return Word(line, 0).find("+OK") != std::string_view::npos; }

std::int64_t ParseStatCount(std::string_view line) { return ParseNumber(Word(line, 1)); }

std::string_view StripLineEnd(std::string_view line) {
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

bool IsTerminator(std::string_view line) { return line == "."; }

std::string_view Unstuff(std::string_view line) {
  if (line.size() >= 2 && line[0] == '.' && line[1] == '.') line.remove_prefix(1);
  return line;
}

bool HeaderValue(std::string_view line, std::string_view name, std::string& value) {
  if (line.substr(0, name.size()) != name) return false;
  value.assign(line.substr(name.size()));
  return true;
}

bool IsContinuationLine(std::string_view line) { return !line.empty() && (line[0] == ' ' || line[0] == '\t'); }

bool AppendContinuation(std::string& value, std::string_view line, std::size_t max_length) {
  if (value.size() + line.size() > max_length) return false;
  value.append(line);
  return true;
}

bool ParseUidlLine(std::string_view line, std::int64_t& n, std::string_view& id) {
  const std::string_view number = Word(line, 0);
  const std::string_view word = Word(line, 1);
  if (number.empty() || word.empty() || !Word(line, 2).empty() || word.size() > 70) return false;
  for (char c : word)
    if (c < 0x21 || c > 0x7e) return false;
  const std::int64_t value = ParseNumber(number);
  if (value < 1) return false;
  n = value;
  id = word;
  return true;
}

}  // namespace pop3
