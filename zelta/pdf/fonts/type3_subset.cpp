#include "zelta/pdf/fonts/type3_subset.h"

#include <algorithm>
#include <cstdio>

namespace zelta::pdf {
namespace {

std::string Hex(unsigned value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*X", digits, value);
  return text;
}

// The character as UTF-16BE hex digits (a surrogate pair beyond the BMP).
std::string Utf16Hex(int unicode) {
  if (unicode < 0x10000) return Hex(static_cast<unsigned>(unicode), 4);
  unsigned v = static_cast<unsigned>(unicode) - 0x10000;
  return Hex(0xD800 + (v >> 10), 4) + Hex(0xDC00 + (v & 0x3FF), 4);
}

}  // namespace

HRESULT Type3Subset::Make(MuCalls& mu, fz_font* font, std::unique_ptr<Type3Subset>* subset) {
  std::unique_ptr<Type3Subset> made(new Type3Subset(mu, font));
  MuObject dict, name, box, matrix, encoding, resources, number;
  HRESULT hr = mu.NewDict(&dict);
  if (Succeeded(hr)) hr = mu.NewName("Font", &name);
  if (Succeeded(hr)) hr = mu.Put(dict.Get(), "Type", name.Get());
  if (Succeeded(hr)) hr = mu.NewName("Type3", &name);
  if (Succeeded(hr)) hr = mu.Put(dict.Get(), "Subtype", name.Get());
  // Glyph space is 1/1000 em, as in the standard fonts.
  fz_rect bounds = mu.FontBox(font);
  if (Succeeded(hr)) hr = mu.NewArray(&box);
  for (float v : {bounds.x0, bounds.y0, bounds.x1, bounds.y1}) {
    if (Succeeded(hr)) hr = mu.NewReal(v * 1000.0, &number);
    if (Succeeded(hr)) hr = mu.Push(box.Get(), number.Get());
  }
  if (Succeeded(hr)) hr = mu.Put(dict.Get(), "FontBBox", box.Get());
  if (Succeeded(hr)) hr = mu.NewArray(&matrix);
  for (double v : {0.001, 0.0, 0.0, 0.001, 0.0, 0.0}) {
    if (Succeeded(hr)) hr = mu.NewReal(v, &number);
    if (Succeeded(hr)) hr = mu.Push(matrix.Get(), number.Get());
  }
  if (Succeeded(hr)) hr = mu.Put(dict.Get(), "FontMatrix", matrix.Get());
  if (Succeeded(hr)) hr = mu.NewDict(&made->charProcs_);
  if (Succeeded(hr)) hr = mu.Put(dict.Get(), "CharProcs", made->charProcs_.Get());
  if (Succeeded(hr)) hr = mu.NewDict(&encoding);
  if (Succeeded(hr)) hr = mu.NewArray(&made->differences_);
  if (Succeeded(hr)) hr = mu.NewInt(1, &number);
  if (Succeeded(hr)) hr = mu.Push(made->differences_.Get(), number.Get());
  if (Succeeded(hr)) hr = mu.Put(encoding.Get(), "Differences", made->differences_.Get());
  if (Succeeded(hr)) hr = mu.Put(dict.Get(), "Encoding", encoding.Get());
  if (Succeeded(hr)) hr = mu.Put(dict.Get(), "FirstChar", number.Get());
  if (Succeeded(hr)) hr = mu.Put(dict.Get(), "LastChar", number.Get());
  if (Succeeded(hr)) hr = mu.NewArray(&made->widths_);
  if (Succeeded(hr)) hr = mu.Put(dict.Get(), "Widths", made->widths_.Get());
  if (Succeeded(hr)) hr = mu.NewDict(&resources);
  if (Succeeded(hr)) hr = mu.Put(dict.Get(), "Resources", resources.Get());
  if (Succeeded(hr)) hr = mu.AddStream(std::string(), nullptr, &made->toUnicode_);
  if (Succeeded(hr)) hr = mu.Put(dict.Get(), "ToUnicode", made->toUnicode_.Get());
  if (Succeeded(hr)) hr = mu.AddObject(dict.Get(), &made->ref_);
  if (Failed(hr)) return hr;
  made->objectNumber_ = mu.Num(made->ref_.Get());
  *subset = std::move(made);
  return S_OK;
}

int Type3Subset::CodeOf(int glyph) const {
  auto found = codes_.find(glyph);
  return found == codes_.end() ? 0 : found->second;
}

HRESULT Type3Subset::Add(int glyph, int unicode, float advance, int* code) {
  if (IsFull()) return E_FAIL;
  const int next = static_cast<int>(codes_.size()) + 1;
  const std::string procName = "g" + std::to_string(next);
  char head[64];
  std::snprintf(head, sizeof head, "%d 0 d0\n", static_cast<int>(advance * 1000.0f + 0.5f));
  MuObject proc, name, width, last;
  HRESULT hr = mu_.AddStream(head + mu_.GlyphPath(font_, glyph), nullptr, &proc);
  if (Succeeded(hr)) hr = mu_.Put(charProcs_.Get(), procName.c_str(), proc.Get());
  if (Succeeded(hr)) hr = mu_.NewName(procName.c_str(), &name);
  if (Succeeded(hr)) hr = mu_.Push(differences_.Get(), name.Get());
  if (Succeeded(hr)) hr = mu_.NewInt(static_cast<int>(advance * 1000.0f + 0.5f), &width);
  if (Succeeded(hr)) hr = mu_.Push(widths_.Get(), width.Get());
  if (Succeeded(hr)) hr = mu_.NewInt(next, &last);
  if (Succeeded(hr)) hr = mu_.Put(ref_.Get(), "LastChar", last.Get());
  if (Failed(hr)) return hr;
  codes_.emplace(glyph, next);
  unicodes_.push_back(unicode);
  *code = next;
  return WriteToUnicode();
}

HRESULT Type3Subset::WriteToUnicode() {
  std::string map =
      "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
      "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
      "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
      "1 begincodespacerange\n<00> <FF>\nendcodespacerange\n";
  // At most 100 entries per block.
  for (size_t start = 0; start < unicodes_.size(); start += 100) {
    size_t end = std::min(unicodes_.size(), start + 100);
    map += std::to_string(end - start) + " beginbfchar\n";
    for (size_t i = start; i < end; ++i)
      map += "<" + Hex(static_cast<unsigned>(i + 1), 2) + "> <" + Utf16Hex(unicodes_[i]) + ">\n";
    map += "endbfchar\n";
  }
  map += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
  return mu_.UpdateStream(toUnicode_.Get(), map, false);
}

}  // namespace zelta::pdf
