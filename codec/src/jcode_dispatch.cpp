#include "Jconvert.h"

namespace {

bool is_target(int code) { return code == JCODE_JIS83 || code == JCODE_EUC || code == JCODE_SJIS; }

std::string convert(const std::string& text, int source, int target) {
  if (!is_target(target)) return text;
  switch (source) {
    case JCODE_JIS83:
    case JCODE_JIS78:
      if (target == JCODE_EUC) return jis2euc(text);
      if (target == JCODE_SJIS) return jis2sjis(text);
      return text;
    case JCODE_EUC:
      if (target == JCODE_JIS83) return euc2jis83(text);
      if (target == JCODE_SJIS) return euc2sjis(text);
      return text;
    case JCODE_SJIS:
      if (target == JCODE_JIS83) return sjis2jis83(text);
      if (target == JCODE_EUC) return sjis2euc(text);
      return text;
    default:
      // Sources above the known codes name nothing to convert from.
      return source > JCODE_EUC_OR_SJIS ? std::string() : text;
  }
}

}  // namespace

std::string ConvertJCode(const std::string& text, int target) { return convert(text, InCodeCheck(text), target); }

std::string StrictConvertJCode(const std::string& text, int source, int target) {
  return convert(text, source, target);
}
