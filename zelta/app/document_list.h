// The application's open documents, each with its undo history, and the active one.
#pragma once

#include <vector>

#include "host/document.h"
#include "zelta/app/undo_history.h"

namespace zelta::app {

// A document's undo steps hold its bookmarks, the bookmarks hold the document and the
// document holds its history: that loop is broken by clearing the history whenever a document
// leaves the list (closed, or the application goes), so the document can be freed.
class DocumentList {
 public:
  DocumentList() = default;
  DocumentList(const DocumentList&) = delete;
  DocumentList& operator=(const DocumentList&) = delete;
  ~DocumentList();

  struct Entry {
    ComPtr<IHostDocument> document;
    ComPtr<UndoHistory> history;
  };

  // Adds a document and makes it active. False when it is open already.
  bool Add(ComPtr<IHostDocument> document, ComPtr<UndoHistory> history);
  // Takes a document out; when it was active, the most recently opened other document
  // becomes active. False when it was not open.
  bool Remove(IHostDocument* document);
  bool Contains(IHostDocument* document) const { return Find(document) != nullptr; }
  // False when the document is not open.
  bool SetActive(IHostDocument* document);

  // Null when no document is open.
  ComPtr<IHostDocument> Active() const;
  // Null for a document that is not open.
  ComPtr<UndoHistory> History(IHostDocument* document) const;
  const std::vector<Entry>& Entries() const { return entries_; }

 private:
  const Entry* Find(IHostDocument* document) const;

  std::vector<Entry> entries_;  // in opening order
  IHostDocument* active_ = nullptr;
};

}  // namespace zelta::app
