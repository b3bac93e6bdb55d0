// The common message table: the fallback text for any registered facility's code that its
// own table lacks, keyed by the code's low 16 bits.
#pragma once

#include <cstdint>

namespace zelta::base {

// The common text for a low word, or null when the table has none.
const char16_t* CommonMessage(uint16_t code);

}  // namespace zelta::base
