// Guarded MuPDF calls for fonts and glyphs.
#include "zelta/pdf/mu_calls.h"

extern "C" {
#include <mupdf/ucdn.h>
}

namespace zelta::pdf {
namespace {

// The path walker's state: the output buffer and the current point (for quadratic curves,
// which PDF lacks and which become cubic ones).
struct PathOut {
  fz_buffer* buffer;
  float x, y;
};

void MoveTo(fz_context* ctx, void* arg, float x, float y) {
  auto* out = static_cast<PathOut*>(arg);
  fz_append_printf(ctx, out->buffer, "%g %g m\n", x, y);
  out->x = x;
  out->y = y;
}
void LineTo(fz_context* ctx, void* arg, float x, float y) {
  auto* out = static_cast<PathOut*>(arg);
  fz_append_printf(ctx, out->buffer, "%g %g l\n", x, y);
  out->x = x;
  out->y = y;
}
void CurveTo(fz_context* ctx, void* arg, float x1, float y1, float x2, float y2, float x3,
             float y3) {
  auto* out = static_cast<PathOut*>(arg);
  fz_append_printf(ctx, out->buffer, "%g %g %g %g %g %g c\n", x1, y1, x2, y2, x3, y3);
  out->x = x3;
  out->y = y3;
}
void QuadTo(fz_context* ctx, void* arg, float x1, float y1, float x2, float y2) {
  auto* out = static_cast<PathOut*>(arg);
  CurveTo(ctx, arg, out->x + 2 * (x1 - out->x) / 3, out->y + 2 * (y1 - out->y) / 3,
          x2 + 2 * (x1 - x2) / 3, y2 + 2 * (y1 - y2) / 3, x2, y2);
}
void ClosePath(fz_context* ctx, void* arg) {
  fz_append_string(ctx, static_cast<PathOut*>(arg)->buffer, "h\n");
}

constexpr fz_path_walker kWalker = {MoveTo, LineTo,  CurveTo, ClosePath,
                                    QuadTo, nullptr, nullptr, nullptr};

}  // namespace

fz_font* MuCalls::NewBase14Font(const char* name) {
  fz_font* volatile font = nullptr;
  fz_try(ctx_) { font = fz_new_base14_font(ctx_, name); }
  fz_catch(ctx_) {
    c_.Caught();
    return nullptr;
  }
  return font;
}

fz_font* MuCalls::NewFontFromFile(const char* path) {
  fz_font* volatile font = nullptr;
  fz_try(ctx_) { font = fz_new_font_from_file(ctx_, nullptr, path, 0, 0); }
  fz_catch(ctx_) {
    c_.Caught();
    return nullptr;
  }
  return font;
}

HRESULT MuCalls::AddStandardFontResource(fz_font* font, MuObject* ref) {
  pdf_obj* volatile made = nullptr;
  fz_try(ctx_) { made = pdf_add_simple_font(ctx_, doc_, font, PDF_SIMPLE_ENCODING_LATIN); }
  fz_catch(ctx_) { return c_.Caught(); }
  *ref = MuObject::Adopt(ctx_, made);
  return S_OK;
}

int MuCalls::GlyphOf(fz_font* font, int unicode) {
  int volatile glyph = 0;
  fz_try(ctx_) { glyph = fz_encode_character(ctx_, font, unicode); }
  fz_catch(ctx_) {
    c_.Caught();
    return 0;
  }
  return glyph;
}

fz_font* MuCalls::NewUnicodeFont(int unicode, int candidate, const void** key) {
  fz_font* volatile font = nullptr;
  *key = nullptr;
  const unsigned char* volatile data = nullptr;
  fz_try(ctx_) {
    int size = 0;
    int subfont = 0;
    if (candidate == 0) {
      int script = ucdn_get_script(static_cast<uint32_t>(unicode));
      if (script == UCDN_SCRIPT_COMMON || script == UCDN_SCRIPT_INHERITED ||
          script == UCDN_SCRIPT_UNKNOWN)
        script = UCDN_SCRIPT_LATIN;
      data = fz_lookup_noto_font(ctx_, script, FZ_LANG_UNSET, &size, &subfont);
    } else if (candidate == 1) {
      data = fz_lookup_noto_symbol1_font(ctx_, &size);
    } else if (candidate == 2) {
      data = fz_lookup_noto_symbol2_font(ctx_, &size);
    } else if (candidate == 3) {
      data = fz_lookup_noto_math_font(ctx_, &size);
    }
    if (data && size > 0) font = fz_new_font_from_memory(ctx_, nullptr, data, size, subfont, 0);
  }
  fz_catch(ctx_) {
    c_.Caught();
    return nullptr;
  }
  *key = data;
  return font;
}

float MuCalls::Advance(fz_font* font, int glyph) {
  float volatile advance = 0;
  fz_try(ctx_) { advance = fz_advance_glyph(ctx_, font, glyph, 0); }
  fz_catch(ctx_) {
    c_.Caught();
    return 0;
  }
  return advance;
}

float MuCalls::Ascender(fz_font* font) {
  float volatile value = 0.8f;
  fz_try(ctx_) { value = fz_font_ascender(ctx_, font); }
  fz_catch(ctx_) { c_.Caught(); }
  return value;
}

float MuCalls::Descender(fz_font* font) {
  float volatile value = -0.2f;
  fz_try(ctx_) { value = fz_font_descender(ctx_, font); }
  fz_catch(ctx_) { c_.Caught(); }
  return value;
}

fz_rect MuCalls::FontBox(fz_font* font) {
  fz_rect box = fz_make_rect(0, -0.25f, 1, 1);
  fz_try(ctx_) { box = fz_font_bbox(ctx_, font); }
  fz_catch(ctx_) { c_.Caught(); }
  return box;
}

std::string MuCalls::GlyphPath(fz_font* font, int glyph) {
  fz_path* volatile path = nullptr;
  fz_buffer* volatile buffer = nullptr;
  fz_var(path);
  fz_var(buffer);
  std::string bytes;
  fz_try(ctx_) {
    buffer = fz_new_buffer(ctx_, 256);
    path = fz_outline_glyph(ctx_, font, glyph, fz_scale(1000, 1000));
    if (path) {
      PathOut out{buffer, 0, 0};
      fz_walk_path(ctx_, path, &kWalker, &out);
      fz_append_string(ctx_, buffer, "f\n");
    }
  }
  fz_always(ctx_) { fz_drop_path(ctx_, path); }
  fz_catch(ctx_) {
    fz_drop_buffer(ctx_, buffer);
    c_.Caught();
    return bytes;
  }
  unsigned char* data = nullptr;
  size_t size = fz_buffer_storage(ctx_, buffer, &data);
  // Out of fz_try: a failed allocation here throws as C++ does, past no MuPDF frame.
  try {
    bytes.assign(reinterpret_cast<const char*>(data), size);
  } catch (...) {
    fz_drop_buffer(ctx_, buffer);
    throw;
  }
  fz_drop_buffer(ctx_, buffer);
  return bytes;
}

}  // namespace zelta::pdf
