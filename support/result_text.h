// Texts of result codes for the plug-in's messages, as the host describes them.
#pragma once

#include <string>

#include "host/app.h"
#include "host/results.h"

namespace bm::support {

// The host's result-text service; null when the host has none.
zelta::ComPtr<zelta::IResultTexts> ResultTexts(zelta::IHostApp* app);

// The long text of a code ("Error [Bookmarks]: No permissions for this operation."); without
// the host's service, "Error 0x%08X." so that a failure is never shown without its code.
std::u16string DescribeResult(zelta::IHostApp* app, zelta::HRESULT code);

}  // namespace bm::support
