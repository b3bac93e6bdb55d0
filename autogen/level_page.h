// A page of a level's property sheet: it edits the sheet's working copy of one level, which
// every page of the sheet shares; the sheet's caller copies it back after OK.
#pragma once

#include <optional>
#include <string>

#include "autogen/level_node.h"
#include "framework/color_text.h"
#include "framework/dialog_base.h"

namespace bm {

class LevelPage : public DialogBase {
 protected:
  LevelPage(PluginContext* plugin, std::u16string layoutId, zelta::IHostDocument* document,
            LevelOptions* level)
      : DialogBase(plugin, std::move(layoutId), nullptr, document), level_(level) {}

  // Asks for a colour as text, starting from the one shown; nothing when the user cancels or
  // types no colour (after a message that says so). The model has no colour picker: the
  // colour text of the options is what the user edits.
  std::optional<ParsedColor> AskColor(const std::u16string& current);

  LevelOptions* level_;
};

}  // namespace bm
