// DecodeHeaderForDisplay by kind of header value, and its character rules.
// Expected text is written in UTF-8 and turned into code page 932 by glibc,
// except where the code page 932 bytes themselves are the point.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "Jconvert.h"
#include "byte_assert.h"
#include "iconv_oracle.h"
#include "src/cp932_codes.h"

namespace {

struct Case {
  const char* name;
  std::string raw;
  std::string shown;
};

std::string Sjis(const char8_t* utf8) {
  const std::string text(reinterpret_cast<const char*>(utf8));
  const auto sjis = test_support::iconv_convert(text, "UTF-8", "CP932");
  EXPECT_TRUE(sjis) << "not in code page 932: " << text;
  return sjis.value_or("");
}

std::string Utf8(const char8_t* utf8) { return reinterpret_cast<const char*>(utf8); }

std::string B(const std::string& charset, const std::string& bytes) {
  return "=?" + charset + "?B?" + EncodeBase64(bytes) + "?=";
}

// Every byte but letters and digits as =XX, a space as "_".
std::string Q(const std::string& charset, const std::string& bytes) {
  static const char hex[] = "0123456789ABCDEF";
  std::string text;
  for (const char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == ' ') text += '_';
    else if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) text += ch;
    else text += {'=', hex[c >> 4], hex[c & 15]};
  }
  return "=?" + charset + "?Q?" + text + "?=";
}

const std::string kGeta = "\x81\xAC";
const std::string kMeetingJis = "\x1B$B2q5D\x1B(B";  // 会議

template <std::size_t N>
void ExpectShown(const Case (&cases)[N]) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_BYTES_EQ(DecodeHeaderForDisplay(c.raw), c.shown);
  }
}

TEST(HeaderDisplayWords, BAndQInAnyLetterCase) {
  const Case cases[] = {
      {"B", B("UTF-8", Utf8(u8"日本語")), Sjis(u8"日本語")},
      {"b and lower-case charset", "=?utf-8?b?" + EncodeBase64(Utf8(u8"件名")) + "?=", Sjis(u8"件名")},
      {"B without its padding", "=?UTF-8?B?5pel?=", Sjis(u8"日")},
      {"Q", Q("UTF-8", Utf8(u8"テスト")), Sjis(u8"テスト")},
      {"q with lower-case hex", "=?utf-8?q?=e3=83=86?=", Sjis(u8"テ")},
      {"Q underscore is a space", "=?US-ASCII?Q?a_b=5Fc?=", "a b_c"},
      {"Q holding raw UTF-8 bytes", "=?UTF-8?Q?" + Utf8(u8"日本") + "?=", Sjis(u8"日本")},
      {"RFC 2231 language suffix", B("UTF-8*ja", Utf8(u8"①㈱")), Sjis(u8"①㈱")},
      {"language suffix on Q", "=?iso-2022-jp*ja-JP?Q?=1B$B2q5D=1B(B?=", Sjis(u8"会議")},
      {"empty text",
       "a=?UTF-8?B?"
       "?=b",
       "ab"},
      {"word inside text", "Re:" + B("UTF-8", Utf8(u8"件")) + "!", "Re:" + Sjis(u8"件") + "!"},
  };
  ExpectShown(cases);
}

