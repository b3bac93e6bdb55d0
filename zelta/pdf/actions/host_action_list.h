// The ordered actions of an outline item or a link: its /Dest (as a GoTo action), then /A followed
// by its /Next chain, flattened depth-first. The chain is walked once, without recursion and with a
// visited set, so a looping /Next ends the list instead of hanging. The list is the caller's
// snapshot: editing it changes an item only when it is given back (SetActions).
#pragma once

#include <vector>

#include "host/action.h"
#include "zelta/pdf/actions/host_action.h"
#include "zelta/pdf/host_document.h"

namespace zelta::pdf {

class HostActionList final : public ComObject<IHostActionList> {
 public:
  // Longest action list read; longer chains are cut.
  static constexpr size_t kMaxActions = 10000;

  // The actions of outline item `key` (empty for the root).
  static ComPtr<HostActionList> ForItem(const ComPtr<HostDocument>& document, int key);
  // The actions of an outline item or annotation dictionary (empty for null).
  static ComPtr<HostActionList> ForDict(const ComPtr<HostDocument>& document, pdf_obj* item);
  // A new empty list of the document.
  static ComPtr<HostActionList> Empty(const ComPtr<HostDocument>& document);

  HRESULT GetCount(int32_t* count) override;
  HRESULT GetItem(int32_t index, IHostAction** action) override;
  HRESULT Append(IHostAction* action) override;
  HRESULT Insert(int32_t index, IHostAction* action) override;
  HRESULT RemoveAt(int32_t index) override;
  HRESULT Replace(int32_t index, IHostAction* action) override;
  HRESULT AppendGoTo(const PageDestination* dest, IHostAction** action) override;
  HRESULT AppendGoToNamed(const char16_t* name, int32_t length, IHostAction** action) override;
  HRESULT AppendGoToRemote(const char16_t* file, int32_t fileLength, const PageDestination* dest,
                           IHostAction** action) override;
  HRESULT AppendGoToRemoteNamed(const char16_t* file, int32_t fileLength, const char16_t* name,
                                int32_t nameLength, IHostAction** action) override;
  HRESULT AppendUri(const char16_t* uri, int32_t length, IHostAction** action) override;
  HRESULT AppendLaunch(const char16_t* file, int32_t length, IHostAction** action) override;
  HRESULT AppendJavaScript(const char16_t* script, int32_t length, IHostAction** action) override;

  HostDocument* Document() const { return document_.Get(); }
  const std::vector<ComPtr<HostAction>>& Actions() const { return actions_; }

 private:
  friend struct zelta::ComAccess;
  explicit HostActionList(ComPtr<HostDocument> document) : document_(std::move(document)) {}
  ~HostActionList() override = default;
  // The host action behind an interface pointer, when it is one of this document's.
  HostAction* Own(IHostAction* action) const;
  // Appends a freshly made action and hands it out (out may be null).
  HRESULT AppendMade(HRESULT made, ComPtr<HostAction>& action, IHostAction** out);

  ComPtr<HostDocument> document_;
  std::vector<ComPtr<HostAction>> actions_;
};

}  // namespace zelta::pdf
