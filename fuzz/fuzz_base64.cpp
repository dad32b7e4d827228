// DecodeBase64 on any text returns the counted length; EncodeBase64 and
// EncodeBase64R lay out their text by the rules, and decoding it, with or
// without line breaks, split across lines anywhere between groups, or
// joined after a padded group, gives the data back.
//
// Input: the bytes, taken both as Base64 text and as data.
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

  FUZZ_EXPECT_EQ("DecodeBase64 length", input, reference::base64_decoded_length(input), DecodeBase64(input).size());

  const std::string plain = EncodeBase64(input);
  FUZZ_EXPECT_EQ("EncodeBase64", input, reference::EncodeBase64R(input, ""), plain);
  {
    const fuzz::GuardedText text(plain);
    FUZZ_EXPECT_EQ("DecodeBase64 of EncodeBase64", plain, input, DecodeBase64(text.str()));
  }
  FUZZ_EXPECT_EQ("EncodeBase64R without a line break", input, plain, EncodeBase64R(input, ""));

  for (const std::string& line_break : fuzz::kLineBreaks) {
    const std::string lines = EncodeBase64R(input, line_break);
    FUZZ_EXPECT_EQ("EncodeBase64R", input, reference::EncodeBase64R(input, line_break), lines);
    const fuzz::GuardedText text(lines);
    FUZZ_EXPECT_EQ("DecodeBase64 of EncodeBase64R", lines, input, DecodeBase64(text.str()));
  }

  // Any run of CR and LF may stand where a group begins.
  static const std::string kRuns[] = {"", "\r\n", "\n", "\r", "\n\n\r\r\n"};
  std::string broken;
  for (std::size_t g = 0; g < plain.size(); g += 4) {
    broken += kRuns[size ? (data[(g / 4) % size] >> 4) % 5 : 0];
    broken += plain.substr(g, 4);
  }
  {
    const fuzz::GuardedText text(broken);
    FUZZ_EXPECT_EQ("DecodeBase64 skips line breaks between groups", broken, input, DecodeBase64(text.str()));
  }

  // A padded group does not end the text: the next one follows on. (Two
  // padded groups count more bytes than they hold; the rest is unfilled.)
  const std::size_t split = size ? data[0] % (size + 1) : 0;
  const std::string joined = EncodeBase64(input.substr(0, split)) + EncodeBase64(input.substr(split));
  {
    const fuzz::GuardedText text(joined);
    const std::string decoded = DecodeBase64(text.str());
    FUZZ_EXPECT_EQ("DecodeBase64 goes on after a padded group", joined, input, decoded.substr(0, input.size()));
  }
  return 0;
}
