// Saving without ever leaving a half-written file: the document goes to a temporary file in
// the target's folder, is flushed to disk and renamed over the target.
#pragma once

#include <string>

#include "host/com.h"
#include "zelta/pdf/mu_calls.h"

namespace zelta::pdf {

// Writes the whole document (encryption kept as it was) to `path`. On failure nothing is left
// behind, the target is untouched, and *error names the path and the reason. A target that
// exists and is not a regular file (a device, a folder) is refused.
HRESULT SaveAtomically(MuCalls& mu, const std::string& path, std::string* error);

}  // namespace zelta::pdf
