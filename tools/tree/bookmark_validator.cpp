#include "tools/tree/bookmark_validator.h"

#include <filesystem>

#include "host/validation.h"
#include "platform/locale_text.h"
#include "tools/tree/file_exists.h"
#include "tools/tree/link_check.h"

namespace bm {

using zelta::ComPtr;
using zelta::OwnedString;

namespace {

void RecordInvalid(std::u16string_view typeName, int32_t& warnings) {
  warnings |= zelta::kWarnInvalidAction | zelta::ActionTypeBitOf(typeName);
}

// The name of a destination given by name; empty for an explicit destination.
std::u16string DestinationName(zelta::IHostAction* action, bool* named) {
  *named = false;
  if (zelta::Failed(action->IsDestinationNamed(named)) || !*named) return {};
  OwnedString name;
  action->GetDestinationName(name.Put());
  return name.Str();
}

}  // namespace

BookmarkValidator::BookmarkValidator(zelta::IHostDocument* document, int32_t checks)
    : document_(document), checks_(checks) {
  if (!document_) return;
  if (zelta::Failed(document_->GetPageCount(&pageCount_))) pageCount_ = 0;
  OwnedString path;
  if (document_->GetFilePath(path.Put()) == zelta::S_OK && !path.Empty())
    folder_ = std::filesystem::path(platform::Utf16ToUtf8(path.View())).parent_path().string();
}

int32_t BookmarkValidator::Validate(zelta::IHostBookmark* bookmark) {
  if (!bookmark) return 0;
  int32_t warnings = 0;
  if (checks_ & zelta::kVbCheckEmptyTitle) {
    OwnedString title;
    if (zelta::Succeeded(bookmark->GetTitle(title.Put())) && title.Empty())
      warnings |= zelta::kWarnEmptyTitle;
  }

  ComPtr<zelta::IHostActionList> actions;
  int32_t count = 0;
  if (bookmark->GetActions(actions.Put()) != zelta::S_OK || !actions ||
      zelta::Failed(actions->GetCount(&count))) {
    if (checks_ & zelta::kVbCheckNoActions)
      warnings |= zelta::kWarnNoActions;
    else if (checks_ & zelta::kVbCheckMissingGoTo)
      warnings |= zelta::kWarnNoGoTo;
    return warnings;
  }
  // An empty list is one finding; that it lacks a go-to action follows from it.
  if (count == 0 && (checks_ & zelta::kVbCheckNoActions)) return warnings | zelta::kWarnNoActions;

  hasGoTo_ = false;
  for (int32_t i = 0; i < count; ++i) {
    ComPtr<zelta::IHostAction> action;
    if (actions->GetItem(i, action.Put()) != zelta::S_OK || !action) continue;
    ValidateAction(action.Get(), warnings);
  }
  if ((checks_ & zelta::kVbCheckMissingGoTo) && !hasGoTo_) warnings |= zelta::kWarnNoGoTo;
  return warnings;
}

void BookmarkValidator::ValidateAction(zelta::IHostAction* action, int32_t& warnings) {
  OwnedString typeName;
  action->GetTypeName(typeName.Put());
  int32_t type = zelta::kActionOther;
  if (zelta::Failed(action->GetType(&type))) type = zelta::kActionOther;

  switch (type) {
    case zelta::kActionGoTo:
      hasGoTo_ = true;
      if (checks_ & zelta::kVbCheckGoTo) CheckLocalDestination(action, warnings);
      break;
    case zelta::kActionGoToR:
    case zelta::kActionGoToE:
      if (checks_ & zelta::kVbCheckGoToRemote) CheckRemoteDestination(action, warnings);
      break;
    case zelta::kActionLaunch:
      if ((checks_ & zelta::kVbCheckLaunchUri) && !LaunchIsValid(action))
        RecordInvalid(typeName.View(), warnings);
      break;
    case zelta::kActionURI:
      if ((checks_ & zelta::kVbCheckLaunchUri) && !UriIsValid(action))
        RecordInvalid(typeName.View(), warnings);
      break;
    default:
      if ((checks_ & zelta::kVbCheckOther) && !OtherIsValid(action))
        RecordInvalid(typeName.View(), warnings);
      break;
  }
}

void BookmarkValidator::CheckLocalDestination(zelta::IHostAction* action, int32_t& warnings) {
  bool named = false;
  const std::u16string name = DestinationName(action, &named);
  if (named) {
    // A name that is missing, or whose destination no longer leads to a page, cannot work.
    zelta::PageDestination dest;
    if (name.empty() || !document_ ||
        document_->ResolveNamedDest(name.c_str(), static_cast<int32_t>(name.size()), &dest) !=
            zelta::S_OK)
      warnings |= zelta::kWarnUnknownDestName;
    return;
  }
  zelta::PageDestination dest;
  const bool found = action->GetExplicitDestination(&dest) == zelta::S_OK;
  // Unsigned, so that a page reference outside the document (-1) is out of range as well.
  if (!found || static_cast<uint32_t>(dest.page) >= static_cast<uint32_t>(pageCount_))
    warnings |= zelta::kWarnPageOutOfRange;
}

void BookmarkValidator::CheckRemoteDestination(zelta::IHostAction* action, int32_t& warnings) {
  bool named = false;
  const std::u16string name = DestinationName(action, &named);
  if (named) {
    if (name.empty()) warnings |= zelta::kWarnUnknownDestName;
  } else {
    zelta::PageDestination dest;
    if (action->GetExplicitDestination(&dest) != zelta::S_OK || dest.page < 0)
      warnings |= zelta::kWarnPageOutOfRange;
  }
  OwnedString file;
  if (action->GetFile(file.Put()) != zelta::S_OK || file.Empty())
    warnings |= zelta::kWarnNoTargetFile;
}

bool BookmarkValidator::LaunchIsValid(zelta::IHostAction* action) {
  // A file-reference dictionary may name an embedded or remote file: taken as it is.
  bool hasSpecification = false;
  if (zelta::Succeeded(action->HasFileSpecification(&hasSpecification)) && hasSpecification)
    return true;
  OwnedString file;
  if (action->GetFile(file.Put()) != zelta::S_OK || file.Empty()) return false;
  return !(checks_ & zelta::kVbVerifyFiles) || FileExists(file.View(), folder_);
}

bool BookmarkValidator::UriIsValid(zelta::IHostAction* action) {
  OwnedString uri;
  if (action->GetUri(uri.Put()) != zelta::S_OK || uri.Empty()) return false;
  return IsPossibleLink(uri.View());
}

bool BookmarkValidator::OtherIsValid(zelta::IHostAction* action) {
  bool valid = false;
  return zelta::Succeeded(action->IsValid(&valid)) && valid;
}

}  // namespace bm
