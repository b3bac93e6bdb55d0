// Texts for result codes: "<severity> [<facility>]: <message>."
//
// Code layout: bits 31-30 severity (Success, Warning, Error, Failure); bit 25 marks the
// library's own codes, the only ones looked up in the facility registry; bits 24-16 the
// facility number; bits 15-0 the code within the facility. A registered facility's code is
// looked up in its own table, then in the common table; anything else falls back to the
// system message table (platform/system_messages.h). All functions are thread-safe.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "host/com.h"
#include "zelta/base/facility_registry.h"

namespace zelta::base {

// Adds a facility once per number (the first registration also adds the built-ins:
// 2 "IO subsystem", 0 "Common", 13 "Frame buffer", 1 "Memory subsystem", 511 "Operating
// system"). The table is copied. Returns false when the number is taken or above 511.
bool RegisterFacility(uint16_t number, const FacilityMessage* table, size_t rows,
                      std::u16string_view name);
// Removes a facility; false when it was not registered.
bool UnregisterFacility(uint16_t number);

// Builds the text of a code into *text: "Success" for 0; "Unknown error: 0x%08X." (negative)
// or "Unknown code: 0x%08X." when neither the registry nor the system knows the code;
// otherwise "Error [Bookmarks]: No permissions for this operation." and the like, without
// the severity and its space when shortForm is set. Returns 1 when a text was made and 0
// when memory ran out or text is null.
int DescribeResult(HRESULT code, std::u16string* text, bool shortForm);
// The long form; empty only when memory ran out.
std::u16string DescribeResult(HRESULT code);

// The registered facility's name for a code with bit 25 set, otherwise "System".
std::u16string FacilityName(HRESULT code);
// The message as its table holds it (no full stop added); nullopt when no table knows it.
std::optional<std::u16string> MessageText(HRESULT code);
// "Success", "Warning", "Error" or "Failure" from bits 31-30.
std::u16string SeverityName(HRESULT code);

}  // namespace zelta::base
