#include "zelta/pdf/text/page_text_extractor.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <unordered_map>
#include <vector>

#include "zelta/pdf/fonts/font_table.h"

namespace zelta::pdf {

namespace {

constexpr int kMaxResourceDepth = 8;
// fz_font keeps at most this many bytes of a name; longer names are looked up in the page's
// resources.
constexpr size_t kMuFontNameBytes = sizeof(static_cast<fz_font*>(nullptr)->name) - 1;

int32_t FontFlags(fz_context* ctx, fz_font* font) {
  int32_t flags = 0;
  if (fz_font_is_bold(ctx, font)) flags |= kFontBold;
  if (fz_font_is_italic(ctx, font)) flags |= kFontItalic;
  if (fz_font_is_monospaced(ctx, font)) flags |= kFontMonospaced;
  if (fz_font_is_serif(ctx, font)) flags |= kFontSerif;
  return flags;
}

// The BaseFont names of the fonts a page's resources (and their forms', patterns' and Type 3
// fonts' resources) declare. Cycle-safe and depth-limited; the reads used here resolve
// references without throwing.
void CollectFontNames(fz_context* ctx, pdf_obj* resources, int depth, std::set<int>& visited,
                      std::vector<std::string>& names) {
  if (!pdf_is_dict(ctx, resources) || depth > kMaxResourceDepth) return;
  int num = pdf_to_num(ctx, resources);
  if (num > 0 && !visited.insert(num).second) return;
  pdf_obj* fonts = pdf_dict_get(ctx, resources, PDF_NAME(Font));
  for (int i = 0, n = pdf_dict_len(ctx, fonts); i < n; ++i) {
    pdf_obj* font = pdf_dict_get_val(ctx, fonts, i);
    if (const char* base = pdf_to_name(ctx, pdf_dict_get(ctx, font, PDF_NAME(BaseFont)));
        base && *base)
      names.emplace_back(base);
    CollectFontNames(ctx, pdf_dict_get(ctx, font, PDF_NAME(Resources)), depth + 1, visited, names);
  }
  for (pdf_obj* key : {PDF_NAME(XObject), PDF_NAME(Pattern)}) {
    pdf_obj* group = pdf_dict_get(ctx, resources, key);
    for (int i = 0, n = pdf_dict_len(ctx, group); i < n; ++i)
      CollectFontNames(ctx, pdf_dict_get(ctx, pdf_dict_get_val(ctx, group, i), PDF_NAME(Resources)),
                       depth + 1, visited, names);
  }
}

// Gives each fz_font of one page its table id, fetching names once per font.
class PageFonts {
 public:
  PageFonts(fz_context* ctx, pdf_obj* resources) : ctx_(ctx), resources_(resources) {}

  uint32_t IdOf(fz_font* font) {
    if (font == lastFont_) return lastId_;
    auto found = ids_.find(font);
    uint32_t id = found != ids_.end() ? found->second : Register(font);
    lastFont_ = font;
    lastId_ = id;
    return id;
  }

 private:
  uint32_t Register(fz_font* font) {
    std::string name = font ? fz_font_name(ctx_, font) : "";
    if (name.size() >= kMuFontNameBytes) name = FullName(name);
    uint32_t id = FontTable::Instance().IdFor(name, font ? FontFlags(ctx_, font) : 0);
    ids_.emplace(font, id);
    return id;
  }

  // The one declared name that the cut name begins with; the cut name when there is not
  // exactly one.
  std::string FullName(const std::string& cut) {
    if (!collected_) {
      std::set<int> visited;
      CollectFontNames(ctx_, resources_, 0, visited, declared_);
      collected_ = true;
    }
    std::string match;
    for (const auto& name : declared_) {
      if (name.size() <= cut.size() || name.compare(0, cut.size(), cut) != 0) continue;
      if (!match.empty() && match != name) return cut;
      match = name;
    }
    return match.empty() ? cut : match;
  }

