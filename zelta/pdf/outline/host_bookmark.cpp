#include "zelta/pdf/outline/host_bookmark.h"

#include <algorithm>
#include <cmath>

#include "host/call_guard.h"
#include "host/limits.h"
#include "zelta/pdf/actions/action_writer.h"
#include "zelta/pdf/actions/host_action_list.h"
#include "zelta/pdf/text/pdf_text.h"

namespace zelta::pdf {

HRESULT HostBookmark::Give(int key, IHostBookmark** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (key == OutlineIndex::kNone) return S_FALSE;
  ComPtr<HostBookmark> bookmark;
  HRESULT hr = document_->BookmarkFor(key, &bookmark);
  if (Failed(hr)) return hr;
  return bookmark.CopyTo(out);
}

HRESULT HostBookmark::CheckChange() const {
  if (key_ == OutlineIndex::kRoot) return E_FAIL;
  return document_->CanChange();
}

HRESULT HostBookmark::GetDocument(IHostDocument** document) {
  if (!document) return E_POINTER;
  return document_.CopyTo(document);
}

HRESULT HostBookmark::IsRoot(bool* root) {
  if (!root) return E_POINTER;
  *root = key_ == OutlineIndex::kRoot;
  return S_OK;
}

HRESULT HostBookmark::IsAttached(bool* attached) {
  if (!attached) return E_POINTER;
  *attached = document_->GetOutline().Index().IsAttached(key_);
  return S_OK;
}

#define ZELTA_NAVIGATE(method, field)                                     \
  HRESULT HostBookmark::method(IHostBookmark** out) {                     \
    const OutlineNode* node = document_->GetOutline().Index().Find(key_); \
    return Give(node ? node->field : OutlineIndex::kNone, out);           \
  }
ZELTA_NAVIGATE(GetParent, parent)
ZELTA_NAVIGATE(GetFirstChild, first)
ZELTA_NAVIGATE(GetLastChild, last)
ZELTA_NAVIGATE(GetNextSibling, next)
ZELTA_NAVIGATE(GetPrevSibling, prev)
#undef ZELTA_NAVIGATE

HRESULT HostBookmark::GetChildCount(int32_t* count) {
  if (!count) return E_POINTER;
  const OutlineNode* node = document_->GetOutline().Index().Find(key_);
  *count = node ? node->childCount : 0;
  return S_OK;
}

HRESULT HostBookmark::GetTitle(BString* title) {
  if (!title) return E_POINTER;
  *title = nullptr;
  if (key_ == OutlineIndex::kRoot) return ReturnString(u"", title);
  MuCalls& mu = document_->Mu();
  MuObject dict = document_->GetOutline().Dict(mu, key_);
  return GuardCall([&] {
    return ReturnString(DecodeTextString(mu.StringView(mu.Get(dict.Get(), PDF_NAME(Title)))),
                        title);
  });
}

HRESULT HostBookmark::SetTitle(const char16_t* title, int32_t length) {
  HRESULT hr = CheckChange();
  if (Failed(hr)) return hr;
  // Every way a title comes in names its source in the message; this is the last guard.
  if (InString(title, length).size() > kMaxBookmarkTitle) return E_INVALIDARG;
  MuCalls& mu = document_->Mu();
  Outline& outline = document_->GetOutline();
  MuObject dict = outline.Dict(mu, key_);
  if (!dict) return E_FAIL;
  hr = GuardCall([&] {
    std::u16string_view text = InString(title, length);
    pdf_obj* old = mu.Get(dict.Get(), PDF_NAME(Title));
    std::string bytes = EncodeTextString(text);
    // The same text keeps its original bytes (and encoding): nothing changes.
    if (mu.IsString(old) && SameTextString(mu.StringView(old), bytes)) return S_FALSE;
    MuObject value;
    HRESULT made = mu.NewString(bytes, &value);
    if (Failed(made)) return made;
    // Logged first: an entry whose replacement then fails names the title the item keeps.
    outline.NoteTitleReplaced(key_, MuObject::Keep(mu.Ctx(), mu.Resolve(old)));
    return mu.Put(dict.Get(), PDF_NAME(Title), value.Get());
  });
  if (hr == S_FALSE) return S_OK;
  if (Succeeded(hr)) document_->BookmarkChanged(this);
  return hr;
}

HRESULT HostBookmark::GetStyle(int32_t* style) {
  if (!style) return E_POINTER;
  *style = 0;
  if (key_ == OutlineIndex::kRoot) return S_OK;
  MuCalls& mu = document_->Mu();
  MuObject dict = document_->GetOutline().Dict(mu, key_);
  *style = mu.ToInt(mu.Get(dict.Get(), "F")) & (kStyleItalic | kStyleBold);
  return S_OK;
}

HRESULT HostBookmark::PutNumber(const char* key, double value, bool integer) {
  MuCalls& mu = document_->Mu();
  MuObject dict = document_->GetOutline().Dict(mu, key_);
  if (!dict) return E_FAIL;
  MuObject number;
  HRESULT hr =
      integer ? mu.NewInt(static_cast<int64_t>(value), &number) : mu.NewReal(value, &number);
  return Succeeded(hr) ? mu.Put(dict.Get(), key, number.Get()) : hr;
}

HRESULT HostBookmark::SetStyle(int32_t style) {
  HRESULT hr = CheckChange();
  if (Failed(hr)) return hr;
  if (style < 0 || style > 3) return E_INVALIDARG;
  MuCalls& mu = document_->Mu();
  MuObject dict = document_->GetOutline().Dict(mu, key_);
  if (!dict) return E_FAIL;
  hr = style == 0 ? mu.Del(dict.Get(), "F") : PutNumber("F", style, true);
  if (Succeeded(hr)) document_->BookmarkChanged(this);
  return hr;
}

HRESULT HostBookmark::GetColor(uint32_t* color) {
  if (!color) return E_POINTER;
  *color = 0xFF000000u;
  if (key_ == OutlineIndex::kRoot) return S_FALSE;
  MuCalls& mu = document_->Mu();
  MuObject dict = document_->GetOutline().Dict(mu, key_);
  pdf_obj* c = mu.Get(dict.Get(), "C");
  if (!mu.IsArray(c) || mu.Len(c) != 3) return S_FALSE;
  uint32_t packed = 0xFF000000u;
  for (int i = 0; i < 3; ++i) {
    double v = std::clamp(mu.ToReal(mu.At(c, i)), 0.0, 1.0);
    if (std::isnan(v)) v = 0;
    packed |= static_cast<uint32_t>(std::lround(v * 255)) << (16 - 8 * i);
  }
  *color = packed;
  return S_OK;
}

HRESULT HostBookmark::SetColor(uint32_t color, bool hasColor) {
  HRESULT hr = CheckChange();
  if (Failed(hr)) return hr;
  MuCalls& mu = document_->Mu();
  MuObject dict = document_->GetOutline().Dict(mu, key_);
  if (!dict) return E_FAIL;
  if (!hasColor) {
    hr = mu.Del(dict.Get(), "C");
  } else {
    MuObject array;
    hr = mu.NewArray(&array);
    for (int i = 0; Succeeded(hr) && i < 3; ++i) {
      MuObject component;
      hr = mu.NewReal(((color >> (16 - 8 * i)) & 0xFF) / 255.0, &component);
      if (Succeeded(hr)) hr = mu.Push(array.Get(), component.Get());
    }
    if (Succeeded(hr)) hr = mu.Put(dict.Get(), "C", array.Get());
  }
  if (Succeeded(hr)) document_->BookmarkChanged(this);
  return hr;
}

HRESULT HostBookmark::GetOpen(bool* open) {
  if (!open) return E_POINTER;
  const OutlineNode* node = document_->GetOutline().Index().Find(key_);
  *open = node && node->open;
  return S_OK;
}

HRESULT HostBookmark::SetOpen(bool open) {
  HRESULT hr = CheckChange();
  if (Failed(hr)) return hr;
  hr = document_->GetOutline().SetOpen(document_->Mu(), key_, open);
  if (Succeeded(hr)) document_->BookmarkChanged(this);
  return hr;
}

HRESULT HostBookmark::GetActions(IHostActionList** actions) {
  if (!actions) return E_POINTER;
  *actions = nullptr;
  return GuardCall([&] { return HostActionList::ForItem(document_, key_).CopyTo(actions); });
}

HRESULT HostBookmark::InsertNewChild(int32_t position, IHostBookmark** child) {
  if (!child) return E_POINTER;
  *child = nullptr;
  HRESULT hr = document_->CanChange();
  if (Failed(hr)) return hr;
  Outline& outline = document_->GetOutline();
  MuCalls& mu = document_->Mu();
  int key = 0;
  hr = GuardCall([&] {
    HRESULT made = outline.NewItem(mu, &key);
    return Succeeded(made) ? outline.Move(mu, key_, position, key) : made;
  });
  if (Failed(hr)) return hr;
  hr = Give(key, child);
  if (Succeeded(hr)) document_->BookmarkChanged(*child);
  return hr;
}

HRESULT HostBookmark::InsertChild(int32_t position, IHostBookmark* child) {
  if (!child) return E_POINTER;
  auto* item = dynamic_cast<HostBookmark*>(child);
  if (!item || item->document_.Get() != document_.Get()) return E_INVALIDARG;
  HRESULT hr = document_->CanChange();
  if (Failed(hr)) return hr;
  hr = GuardCall(
      [&] { return document_->GetOutline().Move(document_->Mu(), key_, position, item->key_); });
  if (Succeeded(hr)) document_->BookmarkChanged(item);
  return hr;
}

HRESULT HostBookmark::Remove() {
  HRESULT hr = CheckChange();
  if (Failed(hr)) return hr;
  hr = GuardCall([&] { return document_->GetOutline().Remove(document_->Mu(), key_); });
  if (Succeeded(hr)) document_->BookmarkChanged(this);
  return hr;
}

HRESULT HostBookmark::SetActions(IHostActionList* actions) {
  HRESULT hr = CheckChange();
  if (Failed(hr)) return hr;
  HostActionList* list = nullptr;
  if (actions) {
    list = dynamic_cast<HostActionList*>(actions);
    if (!list || list->Document() != document_.Get()) return E_INVALIDARG;
  }
  MuCalls& mu = document_->Mu();
  MuObject dict = document_->GetOutline().Dict(mu, key_);
  if (!dict) return E_FAIL;
  hr = GuardCall([&] {
    // Copy the list first: it may be this item's own list, which the write rebinds.
    std::vector<ComPtr<HostAction>> items =
        list ? list->Actions() : std::vector<ComPtr<HostAction>>();
    return WriteItemActions(mu, dict.Get(), items);
  });
  if (Succeeded(hr)) document_->BookmarkChanged(this);
  return hr;
}

HRESULT HostBookmark::AppendAction(IHostAction* action) {
  if (!action) return E_INVALIDARG;
  if (key_ == OutlineIndex::kRoot) return E_FAIL;
  return GuardCall([&] {
    ComPtr<HostActionList> list = HostActionList::ForItem(document_, key_);
    HRESULT hr = list->Append(action);
    return Succeeded(hr) ? SetActions(list.Get()) : hr;
  });
}

}  // namespace zelta::pdf
