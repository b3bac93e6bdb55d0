#include "zelta/ui/property_sheet.h"

#include <algorithm>

#include "zelta/ui/dialog_engine.h"

namespace zelta::ui {

namespace {

constexpr int32_t kFixedArea = 40;
constexpr int32_t kButtonWidth = 70, kButtonHeight = 20, kMargin = 10;

DialogLayout FrameLayout(const std::u16string& id, const std::u16string& title,
                         const std::vector<ComPtr<Dialog>>& pages) {
  DialogLayout layout;
  layout.id = id;
  layout.title = title;
  for (const auto& page : pages) {
    layout.width = std::max(layout.width, page->Layout().width);
    layout.height = std::max(layout.height, page->Layout().height);
  }
  layout.width = std::max(layout.width, 2 * kButtonWidth + 3 * kMargin);
  layout.height += kFixedArea;
  layout.fixedArea = kFixedArea;
  layout.defaultButton = u"btn.ok";
  const int32_t y = layout.height - kFixedArea + (kFixedArea - kButtonHeight) / 2;
  int32_t x = layout.width - 2 * (kButtonWidth + kMargin);
  for (const char16_t* button : {u"btn.ok", u"btn.cancel"}) {
    LayoutControl control;
    control.kind = kControlButton;
    control.id = button;
    control.text = std::u16string(u"$$$.") + button;
    control.x = x;
    control.y = y;
    control.width = kButtonWidth;
    control.height = kButtonHeight;
    control.fixed = true;
    layout.controls.push_back(std::move(control));
    x += kButtonWidth + kMargin;
  }
  return layout;
}

}  // namespace

// The frame's handler: its OK asks the pages, its Cancel tells them.
class PropertySheet::FrameHandler : public ComObject<IDialogHandler> {
 public:
  explicit FrameHandler(PropertySheet* sheet) : sheet_(sheet) {}
  HRESULT GetTypeInfoCount(uint32_t* count) override {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  HRESULT OnMessage(IHostDialog*, IDialogMessage* message, int32_t* result) override {
    if (result) *result = 1;
    int32_t code = 0;
    if (!message || !sheet_) return S_OK;
    message->GetCode(&code);
    if (code == kDialogOk) {
      sheet_->Ok();
      message->SetHandled();
    } else if (code == kDialogCancel) {
      sheet_->Cancel();
    } else if (code == kDialogDestroy) {
      sheet_ = nullptr;
    }
    return S_OK;
  }

 private:
  PropertySheet* sheet_;
};

PropertySheet::PropertySheet(DialogEngine* engine, const std::u16string& id,
                             const std::u16string& title, WindowHandle owner, WindowHandle window,
                             std::vector<ComPtr<Dialog>> pages)
    : pages_(std::move(pages)) {
  auto handler = MakeCom<FrameHandler>(this);
  frame_ = MakeCom<Dialog>(engine, FrameLayout(id, title, pages_), owner, handler.Get(), window);
  for (const auto& page : pages_) page->SetSheetFrame(frame_.Get());
}

PropertySheet::~PropertySheet() { Close(); }

void PropertySheet::Open(int32_t startPage) {
  frame_->Show(true);
  for (const auto& page : pages_) page->Show(true);
  SelectPage(startPage);
}

bool PropertySheet::SelectPage(int32_t index) {
  if (index < 0 || index >= static_cast<int32_t>(pages_.size())) return false;
  active_ = index;
  pages_[static_cast<size_t>(index)]->Dispatch(kDialogActivated, nullptr, 0);
  return true;
}

void PropertySheet::Ok() {
  for (size_t i = 0; i < pages_.size(); ++i) {
    Dialog& page = *pages_[i];
    page.Dispatch(kDialogOk, nullptr, 0);
    if (page.Result() != kDialogResultOk) {
      // A refusal: the sheet stays open on that page, and every page is live again.
      for (const auto& other : pages_) other->Resume();
      SelectPage(static_cast<int32_t>(i));
      return;
    }
  }
  frame_->EndDialog(kDialogResultOk);
}

void PropertySheet::Cancel() {
  for (const auto& page : pages_)
    if (!page->Result()) page->Dispatch(kDialogCancel, nullptr, 0);
}

void PropertySheet::Close() {
  for (const auto& page : pages_) {
    page->Destroy();
    page->SetSheetFrame(nullptr);
  }
  if (frame_) frame_->Destroy();
}

}  // namespace zelta::ui
