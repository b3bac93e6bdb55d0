#include "zelta/cli/bookmark_path.h"

#include <charconv>

namespace zelta::cli {

namespace {

// Splits on a separator, keeping empty pieces so that "1,,2" is reported.
std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  size_t start = 0;
  while (true) {
    size_t end = text.find(separator, start);
    pieces.push_back(
        text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return pieces;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

ComPtr<IHostBookmark> NthChild(IHostBookmark* parent, int index) {
  ComPtr<IHostBookmark> child;
  parent->GetFirstChild(child.Put());
  for (int i = 1; child && i < index; ++i) {
    ComPtr<IHostBookmark> next;
    child->GetNextSibling(next.Put());
    child = next;
  }
  return child;
}

}  // namespace

bool ResolveBookmarkPositions(IHostBookmark* root, std::string_view list,
                              std::vector<ComPtr<IHostBookmark>>* bookmarks, std::string* error) {
  for (std::string_view piece : Split(list, ',')) {
    std::string_view position = Trim(piece);
    ComPtr<IHostBookmark> current(root);
    bool ok = !position.empty();
    for (std::string_view step : Split(position, '.')) {
      int index = 0;
      auto [end, ec] = std::from_chars(step.data(), step.data() + step.size(), index);
      if (!ok || ec != std::errc() || end != step.data() + step.size() || index < 1) {
        ok = false;
        break;
      }
      current = NthChild(current.Get(), index);
      if (!current) {
        *error = "no bookmark at position " + std::string(position);
        return false;
      }
    }
    if (!ok) {
      *error = "bad bookmark position \"" + std::string(position) +
               "\" (expected 1-based positions such as 2 or 3.1)";
      return false;
    }
    bookmarks->push_back(current);
  }
  return true;
}

std::string BookmarkPosition(IHostBookmark* bookmark) {
  std::string path;
  ComPtr<IHostBookmark> current(bookmark);
  while (current) {
    ComPtr<IHostBookmark> parent;
    if (current->GetParent(parent.Put()) != S_OK || !parent) {
      bool root = false;
      current->IsRoot(&root);
      return root ? path : std::string();
    }
    int index = 1;
    ComPtr<IHostBookmark> sibling;
    current->GetPrevSibling(sibling.Put());
    while (sibling) {
      ++index;
      ComPtr<IHostBookmark> prev;
      sibling->GetPrevSibling(prev.Put());
      sibling = prev;
    }
    path = path.empty() ? std::to_string(index) : std::to_string(index) + "." + path;
    current = parent;
  }
  return path;
}

}  // namespace zelta::cli
