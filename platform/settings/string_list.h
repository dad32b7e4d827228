// TStringList: a list of byte-string lines, loaded from a text file.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

// A file could not be opened or read. what() is the Shift_JIS text
// "ファイル <path> は開けません".
class EFOpenError : public std::runtime_error {
 public:
  explicit EFOpenError(const std::string& file_name);
};

class TStringList {
 public:
  int Count() const { return static_cast<int>(FStrings.size()); }
  const std::string& operator[](int index) const { return FStrings.at(static_cast<std::size_t>(index)); }
  const std::vector<std::string>& Strings() const { return FStrings; }
  void Add(std::string s) { FStrings.push_back(std::move(s)); }
  void Clear() { FStrings.clear(); }

  // Replaces the list with the lines of the file: split at CR LF, CR or LF,
  // a last line without a line end included, the text ending at the first
  // NUL byte; blanks are kept. Throws EFOpenError, leaving the list as it
  // was, when the file cannot be opened or read.
  void LoadFromFile(const std::string& file_name);
  // The same split, on text.
  void SetText(const std::string& text);

 private:
  std::vector<std::string> FStrings;
};
