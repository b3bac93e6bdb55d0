// `zelta fonts FILE [--pages TEXT]`: the text styles a document uses (font, size, colour),
// how many characters each has and a sample of its text, to help write generation options.
#include <cmath>
#include <cstdio>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>
#include <tuple>

#include "zelta/app/selection/page_range.h"
#include "zelta/base/text_codec.h"
#include "zelta/cli/commands.h"
#include "zelta/cli/exit_codes.h"
#include "zelta/pdf/text/page_text_service.h"

namespace zelta::cli {

namespace {

constexpr size_t kSampleLength = 60;

struct Style {
  uint32_t fontId;
  int32_t size10;  // size in tenths of a point, as it is shown and matched within tolerance
  uint32_t color;
  auto operator<=>(const Style&) const = default;
};

struct Usage {
  uint64_t chars = 0;
  std::u16string sample;
};

std::string ColorText(uint32_t color) {
  char text[40];
  std::snprintf(text, sizeof text, "rgbd(%u,%u,%u)", (color >> 16) & 0xFF, (color >> 8) & 0xFF,
                color & 0xFF);
  return text;
}

// Adds one run's characters to its style's count and, while the sample is short, its text.
void Count(const PageTextChar* chars, int32_t count, std::map<Style, Usage>& styles) {
  Usage* usage = nullptr;
  for (int32_t i = 0; i < count; ++i) {
    const PageTextChar& ch = chars[i];
    if (!usage || (ch.flags & kCharRunStart)) {
      Style style{ch.fontId, static_cast<int32_t>(std::lround(ch.size * 10)), ch.color};
      usage = &styles[style];
      if (!usage->sample.empty() && usage->sample.size() < kSampleLength &&
          usage->sample.back() != u' ')
        usage->sample += u' ';
    }
    ++usage->chars;
    if (usage->sample.size() < kSampleLength) usage->sample += ch.code;
  }
}

// Control characters as \uXXXX escapes, so that a sample cannot break the line or steer the
// terminal; the JSON form escapes them by itself.
std::u16string Escaped(const std::u16string& text) {
  std::u16string out;
  for (char16_t c : text) {
    if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0) || c == u'\\') {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\u%04X", static_cast<unsigned>(c));
      if (c == u'\\') std::snprintf(hex, sizeof hex, "\\\\");
      out += base::LossyUtf16(hex);
    } else {
      out += c;
    }
  }
  return out;
}

int Run(const std::string& file, const std::string& password, const std::string& pages, bool json,
        const SessionOptions& common) {
  SessionOptions options = common;
  options.loadModule = false;
  Session session;
  if (!session.Start(options)) return kExitUsage;
  auto document = session.Open(file, password);
  if (!document) return kExitUsage;
  int32_t pageCount = 0;
  document->GetPageCount(&pageCount);
  std::vector<int32_t> list;
  std::string error;
  app::PageRange range;
  if (!pages.empty()) {
    range.type = 1;
    range.text = base::LossyUtf16(pages);
  }
  if (Failed(range.Select(pageCount, &list, &error))) {
    std::cerr << "zelta: --pages: " << error << "\n";
    return kExitUsage;
  }
  auto service = pdf::MakePageTextService();
  ComPtr<IHostPageTextReader> reader;
  if (Failed(service->OpenReader(document.Get(), list.data(), static_cast<int32_t>(list.size()), -1,
                                 reader.Put()))) {
    std::cerr << "zelta: " << file << ": cannot read the page text\n";
    return kExitFailed;
  }
  std::map<Style, Usage> styles;
  for (;;) {
    int32_t page = -1;
    ComPtr<IHostPageText> text;
    HRESULT hr = reader->Next(&page, text.Put());
    if (hr == S_FALSE) break;
    if (Failed(hr)) {
      std::cerr << "zelta: " << file << ": the text of page " << page + 1
                << " cannot be read; skipped\n";
      continue;
    }
    const PageTextChar* chars = nullptr;
    int32_t count = 0;
    text->GetChars(&chars, &count);
    Count(chars, count, styles);
  }
  std::vector<std::pair<Style, Usage>> sorted(styles.begin(), styles.end());
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const auto& a, const auto& b) { return a.second.chars > b.second.chars; });
  nlohmann::ordered_json out = nlohmann::ordered_json::array();
  if (!json) {
    char header[128];
    std::snprintf(header, sizeof header, "%9s  %6s  %-20s  %s\n", "chars", "size", "colour",
                  "font  \"sample\"");
    std::cout << header;
  }
  for (const auto& [style, usage] : sorted) {
    ComPtr<IHostFont> font;
    OwnedString name;
    if (service->GetFont(document.Get(), style.fontId, font.Put()) == S_OK)
      font->GetName(name.Put());
    std::string fontName = base::LossyUtf8(name.View());
    std::string sample = base::LossyUtf8(Escaped(usage.sample));
    double size = style.size10 / 10.0;
    if (json) {
      out.push_back({{"font", fontName},
                     {"size", size},
                     {"color", ColorText(style.color)},
                     {"chars", usage.chars},
                     {"sample", base::LossyUtf8(usage.sample)}});
      continue;
    }
    char line[128];
    std::snprintf(line, sizeof line, "%9llu  %6.1f  %-20s  ",
                  static_cast<unsigned long long>(usage.chars), size,
                  ColorText(style.color).c_str());
    std::cout << line << fontName << "  \"" << sample << "\"\n";
  }
  if (json) std::cout << out.dump(2) << "\n";
  return 0;
}

}  // namespace

void AddFontsCommand(CLI::App& app, SessionOptions& common, int* status) {
  auto* cmd = app.add_subcommand("fonts",
                                 "List the text styles of a PDF file: font, size, colour, "
                                 "character count and a sample, most used first");
  struct Args {
    std::string file, password, pages;
    bool json = false;
  };
  auto args = std::make_shared<Args>();
  cmd->add_option("FILE", args->file, "The PDF file")->required();
  cmd->add_option("--pages", args->pages, "Only these pages (e.g. 10-20, 25)");
  cmd->add_flag("--json", args->json, "Print the styles as JSON");
  cmd->add_option("--password", args->password, "Password of an encrypted file");
  cmd->callback([args, &common, status] {
    *status = Run(args->file, args->password, args->pages, args->json, common);
  });
}

}  // namespace zelta::cli
