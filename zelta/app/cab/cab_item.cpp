#include "zelta/app/cab/cab_item.h"

#include <new>

#include "host/call_guard.h"

namespace zelta::app {

CabItem::CabItem(std::shared_ptr<const CabSchema> schema, const CabItemDesc* desc, bool element,
                 int depth)
    : schema_(std::move(schema)), desc_(desc), element_(element), depth_(depth) {}

HRESULT CabItem::Create(std::shared_ptr<const CabSchema> schema, const CabItemDesc* desc,
                        bool element, int depth, ComPtr<CabItem>* item) {
  if (!item) return E_POINTER;
  if (!schema || !desc) return E_INVALIDARG;
  size_t budget = kMaxItemsPerCreation;
  return GuardCall([&]() -> HRESULT { return Build(schema, desc, element, depth, &budget, item); });
}

HRESULT CabItem::Build(const std::shared_ptr<const CabSchema>& schema, const CabItemDesc* desc,
                       bool element, int depth, size_t* budget, ComPtr<CabItem>* item) {
  if (depth > kMaxDepth || *budget == 0) return E_FAIL;
  --*budget;
  auto made = MakeCom<CabItem>(schema, desc, element, depth);
  made->int_ = desc->intDefault;
  made->double_ = desc->doubleDefault;
  made->bool_ = desc->boolDefault;
  made->text_ = desc->textDefault;
  if (desc->type == kCabDictionary) {
    made->children_.reserve(desc->inner->items.size());
    for (const CabItemDesc* field : desc->inner->items) {
      ComPtr<CabItem> child;
      HRESULT hr = Build(schema, field, false, depth + 1, budget, &child);
      if (Failed(hr)) return hr;
      made->children_.push_back(std::move(child));
    }
  }
  *item = std::move(made);
  return S_OK;
}

HRESULT CabItem::Clone(ComPtr<CabItem>* copy) const {
  if (!copy) return E_POINTER;
  return GuardCall([&]() -> HRESULT {
    auto made = MakeCom<CabItem>(schema_, desc_, element_, depth_);
    made->int_ = int_;
    made->double_ = double_;
    made->bool_ = bool_;
    made->text_ = text_;
    made->object_ = object_;
    made->children_.reserve(children_.size());
    for (const ComPtr<CabItem>& child : children_) {
      ComPtr<CabItem> childCopy;
      HRESULT hr = child->Clone(&childCopy);
      if (Failed(hr)) return hr;
      made->children_.push_back(std::move(childCopy));
    }
    *copy = std::move(made);
    return S_OK;
  });
}

CabItem* CabItem::Target(const char16_t* name) {
  if (!name) return this;
  if (desc_->type != kCabDictionary) return nullptr;
  std::u16string_view wanted(name);
  for (const ComPtr<CabItem>& child : children_)
    if (child->desc_->id == wanted) return child.Get();
  return nullptr;
}

CabItem* CabItem::TargetOfType(const char16_t* name, int32_t type) {
  CabItem* target = Target(name);
  return target && target->desc_->type == type ? target : nullptr;
}

HRESULT CabItem::GetType(int32_t* type) {
  if (!type) return E_POINTER;
  *type = desc_->type;
  return S_OK;
}

HRESULT CabItem::GetName(BString* name) {
  return ReturnString(element_ ? std::u16string_view() : std::u16string_view(desc_->id), name);
}

HRESULT CabItem::GetCount(int32_t* count) {
  if (!count) return E_POINTER;
  bool container = desc_->type == kCabDictionary || desc_->type == kCabArray;
  *count = container ? static_cast<int32_t>(children_.size()) : 0;
  return S_OK;
}

HRESULT CabItem::GetNameAt(int32_t index, BString* name) {
  if (!name) return E_POINTER;
  *name = nullptr;
  if (desc_->type != kCabDictionary || index < 0 || static_cast<size_t>(index) >= children_.size())
    return E_INVALIDARG;
  return ReturnString(children_[index]->desc_->id, name);
}

HRESULT CabItem::GetItem(const char16_t* name, ICabItem** item) {
  if (!item) return E_POINTER;
  *item = nullptr;
  if (!name) return E_INVALIDARG;
  CabItem* found = Target(name);
  if (!found) return S_FALSE;
  return ComPtr<CabItem>(found).CopyTo(item);
}

HRESULT CabItem::GetItemAt(int32_t index, ICabItem** item) {
  if (!item) return E_POINTER;
  *item = nullptr;
  if (index < 0 || static_cast<size_t>(index) >= children_.size()) return S_FALSE;
  return children_[index].CopyTo(item);
}

HRESULT CabItem::GetInt(const char16_t* name, int32_t def, int32_t* value) {
  if (!value) return E_POINTER;
  CabItem* target = TargetOfType(name, kCabInt);
  *value = target ? target->int_ : def;
  return target ? S_OK : S_FALSE;
}

HRESULT CabItem::GetDouble(const char16_t* name, double def, double* value) {
  if (!value) return E_POINTER;
  CabItem* target = TargetOfType(name, kCabDouble);
  *value = target ? target->double_ : def;
  return target ? S_OK : S_FALSE;
}

HRESULT CabItem::GetBool(const char16_t* name, bool def, bool* value) {
  if (!value) return E_POINTER;
  CabItem* target = TargetOfType(name, kCabBool);
  *value = target ? target->bool_ : def;
  return target ? S_OK : S_FALSE;
}

HRESULT CabItem::GetText(const char16_t* name, const char16_t* def, BString* value) {
  if (!value) return E_POINTER;
  *value = nullptr;
  CabItem* target = TargetOfType(name, kCabString);
  HRESULT hr = ReturnString(target ? std::u16string_view(target->text_) : InString(def, -1), value);
  if (Failed(hr)) return hr;
  return target ? S_OK : S_FALSE;
}

HRESULT CabItem::GetObject(const char16_t* name, IUnknown** value) {
  if (!value) return E_POINTER;
  *value = nullptr;
  CabItem* target = TargetOfType(name, kCabUnknown);
  if (!target) return S_FALSE;
  return target->object_.CopyTo(value);
}

HRESULT CabItem::SetInt(const char16_t* name, int32_t value) {
  CabItem* target = TargetOfType(name, kCabInt);
  if (!target) return E_INVALIDARG;
  target->int_ = value;
  return S_OK;
}

HRESULT CabItem::SetDouble(const char16_t* name, double value) {
  CabItem* target = TargetOfType(name, kCabDouble);
  if (!target) return E_INVALIDARG;
  target->double_ = value;
  return S_OK;
}

HRESULT CabItem::SetBool(const char16_t* name, bool value) {
  CabItem* target = TargetOfType(name, kCabBool);
  if (!target) return E_INVALIDARG;
  target->bool_ = value;
  return S_OK;
}

HRESULT CabItem::SetText(const char16_t* name, const char16_t* value, int32_t length) {
  CabItem* target = TargetOfType(name, kCabString);
  if (!target) return E_INVALIDARG;
  return GuardCall([&]() -> HRESULT {
    target->text_.assign(InString(value, length));
    return S_OK;
  });
}

HRESULT CabItem::SetObject(const char16_t* name, IUnknown* value) {
  CabItem* target = TargetOfType(name, kCabUnknown);
  if (!target) return E_INVALIDARG;
  target->object_ = value;
  return S_OK;
}

HRESULT CabItem::CopyFrom(ICabItem* source) {
  if (!source) return E_POINTER;
  if (source == static_cast<ICabItem*>(this)) return S_OK;
  int32_t type = kCabEmpty;
  if (Failed(source->GetType(&type)) || type != desc_->type) return E_INVALIDARG;
  return GuardCall([&]() -> HRESULT {
    // The source may be this item's ancestor or descendant; copying from a snapshot keeps
    // the walk from seeing its own writes.
    ComPtr<ICabItem> from(source);
    if (auto* own = dynamic_cast<CabItem*>(source)) {
      ComPtr<CabItem> snapshot;
      HRESULT hr = own->Clone(&snapshot);
      if (Failed(hr)) return hr;
      from = ComPtr<ICabItem>(snapshot.Get());
    }
    return CopyValue(from.Get());
  });
}

// Copies the value of a source of the same type, reading it through the interface only.
HRESULT CabItem::CopyValue(ICabItem* source) {
  switch (desc_->type) {
    case kCabInt:
      return source->GetInt(nullptr, 0, &int_);
    case kCabDouble:
      return source->GetDouble(nullptr, 0, &double_);
    case kCabBool:
      return source->GetBool(nullptr, false, &bool_);
    case kCabString: {
      OwnedString text;
      HRESULT hr = source->GetText(nullptr, u"", text.Put());
      if (Failed(hr)) return hr;
      text_ = text.View();
      return S_OK;
    }
    case kCabUnknown:
      return source->GetObject(nullptr, object_.Put());
    case kCabDictionary:
      return CopyFields(source);
    case kCabArray:
      return CopyElements(source);
    default:
      return E_FAIL;
  }
}

// Fields the two share by name (and type) take the source's values; the others keep theirs.
HRESULT CabItem::CopyFields(ICabItem* source) {
  int32_t count = 0;
  HRESULT hr = source->GetCount(&count);
  if (Failed(hr)) return hr;
  for (int32_t i = 0; i < count; ++i) {
    OwnedString name;
    ComPtr<ICabItem> field;
    if (Failed(source->GetNameAt(i, name.Put())) || source->GetItemAt(i, field.Put()) != S_OK)
      continue;
    CabItem* target = Target(name.Data());
    int32_t type = kCabEmpty;
    if (!target || Failed(field->GetType(&type)) || type != target->desc_->type) continue;
    hr = target->CopyValue(field.Get());
    if (Failed(hr)) return hr;
  }
  return S_OK;
}

// The array takes the source's elements; an element of another type is left out. The new
// list is complete before it replaces the old one, so a failure leaves the array as it was.
HRESULT CabItem::CopyElements(ICabItem* source) {
  int32_t count = 0;
  HRESULT hr = source->GetCount(&count);
  if (Failed(hr)) return hr;
  if (count > kMaxElements) return E_OUTOFMEMORY;
  const CabItemDesc* elementDesc = desc_->inner->Element();
  std::vector<ComPtr<CabItem>> elements;
  elements.reserve(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    ComPtr<ICabItem> from;
    int32_t type = kCabEmpty;
    if (source->GetItemAt(i, from.Put()) != S_OK || Failed(from->GetType(&type)) ||
        type != elementDesc->type)
      continue;
    ComPtr<CabItem> element;
    size_t budget = kMaxItemsPerCreation;
    hr = Build(schema_, elementDesc, true, depth_ + 1, &budget, &element);
    if (Failed(hr)) return hr;
    hr = element->CopyValue(from.Get());
    if (Failed(hr)) return hr;
    elements.push_back(std::move(element));
  }
  children_.swap(elements);
  return S_OK;
}

HRESULT CabItem::Clear() {
  if (desc_->type != kCabArray) return E_INVALIDARG;
  children_.clear();
  return S_OK;
}

HRESULT CabItem::Insert(int32_t index, ICabItem** element) {
  if (element) *element = nullptr;
  if (desc_->type != kCabArray) return E_INVALIDARG;
  if (index == -1) index = static_cast<int32_t>(children_.size());
  if (index < 0 || static_cast<size_t>(index) > children_.size()) return E_INVALIDARG;
  if (children_.size() >= static_cast<size_t>(kMaxElements)) return E_OUTOFMEMORY;
  return GuardCall([&]() -> HRESULT {
    ComPtr<CabItem> made;
    size_t budget = kMaxItemsPerCreation;
    HRESULT hr = Build(schema_, desc_->inner->Element(), true, depth_ + 1, &budget, &made);
    if (Failed(hr)) return hr;
    children_.insert(children_.begin() + index, made);
    return element ? made.CopyTo(element) : S_OK;
  });
}

HRESULT CabItem::RemoveAt(int32_t index) {
  if (desc_->type != kCabArray || index < 0 || static_cast<size_t>(index) >= children_.size())
    return E_INVALIDARG;
  children_.erase(children_.begin() + index);
  return S_OK;
}

}  // namespace zelta::app
