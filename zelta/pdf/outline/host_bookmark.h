// One outline item (or the outline root) of a HostDocument. There is one object per item:
// the document's identity map hands out the same pointer while anyone holds it. The object
// keeps its document alive; the document keeps only a plain pointer back.
#pragma once

#include "host/bookmark.h"
#include "host/document.h"
#include "zelta/pdf/host_document.h"

namespace zelta::pdf {

class HostBookmark final : public ComObject<IHostBookmark> {
 public:
  HostBookmark(ComPtr<HostDocument> document, int key)
      : document_(std::move(document)), key_(key) {}

  // The item's key in the outline index (its object number; 0 for the root).
  int Key() const { return key_; }
  HostDocument* Document() const { return document_.Get(); }

  HRESULT GetDocument(IHostDocument** document) override;
  HRESULT IsRoot(bool* root) override;
  HRESULT IsAttached(bool* attached) override;
  HRESULT GetParent(IHostBookmark** parent) override;
  HRESULT GetFirstChild(IHostBookmark** child) override;
  HRESULT GetLastChild(IHostBookmark** child) override;
  HRESULT GetNextSibling(IHostBookmark** sibling) override;
  HRESULT GetPrevSibling(IHostBookmark** sibling) override;
  HRESULT GetChildCount(int32_t* count) override;
  HRESULT GetTitle(BString* title) override;
  HRESULT SetTitle(const char16_t* title, int32_t length) override;
  HRESULT GetStyle(int32_t* style) override;
  HRESULT SetStyle(int32_t style) override;
  HRESULT GetColor(uint32_t* color) override;
  HRESULT SetColor(uint32_t color, bool hasColor) override;
  HRESULT GetOpen(bool* open) override;
  HRESULT SetOpen(bool open) override;
  HRESULT GetActions(IHostActionList** actions) override;
  HRESULT InsertNewChild(int32_t position, IHostBookmark** child) override;
  HRESULT InsertChild(int32_t position, IHostBookmark* child) override;
  HRESULT Remove() override;
  HRESULT SetActions(IHostActionList* actions) override;
  HRESULT AppendAction(IHostAction* action) override;

 private:
  ~HostBookmark() override { document_->ForgetBookmark(key_); }
  // Hands out the bookmark of `key` (S_FALSE and null for kNone).
  HRESULT Give(int key, IHostBookmark** out);
  // Checks that the item may be changed: not the root, document not poisoned.
  HRESULT CheckChange() const;
  HRESULT PutNumber(const char* key, double value, bool integer);

  ComPtr<HostDocument> document_;
  int key_;
};

}  // namespace zelta::pdf
