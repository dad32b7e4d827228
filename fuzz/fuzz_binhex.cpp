// DecodeBinHex on any text returns the counted length; EncodeBinHex lays out
// its text by the rules, and DecodeBinHex of it gives the data back for each
// line break and for none.
//
// Input: the bytes, taken both as BinHex text and as data.
#include <cstddef>
#include <cstdint>

#include "Jconvert.h"
#include "support/fuzz_check.h"
#include "support/guarded_text.h"
#include "support/line_breaks.h"
#include "transfer_reference.h"

namespace {

void RoundTrip(const std::string& input, const std::string& line_break) {
  const std::string encoded = EncodeBinHex(input, line_break);
  FUZZ_EXPECT_EQ("EncodeBinHex", input, reference::EncodeBinHex(input, line_break), encoded);
  const fuzz::GuardedText text(encoded);
  FUZZ_EXPECT_EQ("DecodeBinHex of EncodeBinHex", encoded, input, DecodeBinHex(text.str()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::GuardedText guarded(data, size);
  const std::string& input = guarded.str();

  FUZZ_EXPECT_EQ("DecodeBinHex length", input, reference::binhex_decoded_length(input), DecodeBinHex(input).size());

  for (const std::string& line_break : fuzz::kLineBreaks) RoundTrip(input, line_break);
  RoundTrip(input, "");
  return 0;
}
