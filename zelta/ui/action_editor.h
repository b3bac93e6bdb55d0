// The host's action editor: the actions of a bookmark as a list the user shortens and adds
// go-to-page, web link, file and JavaScript actions to. The user's work is kept aside and
// written into the action list only at OK.
#pragma once

#include <vector>

#include "host/action.h"
#include "host/document.h"
#include "zelta/ui/editor_handler.h"

namespace zelta::ui {

class ActionEditor : public EditorHandler {
 public:
  // The kinds of action the user can add, in the order of the kind combo.
  enum Kind : int32_t { kGoToPage, kWebLink, kFile, kScript };

  ActionEditor(DialogEngine& engine, IHostActionList* actions, IHostDocument* document);

 protected:
  void OnInit() override;
  void OnControl(DialogControl* sender) override;
  bool OnOk() override;

 private:
  // An action of the list as it was, or one the user added (kind and target).
  struct Entry {
    ComPtr<IHostAction> kept;
    int32_t kind = kGoToPage;
    std::u16string target;
  };

  void Add();
  void Remove();
  void ShowEntries();
  std::u16string Describe(const Entry& entry) const;
  // Replaces the list's actions by these entries; false when the list refused one.
  bool WriteList(const std::vector<Entry>& entries);

  ComPtr<IHostActionList> actions_;
  ComPtr<IHostDocument> document_;
  std::vector<Entry> original_, entries_;
};

}  // namespace zelta::ui
