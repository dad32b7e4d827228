// The private-profile (INI) text rules of the Windows profile functions, on
// the bytes of a whole file. Files are Shift_JIS: names compare with ASCII
// case folding only, and the trail byte of a double-byte character is never
// taken for a bracket or folded.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tolvane::ini {

// The code of the text: Shift_JIS pairs its double-byte characters; in UTF-8
// no byte of a multi-byte character can be taken for ASCII anyway.
enum class TextCode { kShiftJis, kUtf8 };

// The value of key in the first section called section, as the profile
// reader returns it: blanks (space, tab, VT) around it trimmed and one outer
// pair of equal quotes removed. Nothing if the section or the key is absent.
// Leading and trailing spaces of section and key are ignored.
std::optional<std::string> FindValue(std::string_view text, std::string_view section, std::string_view key,
                                     TextCode code = TextCode::kShiftJis);

// text with key of section set to value, which is written as given (see
// EncodeValue). An existing key line is rewritten in place, keeping its
// spelling and line end; a new key goes after the last key line of the
// section, a new section at the end of the file. Every other byte stays.
std::string SetValue(std::string_view text, std::string_view section, std::string_view key, std::string_view value,
                     TextCode code = TextCode::kShiftJis);

// The form in which value is stored so that FindValue (and the Windows
// reader) gives it back: the value as it is, except that a value with blanks
// at either end, or enclosed in a pair of equal quotes, is put in double
// quotes, and that it ends at the first CR, LF or NUL, which a line cannot
// hold.
std::string EncodeValue(std::string_view value);

}  // namespace tolvane::ini
