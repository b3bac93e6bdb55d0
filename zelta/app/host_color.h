// The host's colour object and its parser of colour text.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "host/color.h"

namespace zelta::app {

// The packed value of colour text in one of the forms of host/color.h; nothing for any other
// text.
std::optional<uint32_t> ParseHostColor(std::u16string_view text);

class HostColor final : public ComObject<IHostColor> {
 public:
  HRESULT Parse(const char16_t* text, int32_t length) override;
  HRESULT GetPacked(uint32_t* packed) override;
  HRESULT SetPacked(uint32_t packed) override;

 private:
  ~HostColor() override = default;
  uint32_t packed_ = 0xFF000000u;
};

}  // namespace zelta::app
