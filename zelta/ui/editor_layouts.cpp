#include "zelta/ui/editor_layouts.h"

namespace zelta::ui {

std::string_view EditorLayouts() {
  static constexpr std::string_view kLayouts = R"(<?xml version="1.0" encoding="utf-8"?>
<dialogs product="zelta" version="1.0">
  <dialog id="HostFontParams" title="$$$.editor.font.title" width="300" height="156" font="Tahoma" fontSize="8.25" foreground="0" scrollable="false" contextHelp="false" defItem="btn.ok">
    <fixedArea size="40"/>
    <items>
      <label id="font.l.name" x="10" y="12" width="80" height="12" text="$$$.editor.font.name"/>
      <edit id="font.e.name" x="95" y="10" width="195" height="14"/>
      <label id="font.l.size" x="10" y="32" width="80" height="12" text="$$$.editor.font.size"/>
      <edit id="font.e.size" x="95" y="30" width="60" height="14"/>
      <label id="font.l.color" x="10" y="52" width="80" height="12" text="$$$.editor.font.color"/>
      <edit id="font.e.color" x="95" y="50" width="195" height="14"/>
      <check id="font.chb.underline" x="10" y="72" width="135" height="12" text="$$$.editor.font.underline"/>
      <check id="font.chb.strikeOut" x="155" y="72" width="135" height="12" text="$$$.editor.font.strikeOut"/>
      <label id="font.l.indent" x="10" y="94" width="80" height="12" text="$$$.editor.font.indent"/>
      <edit id="font.e.indent" x="95" y="92" width="60" height="14"/>
      <button id="btn.ok" x="140" y="125" width="70" height="22" text="$$$.btn.ok" fixed="true"/>
      <button id="btn.cancel" x="220" y="125" width="70" height="22" text="$$$.btn.cancel" fixed="true"/>
    </items>
  </dialog>
  <dialog id="HostActions" title="$$$.editor.actions.title" width="400" height="230" font="Tahoma" fontSize="8.25" foreground="0" scrollable="false" contextHelp="false" defItem="btn.ok">
    <fixedArea size="40"/>
    <items>
      <list id="act.list" x="10" y="10" width="300" height="110"/>
      <button id="act.btn.remove" x="320" y="10" width="70" height="22" text="$$$.btn.remove"/>
      <label id="act.l.type" x="10" y="132" width="60" height="12" text="$$$.editor.actions.type"/>
      <combo id="act.cb.type" x="75" y="130" width="235" height="14"/>
      <label id="act.l.target" x="10" y="152" width="60" height="12" text="$$$.editor.actions.target"/>
      <edit id="act.e.target" x="75" y="150" width="235" height="14"/>
      <button id="act.btn.add" x="320" y="146" width="70" height="22" text="$$$.bkm.Act.B.Add"/>
      <button id="btn.ok" x="240" y="199" width="70" height="22" text="$$$.btn.ok" fixed="true"/>
      <button id="btn.cancel" x="320" y="199" width="70" height="22" text="$$$.btn.cancel" fixed="true"/>
    </items>
  </dialog>
</dialogs>
)";
  return kLayouts;
}

}  // namespace zelta::ui
