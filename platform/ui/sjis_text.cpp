#include "sjis_text.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace platform {
namespace {

// One converter per direction, reset before each use; the interface runs on
// one thread only.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts `in`; on a sequence it cannot convert it calls `bad` with the
  // remaining input and skips as many bytes as `bad` returns.
  template <typename OnBad>
  std::string run(const char* in, std::size_t len, OnBad bad) {
    std::string out;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::vector<char> buf(len * 4 + 16);
    char* src = const_cast<char*>(in);
    std::size_t left = len;
    while (left > 0) {
      char* dst = buf.data();
      std::size_t room = buf.size();
      const std::size_t r = iconv(cd_, &src, &left, &dst, &room);
      out.append(buf.data(), static_cast<std::size_t>(dst - buf.data()));
      if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
        const std::size_t skip = bad(out, src, left);
        src += skip;
        left -= skip;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
      }
    }
    return out;
  }

 private:
  iconv_t cd_;
};

Converter& decoder() {
  static Converter c("UTF-8", "CP932");
  return c;
}

Converter& encoder() {
  static Converter c("CP932", "UTF-8");
  return c;
}

std::size_t utf8_length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

}  // namespace

QString SjisToQString(const std::string& sjis) {
  if (sjis.empty()) return {};
  Converter& c = decoder();
  if (!c.ok()) return QString::fromLatin1(sjis.data(), static_cast<qsizetype>(sjis.size()));
  const std::string utf8 = c.run(sjis.data(), sjis.size(), [](std::string& out, const char*, std::size_t) {
    out += "\xEF\xBF\xBD";
    return std::size_t{1};
  });
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string QStringToSjis(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  if (utf8.isEmpty()) return {};
  Converter& c = encoder();
  if (!c.ok()) return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
  return c.run(utf8.constData(), static_cast<std::size_t>(utf8.size()),
               [](std::string& out, const char* rest, std::size_t left) {
                 out += '?';
                 const std::size_t n = utf8_length(static_cast<unsigned char>(*rest));
                 return n < left ? n : left;
               });
}

}  // namespace platform
