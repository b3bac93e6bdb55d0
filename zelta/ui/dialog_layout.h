// One dialog of a layout resource, as the dialog engine and a renderer read it. Geometry is
// in dialog units: x grows to the right and y downwards from the dialog's top-left corner.
// The dialog is width x height units; when fixedArea is not 0 its bottom fixedArea units are
// the fixed area, which holds the controls marked fixed and does not scroll.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/dialogs.h"

namespace zelta::ui {

struct LayoutControl {
  DialogControlKind kind = kControlLabel;
  std::u16string id;
  int32_t x = 0, y = 0, width = 0, height = 0;
  // A text reference: "$$$.<string id>" or text shown as it stands.
  std::u16string text;
  uint32_t style = 0, scrollStyle = 0, drawTextFlags = 0;
  bool fixed = false;
  // Starts a new group of radio buttons (a radio without it joins the group before it).
  bool newGroup = false;
  bool tabStop = true;
  bool visible = true;
  int32_t state = 0;
  std::u16string icon, image, header, buddy;
};

struct DialogLayout {
  std::u16string id;
  std::u16string title;  // a text reference
  int32_t width = 0, height = 0;
  std::u16string font;
  double fontSize = 0;
  bool foreground = false;
  bool scrollable = false;
  int32_t fixedArea = 0;
  // The default button's control id; empty when the dialog has none.
  std::u16string defaultButton;
  // In tab order.
  std::vector<LayoutControl> controls;

  const LayoutControl* Find(std::u16string_view controlId) const;
};

}  // namespace zelta::ui
