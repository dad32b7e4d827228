#include "sjis_text.h"

#include "iconv_converter.h"

namespace platform {
namespace {

using tolvane::text::IconvConverter;

// One converter per direction, kept for the program's life (each text starts
// from a fresh state); the interface runs on one thread only.
IconvConverter& decoder() {
  static IconvConverter c("UTF-8", "CP932");
  return c;
}

IconvConverter& encoder() {
  static IconvConverter c("CP932", "UTF-8");
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
  IconvConverter& c = decoder();
  if (!c.ok()) return QString::fromLatin1(sjis.data(), static_cast<qsizetype>(sjis.size()));
  const std::string utf8 = c.Convert(sjis, [](std::string& out, std::string_view) {
    out += "\xEF\xBF\xBD";
    return std::size_t{1};
  });
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string QStringToSjis(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  if (utf8.isEmpty()) return {};
  IconvConverter& c = encoder();
  if (!c.ok()) return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
  return c.Convert(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())),
                   [](std::string& out, std::string_view rest) {
                     out += '?';
                     const std::size_t n = utf8_length(static_cast<unsigned char>(rest.front()));
                     return n < rest.size() ? n : rest.size();
                   });
}

}  // namespace platform
