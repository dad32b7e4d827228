#include "string_list.h"

#include <optional>
#include <string_view>
#include <system_error>

#include "atomic_file.h"

namespace {

// "ファイル " and " は開けません" (file ... cannot be opened) in Shift_JIS.
constexpr std::string_view kFilePrefix = "\x83\x74\x83\x40\x83\x43\x83\x8B\x20";
constexpr std::string_view kCannotOpen = "\x20\x82\xCD\x8A\x4A\x82\xAF\x82\xDC\x82\xB9\x82\xF1";

}  // namespace

EFOpenError::EFOpenError(const std::string& file_name)
    : std::runtime_error(std::string(kFilePrefix) + file_name + std::string(kCannotOpen)) {}

void TStringList::LoadFromFile(const std::string& file_name) {
  std::error_code ec;
  const std::optional<std::string> bytes = tolvane::platform::ReadFileBytes(file_name, ec);
  if (!bytes) throw EFOpenError(file_name);
  SetText(*bytes);
}

void TStringList::SetText(const std::string& text) {
  std::string_view rest(text);
  rest = rest.substr(0, rest.find('\0'));
  std::vector<std::string> lines;
  while (!rest.empty()) {
    const std::size_t end = rest.find_first_of("\r\n");
    lines.emplace_back(rest.substr(0, end));
    if (end == std::string_view::npos) break;
    const std::size_t next = (rest[end] == '\r' && end + 1 < rest.size() && rest[end + 1] == '\n') ? end + 2 : end + 1;
    rest.remove_prefix(next);
  }
  FStrings = std::move(lines);
}
