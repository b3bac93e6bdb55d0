#include "tools/title/title_tool_operation.h"

#include "support/title_limit.h"

namespace bm {

using zelta::ComPtr;
using zelta::HRESULT;
using zelta::IHostBookmark;

HRESULT TitleToolOperation::RewriteTitles(uint32_t total,
                                          const std::function<HRESULT(const Offer&)>& walk) {
  if (total == 0) return FinishRun(zelta::S_OK, {});
  StartProgress(total);

  auto undo = zelta::MakeCom<TitleChangeUndo>();
  HRESULT hr = undo->Reserve(total);
  if (zelta::Failed(hr)) return FinishRun(hr, {});
  std::vector<zelta::IUnknown*> changed;  // kept alive by the undo record
  hr = walk([&](IHostBookmark* bookmark) { return OfferTitle(bookmark, *undo, changed); });

  if (zelta::Failed(hr)) {
    // Cancelled or failed: every title changed so far gets its old title back.
    undo->Undo();
    return FinishRun(hr, {});
  }
  if (!NothingChanged() && ChangeGroup()) {
    hr = ChangeGroup()->AddItem(undo.Get());
    if (zelta::Failed(hr)) {
      undo->Undo();
      return FinishRun(hr, {});
    }
  }
  return FinishRun(zelta::S_OK, changed);
}

HRESULT TitleToolOperation::RewriteListedTitles() {
  ComPtr<IHostBookmark> root;
  uint32_t total = 0;
  HRESULT hr = CountListed(&root, &total);
  if (zelta::Failed(hr)) return FinishRun(hr, {});
  return RewriteTitles(total, [&](const Offer& offer) { return VisitListed(root.Get(), offer); });
}

HRESULT TitleToolOperation::FailOnLongTitle(std::u16string_view original) {
  ReportFailureDetail(TitleTooLongText(original));
  return zelta::E_INVALIDARG;
}

HRESULT TitleToolOperation::OfferTitle(IHostBookmark* bookmark, TitleChangeUndo& undo,
                                       std::vector<zelta::IUnknown*>& changed) {
  zelta::OwnedString title;
  if (zelta::Failed(bookmark->GetTitle(title.Put()))) {
    MarkProblem();
    return zelta::S_OK;
  }
  HRESULT hr = StepProgress(title.View());
  if (zelta::Failed(hr)) return hr;

  std::u16string newTitle = title.Str();
  hr = Rewrite(bookmark, title.View(), &newTitle);
  if (hr != zelta::S_OK) return zelta::Failed(hr) ? hr : zelta::S_OK;
  if (newTitle.size() > kMaxTitleLength) return FailOnLongTitle(title.View());

  hr = undo.Add(bookmark, title.View(), newTitle);
  if (zelta::Failed(hr)) return hr;
  if (zelta::Failed(bookmark->SetTitle(newTitle.c_str(), static_cast<int32_t>(newTitle.size())))) {
    MarkProblem();
    return zelta::S_OK;
  }
  MarkChanged();
  changed.push_back(bookmark);
  return zelta::S_OK;
}

}  // namespace bm
