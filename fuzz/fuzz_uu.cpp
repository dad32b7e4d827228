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
#include "transfer_reference.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::GuardedText guarded(data, size);
  const std::string& input = guarded.str();

  FUZZ_EXPECT_EQ("DecodeUU length", input, reference::uu_decoded_length(input), DecodeUU(input).size());

  for (const std::string& line_break : fuzz::kLineBreaks) {
    const std::string lines = EncodeUU(input, line_break);
    FUZZ_EXPECT_EQ("EncodeUU", input, reference::EncodeUU(input, line_break), lines);
    const fuzz::GuardedText text(lines);
    FUZZ_EXPECT_EQ("DecodeUU of EncodeUU", lines, input, DecodeUU(text.str()));
    // Older encoders write a space for the value 0; it reads the same.
    std::string spaced = lines;
    for (char& c : spaced) c = c == '`' ? ' ' : c;
    const fuzz::GuardedText spaced_text(spaced);
    FUZZ_EXPECT_EQ("DecodeUU reads a space as the backquote", spaced, input, DecodeUU(spaced_text.str()));
  }
  FUZZ_EXPECT_EQ("EncodeUU without a line break", input, reference::EncodeUU(input, ""), EncodeUU(input, ""));
  return 0;
}
