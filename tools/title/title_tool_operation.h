// The run shared by the tools that rewrite titles (change case, find and replace, add text):
// each bookmark the tool lists is offered to its Rewrite; a changed title is set and recorded
// for one undo step, and a failure or a cancel puts back every title changed so far.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/bookmark_list_operation.h"
#include "tools/title/title_change_undo.h"

namespace bm {

class TitleToolOperation : public BookmarkListOperation {
 public:
  using BookmarkListOperation::BookmarkListOperation;

 protected:
  using Offer = std::function<zelta::HRESULT(zelta::IHostBookmark*)>;

  // What the tool makes of one title: *title comes in as a copy of `original`; S_OK when the
  // tool changed it, S_FALSE when the bookmark keeps its title (a tool that cannot handle one
  // title marks a problem and returns S_FALSE), a failure to end the run.
  virtual zelta::HRESULT Rewrite(zelta::IHostBookmark* bookmark, std::u16string_view original,
                                 std::u16string* title) = 0;

  // Ends the run (after the progress window and change group were opened): `walk` hands every
  // bookmark of the run, `total` of them, to the offer it is given, and stops at its first
  // failure.
  zelta::HRESULT RewriteTitles(uint32_t total,
                               const std::function<zelta::HRESULT(const Offer&)>& walk);
  // The same over the bookmarks the list gives (CountListed, VisitListed).
  zelta::HRESULT RewriteListedTitles();
  // Ends the run because the title `original` would pass kMaxTitleLength.
  zelta::HRESULT FailOnLongTitle(std::u16string_view original);

 private:
  zelta::HRESULT OfferTitle(zelta::IHostBookmark* bookmark, TitleChangeUndo& undo,
                            std::vector<zelta::IUnknown*>& changed);
};

}  // namespace bm
