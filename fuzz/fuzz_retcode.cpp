// ReturnCodeCheck, ConvertReturnCode and StrictConvertReturnCode on any bytes
// and any source and target identifiers, compared with the rules.
//
// Input: target (int8), stated source (int8), stated target (int8), text.
#include <cstddef>
#include <cstdint>

#include "Jconvert.h"
#include "support/fuzz_check.h"
#include "support/guarded_text.h"

namespace {

std::string Sequence(int code) {
  switch (code) {
    case RETCODE_CRLF: return "\r\n";
    case RETCODE_CR: return "\r";
    case RETCODE_LF: return "\n";
    default: return "";
  }
}

int Detect(const std::string& s) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\n') return RETCODE_LF;
    if (s[i] == '\r') return i + 1 < s.size() && s[i + 1] == '\n' ? RETCODE_CRLF : RETCODE_CR;
  }
  return RETCODE_NONE;
}

// The rewriting scan, for a source of 1..3.
std::string Rewrite(const std::string& s, int source, int target) {
  if (source == RETCODE_NONE || source == target) return s;
  const std::string from = Sequence(source);
  const std::string to = Sequence(target);
  std::string out;
  std::size_t i = 0;
  while (i < s.size()) {
    if (s.compare(i, from.size(), from) == 0) {
      out += to;
      i += from.size();
    } else {
      out += s[i++];
    }
  }
  return out;
}

bool Contains(const std::string& s, const std::string& what) { return s.find(what) != std::string::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Params params(data, size);
  const int target = params.int8();
  const int strict_source = params.int8();
  const int strict_target = params.int8();
  const fuzz::GuardedText guarded(params.rest(), params.rest_size());
  const std::string& text = guarded.str();

  const int detected = ReturnCodeCheck(text);
  FUZZ_EXPECT_EQ("ReturnCodeCheck judges the first line end", text, Detect(text), detected);

  const std::string converted = ConvertReturnCode(text, target);
  FUZZ_EXPECT_EQ("ConvertReturnCode rewrites the detected line ends", text, Rewrite(text, detected, target), converted);
  // A lone CR or LF as the source leaves none of itself behind unless the
  // target is CR LF, which holds both. (A CR LF source can leave a CR LF
  // behind: a lone CR before a rewritten pair, or a pair's CR before an LF.)
  if ((detected == RETCODE_CR || detected == RETCODE_LF) && target != detected && target != RETCODE_CRLF &&
      Contains(converted, Sequence(detected))) {
    fuzz::Fail("no source line end remains", text, "", converted);
  }
  if (detected == RETCODE_NONE || target == detected) {
    FUZZ_EXPECT_EQ("nothing to rewrite", text, text, converted);
  }
  const std::string strict = StrictConvertReturnCode(text, strict_source, strict_target);
  if (strict_source >= RETCODE_NONE && strict_source <= RETCODE_LF) {
    FUZZ_EXPECT_EQ("StrictConvertReturnCode rewrites the stated line ends", text,
                   Rewrite(text, strict_source, strict_target), strict);
  }
  // Any other stated source is the caller's error: it only has to come back.
  return 0;
}
