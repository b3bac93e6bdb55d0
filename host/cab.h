// Typed, nested parameter dictionaries (the "Cab") built from a template of item sets, and
// the factory that the AUX component offers.
#pragma once

#include "host/com.h"

namespace zelta {

// Type codes of Cab items.
enum CabType : int32_t {
  kCabEmpty = 0,
  kCabInt = 3,
  kCabDouble = 5,
  kCabDictionary = 7,
  kCabString = 8,
  kCabBool = 11,
  kCabUnknown = 13,  // a reference to a host object
  kCabArray = 0x1001,
};

// One item of a Cab: a value (Int, Double, Bool, String, IUnknown), a Dictionary of named
// items, or an Array of elements that all follow one element description.
//
// The named getters (GetInt, GetText, ...) read a field of a Dictionary item; a missing field
// or a field of another type gives the caller's default and S_FALSE. A null name addresses
// the item itself. Names are compared exactly (case-sensitive).
struct ICabItem : IUnknown {
  static constexpr Guid kIid{0x5A1E0101, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 1}};

  // The type code (CabType).
  virtual HRESULT GetType(int32_t* type) = 0;
  // The item's id within its dictionary (empty for array elements).
  virtual HRESULT GetName(BString* name) = 0;

  // Dictionary: number of fields. Array: number of elements. Other types: 0.
  virtual HRESULT GetCount(int32_t* count) = 0;
  // Dictionary: the field name at index. E_INVALIDARG out of range or not a dictionary.
  virtual HRESULT GetNameAt(int32_t index, BString* name) = 0;
  // Dictionary field by name: S_FALSE and null when missing.
  virtual HRESULT GetItem(const char16_t* name, ICabItem** item) = 0;
  // Dictionary field or array element by index: S_FALSE and null when out of range.
  virtual HRESULT GetItemAt(int32_t index, ICabItem** item) = 0;

  // Typed reads with a caller's default (S_FALSE when the default was used).
  virtual HRESULT GetInt(const char16_t* name, int32_t def, int32_t* value) = 0;
  virtual HRESULT GetDouble(const char16_t* name, double def, double* value) = 0;
  virtual HRESULT GetBool(const char16_t* name, bool def, bool* value) = 0;
  virtual HRESULT GetText(const char16_t* name, const char16_t* def, BString* value) = 0;
  // The referenced host object (null when none). S_FALSE when missing or not an IUnknown.
  virtual HRESULT GetObject(const char16_t* name, IUnknown** value) = 0;

  // Typed writes. The field must exist with that type (E_INVALIDARG otherwise); a null name
  // writes the item itself.
  virtual HRESULT SetInt(const char16_t* name, int32_t value) = 0;
  virtual HRESULT SetDouble(const char16_t* name, double value) = 0;
  virtual HRESULT SetBool(const char16_t* name, bool value) = 0;
  virtual HRESULT SetText(const char16_t* name, const char16_t* value, int32_t length) = 0;
  virtual HRESULT SetObject(const char16_t* name, IUnknown* value) = 0;

  // Replaces this item's whole value (nested items included) with a copy of source's. The
  // two must have the same type; dictionaries copy the fields they share by name and keep
  // their own others; arrays take the source's elements.
  virtual HRESULT CopyFrom(ICabItem* source) = 0;

  // Array only: removes every element.
  virtual HRESULT Clear() = 0;
  // Array only: inserts a new element at its default at index (-1 appends) and returns it.
  virtual HRESULT Insert(int32_t index, ICabItem** element) = 0;
  // Array only: removes the element at index.
  virtual HRESULT RemoveAt(int32_t index) = 0;
};

// A parameter dictionary made from one template root.
struct ICab : IUnknown {
  static constexpr Guid kIid{0x5A1E0102, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 2}};
  // The root Dictionary item.
  virtual HRESULT GetRoot(ICabItem** root) = 0;
  // A fresh Cab with a deep copy of this one (host objects are shared, not copied).
  virtual HRESULT Clone(ICab** copy) = 0;
};

// The AUX component: makes Cabs from template text.
struct ICabFactory : IUnknown {
  static constexpr Guid kIid{0x5A1E0103, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 3}};
  // Builds a Cab with every item at its default from the root `rootId` of the XML template
  // `templateText` (length in code units; -1 NUL-terminated). An empty template or unknown
  // root gives E_INVALIDARG and no Cab; a malformed template E_FAIL.
  virtual HRESULT CreateCab(const char16_t* templateText, int32_t length, const char16_t* rootId,
                            ICab** cab) = 0;
};

}  // namespace zelta
