#include "zelta/app/document_list.h"

#include <algorithm>

namespace zelta::app {

DocumentList::~DocumentList() {
  for (Entry& entry : entries_)
    if (entry.history) entry.history->Clear();
}

bool DocumentList::Add(ComPtr<IHostDocument> document, ComPtr<UndoHistory> history) {
  if (!document || Contains(document.Get())) return false;
  active_ = document.Get();
  entries_.push_back(Entry{std::move(document), std::move(history)});
  return true;
}

bool DocumentList::Remove(IHostDocument* document) {
  auto found = std::find_if(entries_.begin(), entries_.end(),
                            [&](const Entry& e) { return e.document.Get() == document; });
  if (found == entries_.end()) return false;
  Entry removed = std::move(*found);  // released once the list is consistent again
  entries_.erase(found);
  if (removed.history) removed.history->Clear();
  if (active_ == document) active_ = entries_.empty() ? nullptr : entries_.back().document.Get();
  return true;
}

bool DocumentList::SetActive(IHostDocument* document) {
  if (!Contains(document)) return false;
  active_ = document;
  return true;
}

ComPtr<IHostDocument> DocumentList::Active() const { return ComPtr<IHostDocument>(active_); }

ComPtr<UndoHistory> DocumentList::History(IHostDocument* document) const {
  const Entry* entry = Find(document);
  return entry ? entry->history : nullptr;
}

const DocumentList::Entry* DocumentList::Find(IHostDocument* document) const {
  if (!document) return nullptr;
  for (auto& entry : entries_)
    if (entry.document.Get() == document) return &entry;
  return nullptr;
}

}  // namespace zelta::app
