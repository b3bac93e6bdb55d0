// Outlines reduced to comparable lines: one per bookmark in pre-order, from zelta's JSON or
// from `mutool show FILE outline`.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace zelta::cli_testing {

struct OutlineLine {
  int depth = 0;            // 0 for top-level bookmarks
  std::string title;        // UTF-8
  std::optional<int> page;  // 1-based target page
  bool hasChildren = false;
  bool open = false;  // meaningful only with children

  bool operator==(const OutlineLine&) const = default;
};

std::ostream& operator<<(std::ostream& out, const OutlineLine& line);

// mutool prints "<state><tabs>"<quoted title>"\t<uri>" per item: state '|' (no children),
// '+' (closed) or '-' (open); one tab per level; the title C-escaped; "#page=N..." for a
// destination in the file. Malformed lines are reported through `error`.
std::vector<OutlineLine> ParseMutoolOutline(const std::string& text, std::string* error);

// The bookmark nodes of `zelta outline --json` output in pre-order, each with its depth (0 for
// the top level); they point into `outline`.
std::vector<std::pair<const nlohmann::json*, int>> PreOrder(const nlohmann::json& outline);

// The lines of `zelta outline --json` output.
std::vector<OutlineLine> FlattenOutline(const nlohmann::json& outline);

// Every title in pre-order.
std::vector<std::string> Titles(const nlohmann::json& outline);

// The outline with every title replaced by one marker: what must not change when only
// titles are rewritten.
nlohmann::json MaskTitles(nlohmann::json outline);

}  // namespace zelta::cli_testing
