// Well-formed text built from the input, the same characters written in
// EUC-JP and in Shift_JIS: conversions between the codes give the text back,
// and JIS output is detected as JIS.
//
// Input: pairs of bytes, each a character: the first byte picks the kind
// (ASCII, JIS X 0208, half-width katakana), the second which one.
#include <cstddef>
#include <cstdint>

#include "Jconvert.h"
#include "charcode_reference.h"
#include "support/fuzz_check.h"
#include "support/guarded_text.h"

namespace {

struct Texts {
  std::string euc, sjis;            // every character
  std::string euc_wide, sjis_wide;  // without the half-width katakana
  bool japanese = false;            // holds a double-byte character or katakana
};

Texts Build(const std::uint8_t* data, std::size_t size) {
  Texts t;
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    const unsigned kind = data[i] % 4;
    const unsigned v = data[i + 1];
    if (kind == 0) {
      // 0x08..0x7F but ESC: no binary byte, no escape sequence.
      char c = static_cast<char>(0x08 + v % 0x78);
      if (c == '\x1B') c = '\n';
      t.euc += c;
      t.sjis += c;
      t.euc_wide += c;
      t.sjis_wide += c;
    } else if (kind == 3) {
      const char k = static_cast<char>(0xA1 + v % 63);
      t.euc += '\x8E';
      t.euc += k;
      t.sjis += k;
      t.japanese = true;
    } else {
      const int row = 0x21 + static_cast<int>(v % 94);
      const int cell = 0x21 + static_cast<int>((v * 7u + data[i]) % 94);
      std::string e;
      e += static_cast<char>(row | 0x80);
      e += static_cast<char>(cell | 0x80);
      const std::string s = reference::ToSjis(row, cell);
      t.euc += e;
      t.euc_wide += e;
      t.sjis += s;
      t.sjis_wide += s;
      t.japanese = true;
    }
  }
  return t;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Texts t = Build(data, size);
  const fuzz::GuardedText euc(t.euc), sjis(t.sjis), euc_wide(t.euc_wide), sjis_wide(t.sjis_wide);

  FUZZ_EXPECT_EQ("euc2sjis of EUC-JP text", t.euc, t.sjis, euc2sjis(euc.str()));
  FUZZ_EXPECT_EQ("sjis2euc of Shift_JIS text", t.sjis, t.euc, sjis2euc(sjis.str()));

  // Katakana have one full-width form, whichever code they come from.
  const std::string jis = euc2jis83(euc.str());
  FUZZ_EXPECT_EQ("euc2jis83 and sjis2jis83 agree", t.euc, jis, sjis2jis83(sjis.str()));
  const fuzz::GuardedText jis_guarded(jis);
  FUZZ_EXPECT_EQ("jis2euc and jis2sjis agree on JIS output", jis, jis2euc(jis_guarded.str()),
                 sjis2euc(jis2sjis(jis_guarded.str())));
  FUZZ_EXPECT_EQ("JIS output is detected as JIS", jis, t.japanese ? JCODE_JIS83 : JCODE_ASCII,
                 InCodeCheck(jis_guarded.str()));

  const std::string jis_wide = euc2jis83(euc_wide.str());
  const fuzz::GuardedText jis_wide_guarded(jis_wide);
  FUZZ_EXPECT_EQ("EUC-JP through JIS and back", t.euc_wide, t.euc_wide, jis2euc(jis_wide_guarded.str()));
  FUZZ_EXPECT_EQ("Shift_JIS through JIS and back", t.sjis_wide, t.sjis_wide, jis2sjis(sjis2jis83(sjis_wide.str())));
  FUZZ_EXPECT_EQ("EUC-JP through JIS to Shift_JIS", t.euc_wide, t.sjis_wide, jis2sjis(jis_wide_guarded.str()));
  return 0;
}
