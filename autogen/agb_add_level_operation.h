// The add-level variant of generation ("Use Selected Text Style in Bookmark Generation..."):
// appends the level kept in "AGBAddLevelLastUsedOptions" as the new deepest level of the
// generation options, and tells an open generation dialog about it.
#pragma once

#include "autogen/level_node.h"
#include "framework/bookmark_operation.h"

namespace bm {

class AGBAddLevelOperation : public BookmarkOperation {
 public:
  AGBAddLevelOperation(PluginContext* plugin, const OperationRow& row);

  zelta::HRESULT Run(int32_t flags, intptr_t extra) override;
  // The level's property sheet over the stored level, with the style of the text selection
  // taken as it opens; after OK the level is stored and the generation dialog shown (opened
  // when none is open). S_FALSE when the user did not confirm.
  zelta::HRESULT ShowDialog(zelta::WindowHandle owner, intptr_t extra) override;
  bool KeepOptions(zelta::HRESULT) const override { return true; }
  // The level comes from the selected text through the dialog; the stored one alone would
  // add the same level again on every run.
  zelta::HRESULT ExecuteWithStoredOptions(intptr_t) override { return zelta::E_NOTIMPL; }

 protected:
  zelta::HRESULT ReadInputs() override { return ReadDocumentInput(); }
  // "selection.text": the AGBLevel (a Cab item) that Style from selection makes from the Input
  // document's text selection, starting from the stored "AGBAddLevelLastUsedOptions"; nothing
  // without a document or a usable selection. This is how a host without the property sheet
  // shows the level a selection gives.
  zelta::HRESULT FindObject(zelta::Atom id, zelta::IUnknown** object) override;

 private:
  // The stored level of the add-level command (defaults when the settings have none).
  LevelOptions StoredLevel() const;
};

}  // namespace bm
