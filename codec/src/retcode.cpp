// Line-end detection and rewriting. Only the one convention named as the
// source is rewritten; other line ends in a mixed text stay as they are.
#include <cstring>
#include <string_view>

#include "Jconvert.h"

namespace {

std::string_view sequence_of(int retcode) {
  switch (retcode) {
    case RETCODE_CRLF: return "\r\n";
    case RETCODE_CR: return "\r";
    case RETCODE_LF: return "\n";
    default: return {};
  }
}

// Position of the next occurrence of `from` at or after pos, or npos.
std::size_t find_next(const std::string& text, std::string_view from, std::size_t pos) {
  const char first = from[0];
  while (pos < text.size()) {
    const void* hit = std::memchr(text.data() + pos, first, text.size() - pos);
    if (!hit) return std::string::npos;
    pos = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
    if (from.size() == 1 || (pos + 1 < text.size() && text[pos + 1] == from[1])) return pos;
    ++pos;
  }
  return std::string::npos;
}

std::string rewrite(const std::string& text, int source, int target) {
  if (source == RETCODE_NONE || source == target) return text;
  const std::string_view from = sequence_of(source);
  if (from.empty()) return text;  // not a convention: nothing to look for
  const std::string_view to = sequence_of(target);

  std::size_t count = 0;
  for (std::size_t p = find_next(text, from, 0); p != std::string::npos; p = find_next(text, from, p + from.size())) {
    ++count;
  }
  std::string out;
  out.resize(text.size() - count * from.size() + count * to.size());
  char* w = out.data();
  std::size_t pos = 0;
  for (std::size_t p = find_next(text, from, 0); p != std::string::npos; p = find_next(text, from, p + from.size())) {
    std::memcpy(w, text.data() + pos, p - pos);
    w += p - pos;
    if (!to.empty()) {  // an empty view's data() may be null
      std::memcpy(w, to.data(), to.size());
      w += to.size();
    }
    pos = p + from.size();
  }
  std::memcpy(w, text.data() + pos, text.size() - pos);
  return out;
}

}  // namespace

int ReturnCodeCheck(const std::string& text) {
  const std::size_t p = text.find_first_of("\r\n");
  if (p == std::string::npos) return RETCODE_NONE;
  if (text[p] == '\n') return RETCODE_LF;
  return p + 1 < text.size() && text[p + 1] == '\n' ? RETCODE_CRLF : RETCODE_CR;
}

std::string ConvertReturnCode(const std::string& text, int target) {
  return rewrite(text, ReturnCodeCheck(text), target);
}

std::string StrictConvertReturnCode(const std::string& text, int source, int target) {
  return rewrite(text, source, target);
}
