// InCodeCheck under any STRICT_CHECK_LEN, and the dispatch of ConvertJCode and
// StrictConvertJCode for any source and target code.
//
// Input: STRICT_CHECK_LEN (int16, little endian; -32768 and 32767 stand for
// the int32 extremes), target code (int8), stated source code (int8), text.
#include <climits>
#include <cstddef>
#include <cstdint>

#include "Jconvert.h"
#include "charcode_reference.h"
#include "support/fuzz_check.h"
#include "support/guarded_text.h"

namespace {

bool IsTarget(int code) { return code == JCODE_JIS83 || code == JCODE_EUC || code == JCODE_SJIS; }

// The dispatch table, in terms of the six named conversions.
std::string Dispatch(const std::string& text, int source, int target) {
  if (!IsTarget(target)) return text;
  if (source >= 7) return {};
  switch (source) {
    case JCODE_JIS83:
    case JCODE_JIS78: return target == JCODE_EUC ? jis2euc(text) : target == JCODE_SJIS ? jis2sjis(text) : text;
    case JCODE_EUC: return target == JCODE_JIS83 ? euc2jis83(text) : target == JCODE_SJIS ? euc2sjis(text) : text;
    case JCODE_SJIS: return target == JCODE_JIS83 ? sjis2jis83(text) : target == JCODE_EUC ? sjis2euc(text) : text;
    default:  // below 2, or undecided
      return text;
  }
}

bool AllPlain(const std::string& s) {
  for (unsigned char c : s) {
    if (c < 0x08 || c == 0x1B || c >= 0x80) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Params params(data, size);
  const short scl16 = params.int16();
  const int target = params.int8();
  const int source = params.int8();
  const std::int32_t scl = scl16 == SHRT_MIN ? INT32_MIN : scl16 == SHRT_MAX ? INT32_MAX : scl16;
  const fuzz::GuardedText guarded(params.rest(), params.rest_size());
  const std::string& text = guarded.str();

  STRICT_CHECK_LEN = scl;
  const int code = InCodeCheck(text);
  if (code < JCODE_ASCII || code > JCODE_EUC_OR_SJIS) fuzz::Fail("InCodeCheck in 0..6", text, 0, code);
  FUZZ_EXPECT_EQ("InCodeCheck matches the detection rules", text, reference::InCodeCheck(text, scl), code);

  // Facts that follow from the rules on their own, stated apart from the model.
  if (text.size() <= 1 || AllPlain(text)) {
    FUZZ_EXPECT_EQ("short or plain 7-bit text is ASCII", text, JCODE_ASCII, code);
  }
  const std::int64_t prescan = std::min<std::int64_t>(scl, static_cast<std::int64_t>(text.size()) - 1);
  for (std::int64_t i = 0; i < prescan; ++i) {
    const auto c = static_cast<unsigned char>(text[static_cast<std::size_t>(i)]);
    if (c < 0x08 || c == 0xFF) {
      FUZZ_EXPECT_EQ("a binary byte in the pre-scan decides", text, JCODE_BINARY, code);
      break;
    }
  }
  FUZZ_EXPECT_EQ("InCodeCheck leaves STRICT_CHECK_LEN alone", text, scl, STRICT_CHECK_LEN);

  FUZZ_EXPECT_EQ("ConvertJCode follows the dispatch table", text, Dispatch(text, code, target),
                 ConvertJCode(text, target));
  FUZZ_EXPECT_EQ("StrictConvertJCode follows the dispatch table", text, Dispatch(text, source, target),
                 StrictConvertJCode(text, source, target));
  STRICT_CHECK_LEN = 512;
  return 0;
}
