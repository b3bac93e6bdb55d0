// The frame of the host's bookmark operations: the parameter Cab, reading "Input" into a
// list of bookmarks of one document, and recording the operation's undo item.
#pragma once

#include <string>
#include <vector>

#include "host/bookmark.h"
#include "host/cab.h"
#include "host/document.h"
#include "host/operation.h"
#include "host/undo.h"

namespace zelta::app {

class HostBookmarkOperation : public ComObject<IHostOperation> {
 public:
  // The operation kind of the host's own operations (the plug-in's are 2).
  static constexpr int32_t kHostKind = 1;
  // Longest input read; a longer one is refused.
  static constexpr size_t kMaxInput = 1u << 22;

  HRESULT GetOperationId(Atom* id) override;
  HRESULT GetParams(ICab** params) override;
  HRESULT GetKind(int32_t* kind) override;
  // Reads the input, runs the operation and records its undo item. Failures leave the
  // document as it was.
  HRESULT Do(int32_t flags, intptr_t extra) override;
  // The host's operations have no dialog.
  HRESULT ShowDialog(WindowHandle owner, intptr_t extra) override;
  HRESULT GetObject(Atom id, IUnknown** object) override;

 protected:
  HostBookmarkOperation(Atom id, ComPtr<ICab> params) : id_(id), params_(std::move(params)) {}
  ~HostBookmarkOperation() override = default;

  // Runs on the input (not empty; every bookmark of `document`, none twice, no root). Makes
  // the change and its undo item; *undo stays null when nothing changed. On failure the
  // operation has put everything back.
  virtual HRESULT Apply(IHostDocument* document, const std::vector<ComPtr<IHostBookmark>>& input,
                        ICabItem* options, ComPtr<IUndoItem>* undo) = 0;
  // The bookmarks to report in "Output" (by default the input).
  virtual std::vector<ComPtr<IHostBookmark>> Outputs(
      const std::vector<ComPtr<IHostBookmark>>& input) {
    return input;
  }

 private:
  // The bookmarks of "Input": bookmarks and object lists of bookmarks, in order, once each.
  HRESULT ReadInput(std::vector<ComPtr<IHostBookmark>>* input, ComPtr<IHostDocument>* document);
  HRESULT WriteOutput(const std::vector<ComPtr<IHostBookmark>>& output);

  Atom id_;
  ComPtr<ICab> params_;
};

// Adds an undo item to the document's history: to its open change group, or (unless
// `flags` has kDoNoChangeGroup) as a step of its own labelled `label`.
HRESULT RecordUndoItem(IHostDocument* document, int32_t flags, std::u16string_view label,
                       IUndoItem* item);

}  // namespace zelta::app
