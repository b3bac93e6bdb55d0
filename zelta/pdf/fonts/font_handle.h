// The host's IHostFont: one entry of the font table.
#pragma once

#include "host/page_text.h"
#include "zelta/pdf/fonts/font_table.h"

namespace zelta::pdf {

class FontHandle final : public ComObject<IHostFont> {
 public:
  FontHandle(uint32_t id, FontEntry entry) : id_(id), entry_(std::move(entry)) {}

  HRESULT GetId(uint32_t* id) override;
  HRESULT GetName(BString* name) override;
  HRESULT GetFullName(BString* name) override;
  HRESULT GetFlags(int32_t* flags) override;

 private:
  ~FontHandle() override = default;

  uint32_t id_;
  FontEntry entry_;
};

}  // namespace zelta::pdf
