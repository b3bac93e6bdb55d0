// The options a loaded module suggests for one of its operations from a document's own content
// (the operation registered with kOperationSuggestsOptions), for `zelta suggest` and
// `zelta run --auto`.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "zelta/app/host_app.h"
#include "zelta/pdf/host_document.h"

namespace zelta::cli {

struct SuggestedOptions {
  std::string operation;      // the id of the operation the options are for
  ComPtr<ICabItem> options;   // that operation's options as the suggestion proposes them
  ComPtr<ICabItem> defaults;  // that operation's fresh options; null when it cannot be made
  bool found = false;         // false: the document gave nothing worth a run
  std::string explanation;    // one finding a line
  double confidence = 0;      // 0 to 1: how surely the options fit the document
  std::string doubt;          // why not to use them unattended; empty when they may be
  std::string warning;        // what a run with them makes that a user should know of
};

// The suggested options without the values that equal the defaults, as `zelta suggest`
// prints them: what a user reads and edits is only what the suggestion chose.
nlohmann::ordered_json SuggestedOptionsJson(const SuggestedOptions& suggestion);

// The one line that says why an unsure suggestion was not used, and how to go on.
std::string UnsureMessage(const std::string& file, const SuggestedOptions& suggestion);

// Runs the suggesting operation on the document. On failure prints why and returns false.
bool SuggestOptions(app::HostApp& app, IHostDocument* document, int32_t flags,
                    SuggestedOptions* out);

}  // namespace zelta::cli
