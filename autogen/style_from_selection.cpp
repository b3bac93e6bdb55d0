#include "autogen/style_from_selection.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "autogen/page_scanner.h"
#include "autogen/page_source.h"
#include "framework/plugin_context.h"
#include "host/selection.h"

namespace bm {

using zelta::ComPtr;
using zelta::HRESULT;

namespace {

struct Usable {
  CharSample sample;
  std::u16string fontName;
};

std::optional<Usable> FirstUsable(zelta::IPageTextService* service, zelta::IHostDocument* document,
                                  zelta::IHostTextSelectionPart* part) {
  int32_t page = -1, ranges = 0;
  if (zelta::Failed(part->GetPageIndex(&page)) || zelta::Failed(part->GetRangeCount(&ranges)))
    return std::nullopt;
  ComPtr<zelta::IHostPageText> text;
  if (service->GetPageText(document, page, text.Put()) != zelta::S_OK || !text) return std::nullopt;
  const zelta::PageTextChar* chars = nullptr;
  int32_t count = 0;
  if (zelta::Failed(text->GetChars(&chars, &count)) || !chars) return std::nullopt;
  for (int32_t r = 0; r < ranges; ++r) {
    int32_t start = 0, length = 0;
    if (zelta::Failed(part->GetRange(r, &start, &length)) || start < 0 || length <= 0) continue;
    const int32_t end = static_cast<int32_t>(std::min<int64_t>(int64_t{start} + length, count));
    for (int32_t i = start; i < end; ++i) {
      ComPtr<zelta::IHostFont> font;
      if (service->GetFont(document, chars[i].fontId, font.Put()) != zelta::S_OK || !font) continue;
      zelta::OwnedString name;
      if (zelta::Failed(font->GetName(name.Put()))) continue;
      return Usable{SampleOf(chars[i]), name.Str()};
    }
  }
  return std::nullopt;
}

}  // namespace

HRESULT StyleFromSelection(zelta::IHostApp* app, zelta::IHostDocument* document,
                           LevelOptions* level) {
  if (!level) return zelta::E_POINTER;
  if (!app || !document) return zelta::S_FALSE;
  auto selections = GetHostComponent<zelta::ISelectionService>(app, "ZLK");
  auto service = PageTextService(app);
  if (!selections || !service) return zelta::S_FALSE;
  ComPtr<zelta::IUnknown> object;
  if (selections->GetTextSelection(document, object.Put()) != zelta::S_OK || !object)
    return zelta::S_FALSE;
  auto selection = zelta::QueryAs<zelta::IHostTextSelection>(object.Get());
  if (!selection) return zelta::S_FALSE;

  std::optional<CharSample> reference;
  double tolerance = 0.2;
  std::vector<std::u16string> names = level->description.fontNames;
  names.clear();
  int32_t parts = 0;
  HRESULT hr = selection->GetPartCount(&parts);
  if (zelta::Failed(hr)) return hr;
  for (int32_t p = 0; p < parts; ++p) {
    ComPtr<zelta::IHostTextSelectionPart> part;
    if (selection->GetPart(p, part.Put()) != zelta::S_OK || !part) continue;
    bool empty = true;
    if (zelta::Failed(part->IsEmpty(&empty)) || empty) continue;
    auto usable = FirstUsable(service.Get(), document, part.Get());
    if (!usable) continue;
    if (!reference)
      reference = usable->sample;
    else
      tolerance = std::max(tolerance, std::fabs(reference->size - usable->sample.size) + 0.1);
    if (!ContainsFontName(names, usable->fontName)) {
      names.push_back(usable->fontName);
      SortFontNames(names);
    }
  }
  if (!reference) return zelta::S_FALSE;
  level->description.fontNames = std::move(names);
  level->description.fontSize = reference->size;
  level->description.fontTolerance = tolerance;
  level->description.color = reference->color;
  level->flags = (level->flags | kLevelMatchSize | kLevelMatchFontNames) & ~kLevelMatchColor;
  return zelta::S_OK;
}

}  // namespace bm
