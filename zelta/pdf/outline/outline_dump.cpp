#include "zelta/pdf/outline/outline_dump.h"

#include <cstdio>
#include <functional>
#include <nlohmann/json.hpp>
#include <vector>

#include "zelta/base/text_codec.h"
#include "zelta/pdf/actions/destination.h"
#include "zelta/pdf/text/pdf_text.h"

namespace zelta::pdf {
namespace {

std::string Quote(std::u16string_view text) {
  return nlohmann::json(base::LossyUtf8(text))
      .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string Number(double value) { return nlohmann::json(value).dump(); }

std::string ActionJson(IHostAction* action) {
  int32_t type = kActionOther;
  action->GetType(&type);
  OwnedString name;
  action->GetTypeName(name.Put());
  std::string out = "{\"type\":" + Quote(name.View());
  if (type == kActionGoTo || type == kActionGoToR || type == kActionGoToE) {
    PageDestination dest;
    if (action->GetDestination(&dest) == S_OK) {
      out += ",\"page\":" + std::to_string(dest.page + 1);
      const char* fit = FitTypeName(dest.fitType);
      out += std::string(",\"fit\":\"") + (fit ? fit : "XYZ") + "\",\"values\":[";
      static constexpr int kCount[] = {3, 0, 1, 1, 4, 0, 1, 1};
      for (int i = 0; i < kCount[dest.fitType & 7]; ++i) {
        if (i) out += ",";
        out += (dest.flags & (1u << i)) ? "null" : Number(dest.values[i]);
      }
      out += "]";
    } else {
      out += ",\"page\":null";
    }
    OwnedString destName;
    if (action->GetDestinationName(destName.Put()) == S_OK)
      out += ",\"name\":" + Quote(destName.View());
  }
  OwnedString text;
  if (action->GetFile(text.Put()) == S_OK) out += ",\"file\":" + Quote(text.View());
  if (action->GetUri(text.Put()) == S_OK) out += ",\"uri\":" + Quote(text.View());
  if (action->GetScript(text.Put()) == S_OK) out += ",\"script\":" + Quote(text.View());
  return out + "}";
}

std::string NodeHeadJson(IHostBookmark* bookmark) {
  OwnedString title;
  bookmark->GetTitle(title.Put());
  int32_t page = TargetPageOf(bookmark);
  bool open = false;
  bookmark->GetOpen(&open);
  int32_t style = 0;
  bookmark->GetStyle(&style);
  uint32_t color = 0;
  std::string colorText = "null";
  if (bookmark->GetColor(&color) == S_OK) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "\"#%06X\"", color & 0xFFFFFFu);
    colorText = buffer;
  }
  std::string out = "{\"title\":" + Quote(title.View()) +
                    ",\"page\":" + (page >= 0 ? std::to_string(page + 1) : "null") +
                    ",\"open\":" + (open ? "true" : "false") +
                    ",\"style\":" + std::to_string(style) + ",\"color\":" + colorText +
                    ",\"actions\":[";
  ComPtr<IHostActionList> actions;
  int32_t count = 0;
  if (Succeeded(bookmark->GetActions(actions.Put())) && actions) actions->GetCount(&count);
  for (int32_t i = 0; i < count; ++i) {
    ComPtr<IHostAction> action;
    if (actions->GetItem(i, action.Put()) != S_OK) continue;
    if (i) out += ",";
    out += ActionJson(action.Get());
  }
  return out + "],\"children\":[";
}

}  // namespace

void WalkOutline(IHostDocument* document, const std::function<void(IHostBookmark*, size_t)>& enter,
                 const std::function<void(IHostBookmark*, bool hasChildren)>& leave) {
  ComPtr<IHostBookmark> root, node;
  if (Failed(document->GetOutlineRoot(root.Put())) || !root) return;
  root->GetFirstChild(node.Put());
  std::vector<ComPtr<IHostBookmark>> path;
  while (true) {
    if (node) {
      enter(node.Get(), path.size());
      ComPtr<IHostBookmark> child;
      node->GetFirstChild(child.Put());
      if (child) {
        path.push_back(node);
        node = child;
        continue;
      }
      leave(node.Get(), false);
      ComPtr<IHostBookmark> next;
      node->GetNextSibling(next.Put());
      node = next;
      continue;
    }
    if (path.empty()) break;
    ComPtr<IHostBookmark> parent = path.back();
    path.pop_back();
    leave(parent.Get(), true);
    parent->GetNextSibling(node.Put());
  }
}

int32_t TargetPageOf(IHostBookmark* bookmark) {
  ComPtr<IHostActionList> actions;
  int32_t count = 0;
  if (!bookmark || Failed(bookmark->GetActions(actions.Put())) || !actions) return -1;
  actions->GetCount(&count);
  for (int32_t i = count - 1; i >= 0; --i) {
    ComPtr<IHostAction> action;
    int32_t type = kActionOther;
    if (actions->GetItem(i, action.Put()) != S_OK || Failed(action->GetType(&type)) ||
        type != kActionGoTo)
      continue;
    PageDestination dest;
    if (action->GetDestination(&dest) == S_OK && dest.page >= 0) return dest.page;
  }
  return -1;
}

std::string OutlineToJson(IHostDocument* document) {
  if (!document) return "null";
  int32_t pages = 0;
  document->GetPageCount(&pages);
  std::string out = "{\"pages\":" + std::to_string(pages) + ",\"bookmarks\":[";
  bool first = true;
  WalkOutline(
      document,
      [&](IHostBookmark* bookmark, size_t) {
        if (!first) out += ",";
        out += NodeHeadJson(bookmark);
        first = true;
      },
      [&](IHostBookmark*, bool) {
        out += "]}";
        first = false;
      });
  return out + "]}";
}

std::string OutlineToText(IHostDocument* document) {
  std::string out;
  if (!document) return out;
  WalkOutline(
      document,
      [&](IHostBookmark* bookmark, size_t depth) {
        OwnedString title;
        bookmark->GetTitle(title.Put());
        out.append(2 * depth, ' ');
        out += base::LossyUtf8(title.View());
        int32_t page = TargetPageOf(bookmark);
        if (page >= 0) out += "  [p. " + std::to_string(page + 1) + "]";
        out += "\n";
      },
      [](IHostBookmark*, bool) {});
  return out;
}

}  // namespace zelta::pdf
