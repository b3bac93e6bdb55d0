#include "zelta/ui/font_params_editor.h"

namespace zelta::ui {

namespace {

// Sizes a page can show, and indents that stay on one.
constexpr double kMinSize = 1, kMaxSize = 1000, kMaxIndent = 9999;

std::u16string ItemText(ICabItem* item, const char16_t* name, const char16_t* def) {
  OwnedString text;
  item->GetText(name, def, text.Put());
  return text.Str();
}

void SetText(DialogControl* control, const std::u16string& text) {
  control->SetText(text.c_str(), static_cast<int32_t>(text.size()));
}

// Blanks at either end are not part of a name or a colour.
std::u16string Trimmed(const std::u16string& text) {
  constexpr std::u16string_view kBlanks = u" \t\r\n";
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::u16string::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace

FontParamsEditor::FontParamsEditor(DialogEngine& engine, ICabItem* params, ColorCheck colorCheck)
    : EditorHandler(engine), params_(params), colorCheck_(std::move(colorCheck)) {}

void FontParamsEditor::OnInit() {
  SetText(Control(u"font.e.name"), ItemText(params_.Get(), u"Name", u""));
  double size = 0, indent = 0;
  params_->GetDouble(u"Size", 10, &size);
  Control(u"font.e.size")->SetRange(kMinSize, kMaxSize, 1);
  Control(u"font.e.size")->SetNumber(size);
  SetText(Control(u"font.e.color"), ItemText(params_.Get(), u"FColor", u"Gray(0)"));
  for (auto [id, item] : {std::pair{u"font.chb.underline", u"Underline"},
                          std::pair{u"font.chb.strikeOut", u"StrikeOut"}}) {
    int32_t on = 0;
    params_->GetInt(item, 0, &on);
    Control(id)->SetState(on ? 1 : 0);
  }
  ComPtr<ICabItem> indentItem;
  hasIndent_ = params_->GetItem(u"Indent", indentItem.Put()) == S_OK;
  Control(u"font.l.indent")->Show(hasIndent_);
  Control(u"font.e.indent")->Show(hasIndent_);
  params_->GetDouble(u"Indent", 0, &indent);
  Control(u"font.e.indent")->SetRange(0, kMaxIndent, 1);
  Control(u"font.e.indent")->SetNumber(indent);
}

bool FontParamsEditor::OnOk() {
  const std::u16string name = Trimmed(Control(u"font.e.name")->Text());
  if (name.empty()) {
    Warn(Text(u"editor.font.noName"));
    return false;
  }
  const auto size = CheckedNumber(u"font.e.size");
  if (!size) return false;
  const std::u16string color = Trimmed(Control(u"font.e.color")->Text());
  if (colorCheck_ && !colorCheck_(color)) {
    Warn(Text(u"editor.font.badColor", color));
    return false;
  }
  std::optional<double> indent;
  if (hasIndent_ && !(indent = CheckedNumber(u"font.e.indent"))) return false;
  // Everything was checked before the first write, so the dictionary changes whole or not.
  params_->SetText(u"Name", name.c_str(), static_cast<int32_t>(name.size()));
  params_->SetDouble(u"Size", *size);
  params_->SetText(u"FColor", color.c_str(), static_cast<int32_t>(color.size()));
  params_->SetInt(u"Underline", Control(u"font.chb.underline")->State());
  params_->SetInt(u"StrikeOut", Control(u"font.chb.strikeOut")->State());
  if (indent) params_->SetDouble(u"Indent", *indent);
  return true;
}

}  // namespace zelta::ui