TEST(HeaderDisplayCharsets, LabelsResolveAsTheEncodingStandardDoes) {
  const Case cases[] = {
      // iso-8859-1 is windows-1252: 0x93 0x94 are quotation marks, not C1 controls.
      {"iso-8859-1 is windows-1252", Q("iso-8859-1", "\x93x\x94"), Sjis(u8"“x”")},
      {"us-ascii is windows-1252", Q("us-ascii", "\x93"), Sjis(u8"“")},
      {"latin1 byte C1 control left open by windows-1252", Q("latin1", "a\x81z"), "a z"},
      {"gb2312 is GBK", Q("gb2312", "\x81\x84"), Sjis(u8"亜")},  // 亜 is GBK only
      {"GBK", B("GBK", "\xD6\xD0\xCE\xC4"), Sjis(u8"中文")},
      {"gb18030", B("gb18030", "\xD6\xD0"), Sjis(u8"中")},
      {"big5", B("big5", "\xA4\xA4\xA4\xE5"), Sjis(u8"中文")},
      // 0x8C 0x63 is one Hangul syllable in windows-949, two bad bytes in EUC-KR.
      {"ks_c_5601-1987 is windows-949", B("ks_c_5601-1987", "\x8C\x63"), kGeta},
      {"euc-kr is windows-949 too", B("euc-kr", "\x8C\x63"), kGeta},
      {"koi8-r", B("koi8-r", "\xF0\xD2\xC9\xD7\xC5\xD4"), Sjis(u8"Привет")},
      {"windows-1251", B("windows-1251", "\xCC\xE8\xF0"), Sjis(u8"Мир")},
      {"iso-8859-7", B("iso-8859-7", "\xD9\xEC\xE5\xE3\xE1"), Sjis(u8"Ωμεγα")},
      {"iso-8859-9 is windows-1254", Q("iso-8859-9", "\x80"), kGeta},  // €, which code page 932 lacks
      {"shift_jis", B("shift_jis", "\x87\x40\x87\x8A"), Sjis(u8"①㈱")},
      {"x-sjis", B("x-sjis", "\x93\xFA"), Sjis(u8"日")},
      {"windows-31j", B("windows-31j", "\xFB\xFC"), Sjis(u8"髙")},
      {"cp932", B("CP932", "\xFA\xB1"), Sjis(u8"﨑")},
      {"euc-jp", B("euc-jp", "\xC6\xFC\xCB\xDC"), Sjis(u8"日本")},
      {"euc-jp NEC row 13 and katakana", B("EUC-JP", "\xAD\xA1\x8E\xB1"), Sjis(u8"①ｱ")},
      {"euc-jp JIS X 0212", B("euc-jp", "\x8F\xB0\xA1"), kGeta},  // 丂: not in code page 932
      {"utf-16 is little-endian", B("utf-16", "\xE5\x65\x2C\x67"), Sjis(u8"日本")},
      {"utf-16be", B("UTF-16BE", "\x65\xE5\x67\x2C"), Sjis(u8"日本")},
      {"byte-order mark overrides the label", B("utf-16le", "\xFE\xFF\x65\xE5"), Sjis(u8"日")},
      {"UTF-8 byte-order mark dropped",
       B("utf-8",
         "\xEF\xBB\xBF"
         "a"),
       "a"},
      {"utf-7", "=?utf-7?Q?+ZeVnLIqe-?=", Sjis(u8"日本語")},
      {"x-user-defined", Q("x-user-defined", "a\x80"), "a" + kGeta},
      {"replacement: one mark for the whole word", B("iso-2022-kr", "\x1B$)C\x0E!!\x0F"), kGeta},
      {"label with surrounding case", B("Windows-1252", "\xE9t\xE9"), kGeta + "t" + kGeta},
  };
  ExpectShown(cases);
}

TEST(HeaderDisplayCharsets, Iso2022JpVariantsReadTheCodePage932Rows) {
  // ① and ㈱ are NEC row 13 (JIS 2D21, 2D6A), 髙 and 﨑 NEC-selected IBM
  // extensions (7C62, 7975), ｱ half-width katakana after ESC ( I.
  const std::string vendor = "\x1B$B\x2D\x21\x2D\x6A\x7C\x62\x79\x75\x1B(I\x31\x1B(B";
  const std::string shown = "\x87\x40\x87\x8A\xEE\xE0\xED\x95\xB1";
  for (const char* label : {"iso-2022-jp", "ISO-2022-JP", "csISO2022JP", "iso-2022-jp-ms", "cp50220", "cp50221",
                            "cp50222", "iso-2022-jp-1", "iso-2022-jp-2", "iso-2022-jp-3", "iso-2022-jp-2004"}) {
    SCOPED_TRACE(label);
    EXPECT_BYTES_EQ(DecodeHeaderForDisplay(B(label, vendor)), shown);
  }
  const Case cases[] = {
      {"JIS X 0208-1978 escape", B("iso-2022-jp", "\x1B$@2q5D\x1B(J"), Sjis(u8"会議")},
      {"SO and SI katakana",
       B("cp50222",
         "a\x0E\x31\x32\x0F"
         "b"),
       "a\xB1\xB2"
       "b"},
      {"JIS X 0212 in ISO-2022-JP-1", B("iso-2022-jp-1", "\x1B$(D\x22\x43\x1B(B"), "\xFA\x55"},  // ¦
      {"JIS X 0213 plane 1", B("iso-2022-jp-3", "\x1B$(Q\x2D\x21\x1B(B"), "\x87\x40"},
      {"GB 2312 in ISO-2022-JP-2", B("iso-2022-jp-2", "\x1B$A\x56\x50\x1B(B"), Sjis(u8"中")},
      {"ISO-8859-7 single shift", B("iso-2022-jp-2", "\x1B.F\x1BNa"), Sjis(u8"α")},
      {"raw 8-bit katakana", B("iso-2022-jp", "\xB1"), "\xB1"},
      {"text left in two-byte mode", B("iso-2022-jp", "\x1B$B2q"), Sjis(u8"会")},
  };
  ExpectShown(cases);
}

