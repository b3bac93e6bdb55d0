#include "tools/create/bft_dialog.h"

#include "framework/cab_access.h"

namespace bm {

namespace {

constexpr std::u16string_view kFile = u"bft.e.fileName";
constexpr std::u16string_view kSeparator = u"bft.e.separator";
constexpr std::u16string_view kActionSeparator = u"bft.e.actionSeparator";
// An owner-modal OK box with the warning icon.
constexpr uint32_t kWarningStyle = 0x80000301;

}  // namespace

BFTDialog::BFTDialog(PluginContext* plugin, zelta::ICabItem* options,
                     zelta::IHostDocument* document)
    : DialogBase(plugin, u"DlgFromTextFile", options, document) {
  OnControlEvent(u"bft.b.fileName", [this] {
    if (!Dialog()) return;
    const std::u16string filter = LoadString(u"FilesFilter.TXT") + u" (*.txt)|*.txt||";
    zelta::OwnedString path;
    if (Dialog()->ChooseFile(filter.c_str(), path.Put()) == zelta::S_OK)
      SetText(kFile, path.View());
  });
}

void BFTDialog::OnInit() {
  SetText(kFile, CabText(Options(), u"FileName", u""));
  SetText(kSeparator,
          std::u16string(1, static_cast<char16_t>(CabInt(Options(), u"Separator", u';'))));
  SetText(kActionSeparator,
          std::u16string(1, static_cast<char16_t>(CabInt(Options(), u"ActionSeparator", u','))));
  Refresh();
}

void BFTDialog::Refresh() { Enable(u"btn.ok", !Text(kFile).empty()); }

bool BFTDialog::Store() {
  zelta::ICabItem* options = Options();
  const std::u16string file = Text(kFile);
  if (!options || file.empty()) return false;
  // An empty delimiter edit leaves its option as it was.
  const std::u16string separator = Text(kSeparator), action = Text(kActionSeparator);
  const int32_t field = separator.empty() ? CabInt(options, u"Separator", u';') : separator[0];
  const int32_t parameters = action.empty() ? CabInt(options, u"ActionSeparator", u',') : action[0];
  if (field == parameters) {
    Message(u"bookmarksPlugin.msg.bft.warning", u"bookmarksPlugin.DlgFromTextFile", kWarningStyle);
    return false;
  }
  options->SetText(u"FileName", file.c_str(), static_cast<int32_t>(file.size()));
  options->SetInt(u"Separator", field);
  options->SetInt(u"ActionSeparator", parameters);
  return true;
}

}  // namespace bm
