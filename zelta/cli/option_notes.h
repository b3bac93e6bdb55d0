// What the command line tells people about an operation's options, from the module's own
// template (types, defaults, named values, which option needs which bit) and string table
// (what each means): the explanation of `zelta options OP --explain`, and warnings about
// options that cannot take effect.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "host/cab.h"
#include "zelta/app/host_app.h"

namespace zelta::cli {

// Every field of the options with its path, type, default and meaning, and the named values
// of each Int field; `abbreviation` only fills the examples.
void ExplainOptions(app::HostApp& app, ICabItem* options, const std::string& abbreviation,
                    std::ostream& out);

// Options whose values cannot take effect: a field set while the bit it needs is clear, a
// flag word that selects nothing. One message a finding, naming the option and the fix.
std::vector<std::string> IneffectiveOptions(ICabItem* options);

}  // namespace zelta::cli
