#include "autogen/level_description_page.h"

#include <algorithm>

#include "autogen/font_names_dialog.h"
#include "autogen/style_from_selection.h"
#include "framework/unit_edits.h"

namespace bm {

namespace {

constexpr std::u16string_view kList = u"bld.list";
constexpr std::u16string_view kSize = u"bld.e.fontSize";
constexpr std::u16string_view kTolerance = u"bld.e.tolerance";
constexpr std::u16string_view kUnits = u"bld.cb.units";
constexpr std::u16string_view kCase = u"bld.cb.matchTextCase";
constexpr std::u16string_view kPattern = u"bld.e.matchTextPattern";
// Owner-modal OK box with the warning icon.
constexpr uint32_t kWarningStyle = 0x80000301;
// In points.
constexpr double kMinSize = 0.1, kMaxSize = 100000, kMaxTolerance = 100000;

struct FlagCheck {
  std::u16string_view id;
  int32_t bit;
};
constexpr FlagCheck kFlagChecks[] = {{u"bld.chb.fontNames", kLevelMatchFontNames},
                                     {u"bld.chb.fontSize", kLevelMatchSize},
                                     {u"bld.chb.color", kLevelMatchColor},
                                     {u"bld.chb.multilineBookmarks", kLevelMultiline},
                                     {u"bld.chb.matchTextPattern", kLevelMatchPattern},
                                     {u"bld.chb.matchTextCase", kLevelPatternCase},
                                     {u"bld.chb.limitToPattern", kLevelLimitToPattern}};

}  // namespace

LevelDescriptionPage::LevelDescriptionPage(PluginContext* plugin, zelta::IHostDocument* document,
                                           LevelOptions* level, bool styleOnOpen)
    : LevelPage(plugin, u"DlgBookmarkLevelDescription", document, level),
      styleOnOpen_(styleOnOpen) {
  for (const FlagCheck& check : kFlagChecks) BindFlag(check.id, &level_->flags, check.bit);
  OnControlEvent(kCase, [this] {
    if (State(kCase) >= 0) level_->description.matchTextCase = State(kCase);
  });
  OnControlEvent(kUnits, [this] { ChangeUnit(); });
  OnControlEvent(u"cmd.addFonts", [this] { AddDocumentFonts(); });
  OnControlEvent(u"cmd.addCustomFont", [this] { AddCustomFont(); });
  OnControlEvent(u"cmd.removeFonts", [this] { RemoveFonts(); });
  OnControlEvent(u"bld.b.selStyle", [this] { TakeStyleFromSelection(); });
  OnControlEvent(u"bld.b.color", [this] {
    if (auto color = AskColor(ColorText(level_->description.color))) {
      level_->description.color = color->packed;
      SetText(u"bld.b.color", ColorText(color->packed));
    }
  });
}

void LevelDescriptionPage::OnInit() {
  units_ = UnitEdits::HostUnits(Plugin());
  std::vector<std::u16string> names;
  for (const auto& unit : units_) names.push_back(unit.first);
  SetEntries(kUnits, names);
  SetState(kUnits, unit_);
  FillCombo(kCase, {u"bookmarksPlugin.bld.matchTextCase.noRestrictions",
                    u"bookmarksPlugin.bld.matchTextCase.allCapital",
                    u"bookmarksPlugin.bld.matchTextCase.firstCapital",
                    u"bookmarksPlugin.bld.matchTextCase.firstDigit"});
  if (styleOnOpen_) StyleFromSelection(Plugin() ? Plugin()->App() : nullptr, Document(), level_);
  Load();
}

void LevelDescriptionPage::Load() {
  const LevelDescription& d = level_->description;
  SetEntries(kList, d.fontNames);
  ShowSizes();
  SetText(u"bld.b.color", ColorText(d.color));
  // A value the combo does not list stays as it is unless the user picks one.
  SetState(kCase, d.matchTextCase >= 0 && d.matchTextCase <= 3 ? d.matchTextCase : -1);
  SetText(kPattern, d.textPattern);
  Refresh();
}

void LevelDescriptionPage::ShowSizes() {
  const double points = UnitSize();
  SetRange(kSize, kMinSize / points, kMaxSize / points, 1);
  SetRange(kTolerance, 0, kMaxTolerance / points, 1);
  SetNumber(kSize, level_->description.fontSize / points);
  SetNumber(kTolerance, level_->description.fontTolerance / points);
}

double LevelDescriptionPage::UnitSize() const {
  return static_cast<size_t>(unit_) < units_.size() ? units_[static_cast<size_t>(unit_)].second : 1;
}

void LevelDescriptionPage::ChangeUnit() {
  // The edits are read in the old unit first, so a new unit shows the same lengths.
  const double points = UnitSize();
  if (auto size = Number(kSize)) level_->description.fontSize = *size * points;
  if (auto tolerance = Number(kTolerance)) level_->description.fontTolerance = *tolerance * points;
  unit_ = std::clamp(State(kUnits), 0, static_cast<int32_t>(units_.size()) - 1);
  ShowSizes();
}

void LevelDescriptionPage::Refresh() {
  const int32_t flags = level_->flags;
  for (const FlagCheck& check : kFlagChecks) SetChecked(check.id, flags & check.bit);
  for (std::u16string_view id : {kSize, kTolerance, kUnits}) Enable(id, flags & kLevelMatchSize);
  Enable(u"bld.b.color", flags & kLevelMatchColor);
  Enable(kList, flags & kLevelMatchFontNames);
  for (std::u16string_view id : {kPattern, std::u16string_view(u"bld.chb.matchTextCase"),
                                 std::u16string_view(u"bld.chb.limitToPattern")})
    Enable(id, flags & kLevelMatchPattern);
  Enable(u"cmd.removeFonts", !SelectedEntries(kList).empty());
  const bool noFonts = level_->description.fontNames.empty();
  // The sheet's OK.
  Enable(u"btn.ok", flags != 0 && !(flags == kLevelMatchFontNames && noFonts));
}

void LevelDescriptionPage::AddFonts(const std::vector<std::u16string>& names) {
  auto& list = level_->description.fontNames;
  list.insert(list.end(), names.begin(), names.end());
  SortFontNames(list);
  SetEntries(kList, list);
}

void LevelDescriptionPage::AddDocumentFonts() {
  auto dialog = zelta::MakeCom<FontNamesDialog>(Plugin(), Document());
  int32_t result = zelta::kDialogResultCancel;
  if (dialog->RunModal(Window(), &result) == zelta::S_OK && result == zelta::kDialogResultOk)
    AddFonts(dialog->Chosen());
}

void LevelDescriptionPage::AddCustomFont() {
  auto name = Input(u"bookmarksPlugin.msg.font.addCustom.title",
                    u"bookmarksPlugin.msg.font.addCustom.caption", u"");
  if (name && !name->empty()) AddFonts({*name});
}

void LevelDescriptionPage::RemoveFonts() {
  auto& list = level_->description.fontNames;
  const std::vector<int32_t> selected = SelectedEntries(kList);
  for (auto it = selected.rbegin(); it != selected.rend(); ++it)
    if (*it < static_cast<int32_t>(list.size())) list.erase(list.begin() + *it);
  SetEntries(kList, list);
}

void LevelDescriptionPage::TakeStyleFromSelection() {
  // The edits so far count: the selection changes only the style fields.
  Store();
  if (StyleFromSelection(Plugin() ? Plugin()->App() : nullptr, Document(), level_) == zelta::S_OK)
    Load();
}

bool LevelDescriptionPage::Store() {
  LevelDescription& d = level_->description;
  const double points = UnitSize();
  // A size that is not used may be left as any text; one that is used must be a number.
  const bool sizeUsed = level_->Uses(kLevelMatchSize);
  auto size = sizeUsed ? CheckedNumber(kSize) : Number(kSize);
  if (sizeUsed && !size) return false;
  auto tolerance = sizeUsed ? CheckedNumber(kTolerance) : Number(kTolerance);
  if (sizeUsed && !tolerance) return false;
  if (size) d.fontSize = *size * points;
  if (tolerance) d.fontTolerance = *tolerance * points;
  d.textPattern = Text(kPattern);
  return true;
}

bool LevelDescriptionPage::Validate() {
  const int32_t flags = level_->flags;
  const bool noFonts = level_->description.fontNames.empty();
  const int32_t low = flags & 0xFF;
  const bool nothingChosen = flags == 0 || (flags == kLevelMatchFontNames && noFonts);
  const bool emptyPattern = (low == kLevelMatchPattern ||
                             (low == (kLevelMatchPattern | kLevelMatchFontNames) && noFonts)) &&
                            level_->description.textPattern.empty();
  if (!nothingChosen && !emptyPattern) return true;
  Message(u"bookmarksPlugin.msg.levelDesc.warning", u"bookmarksPlugin.msg.levelDesc.title",
          kWarningStyle);
  return false;
}

}  // namespace bm
