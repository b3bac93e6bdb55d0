// The host's result-text component ("RTX"): modules register their facilities with it and
// ask it for the text of any code. Every instance serves the one process-wide registry.
#pragma once

#include "host/results.h"

namespace zelta::base {

class ResultTextService : public ComObject<IResultTexts> {
 public:
  HRESULT RegisterFacility(uint16_t number, const char16_t* name, int32_t nameLength,
                           const FacilityMessage* table, uint32_t rows) override;
  HRESULT DescribeResult(HRESULT code, int32_t flags, BString* text) override;
};

}  // namespace zelta::base
