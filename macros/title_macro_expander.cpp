#include "macros/title_macro_expander.h"

#include <algorithm>
#include <new>

#include "host/page_text.h"
#include "macros/first_line.h"

namespace bm {

using zelta::ComPtr;
using zelta::HRESULT;
using zelta::IHostBookmark;

namespace {

// Decimal with at least `width` digits ("%0*d").
std::u16string Padded(int64_t value, int width) {
  std::string digits = std::to_string(value < 0 ? -value : value);
  if (static_cast<int>(digits.size()) < width)
    digits.insert(0, static_cast<size_t>(width) - digits.size(), '0');
  if (value < 0) digits.insert(0, 1, '-');
  return std::u16string(digits.begin(), digits.end());
}

constexpr int kMaxPagesCountWidth = 12;

}  // namespace

void TitleMacroExpander::Handler::Evaluate(std::u16string_view parameter, bool hasParameter,
                                           std::u16string& output) const {
  if (owner_) owner_->Evaluate(id_, parameter, hasParameter, output);
}

TitleMacroExpander::TitleMacroExpander(zelta::IHostApp* app, zelta::IHostDocument* document,
                                       platform::EnvironmentSources environment)
    : app_(app),
      document_(document),
      environment_(std::move(environment)),
      clock_(platform::CurrentDateTime) {
  for (const MacroInfo& macro : Macros())
    handlers_[static_cast<size_t>(macro.id)] = Handler(this, macro.id);
}

HRESULT TitleMacroExpander::RegisterMacros(TitleTemplate& titleTemplate, uint32_t mask) {
  offered_ = mask;
  for (const MacroInfo& macro : Macros())
    if (mask & macro.bit)
      titleTemplate.Register(macro.name, &handlers_[static_cast<size_t>(macro.id)]);
  return zelta::S_OK;
}

HRESULT TitleMacroExpander::ParseTemplate(TitleTemplate& titleTemplate, std::u16string_view text) {
  HRESULT hr = titleTemplate.Parse(text);
  if (zelta::Failed(hr)) return hr;
  for (const TitleTemplate::Token& token : titleTemplate.Tokens()) {
    if (!token.IsMacro()) continue;
    titleTemplate.SetHasMacros(true);
    std::optional<MacroId> id = FindMacro(token.name);
    const bool offered =
        id && (offered_ & Macros()[static_cast<size_t>(*id)].bit) != 0 && token.handler;
    if (!offered && std::none_of(unknown_.begin(), unknown_.end(), [&](const std::u16string& n) {
          return SameMacroName(n, token.name);
        }))
      unknown_.push_back(token.name);
    if (!id) continue;
    used_[static_cast<size_t>(*id)] = true;
    // Date and Time share one flag: either needs the clock.
    if (*id == MacroId::kDate || *id == MacroId::kTime) {
      used_[static_cast<size_t>(MacroId::kDate)] = true;
      used_[static_cast<size_t>(MacroId::kTime)] = true;
    }
  }
  return zelta::S_OK;
}

std::u16string TitleMacroExpander::TakeUnknownMacroWarning() {
  if (unknown_.empty()) return {};
  std::u16string text = unknown_.size() == 1 ? u"Unknown title macro " : u"Unknown title macros ";
  for (size_t i = 0; i < unknown_.size(); ++i) text += (i ? u", %[" : u"%[") + unknown_[i] + u"]";
  text += unknown_.size() == 1 ? u": it gives an empty text. " : u": they give an empty text. ";
  text += u"The macros here are";
  bool first = true;
  for (const MacroInfo& macro : Macros()) {
    if (!(offered_ & macro.bit)) continue;
    text += (first ? u" %[" : u", %[") + std::u16string(macro.name) + u"]";
    first = false;
  }
  text += u".";
  unknown_.clear();
  return text;
}

void TitleMacroExpander::Reset() {
  sequence_ = -1;
  pageCount_ = 0;
}

void TitleMacroExpander::LoadDocumentValues() {
  pageCount_ = 0;
  docTitle_.clear();
  if (!document_) return;
  if (zelta::Failed(document_->GetPageCount(&pageCount_))) pageCount_ = 0;
  zelta::OwnedString title;
  if (document_->GetInfoTitle(title.Put()) == zelta::S_OK) docTitle_ = title.Str();
}

HRESULT TitleMacroExpander::SetBookmark(IHostBookmark* bookmark) {
  if (!bookmark) return zelta::E_POINTER;
  ++sequence_;
  if (Uses(MacroId::kLevel) || Uses(MacroId::kIndexInPar) || Uses(MacroId::kHierIndex)) {
    HRESULT hr = positions_.Find(bookmark, position_);
    if (hr == zelta::E_OUTOFMEMORY) return hr;
    if (zelta::Failed(hr)) position_ = {};
  }
  if (Uses(MacroId::kPage) || Uses(MacroId::kLabel) || Uses(MacroId::kFirstLine) ||
      Uses(MacroId::kDest) || Uses(MacroId::kURI) || Uses(MacroId::kFile))
    LoadActionValues(bookmark);
  if (Uses(MacroId::kTitle) || Uses(MacroId::kHierTitle)) LoadTitles(bookmark);
  return zelta::S_OK;
}

void TitleMacroExpander::LoadActionValues(IHostBookmark* bookmark) {
  page_ = -1;
  label_.clear();
  dest_.clear();
  uri_.clear();
  file_.clear();
  const bool needPage = Uses(MacroId::kPage) || Uses(MacroId::kLabel) || Uses(MacroId::kFirstLine);
  bool pageFound = !needPage, destFound = !Uses(MacroId::kDest);
  bool uriFound = !Uses(MacroId::kURI), fileFound = !Uses(MacroId::kFile);

  ComPtr<zelta::IHostActionList> actions;
  int32_t count = 0;
  if (bookmark->GetActions(actions.Put()) != zelta::S_OK || !actions ||
      zelta::Failed(actions->GetCount(&count)))
    count = 0;
  // From the last action to the first, until every value a template needs is found.
  for (int32_t i = count - 1; i >= 0 && !(pageFound && destFound && uriFound && fileFound); --i) {
    ComPtr<zelta::IHostAction> action;
    if (actions->GetItem(i, action.Put()) != zelta::S_OK || !action) continue;
    int32_t type = zelta::kActionOther;
    if (zelta::Failed(action->GetType(&type))) continue;
    if (type == zelta::kActionGoTo) {
      if (!pageFound) {
        zelta::PageDestination dest;
        if (action->GetDestination(&dest) == zelta::S_OK && dest.page >= 0) {
          page_ = dest.page;
          pageFound = true;
        }
      }
      if (!destFound) {
        zelta::OwnedString name;
        if (action->GetDestinationName(name.Put()) == zelta::S_OK && !name.Empty()) {
          dest_ = name.Str();
          destFound = true;
        }
      }
    } else if (type == zelta::kActionURI && !uriFound) {
      zelta::OwnedString uri;
      if (action->GetUri(uri.Put()) == zelta::S_OK) {
        uri_ = uri.Str();
        uriFound = true;
      }
    } else if (type == zelta::kActionLaunch && !fileFound) {
      zelta::OwnedString file;
      if (action->GetFile(file.Put()) == zelta::S_OK) {
        file_ = file.Str();
        fileFound = true;
      }
    }
  }
  if (page_ >= 0 && Uses(MacroId::kLabel) && document_) {
    zelta::OwnedString label;
    if (document_->GetPageLabel(page_, label.Put()) == zelta::S_OK) label_ = label.Str();
  }
}

void TitleMacroExpander::LoadTitles(IHostBookmark* bookmark) {
  titles_.clear();
  ComPtr<IHostBookmark> current(bookmark);
  while (current) {
    bool root = false;
    if (zelta::Failed(current->IsRoot(&root)) || root) break;
    zelta::OwnedString title;
    current->GetTitle(title.Put());
    titles_.push_back(title.Str());
    // Only HierTitle needs the ancestors.
    if (!Uses(MacroId::kHierTitle)) break;
    ComPtr<IHostBookmark> parent;
    if (current->GetParent(parent.Put()) != zelta::S_OK) break;
    current = parent;
  }
  std::reverse(titles_.begin(), titles_.end());
}

void TitleMacroExpander::Evaluate(MacroId id, std::u16string_view parameter, bool hasParameter,
                                  std::u16string& output) const {
  switch (id) {
    case MacroId::kLevel:
      output = position_.level > 0 ? Padded(position_.level, 1) : u"";
      break;
    case MacroId::kIndexInPar:
      output = position_.level > 0 ? Padded(position_.indexInParent, 1) : u"";
      break;
    case MacroId::kHierIndex:
      output = position_.hierIndex;
      break;
    case MacroId::kSeqNum: {
      const MacroNumber start = ParseMacroNumber(parameter);
      output = Padded(sequence_ + (start.used >= 0 ? start.value : 1), 1);
      break;
    }
    case MacroId::kPagesCount: {
      const MacroNumber width = ParseMacroNumber(parameter);
      const bool whole = width.used == static_cast<int32_t>(parameter.size()) && width.value >= 1;
      output =
          Padded(pageCount_,
                 whole ? static_cast<int>(std::min<int64_t>(width.value, kMaxPagesCountWidth)) : 1);
      break;
    }
    case MacroId::kPage:
      output = page_ >= 0 ? Padded(page_ + 1, 1) : u"";
      break;
    case MacroId::kDest:
      output = dest_;
      break;
    case MacroId::kLabel:
      output = page_ >= 0 ? label_ : u"";
      break;
    case MacroId::kURI:
      output = uri_;
      break;
    case MacroId::kFile:
      output = file_;
      break;
    case MacroId::kDocTitle:
      output = docTitle_;
      break;
    case MacroId::kDate:
      output = DateText(parameter);
      break;
    case MacroId::kTime:
      output = TimeText(parameter);
      break;
    case MacroId::kEnv:
      output = EnvValue(parameter);
      break;
    case MacroId::kHierTitle: {
      const std::u16string_view separator = hasParameter ? parameter : std::u16string_view(u" ");
      output.clear();
      for (size_t i = 0; i < titles_.size(); ++i) {
        if (i) output += separator;
        output += titles_[i];
      }
      break;
    }
    case MacroId::kTitle:
      output = titles_.empty() ? u"" : titles_.back();
      break;
    case MacroId::kFirstLine:
      output = page_ >= 0 ? FirstLine(parameter) : u"";
      break;
  }
}

std::u16string TitleMacroExpander::PagesCountText() const { return Padded(pageCount_, 1); }

std::u16string TitleMacroExpander::DateText(std::u16string_view picture) const {
  return ClockText(picture, true);
}

std::u16string TitleMacroExpander::TimeText(std::u16string_view picture) const {
  return ClockText(picture, false);
}

std::u16string TitleMacroExpander::ClockText(std::u16string_view picture, bool date) const {
  // The clock is read at every evaluation; the text is made again only when the second (or
  // the picture) changed, since a run expands the same picture for thousands of bookmarks.
  const platform::DateTimeContext now = clock_();
  const int64_t second = static_cast<int64_t>(now.millis / 1000);
  ClockEntry& entry = clockCache_[date ? 0 : 1];
  if (entry.valid && entry.second == second && entry.picture == picture &&
      entry.locale == now.locale)
    return entry.text;
  entry.text = date ? platform::FormatDate(now, picture) : platform::FormatTime(now, picture);
  entry.picture = std::u16string(picture);
  entry.locale = now.locale;
  entry.second = second;
  entry.valid = true;
  return entry.text;
}

std::u16string TitleMacroExpander::EnvValue(std::u16string_view name) const {
  const std::u16string key(name);
  auto found = envCache_.find(key);
  if (found != envCache_.end()) return found->second;
  std::u16string value = platform::LookupEnvironment(name, environment_).value_or(u"");
  envCache_.emplace(key, value);
  return value;
}

std::u16string TitleMacroExpander::FirstLine(std::u16string_view parameter) const {
  if (!document_ || !app_) return {};
  const double offset = parameter.empty() ? 0.0 : ParseLengthInPoints(parameter).value_or(0.0);
  const auto key = std::make_pair(page_, offset);
  if (auto found = lineCache_.find(key); found != lineCache_.end()) return found->second;

  std::u16string line;
  zelta::PageBox box;
  ComPtr<zelta::IUnknown> component;
  if (document_->GetPageBox(page_, zelta::kBoxCrop, &box) == zelta::S_OK &&
      app_->GetComponent("ZLT", component.Put()) == zelta::S_OK && component) {
    auto service = zelta::QueryAs<zelta::IPageTextService>(component.Get());
    ComPtr<zelta::IHostPageText> text;
    const zelta::PageTextChar* chars = nullptr;
    int32_t count = 0;
    if (service && service->GetPageText(document_.Get(), page_, text.Put()) == zelta::S_OK &&
        text && text->GetChars(&chars, &count) == zelta::S_OK) {
      const int32_t found = LineBelow(chars, count, box.top - offset);
      zelta::OwnedString lineText;
      if (found >= 0 && text->GetLine(found, lineText.Put(), nullptr) == zelta::S_OK)
        line = lineText.Str();
    }
  }
  lineCache_.emplace(key, line);
  return line;
}

}  // namespace bm
