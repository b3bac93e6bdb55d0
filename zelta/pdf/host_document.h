// An open PDF document over MuPDF: the host's IHostDocument, and the owner of everything the
// document's bookmarks and actions share (the MuPDF handles, the outline index, the bookmark
// identity map, the page map, named destinations and page labels).
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/document.h"
#include "host/undo.h"
#include "zelta/pdf/document_events.h"
#include "zelta/pdf/mu_calls.h"
#include "zelta/pdf/mu_context.h"
#include "zelta/pdf/mu_document.h"
#include "zelta/pdf/named_dests.h"
#include "zelta/pdf/outline.h"
#include "zelta/pdf/page_labels.h"
#include "zelta/pdf/page_map.h"
#include "zelta/pdf/second_handle.h"

namespace zelta::pdf {

class HostBookmark;

class HostDocument final : public ComObject<IHostDocument> {
 public:
  explicit HostDocument(std::string path);

  // IHostDocument
  HRESULT GetOutlineRoot(IHostBookmark** root) override;
  HRESULT IsPermitted(int32_t kind, int32_t subKind, int32_t reserved, int32_t* answer) override;
  HRESULT GetPageCount(int32_t* count) override;
  HRESULT GetPageBox(int32_t page, int32_t kind, PageBox* box) override;
  HRESULT GetPageRotation(int32_t page, int32_t* degrees) override;
  HRESULT GetPageLabel(int32_t page, BString* label) override;
  HRESULT ResolveNamedDest(const char16_t* name, int32_t length, PageDestination* dest) override;
  HRESULT AddNamedDest(const char16_t* name, int32_t length, const PageDestination* dest) override;
  HRESULT RemoveNamedDest(const char16_t* name, int32_t length) override;
  HRESULT GetNamedDestCount(int32_t* count) override;
  HRESULT GetNamedDestName(int32_t index, BString* name) override;
  HRESULT GetFilePath(BString* path) override;
  HRESULT GetInfoTitle(BString* title) override;
  HRESULT GetUndoHistory(IHostUndoHistory** history) override;
  HRESULT GetActionFactory(IHostActionFactory** factory) override;
  HRESULT CreateActionList(IHostActionList** actions) override;

  // Writes the document to `path` atomically (temporary file, fsync, rename); on failure
  // nothing is left behind and *error says why.
  HRESULT Save(const std::string& path, std::string* error);
  void SetUndoHistory(ComPtr<IHostUndoHistory> history) { undoHistory_ = std::move(history); }
  void SetEvents(DocumentEvents events) { events_ = std::move(events); }
  // Damage found while reading and skipped.
  const std::vector<std::string>& Warnings() const { return warnings_; }
  bool IsModified() const { return modified_; }

  // For the document's own objects.
  MuCalls& Mu() { return mu_; }
  Outline& GetOutline() { return outline_; }
  PageMap& Pages() { return pages_; }
  NamedDests& Names() { return names_; }
  // The one bookmark object of an outline item (made on first use).
  HRESULT BookmarkFor(int key, ComPtr<HostBookmark>* bookmark);
  void ForgetBookmark(int key) { bookmarks_.erase(key); }
  // A handle on the document's file for another thread: the one kept from the last reader,
  // or a new one; null when none can be made. Give it back when done so it stays warm.
  std::unique_ptr<SecondHandle> TakeSecondHandle();
  void ReturnSecondHandle(std::unique_ptr<SecondHandle> handle);
  // E_OUTOFMEMORY once MuPDF ran out of memory: the document takes no more changes.
  HRESULT CanChange() const;
  // Records a change and announces it with the bookmark as the event object.
  void BookmarkChanged(IHostBookmark* bookmark);

 private:
  friend HRESULT OpenDocument(const std::string& path, const std::string& password,
                              ComPtr<HostDocument>* document, std::string* error);
  ~HostDocument() override = default;
  HRESULT Open(const std::string& password, std::string* error);
  void Raise(Atom event, IUnknown* object);
  pdf_obj* PageObject(int32_t page);

  // Declaration order matters: the context outlives the document and every object.
  MuContext context_;
  MuDocument doc_;
  MuCalls mu_;
  std::string path_;
  Outline outline_;
  PageMap pages_;
  NamedDests names_;
  PageLabels labels_;
  std::unordered_map<int, HostBookmark*> bookmarks_;  // identity map, not owning
  std::vector<std::string> warnings_;
  ComPtr<IHostUndoHistory> undoHistory_;
  DocumentEvents events_;
  bool modified_ = false;
  std::string password_;  // for second handles on an encrypted file
  SecondHandle::FileMark openMark_;
  std::unique_ptr<SecondHandle> spareHandle_;
};

// Opens a PDF. On failure returns a failure code and a message naming the file and problem.
HRESULT OpenDocument(const std::string& path, const std::string& password,
                     ComPtr<HostDocument>* document, std::string* error);

}  // namespace zelta::pdf
