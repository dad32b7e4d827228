#include "mail_display.h"

#include "Jconvert.h"

std::string DecodeForDisplay(const std::string& raw) { return DecodeHeaderForDisplay(raw); }

bool HasNgWord(const std::string& subject, const std::vector<std::string>& words) {
  for (const std::string& word : words) {
    if (word.empty()) return false;
    if (subject.find(word) != std::string::npos) return true;
  }
  return false;
}
