// Generate Bookmarks From Text File: reads a bookmark text file (one bookmark a line,
// indentation for nesting, fields for style, colour, open state and actions) and appends the
// tree after the existing top-level bookmarks. One undo step; a failed or cancelled run
// takes out everything it made.
#pragma once

#include "framework/bookmark_operation.h"

namespace bm {

// The largest bookmark text file a run reads.
inline constexpr size_t kMaxBookmarkFileSize = size_t{16} << 20;

class BFTOperation : public BookmarkOperation {
 public:
  explicit BFTOperation(PluginContext* plugin);

  zelta::Atom OperationAtom() const override;
  std::u16string_view Abbreviation() const override { return u"BFT"; }
  zelta::HRESULT Run(int32_t flags, intptr_t extra) override;
  // The dialog over a working copy of the options.
  zelta::HRESULT ShowDialog(zelta::WindowHandle owner, intptr_t extra) override;

 protected:
  zelta::HRESULT ReadInputs() override { return ReadDocumentInput(); }
};

}  // namespace bm
