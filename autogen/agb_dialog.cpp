#include "autogen/agb_dialog.h"

#include <algorithm>
#include <cmath>

#include "autogen/agb_operation.h"
#include "autogen/level_options.h"
#include "autogen/level_sheet.h"
#include "autogen/stop_words_dialog.h"
#include "framework/atom_table.h"
#include "framework/cab_access.h"
#include "framework/color_text.h"
#include "framework/host_strings.h"

namespace bm {

using zelta::ComPtr;
using zelta::HRESULT;

namespace {

constexpr std::u16string_view kTree = u"agb.tree";
constexpr std::u16string_view kStopWords = u"chb.stopWords";
constexpr std::u16string_view kDuplicates = u"chb.ignoreDuplicates";
constexpr std::u16string_view kPresetsItem = u"AGBPresets";
// AGBOptions "Flags".
constexpr int32_t kStopWordsBit = 0x1, kDuplicatesBit = 0x2;
constexpr const char16_t* kEvents[] = {u"e.bookmarksPlugin.addAGBLevel", u"e.mainFrame.closed",
                                       u"e.activeDocChanged"};

// A length in points as the tree shows it: at most two decimals, no trailing zeros.
std::u16string Points(double value) {
  const long long hundredths = std::llround(value * 100);
  std::u16string text = NumberText(static_cast<uint64_t>(std::llabs(hundredths) / 100));
  if (const long long part = std::llabs(hundredths) % 100; part != 0) {
    text += part < 10 ? u".0" + NumberText(part) : u"." + NumberText(part);
    if (text.back() == u'0') text.pop_back();
  }
  return (hundredths < 0 ? u"-" : u"") + text + u" pt";
}

}  // namespace

AGBDialog* AGBDialog::open_ = nullptr;

// The host events the open dialog takes. The server holds this sink, the sink only a plain
// pointer back, dropped when the dialog goes.
class AGBDialog::Events : public zelta::ComObject<zelta::IEventSink> {
 public:
  explicit Events(AGBDialog* dialog) : dialog_(dialog) {}
  HRESULT OnEvent(zelta::Atom event, zelta::IUnknown* object, intptr_t) override {
    if (dialog_) dialog_->OnHostEvent(event, object);
    return zelta::S_OK;
  }
  void Drop() { dialog_ = nullptr; }

