// jis2euc and jis2sjis on any bytes, compared with the rule model; ToSjis and
// ToJis on the first two bytes.
#include <cstddef>
#include <cstdint>

#include "Jconvert.h"
#include "charcode_reference.h"
#include "support/fuzz_check.h"
#include "support/guarded_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::GuardedText guarded(data, size);
  const std::string& text = guarded.str();

  const std::string euc = jis2euc(text);
  FUZZ_EXPECT_EQ("jis2euc", text, reference::jis2euc(text), euc);
  // Every byte outside an escape sequence gives exactly one byte.
  if (euc.size() > text.size()) fuzz::Fail("jis2euc never grows", text, text, euc);

  FUZZ_EXPECT_EQ("jis2sjis", text, reference::jis2sjis(text), jis2sjis(text));

  if (size >= 2) {
    const std::string pair(reinterpret_cast<const char*>(data), 2);
    FUZZ_EXPECT_EQ("ToSjis", pair, reference::ToSjis(data[0], data[1]), ToSjis(data[0], data[1]));
    FUZZ_EXPECT_EQ("ToJis", pair, reference::ToJis(data[0], data[1]), ToJis(data[0], data[1]));
  }
  return 0;
}
