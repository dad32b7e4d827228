// A file in /tmp holding given bytes, removed when it goes out of scope.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace test_support {

class TempFile {
 public:
  explicit TempFile(const std::string& content) {
    char name[] = "/tmp/tolvane-test-XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0) throw std::runtime_error("mkstemp failed");
    path_ = name;
    std::FILE* f = fdopen(fd, "wb");
    std::fwrite(content.data(), 1, content.size(), f);
    std::fclose(f);
  }
  ~TempFile() { std::remove(path_.c_str()); }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace test_support
