// A Type 3 font resource that holds the outlines of the glyphs of one font program that a
// document's text uses: the way characters of fonts that are not embedded whole (MuPDF's
// Unicode fonts, system fonts) reach the page, each glyph written once. Codes 1 to 255 are
// given out in order; a ToUnicode map keeps the text extractable.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "zelta/pdf/mu_calls.h"

namespace zelta::pdf {

class Type3Subset {
 public:
  static constexpr int kMaxGlyphs = 255;

  // Makes the font dictionary (empty); the font program stays the caller's.
  static HRESULT Make(MuCalls& mu, fz_font* font, std::unique_ptr<Type3Subset>* subset);

  bool IsFull() const { return codes_.size() >= kMaxGlyphs; }
  // The code of a glyph already added; 0 when it is not in this font.
  int CodeOf(int glyph) const;
  // Adds a glyph with its advance (em) and the character it shows; *code is its code.
  HRESULT Add(int glyph, int unicode, float advance, int* code);
  pdf_obj* Ref() const { return ref_.Get(); }
  int ObjectNumber() const { return objectNumber_; }

 private:
  Type3Subset(MuCalls& mu, fz_font* font) : mu_(mu), font_(font) {}
  HRESULT WriteToUnicode();

  MuCalls& mu_;
  fz_font* font_;  // borrowed
  MuObject ref_;
  MuObject charProcs_, differences_, widths_, toUnicode_;
  int objectNumber_ = 0;
  std::unordered_map<int, int> codes_;  // glyph -> code
  std::vector<int> unicodes_;           // of code n at n - 1
};

}  // namespace zelta::pdf
