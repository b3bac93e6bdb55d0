// Synthetic page text for the page scan tests: lines of styled runs become the character
// array the host would give, with the run, line and block flags set as the host sets them.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "autogen/level_matcher.h"
#include "autogen/page_scanner.h"

namespace bm::testing {

struct TextRun {
  std::u16string text;
  uint32_t font = 1;
  float size = 10;
  uint32_t color = 0xFF000000u;
};
using TextLine = std::vector<TextRun>;

// Lines from the top of the page down, 20 points apart, characters 6 points wide.
std::vector<zelta::PageTextChar> MakePage(const std::vector<TextLine>& lines);

class FakeFonts : public FontNameSource {
 public:
  explicit FakeFonts(std::map<uint32_t, std::u16string> names) : names_(std::move(names)) {}
  bool FontName(uint32_t fontId, std::u16string* name) override {
    ++lookups;
    auto it = names_.find(fontId);
    if (it == names_.end()) return false;
    *name = it->second;
    return true;
  }
  int lookups = 0;

 private:
  std::map<uint32_t, std::u16string> names_;
};

struct Placed {
  std::u16string title;
  int32_t index;
  zelta::PageDestination destination;
};

class RecordingSink : public TitleSink {
 public:
  explicit RecordingSink(LevelChain& chain) : chain_(chain) {}
  zelta::HRESULT PlaceTitle(const std::u16string& title, size_t position,
                            const zelta::PageDestination& destination) override {
    placed.push_back({title, chain_.Node(position).options.index, destination});
    return fail;
  }
  std::vector<Placed> placed;
  zelta::HRESULT fail = zelta::S_OK;

 private:
  LevelChain& chain_;
};

// A chain, its matcher and rules, and a sink, ready to scan pages.
struct ScanRig {
  ScanRig(std::vector<LevelOptions> levels, std::map<uint32_t, std::u16string> fonts,
          int32_t optionFlags = 0, StopWords words = {})
      : chain(std::move(levels)),
        stopWords(std::move(words)),
        fontNames(std::move(fonts)),
        matcher(chain, fontNames),
        rules(chain, stopWords, optionFlags),
        sink(chain),
        scanner(chain, matcher, rules, sink) {
    prepared = chain.Prepare();
    if (zelta::Succeeded(prepared)) prepared = stopWords.Prepare();
  }
  zelta::HRESULT Scan(const std::vector<TextLine>& lines, int32_t page = 0) {
    auto chars = MakePage(lines);
    return scanner.Scan(chars.data(), static_cast<int32_t>(chars.size()), page);
  }
  std::vector<std::u16string> Titles() const {
    std::vector<std::u16string> out;
    for (const auto& p : sink.placed) out.push_back(p.title);
    return out;
  }

  LevelChain chain;
  StopWords stopWords;
  FakeFonts fontNames;
  LevelMatcher matcher;
  TitleRules rules;
  RecordingSink sink;
  PageScanner scanner;
  zelta::HRESULT prepared;
};

// A level of the given depth that matches by size (and, when given, by font names).
LevelOptions SizeLevel(int32_t index, double size, std::vector<std::u16string> fonts = {});

}  // namespace bm::testing