  fz_context* ctx_;
  pdf_obj* resources_;
  std::unordered_map<fz_font*, uint32_t> ids_;
  fz_font* lastFont_ = nullptr;
  uint32_t lastId_ = 0;
  bool collected_ = false;
  std::vector<std::string> declared_;
};

void AppendCode(std::vector<PageTextChar>& chars, const PageTextChar& style, int c) {
  PageTextChar ch = style;
  if (c < 0 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
  if (c < 0x10000) {
    ch.code = static_cast<char16_t>(c);
    chars.push_back(ch);
    return;
  }
  c -= 0x10000;
  ch.code = static_cast<char16_t>(0xD800 + (c >> 10));
  chars.push_back(ch);
  ch.flags &= ~kCharRunStart;
  ch.code = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
  chars.push_back(ch);
}

// The user-space bounding box of a character quad. Under a matrix without rotation or skew
// (every page without /Rotate) the box of the transformed quad is the transformed box of the
// quad, which saves three of the four point transforms on the hottest loop of extraction.
fz_rect ToUser(const fz_quad& quad, const fz_matrix& m, bool axisAligned) {
  if (!axisAligned) return fz_rect_from_quad(fz_transform_quad(quad, m));
  float x0 = std::min(std::min(quad.ul.x, quad.ur.x), std::min(quad.ll.x, quad.lr.x));
  float x1 = std::max(std::max(quad.ul.x, quad.ur.x), std::max(quad.ll.x, quad.lr.x));
  float y0 = std::min(std::min(quad.ul.y, quad.ur.y), std::min(quad.ll.y, quad.lr.y));
  float y1 = std::max(std::max(quad.ul.y, quad.ur.y), std::max(quad.ll.y, quad.lr.y));
  float ax0 = m.a * x0 + m.e, ax1 = m.a * x1 + m.e;
  float dy0 = m.d * y0 + m.f, dy1 = m.d * y1 + m.f;
  return {std::min(ax0, ax1), std::min(dy0, dy1), std::max(ax0, ax1), std::max(dy0, dy1)};
}

// An upper bound of the characters a page yields (astral characters take two units).
size_t CountChars(fz_stext_page* text) {
  size_t count = 0;
  for (fz_stext_block* block = text->first_block; block; block = block->next) {
    if (block->type != FZ_STEXT_BLOCK_TEXT) continue;
    for (fz_stext_line* ln = block->u.t.first_line; ln; ln = ln->next)
      for (fz_stext_char* ch = ln->first_char; ch; ch = ch->next) count += ch->c >= 0x10000 ? 2 : 1;
  }
  return count;
}

}  // namespace

fz_stext_options PageTextOptions() {
  fz_stext_options options{};
  options.flags = 0;
  options.scale = 1;
  return options;
}

void ConvertStructuredText(fz_context* ctx, fz_stext_page* text, fz_matrix toUser,
                           pdf_obj* resources, PageTextData* out) {
  PageFonts fonts(ctx, resources);
  const bool axisAligned = toUser.b == 0 && toUser.c == 0;
  auto& chars = out->chars;
  chars.reserve(CountChars(text));
  int32_t line = 0;
  for (fz_stext_block* block = text->first_block; block; block = block->next) {
    if (block->type != FZ_STEXT_BLOCK_TEXT) continue;
    size_t blockStart = chars.size();
    for (fz_stext_line* ln = block->u.t.first_line; ln; ln = ln->next) {
      if (!ln->first_char) continue;
      size_t lineStart = chars.size();
      const fz_stext_char* previous = nullptr;
      for (fz_stext_char* ch = ln->first_char; ch; ch = ch->next) {
        fz_rect box = ToUser(ch->quad, toUser, axisAligned);
        // A character placed at infinity (a font size or matrix of 1e38 overflows) is on no
        // page: nothing can select it, link it or measure against it.
        if (!std::isfinite(box.x0) || !std::isfinite(box.y0) || !std::isfinite(box.x1) ||
            !std::isfinite(box.y1) || !std::isfinite(ch->size))
          continue;
        PageTextChar style{};
        style.left = box.x0;
        style.bottom = box.y0;
        style.right = box.x1;
        style.top = box.y1;
        style.line = line;
        style.fontId = fonts.IdOf(ch->font);
        style.color = 0xFF000000u | (static_cast<uint32_t>(ch->color) & 0xFFFFFFu);
        style.size = ch->size;
        if (!previous || previous->font != ch->font || previous->size != ch->size ||
            previous->color != ch->color)
          style.flags = kCharRunStart;
        AppendCode(chars, style, ch->c);
        previous = ch;
      }
      if (chars.size() == lineStart) continue;
      out->lineStarts.push_back(static_cast<int32_t>(lineStart));
      chars.back().flags |= kCharLineEnd;
      ++line;
    }
    if (chars.size() > blockStart) chars.back().flags |= kCharBlockEnd;
  }
}

HRESULT ExtractPageText(fz_context* ctx, pdf_document* doc, int page, PageTextData* out,
                        std::string* error, int expectedObject) {
  *out = PageTextData{};
  out->page = page;
  pdf_page* volatile loaded = nullptr;
  fz_stext_page* volatile text = nullptr;
  pdf_obj* volatile resources = nullptr;
  fz_matrix toUser = fz_identity;
  fz_stext_options options = PageTextOptions();
  fz_var(loaded);
  fz_var(text);
  fz_var(resources);
  fz_try(ctx) {
    loaded = pdf_load_page(ctx, doc, page);
    // Checked on the loaded page: finding the page object costs a walk of the page tree.
    if (expectedObject >= 0 && pdf_to_num(ctx, loaded->obj) != expectedObject)
      fz_throw(ctx, FZ_ERROR_GENERIC, "the page is not the one expected");
    fz_matrix ctm;
    pdf_page_transform(ctx, loaded, nullptr, &ctm);
    toUser = fz_invert_matrix(ctm);
    resources = pdf_page_resources(ctx, loaded);
    text = fz_new_stext_page_from_page(ctx, reinterpret_cast<fz_page*>(loaded), &options);
  }
  fz_catch(ctx) {
    fz_drop_page(ctx, reinterpret_cast<fz_page*>(loaded));
    if (error) *error = fz_caught_message(ctx);
    return fz_caught(ctx) == FZ_ERROR_MEMORY ? E_OUTOFMEMORY : E_FAIL;
  }
  HRESULT hr = S_OK;
  try {
    ConvertStructuredText(ctx, text, toUser, resources, out);
  } catch (const std::bad_alloc&) {
    *out = PageTextData{};
    out->page = page;
    if (error) *error = "out of memory";
    hr = E_OUTOFMEMORY;
  }
  fz_drop_stext_page(ctx, text);
  fz_drop_page(ctx, reinterpret_cast<fz_page*>(loaded));
  return hr;
}

std::shared_ptr<const PageTextData> ExtractSharedPageText(fz_context* ctx, pdf_document* doc,
                                                          int page, int expectedObject) {
  try {
    auto data = std::make_shared<PageTextData>();
    if (Failed(ExtractPageText(ctx, doc, page, data.get(), nullptr, expectedObject)))
      return nullptr;
    return data;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

}  // namespace zelta::pdf
