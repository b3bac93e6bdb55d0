// Writing actions into the PDF: copies of action dictionaries, file references, and an
// outline item's whole action list (/Dest, or /A with its /Next chain).
#pragma once

#include <string_view>
#include <vector>

#include "zelta/pdf/actions/host_action.h"
#include "zelta/pdf/mu_calls.h"

namespace zelta::pdf {

// A new direct dictionary with the entries of `dict` (values shared, not deep-copied),
// leaving out `skipKey` when it is not null.
HRESULT CopyDict(MuCalls& mu, pdf_obj* dict, const char* skipKey, MuObject* copy);

// A file reference: a plain string for ASCII names, otherwise a /Filespec dictionary
// with the UTF-8 bytes in /F and the text in /UF (readers that know /UF show the real name).
HRESULT NewFileSpec(MuCalls& mu, std::u16string_view file, MuObject* fileRef);

// Rewrites the actions of the outline item `item` from `actions`: one bare destination alone
// goes to /Dest; anything else becomes /A followed by a /Next chain of fresh indirect copies
// (the old objects are left to whoever else uses them). Afterwards every action views what
// was written. E_INVALIDARG for an incomplete action; on failure the item is unchanged.
HRESULT WriteItemActions(MuCalls& mu, pdf_obj* item,
                         const std::vector<ComPtr<HostAction>>& actions);

}  // namespace zelta::pdf
