#include "mail_display.h"

#include <array>
#include <cstdint>
#include <memory>

#include "Jconvert.h"
#include "iconv_converter.h"

namespace {

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Code page 932 holds some characters twice: NEC's row 13 and the IBM
// extensions overlap each other and row 2, and the IBM kanji have
// NEC-selected copies, so 髙 arrives as EE E0 from ISO-2022-JP and as FB FC
// from UTF-8. For the NG-word test each such code stands for the one that
// iconv gives the character back as.
using CodeTable = std::array<std::uint16_t, 0x10000>;

std::unique_ptr<CodeTable> MakePreferredCodes() {
  auto table = std::make_unique<CodeTable>();
  for (std::size_t code = 0; code < table->size(); ++code) (*table)[code] = static_cast<std::uint16_t>(code);
  tolvane::text::IconvConverter decode("UTF-8", "CP932");
  tolvane::text::IconvConverter encode("CP932", "UTF-8");
  if (!decode.ok() || !encode.ok()) return table;
  const auto skip = [](std::string&, std::string_view rest) { return rest.size(); };
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      const std::string utf8 = decode.Convert(std::string_view(pair, 2), skip);
      if (utf8.empty()) continue;
      const std::string back = encode.Convert(utf8, skip);
      if (back.size() == 2)
        (*table)[lead << 8 | trail] =
            static_cast<std::uint16_t>(static_cast<unsigned char>(back[0]) << 8 | static_cast<unsigned char>(back[1]));
    }
  }
  return table;
}

std::string WithPreferredCodes(const std::string& sjis) {
  static const std::unique_ptr<CodeTable> table = MakePreferredCodes();
  std::string out;
  out.reserve(sjis.size());
  for (std::size_t i = 0; i < sjis.size(); ++i) {
    const auto b = static_cast<unsigned char>(sjis[i]);
    if (IsLeadByte(b) && i + 1 < sjis.size()) {
      const std::uint16_t code = (*table)[b << 8 | static_cast<unsigned char>(sjis[i + 1])];
      out += static_cast<char>(code >> 8);
      out += static_cast<char>(code & 0xFF);
      ++i;
    } else {
      out += sjis[i];
    }
  }
  return out;
}

}  // namespace

std::string DecodeForDisplay(const std::string& raw) { return DecodeHeaderForDisplay(raw); }

bool HasNgWord(const std::string& subject, const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& word : words) {
    if (word.empty()) return false;
    if (text.empty()) text = WithPreferredCodes(subject);
    if (text.find(WithPreferredCodes(word)) != std::string::npos) return true;
  }
  return false;
}
