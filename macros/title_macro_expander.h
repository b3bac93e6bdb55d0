// Evaluates title templates for one bookmark after another. One expander per run: it holds a
// handler per macro, the values of the current bookmark and a used-flag per macro (set while
// templates are parsed), so that only the values some template needs are computed.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/app.h"
#include "host/document.h"
#include "macros/bookmark_position_cache.h"
#include "macros/macro_set.h"
#include "macros/title_template.h"
#include "platform/date_time.h"
#include "platform/environment.h"

namespace bm {

class TitleMacroExpander {
 public:
  // app gives the page text service (%[FirstLine]); it may be null, and so may document (every
  // document value is then empty).
  TitleMacroExpander(
      zelta::IHostApp* app, zelta::IHostDocument* document,
      platform::EnvironmentSources environment = platform::DefaultEnvironmentSources());
  TitleMacroExpander(const TitleMacroExpander&) = delete;
  TitleMacroExpander& operator=(const TitleMacroExpander&) = delete;

  // Registers the macros whose bits are in mask, in bit order, with this expander's handlers.
  // The macros of the last mask are the ones a warning about unknown names lists.
  zelta::HRESULT RegisterMacros(TitleTemplate& titleTemplate, uint32_t mask);
  // Parses text into the template and marks the macros it names as used. Any macro token
  // marks the template as holding macros: a name that is no macro, or one the mask left out,
  // renders empty, and is remembered for UnknownMacroWarning.
  zelta::HRESULT ParseTemplate(TitleTemplate& titleTemplate, std::u16string_view text);
  // One line naming every unknown macro of the templates parsed since the last call, and the
  // macros there are; empty when every name was known. The list starts again after the call.
  std::u16string TakeUnknownMacroWarning();

  // The sequence counter back to its start, the page count to 0.
  void Reset();
  // Reads the document-wide values: page count and document title.
  void LoadDocumentValues();
  // Loads the values of the used macros for this bookmark and advances the sequence counter.
  // E_OUTOFMEMORY when a value cannot be kept.
  zelta::HRESULT SetBookmark(zelta::IHostBookmark* bookmark);

  bool Uses(MacroId id) const { return used_[static_cast<size_t>(id)]; }

  // Values without a bookmark (for the macro menu).
  std::u16string PagesCountText() const;
  std::u16string DocTitle() const { return docTitle_; }
  std::u16string DateText(std::u16string_view picture = {}) const;
  std::u16string TimeText(std::u16string_view picture = {}) const;

  // Where the clock and locale come from (tests fix them).
  void SetClock(std::function<platform::DateTimeContext()> clock) { clock_ = std::move(clock); }

 private:
  class Handler : public TitleMacroHandler {
   public:
    Handler() = default;
    Handler(const TitleMacroExpander* owner, MacroId id) : owner_(owner), id_(id) {}
    void Evaluate(std::u16string_view parameter, bool hasParameter,
                  std::u16string& output) const override;

   private:
    const TitleMacroExpander* owner_ = nullptr;
    MacroId id_ = MacroId::kTitle;
  };

  void Evaluate(MacroId id, std::u16string_view parameter, bool hasParameter,
                std::u16string& output) const;
  void LoadActionValues(zelta::IHostBookmark* bookmark);
  void LoadTitles(zelta::IHostBookmark* bookmark);
  std::u16string FirstLine(std::u16string_view parameter) const;
  std::u16string EnvValue(std::u16string_view name) const;
  std::u16string ClockText(std::u16string_view picture, bool date) const;

  zelta::ComPtr<zelta::IHostApp> app_;
  zelta::ComPtr<zelta::IHostDocument> document_;
  platform::EnvironmentSources environment_;
  std::function<platform::DateTimeContext()> clock_;
  std::array<Handler, kMacroCount> handlers_;
  std::array<bool, kMacroCount> used_{};
  uint32_t offered_ = kAllMacros;
  std::vector<std::u16string> unknown_;  // as first written, each name once

  BookmarkPositionCache positions_;
  int64_t sequence_ = -1;
  int32_t pageCount_ = 0;
  std::u16string docTitle_;

  // The current bookmark's values.
  BookmarkPositionCache::Position position_;
  int32_t page_ = -1;
  std::u16string label_;
  std::u16string dest_;
  std::u16string uri_;
  std::u16string file_;
  std::vector<std::u16string> titles_;  // top-level ancestor first, the bookmark's own last

  // Kept across bookmarks: environment values by name, first lines by (page, limit).
  mutable std::unordered_map<std::u16string, std::u16string> envCache_;
  mutable std::map<std::pair<int32_t, double>, std::u16string> lineCache_;
  struct ClockEntry {
    bool valid = false;
    int64_t second = 0;
    std::u16string picture;
    std::string locale;
    std::u16string text;
  };
  mutable std::array<ClockEntry, 2> clockCache_;  // date, time
};

}  // namespace bm
