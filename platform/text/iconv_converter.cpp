#include "iconv_converter.h"

#include <iconv.h>

#include <cerrno>

namespace tolvane::text {
namespace {

const iconv_t kNoConversion = reinterpret_cast<iconv_t>(-1);

}  // namespace

IconvConverter::IconvConverter(const char* to, const char* from) : cd_(::iconv_open(to, from)) {}

IconvConverter::~IconvConverter() {
  if (ok()) ::iconv_close(cd_);
}

bool IconvConverter::ok() const { return cd_ != kNoConversion; }

std::string IconvConverter::Convert(std::string_view in, const OnBad& on_bad) {
  std::string out;
  ::iconv(cd_, nullptr, nullptr, nullptr, nullptr);
  char buf[1024];
  char* src = const_cast<char*>(in.data());
  std::size_t left = in.size();
  while (left > 0) {
    char* dst = buf;
    std::size_t room = sizeof buf;
    const std::size_t rc = ::iconv(cd_, &src, &left, &dst, &room);
    out.append(buf, sizeof buf - room);
    // E2BIG only means the buffer is full; anything else stopped at a
    // sequence that has no conversion (or is cut off at the end).
    if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
      const std::size_t skip = on_bad(out, std::string_view(src, left));
      src += skip;
      left -= skip;
      ::iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
  }
  return out;
}

}  // namespace tolvane::text
