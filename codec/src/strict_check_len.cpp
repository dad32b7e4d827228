#include "Jconvert.h"

std::int32_t STRICT_CHECK_LEN = 512;
