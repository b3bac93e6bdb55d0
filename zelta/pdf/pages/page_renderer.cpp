#include "zelta/pdf/pages/page_renderer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "zelta/pdf/host_document.h"

namespace zelta::pdf {

namespace {

int NormalisedRotation(int degrees) { return ((degrees % 360) + 360) % 360 / 90 * 90; }

}  // namespace

PageSize PageRenderer::Size(int page, int viewRotation) const {
  PageBox box{};
  if (document_.GetPageBox(page, kBoxCrop, &box) != S_OK) box = PageBox{0, 0, 612, 792};
  int32_t own = 0;
  document_.GetPageRotation(page, &own);
  PageSize size{std::fabs(box.right - box.left), std::fabs(box.top - box.bottom)};
  if (NormalisedRotation(own + viewRotation) % 180 != 0) std::swap(size.width, size.height);
  return size;
}

std::vector<PageSize> PageRenderer::Sizes(int viewRotation) const {
  return Sizes(viewRotation, 0, document_.Mu().PageCount());
}

std::vector<PageSize> PageRenderer::Sizes(int viewRotation, int first, int end) const {
  MuCalls& mu = document_.Mu();
  first = std::max(first, 0);
  end = std::min(end, mu.PageCount());
  std::vector<PageSize> sizes;
  sizes.reserve(static_cast<size_t>(std::max(end - first, 0)));
  auto box = [&](pdf_obj* page, pdf_obj* key) -> std::optional<fz_rect> {
    pdf_obj* value = mu.Inherited(page, key);
    if (!mu.IsArray(value) || mu.Len(value) < 4) return std::nullopt;
    float v[4];
    for (int i = 0; i < 4; ++i) v[i] = static_cast<float>(mu.ToReal(mu.At(value, i)));
    return fz_make_rect(std::min(v[0], v[2]), std::min(v[1], v[3]), std::max(v[0], v[2]),
                        std::max(v[1], v[3]));
  };
  for (int i = first; i < end; ++i) {
    const int number = document_.Pages().ObjectNumber(mu, i);
    MuObject page = number > 0 ? mu.Load(number) : MuObject();
    if (!page) {
      sizes.push_back(Size(i, viewRotation));
      continue;
    }
    // As GetPageBox reads the crop box: the media box (Letter when missing), cut to it.
    const fz_rect media =
        box(page.Get(), PDF_NAME(MediaBox)).value_or(fz_make_rect(0, 0, 612, 792));
    const fz_rect crop =
        fz_intersect_rect(box(page.Get(), PDF_NAME(CropBox)).value_or(media), media);
    PageSize size{crop.x1 - crop.x0, crop.y1 - crop.y0};
    const int own = mu.ToInt(mu.Inherited(page.Get(), PDF_NAME(Rotate)));
    if (NormalisedRotation(own / 90 * 90 + viewRotation) % 180 != 0)
      std::swap(size.width, size.height);
    sizes.push_back(size);
  }
  return sizes;
}

HRESULT PageRenderer::Transform(int page, int viewRotation, PageTransform* transform) const {
  *transform = PageTransform{};
  MuCalls& mu = document_.Mu();
  if (page < 0 || page >= mu.PageCount()) return E_INVALIDARG;
  fz_context* ctx = mu.Ctx();
  pdf_document* doc = mu.Doc();
  fz_rect bounds = fz_empty_rect;
  fz_matrix ctm = fz_identity;
  fz_try(ctx) {
    pdf_obj* pageObj = pdf_lookup_page_obj(ctx, doc, page);
    pdf_page_obj_transform(ctx, pageObj, &bounds, &ctm);
  }
  fz_catch(ctx) { return mu.Context().Caught(); }
  // As Render draws it: the page's own transform, the view's turn, then the top-left corner
  // of the result moved to the origin.
  fz_matrix shown = fz_concat(ctm, fz_rotate(static_cast<float>(NormalisedRotation(viewRotation))));
  fz_rect area = fz_transform_rect(bounds, shown);
  shown = fz_concat(shown, fz_translate(-area.x0, -area.y0));
  *transform = PageTransform{shown.a, shown.b, shown.c, shown.d, shown.e, shown.f};
  return S_OK;
}

HRESULT PageRenderer::Render(int page, double scale, int viewRotation, PagePixels* pixels,
                             std::string* error) const {
  *pixels = PagePixels{};
  MuCalls& mu = document_.Mu();
  if (page < 0 || page >= mu.PageCount()) {
    *error = "page " + std::to_string(page + 1) + " is not in the document";
    return E_INVALIDARG;
  }
  const PageSize size = Size(page, viewRotation);
  const double pixelCount = size.width * scale * size.height * scale;
  if (!(scale > 0) || pixelCount > static_cast<double>(kMaxPixels)) {
    *error = "page " + std::to_string(page + 1) + " is too large to draw at this zoom";
    return E_INVALIDARG;
  }

  fz_context* ctx = mu.Ctx();
  fz_document* doc = reinterpret_cast<fz_document*>(mu.Doc());
  const float zoom = static_cast<float>(scale);
  const float turn = static_cast<float>(NormalisedRotation(viewRotation));
  fz_page* volatile loaded = nullptr;
  fz_pixmap* volatile pix = nullptr;
  fz_device* volatile device = nullptr;
  fz_var(loaded);
  fz_var(pix);
  fz_var(device);
  fz_try(ctx) {
    loaded = fz_load_page(ctx, doc, page);
    fz_matrix ctm = fz_concat(fz_scale(zoom, zoom), fz_rotate(turn));
    fz_irect area = fz_round_rect(fz_transform_rect(fz_bound_page(ctx, loaded), ctm));
    pix = fz_new_pixmap_with_bbox(ctx, fz_device_rgb(ctx), area, nullptr, 0);
    fz_clear_pixmap_with_value(ctx, pix, 0xFF);
    device = fz_new_draw_device(ctx, fz_identity, pix);
    fz_run_page(ctx, loaded, device, ctm, nullptr);
    fz_close_device(ctx, device);
  }
  fz_always(ctx) {
    fz_drop_device(ctx, device);
    fz_drop_page(ctx, loaded);
  }
  fz_catch(ctx) {
    fz_drop_pixmap(ctx, pix);
    HRESULT hr = mu.Context().Caught();
    *error = "page " + std::to_string(page + 1) + " cannot be drawn: " + mu.Context().LastError();
    return hr;
  }
  // Reading the finished pixmap cannot fail inside MuPDF; the copy may (out of memory).
  const int width = fz_pixmap_width(ctx, pix), height = fz_pixmap_height(ctx, pix);
  const int stride = fz_pixmap_stride(ctx, pix);
  const unsigned char* samples = fz_pixmap_samples(ctx, pix);
  try {
    pixels->rgb.resize(static_cast<size_t>(stride) * static_cast<size_t>(height));
  } catch (const std::bad_alloc&) {
    fz_drop_pixmap(ctx, pix);
    *error = "page " + std::to_string(page + 1) + ": out of memory";
    return E_OUTOFMEMORY;
  }
  if (!pixels->rgb.empty()) std::memcpy(pixels->rgb.data(), samples, pixels->rgb.size());
  fz_drop_pixmap(ctx, pix);
  pixels->width = width;
  pixels->height = height;
  pixels->stride = stride;
  return S_OK;
}

}  // namespace zelta::pdf
