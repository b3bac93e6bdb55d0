// The name mask of Convert To Named Destinations: a title template with the macros that make
// sense for a destination name (Title, HierTitle, Level, IndexInPar, HierIndex, SeqNum, Page,
// Label), evaluated per converted bookmark.
#pragma once

#include <memory>
#include <string>

#include "host/app.h"
#include "host/bookmark.h"
#include "host/document.h"

namespace bm {

class BndNameMask {
 public:
  // app and document must outlive the mask.
  BndNameMask(zelta::IHostApp* app, zelta::IHostDocument* document, std::u16string mask);
  ~BndNameMask();

  // Parses the mask. E_OUTOFMEMORY when it cannot be held.
  zelta::HRESULT Prepare();
  // After Prepare: the warning about macro names the mask holds that are none (empty: none).
  std::u16string TakeUnknownMacroWarning();
  // The name the mask gives for the bookmark (the mask itself when it holds no macro). Each
  // call counts as the next bookmark of the run for %[SeqNum]. E_OUTOFMEMORY when the name
  // cannot be made.
  zelta::HRESULT NameFor(zelta::IHostBookmark* bookmark, std::u16string& name);

 private:
  struct Parsed;
  zelta::IHostApp* app_;
  zelta::IHostDocument* document_;
  std::u16string mask_;
  std::unique_ptr<Parsed> parsed_;
};

}  // namespace bm
