#include "tools/create/bookmark_tree_builder.h"

#include "framework/host_strings.h"
#include "host/limits.h"
#include "support/title_limit.h"

namespace bm {

using zelta::ComPtr;
using zelta::HRESULT;
using Kind = LineAction::Kind;

namespace {

std::u16string IntText(int64_t value) {
  return value < 0 ? u"-" + NumberText(static_cast<uint64_t>(-value))
                   : NumberText(static_cast<uint64_t>(value));
}

int32_t Length(const std::u16string& text) { return static_cast<int32_t>(text.size()); }

}  // namespace

BookmarkTreeBuilder::BookmarkTreeBuilder(zelta::IHostDocument* document, zelta::IHostBookmark* root,
                                         zelta::IColorService* colors)
    : document_(document), root_(root), colors_(colors) {
  if (document_) document_->GetPageCount(&pageCount_);
  stack_.push_back({root_, -1});
}

HRESULT BookmarkTreeBuilder::Parent(size_t indent, ComPtr<zelta::IHostBookmark>* parent) {
  const auto level = static_cast<int64_t>(indent);
  // The nearest open bookmark with a smaller indent; one with the same indent is a sibling,
  // so its parent is the one below it. The root's -1 is smaller than every indent.
  while (stack_.back().indent >= level) {
    const bool same = stack_.back().indent == level;
    stack_.pop_back();
    if (same) break;
  }
  *parent = stack_.back().bookmark;
  return zelta::S_OK;
}

HRESULT BookmarkTreeBuilder::AppendAction(zelta::IHostActionList* list, const LineAction& action) {
  switch (action.kind) {
    case Kind::kGoTo:
      return list->AppendGoTo(&action.destination, nullptr);
    case Kind::kGoToNamed:
      return list->AppendGoToNamed(action.text.c_str(), Length(action.text), nullptr);
    case Kind::kGoToRemote:
      return list->AppendGoToRemote(action.file.c_str(), Length(action.file), &action.destination,
                                    nullptr);
    case Kind::kGoToRemoteNamed:
      return list->AppendGoToRemoteNamed(action.file.c_str(), Length(action.file),
                                         action.text.c_str(), Length(action.text), nullptr);
    case Kind::kUri:
      return list->AppendUri(action.text.c_str(), Length(action.text), nullptr);
    case Kind::kLaunch:
      return list->AppendLaunch(action.text.c_str(), Length(action.text), nullptr);
    case Kind::kJavaScript:
      return list->AppendJavaScript(action.text.c_str(), Length(action.text), nullptr);
  }
  return zelta::E_INVALIDARG;
}

HRESULT BookmarkTreeBuilder::Add(const BookmarkLine& line) {
  if (!document_ || !root_) return zelta::E_FAIL;
  if (line.title.size() > kMaxTitleLength) {
    failure_ = u"line " + NumberText(line.lineNumber) + u": " + TitleOverLimitText(line.title);
    return zelta::E_INVALIDARG;
  }
  // Room for one more entry first, so that no bookmark is made that could not be kept.
  if (created_.size() == created_.capacity()) created_.reserve(created_.size() * 2 + 16);
  if (stack_.size() == stack_.capacity()) stack_.reserve(stack_.size() * 2 + 16);

  ComPtr<zelta::IHostBookmark> parent, bookmark;
  HRESULT hr = Parent(line.indent, &parent);
  // stack_ holds the root and the bookmark's ancestors: their count is its depth plus one.
  if (zelta::Succeeded(hr) && stack_.size() > zelta::kMaxBookmarkDepth) {
    failure_ = u"line " + NumberText(line.lineNumber) + u": the outline nests deeper than " +
               NumberText(zelta::kMaxBookmarkDepth) + u" levels (the deepest outline allowed)";
    return zelta::E_INVALIDARG;
  }
  if (zelta::Succeeded(hr)) hr = parent->InsertNewChild(-1, bookmark.Put());
  if (zelta::Succeeded(hr) && !bookmark) hr = zelta::E_FAIL;
  if (zelta::Failed(hr)) return hr;
  if (parent.Get() == root_.Get()) created_.push_back(bookmark);
  stack_.push_back({bookmark, static_cast<int64_t>(line.indent)});

  hr = bookmark->SetTitle(line.title.c_str(), Length(line.title));
  if (zelta::Succeeded(hr)) hr = bookmark->SetStyle(line.style & 3);
  if (zelta::Failed(hr)) return hr;
  if (!line.colorText.empty()) {
    ComPtr<zelta::IHostColor> color;
    uint32_t packed = 0;
    if (colors_ && zelta::Succeeded(colors_->CreateColor(color.Put())) && color &&
        color->Parse(line.colorText.c_str(), Length(line.colorText)) == zelta::S_OK &&
        color->GetPacked(&packed) == zelta::S_OK) {
      hr = bookmark->SetColor(packed, true);
      if (zelta::Failed(hr)) return hr;
    } else {
      Note(line, u"\"" + line.colorText + u"\" is not a colour; the colour is left out");
    }
  }
  if (!line.actions.empty()) {
    ComPtr<zelta::IHostActionList> actions;
    hr = document_->CreateActionList(actions.Put());
    if (zelta::Succeeded(hr) && !actions) hr = zelta::E_FAIL;
    if (zelta::Failed(hr)) return hr;
    for (const LineAction& action : line.actions) {
      if (zelta::Succeeded(AppendAction(actions.Get(), action))) continue;
      const int32_t page = action.destination.page;
      if (action.kind == Kind::kGoTo && (page < 0 || page >= pageCount_))
        Note(line, u"page " + IntText(int64_t{page} + 1) + u" is not in the document (pages 1 to " +
                       IntText(pageCount_) + u"); the link is left out");
      else if (action.kind == Kind::kGoToRemote && page < 0)
        Note(line, u"page index " + IntText(page) + u" of " + action.file +
                       u" is negative; the link is left out");
      else
        Note(line, u"the host refused an action; it is left out");
    }
    hr = bookmark->SetActions(actions.Get());
    if (zelta::Failed(hr)) return hr;
  }
  return bookmark->SetOpen(!line.closed);
}

void BookmarkTreeBuilder::Note(const BookmarkLine& line, std::u16string text) {
  notes_.push_back({line.lineNumber, std::move(text)});
}

}  // namespace bm
