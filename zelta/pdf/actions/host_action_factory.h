// The document's action factory: new, free-standing action dictionaries (not yet in the
// file) wrapped as HostActions. The Make functions serve the action lists' Append calls too.
#pragma once

#include <string_view>

#include "host/action.h"
#include "zelta/pdf/actions/host_action.h"
#include "zelta/pdf/host_document.h"

namespace zelta::pdf {

class HostActionFactory final : public ComObject<IHostActionFactory> {
 public:
  explicit HostActionFactory(ComPtr<HostDocument> document) : document_(std::move(document)) {}

  // Each gives a new action in *action, or a failure (see IHostActionFactory).
  static HRESULT MakeGoTo(HostDocument* document, const PageDestination* dest,
                          ComPtr<HostAction>* action);
  static HRESULT MakeGoToNamed(HostDocument* document, std::u16string_view name,
                               ComPtr<HostAction>* action);
  static HRESULT MakeGoToRemote(HostDocument* document, std::u16string_view file,
                                const PageDestination* dest, ComPtr<HostAction>* action);
  static HRESULT MakeGoToRemoteNamed(HostDocument* document, std::u16string_view file,
                                     std::u16string_view name, ComPtr<HostAction>* action);
  static HRESULT MakeUri(HostDocument* document, std::u16string_view uri,
                         ComPtr<HostAction>* action);
  static HRESULT MakeLaunch(HostDocument* document, std::u16string_view file,
                            ComPtr<HostAction>* action);
  static HRESULT MakeJavaScript(HostDocument* document, std::u16string_view script,
                                ComPtr<HostAction>* action);

  HRESULT CreateGoTo(const PageDestination* dest, IHostAction** action) override;
  HRESULT CreateGoToNamed(const char16_t* name, int32_t length, IHostAction** action) override;
  HRESULT CreateGoToRemote(const char16_t* file, int32_t fileLength, const PageDestination* dest,
                           IHostAction** action) override;
  HRESULT CreateGoToRemoteNamed(const char16_t* file, int32_t fileLength, const char16_t* name,
                                int32_t nameLength, IHostAction** action) override;
  HRESULT CreateUri(const char16_t* uri, int32_t length, IHostAction** action) override;
  HRESULT CreateLaunch(const char16_t* file, int32_t length, IHostAction** action) override;
  HRESULT CreateJavaScript(const char16_t* script, int32_t length, IHostAction** action) override;

 private:
  ~HostActionFactory() override = default;

  ComPtr<HostDocument> document_;
};

}  // namespace zelta::pdf
