#include "zelta/base/result_text_service.h"

#include "zelta/base/result_text.h"

namespace zelta::base {

namespace {
constexpr uint16_t kLastFacility = 511;
}

HRESULT ResultTextService::RegisterFacility(uint16_t number, const char16_t* name,
                                            int32_t nameLength, const FacilityMessage* table,
                                            uint32_t rows) {
  std::u16string_view nameText = InString(name, nameLength);
  if (number > kLastFacility || nameText.empty() || nameLength < -1 || (!table && rows))
    return E_INVALIDARG;
  if (FacilityRegistry::Instance().Contains(number)) return S_FALSE;
  return base::RegisterFacility(number, table, rows, nameText) ? S_OK : E_OUTOFMEMORY;
}

HRESULT ResultTextService::DescribeResult(HRESULT code, int32_t flags, BString* text) {
  if (!text) return E_POINTER;
  *text = nullptr;
  std::u16string built;
  if (!base::DescribeResult(code, &built, (flags & kResultTextShort) != 0)) return E_OUTOFMEMORY;
  return ReturnString(built, text);
}

}  // namespace zelta::base
