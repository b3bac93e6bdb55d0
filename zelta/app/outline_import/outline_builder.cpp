#include "zelta/app/outline_import/outline_builder.h"

#include <algorithm>

#include "zelta/base/text_codec.h"

namespace zelta::app {

namespace {

int32_t Length(const std::u16string& text) { return static_cast<int32_t>(text.size()); }

HRESULT Append(IHostActionList* list, const NodeAction& action) {
  switch (action.type) {
    case kActionGoTo:
      return action.destination
                 ? list->AppendGoTo(&*action.destination, nullptr)
                 : list->AppendGoToNamed(action.name.c_str(), Length(action.name), nullptr);
    case kActionGoToR:
      return action.destination
                 ? list->AppendGoToRemote(action.file.c_str(), Length(action.file),
                                          &*action.destination, nullptr)
                 : list->AppendGoToRemoteNamed(action.file.c_str(), Length(action.file),
                                               action.name.c_str(), Length(action.name), nullptr);
    case kActionURI:
      return list->AppendUri(action.uri.c_str(), Length(action.uri), nullptr);
    case kActionLaunch:
      return list->AppendLaunch(action.file.c_str(), Length(action.file), nullptr);
    case kActionJavaScript:
      return list->AppendJavaScript(action.script.c_str(), Length(action.script), nullptr);
    default:
      return E_INVALIDARG;
  }
}

}  // namespace

HRESULT BuildOutline(IHostDocument* document, const std::vector<OutlineNode>& nodes,
                     BuildResult* result) {
  ComPtr<IHostBookmark> root;
  HRESULT hr = document->GetOutlineRoot(root.Put());
  if (Succeeded(hr) && !root) hr = E_FAIL;
  if (Failed(hr)) return hr;
  int32_t pages = 0;
  document->GetPageCount(&pages);
  // The open path: parents[d] is the bookmark new nodes of depth d + 1 go under.
  std::vector<ComPtr<IHostBookmark>> parents{root};
  for (const OutlineNode& node : nodes) {
    const size_t depth = std::min(node.depth, parents.size() - 1);
    parents.resize(depth + 1);
    ComPtr<IHostBookmark> bookmark;
    hr = parents[depth]->InsertNewChild(-1, bookmark.Put());
    if (Succeeded(hr) && !bookmark) hr = E_FAIL;
    if (Failed(hr)) return hr;
    if (depth == 0) result->created.push_back(bookmark);
    parents.push_back(bookmark);
    hr = bookmark->SetTitle(node.title.c_str(), Length(node.title));
    if (Succeeded(hr) && node.style) hr = bookmark->SetStyle(node.style & 3);
    if (Succeeded(hr) && node.color) hr = bookmark->SetColor(*node.color, true);
    if (Failed(hr)) return hr;
    if (!node.actions.empty()) {
      ComPtr<IHostActionList> list;
      hr = document->CreateActionList(list.Put());
      if (Succeeded(hr) && !list) hr = E_FAIL;
      if (Failed(hr)) return hr;
      for (const NodeAction& action : node.actions) {
        if (Succeeded(Append(list.Get(), action))) continue;
        std::string why = "an action was refused";
        if (action.type == kActionGoTo && action.destination)
          why = "page " +
                std::to_string(action.givenPage ? action.givenPage
                                                : int64_t{action.destination->page} + 1) +
                " is not in the document (pages 1 to " + std::to_string(pages) + ")";
        result->notes.push_back(
            "\"" + base::LossyUtf8(node.title) + "\"" +
            (node.sourceLine ? " (line " + std::to_string(node.sourceLine) + ")" : std::string()) +
            ": " + why + "; the link is left out");
      }
      hr = bookmark->SetActions(list.Get());
      if (Failed(hr)) return hr;
    }
    hr = bookmark->SetOpen(node.open);
    if (Failed(hr)) return hr;
  }
  return S_OK;
}

}  // namespace zelta::app
