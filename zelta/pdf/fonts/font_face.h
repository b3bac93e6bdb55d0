// One font program that text is written in within a document: a standard 14 font (written
// as a simple font in WinAnsiEncoding, not embedded) or any other font, whose glyphs are
// written as Type 3 subsets.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "zelta/pdf/fonts/type3_subset.h"
#include "zelta/pdf/mu_calls.h"

namespace zelta::pdf {

class FontFace;

// A character as a face shows it.
struct FaceGlyph {
  FontFace* face = nullptr;
  int unicode = 0;
  int glyph = 0;
  float advance = 0;  // em
  int code = 0;       // the WinAnsi byte of a standard face
};

class FontFace {
 public:
  // Both take over the reference to `font`.
  static std::unique_ptr<FontFace> Standard(MuCalls& mu, fz_font* font, std::string name);
  static std::unique_ptr<FontFace> Glyphs(MuCalls& mu, fz_font* font, std::string name);
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  // Whether the face shows the character, and how.
  bool Encode(int unicode, FaceGlyph* out);
  // What to write a glyph of this face with: the font resource (borrowed), its object number
  // and the code. The first use of a glyph adds it to the document.
  HRESULT Place(const FaceGlyph& glyph, pdf_obj** resource, int* objectNumber, int* code);

  const std::string& Name() const { return name_; }
  bool IsStandard() const { return standard_; }
  // Ascent (positive) and descent (negative) in em, within sane bounds.
  float Ascent() const { return ascent_; }
  float Descent() const { return descent_; }

 private:
  FontFace(MuCalls& mu, fz_font* font, std::string name, bool standard);

  MuCalls& mu_;
  fz_font* font_;
  std::string name_;
  bool standard_;
  float ascent_ = 0.8f, descent_ = -0.2f;
  MuObject standardRef_;
  int standardNumber_ = 0;  // standardRef_'s object number, read once
  std::vector<std::unique_ptr<Type3Subset>> subsets_;
};

}  // namespace zelta::pdf
