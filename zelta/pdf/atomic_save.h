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
// The temporary file is named after the target and the writing process, so that a save that
// was killed leaves a file the next save into that folder recognises and removes.
HRESULT SaveAtomically(MuCalls& mu, const std::string& path, std::string* error);

// Removes the temporary files in folder that saves left behind: ours by name, owned by this
// user, and whose writing process no longer runs.
void RemoveStaleTemporaries(const std::string& folder);

}  // namespace zelta::pdf
