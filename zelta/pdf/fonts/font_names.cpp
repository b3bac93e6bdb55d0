#include "zelta/pdf/fonts/font_names.h"

#include <array>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <unordered_map>
#include <vector>

namespace zelta::pdf {
namespace {

// Lower case, without the characters that spellings of one name differ in.
std::string Folded(std::string_view name) {
  std::string folded;
  for (char c : name) {
    if (c == ' ' || c == '-' || c == '_' || c == ',') continue;
    folded.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  }
  return folded;
}

bool EndsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

struct Family {
  std::string_view folded;  // "timesnewroman"
  std::string_view regular, bold, italic, boldItalic;
};

constexpr std::array<Family, 9> kFamilies = {{
    {"helvetica", "Helvetica", "Helvetica-Bold", "Helvetica-Oblique", "Helvetica-BoldOblique"},
    {"arial", "Helvetica", "Helvetica-Bold", "Helvetica-Oblique", "Helvetica-BoldOblique"},
    {"timesnewroman", "Times-Roman", "Times-Bold", "Times-Italic", "Times-BoldItalic"},
    {"timesroman", "Times-Roman", "Times-Bold", "Times-Italic", "Times-BoldItalic"},
    {"times", "Times-Roman", "Times-Bold", "Times-Italic", "Times-BoldItalic"},
    {"couriernew", "Courier", "Courier-Bold", "Courier-Oblique", "Courier-BoldOblique"},
    {"courier", "Courier", "Courier-Bold", "Courier-Oblique", "Courier-BoldOblique"},
    {"symbol", "Symbol", "Symbol", "Symbol", "Symbol"},
    {"zapfdingbats", "ZapfDingbats", "ZapfDingbats", "ZapfDingbats", "ZapfDingbats"},
}};

}  // namespace

std::optional<std::string> StandardFontName(std::string_view name) {
  // A subset tag ("ABCDEF+") names a font program, not a family.
  if (auto plus = name.find('+'); plus != std::string_view::npos) name.remove_prefix(plus + 1);
  std::string folded = Folded(name);
  for (std::string_view tail : {"mt", "ps"})
    if (EndsWith(folded, tail)) folded.resize(folded.size() - tail.size());
  for (const Family& family : kFamilies) {
    if (folded.rfind(family.folded, 0) != 0) continue;
    std::string style = folded.substr(family.folded.size());
    if (EndsWith(style, "mt")) style.resize(style.size() - 2);
    if (style.rfind("ps", 0) == 0) style.erase(0, 2);
    if (style.empty() || style == "roman" || style == "regular" || style == "normal" ||
        style == "book")
      return std::string(family.regular);
    if (style == "bold") return std::string(family.bold);
    if (style == "italic" || style == "oblique") return std::string(family.italic);
    if (style == "bolditalic" || style == "boldoblique") return std::string(family.boldItalic);
    return std::nullopt;  // "ArialNarrow", "TimesTen": another family of the same stem
  }
  return std::nullopt;
}

std::optional<std::string> SystemFontFile(std::string_view name) {
  static std::once_flag listed;
  static std::unordered_map<std::string, std::string> files;
  std::call_once(listed, [] {
    namespace fs = std::filesystem;
    std::vector<std::string> folders = {"/usr/share/fonts", "/usr/local/share/fonts"};
    if (const char* home = std::getenv("HOME"); home && *home) {
      folders.push_back(std::string(home) + "/.local/share/fonts");
      folders.push_back(std::string(home) + "/.fonts");
    }
    // Bounded: a font folder is walked without following links, to a fixed number of files.
    constexpr size_t kMaxFiles = 50000;
    size_t seen = 0;
    for (const std::string& folder : folders) {
      std::error_code error;
      fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied,
                                          error);
      for (; !error && it != fs::recursive_directory_iterator() && seen < kMaxFiles;
           it.increment(error)) {
        ++seen;
        if (!it->is_regular_file(error)) continue;
        std::string extension = Folded(it->path().extension().string());
        if (extension != ".ttf" && extension != ".otf") continue;
        files.emplace(Folded(it->path().stem().string()), it->path().string());
      }
    }
  });
  auto found = files.find(Folded(name));
  if (found == files.end()) return std::nullopt;
  return found->second;
}

}  // namespace zelta::pdf
