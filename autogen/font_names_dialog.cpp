#include "autogen/font_names_dialog.h"

#include <algorithm>
#include <map>
#include <mutex>

#include "autogen/level_node.h"
#include "framework/host_strings.h"
#include "host/page_text.h"
#include "platform/locale_text.h"

namespace bm {

using zelta::HRESULT;

namespace {

constexpr std::u16string_view kList = u"fn.list";
constexpr std::u16string_view kFilter = u"fn.e.mask";
constexpr std::u16string_view kProgress = u"fn.progress";
constexpr std::u16string_view kCount = u"fn.l.fontsCount";

struct NoCase {
  bool operator()(const std::u16string& a, const std::u16string& b) const {
    return platform::CompareText(a, b, true) < 0;
  }
};

}  // namespace

// What the enumeration, which may report from a thread of the host's, hands the dialog. Only
// ever touched under the lock.
struct FontNamesDialog::Shared {
  std::mutex lock;
  std::vector<std::u16string> pending;  // new names not yet taken over
  int32_t done = 0, total = 0;
  bool stop = false;  // the dialog has ended
};

// The enumeration's sink: every font name once (case aside), with the ids that carry it.
class FontNamesDialog::Gatherer : public zelta::ComObject<zelta::IFontEnumerationSink> {
 public:
  explicit Gatherer(std::shared_ptr<Shared> shared) : shared_(std::move(shared)) {}

  HRESULT OnFont(uint32_t fontId, const char16_t* name, int32_t length) override {
    if (!name || length <= 0) return zelta::S_OK;
    auto [entry, added] = fonts_.try_emplace(std::u16string(name, static_cast<size_t>(length)));
    entry->second.push_back(fontId);
    if (added) batch_.push_back(entry->first);
    return zelta::S_OK;
  }
  HRESULT OnProgress(int32_t done, int32_t total) override {
    // New names go over once per step, not one lock per font.
    std::lock_guard<std::mutex> hold(shared_->lock);
    shared_->pending.insert(shared_->pending.end(), batch_.begin(), batch_.end());
    batch_.clear();
    shared_->done = done;
    shared_->total = total;
    return shared_->stop ? zelta::S_FALSE : zelta::S_OK;
  }

 private:
  std::shared_ptr<Shared> shared_;
  std::map<std::u16string, std::vector<uint32_t>, NoCase> fonts_;
  std::vector<std::u16string> batch_;
};

FontNamesDialog::FontNamesDialog(PluginContext* plugin, zelta::IHostDocument* document)
    : DialogBase(plugin, u"DlgFontNames", nullptr, document), shared_(std::make_shared<Shared>()) {
  OnControlEvent(kFilter, [this] { ShowNames(); });
}

void FontNamesDialog::OnInit() {
  if (Dialog()) Dialog()->SetTimer(kTimerId, kTimerPeriodMs);
  SetRange(kProgress, 0, 1, 1);
  ShowNames();
  auto service =
      GetHostComponent<zelta::IPageTextService>(Plugin() ? Plugin()->App() : nullptr, "ZLT");
  if (!service || !Document()) return;
  auto gatherer = zelta::MakeCom<Gatherer>(shared_);
  service->EnumerateFonts(Document(), gatherer.Get());
}

void FontNamesDialog::OnTimer(intptr_t id) {
  if (static_cast<uint32_t>(id) != kTimerId) return;
  std::vector<std::u16string> taken;
  int32_t done = 0, total = 0;
  {
    std::lock_guard<std::mutex> hold(shared_->lock);
    taken.swap(shared_->pending);
    done = shared_->done;
    total = shared_->total;
  }
  if (auto progress = Control(kProgress)) {
    progress->SetRange(0, std::max(total, 1), 1);
    progress->SetState(done);
  }
  if (taken.empty()) return;
  names_.insert(names_.end(), taken.begin(), taken.end());
  SortFontNames(names_);
  ShowNames();
}

void FontNamesDialog::ShowNames() {
  // The entries chosen so far stay chosen when the filter changes.
  std::vector<std::u16string> chosen;
  for (int32_t index : SelectedEntries(kList))
    if (index < static_cast<int32_t>(shown_.size())) chosen.push_back(shown_[index]);
  const std::u16string filter = Text(kFilter);
  shown_.clear();
  for (const auto& name : names_)
    if (filter.empty() || platform::FindIgnoreCase(name, filter) != std::u16string::npos)
      shown_.push_back(name);
  SetEntries(kList, shown_);
  if (auto list = Control(kList))
    for (size_t i = 0; i < shown_.size(); ++i)
      if (std::find(chosen.begin(), chosen.end(), shown_[i]) != chosen.end())
        list->SelectItem(static_cast<int32_t>(i), true);
  SetText(kCount, LoadString(u"DocProps.L.FontsCount") + u" " + NumberText(names_.size()));
}

void FontNamesDialog::OnDestroy() {
  std::lock_guard<std::mutex> hold(shared_->lock);
  shared_->stop = true;
}

bool FontNamesDialog::Store() {
  chosen_.clear();
  for (int32_t index : SelectedEntries(kList))
    if (index < static_cast<int32_t>(shown_.size())) chosen_.push_back(shown_[index]);
  SortFontNames(chosen_);
  return true;
}

}  // namespace bm
