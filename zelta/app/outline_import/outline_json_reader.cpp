#include "zelta/app/outline_import/outline_json_reader.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "host/limits.h"
#include "zelta/app/cab/json_text.h"
#include "zelta/app/host_color.h"
#include "zelta/app/outline_import/outline_limits.h"
#include "zelta/base/text_codec.h"

namespace zelta::app {

namespace {

using Json = nlohmann::json;

constexpr const char* kFitNames[] = {"XYZ",  "Fit",  "FitH",  "FitV",
                                     "FitR", "FitB", "FitBH", "FitBV"};
constexpr int kValueCount[] = {3, 0, 1, 1, 4, 0, 1, 1};

struct Failure {
  std::string text;
};

std::u16string Text(const Json& object, const char* key, const std::string& where) {
  auto it = object.find(key);
  if (it == object.end() || it->is_null()) return {};
  if (!it->is_string()) throw Failure{where + "." + key + " is not a string"};
  return base::LossyUtf16(it->get<std::string>());
}

// A key whose value names one of a few words; absent or null gives the fallback.
std::string Word(const Json& object, const char* key, const char* fallback,
                 const std::string& where) {
  auto it = object.find(key);
  if (it == object.end() || it->is_null()) return fallback;
  if (!it->is_string()) throw Failure{where + "." + key + " is not a string"};
  return it->get<std::string>();
}

int64_t Integer(const Json& value, const std::string& where) {
  if (!value.is_number_integer()) throw Failure{where + " is not an integer"};
  return value.get<int64_t>();
}

NodeAction ReadAction(const Json& json, const std::string& where, std::u16string_view title) {
  if (!json.is_object()) throw Failure{where + " is not an object"};
  NodeAction action;
  const std::string type = Word(json, "type", "", where);
  if (type == "GoTo")
    action.type = kActionGoTo;
  else if (type == "GoToR")
    action.type = kActionGoToR;
  else if (type == "URI")
    action.type = kActionURI;
  else if (type == "Launch")
    action.type = kActionLaunch;
  else if (type == "JavaScript")
    action.type = kActionJavaScript;
  else
    throw Failure{where + ".type \"" + type +
                  "\" is not an action the host makes (GoTo, GoToR, URI, Launch, JavaScript)"};
  action.name = Text(json, "name", where);
  action.file = Text(json, "file", where);
  action.uri = Text(json, "uri", where);
  action.script = Text(json, "script", where);
  if ((action.type == kActionGoTo || action.type == kActionGoToR) && action.name.empty()) {
    auto page = json.find("page");
    if (page == json.end() || page->is_null())
      throw Failure{where + " has neither a page nor a destination name"};
    PageDestination dest;
    const int64_t number = Integer(*page, where + ".page");
    if (number < 1 || number > INT32_MAX) throw Failure{where + ".page must be 1 or more"};
    dest.page = static_cast<int32_t>(number - 1);
    const std::string fit = Word(json, "fit", "XYZ", where);
    dest.fitType = -1;
    for (int i = 0; i < 8; ++i)
      if (fit == kFitNames[i]) dest.fitType = i;
    if (dest.fitType < 0) throw Failure{where + ".fit \"" + fit + "\" is not a fit type"};
    dest.flags = 15;
    auto values = json.find("values");
    if (values != json.end() && !values->is_null()) {
      if (!values->is_array() || values->size() > 4)
        throw Failure{where + ".values is not a list of at most four numbers"};
      for (size_t i = 0; i < values->size(); ++i) {
        const Json& value = (*values)[i];
        if (value.is_null()) continue;
        const std::string name = where + ".values[" + std::to_string(i) + "]";
        if (!value.is_number() || !std::isfinite(value.get<double>()))
          throw Failure{name + " is not a number"};
        if (static_cast<int>(i) < kValueCount[dest.fitType] &&
            !DestinationValueInRange(dest.fitType, static_cast<int>(i), value.get<double>()))
          throw Failure{
              DestinationValueText(dest.fitType, static_cast<int>(i), value.get<double>(), name) +
              " in bookmark \"" + base::LossyUtf8(title.substr(0, 40)) +
              (title.size() > 40 ? "...\"" : "\"")};
        dest.values[i] = value.get<double>();
        dest.flags &= ~(1u << i);
      }
      // Values the fit type does not take are absent whatever the list says.
      for (int i = kValueCount[dest.fitType]; i < 4; ++i) dest.flags |= 1u << i;
    }
    action.destination = dest;
  }
  return action;
}

OutlineNode ReadNode(const Json& json, size_t depth, const std::string& where) {
  if (!json.is_object()) throw Failure{where + " is not an object"};
  OutlineNode node;
  node.depth = depth;
  node.open = true;  // a hand-written node without "open" shows its children
  node.title = Text(json, "title", where);
  if (node.title.size() > kMaxBookmarkTitle) throw Failure{": " + TitleTooLongText(node.title)};
  if (auto style = json.find("style"); style != json.end() && !style->is_null()) {
    const int64_t value = Integer(*style, where + ".style");
    if (value < 0 || value > 3) throw Failure{where + ".style must be 0 to 3"};
    node.style = static_cast<int32_t>(value);
  }
  if (auto open = json.find("open"); open != json.end() && !open->is_null()) {
    if (!open->is_boolean()) throw Failure{where + ".open is not true or false"};
    node.open = open->get<bool>();
  }
  const std::u16string color = Text(json, "color", where);
  if (!color.empty()) {
    auto packed = ParseHostColor(color);
    if (!packed) throw Failure{where + ".color \"" + base::LossyUtf8(color) + "\" is not a colour"};
    node.color = *packed;
  }
  auto actions = json.find("actions");
  if (actions != json.end() && !actions->is_null()) {
    if (!actions->is_array()) throw Failure{where + ".actions is not a list"};
    for (size_t i = 0; i < actions->size(); ++i)
      node.actions.push_back(
          ReadAction((*actions)[i], where + ".actions[" + std::to_string(i) + "]", node.title));
  } else if (auto page = json.find("page"); page != json.end() && !page->is_null()) {
    // A hand-written node may name just its page.
    NodeAction action;
    const int64_t number = Integer(*page, where + ".page");
    if (number < 1 || number > INT32_MAX) throw Failure{where + ".page must be 1 or more"};
    action.destination = PageDestination{};
    action.destination->page = static_cast<int32_t>(number - 1);
    node.actions.push_back(std::move(action));
  }
  return node;
}

}  // namespace

size_t CountJsonBookmarks(std::string_view text) {
  // What each open bracket is: a list of bookmarks, a bookmark, the outline object around the
  // top list, or anything else (actions, values).
  enum Kind : uint8_t { kOther, kList, kBookmark, kOutline };
  std::vector<Kind> open;
  std::string_view last, key;
  size_t count = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    switch (text[i]) {
      case '"': {
        size_t end = i + 1;
        while (end < text.size() && text[end] != '"') end += text[end] == '\\' ? 2 : 1;
        last = text.substr(i + 1, std::min(end, text.size()) - i - 1);
        i = end;
        break;
      }
      case ':':
        key = last;
        break;
      case ',':
        key = {};
        break;
      case '{': {
        const Kind kind = open.empty() ? kOutline : open.back() == kList ? kBookmark : kOther;
        count += kind == kBookmark;
        open.push_back(kind);
        key = {};
        break;
      }
      case '[': {
        const bool list = open.empty() || (open.back() == kOutline && key == "bookmarks") ||
                          (open.back() == kBookmark && key == "children");
        open.push_back(list ? kList : kOther);
        key = {};
        break;
      }
      case '}':
      case ']':
        if (!open.empty()) open.pop_back();
        break;
      default:
        break;
    }
  }
  return count;
}

