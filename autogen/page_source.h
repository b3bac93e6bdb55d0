// The pages a generation run reads: the page-index list that the host makes from the
// "PagesRange" options, their text through the host's prefetching reader (the next pages
// are prepared on the host's second thread while this one scans), and the names of the fonts
// the text uses.
#pragma once

#include <string>
#include <vector>

#include "autogen/level_matcher.h"
#include "host/app.h"
#include "host/cab.h"
#include "host/document.h"
#include "host/page_text.h"

namespace bm {

class PageSource : public FontNameSource {
 public:
  PageSource(zelta::IHostApp* app, zelta::IHostDocument* document);

  // Makes the page list from a "PagesRange" dictionary. E_FAIL when the host lacks the
  // services; the host's error (E_INVALIDARG, with *error naming the bad input) for a range
  // that does not fit the document.
  zelta::HRESULT SelectPages(zelta::ICabItem* pagesRange, std::u16string* error);
  size_t Count() const { return pages_.size(); }
  const std::vector<int32_t>& Pages() const { return pages_; }

  // Starts reading the selected pages in order, the host preparing up to `window` pages ahead
  // (negative: the host's default).
  zelta::HRESULT Open(int32_t window = -1);
  // The next page and its text: S_OK, S_FALSE after the last page, or the failure of a page
  // whose text cannot be had (the run ends on it).
  zelta::HRESULT Next(int32_t* page, zelta::ComPtr<zelta::IHostPageText>* text);
  // Stops reading (the host drops the pages it prepared ahead).
  void Close() { reader_.Reset(); }

  bool FontName(uint32_t fontId, std::u16string* name) override;

 private:
  zelta::ComPtr<zelta::IHostApp> app_;
  zelta::ComPtr<zelta::IHostDocument> document_;
  zelta::ComPtr<zelta::IPageTextService> text_;
  zelta::ComPtr<zelta::IHostPageTextReader> reader_;
  std::vector<int32_t> pages_;
};

// The page text service of the host ("ZLT"); null when it has none.
zelta::ComPtr<zelta::IPageTextService> PageTextService(zelta::IHostApp* app);

}  // namespace bm
