// Texts of result codes. The host keeps the one registry of result-code families
// (facilities) in the process; a module registers its own facility's message table when it
// is loaded, and every text of a code, a module's codes included, comes from the host. The
// service is the application component "RTX" (IHostApp::GetComponent("RTX")).
#pragma once

#include "host/com.h"

namespace zelta {

// One row of a facility's message table: the code's low 16 bits and its text.
struct FacilityMessage {
  uint16_t code;
  const char16_t* text;
};

// DescribeResult flags.
enum ResultTextFlags : int32_t {
  kResultTextShort = 0x1,  // leave out the severity ("[Bookmarks]: ..." instead of "Error [...")
};

struct IResultTexts : IUnknown {
  static constexpr Guid kIid{0x5A1E1101, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 40}};

  // Adds facility `number` (0-511) under a name with its own message table, which is copied
  // (rows with a null text are skipped). S_FALSE when the number is already registered
  // (nothing changes, so a module loaded twice registers once); E_INVALIDARG for a number
  // above 511, an empty name, or a null table with rows.
  virtual HRESULT RegisterFacility(uint16_t number, const char16_t* name, int32_t nameLength,
                                   const FacilityMessage* table, uint32_t rows) = 0;

  // The text of a code into *text (caller frees): "Success" for 0, "<severity> [<facility>]:
  // <message>." for a known code, "Unknown error: 0x%08X." otherwise. A registered facility's
  // code is looked up in its own table, then in the host's common table. E_POINTER for a
  // null text, E_OUTOFMEMORY when the text cannot be made.
  virtual HRESULT DescribeResult(HRESULT code, int32_t flags, BString* text) = 0;
};

}  // namespace zelta