TEST(HeaderDisplayJoining, AdjacentWordsJoinWithoutTheirBlanks) {
  const std::string hi = Utf8(u8"日本");
  const Case cases[] = {
      {"space between", B("UTF-8", hi) + " " + B("UTF-8", hi), Sjis(u8"日本日本")},
      {"tabs and spaces", B("UTF-8", hi) + " \t " + B("UTF-8", hi), Sjis(u8"日本日本")},
      {"folded", B("UTF-8", hi) + "\r\n " + B("UTF-8", hi), Sjis(u8"日本日本")},
      {"folded by LF only", B("UTF-8", hi) + "\n\t" + B("UTF-8", hi), Sjis(u8"日本日本")},
      {"directly side by side", B("UTF-8", hi) + B("UTF-8", hi), Sjis(u8"日本日本")},
      {"different charsets join too", B("UTF-8", hi) + " " + B("ISO-2022-JP", kMeetingJis), Sjis(u8"日本会議")},
      {"text between keeps its blanks", B("UTF-8", hi) + " - " + B("UTF-8", hi), Sjis(u8"日本 - 日本")},
      {"blanks around plain text stay", " a " + B("UTF-8", hi) + " b ", " a " + Sjis(u8"日本") + " b "},
      {"a malformed word keeps the blank", B("UTF-8", hi) + " =?UTF-8?B?*?=", Sjis(u8"日本") + " =?UTF-8?B?*?="},
  };
  ExpectShown(cases);
}

TEST(HeaderDisplayJoining, ACharacterSplitAcrossWordsComesOutWhole) {
  const std::string nichi = Utf8(u8"日");  // E6 97 A5
  const Case cases[] = {
      {"UTF-8 split in B words", B("UTF-8", nichi.substr(0, 1)) + " " + B("utf-8", nichi.substr(1)), Sjis(u8"日")},
      {"UTF-8 split between B and Q", B("UTF-8", nichi.substr(0, 2)) + "\r\n " + Q("UTF-8", nichi.substr(2)),
       Sjis(u8"日")},
      {"label spellings of one charset", B("utf8", nichi.substr(0, 2)) + " " + B("UTF-8", nichi.substr(2)),
       Sjis(u8"日")},
      {"Shift_JIS split", B("shift_jis", "\x93") + " " + B("SHIFT_JIS", "\xFA"), Sjis(u8"日")},
      {"ISO-2022-JP pair split", B("ISO-2022-JP", "\x1B$B2") + " " + B("ISO-2022-JP", "q5D\x1B(B"), Sjis(u8"会議")},
      {"ISO-2022-JP mode carries over", B("iso-2022-jp", "\x1B$B2q") + " " + B("ISO-2022-JP-MS", "5D\x1B(B"),
       Sjis(u8"会議")},
      {"UTF-16 split", B("utf-16be", "\x65") + " " + B("utf-16be", "\xE5"), Sjis(u8"日")},
      // Another charset between ends the run: each half is no character.
      {"halves in different charsets", B("UTF-8", nichi.substr(0, 2)) + B("latin1", "a") + B("UTF-8", nichi.substr(2)),
       kGeta + "a" + kGeta},
  };
  ExpectShown(cases);
}

