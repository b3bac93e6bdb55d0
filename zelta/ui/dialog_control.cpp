#include "zelta/ui/dialog_control.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "zelta/base/text_codec.h"
#include "zelta/ui/dialog.h"

namespace zelta::ui {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

// A plain decimal number: optional sign, digits, optional fraction and exponent. Anything
// else (a unit, a second number, an empty text) is not a number.
std::optional<double> ParseNumber(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  if (text.empty() || text.size() > 64) return std::nullopt;
  std::string ascii;
  for (char16_t c : text) {
    if (c > 0x7F) return std::nullopt;
    ascii += static_cast<char>(c == u',' ? '.' : c);
  }
  const char* begin = ascii.data();
  if (*begin == '+') ++begin;
  double value = 0;
  const auto [end, ec] = std::from_chars(begin, ascii.data() + ascii.size(), value);
  if (ec != std::errc() || end != ascii.data() + ascii.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

// A number as an edit shows it: at most four decimals, without trailing zeros.
std::u16string NumberText(double value) {
  char buffer[64];
  const std::to_chars_result result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 4);
  std::string text(buffer, result.ptr);
  if (text.find('.') != std::string::npos) {
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
  }
  if (text == "-0") text = "0";
  return std::u16string(text.begin(), text.end());
}

}  // namespace

DialogControl::DialogControl(Dialog* dialog, const LayoutControl& layout, std::u16string text)
    : dialog_(dialog),
      layout_(layout),
      text_(std::move(text)),
      state_(layout.state),
      visible_(layout.visible) {
  if (HasEntries()) state_ = -1;
}

HRESULT DialogControl::GetId(BString* id) { return ReturnString(layout_.id, id); }

HRESULT DialogControl::GetKind(int32_t* kind) {
  if (!kind) return E_POINTER;
  *kind = layout_.kind;
  return S_OK;
}

HRESULT DialogControl::GetText(BString* text) {
  if (!text) return E_POINTER;
  *text = nullptr;
  if (!Alive()) return E_FAIL;
  return ReturnString(text_, text);
}

HRESULT DialogControl::SetText(const char16_t* text, int32_t length) {
  if (!Alive()) return E_FAIL;
  if (length < -1) return E_INVALIDARG;
  text_ = InString(text, length);
  return S_OK;
}

HRESULT DialogControl::GetState(int32_t* state) {
  if (!state) return E_POINTER;
  if (!Alive()) return E_FAIL;
  *state = state_;
  return S_OK;
}

HRESULT DialogControl::SetState(int32_t state) {
  if (!Alive()) return E_FAIL;
  if (HasEntries()) {
    if (state < -1 || state >= static_cast<int32_t>(entries_.size())) return E_INVALIDARG;
    if (Kind() == kControlList && state >= 0) entries_[state].selected = true;
  }
  state_ = state;
  if (Kind() == kControlCombo) text_ = state >= 0 ? entries_[state].text : std::u16string();
  if (Kind() == kControlRadio && state) dialog_->ClearRadioGroup(this);
  return S_OK;
}

HRESULT DialogControl::IsEnabled(bool* enabled) {
  if (!enabled) return E_POINTER;
  if (!Alive()) return E_FAIL;
  *enabled = enabled_;
  return S_OK;
}

HRESULT DialogControl::Enable(bool enabled) {
  if (!Alive()) return E_FAIL;
  enabled_ = enabled;
  return S_OK;
}

HRESULT DialogControl::IsVisible(bool* visible) {
  if (!visible) return E_POINTER;
  if (!Alive()) return E_FAIL;
  *visible = visible_;
  return S_OK;
}

HRESULT DialogControl::Show(bool visible) {
  if (!Alive()) return E_FAIL;
  visible_ = visible;
  return S_OK;
}

HRESULT DialogControl::SetRange(double min, double max, double step) {
  if (!Alive()) return E_FAIL;
  if (!(min <= max) || !(step >= 0)) return E_INVALIDARG;
  range_ = Range{min, max, step};
  return S_OK;
}

HRESULT DialogControl::GetNumber(double* value) {
  if (!value) return E_POINTER;
  *value = 0;
  if (!Alive()) return E_FAIL;
  // A number shown and not edited since reads back exactly, not as its rounded text.
  const std::optional<double> number = Kind() == kControlProgress ? std::optional<double>(state_)
                                       : shownNumber_ && text_ == shownText_ ? shownNumber_
                                                                             : ParseNumber(text_);
  if (!number) return E_INVALIDARG;
  if (range_ && (*number < range_->min || *number > range_->max)) return E_INVALIDARG;
  *value = *number;
  return S_OK;
}

HRESULT DialogControl::SetNumber(double value) {
  if (!Alive()) return E_FAIL;
  if (!std::isfinite(value)) return E_INVALIDARG;
  if (range_) value = std::clamp(value, range_->min, range_->max);
  if (Kind() == kControlProgress)
    state_ = static_cast<int32_t>(value);
  else {
    text_ = shownText_ = NumberText(value);
    shownNumber_ = value;
  }
  return S_OK;
}

HRESULT DialogControl::GetItemCount(int32_t* count) {
  if (!count) return E_POINTER;
  *count = 0;
  if (!Alive()) return E_FAIL;
  if (!HasEntries()) return E_INVALIDARG;
  *count = static_cast<int32_t>(entries_.size());
  return S_OK;
}

HRESULT DialogControl::GetItemText(int32_t index, BString* text) {
  if (!text) return E_POINTER;
  *text = nullptr;
  if (!Alive()) return E_FAIL;
  if (!HasEntries() || index < 0 || index >= static_cast<int32_t>(entries_.size()))
    return E_INVALIDARG;
  return ReturnString(entries_[index].text, text);
}

HRESULT DialogControl::InsertItem(int32_t index, const char16_t* text, int32_t length,
                                  int32_t* at) {
  if (at) *at = -1;
  if (!Alive()) return E_FAIL;
  const auto size = static_cast<int32_t>(entries_.size());
  if (!HasEntries() || length < -1 || index < -1 || index > size) return E_INVALIDARG;
  if (index == -1) index = size;
  entries_.insert(entries_.begin() + index, Entry{std::u16string(InString(text, length))});
  if (state_ >= index) ++state_;
  if (at) *at = index;
  return S_OK;
}

HRESULT DialogControl::SetItemText(int32_t index, const char16_t* text, int32_t length) {
  if (!Alive()) return E_FAIL;
  if (!HasEntries() || length < -1 || index < 0 || index >= static_cast<int32_t>(entries_.size()))
    return E_INVALIDARG;
  entries_[index].text = InString(text, length);
  if (Kind() == kControlCombo && index == state_) text_ = entries_[index].text;
  return S_OK;
}

HRESULT DialogControl::RemoveItem(int32_t index) {
  if (!Alive()) return E_FAIL;
  if (!HasEntries() || index < 0 || index >= static_cast<int32_t>(entries_.size()))
    return E_INVALIDARG;
  entries_.erase(entries_.begin() + index);
  if (state_ == index)
    state_ = -1;
  else if (state_ > index)
    --state_;
  return S_OK;
}

HRESULT DialogControl::ClearItems() {
  if (!Alive()) return E_FAIL;
  if (!HasEntries()) return E_INVALIDARG;
  entries_.clear();
  state_ = -1;
  return S_OK;
}

HRESULT DialogControl::IsItemSelected(int32_t index, bool* selected) {
  if (!selected) return E_POINTER;
  *selected = false;
  if (!Alive()) return E_FAIL;
  if (!HasEntries() || index < 0 || index >= static_cast<int32_t>(entries_.size()))
    return E_INVALIDARG;
  *selected = Kind() == kControlCombo ? index == state_ : entries_[index].selected;
  return S_OK;
}

HRESULT DialogControl::SelectItem(int32_t index, bool selected) {
  if (!Alive()) return E_FAIL;
  if (!HasEntries() || index < 0 || index >= static_cast<int32_t>(entries_.size()))
    return E_INVALIDARG;
  if (Kind() == kControlCombo) return selected ? SetState(index) : S_OK;
  entries_[index].selected = selected;
  return S_OK;
}

const std::vector<int32_t>& DialogControl::TreeChildren(int32_t item) const {
  static const std::vector<int32_t> kNone;
  if (item == kTreeRoot) {
    auto root = tree_.find(kTreeRoot);
    return root == tree_.end() ? kNone : root->second.children;
  }
  auto found = tree_.find(item);
  return found == tree_.end() ? kNone : found->second.children;
}

const std::u16string* DialogControl::TreeText(int32_t item) const {
  auto found = tree_.find(item);
  return item != kTreeRoot && found != tree_.end() ? &found->second.text : nullptr;
}

HRESULT DialogControl::InsertTreeItem(int32_t parent, int32_t after, const char16_t* text,
                                      int32_t length, int32_t* item) {
  if (item) *item = 0;
  if (!Alive()) return E_FAIL;
  if (Kind() != kControlTree || length < -1) return E_INVALIDARG;
  if (parent != kTreeRoot && !tree_.count(parent)) return E_INVALIDARG;
  std::vector<int32_t>& siblings = tree_[parent].children;
  auto position = siblings.end();
  if (after == 0) {
    position = siblings.begin();
  } else if (after != -1) {
    position = std::find(siblings.begin(), siblings.end(), after);
    if (position == siblings.end()) return E_INVALIDARG;
    ++position;
  }
  const int32_t handle = nextTreeItem_++;
  siblings.insert(position, handle);
  tree_[handle] = TreeItem{parent, std::u16string(InString(text, length)), {}};
  if (item) *item = handle;
  return S_OK;
}

void DialogControl::RemoveTreeSubtree(int32_t item) {
  std::vector<int32_t> pending{item};
  while (!pending.empty()) {
    const int32_t next = pending.back();
    pending.pop_back();
    auto found = tree_.find(next);
    if (found == tree_.end()) continue;
    pending.insert(pending.end(), found->second.children.begin(), found->second.children.end());
    if (selectedTreeItem_ == next) selectedTreeItem_ = 0;
    tree_.erase(found);
  }
}

HRESULT DialogControl::RemoveTreeItem(int32_t item) {
  if (!Alive()) return E_FAIL;
  if (Kind() != kControlTree || item == kTreeRoot || !tree_.count(item)) return E_INVALIDARG;
  auto& siblings = tree_[tree_[item].parent].children;
  siblings.erase(std::find(siblings.begin(), siblings.end(), item));
  RemoveTreeSubtree(item);
  return S_OK;
}

HRESULT DialogControl::GetTreeItemText(int32_t item, BString* text) {
  if (!text) return E_POINTER;
  *text = nullptr;
  if (!Alive()) return E_FAIL;
  const std::u16string* found = TreeText(item);
  if (Kind() != kControlTree || !found) return E_INVALIDARG;
  return ReturnString(*found, text);
}

HRESULT DialogControl::SetTreeItemText(int32_t item, const char16_t* text, int32_t length) {
  if (!Alive()) return E_FAIL;
  if (Kind() != kControlTree || item == kTreeRoot || !tree_.count(item) || length < -1)
    return E_INVALIDARG;
  tree_[item].text = InString(text, length);
  return S_OK;
}

HRESULT DialogControl::GetTreeItem(int32_t item, int32_t relation, int32_t* related) {
  if (!related) return E_POINTER;
  *related = 0;
  if (!Alive()) return E_FAIL;
  if (Kind() != kControlTree || (item != kTreeRoot && !tree_.count(item))) return E_INVALIDARG;
  switch (relation) {
    case kTreeParent:
      if (item != kTreeRoot) *related = tree_[item].parent;
      break;
    case kTreeFirstChild:
      if (const auto& children = TreeChildren(item); !children.empty()) *related = children[0];
      break;
    case kTreeNextSibling: {
      if (item == kTreeRoot) break;
      const auto& siblings = TreeChildren(tree_[item].parent);
      auto position = std::find(siblings.begin(), siblings.end(), item);
      if (position != siblings.end() && ++position != siblings.end()) *related = *position;
      break;
    }
    default:
      return E_INVALIDARG;
  }
  return *related ? S_OK : S_FALSE;
}

HRESULT DialogControl::GetSelectedTreeItem(int32_t* item) {
  if (!item) return E_POINTER;
  *item = 0;
  if (!Alive()) return E_FAIL;
  if (Kind() != kControlTree) return E_INVALIDARG;
  *item = selectedTreeItem_;
  return selectedTreeItem_ ? S_OK : S_FALSE;
}

HRESULT DialogControl::SelectTreeItem(int32_t item) {
  if (!Alive()) return E_FAIL;
  if (Kind() != kControlTree || (item != kTreeRoot && !tree_.count(item))) return E_INVALIDARG;
  selectedTreeItem_ = item;
  return S_OK;
}

}  // namespace zelta::ui
