#include "zelta/app/host_strings.h"

namespace zelta::app {

std::span<const HostString> HostStrings() {
  static constexpr HostString kStrings[] = {
      {"btn.ok", u"OK"},
      {"btn.cancel", u"Cancel"},
      {"btn.close", u"Close"},
      {"btn.yes", u"Yes"},
      {"btn.no", u"No"},
      {"btn.browse", u"Browse..."},
      {"btn.presets", u"Presets"},
      {"PageRange.Caption", u"Page Range"},
      {"PageRange.All", u"All Pages"},
      {"PageRange.Current", u"Current Page"},
      {"PageRange.Pages", u"Pages"},
      {"PageRange.Filter.All", u"All Pages in Range"},
      {"PageRange.Filter.Odd", u"Odd Pages Only"},
      {"PageRange.Filter.Even", u"Even Pages Only"},
      {"PageRange.Reversed", u"Reverse Order"},
      {"app.name", u"Zelta"},
      {"msg.caption", u"Zelta"},
      {"progress.caption", u"Working"},
      // The title given to a bookmark that has none.
      {"Untitled2", u"Untitled"},
      // Bars and menus.
      {"cmd.test", u"Tools"},
      {"cmd.advanced", u"Advanced"},
      {"menu.tool.selectText", u"Select Text"},
      // Host commands.
      {"cmd.document.open", u"Open..."},
      {"cmd.document.save", u"Save"},
      {"cmd.document.saveAs", u"Save As..."},
      {"cmd.document.close", u"Close"},
      {"cmd.tool.selectText", u"Select Text"},
      {"cmd.tool.search", u"Search..."},
      {"cmd.hresultInfo", u"Result Code Information..."},
      {"cmd.pages.insertEmpty", u"Insert Empty Pages..."},
      {"cmd.namedDests.show", u"Named Destinations..."},
      {"cmd.edit.copy", u"Copy"},
      {"cmd.edit.selectAll", u"Select All"},
      {"cmd.props", u"Properties..."},
      {"cmd.bookmarksView.new", u"New Bookmark"},
      // Macro menu entries the host owns.
      {"cmd.macro.date", u"Current Date"},
      {"cmd.macro.time", u"Current Time"},
      {"cmd.macro.docTitle", u"Document Title"},
      {"cmd.macro.page", u"Page Number"},
      {"cmd.macro.pages", u"Number of Pages"},
      {"cmd.macro.fileName", u"File Name"},
      {"cmd.macro.env", u"Environment Variable"},
  };
  return kStrings;
}

}  // namespace zelta::app
