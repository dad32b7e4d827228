// DecodeHeaderForDisplay and Utf8ToDisplaySjis on any bytes: the result is
// always whole code page 932 characters (glibc decodes all of it) with no
// control character, and at most two bytes per input byte. Text in a UTF-8
// word, whole or cut into a B and a Q word at any byte, shows as
// Utf8ToDisplaySjis shows the text itself; printable ASCII without "=?" is
// shown as it is.
//
// Input: the bytes, taken as a header value and as the text of UTF-8 words;
// the first byte also picks the cut.
#include <iconv.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "Jconvert.h"
#include "support/fuzz_check.h"
#include "support/guarded_text.h"

namespace {

// Whole characters of code page 932, as glibc decodes them, and no control characters.
void ExpectShownText(const char* what, const std::string& input, const std::string& shown) {
  if (shown.size() > 2 * input.size()) fuzz::Fail(what, input, "at most twice the input", shown);
  iconv_t cd = iconv_open("UTF-8", "CP932");
  if (cd == reinterpret_cast<iconv_t>(-1)) return;
  std::string utf8(shown.size() * 3 + 1, '\0');
  char* in = const_cast<char*>(shown.data());
  std::size_t in_left = shown.size();
  char* out = utf8.data();
  std::size_t out_left = utf8.size();
  const bool whole = iconv(cd, &in, &in_left, &out, &out_left) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  if (!whole) fuzz::Fail(what, input, "code page 932 characters only", shown);
  utf8.resize(utf8.size() - out_left);
  for (const char c : utf8) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) fuzz::Fail(what, input, "no control character", shown);
  }
  // C1 controls are U+0080..U+009F: C2 80..C2 9F in UTF-8.
  for (std::size_t i = 0; i + 1 < utf8.size(); ++i) {
    if (utf8[i] == '\xC2' && static_cast<unsigned char>(utf8[i + 1]) <= 0x9F)
      fuzz::Fail(what, input, "no control character", shown);
  }
}

std::string QText(const std::string& bytes) {
  static const char hex[] = "0123456789ABCDEF";
  std::string q;
  for (const char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    q += '=';
    q += hex[c >> 4];
    q += hex[c & 15];
  }
  return q;
}

// A byte-order mark at the start of a word's text chooses the word's
// encoding, so such text is left out of the comparisons.
bool StartsLikeAByteOrderMark(const std::string& s) {
  return s.rfind("\xEF\xBB\xBF", 0) == 0 || s.rfind("\xFE\xFF", 0) == 0 || s.rfind("\xFF\xFE", 0) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::GuardedText guarded(data, size);
  const std::string& input = guarded.str();

  const std::string shown = DecodeHeaderForDisplay(input);
  ExpectShownText("DecodeHeaderForDisplay", input, shown);

  bool plain = input.find("=?") == std::string::npos;
  for (const char c : input) plain = plain && c >= 0x20 && c <= 0x7E;
  if (plain) FUZZ_EXPECT_EQ("printable ASCII shows as it is", input, input, shown);

  const std::string direct = Utf8ToDisplaySjis(input);
  ExpectShownText("Utf8ToDisplaySjis", input, direct);

  if (!StartsLikeAByteOrderMark(input)) {
    const std::string word = "=?UTF-8?B?" + EncodeBase64(input) + "?=";
    const fuzz::GuardedText word_text(word);
    FUZZ_EXPECT_EQ("one UTF-8 word", word, direct, DecodeHeaderForDisplay(word_text.str()));

    const std::size_t cut = size ? data[0] % (size + 1) : 0;
    const std::string halves =
        "=?utf-8?B?" + EncodeBase64(input.substr(0, cut)) + "?=\r\n =?UTF-8*en?Q?" + QText(input.substr(cut)) + "?=";
    const fuzz::GuardedText halves_text(halves);
    FUZZ_EXPECT_EQ("UTF-8 cut across a B and a Q word", halves, direct, DecodeHeaderForDisplay(halves_text.str()));
  }
  return 0;
}