bool ReadOutlineJson(std::string_view text, std::vector<OutlineNode>* nodes, std::string* error) {
  // Counted before the text is parsed: the parse and the nodes cost memory by the bookmark.
  const size_t count = CountJsonBookmarks(text);
  if (count > kMaxImportedBookmarks) {
    *error = TooManyBookmarksText(count);
    return false;
  }
  nodes->reserve(nodes->size() + count);
  Json json;
  if (!ParseJsonText(text, &json, error)) return false;
  const Json* top = &json;
  if (json.is_object()) {
    auto it = json.find("bookmarks");
    if (it == json.end() || !it->is_array()) {
      *error = "the JSON has no \"bookmarks\" list";
      return false;
    }
    top = &*it;
  } else if (!json.is_array()) {
    *error = "the JSON is neither an outline object nor a list of bookmarks";
    return false;
  }
  struct Level {
    const Json* list;
    size_t next;
  };
  std::vector<Level> levels{{top, 0}};
  // The place of the node being read, built only for a message: a path spelled out for every
  // node of a deep tree would cost memory by the square of its depth.
  const auto place = [&] {
    // A deep place keeps its first and last levels, so that the message stays readable.
    constexpr size_t kShown = 4;
    std::string where = "bookmarks";
    for (size_t i = 0; i < levels.size(); ++i) {
      if (i == kShown && levels.size() > 2 * kShown) {
        where += "...(" + std::to_string(levels.size() - 2 * kShown) + " levels)...";
        i = levels.size() - kShown - 1;
        continue;
      }
      where += (i ? ".children[" : "[") + std::to_string(levels[i].next - 1) + "]";
    }
    return where;
  };
  try {
    while (!levels.empty()) {
      Level& level = levels.back();
      if (level.next >= level.list->size()) {
        levels.pop_back();
        continue;
      }
      const Json& item = (*level.list)[level.next++];
      // The count above reads keys as written; one spelt with escapes is counted here.
      if (nodes->size() >= kMaxImportedBookmarks) {
        *error = TooManyBookmarksText(nodes->size() + 1);
        return false;
      }
      nodes->push_back(ReadNode(item, levels.size() - 1, ""));
      auto children = item.find("children");
      if (children != item.end() && !children->is_null()) {
        if (!children->is_array()) throw Failure{".children is not a list"};
        if (levels.size() >= kMaxBookmarkDepth && !children->empty())
          throw Failure{": " + TooDeepText()};
        levels.push_back({&*children, 0});
      }
    }
  } catch (const Failure& failure) {
    *error = place() + failure.text;
    return false;
  }
  return true;
}

}  // namespace zelta::app
