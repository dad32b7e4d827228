// The line-break texts the transfer decoders understand, picked by a byte.
#pragma once

#include <string>

namespace fuzz {

inline const std::string kLineBreaks[] = {"\r\n", "\n", "\r"};

}  // namespace fuzz