 private:
  AGBDialog* dialog_;
};

AGBDialog::AGBDialog(PluginContext* plugin, zelta::ICabItem* options,
                     zelta::IHostDocument* document, bool optionsOnly)
    : DialogBase(plugin, u"DlgAutoGenerateBookmarks", options, document),
      optionsOnly_(optionsOnly) {
  BindFlag(kStopWords, &flags_, kStopWordsBit);
  BindFlag(kDuplicates, &flags_, kDuplicatesBit);
  OnControlEvent(u"btn.editStopWords", [this] {
    auto dialog =
        zelta::MakeCom<StopWordsDialog>(Plugin(), CabItem(Options(), u"StopWordsData").Get());
    int32_t result = zelta::kDialogResultCancel;
    dialog->RunModal(Window(), &result);
  });
  OnControlEvent(u"cmd.agb.addTreeItem", [this] { AddLevel(); });
  OnControlEvent(u"cmd.agb.editTreeItem", [this] { EditLevel(); });
  OnControlEvent(u"cmd.agb.removeTreeItem", [this] { RemoveLevel(); });
}

void AGBDialog::OnInit() {
  if (!optionsOnly_) {
    open_ = this;
    Subscribe(true);
  }
  if (Dialog() && Plugin()) {
    const auto settings = Plugin()->SettingsRoot();
    const std::u16string path = Plugin()->PresetListPath(kPresetsItem);
    const std::u16string current = CabText(Options(), u"PresetID", u"");
    if (auto presets = CabItem(settings.Get(), kPresetsItem.data()))
      Dialog()->AttachPresets(presets.Get(), path.c_str(), Options(), current.c_str());
  }
  shownPreset_ = CurrentPreset();
  Load();
}

void AGBDialog::Subscribe(bool on) {
  zelta::IHostApp* app = Plugin() ? Plugin()->App() : nullptr;
  ComPtr<zelta::IEventServer> server;
  if (!app || app->GetEventServer(server.Put()) != zelta::S_OK || !server) return;
  if (on) events_ = zelta::MakeCom<Events>(this);
  if (!events_) return;
  for (const char16_t* event : kEvents) {
    const zelta::Atom atom = AtomOf(event);
    if (atom == zelta::kNoAtom) continue;
    if (on)
      server->Subscribe(atom, events_.Get(), 0);
    else
      server->Unsubscribe(atom, events_.Get());
  }
  if (!on) {
    events_->Drop();
    events_.Reset();
  }
}

void AGBDialog::OnDestroy() {
  Subscribe(false);
  if (open_ == this) open_ = nullptr;
}

void AGBDialog::Load() {
  zelta::ICabItem* options = Options();
  flags_ = CabInt(options, u"Flags", 0);
  GenerationOptions read;
  const auto colors = HostColors(Plugin() ? Plugin()->App() : nullptr);
  // Levels that do not read (a colour that names none) are shown with their defaults.
  if (zelta::Failed(ReadGenerationOptions(options, colors.Get(), &read, nullptr))) {
    read.levels.clear();
    const auto levels = CabItem(options, u"Levels");
    int32_t count = 0;
    if (levels) levels->GetCount(&count);
    for (int32_t i = 0; i < count; ++i) {
      ComPtr<zelta::ICabItem> item;
      LevelOptions level;
      if (levels->GetItemAt(i, item.Put()) == zelta::S_OK)
        ReadLevel(item.Get(), colors.Get(), &level, nullptr);
      read.levels.push_back(level);
    }
  }
  levels_ = std::move(read.levels);
  if (Dialog()) Dialog()->LoadPageRange(CabItem(options, u"PagesRange").Get(), Document());
  ShowLevels(-1);
  Refresh();
}

void AGBDialog::OnControl(zelta::IDialogControl* sender) {
  if (!sender) {
    // The host changed the dialog as a whole: a preset taken, or the page range edited.
    const std::u16string preset = CurrentPreset();
    if (preset != shownPreset_) {
      shownPreset_ = preset;
      Load();
    } else if (Dialog()) {
      // A usable range is kept in the options at once, so that a preset saved now holds it.
      Dialog()->StorePageRange(CabItem(Options(), u"PagesRange").Get());
    }
  }
  DialogBase::OnControl(sender);
}

void AGBDialog::OnItemActivated(zelta::IDialogControl* sender, intptr_t item) {
  zelta::OwnedString id;
  if (sender) sender->GetId(id.Put());
  if (id.View() != kTree) return;
  if (auto tree = Control(kTree)) tree->SelectTreeItem(static_cast<int32_t>(item));
  EditLevel();
  Refresh();
}

void AGBDialog::Refresh() {
  if (Options()) Options()->SetInt(u"Flags", flags_);
  SetChecked(kStopWords, flags_ & kStopWordsBit);
  SetChecked(kDuplicates, flags_ & kDuplicatesBit);
  Enable(u"btn.editStopWords", flags_ & kStopWordsBit);
  const bool selected = SelectedLevel() >= 0;
  Enable(u"cmd.agb.editTreeItem", selected);
  Enable(u"cmd.agb.removeTreeItem", selected);
  zelta::OwnedString reason;
  const bool rangeOk = !Dialog() || Dialog()->GetPageRangeError(reason.Put()) == zelta::S_OK;
  Enable(u"btn.ok", !levels_.empty() && rangeOk);
}

std::u16string AGBDialog::ItemText(const LevelOptions& level) const {
  std::vector<std::u16string> lines;
  const LevelDescription& d = level.description;
  if (level.Uses(kLevelMatchFontNames) && !d.fontNames.empty()) {
    std::u16string names;
    for (const auto& name : d.fontNames) names += (names.empty() ? u"" : u", ") + name;
    lines.push_back(LoadString(u"bookmarksPlugin.bld.chb.fontNames") + u" " + names);
  }
  if (level.Uses(kLevelMatchSize))
    lines.push_back(LoadString(u"bookmarksPlugin.tree.fontSize") + u" " + Points(d.fontSize) +
                    u" \u00B1 " + Points(d.fontTolerance));
  if (level.Uses(kLevelMatchColor))
    lines.push_back(LoadString(u"bookmarksPlugin.tree.fontColor") + u" " + ColorText(d.color));
  if (level.Uses(kLevelMatchPattern))
    lines.push_back(LoadString(u"bookmarksPlugin.tree.textPattern") + u" " + d.textPattern);
  // A level without any of these still needs a visible item.
  if (lines.empty())
    lines.push_back(LoadString(u"bookmarksPlugin.tree.level") + u" " +
                    NumberText(static_cast<uint64_t>(std::max(level.index, 0))));
  std::u16string text;
  for (const auto& line : lines) text += (text.empty() ? u"" : u"\n") + line;
  return text;
}

void AGBDialog::ShowLevels(int32_t select) {
  auto tree = Control(kTree);
  if (!tree) return;
  // Removing the top item takes the whole chain with it.
  if (!treeItems_.empty()) tree->RemoveTreeItem(treeItems_.front());
  treeItems_.clear();
  int32_t parent = zelta::kTreeRoot;
  for (const LevelOptions& level : levels_) {
    const std::u16string text = ItemText(level);
    int32_t item = 0;
    tree->InsertTreeItem(parent, -1, text.c_str(), static_cast<int32_t>(text.size()), &item);
    treeItems_.push_back(item);
    parent = item;
  }
  if (select >= 0 && select < static_cast<int32_t>(treeItems_.size()))
    tree->SelectTreeItem(treeItems_[select]);
}

int32_t AGBDialog::SelectedLevel() {
  auto tree = Control(kTree);
  int32_t item = 0;
  if (!tree || tree->GetSelectedTreeItem(&item) != zelta::S_OK) return -1;
  auto at = std::find(treeItems_.begin(), treeItems_.end(), item);
  return at == treeItems_.end() ? -1 : static_cast<int32_t>(at - treeItems_.begin());
}

void AGBDialog::LevelsChanged(int32_t select, bool renumber) {
  if (renumber)
    for (size_t i = 0; i < levels_.size(); ++i) levels_[i].index = static_cast<int32_t>(i) + 1;
  if (const auto levels = CabItem(Options(), u"Levels")) {
    // The new list is complete before it replaces the old one.
    levels->Clear();
    for (const LevelOptions& level : levels_) {
      ComPtr<zelta::ICabItem> item;
      if (zelta::Succeeded(levels->Insert(-1, item.Put())) && item) WriteLevel(item.Get(), level);
    }
  }
  ShowLevels(select);
}

void AGBDialog::AddLevel() {
  LevelOptions level;
  if (RunLevelSheet(Plugin(), Window(), Document(), &level, false) != zelta::S_OK) return;
  // Below the selected level (its former children move below the new one), or the deepest.
  const int32_t selected = SelectedLevel();
  const int32_t at = selected >= 0 ? selected + 1 : static_cast<int32_t>(levels_.size());
  levels_.insert(levels_.begin() + at, std::move(level));
  LevelsChanged(at, true);
}

void AGBDialog::AddDeepestLevel(LevelOptions level) {
  level.index = static_cast<int32_t>(levels_.size()) + 1;
  levels_.push_back(std::move(level));
  LevelsChanged(static_cast<int32_t>(levels_.size()) - 1, false);
  Refresh();
}

void AGBDialog::EditLevel() {
  const int32_t selected = SelectedLevel();
  if (selected < 0) return;
  if (RunLevelSheet(Plugin(), Window(), Document(), &levels_[selected], false) != zelta::S_OK)
    return;
  LevelsChanged(selected, false);
}

void AGBDialog::RemoveLevel() {
  const int32_t selected = SelectedLevel();
  if (selected < 0) return;
  levels_.erase(levels_.begin() + selected);
  LevelsChanged(-1, true);
}

std::u16string AGBDialog::CurrentPreset() {
  zelta::OwnedString preset;
  if (Dialog()) Dialog()->GetCurrentPreset(preset.Put());
  return preset.Str();
}

void AGBDialog::OnHostEvent(zelta::Atom event, zelta::IUnknown* object) {
  if (!Dialog()) return;
  if (event == AtomOf(u"e.bookmarksPlugin.addAGBLevel")) {
    LevelOptions level;
    const auto stored =
        Plugin() ? CabItem(Plugin()->SettingsRoot().Get(), u"AGBAddLevelLastUsedOptions") : nullptr;
    if (stored && zelta::Succeeded(
                      ReadLevel(stored.Get(), HostColors(Plugin()->App()).Get(), &level, nullptr)))
      AddDeepestLevel(std::move(level));
  } else if (event == AtomOf(u"e.mainFrame.closed")) {
    End(zelta::kDialogResultCancel);
  } else if (event == AtomOf(u"e.activeDocChanged")) {
    // The event's object is the new active document, or the application when none is left.
    SetDocument(zelta::QueryAs<zelta::IHostDocument>(object).Get());
    Dialog()->LoadPageRange(CabItem(Options(), u"PagesRange").Get(), Document());
    Refresh();
  }
}

bool AGBDialog::Store() {
  zelta::ICabItem* options = Options();
  if (!options || !Dialog()) return false;
  if (zelta::Failed(Dialog()->StorePageRange(CabItem(options, u"PagesRange").Get()))) return false;
  LevelsChanged(SelectedLevel(), false);
  options->SetInt(u"Flags", flags_);
  const std::u16string preset = CurrentPreset();
  options->SetText(u"PresetID", preset.c_str(), static_cast<int32_t>(preset.size()));
  return true;
}

int32_t AGBDialog::OnOk() {
  if (levels_.empty() || !Store()) return 0;
  if (Plugin())
    if (auto stored = CabItem(Plugin()->SettingsRoot().Get(), u"AGBLastUsedOptions"))
      stored->CopyFrom(Options());
  if (!optionsOnly_ && Document()) {
    if (auto run = Plugin()->CreateOperation(kGenerationOperationId)) run->ExecuteOn(Document(), 0);
  }
  End(zelta::kDialogResultOk);
  return 0;
}

}  // namespace bm