TEST(HeaderDisplayMalformed, WordsThatAreNotWellFormedStayAsText) {
  const Case cases[] = {
      {"unknown charset", "=?x-unknown?B?YQ==?=", "=?x-unknown?B?YQ==?="},
      {"empty charset", "=??B?YQ==?=", "=??B?YQ==?="},
      {"only a language", "=?*ja?B?YQ==?=", "=?*ja?B?YQ==?="},
      {"encoding neither B nor Q", "=?UTF-8?X?YQ==?=", "=?UTF-8?X?YQ==?="},
      {"Base64 character outside the alphabet", "=?UTF-8?B?Y.Q=?=", "=?UTF-8?B?Y.Q=?="},
      {"padding inside", "=?UTF-8?B?YQ=x?=", "=?UTF-8?B?YQ=x?="},
      {"one character left over", "=?UTF-8?B?YWJjZ?=", "=?UTF-8?B?YWJjZ?="},
      {"three padding characters", "=?UTF-8?B?YQ===?=", "=?UTF-8?B?YQ===?="},
      {"Q escape with no hex", "=?UTF-8?Q?a=G1?=", "=?UTF-8?Q?a=G1?="},
      {"Q escape cut off", "=?UTF-8?Q?a=4?=", "=?UTF-8?Q?a=4?="},
      {"no closing", "=?UTF-8?B?YQ==", "=?UTF-8?B?YQ=="},
      {"blank inside the text", "=?UTF-8?Q?a b?=", "=?UTF-8?Q?a b?="},
      {"question mark inside the text", "=?UTF-8?Q?a?b?=", "=?UTF-8?Q?a?b?="},
      {"a good word right after a bad one", "=?UTF-8?B?*?==?UTF-8?B?YQ==?=", "=?UTF-8?B?*?=a"},
      {"a good word inside a bad one's charset", "=?=?UTF-8?Q?b?=", "=?b"},
      // Malformed text is plain text: a control character in it is a space.
      {"control character in a bad word", "=?UTF-8?B?\x01?=", "=?UTF-8?B? ?="},
  };
  ExpectShown(cases);
}

TEST(HeaderDisplayPlainText, EightBitBytesAsUtf8ElseAsDetected) {
  const Case cases[] = {
      {"ASCII", " Hello, world", " Hello, world"},
      {"UTF-8", Utf8(u8" 日本語の件名"), Sjis(u8" 日本語の件名")},
      {"UTF-8 beside a word", Utf8(u8"Re: 件名 ") + B("UTF-8", "x"), Sjis(u8"Re: 件名 x")},
      {"Shift_JIS", "\x93\xFA\x96\x7B\x8C\xEA", Sjis(u8"日本語")},
      {"Shift_JIS vendor rows", "\x87\x40\xFB\xFC", Sjis(u8"①髙")},
      {"Shift_JIS half-width katakana", "\xB1\xB2\xB3", "\xB1\xB2\xB3"},
      {"EUC-JP", "\xC6\xFC\xCB\xDC\xB8\xEC\xA4\xCE\xB7\xEF\xCC\xBE", Sjis(u8"日本語の件名")},
      {"JIS", "\x1B$BF|K\\\x1B(B", Sjis(u8"日本")},
      {"JIS Roman escape goes", "a\x1B(Jb", "ab"},
      {"invalid UTF-8 is detected instead", "\xE6\x97\xA5 \x93\xFA", "\xE6\x97\xA5 \x93\xFA"},
      {"detection sees all the plain text", "\xC6\xFC " + B("UTF-8", "x") + " \xCB\xDC", Sjis(u8"日 x 本")},
      {"control characters as spaces",
       std::string("a\tb\x01"
                   "c\x7F"
                   "d\0e",
                   9),
       "a b c d e"},
      {"fold undone, its tab a space", "a\r\n b\n\tc", "a b c"},
      {"line break without a fold", "a\r\nb\rc", "a b c"},
      {"binary bytes do not stop detection", std::string("\x01\x02\x93\xFA", 4), "  \x93\xFA"},
  };
  ExpectShown(cases);
}

