// The AUX component: makes Cabs from template text.
#pragma once

#include "host/cab.h"

namespace zelta::app {

class CabFactory final : public ComObject<ICabFactory> {
 public:
  HRESULT CreateCab(const char16_t* templateText, int32_t length, const char16_t* rootId,
                    ICab** cab) override;
};

ComPtr<ICabFactory> MakeCabFactory();

}  // namespace zelta::app
