// A fresh folder per test, removed with everything in it afterwards, and
// small file and charset helpers for the settings and string-list tests.
#pragma once

#include <gtest/gtest.h>
#include <iconv.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace test_support {

class TempDir {
 public:
  TempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string templ = std::string(base && *base ? base : "/tmp") + "/tolvane-test-XXXXXX";
    std::vector<char> buf(templ.begin(), templ.end());
    buf.push_back('\0');
    if (::mkdtemp(buf.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = buf.data();
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir() {
    std::error_code ec;
    // A test may leave a folder read-only; open it up so that it can go.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
      if (it->is_directory(ec)) ::chmod(it->path().c_str(), 0700);
    ::chmod(path_.c_str(), 0700);
    std::filesystem::remove_all(path_, ec);
  }
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  // Names in the folder, sorted.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(path_)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::string path_;
};

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
