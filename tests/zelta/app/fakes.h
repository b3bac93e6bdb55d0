// Small stand-ins for the objects other parts of the host provide, for the app's own tests.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/bookmark.h"
#include "host/commands.h"
#include "host/document.h"
#include "host/events.h"
#include "host/undo.h"

namespace zelta::app::testing {

using Log = std::vector<std::string>;

// Writes "undo NAME" / "redo NAME" to a shared log; can be told to fail.
class FakeUndoItem : public ComObject<IUndoItem> {
 public:
  FakeUndoItem(std::string name, std::shared_ptr<Log> log)
      : name_(std::move(name)), log_(std::move(log)) {}
  HRESULT Undo() override { return Step("undo", failUndo); }
  HRESULT Redo() override { return Step("redo", failRedo); }
  bool failUndo = false, failRedo = false;

 private:
  HRESULT Step(const char* what, bool fail) {
    if (fail) return E_FAIL;
    log_->push_back(std::string(what) + " " + name_);
    return S_OK;
  }
  std::string name_;
  std::shared_ptr<Log> log_;
};

// A document with no pages; only identity matters to the app's services.
class FakeDocument : public ComObject<IHostDocument> {
 public:
  HRESULT GetOutlineRoot(IHostBookmark**) override { return E_NOTIMPL; }
  HRESULT IsPermitted(int32_t, int32_t, int32_t, int32_t* answer) override {
    *answer = 1;
    return S_OK;
  }
  HRESULT GetPageCount(int32_t* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT GetPageBox(int32_t, int32_t, PageBox*) override { return E_INVALIDARG; }
  HRESULT GetPageRotation(int32_t, int32_t*) override { return E_INVALIDARG; }
  HRESULT GetPageLabel(int32_t, BString*) override { return E_INVALIDARG; }
  HRESULT ResolveNamedDest(const char16_t*, int32_t, PageDestination*) override { return S_FALSE; }
  HRESULT AddNamedDest(const char16_t*, int32_t, const PageDestination*) override {
    return E_NOTIMPL;
  }
  HRESULT RemoveNamedDest(const char16_t*, int32_t) override { return S_FALSE; }
  HRESULT GetNamedDestCount(int32_t* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT GetNamedDestName(int32_t, BString*) override { return E_INVALIDARG; }
  HRESULT GetFilePath(BString* path) override { return ReturnString(u"fake.pdf", path); }
  HRESULT GetInfoTitle(BString* title) override { return ReturnString(u"", title); }
  HRESULT GetUndoHistory(IHostUndoHistory**) override { return E_NOTIMPL; }
  HRESULT GetActionFactory(IHostActionFactory**) override { return E_NOTIMPL; }
  HRESULT CreateActionList(IHostActionList**) override { return E_NOTIMPL; }
};

// A bookmark that only knows its document and whether it is still in the outline.
class FakeBookmark : public ComObject<IHostBookmark> {
 public:
  explicit FakeBookmark(IHostDocument* document) : document_(document) {}
  bool attached = true;

  HRESULT GetDocument(IHostDocument** document) override { return document_.CopyTo(document); }
  HRESULT IsRoot(bool* root) override {
    *root = false;
    return S_OK;
  }
  HRESULT IsAttached(bool* value) override {
    *value = attached;
    return S_OK;
  }
  HRESULT GetParent(IHostBookmark**) override { return S_FALSE; }
  HRESULT GetFirstChild(IHostBookmark**) override { return S_FALSE; }
  HRESULT GetLastChild(IHostBookmark**) override { return S_FALSE; }
  HRESULT GetNextSibling(IHostBookmark**) override { return S_FALSE; }
  HRESULT GetPrevSibling(IHostBookmark**) override { return S_FALSE; }
  HRESULT GetChildCount(int32_t* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT GetTitle(BString* title) override { return ReturnString(u"", title); }
  HRESULT SetTitle(const char16_t*, int32_t) override { return E_NOTIMPL; }
  HRESULT GetStyle(int32_t* style) override {
    *style = 0;
    return S_OK;
  }
  HRESULT SetStyle(int32_t) override { return E_NOTIMPL; }
  HRESULT GetColor(uint32_t* color) override {
    *color = 0xFF000000;
    return S_FALSE;
  }
  HRESULT SetColor(uint32_t, bool) override { return E_NOTIMPL; }
  HRESULT GetOpen(bool* open) override {
    *open = false;
    return S_OK;
  }
  HRESULT SetOpen(bool) override { return E_NOTIMPL; }
  HRESULT GetActions(IHostActionList**) override { return E_NOTIMPL; }
  HRESULT InsertNewChild(int32_t, IHostBookmark**) override { return E_NOTIMPL; }
  HRESULT InsertChild(int32_t, IHostBookmark*) override { return E_NOTIMPL; }
  HRESULT Remove() override { return E_NOTIMPL; }

 private:
  ComPtr<IHostDocument> document_;
  HRESULT SetActions(IHostActionList*) override { return E_NOTIMPL; }
  HRESULT AppendAction(IHostAction*) override { return E_NOTIMPL; }
};

// Forwards events to a callback; logs them by name.
class LambdaSink : public ComObject<IEventSink> {
 public:
  using Callback = std::function<void(Atom, IUnknown*, intptr_t)>;
  explicit LambdaSink(Callback callback) : callback_(std::move(callback)) {}
  HRESULT OnEvent(Atom event, IUnknown* object, intptr_t extra) override {
    callback_(event, object, extra);
    return S_OK;
  }

 private:
  Callback callback_;
};

// A command handler with a fixed state that counts its executions.
class FakeHandler : public ComObject<ICommandHandler> {
 public:
  int32_t state = kCommandEnabled;
  int executed = 0;
  IUnknown* lastContext = nullptr;

  HRESULT OnCommandAdded(IHostCommand*) override { return E_NOTIMPL; }
  HRESULT OnCommandRemoved(IHostCommand*) override { return E_NOTIMPL; }
  HRESULT UpdateCommandState(IHostCommand* command, IUnknown* context, intptr_t,
                             int32_t* out) override {
    if (!command || !context || !out) return S_FALSE;
    lastContext = context;
    *out = state;
    return S_OK;
  }
  HRESULT GetCommandTip(IHostCommand*, BString*) override { return E_NOTIMPL; }
  HRESULT ExecuteCommand(int32_t action, IHostCommand*, intptr_t, intptr_t, intptr_t) override {
    if (action == 1) ++executed;
    return S_OK;
  }
  HRESULT OnPopup(IHostCommand*, IUnknown*) override { return E_NOTIMPL; }
};

}  // namespace zelta::app::testing
