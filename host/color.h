// The host's colour object: parses the host's colour text and holds one packed colour.
#pragma once

#include "host/com.h"

namespace zelta {

// Colour text the host reads, for itself and for the module: "N" (none), "rgbd(r,g,b)" 0-255,
// "rgb(r,g,b)" 0-1, "Gray(g)" 0-1, "cmyk(c,m,y,k)" 0-1, "#RGB", "#RRGGBB", "#AARRGGBB" and the
// CSS colour names ("red"). Names, function names and hex digits in any case; blanks (space,
// tab, CR, LF) around the parts allowed; components are decimal numbers, read alike in every
// locale, clamped to their range.
struct IHostColor : IUnknown {
  static constexpr Guid kIid{0x5A1E0F01, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 43}};
  // Reads colour text. E_INVALIDARG (and the colour unchanged) for text of no known form;
  // E_POINTER for null text with a positive length. "N" sets the packed value 0.
  virtual HRESULT Parse(const char16_t* text, int32_t length) = 0;
  // Packed 0xAARRGGBB (opaque black 0xFF000000, the value of a new object).
  virtual HRESULT GetPacked(uint32_t* packed) = 0;
  virtual HRESULT SetPacked(uint32_t packed) = 0;
};

// Made by the "AUX" component (IHostApp::GetComponent, then QueryInterface).
struct IColorService : IUnknown {
  static constexpr Guid kIid{0x5A1E0F02, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 44}};
  // A new colour object, opaque black (one reference). E_POINTER for null; E_OUTOFMEMORY.
  virtual HRESULT CreateColor(IHostColor** color) = 0;
};

}  // namespace zelta
