// The undo record of content appended to a page: the page's /Contents and /Resources before
// and after, and, when the content went into a stream of the host's own, that stream's
// length before and the bytes added.
#pragma once

#include <string>

#include "host/undo.h"
#include "zelta/pdf/host_document.h"
#include "zelta/pdf/mu_object.h"

namespace zelta::pdf {

class ContentUndo final : public ComObject<IUndoItem> {
 public:
  struct Entries {
    MuObject contents, resources;  // null: the page had none
  };

  ContentUndo(ComPtr<HostDocument> document, MuObject page, Entries before, Entries after,
              int stream, size_t streamLength, std::string added)
      : document_(std::move(document)),
        page_(std::move(page)),
        before_(std::move(before)),
        after_(std::move(after)),
        stream_(stream),
        streamLength_(streamLength),
        added_(std::move(added)) {}

  HRESULT Undo() override;
  HRESULT Redo() override;

 private:
  ~ContentUndo() override = default;
  HRESULT Apply(const Entries& entries);

  ComPtr<HostDocument> document_;
  MuObject page_;
  Entries before_, after_;
  int stream_;  // 0 when the content went into a new stream
  size_t streamLength_;
  std::string added_;
};

}  // namespace zelta::pdf
