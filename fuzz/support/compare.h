// Comparing a codec result with a model result (see reference_jcode.h).
#pragma once

#include <string>

#include "fuzz_check.h"
#include "reference_jcode.h"

namespace fuzz {

inline void ExpectModel(const char* what, const std::string& input, const ref::Result& model,
                        const std::string& actual) {
  if (model.complete) {
    if (actual != model.out) Fail(what, input, model.out, actual);
  } else if (actual.compare(0, model.out.size(), model.out) != 0) {
    // Only the part before the implementation's own choice is fixed.
    Fail(what, input, model.out + " ...", actual);
  }
}

}  // namespace fuzz
