// A byte string whose bytes end exactly where its size says: the heap buffer
// behind it (the terminating NUL and unused capacity included) is poisoned,
// so AddressSanitizer reports any read past the last byte, even one that
// std::string itself would tolerate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/asan_interface.h>
#define TOLVANE_FUZZ_POISON 1
#endif
#endif

namespace fuzz {

class GuardedText {
 public:
  GuardedText(const std::uint8_t* data, std::size_t size) {
    // Anything above the short-string capacity keeps the bytes on the heap,
    // never inside the string object.
    text_.reserve(size < 16 ? 16 : size);
    text_.assign(reinterpret_cast<const char*>(data), size);
    poison(true);
  }
  explicit GuardedText(const std::string& s) : GuardedText(reinterpret_cast<const std::uint8_t*>(s.data()), s.size()) {}
  ~GuardedText() { poison(false); }
  GuardedText(const GuardedText&) = delete;
  GuardedText& operator=(const GuardedText&) = delete;

  const std::string& str() const { return text_; }

 private:
  void poison([[maybe_unused]] bool on) {
#ifdef TOLVANE_FUZZ_POISON
    char* tail = text_.data() + text_.size();
    const std::size_t len = text_.capacity() + 1 - text_.size();
    if (on) {
      ASAN_POISON_MEMORY_REGION(tail, len);
    } else {
      ASAN_UNPOISON_MEMORY_REGION(tail, len);
    }
#endif
  }

  std::string text_;
};

}  // namespace fuzz
