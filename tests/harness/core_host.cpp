#include "tests/harness/core_host.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "framework/atom_table.h"
#include "framework/bookmark_target.h"
#include "framework/bookmark_walker.h"
#include "host/undo.h"
#include "platform/locale_text.h"
#include "zelta/app/selection/text_selection.h"
#include "zelta/app/settings/settings_store.h"
#include "zelta/pdf/host_document.h"

namespace bm {
zelta::HRESULT GetPluginObject(zelta::IUnknown* app, zelta::IPlugin** plugin);
}

namespace bm::testing {

using zelta::ComPtr;

CoreHost::CoreHost() {
  static int counter = 0;
  tempDir_ = ::testing::TempDir() + "core_host_" + std::to_string(getpid()) + "_" +
             std::to_string(++counter);
  std::filesystem::create_directories(tempDir_);
  app_ = zelta::MakeCom<zelta::app::HostApp>();
  // The store starts empty; its file is written only when a dialog changes a preset list.
  app_->UseSettingsStore(std::make_shared<zelta::app::SettingsStore>(SettingsPath()));
  app_->Ui().SetMessageHandler([this](const zelta::ui::MessageRecord& record) {
    messages.push_back(record);
    return static_cast<int32_t>(zelta::kAnswerOk);
  });
  app_->Ui().SetProgressOptions(zelta::ui::ProgressOptions{});

  ComPtr<zelta::IPlugin> plugin;
  EXPECT_EQ(GetPluginObject(static_cast<zelta::IHostApp*>(app_.Get()), plugin.Put()), zelta::S_OK);
  plugin_ = ComPtr<PluginObject>(static_cast<PluginObject*>(plugin.Get()));
  EXPECT_EQ(plugin_->Attach(static_cast<zelta::IHostApp*>(app_.Get())), zelta::S_OK);
  EXPECT_EQ(plugin_->Initialize(), zelta::S_OK);
  EXPECT_EQ(plugin_->Start(), zelta::S_OK);
  app_->CustomizeCommandBars();
}

CoreHost::~CoreHost() {
  plugin_->Shutdown();
  plugin_.Reset();
  app_->Shutdown();
  app_.Reset();
  std::error_code ignored;
  std::filesystem::remove_all(tempDir_, ignored);
}

ComPtr<zelta::IHostDocument> CoreHost::Open(const zelta::testing::PdfSpec& layout) {
  return OpenBytes(zelta::testing::BuildPdf(layout));
}

ComPtr<zelta::IHostDocument> CoreHost::OpenBytes(const std::string& bytes) {
  const std::string path = tempDir_ + "/doc" + std::to_string(++files_) + ".pdf";
  zelta::testing::WriteFile(path, bytes);
  ComPtr<zelta::pdf::HostDocument> document;
  std::string error;
  EXPECT_EQ(app_->OpenDocument(path, "", &document, &error), zelta::S_OK) << error;
  return app_->ActiveDocument();
}

void CoreHost::CancelProgressAt(std::optional<uint32_t> position) {
  zelta::ui::ProgressOptions options;
  options.cancelAt = position;
  app_->Ui().SetProgressOptions(options);
}

void CoreHost::SelectBookmarks(zelta::IHostDocument* document,
                               const std::vector<zelta::IHostBookmark*>& items) {
  std::vector<ComPtr<zelta::IUnknown>> objects;
  for (auto* item : items) objects.emplace_back(static_cast<zelta::IUnknown*>(item));
  std::string error;
  EXPECT_EQ(app_->SetSelection(document, AtomOf(u"selection.bookmarks"), objects, &error),
            zelta::S_OK)
      << error;
}

void CoreHost::SelectText(zelta::IHostDocument* document, const std::vector<std::string>& parts) {
  ComPtr<zelta::app::TextSelection> text;
  std::string error;
  ASSERT_EQ(zelta::app::TextSelection::FromArguments(document, parts, &text, &error), zelta::S_OK)
      << error;
  EXPECT_EQ(
      app_->SetSelection(
          document, AtomOf(u"selection.text"),
          {ComPtr<zelta::IUnknown>(static_cast<zelta::IHostTextSelection*>(text.Get()))}, &error),
      zelta::S_OK)
      << error;
}

ComPtr<zelta::IHostBookmark> BookmarkAt(zelta::IHostDocument* document, std::vector<int> path) {
  ComPtr<zelta::IHostBookmark> node;
  if (!document || document->GetOutlineRoot(node.Put()) != zelta::S_OK) return nullptr;
  for (int position : path) {
    ComPtr<zelta::IHostBookmark> child;
    if (node->GetFirstChild(child.Put()) != zelta::S_OK) return nullptr;
    for (int i = 1; i < position && child; ++i) {
      ComPtr<zelta::IHostBookmark> next;
      child->GetNextSibling(next.Put());
      child = next;
    }
    if (!child) return nullptr;
    node = child;
  }
  return node;
}

std::u16string TitleOf(zelta::IHostBookmark* bookmark) {
  zelta::OwnedString title;
  if (!bookmark || zelta::Failed(bookmark->GetTitle(title.Put()))) return u"<none>";
  return title.Str();
}

std::vector<std::u16string> Titles(zelta::IHostDocument* document) {
  std::vector<std::u16string> titles;
  ComPtr<zelta::IHostBookmark> root;
  if (!document || document->GetOutlineRoot(root.Put()) != zelta::S_OK) return titles;
  WalkBookmarks(root.Get(), 0, false, [&](zelta::IHostBookmark* bookmark, int32_t) {
    titles.push_back(TitleOf(bookmark));
    return zelta::S_OK;
  });
  return titles;
}

int32_t UndoCount(zelta::IHostDocument* document) {
  ComPtr<zelta::IHostUndoHistory> history;
  int32_t count = -1;
  if (document && document->GetUndoHistory(history.Put()) == zelta::S_OK && history)
    history->GetUndoCount(&count);
  return count;
}

nlohmann::json OutlineRows(zelta::IHostDocument* document) {
  nlohmann::json rows = nlohmann::json::array();
  ComPtr<zelta::IHostBookmark> root;
  document->GetOutlineRoot(root.Put());
  WalkBookmarks(root.Get(), 0, false, [&](zelta::IHostBookmark* bookmark, int32_t level) {
    const BookmarkTarget target = TargetOf(bookmark);
    rows.push_back({level, platform::Utf16ToUtf8(TitleOf(bookmark)), target.page + 1,
                    target.destination.values[1]});
    return zelta::S_OK;
  });
  return rows;
}

void RemoveOutline(zelta::IHostDocument* document) {
  ComPtr<zelta::IHostBookmark> root, child;
  document->GetOutlineRoot(root.Put());
  while (root->GetFirstChild(child.Put()) == zelta::S_OK && child)
    ASSERT_EQ(child->Remove(), zelta::S_OK);
}

zelta::testing::OutlineSpec Mark(std::string title, int page) {
  return zelta::testing::Bookmark(std::move(title), page);
}

zelta::testing::OutlineSpec NamedMark(std::string title, std::string namedDest) {
  zelta::testing::OutlineSpec layout = Mark(std::move(title));
  layout.namedDest = std::move(namedDest);
  return layout;
}

zelta::testing::ActionSpec GoToAction(int page) { return zelta::testing::Action("GoTo", page); }

zelta::testing::ActionSpec GoToNameAction(std::string name) {
  zelta::testing::ActionSpec action = GoToAction(-1);
  action.name = std::move(name);
  return action;
}

zelta::testing::ActionSpec UriAction(std::string uri) {
  return zelta::testing::Action("URI", -1, std::move(uri));
}

zelta::testing::PageSpec Page(double width, double height, int rotate) {
  zelta::testing::PageSpec page;
  page.width = width;
  page.height = height;
  page.rotate = rotate;
  return page;
}

std::u16string U16(const std::string& text) { return platform::Utf8ToUtf16(text); }

}  // namespace bm::testing
