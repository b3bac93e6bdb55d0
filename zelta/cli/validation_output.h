// The findings of Validate Bookmarks on the command line: the validation dialog's list as
// text ("Found N invalid bookmark(s)", then each bookmark with its message lines), or one
// JSON entry per record.
#pragma once

#include <nlohmann/json.hpp>
#include <ostream>
#include <string_view>

#include "host/cab.h"
#include "zelta/app/host_app.h"
#include "zelta/pdf/outline/outline.h"

namespace zelta::cli {

// The records of the run's "Output" (each a dictionary of "Bookmark" and "Warnings") as
// [{"title", "position" (1-based path), "warnings", "messages": [...]}, ...].
nlohmann::ordered_json ValidationOutputJson(app::HostApp& app, ICabItem* root);

// The records as the validation dialog lists them.
void PrintValidationFindings(app::HostApp& app, ICabItem* root, std::ostream& out);

// The structural faults the outline reader found (loops, links that disagree, a /Count that
// lies) as [{"item", "message"}, ...], and as text under their own heading (nothing when none).
nlohmann::ordered_json OutlineFindingsJson(const std::vector<pdf::OutlineFinding>& findings);
void PrintOutlineFindings(const std::vector<pdf::OutlineFinding>& findings, std::ostream& out);

}  // namespace zelta::cli
