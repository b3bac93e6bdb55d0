#include "tools/title/bnd_name_mask.h"

#include <new>

#include "macros/title_macro_expander.h"
#include "macros/title_template.h"

namespace bm {

struct BndNameMask::Parsed {
  Parsed(zelta::IHostApp* app, zelta::IHostDocument* document) : expander(app, document) {}
  TitleMacroExpander expander;
  TitleTemplate titleTemplate;
};

BndNameMask::BndNameMask(zelta::IHostApp* app, zelta::IHostDocument* document, std::u16string mask)
    : app_(app), document_(document), mask_(std::move(mask)) {}

BndNameMask::~BndNameMask() = default;

zelta::HRESULT BndNameMask::Prepare() {
  parsed_ = std::make_unique<Parsed>(app_, document_);
  zelta::HRESULT hr = parsed_->expander.RegisterMacros(parsed_->titleTemplate, kNamedDestMacros);
  if (zelta::Succeeded(hr)) hr = parsed_->expander.ParseTemplate(parsed_->titleTemplate, mask_);
  if (zelta::Failed(hr)) return hr;
  parsed_->expander.Reset();
  parsed_->expander.LoadDocumentValues();
  return zelta::S_OK;
}

std::u16string BndNameMask::TakeUnknownMacroWarning() {
  return parsed_ ? parsed_->expander.TakeUnknownMacroWarning() : std::u16string();
}

zelta::HRESULT BndNameMask::NameFor(zelta::IHostBookmark* bookmark, std::u16string& name) {
  if (!parsed_ || !parsed_->titleTemplate.HasMacros()) {
    name = mask_;
    return zelta::S_OK;
  }
  zelta::HRESULT hr = parsed_->expander.SetBookmark(bookmark);
  if (zelta::Failed(hr)) return hr;
  name.clear();
  return parsed_->titleTemplate.Render(name);
}

}  // namespace bm