TEST(HeaderDisplayCharacters, WhatCodePage932CannotHoldIsTheGetaMark) {
  const Case cases[] = {
      {"emoji", B("UTF-8", Utf8(u8"a😀b")), "a" + kGeta + "b"},
      {"Latin letter", B("UTF-8", Utf8(u8"é")), kGeta},
      {"Hangul", B("UTF-8", Utf8(u8"한")), kGeta},
      {"invalid UTF-8 in a word: one mark each",
       B("UTF-8",
         "a\xE6\x97"
         "b\xFF"
         "c"),
       "a" + kGeta + "b" + kGeta + "c"},
      {"UTF-8 surrogate", B("UTF-8", "\xED\xA0\x80"), kGeta + kGeta + kGeta},
      {"UTF-8 cut at the end", B("UTF-8", "a\xE6\x97"), "a" + kGeta},
      {"lone UTF-16 surrogate", B("UTF-16BE", std::string("\xD8\x00\x00\x61", 4)), kGeta + "a"},
      {"odd UTF-16 byte", B("UTF-16BE", std::string("\x00\x61\x00", 3)), "a" + kGeta},
      {"JIS row code page 932 leaves empty", B("ISO-2022-JP", "\x1B$B\x29\x21\x1B(B"), kGeta},
      {"JIS X 0212 code that is no character: one mark", B("iso-2022-jp-1", "\x1B$(D\x75\x75\x1B(B"), kGeta},
      {"JIS row byte without its cell", B("ISO-2022-JP", "\x1B$B\x30"), kGeta},
      {"unknown escape sequence", B("ISO-2022-JP", "a\x1B$Zb"), "a" + kGeta + "$Zb"},
      {"Shift_JIS code left empty", B("shift_jis", "\x85\x9F"), kGeta},
      {"Shift_JIS lead before a non-trail byte", B("shift_jis", "\x93 "), kGeta + " "},
      // An undefined code whose second byte is ASCII: that byte is read again.
      {"Shift_JIS undefined code with an ASCII trail", B("shift_jis", "\x85\x41"), kGeta + "A"},
      {"Shift_JIS lead at the end", "x\x93", "x" + kGeta},
      {"Shift_JIS 0xA0 and 0xFD", B("shift_jis", "\xA0\xFD"), kGeta + kGeta},
      {"Shift_JIS 0x80 is a C1 control", B("shift_jis", "a\x80z"), "a z"},
      {"EUC-JP lone byte", B("euc-jp", "\xC6"), kGeta},
      {"GB18030 cut short", B("gb18030", "\x81"), kGeta},
  };
  ExpectShown(cases);
}

TEST(HeaderDisplayCharacters, UnicodeSignsMapOntoTheirCodePage932Forms) {
  // UTF-8 senders use the JIS forms, code page 932 its own; both give one code.
  const struct {
    const char8_t* utf8;
    const char* sjis;
  } signs[] = {
      {u8"〜", "\x81\x60"},
      {u8"～", "\x81\x60"},  // wave dash, full-width tilde
      {u8"−", "\x81\x7C"},
      {u8"－", "\x81\x7C"},  // minus sign, full-width hyphen-minus
      {u8"‖", "\x81\x61"},
      {u8"∥", "\x81\x61"},  // double vertical line, parallel
      {u8"—", "\x81\x5C"},
      {u8"―", "\x81\x5C"},  // em dash, horizontal bar
      {u8"¢", "\x81\x91"},
      {u8"£", "\x81\x92"},
      {u8"¬", "\x81\xCA"},
      {u8"¥", "\x81\x8F"},  // 0x5C would show as a backslash
      {u8"‾", "\x81\x50"},  // 0x7E would show as a tilde
      {u8"¦", "\xFA\x55"},
      {u8"\u00A0", " "},  // no-break space
      {u8"\u0085", " "},  // a C1 control
      {u8"ｱ", "\xB1"},
      {u8"①", "\x87\x40"},
      {u8"㈱", "\x87\x8A"},
      {u8"髙", "\xFB\xFC"},
      {u8"﨑", "\xFA\xB1"},
      // Kana with a combining sound mark, as decomposed text has them.
      {u8"か\u3099", "\x82\xAA"},
      {u8"ハ\u309A", "\x83\x70"},
      {u8"ウ\u3099", "\x83\x94"},
      {u8"a\u3099", "a\x81\x4A"},  // nothing to join: the spacing mark
  };
  for (const auto& s : signs) {
    const std::string utf8 = Utf8(s.utf8);
    SCOPED_TRACE(utf8);
    EXPECT_BYTES_EQ(DecodeHeaderForDisplay(B("UTF-8", utf8)), s.sjis);
    EXPECT_BYTES_EQ(Utf8ToDisplaySjis(utf8), s.sjis);
  }
}

