#include "zelta/pdf/pages/content_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>

#include "host/call_guard.h"
#include "zelta/pdf/host_document.h"
#include "zelta/pdf/pages/content_piece.h"

namespace zelta::pdf {
namespace {

constexpr double kMaxSize = 1000;
// Geometry that reaches the edge by rounding still fits.
constexpr double kTolerance = 1e-3;

bool SizeIsValid(double size) { return std::isfinite(size) && size > 0 && size <= kMaxSize; }

// An area may have no height left (its top below its bottom): it is full, and text moves on.
bool BoxIsValid(const PageBox& box) {
  return std::isfinite(box.left) && std::isfinite(box.right) && std::isfinite(box.bottom) &&
         std::isfinite(box.top) && box.right > box.left;
}

// A number for content: up to three decimals, no trailing zeros ("%.3f" trimmed). Integer
// arithmetic where the thousandths are clear of a rounding tie, printf's rounding otherwise.
void AppendNum(std::string& out, double value) {
  if (std::abs(value) < 5e-4) value = 0.0;
  const double scaled = value * 1000;
  const double whole = std::floor(std::abs(scaled));
  const double fraction = std::abs(scaled) - whole;
  char text[40];
  char* end = text + sizeof text;
  char* p = end;
  if (std::abs(scaled) < 1e15 && std::abs(fraction - 0.5) > 1e-6) {
    auto thousandths = static_cast<uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
    const bool negative = value < 0 && thousandths != 0;
    uint64_t units = thousandths / 1000;
    int decimals = static_cast<int>(thousandths % 1000);
    int digits = 3;
    while (digits > 0 && decimals % 10 == 0) {
      decimals /= 10;
      --digits;
    }
    for (int i = 0; i < digits; ++i, decimals /= 10) *--p = static_cast<char>('0' + decimals % 10);
    if (digits > 0) *--p = '.';
    do {
      *--p = static_cast<char>('0' + units % 10);
      units /= 10;
    } while (units);
    if (negative) *--p = '-';
    out.append(p, end);
    return;
  }
  char printed[32];
  std::snprintf(printed, sizeof printed, "%.3f", value);
  std::string_view s(printed);
  s = s.substr(0, s.find_last_not_of('0') + 1);
  if (s.back() == '.') s.remove_suffix(1);
  out += s;
}

std::string Num(double value) {
  std::string text;
  AppendNum(text, value);
  return text;
}

std::string Rgb(uint32_t color, const char* op) {
  auto part = [&](int shift) { return Num(((color >> shift) & 0xFF) / 255.0); };
  return part(16) + " " + part(8) + " " + part(0) + " " + op + "\n";
}

// A PDF literal string of single-byte codes.
void AppendLiteral(std::string& out, const std::string& codes) {
  out += '(';
  for (unsigned char c : codes) {
    if (c == '(' || c == ')' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 32 || c > 126) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\%03o", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  out += ')';
}

bool IsInvisibleFormat(int u) {
  return (u >= 0x200B && u <= 0x200F) || (u >= 0x202A && u <= 0x202E) ||
         (u >= 0x2060 && u <= 0x206F) || u == 0xFEFF;
}

}  // namespace

namespace {

// Calls visit with each character written for text (see CodePoints).
template <typename Visit>
void ForEachCodePoint(std::u16string_view text, Visit&& visit) {
  for (size_t i = 0; i < text.size(); ++i) {
    int u = text[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      u = 0x10000 + ((u - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      u = 0xFFFD;
    }
    if (u < 0x20 || (u >= 0x7F && u <= 0x9F) || u == 0x2028 || u == 0x2029) u = ' ';
    if (IsInvisibleFormat(u)) continue;
    visit(u);
  }
}

}  // namespace

std::vector<int> ContentWriter::CodePoints(std::u16string_view text) {
  std::vector<int> points;
  points.reserve(text.size());
  ForEachCodePoint(text, [&](int u) { points.push_back(u); });
  return points;
}

HRESULT ContentWriter::SetFontSize(double size) {
  if (!SizeIsValid(size)) return E_INVALIDARG;
  size_ = size;
  return S_OK;
}

HRESULT ContentWriter::SetFillColor(uint32_t color, bool hasColor) {
  fill_ = color;
  hasFill_ = hasColor;
  fillOps_ = hasColor ? Rgb(color, "rg") : std::string();
  return S_OK;
}

HRESULT ContentWriter::SetStrokeColor(uint32_t color, bool hasColor) {
  stroke_ = color;
  hasStroke_ = hasColor;
  strokeOps_ = hasColor ? Rgb(color, "RG") : std::string();
  return S_OK;
}

HRESULT ContentWriter::SetFont(IHostWriterFont* font) {
  auto* own = dynamic_cast<WriterFont*>(font);
  if (!own || own->Document() != document_.Get()) return E_INVALIDARG;
  if (own != font_.Get()) {
    // Each font keeps the glyphs it found, for a text that switches fonts line by line.
    auto known = std::find_if(glyphCaches_.begin(), glyphCaches_.end(),
                              [own](const auto& cache) { return cache->font.Get() == own; });
    if (known == glyphCaches_.end()) {
      glyphCaches_.push_back(std::make_unique<GlyphCache>());
      glyphCaches_.back()->font = ComPtr<WriterFont>(own);
      known = glyphCaches_.end() - 1;
    }
    glyphs_ = known->get();
  }
  font_ = ComPtr<WriterFont>(own);
  return S_OK;
}

FaceGlyph ContentWriter::GlyphFor(int unicode) {
  const bool latin = unicode >= 0 && unicode < 256;
  if (latin && glyphs_->latinKnown[static_cast<size_t>(unicode)])
    return glyphs_->latin[static_cast<size_t>(unicode)];
  if (!latin)
    if (auto found = glyphs_->glyphs.find(unicode); found != glyphs_->glyphs.end())
      return found->second;
  FaceGlyph glyph;
  FontFace* primary = font_->Face();
  if (!primary->Encode(unicode, &glyph) && !document_->Fonts().UnicodeFace(unicode, &glyph) &&
      !primary->Encode('?', &glyph))
    primary->Encode(' ', &glyph);
  glyph.unicode = unicode;
  if (latin) {
    glyphs_->latin[static_cast<size_t>(unicode)] = glyph;
    glyphs_->latinKnown.set(static_cast<size_t>(unicode));
  } else {
    glyphs_->glyphs.emplace(unicode, glyph);
  }
  return glyph;
}

HRESULT ContentWriter::Shape(std::u16string_view text, double size, Shaped* shaped) {
  return GuardCall([&] {
    shaped->glyphs.clear();
    shaped->items.clear();
    shaped->glyphs.reserve(text.size());
    shaped->items.reserve(text.size());
    ForEachCodePoint(text, [&](int u) {
      FaceGlyph glyph = GlyphFor(u);
      BreakItem::Kind kind = u == ' '                ? BreakItem::kSpace
                             : LineBreaker::IsCjk(u) ? BreakItem::kCjk
                                                     : BreakItem::kOther;
      shaped->items.push_back(BreakItem{glyph.advance * size, kind});
      shaped->glyphs.push_back(glyph);
    });
    return S_OK;
  });
}

HRESULT ContentWriter::MeasureText(const char16_t* text, int32_t length, double size, double* width,
                                   double* height) {
  if (!width || !height) return E_POINTER;
  *width = *height = 0;
  if (!SizeIsValid(size) || length < -1) return E_INVALIDARG;
  if (!font_) return E_FAIL;
  HRESULT hr = Shape(InString(text, length), size, &measured_);
  if (Failed(hr)) return hr;
  for (const BreakItem& item : measured_.items) *width += item.advance;
  *height = (font_->Face()->Ascent() - font_->Face()->Descent()) * size;
  return S_OK;
}

HRESULT ContentWriter::WriteLine(const Shaped& shaped, const BrokenLine& line, double x,
                                 double baseline) {
  // Written straight onto the content; taken back whole if a glyph cannot be placed.
  const size_t start = bytes_.size();
  std::string& ops = bytes_;
  ops += "BT\n";
  ops += fillOps_;
  ops += strokeOps_;
  ops += hasFill_ ? (hasStroke_ ? "2 Tr\n" : "0 Tr\n") : (hasStroke_ ? "1 Tr\n" : "3 Tr\n");
  // One run per stretch of the line in one font resource.
  double pen = x;
  size_t i = line.begin;
  std::string codes;
  while (i < line.end) {
    pdf_obj* resource = nullptr;
    int number = 0;
    int code = 0;
    HRESULT hr = shaped.glyphs[i].face->Place(shaped.glyphs[i], &resource, &number, &code);
    if (Failed(hr)) {
      bytes_.resize(start);
      return hr;
    }
    codes.assign(1, static_cast<char>(code));
    const double runStart = pen;
    pen += shaped.items[i].advance;
    size_t j = i + 1;
    for (; j < line.end; ++j) {
      if (shaped.glyphs[j].face != shaped.glyphs[i].face) break;
      pdf_obj* nextResource = nullptr;
      int nextNumber = 0;
      hr = shaped.glyphs[j].face->Place(shaped.glyphs[j], &nextResource, &nextNumber, &code);
      if (Failed(hr)) {
        bytes_.resize(start);
        return hr;
      }
      if (nextNumber != number) break;
      codes.push_back(static_cast<char>(code));
      pen += shaped.items[j].advance;
    }
    if (fonts_.find(number) == fonts_.end())
      fonts_.emplace(number, MuObject::Keep(document_->Mu().Ctx(), resource));
    ops += '/';
    ops += ContentPiece::FontResourceName(number);
    ops += ' ';
    AppendNum(ops, size_);
    ops += " Tf 1 0 0 1 ";
    AppendNum(ops, runStart);
    ops += ' ';
    AppendNum(ops, baseline);
    ops += " Tm ";
    AppendLiteral(ops, codes);
    ops += " Tj\n";
    i = j;
  }
  ops += "ET\n";
  return S_OK;
}

HRESULT ContentWriter::FlowText(const char16_t* text, int32_t length, const PageBox* rect,
                                ITextFlowCallback* callback, int32_t flags, PageBox* used) {
  if (!rect || !used) return E_POINTER;
  *used = PageBox{rect->left, rect->top, rect->left, rect->top};
  if (length < -1 || !BoxIsValid(*rect)) return E_INVALIDARG;
  if (!font_) return E_FAIL;
  return GuardCall([&]() -> HRESULT {
    Shaped shaped;
    HRESULT hr = Shape(InString(text, length), size_, &shaped);
    if (Failed(hr)) return hr;
    const double ascent = font_->Face()->Ascent() * size_;
    const double lineHeight = ascent - font_->Face()->Descent() * size_;
    const bool alignRight = flags & kFlowAlignRight;

    PageBox area = *rect;
    double top = area.top;
    bool fresh = !(flags & kFlowAreaInUse);
    std::vector<PageBox> placed;
    auto report = [&]() -> HRESULT {
      if (placed.empty() || !callback) return S_OK;
      return callback->LinesPlaced(placed.data(), static_cast<int32_t>(placed.size()));
    };
    const size_t n = shaped.items.size();
    size_t next = 0;
    bool emptyLineDone = false;  // an empty text still takes one line
    while (next < n || (n == 0 && !emptyLineDone)) {
      if (top - lineHeight < area.bottom - kTolerance && !fresh) {
        // Each area takes at least one line before the next is asked for, so a text always
        // comes to an end however small the areas are.
        if (!callback) return S_FALSE;
        hr = report();
        if (Failed(hr)) return hr;
        placed.clear();
        int32_t bits = 0;
        PageBox fresh_area = area;
        hr = callback->NewArea(&fresh_area, &bits);
        if (Failed(hr)) return hr;
        if (!(bits & kFlowAreaChanged) || !BoxIsValid(fresh_area)) return E_FAIL;
        area = fresh_area;
        top = area.top;
        fresh = true;
        continue;
      }
      BrokenLine line;
      if (n > 0) line = LineBreaker::NextLine(shaped.items, next, area.right - area.left);
      const double x = alignRight ? area.right - line.width : area.left;
      if (!(flags & kFlowLayoutOnly)) {
        hr = WriteLine(shaped, line, x, top - ascent);
        if (Failed(hr)) return hr;
      }
      placed.push_back(PageBox{x, top - lineHeight, x + line.width, top});
      top -= lineHeight;
      fresh = false;
      next = line.end;
      emptyLineDone = true;
    }
    if (!placed.empty()) {
      *used = placed.front();
      for (const PageBox& box : placed) {
        used->left = std::min(used->left, box.left);
        used->right = std::max(used->right, box.right);
        used->bottom = std::min(used->bottom, box.bottom);
        used->top = std::max(used->top, box.top);
      }
    }
    hr = report();
    if (Failed(hr)) return hr;
    return callback ? callback->EndOfText() : S_OK;
  });
}

HRESULT ContentWriter::TakeContent(IHostContent** content) {
  if (!content) return E_POINTER;
  *content = nullptr;
  return GuardCall([&]() -> HRESULT {
    const bool empty = bytes_.empty();
    HRESULT hr = MakeCom<ContentPiece>(document_.Get(), std::move(bytes_), std::move(fonts_))
                     .CopyTo(content);
    bytes_.clear();
    fonts_.clear();
    return Failed(hr) ? hr : empty ? S_FALSE : S_OK;
  });
}

HRESULT ContentWriter::Reset() {
  bytes_.clear();
  fonts_.clear();
  return S_OK;
}

}  // namespace zelta::pdf
