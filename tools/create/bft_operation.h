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
  BFTOperation(PluginContext* plugin, const OperationRow& row);

  zelta::HRESULT Run(int32_t flags, intptr_t extra) override;

 protected:
  zelta::HRESULT ReadInputs() override { return ReadDocumentInput(); }
};

}  // namespace bm
