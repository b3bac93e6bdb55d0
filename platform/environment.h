// Environment variables as a user sees them, looked up in the order "UAM": U the user's
// environment (the KEY=VALUE lines of $XDG_CONFIG_HOME/environment.d/*.conf, files in name
// order, later assignments winning, "$NAME" and "${NAME}" expanded from earlier ones and the
// process), A the process environment, M the machine environment (/etc/environment).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace bm::platform {

struct EnvironmentSources {
  std::string userDir;      // folder of *.conf files; empty: none
  std::string machineFile;  // KEY=VALUE file; empty: none
};

// $XDG_CONFIG_HOME/environment.d (or ~/.config/environment.d) and /etc/environment.
EnvironmentSources DefaultEnvironmentSources();

// The assignments of a user environment.d folder, expanded (see above).
std::map<std::string, std::string> ReadUserEnvironment(const std::string& dir);
// The assignments of an /etc/environment file: optional "export ", optional quotes, no
// expansion.
std::map<std::string, std::string> ReadMachineEnvironment(const std::string& file);

// The value of a variable by the order "UAM"; nullopt when no source has it. The name is
// UTF-16 and so is the value (files and the process environment are read as UTF-8).
std::optional<std::u16string> LookupEnvironment(std::u16string_view name,
                                                const EnvironmentSources& sources);

// Every variable name the three sources know, once each, in name order (for the macro menu).
std::map<std::string, std::string> MergedEnvironment(const EnvironmentSources& sources);

}  // namespace bm::platform
