// The measurement units of lengths (component "UNT"): points, inches, millimetres,
// centimetres and picas, named from the host's string table.
#pragma once

#include "host/page_content.h"

namespace zelta::app {

class UnitList final : public ComObject<IHostUnitList> {
 public:
  HRESULT GetCount(int32_t* count) override;
  HRESULT GetUnit(int32_t index, BString* name, double* points) override;

 private:
  ~UnitList() override = default;
};

}  // namespace zelta::app
