// The host's IHostContentWriter: lays text out into lines and writes it as page content of
// one document, in the document's fonts.
#pragma once

#include <array>
#include <bitset>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/page_content.h"
#include "zelta/pdf/fonts/font_face.h"
#include "zelta/pdf/fonts/writer_font.h"
#include "zelta/pdf/host_document.h"
#include "zelta/pdf/pages/line_breaker.h"

namespace zelta::pdf {

class ContentWriter final : public ComObject<IHostContentWriter> {
 public:
  explicit ContentWriter(ComPtr<HostDocument> document) : document_(std::move(document)) {}

  HRESULT SetFontSize(double size) override;
  HRESULT SetFillColor(uint32_t color, bool hasColor) override;
  HRESULT SetStrokeColor(uint32_t color, bool hasColor) override;
  HRESULT SetFont(IHostWriterFont* font) override;
  HRESULT MeasureText(const char16_t* text, int32_t length, double size, double* width,
                      double* height) override;
  HRESULT FlowText(const char16_t* text, int32_t length, const PageBox* rect,
                   ITextFlowCallback* callback, int32_t flags, PageBox* used) override;
  HRESULT TakeContent(IHostContent** content) override;
  HRESULT Reset() override;

  // The characters that are written for a text: control characters become spaces, unpaired
  // surrogates U+FFFD, and invisible formatting characters (bidirectional marks, zero-width
  // spaces, byte order marks) are left out.
  static std::vector<int> CodePoints(std::u16string_view text);

 private:
  ~ContentWriter() override = default;

  struct Shaped {
    std::vector<FaceGlyph> glyphs;
    std::vector<BreakItem> items;  // advances in points
  };
  // Replaces what shaped held.
  HRESULT Shape(std::u16string_view text, double size, Shaped* shaped);
  FaceGlyph GlyphFor(int unicode);
  HRESULT WriteLine(const Shaped& shaped, const BrokenLine& line, double x, double baseline);

  ComPtr<HostDocument> document_;
  ComPtr<WriterFont> font_;
  double size_ = 10;
  uint32_t fill_ = 0xFF000000u;
  bool hasFill_ = true;
  uint32_t stroke_ = 0xFF000000u;
  bool hasStroke_ = false;
  std::string fillOps_ = "0 0 0 rg\n", strokeOps_;  // the colours as content operators
  std::string bytes_;
  std::map<int, MuObject> fonts_;  // the font resources bytes_ names
  struct GlyphCache {
    ComPtr<WriterFont> font;
    std::array<FaceGlyph, 256> latin{};  // the first 256 characters, looked up directly
    std::bitset<256> latinKnown;
    std::unordered_map<int, FaceGlyph> glyphs;  // the others, by character
  };
  std::vector<std::unique_ptr<GlyphCache>> glyphCaches_;
  GlyphCache* glyphs_ = nullptr;  // of the current font
  Shaped measured_;               // MeasureText's, kept for its capacity
};

}  // namespace zelta::pdf
