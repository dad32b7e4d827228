// One iconv conversion (say CP932 to UTF-8) that goes on past what it cannot
// convert: the caller says what stands in for such a sequence and how much
// of it to skip. Plain C++, so that the settings file can use it as well as
// the Qt side.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace tolvane::text {

class IconvConverter {
 public:
  // Appends what stands in for the unconvertible sequence at the start of
  // `rest` and returns how many of its bytes to skip (1 to rest.size()).
  using OnBad = std::function<std::size_t(std::string& out, std::string_view rest)>;

  // iconv names, as for iconv_open.
  IconvConverter(const char* to, const char* from);
  ~IconvConverter();
  IconvConverter(const IconvConverter&) = delete;
  IconvConverter& operator=(const IconvConverter&) = delete;

  // False when iconv knows no such conversion; Convert must not be called then.
  bool ok() const;

  // Converts the whole of `in` from a fresh shift state.
  std::string Convert(std::string_view in, const OnBad& on_bad);

 private:
  void* cd_;  // iconv_t
};

}  // namespace tolvane::text
