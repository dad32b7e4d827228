// DecodeHeaderString on any header value: every encoded-word becomes the
// decoded bytes of its Base64 text, of the counted length, and ESC ( J; the
// rest passes through. CreateHeaderString of any bytes gives one word per run
// of double-byte characters, and DecodeHeaderString of its result comes
// back; for well-formed Shift_JIS the two give the text back as JIS.
//
// Input: the bytes, taken as a header value, as Shift_JIS text, and as
// pairs that build well-formed Shift_JIS (kind, value).
#include <cstddef>
#include <cstdint>

#include "Jconvert.h"
#include "charcode_reference.h"
#include "support/fuzz_check.h"
#include "support/guarded_text.h"
#include "transfer_reference.h"

namespace {

const std::string kPrefix = "=?ISO-2022-JP?B?";

std::string Upper(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

// Words are found left to right in the value as it came: a word's decoded
// bytes are never searched again for another word.
void ExpectDecoded(const std::string& value, const std::string& actual) {
  const std::string upper = Upper(value);
  std::string expected;
  std::size_t length = 0;
  std::size_t from = 0;
  for (std::size_t p = upper.find(kPrefix); p != std::string::npos; p = upper.find(kPrefix, from)) {
    expected += value.substr(from, p - from);
    length += p - from;
    const std::size_t start = p + kPrefix.size();
    const std::size_t end = value.find("?=", start);
    if (end == std::string::npos) {
      from = start;  // the prefix goes, its text stays
      continue;
    }
    const std::string encoded = value.substr(start, end - start);
    expected += DecodeBase64(encoded) + "\x1B(J";
    length += reference::base64_decoded_length(encoded) + 3;
    from = end + 2;
  }
  expected += value.substr(from);
  length += value.size() - from;
  FUZZ_EXPECT_EQ("DecodeHeaderString length", value, length, actual.size());
  FUZZ_EXPECT_EQ("DecodeHeaderString", value, expected, actual);
}

bool IsLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Each maximal run of double-byte characters becomes one word; every other
// byte is copied in place. A lead byte at the very end is the
// implementation's choice, so only the output before its run is fixed.
void ExpectCreated(const std::string& text, const std::string& actual) {
  std::string expected;
  std::size_t i = 0;
  while (i < text.size()) {
    if (!IsLead(static_cast<unsigned char>(text[i]))) {
      expected += text[i++];
      continue;
    }
    const std::size_t run = i;
    while (i + 1 < text.size() && IsLead(static_cast<unsigned char>(text[i]))) i += 2;
    if (i + 1 == text.size() && IsLead(static_cast<unsigned char>(text[i]))) {
      // The lone byte may join the run's word, so the word is open too.
      if (actual.compare(0, expected.size(), expected) != 0) {
        fuzz::Fail("CreateHeaderString before a lone lead byte", text, expected + " ...", actual);
      }
      return;
    }
    if (i > run) expected += kPrefix + EncodeBase64(sjis2jis83(text.substr(run, i - run))) + "?=";
  }
  FUZZ_EXPECT_EQ("CreateHeaderString", text, expected, actual);
}

// Plain characters (no ESC), half-width katakana and double-byte characters.
std::string WellFormedSjis(const std::uint8_t* data, std::size_t size) {
  std::string s;
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    const unsigned v = data[i + 1];
    switch (data[i] % 4) {
      case 0: s += static_cast<char>(v % 0x80 == 0x1B ? ' ' : v % 0x80); break;
      case 1: s += static_cast<char>(0xA1 + v % 63); break;
      default: s += reference::ToSjis(0x21 + static_cast<int>(v % 94), 0x21 + static_cast<int>(data[i] % 94));
    }
  }
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::GuardedText guarded(data, size);
  const std::string& input = guarded.str();

  ExpectDecoded(input, DecodeHeaderString(input));

  const std::string created = CreateHeaderString(input);
  ExpectCreated(input, created);
  {
    const fuzz::GuardedText text(created);
    ExpectDecoded(created, DecodeHeaderString(text.str()));
  }

  const std::string sjis = WellFormedSjis(data, size);
  if (Upper(sjis).find(kPrefix) == std::string::npos) {
    const std::string words = CreateHeaderString(sjis);
    for (std::size_t i = 0; i < words.size(); ++i) {
      if (IsLead(static_cast<unsigned char>(words[i]))) {
        fuzz::Fail("CreateHeaderString leaves no double-byte character", sjis, "", words);
      }
    }
    const std::string decoded = DecodeHeaderString(words);
    FUZZ_EXPECT_EQ("CreateHeaderString, DecodeHeaderString, jis2sjis", words, sjis, jis2sjis(decoded));
  }
  return 0;
}
