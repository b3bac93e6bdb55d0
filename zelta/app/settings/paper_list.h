// The standard paper sizes (component "PPR"), portrait, in points.
#pragma once

#include "host/page_content.h"

namespace zelta::app {

class PaperList final : public ComObject<IHostPaperList> {
 public:
  HRESULT GetCount(int32_t* count) override;
  HRESULT GetPaper(int32_t index, BString* name, double* width, double* height) override;

 private:
  ~PaperList() override = default;
};

}  // namespace zelta::app
