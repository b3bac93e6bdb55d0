#include "zelta/pdf/outline/outline_pdftk_export.h"

#include "zelta/pdf/outline/outline_dump.h"

namespace zelta::pdf {

std::string PdftkEscape(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF)
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    switch (c) {
      case u'&':
        out += "&amp;";
        break;
      case u'<':
        out += "&lt;";
        break;
      case u'>':
        out += "&gt;";
        break;
      case u'"':
        out += "&quot;";
        break;
      case u'\'':
        out += "&apos;";
        break;
      default:
        if (c >= 0x20 && c < 0x7F)
          out.push_back(static_cast<char>(c));
        else
          out += "&#" + std::to_string(static_cast<uint32_t>(c)) + ";";
    }
  }
  return out;
}

std::string OutlineToPdftkData(IHostDocument* document, size_t* dropped) {
  std::string out;
  *dropped = 0;
  WalkOutline(
      document,
      [&](IHostBookmark* bookmark, size_t depth) {
        OwnedString title;
        bookmark->GetTitle(title.Put());
        const int32_t page = TargetPageOf(bookmark);
        out += "BookmarkBegin\nBookmarkTitle: " + PdftkEscape(title.View()) +
               "\nBookmarkLevel: " + std::to_string(depth + 1) +
               "\nBookmarkPageNumber: " + std::to_string(page + 1) + "\n";
        int32_t style = 0, count = 0;
        uint32_t color = 0;
        ComPtr<IHostActionList> actions;
        bookmark->GetStyle(&style);
        if (Succeeded(bookmark->GetActions(actions.Put())) && actions) actions->GetCount(&count);
        if (style != 0 || bookmark->GetColor(&color) == S_OK || count > 1 ||
            (count == 1 && page < 0))
          ++*dropped;
      },
      [](IHostBookmark*, bool) {});
  return out;
}

}  // namespace zelta::pdf
