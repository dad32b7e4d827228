// euc2sjis and sjis2euc on any bytes, compared with the rule model.
#include <cstddef>
#include <cstdint>

#include "Jconvert.h"
#include "charcode_reference.h"
#include "support/fuzz_check.h"
#include "support/guarded_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::GuardedText guarded(data, size);
  const std::string& text = guarded.str();

  const std::string sjis = euc2sjis(text);
  FUZZ_EXPECT_EQ("euc2sjis", text, reference::euc2sjis(text), sjis);
  // Pairs stay pairs, 0x8E k shrinks to k, everything else is copied.
  if (sjis.size() > text.size()) fuzz::Fail("euc2sjis never grows", text, text, sjis);

  const std::string euc = sjis2euc(text);
  FUZZ_EXPECT_EQ("sjis2euc", text, reference::sjis2euc(text), euc);
  if (euc.size() > 2 * text.size()) fuzz::Fail("sjis2euc at most doubles", text, text, euc);
  return 0;
}
