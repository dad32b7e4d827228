#include "charset_label.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace jconvert_detail {
namespace {

// The encodings, under their WHATWG names. GBK is read as gb18030 (its
// superset, as the standard decodes it), EUC-KR as windows-949.
constexpr Charset kUtf8{"UTF-8", Reader::kUtf8, nullptr};
constexpr Charset kIbm866{"IBM866", Reader::kSingleByteIconv, "IBM866"};
constexpr Charset kIso8859_2{"ISO-8859-2", Reader::kSingleByteIconv, "ISO-8859-2"};
constexpr Charset kIso8859_3{"ISO-8859-3", Reader::kSingleByteIconv, "ISO-8859-3"};
constexpr Charset kIso8859_4{"ISO-8859-4", Reader::kSingleByteIconv, "ISO-8859-4"};
constexpr Charset kIso8859_5{"ISO-8859-5", Reader::kSingleByteIconv, "ISO-8859-5"};
constexpr Charset kIso8859_6{"ISO-8859-6", Reader::kSingleByteIconv, "ISO-8859-6"};
constexpr Charset kIso8859_7{"ISO-8859-7", Reader::kSingleByteIconv, "ISO-8859-7"};
constexpr Charset kIso8859_8{"ISO-8859-8", Reader::kSingleByteIconv, "ISO-8859-8"};
constexpr Charset kIso8859_8I{"ISO-8859-8-I", Reader::kSingleByteIconv, "ISO-8859-8"};
constexpr Charset kIso8859_10{"ISO-8859-10", Reader::kSingleByteIconv, "ISO-8859-10"};
constexpr Charset kIso8859_13{"ISO-8859-13", Reader::kSingleByteIconv, "ISO-8859-13"};
constexpr Charset kIso8859_14{"ISO-8859-14", Reader::kSingleByteIconv, "ISO-8859-14"};
constexpr Charset kIso8859_15{"ISO-8859-15", Reader::kSingleByteIconv, "ISO-8859-15"};
constexpr Charset kIso8859_16{"ISO-8859-16", Reader::kSingleByteIconv, "ISO-8859-16"};
constexpr Charset kKoi8R{"KOI8-R", Reader::kSingleByteIconv, "KOI8-R"};
constexpr Charset kKoi8U{"KOI8-U", Reader::kSingleByteIconv, "KOI8-U"};
constexpr Charset kMacintosh{"macintosh", Reader::kSingleByteIconv, "MACINTOSH"};
constexpr Charset kWindows874{"windows-874", Reader::kSingleByteIconv, "CP874"};
constexpr Charset kWindows1250{"windows-1250", Reader::kSingleByteIconv, "CP1250"};
constexpr Charset kWindows1251{"windows-1251", Reader::kSingleByteIconv, "CP1251"};
constexpr Charset kWindows1252{"windows-1252", Reader::kSingleByteIconv, "CP1252"};
constexpr Charset kWindows1253{"windows-1253", Reader::kSingleByteIconv, "CP1253"};
constexpr Charset kWindows1254{"windows-1254", Reader::kSingleByteIconv, "CP1254"};
constexpr Charset kWindows1255{"windows-1255", Reader::kSingleByteIconv, "CP1255"};
constexpr Charset kWindows1256{"windows-1256", Reader::kSingleByteIconv, "CP1256"};
constexpr Charset kWindows1257{"windows-1257", Reader::kSingleByteIconv, "CP1257"};
constexpr Charset kWindows1258{"windows-1258", Reader::kSingleByteIconv, "CP1258"};
constexpr Charset kMacCyrillic{"x-mac-cyrillic", Reader::kSingleByteIconv, "MAC-UK"};
constexpr Charset kGbk{"GBK", Reader::kIconv, "GB18030"};
constexpr Charset kGb18030{"gb18030", Reader::kIconv, "GB18030"};
constexpr Charset kBig5{"Big5", Reader::kIconv, "BIG5-HKSCS"};
constexpr Charset kEucJp{"EUC-JP", Reader::kEucJp, nullptr};
constexpr Charset kIso2022Jp{"ISO-2022-JP", Reader::kIso2022Jp, nullptr};
constexpr Charset kShiftJis{"Shift_JIS", Reader::kShiftJis, nullptr};
constexpr Charset kEucKr{"EUC-KR", Reader::kIconv, "CP949"};
constexpr Charset kReplacement{"replacement", Reader::kReplacement, nullptr};
constexpr Charset kUtf16Be{"UTF-16BE", Reader::kUtf16Be, nullptr};
constexpr Charset kUtf16Le{"UTF-16LE", Reader::kUtf16Le, nullptr};
constexpr Charset kUserDefined{"x-user-defined", Reader::kUserDefined, nullptr};
// Not in the standard, but in mail: UTF-7 (RFC 2152).
constexpr Charset kUtf7{"UTF-7", Reader::kIconv, "UTF-7"};

struct Label {
  std::string_view label;  // lower case
  const Charset* charset;
};

// The labels of one encoding stay together, as the label table lists them.
// clang-format off
constexpr Label kLabels[] = {
    {"unicode-1-1-utf-8", &kUtf8}, {"unicode11utf8", &kUtf8}, {"unicode20utf8", &kUtf8}, {"utf-8", &kUtf8},
    {"utf8", &kUtf8}, {"x-unicode20utf8", &kUtf8},
    {"866", &kIbm866}, {"cp866", &kIbm866}, {"csibm866", &kIbm866}, {"ibm866", &kIbm866},
    {"csisolatin2", &kIso8859_2}, {"iso-8859-2", &kIso8859_2}, {"iso-ir-101", &kIso8859_2},
    {"iso8859-2", &kIso8859_2}, {"iso88592", &kIso8859_2}, {"iso_8859-2", &kIso8859_2},
    {"iso_8859-2:1987", &kIso8859_2}, {"l2", &kIso8859_2}, {"latin2", &kIso8859_2},
    {"csisolatin3", &kIso8859_3}, {"iso-8859-3", &kIso8859_3}, {"iso-ir-109", &kIso8859_3},
    {"iso8859-3", &kIso8859_3}, {"iso88593", &kIso8859_3}, {"iso_8859-3", &kIso8859_3},
    {"iso_8859-3:1988", &kIso8859_3}, {"l3", &kIso8859_3}, {"latin3", &kIso8859_3},
    {"csisolatin4", &kIso8859_4}, {"iso-8859-4", &kIso8859_4}, {"iso-ir-110", &kIso8859_4},
    {"iso8859-4", &kIso8859_4}, {"iso88594", &kIso8859_4}, {"iso_8859-4", &kIso8859_4},
    {"iso_8859-4:1988", &kIso8859_4}, {"l4", &kIso8859_4}, {"latin4", &kIso8859_4},
    {"csisolatincyrillic", &kIso8859_5}, {"cyrillic", &kIso8859_5}, {"iso-8859-5", &kIso8859_5},
    {"iso-ir-144", &kIso8859_5}, {"iso8859-5", &kIso8859_5}, {"iso88595", &kIso8859_5},
    {"iso_8859-5", &kIso8859_5}, {"iso_8859-5:1988", &kIso8859_5},
    {"arabic", &kIso8859_6}, {"asmo-708", &kIso8859_6}, {"csiso88596e", &kIso8859_6},
    {"csiso88596i", &kIso8859_6}, {"csisolatinarabic", &kIso8859_6}, {"ecma-114", &kIso8859_6},
    {"iso-8859-6", &kIso8859_6}, {"iso-8859-6-e", &kIso8859_6}, {"iso-8859-6-i", &kIso8859_6},
    {"iso-ir-127", &kIso8859_6}, {"iso8859-6", &kIso8859_6}, {"iso88596", &kIso8859_6},
    {"iso_8859-6", &kIso8859_6}, {"iso_8859-6:1987", &kIso8859_6},
    {"csisolatingreek", &kIso8859_7}, {"ecma-118", &kIso8859_7}, {"elot_928", &kIso8859_7},
    {"greek", &kIso8859_7}, {"greek8", &kIso8859_7}, {"iso-8859-7", &kIso8859_7}, {"iso-ir-126", &kIso8859_7},
    {"iso8859-7", &kIso8859_7}, {"iso88597", &kIso8859_7}, {"iso_8859-7", &kIso8859_7},
    {"iso_8859-7:1987", &kIso8859_7}, {"sun_eu_greek", &kIso8859_7},
    {"csiso88598e", &kIso8859_8}, {"csisolatinhebrew", &kIso8859_8}, {"hebrew", &kIso8859_8},
    {"iso-8859-8", &kIso8859_8}, {"iso-8859-8-e", &kIso8859_8}, {"iso-ir-138", &kIso8859_8},
    {"iso8859-8", &kIso8859_8}, {"iso88598", &kIso8859_8}, {"iso_8859-8", &kIso8859_8},
    {"iso_8859-8:1988", &kIso8859_8}, {"visual", &kIso8859_8},
    {"csiso88598i", &kIso8859_8I}, {"iso-8859-8-i", &kIso8859_8I}, {"logical", &kIso8859_8I},
    {"csisolatin6", &kIso8859_10}, {"iso-8859-10", &kIso8859_10}, {"iso-ir-157", &kIso8859_10},
    {"iso8859-10", &kIso8859_10}, {"iso885910", &kIso8859_10}, {"l6", &kIso8859_10}, {"latin6", &kIso8859_10},
    {"iso-8859-13", &kIso8859_13}, {"iso8859-13", &kIso8859_13}, {"iso885913", &kIso8859_13},
    {"iso-8859-14", &kIso8859_14}, {"iso8859-14", &kIso8859_14}, {"iso885914", &kIso8859_14},
    {"csisolatin9", &kIso8859_15}, {"iso-8859-15", &kIso8859_15}, {"iso8859-15", &kIso8859_15},
    {"iso885915", &kIso8859_15}, {"iso_8859-15", &kIso8859_15}, {"l9", &kIso8859_15},
    {"iso-8859-16", &kIso8859_16},
    {"cskoi8r", &kKoi8R}, {"koi", &kKoi8R}, {"koi8", &kKoi8R}, {"koi8-r", &kKoi8R}, {"koi8_r", &kKoi8R},
    {"koi8-ru", &kKoi8U}, {"koi8-u", &kKoi8U},
    {"csmacintosh", &kMacintosh}, {"mac", &kMacintosh}, {"macintosh", &kMacintosh}, {"x-mac-roman", &kMacintosh},
    {"dos-874", &kWindows874}, {"iso-8859-11", &kWindows874}, {"iso8859-11", &kWindows874},
    {"iso885911", &kWindows874}, {"tis-620", &kWindows874}, {"windows-874", &kWindows874},
    {"cp1250", &kWindows1250}, {"windows-1250", &kWindows1250}, {"x-cp1250", &kWindows1250},
    {"cp1251", &kWindows1251}, {"windows-1251", &kWindows1251}, {"x-cp1251", &kWindows1251},
    {"ansi_x3.4-1968", &kWindows1252}, {"ascii", &kWindows1252}, {"cp1252", &kWindows1252},
    {"cp819", &kWindows1252}, {"csisolatin1", &kWindows1252}, {"ibm819", &kWindows1252},
    {"iso-8859-1", &kWindows1252}, {"iso-ir-100", &kWindows1252}, {"iso8859-1", &kWindows1252},
    {"iso88591", &kWindows1252}, {"iso_8859-1", &kWindows1252}, {"iso_8859-1:1987", &kWindows1252},
    {"l1", &kWindows1252}, {"latin1", &kWindows1252}, {"us-ascii", &kWindows1252},
    {"windows-1252", &kWindows1252}, {"x-cp1252", &kWindows1252},
    {"cp1253", &kWindows1253}, {"windows-1253", &kWindows1253}, {"x-cp1253", &kWindows1253},
    {"cp1254", &kWindows1254}, {"csisolatin5", &kWindows1254}, {"iso-8859-9", &kWindows1254},
    {"iso-ir-148", &kWindows1254}, {"iso8859-9", &kWindows1254}, {"iso88599", &kWindows1254},
    {"iso_8859-9", &kWindows1254}, {"iso_8859-9:1989", &kWindows1254}, {"l5", &kWindows1254},
    {"latin5", &kWindows1254}, {"windows-1254", &kWindows1254}, {"x-cp1254", &kWindows1254},
    {"cp1255", &kWindows1255}, {"windows-1255", &kWindows1255}, {"x-cp1255", &kWindows1255},
    {"cp1256", &kWindows1256}, {"windows-1256", &kWindows1256}, {"x-cp1256", &kWindows1256},
    {"cp1257", &kWindows1257}, {"windows-1257", &kWindows1257}, {"x-cp1257", &kWindows1257},
    {"cp1258", &kWindows1258}, {"windows-1258", &kWindows1258}, {"x-cp1258", &kWindows1258},
    {"x-mac-cyrillic", &kMacCyrillic}, {"x-mac-ukrainian", &kMacCyrillic},
    {"chinese", &kGbk}, {"csgb2312", &kGbk}, {"csiso58gb231280", &kGbk}, {"gb2312", &kGbk}, {"gb_2312", &kGbk},
    {"gb_2312-80", &kGbk}, {"gbk", &kGbk}, {"iso-ir-58", &kGbk}, {"x-gbk", &kGbk},
    {"gb18030", &kGb18030},
    {"big5", &kBig5}, {"big5-hkscs", &kBig5}, {"cn-big5", &kBig5}, {"csbig5", &kBig5}, {"x-x-big5", &kBig5},
    {"cseucpkdfmtjapanese", &kEucJp}, {"euc-jp", &kEucJp}, {"x-euc-jp", &kEucJp},
    {"csiso2022jp", &kIso2022Jp}, {"iso-2022-jp", &kIso2022Jp},
    {"csshiftjis", &kShiftJis}, {"ms932", &kShiftJis}, {"ms_kanji", &kShiftJis}, {"shift-jis", &kShiftJis},
    {"shift_jis", &kShiftJis}, {"sjis", &kShiftJis}, {"windows-31j", &kShiftJis}, {"x-sjis", &kShiftJis},
    {"cseuckr", &kEucKr}, {"csksc56011987", &kEucKr}, {"euc-kr", &kEucKr}, {"iso-ir-149", &kEucKr},
    {"korean", &kEucKr}, {"ks_c_5601-1987", &kEucKr}, {"ks_c_5601-1989", &kEucKr}, {"ksc5601", &kEucKr},
    {"ksc_5601", &kEucKr}, {"windows-949", &kEucKr},
    {"csiso2022kr", &kReplacement}, {"hz-gb-2312", &kReplacement}, {"iso-2022-cn", &kReplacement},
    {"iso-2022-cn-ext", &kReplacement}, {"iso-2022-kr", &kReplacement}, {"replacement", &kReplacement},
    {"unicodefffe", &kUtf16Be}, {"utf-16be", &kUtf16Be},
    {"csunicode", &kUtf16Le}, {"iso-10646-ucs-2", &kUtf16Le}, {"ucs-2", &kUtf16Le}, {"unicode", &kUtf16Le},
    {"unicodefeff", &kUtf16Le}, {"utf-16", &kUtf16Le}, {"utf-16le", &kUtf16Le},
    {"x-user-defined", &kUserDefined},
    // Labels that mail programs write and the standard lacks: the code page
    // names of code page 932 and its neighbours, the ISO-2022-JP variants
    // (all read with the code page 932 rows), EUC-JP variants and UTF-7.
    {"cp932", &kShiftJis}, {"x-ms-cp932", &kShiftJis}, {"sjis-win", &kShiftJis},
    {"iso-2022-jp-ms", &kIso2022Jp}, {"cp50220", &kIso2022Jp}, {"cp50221", &kIso2022Jp},
    {"cp50222", &kIso2022Jp}, {"iso-2022-jp-1", &kIso2022Jp}, {"iso-2022-jp-2", &kIso2022Jp},
    {"csiso2022jp2", &kIso2022Jp}, {"iso-2022-jp-3", &kIso2022Jp}, {"iso-2022-jp-2004", &kIso2022Jp},
    {"x-windows-iso2022jp", &kIso2022Jp},
    {"eucjp", &kEucJp}, {"eucjp-ms", &kEucJp}, {"euc-jp-ms", &kEucJp}, {"cp51932", &kEucJp},
    {"cp936", &kGbk}, {"ms936", &kGbk}, {"windows-936", &kGbk},
    {"cp949", &kEucKr}, {"uhc", &kEucKr},
    {"cp950", &kBig5}, {"ms950", &kBig5}, {"windows-950", &kBig5},
    {"cp874", &kWindows874},
    {"utf-7", &kUtf7}, {"unicode-1-1-utf-7", &kUtf7}, {"csunicode11utf7", &kUtf7},
};
// clang-format on

constexpr std::size_t kLabelCount = sizeof kLabels / sizeof kLabels[0];

constexpr bool by_label(const Label& a, const Label& b) { return a.label < b.label; }

constexpr std::array<Label, kLabelCount> sorted_labels() {
  std::array<Label, kLabelCount> sorted{};
  std::copy(std::begin(kLabels), std::end(kLabels), sorted.begin());
  std::sort(sorted.begin(), sorted.end(), by_label);
  return sorted;
}

inline constexpr std::array<Label, kLabelCount> kSortedLabels = sorted_labels();

constexpr bool no_label_twice() {
  for (std::size_t i = 1; i < kLabelCount; ++i) {
    if (kSortedLabels[i - 1].label == kSortedLabels[i].label) return false;
  }
  return true;
}
static_assert(no_label_twice(), "a label names one encoding only");

// The longest label; anything longer is unknown without a look.
constexpr std::size_t kLongestLabel = 24;
static_assert(std::all_of(kSortedLabels.begin(), kSortedLabels.end(),
                          [](const Label& l) { return l.label.size() <= kLongestLabel; }));

bool is_ascii_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r'; }

}  // namespace

const Charset* FindCharset(std::string_view label) {
  while (!label.empty() && is_ascii_space(label.front())) label.remove_prefix(1);
  while (!label.empty() && is_ascii_space(label.back())) label.remove_suffix(1);
  if (label.empty() || label.size() > kLongestLabel) return nullptr;
  char lower[kLongestLabel];
  for (std::size_t i = 0; i < label.size(); ++i) {
    const char c = label[i];
    lower[i] = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  }
  const std::string_view key(lower, label.size());
  const auto it = std::lower_bound(kSortedLabels.begin(), kSortedLabels.end(), Label{key, nullptr}, by_label);
  return it != kSortedLabels.end() && it->label == key ? it->charset : nullptr;
}

}  // namespace jconvert_detail
