#include "tools/create/bft_operation.h"

#include <algorithm>

#include "framework/atom_table.h"
#include "framework/cab_access.h"
#include "framework/host_strings.h"
#include "framework/new_bookmarks.h"
#include "host/color.h"
#include "host/limits.h"
#include "platform/code_page.h"
#include "platform/file_bytes.h"
#include "platform/locale_text.h"
#include "tools/create/bookmark_text_decoder.h"
#include "tools/create/bookmark_text_parser.h"
#include "tools/create/bookmark_tree_builder.h"

namespace bm {

using zelta::ComPtr;
using zelta::HRESULT;

namespace {

constexpr std::u16string_view kLabelId = u"bookmarksPlugin.DlgFromTextFile";
constexpr std::u16string_view kProgressTitleId = u"bookmarksPlugin.progress.fromTextFile.title";
constexpr std::u16string_view kProgressTextId =
    u"bookmarksPlugin.progress.bookmarkEveryNthPage.text";
constexpr std::u16string_view kProgressStatusId =
    u"bookmarksPlugin.progress.bookmarkEveryNthPage.status";
constexpr char kColorComponent[] = "AUX";
constexpr int32_t kDefaultSeparator = u';';
constexpr int32_t kDefaultActionSeparator = u',';
// A warning lists this many notes and counts the rest.
constexpr size_t kNotesShown = 10;

std::u16string NotesText(std::u16string_view file, const std::vector<ParseNote>& notes) {
  std::u16string text;
  for (size_t i = 0; i < notes.size() && i < kNotesShown; ++i) {
    if (i) text += u'\n';
    text +=
        std::u16string(file) + u": line " + NumberText(notes[i].lineNumber) + u": " + notes[i].text;
  }
  if (notes.size() > kNotesShown)
    text += u"\n... and " + NumberText(notes.size() - kNotesShown) + u" more";
  return text;
}

bool IsCodeUnit(int32_t value) { return value > 0 && value <= 0xFFFF; }

}  // namespace

BFTOperation::BFTOperation(PluginContext* plugin, const OperationRow& row)
    : BookmarkOperation(plugin, row) {}

HRESULT BFTOperation::Run(int32_t flags, intptr_t) {
  const std::u16string fileName = CabText(Options().Get(), u"FileName", u"");
  const int32_t separator = CabInt(Options().Get(), u"Separator", kDefaultSeparator);
  const int32_t actionSeparator =
      CabInt(Options().Get(), u"ActionSeparator", kDefaultActionSeparator);
  if (fileName.empty()) {
    ReportFailureDetail(u"FileName is empty: name the bookmark text file");
    return zelta::E_INVALIDARG;
  }
  if (!IsCodeUnit(separator) || !IsCodeUnit(actionSeparator) || separator == actionSeparator) {
    ReportFailureDetail(
        u"Separator and ActionSeparator must be two different character codes "
        u"(1 to 65535); they are " +
        NumberText(static_cast<uint32_t>(separator)) + u" and " +
        NumberText(static_cast<uint32_t>(actionSeparator)));
    return zelta::E_INVALIDARG;
  }
  ComPtr<zelta::IHostBookmark> root;
  if (zelta::Failed(Document()->GetOutlineRoot(root.Put())) || !root) return zelta::E_FAIL;

  OpenProgress(flags, kProgressTitleId, kProgressTextId, kProgressStatusId);
  HRESULT hr = OpenChangeGroup(flags, kLabelId);
  if (zelta::Failed(hr)) return FinishRun(hr, {});

  std::u16string text;
  std::vector<ParseNote> notes;
  {
    std::string bytes;
    std::u16string why;
    hr = platform::ReadFileBytes(fileName, kMaxBookmarkFileSize, &bytes, &why);
    if (zelta::Failed(hr)) {
      ReportFailureDetail(u"cannot read " + fileName + u": " + why);
      return FinishRun(hr, {});
    }
    DecodedText decoded = BookmarkTextDecoder(platform::AnsiCodePageName()).Decode(bytes);
    if (!decoded.error.empty()) {
      ReportFailureDetail(fileName + u": " + platform::Utf8ToUtf16(decoded.error));
      return FinishRun(zelta::E_INVALIDARG, {});
    }
    for (uint32_t line : decoded.badLines)
      notes.push_back({line, u"bytes that are not UTF-8 were read as U+FFFD"});
    text = std::move(decoded.text);
  }
  const size_t lineCount = BookmarkTextParser::CountLines(text);
  if (lineCount == 0) return FinishRun(zelta::S_OK, {});
  // Each line is a bookmark: bounded before any is made, as the host's imports are.
  if (lineCount > zelta::kMaxImportedBookmarks) {
    ReportFailureDetail(fileName + u": the outline holds " + NumberText(lineCount) +
                        u" bookmarks, more than the " + NumberText(zelta::kMaxImportedBookmarks) +
                        u" an import takes");
    return FinishRun(zelta::E_INVALIDARG, {});
  }

  ComPtr<zelta::IUnknown> component;
  if (App()) App()->GetComponent(kColorComponent, component.Put());
  BookmarkTreeBuilder builder(Document(), root.Get(),
                              zelta::QueryAs<zelta::IColorService>(component.Get()).Get());
  BookmarkTextParser parser(static_cast<char16_t>(separator),
                            static_cast<char16_t>(actionSeparator));
  StartProgress(static_cast<uint32_t>(lineCount));
  NewBookmarks pending(App(), builder.Created());
  // Each line is made as it is read: a long file is never held as lines all at once.
  hr = parser.ForEachLine(text, [&](const BookmarkLine& line) {
    HRESULT step = StepProgress(line.title);
    return zelta::Succeeded(step) ? builder.Add(line) : step;
  });
  notes.insert(notes.end(), parser.Notes().begin(), parser.Notes().end());
  if (zelta::Succeeded(hr)) {
    MarkChanged();
    hr = pending.Commit(flags);
  }
  if (zelta::Failed(hr)) {
    if (!builder.Failure().empty()) ReportFailureDetail(fileName + u": " + builder.Failure());
    return FinishRun(hr, {});
  }
  notes.insert(notes.end(), builder.Notes().begin(), builder.Notes().end());
  if (!notes.empty()) {
    std::stable_sort(notes.begin(), notes.end(), [](const ParseNote& a, const ParseNote& b) {
      return a.lineNumber < b.lineNumber;
    });
    MarkProblem();
    ReportWarning(NotesText(fileName, notes));
  }
  std::vector<zelta::IUnknown*> output;
  for (const auto& bookmark : builder.Created()) output.push_back(bookmark.Get());
  return FinishRun(zelta::S_OK, output);
}

}  // namespace bm
