// TIniFile: the settings file, read and written by the rules of the Windows
// private-profile functions (see ini_parser.h). Strings are Shift_JIS bytes.
// A file that begins with FF FE is UTF-16LE and stays so; its text passes
// through code page 932 on the way in and out, as on Windows.
//
// Like the Windows functions, every write reads and rewrites the whole file
// at once, with no buffering in between: each write is atomic by itself, a
// failure names the write that failed and leaves the earlier ones saved, and
// there is no unsaved state for a destructor to lose. The nineteen writes of
// a close took about 0.25 s with the flushes to disk here; writes
// that change nothing cost no flush at all.
#pragma once

#include <stdexcept>
#include <string>

// A settings file could not be written. what() is the Shift_JIS text
// "<path> に書き込めません"; the file is left as it was.
class EIniFileException : public std::runtime_error {
 public:
  explicit EIniFileException(const std::string& file_name);
};

class TIniFile {
 public:
  explicit TIniFile(std::string file_name) : FFileName(std::move(file_name)) {}

  const std::string& FileName() const { return FFileName; }

  // The value, at most 2047 bytes of it (the profile reader's 2048-byte
  // buffer). A missing or unreadable file, section or key gives def, less
  // its trailing spaces.
  std::string ReadString(const std::string& section, const std::string& ident, const std::string& def) const;
  // Decimal, or hexadecimal after "0x", "0X" or "$", with an optional sign;
  // anything else, or a missing key, gives def.
  int ReadInteger(const std::string& section, const std::string& ident, int def) const;
  // ReadInteger with def 1 or 0; true when non-zero.
  bool ReadBool(const std::string& section, const std::string& ident, bool def) const;

  // Each write updates the file at once, atomically: on return the file
  // holds the value, or EIniFileException was thrown and the file is as it
  // was. A file this creates gets mode 0600: it holds passwords.
  void WriteString(const std::string& section, const std::string& ident, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& ident, int value);
  // Writes "1" or "0".
  void WriteBool(const std::string& section, const std::string& ident, bool value);

 private:
  std::string FFileName;
};
