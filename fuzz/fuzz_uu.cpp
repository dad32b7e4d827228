// DecodeUU on any text returns the counted length; EncodeUU lays out its
// lines by the rules, and DecodeUU of them gives the data back for each
// line break.
//
// Input: the bytes, taken both as UU text and as data.
#include <cstddef>
#include <cstdint>

#include "Jconvert.h"
#include "support/fuzz_check.h"
#include "support/guarded_text.h"
#include "support/line_breaks.h"
#include "support/reference_transfer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::GuardedText guarded(data, size);
  const std::string& input = guarded.str();

  FUZZ_EXPECT_EQ("DecodeUU length", input, fuzz::ref::UuDecodedLength(input), DecodeUU(input).size());

  for (const std::string& line_break : fuzz::kLineBreaks) {
    const std::string lines = EncodeUU(input, line_break);
    FUZZ_EXPECT_EQ("EncodeUU", input, fuzz::ref::EncodeUU(input, line_break), lines);
    const fuzz::GuardedText text(lines);
    FUZZ_EXPECT_EQ("DecodeUU of EncodeUU", lines, input, DecodeUU(text.str()));
  }
  FUZZ_EXPECT_EQ("EncodeUU without a line break", input, fuzz::ref::EncodeUU(input, ""), EncodeUU(input, ""));
  return 0;
}
