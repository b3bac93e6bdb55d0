#include "zelta/app/host_operations/host_operation_set_props.h"

#include "host/limits.h"
#include "zelta/app/host_operations/host_operation_props_undo.h"

namespace zelta::app {
namespace {

constexpr int32_t kAllProps = kPropTitle | kPropStyle | kPropColor | kPropOpen | kPropActions;

HRESULT ReadOptions(ICabItem* options, int32_t mask, BookmarkProps* props) {
  if (!options) return E_INVALIDARG;
  OwnedString title;
  options->GetText(u"Title", u"", title.Put());
  props->title = title.Str();
  if ((mask & kPropTitle) && props->title.size() > kMaxBookmarkTitle) return E_INVALIDARG;
  options->GetInt(u"Style", 0, &props->style);
  if ((mask & kPropStyle) && (props->style < 0 || props->style > 3)) return E_INVALIDARG;
  int32_t color = static_cast<int32_t>(0xFF000000u);
  options->GetInt(u"Color", color, &color);
  props->color = static_cast<uint32_t>(color);
  options->GetBool(u"HasColor", true, &props->hasColor);
  options->GetBool(u"Open", true, &props->open);
  ComPtr<IUnknown> actions;
  options->GetObject(u"Actions", actions.Put());
  if (actions) {
    props->actions = QueryAs<IHostActionList>(actions.Get());
    if (!props->actions && (mask & kPropActions)) return E_INVALIDARG;
  }
  return S_OK;
}

}  // namespace

HRESULT HostOperationSetProps::Apply(IHostDocument*,
                                     const std::vector<ComPtr<IHostBookmark>>& input,
                                     ICabItem* options, ComPtr<IUndoItem>* undo) {
  int32_t mask = 0;
  if (options) options->GetInt(u"Mask", 0, &mask);
  if (mask & ~kAllProps) return E_INVALIDARG;
  if (mask == 0) return S_FALSE;
  BookmarkProps wanted;
  HRESULT hr = ReadOptions(options, mask, &wanted);
  if (Failed(hr)) return hr;

  std::vector<BookmarkPropsUndo::Entry> entries;
  entries.reserve(input.size());
  for (const auto& bookmark : input) {
    BookmarkPropsUndo::Entry entry{bookmark, {}, wanted};
    hr = ReadProps(bookmark.Get(), mask, &entry.before);
    if (Failed(hr)) break;
    entries.push_back(std::move(entry));
    hr = WriteProps(bookmark.Get(), mask, wanted);
    if (Failed(hr)) break;
  }
  auto item = MakeCom<BookmarkPropsUndo>(mask, std::move(entries));
  if (Failed(hr)) {
    item->Undo();
    return hr;
  }
  *undo = item;
  return S_OK;
}

}  // namespace zelta::app
