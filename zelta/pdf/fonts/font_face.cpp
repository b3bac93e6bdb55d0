#include "zelta/pdf/fonts/font_face.h"

#include <algorithm>

namespace zelta::pdf {

std::unique_ptr<FontFace> FontFace::Standard(MuCalls& mu, fz_font* font, std::string name) {
  return std::unique_ptr<FontFace>(new FontFace(mu, font, std::move(name), true));
}

std::unique_ptr<FontFace> FontFace::Glyphs(MuCalls& mu, fz_font* font, std::string name) {
  return std::unique_ptr<FontFace>(new FontFace(mu, font, std::move(name), false));
}

FontFace::FontFace(MuCalls& mu, fz_font* font, std::string name, bool standard)
    : mu_(mu), font_(font), name_(std::move(name)), standard_(standard) {
  // Fonts with odd metrics must not give lines of no height or of several ems.
  ascent_ = std::clamp(mu.Ascender(font), 0.6f, 1.2f);
  descent_ = std::clamp(mu.Descender(font), -0.5f, -0.1f);
}

FontFace::~FontFace() {
  subsets_.clear();
  fz_drop_font(mu_.Ctx(), font_);
}

bool FontFace::Encode(int unicode, FaceGlyph* out) {
  int code = 0;
  if (standard_) {
    code = fz_windows_1252_from_unicode(unicode);
    if (code < 32 || code == 127) return false;
  }
  int glyph = mu_.GlyphOf(font_, unicode);
  if (glyph <= 0 && unicode != ' ') return false;
  *out = FaceGlyph{this, unicode, glyph, mu_.Advance(font_, glyph), code};
  return true;
}

HRESULT FontFace::Place(const FaceGlyph& glyph, pdf_obj** resource, int* objectNumber, int* code) {
  if (standard_) {
    if (!standardRef_) {
      HRESULT hr = mu_.AddStandardFontResource(font_, &standardRef_);
      if (Failed(hr)) return hr;
      standardNumber_ = mu_.Num(standardRef_.Get());
    }
    *resource = standardRef_.Get();
    *objectNumber = standardNumber_;
    *code = glyph.code;
    return S_OK;
  }
  for (const auto& subset : subsets_) {
    if (int found = subset->CodeOf(glyph.glyph)) {
      *resource = subset->Ref();
      *objectNumber = subset->ObjectNumber();
      *code = found;
      return S_OK;
    }
  }
  if (subsets_.empty() || subsets_.back()->IsFull()) {
    std::unique_ptr<Type3Subset> subset;
    HRESULT hr = Type3Subset::Make(mu_, font_, &subset);
    if (Failed(hr)) return hr;
    subsets_.push_back(std::move(subset));
  }
  Type3Subset& last = *subsets_.back();
  HRESULT hr = last.Add(glyph.glyph, glyph.unicode, glyph.advance, code);
  if (Failed(hr)) return hr;
  *resource = last.Ref();
  *objectNumber = last.ObjectNumber();
  return S_OK;
}

}  // namespace zelta::pdf
