#include "tests/zelta/cli/outline_lines.h"

#include <map>
#include <ostream>
#include <stack>

#include "platform/locale_text.h"

namespace zelta::cli_testing {

namespace {

// Reads a quoted, C-escaped string starting at text[pos] == '"'; pos ends after the quote.
std::optional<std::string> Unquote(const std::string& text, size_t& pos) {
  if (pos >= text.size() || text[pos] != '"') return std::nullopt;
  std::string out;
  for (++pos; pos < text.size(); ++pos) {
    char c = text[pos];
    if (c == '"') {
      ++pos;
      return out;
    }
    if (c != '\\') {
      out += c;
      continue;
    }
    if (++pos >= text.size()) return std::nullopt;
    const char e = text[pos];
    static const std::map<char, char> kControls{
        {'n', '\n'}, {'r', '\r'}, {'t', '\t'}, {'b', '\b'}, {'f', '\f'}};
    if (const auto control = kControls.find(e); control != kControls.end()) {
      out += control->second;
    } else if (e == 'x' || e == 'u') {
      const size_t digits = e == 'x' ? 2 : 4;
      if (pos + digits >= text.size()) return std::nullopt;
      const auto code =
          static_cast<char16_t>(std::stoul(text.substr(pos + 1, digits), nullptr, 16));
      out += bm::platform::Utf16ToUtf8(std::u16string(1, code));
      pos += digits;
    } else {
      out += e;  // \" and \\ stand for themselves
    }
  }
  return std::nullopt;
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const OutlineLine& line) {
  out << std::string(2 * static_cast<size_t>(line.depth), ' ') << '"' << line.title
      << "\" p=" << (line.page ? std::to_string(*line.page) : "none");
  if (line.hasChildren) out << (line.open ? " open" : " closed");
  return out;
}

std::vector<OutlineLine> ParseMutoolOutline(const std::string& text, std::string* error) {
  std::vector<OutlineLine> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string row = text.substr(start, end - start);
    start = end + 1;
    if (row.empty()) continue;

    OutlineLine line;
    char state = row[0];
    size_t pos = 1;
    while (pos < row.size() && row[pos] == '\t') ++pos;
    line.depth = static_cast<int>(pos) - 2;
    auto title = Unquote(row, pos);
    if ((state != '|' && state != '+' && state != '-') || line.depth < 0 || !title ||
        pos >= row.size() || row[pos] != '\t') {
      if (error) *error = "unexpected mutool outline line: " + row;
      return {};
    }
    line.title = *title;
    line.hasChildren = state != '|';
    line.open = state == '-';
    std::string uri = row.substr(pos + 1);
    if (uri.starts_with("#page=")) line.page = std::stoi(uri.substr(6));
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::pair<const nlohmann::json*, int>> PreOrder(const nlohmann::json& outline) {
  std::vector<std::pair<const nlohmann::json*, int>> nodes;
  if (!outline.is_object() || !outline.contains("bookmarks")) return nodes;
  // Iterative: deep test outlines would overflow a recursive walk.
  std::stack<std::pair<const nlohmann::json*, int>> pending;
  const auto& top = outline["bookmarks"];
  for (auto it = top.rbegin(); it != top.rend(); ++it) pending.emplace(&*it, 0);
  while (!pending.empty()) {
    const auto [node, depth] = pending.top();
    pending.pop();
    nodes.emplace_back(node, depth);
    const auto& children = (*node)["children"];
    for (auto it = children.rbegin(); it != children.rend(); ++it) pending.emplace(&*it, depth + 1);
  }
  return nodes;
}

std::vector<OutlineLine> FlattenOutline(const nlohmann::json& outline) {
  std::vector<OutlineLine> lines;
  for (const auto& [node, depth] : PreOrder(outline)) {
    OutlineLine line;
    line.depth = depth;
    line.title = (*node)["title"].get<std::string>();
    if ((*node)["page"].is_number()) line.page = (*node)["page"].get<int>();
    line.hasChildren = !(*node)["children"].empty();
    line.open = line.hasChildren && (*node)["open"].get<bool>();
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> Titles(const nlohmann::json& outline) {
  std::vector<std::string> titles;
  for (const OutlineLine& line : FlattenOutline(outline)) titles.push_back(line.title);
  return titles;
}

nlohmann::json MaskTitles(nlohmann::json outline) {
  if (!outline.is_object() || !outline.contains("bookmarks")) return outline;
  std::stack<nlohmann::json*> pending;
  pending.push(&outline["bookmarks"]);
  while (!pending.empty()) {
    nlohmann::json* list = pending.top();
    pending.pop();
    for (auto& node : *list) {
      node["title"] = "*";
      pending.push(&node["children"]);
    }
  }
  return outline;
}

}  // namespace zelta::cli_testing
