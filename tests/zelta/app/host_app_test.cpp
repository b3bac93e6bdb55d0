#include "zelta/app/host_app.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "host/cab.h"
#include "host/files.h"
#include "host/plugin.h"
#include "host/ui.h"
#include "tests/zelta/app/fakes.h"
#include "zelta/app/settings/settings_store.h"
#include "zelta/base/atom_table.h"
#include "zelta/pdf/host_document.h"

namespace zelta::app {
namespace {

using testing::FakeDocument;
using testing::LambdaSink;

TEST(Components, KnownNamesAnswerTheirInterfacesUnknownAnswerSFalse) {
  auto app = MakeCom<HostApp>();
  ComPtr<IUnknown> component;
  const std::pair<const char*, Guid> kExpected[] = {
      {"ZLK", ISelectionService::kIid}, {"ZLW", IWindowService::kIid}, {"AUX", ICabFactory::kIid},
      {"AFS", IFileService::kIid},      {"UIX", IUiExtension::kIid},
  };
  for (auto& [name, iid] : kExpected) {
    ASSERT_EQ(app->GetComponent(name, component.Put()), S_OK) << name;
    ComPtr<IUnknown> asked;
    EXPECT_EQ(component->QueryInterface(iid, asked.PutVoid()), S_OK) << name;
  }
  EXPECT_EQ(app->GetComponent("XYZ", component.Put()), S_FALSE);
  EXPECT_FALSE(component);
  EXPECT_EQ(app->GetComponent(nullptr, component.Put()), S_FALSE);
  EXPECT_EQ(app->GetComponent("UIX", nullptr), E_POINTER);
}

TEST(Components, FileServiceAndWindowsAnswerForRealState) {
  auto app = MakeCom<HostApp>();
  ComPtr<IUnknown> component;
  app->GetComponent("AFS", component.Put());
  auto files = QueryAs<IFileService>(component.Get());
  bool exists = false;
  EXPECT_EQ(files->FileExists(u"/tmp", -1, &exists), S_OK);
  EXPECT_TRUE(exists);
  EXPECT_EQ(files->FileExists(u"/no/such/file.pdf", -1, &exists), S_OK);
  EXPECT_FALSE(exists);
  EXPECT_EQ(files->FileExists(u"/tmp\0/x", 7, &exists), E_INVALIDARG);

  app->GetComponent("ZLW", component.Put());
  auto windows = QueryAs<IWindowService>(component.Get());
  auto doc = MakeCom<FakeDocument>();
  WindowHandle window = -1;
  windows->GetDocumentWindow(doc.Get(), &window);
  EXPECT_EQ(window, 0);
  app->AddDocument(ComPtr<IHostDocument>(doc));
  windows->GetDocumentWindow(doc.Get(), &window);
  EXPECT_EQ(window, base::kMainWindow);
  // The service outlives the application without touching it.
  app->Shutdown();
  app = nullptr;
  EXPECT_EQ(windows->GetDocumentWindow(doc.Get(), &window), S_FALSE);
}

TEST(Documents, ActiveDocumentFollowsOpeningClosingAndChoosing) {
  auto app = MakeCom<HostApp>();
  std::vector<IUnknown*> announced;
  auto sink =
      MakeCom<LambdaSink>([&](Atom, IUnknown* object, intptr_t) { announced.push_back(object); });
  app->Events().Subscribe(base::Intern("e.activeDocChanged"), sink.Get(), 0);
  ComPtr<IHostDocument> active;
  EXPECT_EQ(app->GetActiveDocument(active.Put()), S_FALSE);

  auto a = MakeCom<FakeDocument>(), b = MakeCom<FakeDocument>();
  app->AddDocument(ComPtr<IHostDocument>(a));
  app->AddDocument(ComPtr<IHostDocument>(b));
  EXPECT_EQ(app->AddDocument(ComPtr<IHostDocument>(b)), S_FALSE);
  EXPECT_EQ(app->ActiveDocument().Get(), b.Get());
  EXPECT_EQ(app->SetActiveDocument(a.Get()), S_OK);
  EXPECT_EQ(app->CloseDocument(b.Get()), S_OK);  // not active: no change announced
  EXPECT_EQ(app->CloseDocument(b.Get()), S_FALSE);
  EXPECT_EQ(app->SetActiveDocument(b.Get()), E_INVALIDARG);
  EXPECT_TRUE(app->UndoHistoryOf(a.Get()));
  EXPECT_FALSE(app->UndoHistoryOf(b.Get()));
  app->CloseDocument(a.Get());
  EXPECT_EQ(app->GetActiveDocument(active.Put()), S_FALSE);
  IUnknown* appObject = static_cast<IHostApp*>(app.Get());
  ASSERT_EQ(announced.size(), 4u);
  EXPECT_EQ(announced[2], static_cast<IUnknown*>(a.Get()));
  EXPECT_EQ(announced[3], appObject);
}

TEST(Documents, OpensARealPdfWithItsOwnHistoryAndEvents) {
  auto app = MakeCom<HostApp>();
  ComPtr<pdf::HostDocument> doc;
  std::string error;
  ASSERT_EQ(app->OpenDocument(ZELTA_CORPUS_DIR "/R-intro.pdf", "", &doc, &error), S_OK) << error;
  EXPECT_EQ(app->ActiveDocument().Get(), static_cast<IHostDocument*>(doc.Get()));
  ComPtr<IHostUndoHistory> history;
  ASSERT_EQ(doc->GetUndoHistory(history.Put()), S_OK);
  EXPECT_EQ(history.Get(), static_cast<IHostUndoHistory*>(app->UndoHistoryOf(doc.Get()).Get()));

  int changes = 0;
  auto sink = MakeCom<LambdaSink>([&](Atom, IUnknown*, intptr_t) { ++changes; });
  app->Events().Subscribe(base::Intern("e.bookmarks.changed"), sink.Get(), 0);
  ComPtr<IHostBookmark> root, first;
  doc->GetOutlineRoot(root.Put());
  ASSERT_EQ(root->GetFirstChild(first.Put()), S_OK);
  first->SetTitle(u"Renamed", -1);
  EXPECT_GE(changes, 1);

  ComPtr<pdf::HostDocument> missing;
  EXPECT_TRUE(Failed(app->OpenDocument("/no/such/file.pdf", "", &missing, &error)));
  EXPECT_NE(error.find("/no/such/file.pdf"), std::string::npos);
  EXPECT_EQ(app->ActiveDocument().Get(), static_cast<IHostDocument*>(doc.Get()));
}

class CountingOperation : public ComObject<IHostOperation> {
 public:
  explicit CountingOperation(HRESULT result) : result_(result) {}
  HRESULT GetOperationId(Atom* id) override {
    *id = base::Intern("op.test.counting");
    return S_OK;
  }
  HRESULT GetParams(ICab**) override { return E_NOTIMPL; }
  HRESULT GetKind(int32_t* kind) override {
    *kind = 1;
    return S_OK;
  }
  HRESULT Do(int32_t flags, intptr_t extra) override {
    lastFlags = flags;
    lastExtra = extra;
    if (result_ == E_OUTOFMEMORY) throw std::bad_alloc();
    return result_;
  }
  HRESULT ShowDialog(WindowHandle, intptr_t) override { return E_NOTIMPL; }
  HRESULT GetObject(Atom, IUnknown**) override { return E_NOTIMPL; }
  int32_t lastFlags = -1;
  intptr_t lastExtra = -1;

