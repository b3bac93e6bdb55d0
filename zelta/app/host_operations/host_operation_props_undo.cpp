#include "zelta/app/host_operations/host_operation_props_undo.h"

namespace zelta::app {

HRESULT ReadProps(IHostBookmark* bookmark, int32_t mask, BookmarkProps* props) {
  HRESULT hr = S_OK;
  if (mask & kPropTitle) {
    OwnedString title;
    hr = bookmark->GetTitle(title.Put());
    if (Failed(hr)) return hr;
    props->title = title.Str();
  }
  if (mask & kPropStyle) hr = bookmark->GetStyle(&props->style);
  if (Succeeded(hr) && (mask & kPropColor)) {
    hr = bookmark->GetColor(&props->color);
    props->hasColor = hr == S_OK;
  }
  if (Succeeded(hr) && (mask & kPropOpen)) hr = bookmark->GetOpen(&props->open);
  if (Succeeded(hr) && (mask & kPropActions)) hr = bookmark->GetActions(props->actions.Put());
  return Failed(hr) ? hr : S_OK;
}

HRESULT WriteProps(IHostBookmark* bookmark, int32_t mask, const BookmarkProps& props) {
  HRESULT first = S_OK;
  auto note = [&first](HRESULT hr) {
    if (Failed(hr) && Succeeded(first)) first = hr;
  };
  if (mask & kPropTitle)
    note(bookmark->SetTitle(props.title.data(), static_cast<int32_t>(props.title.size())));
  if (mask & kPropStyle) note(bookmark->SetStyle(props.style));
  if (mask & kPropColor) note(bookmark->SetColor(props.color, props.hasColor));
  if (mask & kPropOpen) note(bookmark->SetOpen(props.open));
  if (mask & kPropActions) note(bookmark->SetActions(props.actions.Get()));
  return first;
}

HRESULT BookmarkPropsUndo::Apply(bool after) {
  HRESULT first = S_OK;
  // Undo goes newest first, so a bookmark listed twice ends with its oldest values.
  for (size_t n = 0; n < entries_.size(); ++n) {
    const Entry& entry = entries_[after ? n : entries_.size() - 1 - n];
    HRESULT hr = WriteProps(entry.bookmark.Get(), mask_, after ? entry.after : entry.before);
    if (Failed(hr) && Succeeded(first)) first = hr;
  }
  return first;
}

}  // namespace zelta::app
