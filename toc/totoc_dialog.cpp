#include "toc/totoc_dialog.h"

#include <algorithm>
#include <cmath>

#include "framework/cab_access.h"
#include "framework/host_strings.h"
#include "host/editors.h"
#include "host/page_content.h"
#include "toc/toc_page_layout.h"
#include "toc/totoc_operation.h"

namespace bm {

namespace {

constexpr std::u16string_view kTree = u"ttoc.tree";
constexpr std::u16string_view kNumberType = u"ttoc.cb.numberType";
constexpr std::u16string_view kNumberStyle = u"ttoc.cb.numberStyle";
constexpr std::u16string_view kPaper = u"PageSize.cbx.standart";
constexpr std::u16string_view kOrientation = u"PageSize.cbx.orientation";
constexpr std::u16string_view kPresetsItem = u"ToTOCPresets";
constexpr std::u16string_view kMeasure = u"PageSize.cbx.measure";
constexpr std::u16string_view kWidth = u"PageSize.ed.width";
constexpr std::u16string_view kHeight = u"PageSize.ed.height";
constexpr int32_t kNumberTypeMask = 0xF0;
constexpr int32_t kNumberStyleMask = 0xF00;
constexpr int32_t kNumberTypes[] = {0, kTocPageLabels, kTocBatesNumbers};
constexpr int32_t kNumberStyles[] = {0, kTocLeaderUnderscore, kTocLeaderSpace};
constexpr std::u16string_view kPaperRadios[] = {u"PageSize.rb.byDocument", u"PageSize.rb.standard",
                                                u"PageSize.rb.custom"};
constexpr const char16_t* kSides[] = {u"left", u"top", u"right", u"bottom"};
constexpr double kMaxMargin = 9999, kMaxSide = 14400, kMaxLevel = 999;
constexpr double kNoDocumentPages = 999999;
// A new level is indented this much per level below the first.
constexpr double kIndentStep = 36;
constexpr double kNewLevelSize = 12;

int32_t EntryOf(const int32_t* values, size_t count, int32_t value) {
  for (size_t i = 0; i < count; ++i)
    if (values[i] == value) return static_cast<int32_t>(i);
  return -1;
}

std::u16string Points(double value) {
  const std::string digits = std::to_string(std::lround(value));
  return std::u16string(digits.begin(), digits.end()) + u" pt";
}

}  // namespace

ToTOCDialog::ToTOCDialog(PluginContext* plugin, zelta::ICabItem* options,
                         zelta::IHostDocument* document)
    : DialogBase(plugin, u"DlgToTOC", options, document),
      pageSize_(this, std::u16string(kMeasure),
                {{std::u16string(kWidth), 1, kMaxSide}, {std::u16string(kHeight), 1, kMaxSide}}) {
  OnControlEvent(kMeasure, [this] { pageSize_.UnitChanged(); });
  BindFlag(u"ttoc.chb.end", &flags_, kTocAllLevels);
  BindFlag(u"ttoc.chb.skipInvalid", &flags_, kTocSkipInvalid);
  BindFlag(u"ttoc.chb.trimSpaces", &flags_, kTocTidySpaces);
  OnControlEvent(kNumberType, [this] {
    if (const int32_t entry = State(kNumberType); entry >= 0)
      flags_ = (flags_ & ~kNumberTypeMask) | kNumberTypes[entry];
  });
  OnControlEvent(kNumberStyle, [this] {
    if (const int32_t entry = State(kNumberStyle); entry >= 0)
      flags_ = (flags_ & ~kNumberStyleMask) | kNumberStyles[entry];
  });
  for (int32_t type = 0; type < 3; ++type)
    OnControlEvent(kPaperRadios[type], [this, type] { paperType_ = type; });
  OnControlEvent(u"cmd.ttoc.addTreeItem", [this] { AddLevel(); });
  OnControlEvent(u"cmd.ttoc.editTreeItem", [this] { EditLevel(); });
  OnControlEvent(u"cmd.ttoc.removeTreeItem", [this] { RemoveLevel(); });
}

void ToTOCDialog::OnInit() {
  std::vector<std::u16string> papers;
  if (auto list =
          GetHostComponent<zelta::IHostPaperList>(Plugin() ? Plugin()->App() : nullptr, "PPR")) {
    int32_t count = 0;
    list->GetCount(&count);
    for (int32_t i = 0; i < count; ++i) {
      zelta::OwnedString name;
      double width = 0, height = 0;
      list->GetPaper(i, name.Put(), &width, &height);
      papers.push_back(name.Str());
    }
  }
  SetEntries(kPaper, papers);
  FillCombo(kOrientation, {u"PageSize.portrait", u"PageSize.landscape"});
  pageSize_.Fill();
  FillCombo(kNumberType,
            {u"bookmarksPlugin.ttoc.numberType.original", u"bookmarksPlugin.ttoc.numberType.labels",
             u"bookmarksPlugin.ttoc.numberType.bates"});
  FillCombo(kNumberStyle,
            {u"bookmarksPlugin.toc.leader.dots", u"bookmarksPlugin.toc.leader.underscores",
             u"bookmarksPlugin.toc.leader.spaces"});
  int32_t pages = 0;
  const bool known = Document() && Document()->GetPageCount(&pages) == zelta::S_OK && pages > 0;
  SetRange(u"ttoc.e.page", 1, known ? pages : kNoDocumentPages, 1);
  for (const char16_t* side : kSides) SetRange(u"ttoc.e." + std::u16string(side), 0, kMaxMargin, 1);
  SetRange(u"ttoc.e.start", 1, kMaxLevel, 1);
  SetRange(u"ttoc.e.end", 1, kMaxLevel, 1);
  if (Dialog() && Plugin()) {
    const auto settings = Plugin()->SettingsRoot();
    const std::u16string path = Plugin()->PresetListPath(kPresetsItem);
    const std::u16string current =
        CabText(CabItem(settings.Get(), u"ToTOCLastUsedOptions").Get(), u"PresetID", u"");
    if (auto presets = CabItem(settings.Get(), kPresetsItem.data()))
      Dialog()->AttachPresets(presets.Get(), path.c_str(), Options(), current.c_str());
  }
  Load();
}

void ToTOCDialog::Load() {
  zelta::ICabItem* options = Options();
  flags_ = CabInt(options, u"Flags", 0);
  // Levels 1 to -1 (the defaults) list every level: the dialog says so with its check box.
  const int32_t start = CabInt(options, u"StartingLevel", 1),
                end = CabInt(options, u"EndingLevel", -1);
  if (start == 1 && end < 0) flags_ |= kTocAllLevels;
  paperType_ = std::clamp(CabInt(options, u"PaperType", 1), 0, 2);
  std::u16string title = CabText(options, u"Title", u"");
  if (title.empty()) title = LoadString(u"bookmarksPlugin.ttoc.tableOfContents");
  SetText(u"ttoc.e.title", title);
  SetNumber(u"ttoc.e.page", CabInt(options, u"PageNumber", 1));
  const auto margins = CabItem(options, u"Margins");
  for (const char16_t* side : kSides)
    SetNumber(u"ttoc.e." + std::u16string(side), CabDouble(margins.Get(), side, 0));
  SetNumber(u"ttoc.e.start", start);
  SetNumber(u"ttoc.e.end", std::max(end, 1));
  SetState(kPaper, CabInt(options, u"StdPaperIndex", 0));
  SetState(kOrientation, CabBool(options, u"Landscape", false) ? 1 : 0);
  pageSize_.Show(kWidth, CabDouble(options, u"Width", 595.3));
  pageSize_.Show(kHeight, CabDouble(options, u"Height", 841.9));
  ShowLevels(-1);
  Refresh();
}

void ToTOCDialog::OnControl(zelta::IDialogControl* sender) {
  // A preset taken replaces the whole option set.
  if (!sender) Load();
  DialogBase::OnControl(sender);
}

void ToTOCDialog::Refresh() {
  // Choices take effect at once, so that a preset saved now holds them; the edits are read
  // when the dialog is confirmed.
  if (Options()) {
    Options()->SetInt(u"Flags", flags_);
    Options()->SetInt(u"PaperType", paperType_);
  }
  SetChecked(u"ttoc.chb.end", flags_ & kTocAllLevels);
  SetChecked(u"ttoc.chb.skipInvalid", flags_ & kTocSkipInvalid);
  SetChecked(u"ttoc.chb.trimSpaces", flags_ & kTocTidySpaces);
  SetState(kNumberType, EntryOf(kNumberTypes, std::size(kNumberTypes), flags_ & kNumberTypeMask));
  SetState(kNumberStyle,
           EntryOf(kNumberStyles, std::size(kNumberStyles), flags_ & kNumberStyleMask));
  Enable(u"ttoc.e.start", !(flags_ & kTocAllLevels));
  Enable(u"ttoc.e.end", !(flags_ & kTocAllLevels));
  SetState(kPaperRadios[paperType_], 1);
  Enable(kPaper, paperType_ == 1);
  Enable(kOrientation, paperType_ == 1);
  for (std::u16string_view id : {kWidth, kHeight, kMeasure}) Enable(id, paperType_ == 2);
  Enable(u"cmd.ttoc.editTreeItem", SelectedLevel() >= 0 && FontEditor());
  Enable(u"cmd.ttoc.removeTreeItem", SelectedLevel() >= 0);
}

void ToTOCDialog::ShowLevels(int32_t select) {
  auto tree = Control(kTree);
  if (!tree) return;
  for (int32_t item : treeItems_) tree->RemoveTreeItem(item);
  treeItems_.clear();
  const auto levels = CabItem(Options(), u"Levels");
  int32_t count = 0;
  if (levels) levels->GetCount(&count);
  int32_t parent = zelta::kTreeRoot;
  for (int32_t i = 0; i < count; ++i) {
    zelta::ComPtr<zelta::ICabItem> level;
    levels->GetItemAt(i, level.Put());
    const std::u16string text = CabText(level.Get(), u"Name", u"") + u", " +
                                Points(CabDouble(level.Get(), u"Size", 0)) + u", " +
                                Points(CabDouble(level.Get(), u"Indent", 0));
    int32_t item = 0;
    // Each level sits below the one before: the chain the run reads.
    if (i == 0 || treeItems_.empty()) parent = zelta::kTreeRoot;
    tree->InsertTreeItem(parent, -1, text.c_str(), static_cast<int32_t>(text.size()), &item);
    treeItems_.push_back(item);
    parent = item;
  }
  if (select >= 0 && select < static_cast<int32_t>(treeItems_.size()))
    tree->SelectTreeItem(treeItems_[select]);
}

int32_t ToTOCDialog::SelectedLevel() {
  auto tree = Control(kTree);
  int32_t item = 0;
  if (!tree || tree->GetSelectedTreeItem(&item) != zelta::S_OK) return -1;
  for (size_t i = 0; i < treeItems_.size(); ++i)
    if (treeItems_[i] == item) return static_cast<int32_t>(i);
  return -1;
}

void ToTOCDialog::AddLevel() {
  const auto levels = CabItem(Options(), u"Levels");
  if (!levels) return;
  int32_t count = 0;
  levels->GetCount(&count);
  const int32_t selected = SelectedLevel();
  const int32_t at = selected >= 0 ? selected + 1 : count;
  zelta::ComPtr<zelta::ICabItem> level;
  if (zelta::Failed(levels->Insert(at, level.Put())) || !level) return;
  level->SetInt(u"Index", at);
  level->SetDouble(u"Indent", std::max(0.0, kIndentStep * (at - 1)));
  level->SetDouble(u"Size", kNewLevelSize);
  // The user shapes the new level in the host's font dialog; cancelling it adds nothing.
  if (auto editor = FontEditor();
      editor && editor->EditFontParams(level.Get(), Window()) != zelta::S_OK) {
    levels->RemoveAt(at);
    return;
  }
  if (Plugin())
    if (auto stored = CabItem(Plugin()->SettingsRoot().Get(), u"ToTOCAddLevelLastUsedOptions"))
      stored->CopyFrom(level.Get());
  ShowLevels(at);
}

zelta::ComPtr<zelta::IHostEditors> ToTOCDialog::FontEditor() const {
  return GetHostComponent<zelta::IHostEditors>(Plugin() ? Plugin()->App() : nullptr, "EDT");
}

void ToTOCDialog::EditLevel() {
  const int32_t selected = SelectedLevel();
  const auto levels = CabItem(Options(), u"Levels");
  const auto editor = FontEditor();
  zelta::ComPtr<zelta::ICabItem> level;
  if (selected < 0 || !levels || !editor || levels->GetItemAt(selected, level.Put()) != zelta::S_OK)
    return;
  if (editor->EditFontParams(level.Get(), Window()) == zelta::S_OK) ShowLevels(selected);
}

void ToTOCDialog::RemoveLevel() {
  const int32_t selected = SelectedLevel();
  const auto levels = CabItem(Options(), u"Levels");
  if (selected < 0 || !levels) return;
  levels->RemoveAt(selected);
  ShowLevels(-1);
}

bool ToTOCDialog::Store() {
  if (!StoreControls()) return false;
  // The preset the options came from is remembered with the last used options.
  if (Dialog() && Plugin()) {
    zelta::OwnedString preset;
    Dialog()->GetCurrentPreset(preset.Put());
    if (auto stored = CabItem(Plugin()->SettingsRoot().Get(), u"ToTOCLastUsedOptions"))
      stored->SetText(u"PresetID", preset.Data(), preset.Length());
  }
  return true;
}

bool ToTOCDialog::StoreControls() {
  zelta::ICabItem* options = Options();
  if (!options) return false;
  const auto page = CheckedNumber(u"ttoc.e.page");
  if (!page) return false;
  double margins[4];
  for (int i = 0; i < 4; ++i) {
    const auto value = CheckedNumber(u"ttoc.e." + std::u16string(kSides[i]));
    if (!value) return false;
    margins[i] = *value;
  }
  std::optional<double> start, end, width, height;
  if (!(flags_ & kTocAllLevels)) {
    if (!(start = CheckedNumber(u"ttoc.e.start")) || !(end = CheckedNumber(u"ttoc.e.end")))
      return false;
  }
  if (paperType_ == 2) {
    if (!(width = pageSize_.Points(kWidth)) || !(height = pageSize_.Points(kHeight))) return false;
  }
  const std::u16string title = Text(u"ttoc.e.title");
  options->SetText(u"Title", title.c_str(), static_cast<int32_t>(title.size()));
  options->SetInt(u"PageNumber", static_cast<int32_t>(std::lround(*page)));
  const auto marginItem = CabItem(options, u"Margins");
  for (int i = 0; i < 4; ++i)
    if (marginItem) marginItem->SetDouble(kSides[i], margins[i]);
  options->SetInt(u"Flags", flags_);
  if (start) options->SetInt(u"StartingLevel", static_cast<int32_t>(std::lround(*start)));
  if (end) options->SetInt(u"EndingLevel", static_cast<int32_t>(std::lround(*end)));
  options->SetInt(u"PaperType", paperType_);
  if (paperType_ == 1) {
    options->SetInt(u"StdPaperIndex", std::max(0, State(kPaper)));
    options->SetBool(u"Landscape", State(kOrientation) == 1);
  }
  if (width) options->SetDouble(u"Width", *width);
  if (height) options->SetDouble(u"Height", *height);
  return true;
}

}  // namespace bm
