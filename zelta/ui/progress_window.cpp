#include "zelta/ui/progress_window.h"

#include <algorithm>

#include "zelta/base/text_codec.h"

namespace zelta::ui {
namespace {

constexpr size_t kLineWidth = 79;
constexpr int kBarWidth = 20;
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

// Titles come from documents: keep control characters off the terminal.
std::u16string Printable(std::u16string_view text) {
  std::u16string clean(text);
  for (auto& c : clean)
    if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0)) c = u' ';
  return clean;
}

}  // namespace

ProgressWindow::~ProgressWindow() { Close(); }

bool ProgressWindow::Use() {
  if (closed_) return false;
  if (!guard_) guard_ = std::make_unique<SigintGuard>();
  return true;
}

HRESULT ProgressWindow::SetTitle(const char16_t* title, int32_t length) {
  if (!Use()) return S_FALSE;
  title_ = Printable(InString(title, length));
  Draw(true);
  return S_OK;
}

HRESULT ProgressWindow::SetStyle(int32_t style, int32_t mask) {
  if (!Use()) return S_FALSE;
  style_ = (style_ & ~mask) | (style & mask);
  return S_OK;
}

HRESULT ProgressWindow::Reset() {
  if (!Use()) return S_FALSE;
  range_ = position_ = 0;
  text_.clear();
  status_.clear();
  Draw(true);
  return S_OK;
}

HRESULT ProgressWindow::SetRange(uint32_t range) {
  if (!Use()) return S_FALSE;
  range_ = range;
  Draw(false);
  return S_OK;
}

HRESULT ProgressWindow::SetPosition(uint32_t position) {
  if (!Use()) return S_FALSE;
  position_ = position;
  Draw(false);
  return S_OK;
}

HRESULT ProgressWindow::SetText(const char16_t* text, int32_t length) {
  if (!Use()) return S_FALSE;
  text_ = Printable(InString(text, length));
  Draw(false);
  return S_OK;
}

HRESULT ProgressWindow::SetStatusText(const char16_t* text, int32_t length) {
  if (!Use()) return S_FALSE;
  status_ = Printable(InString(text, length));
  Draw(false);
  return S_OK;
}

HRESULT ProgressWindow::IsCancelled(bool* cancelled) {
  if (!cancelled) return E_POINTER;
  if (!closed_) {
    if (guard_ && SigintGuard::Interrupted()) cancelled_ = true;
    if (options_.cancelAt && position_ >= *options_.cancelAt) cancelled_ = true;
  }
  *cancelled = cancelled_;
  return S_OK;
}

HRESULT ProgressWindow::Close() {
  if (closed_) return S_FALSE;
  // Take a pending Ctrl-C before the handler goes, so a late IsCancelled still sees it.
  if (guard_ && SigintGuard::Interrupted()) cancelled_ = true;
  closed_ = true;
  guard_.reset();
  if (drawn_ && options_.terminal) {
    std::fputs("\n", options_.terminal);
    std::fflush(options_.terminal);
  }
  return S_OK;
}

void ProgressWindow::Draw(bool force) {
  if (!options_.terminal) return;
  int percent =
      range_ ? static_cast<int>(std::min<uint64_t>(100, uint64_t{position_} * 100 / range_)) : 0;
  auto now = std::chrono::steady_clock::now();
  if (!force && percent == lastPercent_ && now - lastDraw_ < kRedrawInterval) return;
  lastPercent_ = percent;
  lastDraw_ = now;

  int filled = percent * kBarWidth / 100;
  std::u16string line =
      u"[" + std::u16string(filled, u'#') + std::u16string(kBarWidth - filled, u'.') + u"] ";
  std::string number = std::to_string(percent) + "% ";
  line += std::u16string(number.begin(), number.end());
  line += status_.empty() ? text_ : status_;
  // The text carries the progress (a page number, an item); the title gives way to it when
  // the line is full.
  if (!title_.empty()) {
    const size_t room = kLineWidth > line.size() + 1 ? kLineWidth - line.size() - 1 : 0;
    if (room >= title_.size())
      line = title_ + u" " + line;
    else if (room > 4)
      line = title_.substr(0, title_.find_last_not_of(u' ', room - 4) + 1) + u"... " + line;
  }
  if (line.size() > kLineWidth) {
    line.resize(kLineWidth);
    if (line.back() >= 0xD800 && line.back() <= 0xDBFF) line.pop_back();  // half a pair
  }
  // \r and "erase to end of line" keep the bar on one line.
  std::fputs(("\r\x1b[K" + base::LossyUtf8(line)).c_str(), options_.terminal);
  std::fflush(options_.terminal);
  drawn_ = true;
}

}  // namespace zelta::ui
