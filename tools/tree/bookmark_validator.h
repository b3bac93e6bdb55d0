// The checks of bookmark validation over one document: what is wrong with a bookmark, as the
// warning bits of host/validation.h. It only reads the document.
#pragma once

#include <cstdint>
#include <string>

#include "host/action.h"
#include "host/bookmark.h"
#include "host/document.h"

namespace bm {

class BookmarkValidator {
 public:
  // checks: the VBOptions Flags. The document must outlive the validator.
  BookmarkValidator(zelta::IHostDocument* document, int32_t checks);

  // The warning bits of one bookmark; 0 when it is valid under the enabled checks.
  int32_t Validate(zelta::IHostBookmark* bookmark);

 private:
  // Adds the warning bits of one action; sets hasGoTo_ for a "GoTo" action.
  void ValidateAction(zelta::IHostAction* action, int32_t& warnings);
  // Local "GoTo": a named destination must resolve to a page of the document, an explicit one
  // must name one of its pages.
  void CheckLocalDestination(zelta::IHostAction* action, int32_t& warnings);
  // "GoToR" and "GoToE": the destination lies in another file, so only what can be known
  // here is checked: a destination is given (a name, or a page index that is not negative),
  // and so is the file.
  void CheckRemoteDestination(zelta::IHostAction* action, int32_t& warnings);
  bool LaunchIsValid(zelta::IHostAction* action);
  bool UriIsValid(zelta::IHostAction* action);
  // Any other type: the host's own well-formedness answer.
  bool OtherIsValid(zelta::IHostAction* action);

  zelta::IHostDocument* document_;
  int32_t checks_;
  int32_t pageCount_ = 0;
  std::string folder_;  // the document's folder, for launched files given relatively
  bool hasGoTo_ = false;
};

}  // namespace bm
