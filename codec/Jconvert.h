// Jconvert: Japanese text codec over byte strings.
//
// Every function takes its text as a read-only byte string (any byte value,
// its own length) and returns a new one. None of them throws, reports an
// error or reads past the end of its input: malformed input still gives a
// result by the same rules as well-formed input.
#pragma once

#include <cstdint>
#include <string>

// Character code identifiers, as returned by InCodeCheck.
inline constexpr int JCODE_ASCII = 0;        // nothing points to a Japanese code
inline constexpr int JCODE_BINARY = 1;       // a byte below 0x08, or 0xFF
inline constexpr int JCODE_JIS83 = 2;        // ESC $ B; the JIS conversion target
inline constexpr int JCODE_JIS78 = 3;        // ESC $ @; detection result only
inline constexpr int JCODE_EUC = 4;          // EUC-JP
inline constexpr int JCODE_SJIS = 5;         // Shift_JIS
inline constexpr int JCODE_EUC_OR_SJIS = 6;  // fits both; undecided

// Line-end identifiers, as returned by ReturnCodeCheck.
inline constexpr int RETCODE_NONE = 0;  // no CR and no LF
inline constexpr int RETCODE_CRLF = 1;
inline constexpr int RETCODE_CR = 2;
inline constexpr int RETCODE_LF = 3;

// How many leading bytes InCodeCheck scans for binary bytes before anything
// else; 0 or below turns that pre-scan off. Starts at 512.
extern std::int32_t STRICT_CHECK_LEN;

// --- Character codes -------------------------------------------------------

// Detects the character code of text: one of the JCODE_ identifiers.
int InCodeCheck(const std::string& text);

// JIS X 0208 row and cell to the two Shift_JIS bytes (8-bit arithmetic, no
// range check).
std::string ToSjis(unsigned char row, unsigned char cell);
// Shift_JIS lead and trail to the JIS X 0208 row and cell (8-bit arithmetic,
// no range check).
std::string ToJis(unsigned char lead, unsigned char trail);

// Conversions that take their input to be in their source code unchecked.
// JIS output enters two-byte mode with ESC $ B and leaves it with ESC ( J;
// half-width katakana become full-width on the way to JIS.
std::string jis2euc(const std::string& text);
std::string jis2sjis(const std::string& text);
std::string euc2jis83(const std::string& text);
std::string sjis2jis83(const std::string& text);
std::string euc2sjis(const std::string& text);
std::string sjis2euc(const std::string& text);

// Converts text to JCODE_JIS83, JCODE_EUC or JCODE_SJIS, detecting its source
// code; any other target, or an undecided source, returns text unchanged.
std::string ConvertJCode(const std::string& text, int target);
// Same, with the source code stated by the caller instead of detected. A
// source of 7 or more gives an empty result for the three real targets.
std::string StrictConvertJCode(const std::string& text, int source, int target);

// --- Line ends -------------------------------------------------------------

// The convention of the text's first line end: one of the RETCODE_ identifiers.
int ReturnCodeCheck(const std::string& text);
// Rewrites the detected line ends to target; a target outside 1..3 removes them.
std::string ConvertReturnCode(const std::string& text, int target);
// Same, with the source convention stated by the caller. A source of 0, or
// one equal to target, returns text unchanged.
std::string StrictConvertReturnCode(const std::string& text, int source, int target);

// --- Base64 (RFC 2045 alphabet) --------------------------------------------

// Base64 text of data, with "=" padding and no line breaks.
std::string EncodeBase64(const std::string& data);
// Same, with lineBreak appended after every full line of 76 characters (never
// after the final padded group).
std::string EncodeBase64R(const std::string& data, const std::string& lineBreak);
// Decodes Base64 text whose groups may be separated by CR and LF. The result
// length is fixed by counting the characters other than CR, LF and "=": three
// bytes for every four, one fewer than the characters of a short tail.
// Decoding goes on after a padded group. Line breaks anywhere and characters
// outside the alphabet are ignored, "=" ends the group it stands in, and a
// group cut short gives one byte fewer than its characters; result bytes
// that no group fills are zero.
std::string DecodeBase64(const std::string& text);

// --- MIME header encoded-words (ISO-2022-JP, B encoding) -------------------

// Shift_JIS header text with each run of double-byte characters (lead bytes
// as in code page 932) replaced by one "=?ISO-2022-JP?B?...?=" word; all other
// bytes, half-width katakana included, are copied. A lead byte with nothing
// after it is copied as it is.
std::string CreateHeaderString(const std::string& sjisText);
// Header value with each ISO-2022-JP B encoded-word (prefix in any letter
// case) replaced by its decoded bytes followed by ESC ( J. A word without its
// closing "?=" loses only its prefix. Decoded bytes are never searched for
// further words.
std::string DecodeHeaderString(const std::string& headerValue);

// --- Header values for display (any charset, into code page 932) ----------

// The text a mail listing shows for a raw header value, in Shift_JIS as code
// page 932 defines it. Encoded-words (B or Q, any charset label that the
// WHATWG Encoding Standard knows or mail uses, RFC 2231 language suffix) are
// decoded; words separated only by blanks join without them, and the bytes
// of adjacent words in one charset join before they are read. ISO-2022-JP of
// any variant is read with the code page 932 rows. A malformed word, or one
// of an unknown charset, stays as text. Outside words, folds are undone and
// 8-bit bytes are read as UTF-8 when valid, else as InCodeCheck finds them.
// Control characters become a space; a character that code page 932 cannot
// hold, or a byte sequence that is no character, becomes the geta mark
// 0x81 0xAC. Linear in the length of the value.
std::string DecodeHeaderForDisplay(const std::string& headerValue);
// UTF-8 text by the same character rules, in code page 932.
std::string Utf8ToDisplaySjis(const std::string& utf8);

// --- UU and BinHex ---------------------------------------------------------

// uuencoded body lines of data: lines of 45 bytes, then lineBreak, a
// backquote line and lineBreak. No begin or end line.
std::string EncodeUU(const std::string& data, const std::string& lineBreak);
// Decodes uuencoded body lines separated by CR and/or LF. The result length
// is 45 for each line opening with "M" plus the length of the first other
// line. A line cut short reads as if padded with spaces, and what follows a
// line's groups is ignored; result bytes that no line fills are zero.
std::string DecodeUU(const std::string& text);
// ":" + BinHex 4.0 six-bit text of data in lines of 64 characters + ":".
std::string EncodeBinHex(const std::string& data, const std::string& lineBreak);
// Decodes colon-framed BinHex 4.0 six-bit text. The result length comes from
// the characters other than CR and LF, less the two colons. Line breaks
// anywhere and characters outside "!".."r" are ignored; the closing ":" (or
// any other character left out of the alphabet) ends the text.
std::string DecodeBinHex(const std::string& text);
