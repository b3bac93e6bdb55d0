// The fonts a document's writers use, each loaded and written once per document: faces by
// font name, and the Unicode faces that show characters a face lacks.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "zelta/pdf/fonts/font_face.h"
#include "zelta/pdf/mu_calls.h"

namespace zelta::pdf {

class DocumentFonts {
 public:
  // The standard font that stands in for a name found nowhere.
  static constexpr const char* kSubstitute = "Helvetica";

  explicit DocumentFonts(MuCalls& mu) : mu_(mu) {}
  DocumentFonts(const DocumentFonts&) = delete;
  DocumentFonts& operator=(const DocumentFonts&) = delete;

  // The face of a font name (a standard font, else a system font file); a name found
  // nowhere gives the substitute with *substitute set. E_FAIL when not even the substitute
  // loads.
  HRESULT Resolve(std::string_view name, FontFace** face, bool* substitute);
  // A face that shows the character, chosen among MuPDF's Unicode fonts; null when none does.
  FontFace* UnicodeFace(int unicode, FaceGlyph* glyph);

 private:
  FontFace* Standard(const std::string& name);

  MuCalls& mu_;
  std::unordered_map<std::string, std::unique_ptr<FontFace>> faces_;    // by standard name or path
  std::unordered_map<const void*, std::unique_ptr<FontFace>> unicode_;  // by font data
};

}  // namespace zelta::pdf