 private:
  HRESULT result_;
};

TEST(Operations, RegistryCreatesByIdAndRunnerRecordsTheLastRun) {
  auto app = MakeCom<HostApp>();
  Atom id = base::Intern("op.test.counting");
  ComPtr<IHostOperation> operation;
  EXPECT_EQ(app->CreateOperation(id, operation.Put()), E_INVALIDARG);
  EXPECT_EQ(app->RegisterHostOperation(id, nullptr), E_INVALIDARG);
  app->RegisterHostOperation(id, [](IHostOperation** out) {
    return ComPtr<IHostOperation>(MakeCom<CountingOperation>(S_FALSE)).CopyTo(out);
  });
  ASSERT_EQ(app->CreateOperation(id, operation.Put()), S_OK);
  EXPECT_EQ(app->RunOperation(operation.Get(), kDoNoChangeGroup, 5), S_FALSE);
  auto* counting = static_cast<CountingOperation*>(operation.Get());
  EXPECT_EQ(counting->lastFlags, kDoNoChangeGroup);
  EXPECT_EQ(counting->lastExtra, 5);
  ASSERT_TRUE(app->LastRun());
  EXPECT_EQ(app->LastRun()->operation.Get(), operation.Get());
  EXPECT_EQ(app->LastRun()->id, id);
  EXPECT_EQ(app->LastRun()->result, S_FALSE);

  auto throwing = MakeCom<CountingOperation>(E_OUTOFMEMORY);
  EXPECT_EQ(app->RunOperation(throwing.Get(), 0, 0), E_OUTOFMEMORY);
  EXPECT_EQ(app->LastRun()->result, E_OUTOFMEMORY);
  EXPECT_EQ(app->RunOperation(nullptr, 0, 0), E_POINTER);

  app->RegisterHostOperation(base::Intern("op.test.empty"), [](IHostOperation**) { return S_OK; });
  EXPECT_EQ(app->CreateOperation(base::Intern("op.test.empty"), operation.Put()), E_FAIL);
}

class IdentityPlugin : public ComObject<IPlugin> {
 public:
  HRESULT GetID(Guid* id) override {
    *id = Guid{0x5E3A91D0, 0x6C42, 0x4B8E, {0xA1, 0xF7, 0x2D, 0x9C, 0x04, 0xB6, 0xE8, 0x13}};
    return S_OK;
  }
  HRESULT GetName(BString*) override { return E_NOTIMPL; }
  HRESULT GetNotice(BString*) override { return E_NOTIMPL; }
  HRESULT GetVersion(uint32_t*) override { return E_NOTIMPL; }
  HRESULT GetFlags(int32_t*) override { return E_NOTIMPL; }
  HRESULT GetDescription(BString*) override { return E_NOTIMPL; }
  HRESULT GetLegalInfo(BString*) override { return E_NOTIMPL; }
  HRESULT GetCompany(BString*) override { return E_NOTIMPL; }
  HRESULT GetRequirements(int32_t*) override { return E_NOTIMPL; }
  HRESULT Attach(IUnknown*) override { return S_OK; }
  HRESULT OnLoaded() override { return S_OK; }
  HRESULT Initialize() override { return S_OK; }
  HRESULT Start() override { return S_OK; }
  HRESULT Shutdown() override { return S_OK; }
  HRESULT OnIdle() override { return S_OK; }
  HRESULT GetPropertyPages(IUnknown**) override { return E_NOTIMPL; }
  HRESULT GetAbout(IUnknown**) override { return E_NOTIMPL; }
  HRESULT ResetSettings(uint32_t) override { return E_NOTIMPL; }
};

TEST(PluginSettings, NodeIsKeyedByThePluginsGuidText) {
  auto app = MakeCom<HostApp>();
  auto plugin = MakeCom<IdentityPlugin>();
  IUnknown* asUnknown = static_cast<IPlugin*>(plugin.Get());
  ComPtr<IHostSettings> node;
  EXPECT_EQ(app->GetPluginSettings(asUnknown, -1, node.Put()), E_FAIL);  // no store yet

  auto path = std::filesystem::temp_directory_path() / "zelta-app-test-settings.json";
  auto store = std::make_shared<SettingsStore>(path.string());
  app->UseSettingsStore(store);
  ASSERT_EQ(app->GetPluginSettings(asUnknown, -1, node.Put()), S_OK);
  EXPECT_EQ(node.Get(), store->Node("5E3A91D0-6C42-4B8E-A1F7-2D9C04B6E813").Get());

  auto notPlugin = MakeCom<FakeDocument>();
  EXPECT_EQ(app->GetPluginSettings(static_cast<IHostDocument*>(notPlugin.Get()), -1, node.Put()),
            E_INVALIDARG);
  EXPECT_EQ(app->GetPluginSettings(nullptr, -1, node.Put()), E_INVALIDARG);
}

TEST(PluginLoader, ErrorsNameTheModuleAndTheCause) {
  auto app = MakeCom<HostApp>();
  std::string error;
  EXPECT_EQ(app->LoadPlugin("/no/such/module.so", &error), E_FAIL);
  EXPECT_NE(error.find("'/no/such/module.so'"), std::string::npos) << error;
  EXPECT_NE(error.find("cannot be loaded"), std::string::npos) << error;

  // A real shared library without the entry point.
  EXPECT_EQ(app->LoadPlugin("libm.so.6", &error), E_FAIL);
  EXPECT_NE(error.find("has no ZELTA_GetPlugin"), std::string::npos) << error;

  auto notElf = std::filesystem::temp_directory_path() / "zelta-app-test-not-a-module.so";
  std::FILE* file = std::fopen(notElf.c_str(), "w");
  std::fputs("not a module", file);
  std::fclose(file);
  EXPECT_EQ(app->LoadPlugin(notElf.string(), &error), E_FAIL);
  EXPECT_NE(error.find(notElf.string()), std::string::npos) << error;
  std::filesystem::remove(notElf);
}

// The real module, when the build made it: it loads once, and after the host shuts down its
// commands run nothing. (Its menus and command states on this host are tested in
// tests/plugin; the program lists them from the loaded module in tests/zelta/cli.)
TEST(PluginModule, LoadsOnceAndShutsDown) {
  std::string module = ZELTA_BINARY_DIR "/libbookmarks.so";
  if (!std::filesystem::exists(module)) GTEST_SKIP() << "module not built: " << module;
  auto app = MakeCom<HostApp>();
  auto settings = std::filesystem::temp_directory_path() / "zelta-app-module-settings.json";
  std::filesystem::remove(settings);
  app->UseSettingsStore(std::make_shared<SettingsStore>(settings.string()));

  std::string error;
  ASSERT_EQ(app->LoadPlugin(module, &error), S_OK) << error;
  EXPECT_EQ(app->LoadPlugin(module, &error), E_INVALIDARG);
  app->AddDocument(ComPtr<IHostDocument>(MakeCom<testing::FakeDocument>()));
  EXPECT_EQ(app->CommandState(base::Intern("cmd.bookmarksPlugin.sort")), kCommandEnabled);
  app->Shutdown();
  EXPECT_EQ(app->ExecuteCommand(base::Intern("cmd.bookmarksPlugin.sort")), E_NOTIMPL);
  std::filesystem::remove(settings);
}

}  // namespace
}  // namespace zelta::app
