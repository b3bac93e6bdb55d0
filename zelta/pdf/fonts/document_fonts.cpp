#include "zelta/pdf/fonts/document_fonts.h"

#include "zelta/pdf/fonts/font_names.h"

namespace zelta::pdf {

FontFace* DocumentFonts::Standard(const std::string& name) {
  if (auto found = faces_.find(name); found != faces_.end()) return found->second.get();
  fz_font* font = mu_.NewBase14Font(name.c_str());
  if (!font) return nullptr;
  auto face = FontFace::Standard(mu_, font, name);
  return faces_.emplace(name, std::move(face)).first->second.get();
}

HRESULT DocumentFonts::Resolve(std::string_view name, FontFace** face, bool* substitute) {
  *face = nullptr;
  *substitute = false;
  if (auto standard = StandardFontName(name)) {
    *face = Standard(*standard);
  } else if (auto file = SystemFontFile(name)) {
    if (auto found = faces_.find(*file); found != faces_.end()) {
      *face = found->second.get();
    } else if (fz_font* font = mu_.NewFontFromFile(file->c_str())) {
      *face =
          faces_.emplace(*file, FontFace::Glyphs(mu_, font, std::string(name))).first->second.get();
    }
  }
  if (!*face) {
    *substitute = true;
    *face = Standard(kSubstitute);
  }
  return *face ? S_OK : E_FAIL;
}

FontFace* DocumentFonts::UnicodeFace(int unicode, FaceGlyph* glyph) {
  for (int candidate = 0; candidate < MuCalls::kUnicodeFontCandidates; ++candidate) {
    const void* key = nullptr;
    fz_font* font = mu_.NewUnicodeFont(unicode, candidate, &key);
    if (!font) continue;
    FontFace* face = nullptr;
    if (auto found = unicode_.find(key); found != unicode_.end()) {
      fz_drop_font(mu_.Ctx(), font);
      face = found->second.get();
    } else {
      face = unicode_.emplace(key, FontFace::Glyphs(mu_, font, "Unicode")).first->second.get();
    }
    if (face->Encode(unicode, glyph)) return face;
  }
  return nullptr;
}

}  // namespace zelta::pdf
