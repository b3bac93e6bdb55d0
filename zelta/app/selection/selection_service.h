// The selection service (component "ZLK"): each document's named selections, as the user
// (here: the program driving the host) made them.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "host/selection.h"

namespace zelta::app {

class SelectionService : public ComObject<ISelectionService> {
 public:
  SelectionService();

  // Bookmarks deleted from the outline since they were selected are left out, as a viewer
  // deselects what it no longer shows. E_INVALIDARG for a null document.
  HRESULT GetSelection(IHostDocument* document, Atom selection, IHostSelection** out) override;
  HRESULT GetTextSelection(IHostDocument* document, IUnknown** out) override;
  HRESULT Select(IHostDocument* document, Atom selection, IUnknown* const* items,
                 int32_t count) override;

  // Replaces a document's named selection; an empty list clears it. The items of
  // "selection.bookmarks" must be bookmarks of that document (E_INVALIDARG otherwise, and the
  // selection is left as it was); "selection.text" holds at most one object.
  HRESULT SetSelection(IHostDocument* document, Atom selection, std::vector<ComPtr<IUnknown>> items,
                       std::string* error = nullptr);
  // Forgets every selection of a document (when it closes).
  void ClearDocument(IHostDocument* document);
  // Whether anyone asked for a selection of that name since the service was made: a front-end
  // learns from it that a selection it set was never read, and says so.
  bool WasAsked(Atom selection) const { return asked_.contains(selection); }

 private:
  struct Entry {
    ComPtr<IHostDocument> document;  // keeps the key's object alive
    std::map<Atom, std::vector<ComPtr<IUnknown>>> selections;
  };
  std::vector<ComPtr<IUnknown>> Live(Atom selection,
                                     const std::vector<ComPtr<IUnknown>>& items) const;

  Atom bookmarks_;
  Atom text_;
  std::map<IHostDocument*, Entry> documents_;
  std::set<Atom> asked_;
};

}  // namespace zelta::app
