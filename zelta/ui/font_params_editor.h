// The host's font-parameter editor: font name, size, colour, underline and strike-out of a
// font-parameter dictionary, and its indent when it has one. The dictionary is written only
// at OK, so a cancelled edit leaves it as it was.
#pragma once

#include <functional>

#include "host/cab.h"
#include "zelta/ui/editor_handler.h"

namespace zelta::ui {

class FontParamsEditor : public EditorHandler {
 public:
  // Whether a colour text is one the host reads.
  using ColorCheck = std::function<bool(std::u16string_view text)>;

  FontParamsEditor(DialogEngine& engine, ICabItem* params, ColorCheck colorCheck);

 protected:
  void OnInit() override;
  bool OnOk() override;

 private:
  ComPtr<ICabItem> params_;
  ColorCheck colorCheck_;
  bool hasIndent_ = false;
};

}  // namespace zelta::ui
