#include "tools/title/regex_error_text.h"

#include "framework/host_strings.h"

namespace bm {

std::u16string_view RegexErrorTextId(int code) {
  switch (code) {
    case 0:
      return u"bookmarksPlugin.regex.error.collate";
    case 1:
      return u"bookmarksPlugin.regex.error.ctype";
    case 2:
      return u"bookmarksPlugin.regex.error.escape";
    case 3:
      return u"bookmarksPlugin.regex.error.backref";
    case 4:
      return u"bookmarksPlugin.regex.error.brack";
    case 5:
      return u"bookmarksPlugin.regex.error.paren";
    case 6:
      return u"bookmarksPlugin.regex.error.brace";
    case 7:
      return u"bookmarksPlugin.regex.error.badbrace";
    case 8:
      return u"bookmarksPlugin.regex.error.range";
    case 9:
      return u"bookmarksPlugin.regex.error.space";
    case 10:
      return u"bookmarksPlugin.regex.error.badrepeat";
    case 11:
      return u"bookmarksPlugin.regex.error.complexity";
    case 12:
      return u"bookmarksPlugin.regex.error.stack";
    case 14:
      return u"bookmarksPlugin.regex.error.syntax";
    default:
      return u"bookmarksPlugin.regex.error.default";
  }
}

std::u16string RegexErrorText(zelta::IHostApp* app, int code) {
  return LoadHostString(app, RegexErrorTextId(code));
}

}  // namespace bm
