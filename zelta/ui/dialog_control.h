// One control of a dialog in the host's toolkit-free model: what a renderer draws and what a
// script drives. It holds the control's layout, text, state, enabled and visible flags, the
// numeric range of a number edit or progress bar, the entries of a combo or list and the items
// of a tree.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "host/dialogs.h"
#include "zelta/ui/dialog_layout.h"

namespace zelta::ui {

class Dialog;

class DialogControl : public ComObject<IDialogControl> {
 public:
  struct Entry {
    std::u16string text;
    bool selected = false;
  };
  struct TreeItem {
    int32_t parent = kTreeRoot;
    std::u16string text;
    std::vector<int32_t> children;
  };
  struct Range {
    double min = 0, max = 0, step = 0;
  };

  // text is the layout's text reference already resolved.
  DialogControl(Dialog* dialog, const LayoutControl& layout, std::u16string text);

  // IDialogControl
  HRESULT GetId(BString* id) override;
  HRESULT GetKind(int32_t* kind) override;
  HRESULT GetText(BString* text) override;
  HRESULT SetText(const char16_t* text, int32_t length) override;
  HRESULT GetState(int32_t* state) override;
  HRESULT SetState(int32_t state) override;
  HRESULT IsEnabled(bool* enabled) override;
  HRESULT Enable(bool enabled) override;
  HRESULT IsVisible(bool* visible) override;
  HRESULT Show(bool visible) override;
  HRESULT SetRange(double min, double max, double step) override;
  HRESULT GetNumber(double* value) override;
  HRESULT SetNumber(double value) override;
  HRESULT GetItemCount(int32_t* count) override;
  HRESULT GetItemText(int32_t index, BString* text) override;
  HRESULT InsertItem(int32_t index, const char16_t* text, int32_t length, int32_t* at) override;
  HRESULT SetItemText(int32_t index, const char16_t* text, int32_t length) override;
  HRESULT RemoveItem(int32_t index) override;
  HRESULT ClearItems() override;
  HRESULT IsItemSelected(int32_t index, bool* selected) override;
  HRESULT SelectItem(int32_t index, bool selected) override;
  HRESULT InsertTreeItem(int32_t parent, int32_t after, const char16_t* text, int32_t length,
                         int32_t* item) override;
  HRESULT RemoveTreeItem(int32_t item) override;
  HRESULT GetTreeItemText(int32_t item, BString* text) override;
  HRESULT SetTreeItemText(int32_t item, const char16_t* text, int32_t length) override;
  HRESULT GetTreeItem(int32_t item, int32_t relation, int32_t* related) override;
  HRESULT GetSelectedTreeItem(int32_t* item) override;
  HRESULT SelectTreeItem(int32_t item) override;

  // The model, for renderers and the driver.
  const LayoutControl& Layout() const { return layout_; }
  const std::u16string& Id() const { return layout_.id; }
  DialogControlKind Kind() const { return layout_.kind; }
  const std::u16string& Text() const { return text_; }
  int32_t State() const { return state_; }
  bool Enabled() const { return enabled_; }
  bool Visible() const { return visible_; }
  const std::optional<Range>& NumberRange() const { return range_; }
  const std::vector<Entry>& Entries() const { return entries_; }
  // Tree items by handle; the root's children are the top-level items.
  const std::vector<int32_t>& TreeChildren(int32_t item) const;
  const std::u16string* TreeText(int32_t item) const;
  int32_t SelectedTreeItem() const { return selectedTreeItem_; }
  bool HasEntries() const { return Kind() == kControlCombo || Kind() == kControlList; }

  // The dialog the control belongs to (null once it is gone).
  Dialog* Owner() const { return dialog_; }
  // Sets the state without touching the other radios (the dialog keeps the group).
  void SetStateRaw(int32_t state) { state_ = state; }
  // The dialog is gone: every call fails from now on.
  void Detach() { dialog_ = nullptr; }

 private:
  bool Alive() const { return dialog_ != nullptr; }
  void RemoveTreeSubtree(int32_t item);

  Dialog* dialog_;
  LayoutControl layout_;
  std::u16string text_;
  int32_t state_;
  bool enabled_ = true;
  bool visible_;
  std::optional<Range> range_;
  // The value SetNumber showed (rounded in text_), for GetNumber while the text is unchanged.
  std::optional<double> shownNumber_;
  std::u16string shownText_;
  std::vector<Entry> entries_;
  std::map<int32_t, TreeItem> tree_;
  int32_t nextTreeItem_ = 1;
  int32_t selectedTreeItem_ = 0;
};

}  // namespace zelta::ui
