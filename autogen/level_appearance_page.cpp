#include "autogen/level_appearance_page.h"

#include <iterator>

namespace bm {

namespace {

constexpr std::u16string_view kColor = u"ba.b.color";
constexpr std::u16string_view kStyle = u"ba.cb.textStyle";
constexpr std::u16string_view kZoom = u"ba.cb.zoom";
constexpr std::u16string_view kExpand = u"ba.chb.expand";
// The third destination value (the zoom of XYZ).
constexpr uint32_t kZoomAbsent = 0x4;

// The zoom entries in order: the fit type each stores, and the absent values it clears from
// the full mask 15.
struct Zoom {
  std::u16string_view stringId;
  int32_t destType;
  uint32_t destFlags;
};
constexpr Zoom kZooms[] = {{u"zoomMode.Inherit", zelta::kFitXYZ, 12},
                           {u"zoomMode.actualSize", zelta::kFitXYZ, 8},
                           {u"zoomMode.fitPage", zelta::kFit, 15},
                           {u"zoomMode.fitWidth", zelta::kFitH, 14},
                           {u"zoomMode.fitHeight", zelta::kFitV, 14},
                           {u"zoomMode.fitVisible", zelta::kFitB, 15},
                           {u"zoomMode.fitVisibleWidth", zelta::kFitBH, 14},
                           {u"zoomMode.fitVisibleHeight", zelta::kFitBV, 14}};

}  // namespace

int32_t LevelAppearancePage::ZoomEntry(int32_t destType, uint32_t destFlags) {
  if (destType == zelta::kFitXYZ) return destFlags & kZoomAbsent ? 0 : 1;
  // FitR and anything unknown show as "Inherit Zoom".
  for (int32_t i = 2; i < static_cast<int32_t>(std::size(kZooms)); ++i)
    if (kZooms[i].destType == destType) return i;
  return 0;
}

void LevelAppearancePage::ZoomChoice(int32_t entry, int32_t* destType, uint32_t* destFlags) {
  if (entry < 0 || entry >= static_cast<int32_t>(std::size(kZooms))) return;
  *destType = kZooms[entry].destType;
  *destFlags = kZooms[entry].destFlags;
}

LevelAppearancePage::LevelAppearancePage(PluginContext* plugin, LevelOptions* level)
    : LevelPage(plugin, u"DlgBookmarkAppearance", nullptr, level) {
  // Each choice is taken when it is made: a destination the combo cannot show (FitR, an
  // unusual mask) stays as it was unless the user picks another.
  OnControlEvent(kZoom, [this] {
    ZoomChoice(State(kZoom), &level_->appearance.destType, &level_->appearance.destFlags);
  });
  OnControlEvent(kStyle, [this] {
    if (State(kStyle) >= 0) level_->appearance.style = State(kStyle);
  });
  OnControlEvent(kExpand, [this] { level_->appearance.expand = Checked(kExpand); });
  OnControlEvent(kColor, [this] {
    LevelAppearance& a = level_->appearance;
    if (auto color = AskColor(a.hasColor ? ColorText(a.color) : u"N")) {
      a.hasColor = !color->none;
      if (!color->none) a.color = color->packed;
      SetText(kColor, a.hasColor ? ColorText(a.color) : u"N");
    }
  });
}

void LevelAppearancePage::OnInit() {
  const LevelAppearance& a = level_->appearance;
  FillCombo(kStyle, {u"Bookmark.Style.Normal", u"Bookmark.Style.Italic", u"Bookmark.Style.Bold",
                     u"Bookmark.Style.BoldAndItalic"});
  std::vector<std::u16string> zooms;
  for (const Zoom& zoom : kZooms) zooms.push_back(LoadString(zoom.stringId));
  SetEntries(kZoom, zooms);
  SetText(kColor, a.hasColor ? ColorText(a.color) : u"N");
  SetState(kStyle, a.style >= 0 && a.style <= 3 ? a.style : -1);
  SetState(kZoom, ZoomEntry(a.destType, a.destFlags));
  SetChecked(kExpand, a.expand);
}

}  // namespace bm
