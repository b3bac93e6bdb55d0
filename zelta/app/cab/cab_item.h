// One item of a Cab: a typed value, a Dictionary of named fields or an Array of elements.
// Children are owned by reference, so an item handed out stays the same object for its field
// while it lives, and edits through the parent and through the held child are one and the
// same. Every item keeps the schema alive that describes it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/cab.h"
#include "zelta/app/cab/cab_schema.h"

namespace zelta::app {

class CabItem final : public ComObject<ICabItem> {
 public:
  // Nesting deeper than this is refused, so recursive walks over a Cab stay shallow.
  static constexpr int kMaxDepth = 64;
  // Items one creation may make; bounds templates whose defaults grow exponentially.
  static constexpr size_t kMaxItemsPerCreation = 1'000'000;
  // Elements one array may hold.
  static constexpr int32_t kMaxElements = 10'000'000;

  // Makes an item (and its fields) at the template defaults. `element` items (array
  // elements and Cab roots) have no name.
  // E_FAIL when nesting or size limits are passed, E_OUTOFMEMORY.
  static HRESULT Create(std::shared_ptr<const CabSchema> schema, const CabItemDesc* desc,
                        bool element, int depth, ComPtr<CabItem>* item);

  // A deep copy that belongs to no Cab; host objects are shared.
  HRESULT Clone(ComPtr<CabItem>* copy) const;
  const CabItemDesc& Desc() const { return *desc_; }

  HRESULT GetType(int32_t* type) override;
  HRESULT GetName(BString* name) override;
  HRESULT GetCount(int32_t* count) override;
  HRESULT GetNameAt(int32_t index, BString* name) override;
  HRESULT GetItem(const char16_t* name, ICabItem** item) override;
  HRESULT GetItemAt(int32_t index, ICabItem** item) override;
  HRESULT GetInt(const char16_t* name, int32_t def, int32_t* value) override;
  HRESULT GetDouble(const char16_t* name, double def, double* value) override;
  HRESULT GetBool(const char16_t* name, bool def, bool* value) override;
  HRESULT GetText(const char16_t* name, const char16_t* def, BString* value) override;
  HRESULT GetObject(const char16_t* name, IUnknown** value) override;
  HRESULT SetInt(const char16_t* name, int32_t value) override;
  HRESULT SetDouble(const char16_t* name, double value) override;
  HRESULT SetBool(const char16_t* name, bool value) override;
  HRESULT SetText(const char16_t* name, const char16_t* value, int32_t length) override;
  HRESULT SetObject(const char16_t* name, IUnknown* value) override;
  HRESULT CopyFrom(ICabItem* source) override;
  HRESULT Clear() override;
  HRESULT Insert(int32_t index, ICabItem** element) override;
  HRESULT RemoveAt(int32_t index) override;

 private:
  friend struct zelta::ComAccess;
  CabItem(std::shared_ptr<const CabSchema> schema, const CabItemDesc* desc, bool element,
          int depth);
  static HRESULT Build(const std::shared_ptr<const CabSchema>& schema, const CabItemDesc* desc,
                       bool element, int depth, size_t* budget, ComPtr<CabItem>* item);
  // The item a named getter or setter addresses: this for a null name, else a field.
  CabItem* Target(const char16_t* name);
  // Target of a setter: the field must exist with `type`.
  CabItem* TargetOfType(const char16_t* name, int32_t type);
  HRESULT CopyValue(ICabItem* source);
  HRESULT CopyFields(ICabItem* source);
  HRESULT CopyElements(ICabItem* source);

  std::shared_ptr<const CabSchema> schema_;
  const CabItemDesc* desc_;
  bool element_;
  int depth_;
  int32_t int_ = 0;
  double double_ = 0;
  bool bool_ = false;
  std::u16string text_;
  ComPtr<IUnknown> object_;
  // Dictionary: the fields in template order. Array: the elements.
  std::vector<ComPtr<CabItem>> children_;
};

}  // namespace zelta::app
