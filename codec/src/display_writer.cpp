#include "display_writer.h"

#include <cerrno>
#include <cstring>

#include "cp932_codes.h"

namespace jconvert_detail {
namespace {

iconv_t no_converter() { return reinterpret_cast<iconv_t>(-1); }

// Characters held back before a batch goes through iconv.
constexpr std::size_t kBatch = 4096;

// What is shown for a character before code page 932 is asked: control
// characters and the no-break space as a space, and three signs whose code
// page 932 forms would show as something else (0x5C, 0x7E) or not at all.
char32_t display_form(char32_t cp) {
  if (cp < 0x20 || (cp >= 0x7F && cp <= 0xA0)) return U' ';
  switch (cp) {
    case U'\u00A5': return U'\uFFE5';  // yen sign: 0x5C shows as a backslash
    case U'\u203E': return U'\uFFE3';  // overline: 0x7E shows as a tilde
    case U'\u00A6': return U'\uFFE4';  // broken bar
    case U'\uFFFD': return U'\u3013';  // the geta mark
    default: return cp;
  }
}

// The kana that base and a combining sound mark make together, or 0. Mail
// from systems that decompose text carries kana this way; code page 932
// holds only the composed forms. ゔ and ヷ..ヺ are left apart, as code page
// 932 lacks them.
char32_t compose_kana(char32_t base, char32_t mark) {
  const char32_t hira = base >= 0x30A1 && base <= 0x30FE ? base - 0x60 : base;  // katakana as hiragana
  const bool katakana = hira != base;
  const bool ha_row = hira >= 0x306F && hira <= 0x307B && (hira - 0x306F) % 3 == 0;
  char32_t composed = 0;
  if (mark == 0x3099) {
    if ((hira >= 0x304B && hira <= 0x3061 && (hira - 0x304B) % 2 == 0) || hira == 0x3064 || hira == 0x3066 ||
        hira == 0x3068 || ha_row || hira == 0x309D)
      composed = hira + 1;
    else if (katakana && base == 0x30A6) return 0x30F4;  // ヴ
  } else if (mark == 0x309A && ha_row) {
    composed = hira + 2;
  }
  if (!composed) return 0;
  return katakana ? composed + 0x60 : composed;
}

}  // namespace

IconvPool::~IconvPool() {
  for (const Entry& e : entries_) {
    if (e.cd != no_converter()) iconv_close(e.cd);
  }
}

iconv_t IconvPool::get(const char* to, const char* from) {
  for (const Entry& e : entries_) {
    if (std::strcmp(e.to, to) == 0 && std::strcmp(e.from, from) == 0) {
      if (e.cd == no_converter()) return nullptr;
      iconv(e.cd, nullptr, nullptr, nullptr, nullptr);
      return e.cd;
    }
  }
  const iconv_t cd = iconv_open(to, from);
  entries_.push_back({to, from, cd});
  return cd == no_converter() ? nullptr : cd;
}

void DisplayWriter::Ascii(unsigned char c) {
  direct();
  out_ += c < 0x20 || c == 0x7F ? ' ' : static_cast<char>(c);
}

void DisplayWriter::Kana(unsigned char k) {
  direct();
  out_ += static_cast<char>(k);
}

void DisplayWriter::Pair(unsigned char lead, unsigned char trail) {
  if (!is_cp932_defined(lead, trail)) return Geta();
  direct();
  out_ += static_cast<char>(lead);
  out_ += static_cast<char>(trail);
}

void DisplayWriter::Geta() {
  direct();
  out_ += static_cast<char>(kGetaLead);
  out_ += static_cast<char>(kGetaTrail);
}

void DisplayWriter::CodePoint(char32_t cp) {
  if ((cp == 0x3099 || cp == 0x309A) && !pending_.empty()) {
    if (const char32_t composed = compose_kana(pending_.back(), cp)) {
      pending_.back() = composed;
      return;
    }
  }
  if (cp == 0x3099) cp = 0x309B;  // a mark with nothing to join: its spacing form
  if (cp == 0x309A) cp = 0x309C;
  pending_ += display_form(cp);
  // The last character stays, so that a sound mark after it can still join it.
  if (pending_.size() >= kBatch) flush_unicode(1);
}

void DisplayWriter::Finish() { direct(); }

void DisplayWriter::flush_unicode(std::size_t keep) {
  const std::size_t count = pending_.size() - keep;
  iconv_t cd = pool_.get("CP932", kUtf32);
  if (!cd) {
    for (std::size_t i = 0; i < count; ++i) {
      const char32_t cp = pending_[i];
      if (cp < 0x80) {
        out_ += static_cast<char>(cp);
      } else {
        out_ += static_cast<char>(kGetaLead);
        out_ += static_cast<char>(kGetaTrail);
      }
    }
  } else {
    // Two bytes at most per character, and iconv writes straight into the result.
    const std::size_t start = out_.size();
    out_.resize(start + 2 * count);
    char* in = reinterpret_cast<char*>(pending_.data());
    std::size_t in_left = count * sizeof(char32_t);
    char* to = out_.data() + start;
    std::size_t room = 2 * count;
    while (in_left > 0) {
      if (iconv(cd, &in, &in_left, &to, &room) != static_cast<std::size_t>(-1)) break;
      if (errno != EILSEQ) break;  // cannot happen: the room suffices and no character is cut
      // A character code page 932 lacks: the geta mark takes its two bytes.
      *to++ = static_cast<char>(kGetaLead);
      *to++ = static_cast<char>(kGetaTrail);
      room -= 2;
      in += sizeof(char32_t);
      in_left -= sizeof(char32_t);
    }
    out_.resize(static_cast<std::size_t>(to - out_.data()));
  }
  pending_.erase(0, count);
}

}  // namespace jconvert_detail
