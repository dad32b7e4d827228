#include "ini_file.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <system_error>

#include "atomic_file.h"
#include "ini_parser.h"
#include "ini_unicode.h"

namespace {

using tolvane::ini::TextCode;

// " に書き込めません" (cannot write to) in Shift_JIS.
constexpr std::string_view kCannotWrite = "\x20\x82\xC9\x8F\x91\x82\xAB\x8D\x9E\x82\xDF\x82\xDC\x82\xB9\x82\xF1";

constexpr std::size_t kReadBufferSize = 2048;

// The Windows functions take C strings: a name ends at its first NUL.
std::string_view CString(const std::string& s) { return std::string_view(s.c_str()); }

// Optional sign, then decimal digits or "0x" / "0X" / "$" and hex digits.
// Hex covers 32 bits and wraps to negative ("$FFFFFFFF" is -1), so that a
// value written as a 32-bit hex word reads back as the same bits.
std::optional<std::int32_t> ParseInteger(std::string_view s) {
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  int base = 10;
  if (!s.empty() && s.front() == '$') {
    base = 16;
    s.remove_prefix(1);
  } else if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s.remove_prefix(2);
  }
  if (s.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : s) {
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else return std::nullopt;
    value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
    if (value > 0xFFFFFFFFu) return std::nullopt;
  }
  if (base == 16) {
    const auto bits = static_cast<std::uint32_t>(negative ? 0u - value : value);
    return static_cast<std::int32_t>(bits);
  }
  if (value > (negative ? 2147483648u : 2147483647u)) return std::nullopt;
  return static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value));
}

}  // namespace

EIniFileException::EIniFileException(const std::string& file_name)
    : std::runtime_error(file_name + std::string(kCannotWrite)) {}

std::string TIniFile::ReadString(const std::string& section, const std::string& ident, const std::string& def) const {
  std::optional<std::string> value;
  std::error_code ec;
  const auto bytes = tolvane::platform::ReadFileBytes(FFileName, ec);
  if (bytes && !tolvane::ini::IsUtf16LeFile(*bytes)) {
    value = tolvane::ini::FindValue(*bytes, CString(section), CString(ident));
  } else if (bytes && bytes->size() % 2 == 0) {
    // A Unicode file is read through code page 932, as Windows does.
    using namespace tolvane::ini;
    value = FindValue(Utf16LeToUtf8(std::string_view(*bytes).substr(2)), SjisToUtf8(CString(section)),
                      SjisToUtf8(CString(ident)), TextCode::kUtf8);
    if (value) value = Utf8ToSjis(*value);
  }
  if (!value) {
    std::string_view d = CString(def);
    while (!d.empty() && d.back() == ' ') d.remove_suffix(1);
    value.emplace(d);
  }
  if (value->size() >= kReadBufferSize) value->resize(kReadBufferSize - 1);
  return *value;
}

int TIniFile::ReadInteger(const std::string& section, const std::string& ident, int def) const {
  return ParseInteger(ReadString(section, ident, "")).value_or(def);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& ident, bool def) const {
  return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
  // A line end in a name would split the line and corrupt the file.
  for (const std::string_view name : {CString(section), CString(ident)})
    if (name.find_first_of("\r\n") != std::string_view::npos) throw EIniFileException(FFileName);
  std::error_code ec;
  std::optional<std::string> old = tolvane::platform::ReadFileBytes(FFileName, ec);
  // A file that exists but cannot be read must not be replaced by one that
  // holds only this key.
  if (!old && ec != std::errc::no_such_file_or_directory) throw EIniFileException(FFileName);
  const std::string text = old.value_or(std::string());
  std::string updated;
  if (!tolvane::ini::IsUtf16LeFile(text)) {
    updated = tolvane::ini::SetValue(text, CString(section), CString(ident), tolvane::ini::EncodeValue(value));
  } else {
    // A Unicode file stays one. An odd length is no UTF-16 text to edit.
    if (text.size() % 2 != 0) throw EIniFileException(FFileName);
    using namespace tolvane::ini;
    const std::string inner = Utf16LeToUtf8(std::string_view(text).substr(2));
    // Windows puts a line end between a lone byte order mark and the section.
    updated = "\xFF\xFE" + Utf8ToUtf16Le((inner.empty() ? "\r\n" : "") +
                                         SetValue(inner, SjisToUtf8(CString(section)), SjisToUtf8(CString(ident)),
                                                  SjisToUtf8(EncodeValue(value)), TextCode::kUtf8));
  }
  if (old && updated == text) return;  // already holds exactly this
  try {
    tolvane::platform::ReplaceFileAtomically(FFileName, updated, 0600);
  } catch (const std::system_error&) {
    throw EIniFileException(FFileName);
  }
}

void TIniFile::WriteInteger(const std::string& section, const std::string& ident, int value) {
  WriteString(section, ident, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& ident, bool value) {
  WriteString(section, ident, value ? "1" : "0");
}
