// A real host application with the plug-in started in-process (through the module's entry
// function, without loading the module file), for the plug-in's integration tests.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "host/document.h"
#include "plugin/operation_table.h"
#include "plugin/plugin_object.h"
#include "tests/fixtures/pdf_builder.h"
#include "zelta/app/host_app.h"
#include "zelta/ui/message_record.h"

namespace bm::testing {

// An operation of the class Op, made with Op's row of the plug-in's table.
template <class Op>
zelta::ComPtr<Op> NewOperation(PluginContext* plugin) {
  for (const OperationRow& row : OperationRows())
    if (row.create == &MakeOperation<Op>) return zelta::MakeCom<Op>(plugin, row);
  return nullptr;
}

class CoreHost {
 public:
  CoreHost();
  ~CoreHost();
  CoreHost(const CoreHost&) = delete;
  CoreHost& operator=(const CoreHost&) = delete;

  zelta::app::HostApp& App() { return *app_; }
  PluginObject& Plugin() { return *plugin_; }
  // The file the settings are written to.
  std::string SettingsPath() const { return tempDir_ + "/settings.json"; }

  // Writes the PDF to a temporary file, opens it and makes it the active document.
  zelta::ComPtr<zelta::IHostDocument> Open(const zelta::testing::PdfSpec& layout);
  zelta::ComPtr<zelta::IHostDocument> OpenBytes(const std::string& bytes);

  // The progress windows made from now on report a cancel at this position.
  void CancelProgressAt(std::optional<uint32_t> position);
  // Selects bookmarks (in this order) in the document's bookmark selection.
  void SelectBookmarks(zelta::IHostDocument* document,
                       const std::vector<zelta::IHostBookmark*>& items);
  // Makes the text of `parts` (as `--select-text` gives them) the document's text selection.
  void SelectText(zelta::IHostDocument* document, const std::vector<std::string>& parts);

  // Every message box shown so far; each is answered OK.
  std::vector<zelta::ui::MessageRecord> messages;

 private:
  std::string tempDir_;
  int files_ = 0;
  zelta::ComPtr<zelta::app::HostApp> app_;
  zelta::ComPtr<PluginObject> plugin_;
};

// The bookmark at 1-based positions (e.g. {2, 1}: first child of the second top-level item);
// null when there is none.
zelta::ComPtr<zelta::IHostBookmark> BookmarkAt(zelta::IHostDocument* document,
                                               std::vector<int> path);
std::u16string TitleOf(zelta::IHostBookmark* bookmark);
// Every title of the outline in pre-order.
std::vector<std::u16string> Titles(zelta::IHostDocument* document);
int32_t UndoCount(zelta::IHostDocument* document);
// (level, title, 1-based target page, top of the destination) of every bookmark in pre-order,
// as scripts/score-outline reads an outline.
nlohmann::json OutlineRows(zelta::IHostDocument* document);
void RemoveOutline(zelta::IHostDocument* document);
// Fixture parts without designated initialisers (which leave members unnamed).
zelta::testing::OutlineSpec Mark(std::string title, int page = -1);
zelta::testing::OutlineSpec NamedMark(std::string title, std::string namedDest);
zelta::testing::ActionSpec GoToAction(int page);
zelta::testing::ActionSpec GoToNameAction(std::string name);
zelta::testing::ActionSpec UriAction(std::string uri);
zelta::testing::PageSpec Page(double width, double height, int rotate = 0);
// UTF-8 to UTF-16 for expectations written as plain strings.
std::u16string U16(const std::string& text);

}  // namespace bm::testing
