// euc2jis83 and sjis2jis83 on any bytes, compared with the rule model.
#include <cstddef>
#include <cstdint>

#include "Jconvert.h"
#include "charcode_reference.h"
#include "support/fuzz_check.h"
#include "support/guarded_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::GuardedText guarded(data, size);
  const std::string& text = guarded.str();

  const std::string from_euc = euc2jis83(text);
  FUZZ_EXPECT_EQ("euc2jis83", text, reference::euc2jis83(text), from_euc);
  // JIS text is 7-bit: EUC bytes lose their top bit, katakana get 7-bit codes.
  for (unsigned char c : from_euc) {
    if (c >= 0x80) fuzz::Fail("euc2jis83 output is 7-bit", text, "", from_euc);
  }

  const std::string from_sjis = sjis2jis83(text);
  FUZZ_EXPECT_EQ("sjis2jis83", text, reference::sjis2jis83(text), from_sjis);
  return 0;
}
