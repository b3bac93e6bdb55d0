#include "platform/environment.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/locale_text.h"

extern char** environ;

namespace bm::platform {
namespace {

// Files bigger than this are not environment files; they are skipped rather than read.
constexpr std::uintmax_t kMaxFileSize = 1 << 20;

bool ValidName(std::string_view name) {
  if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
  });
}

std::string Trim(std::string_view text) {
  const char* blanks = " \t\r\n";
  size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  size_t last = text.find_last_not_of(blanks);
  return std::string(text.substr(first, last - first + 1));
}

std::vector<std::string> ReadLines(const std::filesystem::path& path) {
  std::vector<std::string> lines;
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return lines;
  const auto size = std::filesystem::file_size(path, error);
  if (error || size > kMaxFileSize) return lines;
  std::ifstream in(path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

// Splits "NAME=VALUE" (after an optional "export "); false for comments and other lines.
bool SplitAssignment(const std::string& rawLine, std::string& name, std::string& value) {
  std::string line = Trim(rawLine);
  if (line.empty() || line[0] == '#') return false;
  if (line.rfind("export ", 0) == 0) line = Trim(line.substr(7));
  const size_t eq = line.find('=');
  if (eq == std::string::npos) return false;
  name = Trim(line.substr(0, eq));
  value = Trim(line.substr(eq + 1));
  return ValidName(name);
}

std::string Unquote(const std::string& value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

// Expands $NAME, ${NAME}, ${NAME:-default} and ${NAME:+alternative} from the assignments so
// far, then the process. A reference that does not close is kept as text.
std::string Expand(const std::string& value, const std::map<std::string, std::string>& known) {
  auto lookup = [&](const std::string& name) -> std::string {
    auto found = known.find(name);
    if (found != known.end()) return found->second;
    const char* process = std::getenv(name.c_str());
    return process ? process : "";
  };
  std::string out;
  for (size_t i = 0; i < value.size();) {
    if (value[i] == '\\' && i + 1 < value.size()) {
      out += value[i + 1];
      i += 2;
      continue;
    }
    if (value[i] != '$' || i + 1 >= value.size()) {
      out += value[i++];
      continue;
    }
    if (value[i + 1] == '{') {
      const size_t close = value.find('}', i + 2);
      if (close == std::string::npos) {
        out += value.substr(i);
        break;
      }
      std::string inner = value.substr(i + 2, close - i - 2);
      const size_t op = inner.find(":-") != std::string::npos ? inner.find(":-") : inner.find(":+");
      if (op == std::string::npos) {
        out += lookup(inner);
      } else {
        const std::string current = lookup(inner.substr(0, op));
        const std::string word = inner.substr(op + 2);
        if (inner[op + 1] == '-')
          out += current.empty() ? word : current;
        else
          out += current.empty() ? "" : word;
      }
      i = close + 1;
      continue;
    }
    size_t end = i + 1;
    while (end < value.size() &&
           (std::isalnum(static_cast<unsigned char>(value[end])) || value[end] == '_'))
      ++end;
    if (end == i + 1) {
      out += value[i++];
      continue;
    }
    out += lookup(value.substr(i + 1, end - i - 1));
    i = end;
  }
  return out;
}

}  // namespace

EnvironmentSources DefaultEnvironmentSources() {
  EnvironmentSources sources;
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  if (config && *config)
    sources.userDir = std::string(config) + "/environment.d";
  else if (home && *home)
    sources.userDir = std::string(home) + "/.config/environment.d";
  sources.machineFile = "/etc/environment";
  return sources;
}

std::map<std::string, std::string> ReadUserEnvironment(const std::string& dir) {
  std::map<std::string, std::string> values;
  if (dir.empty()) return values;
  std::vector<std::filesystem::path> files;
  std::error_code error;
  for (std::filesystem::directory_iterator it(dir, error), end; !error && it != end;
       it.increment(error))
    if (it->path().extension() == ".conf") files.push_back(it->path());
  std::sort(files.begin(), files.end());
  for (const auto& file : files) {
    for (const std::string& line : ReadLines(file)) {
      std::string name, value;
      if (SplitAssignment(line, name, value)) values[name] = Expand(Unquote(value), values);
    }
  }
  return values;
}

std::map<std::string, std::string> ReadMachineEnvironment(const std::string& file) {
  std::map<std::string, std::string> values;
  if (file.empty()) return values;
  for (const std::string& line : ReadLines(file)) {
    std::string name, value;
    if (SplitAssignment(line, name, value)) values[name] = Unquote(value);
  }
  return values;
}

std::optional<std::u16string> LookupEnvironment(std::u16string_view name,
                                                const EnvironmentSources& sources) {
  const std::string key = Utf16ToUtf8(name);
  if (!ValidName(key)) return std::nullopt;
  const auto user = ReadUserEnvironment(sources.userDir);
  if (auto found = user.find(key); found != user.end()) return Utf8ToUtf16(found->second);
  if (const char* process = std::getenv(key.c_str())) return Utf8ToUtf16(process);
  const auto machine = ReadMachineEnvironment(sources.machineFile);
  if (auto found = machine.find(key); found != machine.end()) return Utf8ToUtf16(found->second);
  return std::nullopt;
}

std::map<std::string, std::string> MergedEnvironment(const EnvironmentSources& sources) {
  std::map<std::string, std::string> merged = ReadMachineEnvironment(sources.machineFile);
  for (char** entry = environ; entry && *entry; ++entry) {
    std::string_view text(*entry);
    const size_t eq = text.find('=');
    if (eq != std::string_view::npos && eq > 0)
      merged[std::string(text.substr(0, eq))] = std::string(text.substr(eq + 1));
  }
  for (auto& [name, value] : ReadUserEnvironment(sources.userDir)) merged[name] = value;
  return merged;
}

}  // namespace bm::platform
