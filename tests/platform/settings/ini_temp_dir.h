// The scratch folder, and small file and charset helpers for the settings
// and string-list tests.
#pragma once

#include <gtest/gtest.h>
#include <iconv.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "temp_dir.h"

namespace test_support {

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline mode_t ModeOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return static_cast<mode_t>(-1);
  return st.st_mode & 07777;
}

// glibc iconv, independent of the code under test; throws on any failure.
inline std::string Iconv(const std::string& text, const char* from, const char* to) {
  iconv_t cd = ::iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open");
  std::string out(text.size() * 4 + 8, '\0');
  char* in_p = const_cast<char*>(text.data());
  std::size_t in_left = text.size();
  char* out_p = out.data();
  std::size_t out_left = out.size();
  const bool ok = ::iconv(cd, &in_p, &in_left, &out_p, &out_left) != static_cast<std::size_t>(-1);
  ::iconv_close(cd);
  if (!ok) throw std::runtime_error("iconv");
  out.resize(out.size() - out_left);
  return out;
}

// UTF-8 text as a UTF-16LE profile file, byte order mark first.
inline std::string Utf16File(const std::string& utf8) { return "\xFF\xFE" + Iconv(utf8, "UTF-8", "UTF-16LE"); }

}  // namespace test_support