TEST(HeaderDisplayUnchanged, IsoJpWordsAndPlainTextShowAsTheListingShowedThem) {
  // The listing's former result: the words' bytes, each with ESC ( J, to
  // Shift_JIS; the blank between two adjacent words is the one change.
  const std::string kan = "=?ISO-2022-JP?B?GyRCNEEbKEI=?=";  // 漢
  const Case cases[] = {
      {"one word", " " + kan, " \x8A\xBF"},
      {"lower-case prefix", " =?iso-2022-jp?b?GyRCNEEbKEI=?=", " \x8A\xBF"},
      {"text around", " Re: " + kan + " (2)", " Re: \x8A\xBF (2)"},
      {"side by side", kan + kan, "\x8A\xBF\x8A\xBF"},
      {"blank between words dropped", kan + " " + kan, "\x8A\xBF\x8A\xBF"},
      {"word then address", " " + kan + " <kan@example.jp>", " \x8A\xBF <kan@example.jp>"},
      {"plain ASCII", " Hello from Dovecot", " Hello from Dovecot"},
      {"empty", "", ""},
      {"plain Shift_JIS", " \x8D\x4C\x8D\x90", " \x8D\x4C\x8D\x90"},
  };
  ExpectShown(cases);
  // Any JIS X 0208 text that code page 932 defines, as CreateHeaderString
  // writes it: the words give the text back.
  std::string all;
  for (unsigned row = 0x21; row <= 0x74; ++row) {
    for (unsigned cell = 0x21; cell <= 0x7E; ++cell) {
      const std::string sjis = ToSjis(static_cast<unsigned char>(row), static_cast<unsigned char>(cell));
      if (jconvert_detail::is_cp932_defined(static_cast<unsigned char>(sjis[0]), static_cast<unsigned char>(sjis[1])))
        all += sjis;
    }
  }
  ASSERT_GT(all.size(), 2 * 6800u);
  const std::string value = " Re: " + all.substr(0, 4000) + " x " + all.substr(4000);
  EXPECT_BYTES_EQ(DecodeHeaderForDisplay(CreateHeaderString(value)), value);
}

TEST(HeaderDisplayLength, LongHostileValuesStayLinear) {
  // Each of these would cost quadratic time to a scanner that looked again
  // from every "=?"; 1 MiB of them must still take well under a second.
  const std::size_t n = 1 << 20;
  const struct {
    const char* name;
    std::string raw;
  } cases[] = {
      {"unclosed prefixes",
       [&] {
         std::string s;
         while (s.size() < n) s += "=?UTF-8?B?";
         return s;
       }()},
      {"one long unclosed text", "=?UTF-8?Q?" + std::string(n, 'a')},
      {"prefix marks", std::string(n, '=') + std::string(n, '?')},
      {"many tiny words",
       [&] {
         std::string s;
         while (s.size() < n) s += "=?UTF-8?Q?=E6=97=A5?= ";
         return s;
       }()},
      {"one long word", B("UTF-8", std::string(n, '\xE6'))},
      {"escape sequences",
       [&] {
         std::string s;
         while (s.size() < n) s += "\x1B$B\x1B(B\x1B";
         return s;
       }()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto start = std::chrono::steady_clock::now();
    const std::string shown = DecodeHeaderForDisplay(c.raw);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 2.0);
    EXPECT_LE(shown.size(), 2 * c.raw.size());
  }
}

TEST(Cp932Codes, AreTheCodesGlibcDecodes) {
  for (unsigned lead = 0x80; lead <= 0xFF; ++lead) {
    for (unsigned trail = 0x00; trail <= 0xFF; ++trail) {
      const std::string pair = {static_cast<char>(lead), static_cast<char>(trail)};
      // Only a lead byte opens a pair; glibc decodes other bytes one by one.
      const bool lead_byte = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
      const bool glibc = lead_byte && test_support::iconv_convert(pair, "CP932", "UTF-8");
      const bool ours =
          jconvert_detail::is_cp932_defined(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
      EXPECT_EQ(ours, glibc) << std::hex << lead << " " << trail;
    }
  }
}

}  // namespace
