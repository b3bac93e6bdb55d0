// An open PDF document over MuPDF: the host's IHostDocument, and the owner of everything the
// document's bookmarks and actions share (the MuPDF handles, the outline index, the bookmark
// identity map, the page map, named destinations and page labels).
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "host/document.h"
#include "host/page_content.h"
#include "host/page_links.h"
#include "host/undo.h"
#include "zelta/pdf/document_events.h"
#include "zelta/pdf/fonts/document_fonts.h"
#include "zelta/pdf/mu_calls.h"
#include "zelta/pdf/mu_context.h"
#include "zelta/pdf/mu_document.h"
#include "zelta/pdf/outline/named_dests.h"
#include "zelta/pdf/outline/outline.h"
#include "zelta/pdf/outline/page_labels.h"
#include "zelta/pdf/pages/page_map.h"
#include "zelta/pdf/second_handle.h"

namespace zelta::pdf {

class HostBookmark;

// When the outline is read: at open (damage in it is among the open's warnings), or on the
// first use of the outline, for a window that shows a page before its bookmarks.
enum class OutlineRead { kAtOpen, kOnFirstUse };

class HostDocument final : public ComObject<IHostDocument, IHostPageEditor, IHostPageLinks> {
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

  // IHostPageEditor (host_document_pages.cpp)
  HRESULT CreateContentWriter(IHostContentWriter** writer) override;
  HRESULT ResolveFont(const char16_t* name, int32_t length, IHostWriterFont** font) override;
  HRESULT GetBatesNumber(int32_t page, BString* number) override;
  HRESULT AppendContent(int32_t page, IHostContent* content) override;
  HRESULT CreateAnnotation(int32_t page, const char16_t* type, int32_t typeLength,
                           const PageBox* rect, int32_t position,
                           IHostAnnotation** annotation) override;
  HRESULT CreateLinks(int32_t page, int32_t count, const PageBox* rects,
                      IHostActionList* const* actions, IHostAnnotation** links) override;

  // IHostPageLinks (host_document_pages.cpp)
  HRESULT GetLinkCount(int32_t page, int32_t* count) override;
  HRESULT GetLink(int32_t page, int32_t index, PageBox* rect, IHostActionList** actions) override;
  // The Link annotations on all pages, in one pass over the page map.
  HRESULT CountAllLinks(int64_t* links);

  // --- Page-list changes, for the host's page operations and their undo.
  // New empty pages of width x height points, not yet in the page tree.
  HRESULT MakeEmptyPages(int count, double width, double height, std::vector<MuObject>* pages);
  // Puts pages into the page tree from index `position` on, in order; on failure the tree is
  // as it was.
  HRESULT PutPages(int position, const std::vector<MuObject>& pages);
  // Takes `count` pages from `position` out of the page tree and hands them out.
  HRESULT TakePages(int position, int count, std::vector<MuObject>* pages);
  // The catalog's /PageLabels (null when none), and replacing it (null removes it).
  MuObject PageLabelTree();
  // The page labels once `count` pages are inserted at `position` (null without labels).
  HRESULT ShiftedPageLabels(int position, int count, MuObject* tree);
  HRESULT SetPageLabelTree(const MuObject& tree);
  // The index of the page an annotation is on (-1 when it is not on that page or the page is
  // not in the document); taking it off its page and putting it back at its place.
  int AnnotationPage(pdf_obj* page, pdf_obj* annotation);
  // Whether every annotation is on its page and the page in the document, with one look at
  // each page's annotation list (a batch lies on few pages).
  bool AnnotationsOnTheirPages(const std::vector<std::pair<pdf_obj*, pdf_obj*>>& pageAndAnnots);
  HRESULT DetachAnnotation(pdf_obj* page, pdf_obj* annotation, int* position);
  HRESULT AttachAnnotation(pdf_obj* page, pdf_obj* annotation, int position);
  // The content streams this host made, whose bytes it keeps: appending to one, and putting
  // it back to an earlier length.
  bool IsOwnStream(int number) const { return ownStreams_.count(number) > 0; }
  HRESULT SetOwnStreamLength(int number, size_t length);
  HRESULT AppendToOwnStream(int number, const std::string& bytes);
  DocumentFonts& Fonts();

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
  Outline& GetOutline() {
    if (!outlineRead_) ReadOutline();
    return outline_;
  }
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
  // Changes to the outline so far (every change of a bookmark counts; undoing one is another).
  uint64_t OutlineEdits() const { return outlineEdits_; }

 private:
  friend HRESULT OpenDocument(const std::string& path, const std::string& password,
                              ComPtr<HostDocument>* document, std::string* error,
                              OutlineRead outline);
  ~HostDocument() override = default;
  HRESULT Open(const std::string& password, OutlineRead outline, std::string* error);
  // Reads the outline once; out of memory leaves it as far as it was read and the document
  // closed to changes.
  void ReadOutline();
  void Raise(Atom event, IUnknown* object);
  pdf_obj* PageObject(int32_t page);
  // After the page list changed: page indexes, labels and resolved names are read anew.
  void PagesChanged();
  // Stores the own streams' bytes compressed (before a save).
  HRESULT PackOwnStreams();
  // Records a change made outside the host operations: into the open change group, or as an
  // undo step of its own.
  HRESULT RecordChange(std::u16string_view label, IUndoItem* item);
  struct OwnStream {
    std::string bytes;
    bool packed = false;  // stored compressed as they are
  };

  // Declaration order matters: the context outlives the document and every object.
  MuContext context_;
  MuDocument doc_;
  MuCalls mu_;
  std::string path_;
  Outline outline_;
  bool outlineRead_ = false;
  bool outlineLost_ = false;  // reading it later ran out of memory
  PageMap pages_;
  NamedDests names_;
  PageLabels labels_;
  std::unordered_map<int, HostBookmark*> bookmarks_;  // identity map, not owning
  std::vector<std::string> warnings_;
  ComPtr<IHostUndoHistory> undoHistory_;
  DocumentEvents events_;
  bool modified_ = false;
  uint64_t outlineEdits_ = 0;
  std::string password_;  // for second handles on an encrypted file
  SecondHandle::FileMark openMark_;
  std::unique_ptr<SecondHandle> spareHandle_;
  std::unique_ptr<DocumentFonts> fonts_;  // before the context in destruction order
  std::unordered_map<int, OwnStream> ownStreams_;
};

// Opens a PDF. On failure returns a failure code and a message naming the file and problem.
HRESULT OpenDocument(const std::string& path, const std::string& password,
                     ComPtr<HostDocument>* document, std::string* error,
                     OutlineRead outline = OutlineRead::kAtOpen);

}  // namespace zelta::pdf
