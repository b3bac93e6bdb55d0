// Every dialog of the module's layout resource against the rules a renderer relies on.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <pugixml.hpp>
#include <set>
#include <sstream>
#include <vector>

#include "zelta/app/settings/string_tables.h"
#include "zelta/base/text_codec.h"
#include "zelta/ui/dialog_layout_parser.h"
#include "zelta/ui/editor_layouts.h"

namespace zelta::ui {
namespace {

std::string ReadSource(const std::string& path) {
  std::ifstream in(std::string(ZELTA_SOURCE_DIR) + "/" + path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::span<const uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

struct Rect {
  int32_t x0, y0, x1, y1;
  bool Overlaps(const Rect& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
  bool Contains(const Rect& o) const {
    return x0 <= o.x0 && y0 <= o.y0 && o.x1 <= x1 && o.y1 <= y1;
  }
};
Rect RectOf(const LayoutControl& c) { return {c.x, c.y, c.x + c.width, c.y + c.height}; }

// Every control inside its dialog (fixed ones inside the fixed area, the others above it); no
// two shown controls overlap, except a group box around the controls it holds; every text
// reference resolves in the host's or the module's string table; the default button exists.
TEST(DialogLayout, EveryDialogKeepsItsControlsApartAndResolvesItsTexts) {
  const std::string resource = ReadSource("resources/dialogs.xml");
  const std::string strings = ReadSource("resources/strings.xml");
  app::StringTables tables;
  std::string error;
  ASSERT_EQ(tables.Register(Bytes(strings).data(), strings.size(), &error), S_OK) << error;

  for (const std::u16string& id : DialogLayoutIds(Bytes(resource))) {
    SCOPED_TRACE(base::LossyUtf8(id));
    auto layout = ParseDialogLayout(Bytes(resource), id, &error);
    ASSERT_TRUE(layout) << error;
    if (!layout->defaultButton.empty()) {
      EXPECT_TRUE(layout->Find(layout->defaultButton));
    }
    const int32_t fixedTop = layout->height - layout->fixedArea;
    const Rect body{0, 0, layout->width, fixedTop};
    const Rect fixed{0, fixedTop, layout->width, layout->height};
    auto resolves = [&](const std::u16string& text) {
      if (text.rfind(u"$$$.", 0) != 0) return true;
      return tables.Find(text.substr(4)).has_value();
    };
    EXPECT_TRUE(resolves(layout->title));
    bool sawRadio = false;
    for (size_t i = 0; i < layout->controls.size(); ++i) {
      const LayoutControl& a = layout->controls[i];
      const std::string aName = base::LossyUtf8(a.id);
      EXPECT_FALSE(a.id.empty());
      EXPECT_TRUE((a.fixed ? fixed : body).Contains(RectOf(a))) << aName << " leaves its area";
      EXPECT_TRUE(resolves(a.text)) << aName << ": " << base::LossyUtf8(a.text);
      EXPECT_TRUE(resolves(a.header)) << aName;
      if (!a.buddy.empty()) {
        EXPECT_TRUE(layout->Find(a.buddy)) << aName;
      }
      if (a.kind == kControlRadio && !sawRadio) {
        EXPECT_TRUE(a.newGroup) << aName << " starts a radio group without saying so";
      }
      sawRadio = sawRadio || a.kind == kControlRadio;
      for (size_t j = i + 1; j < layout->controls.size(); ++j) {
        const LayoutControl& b = layout->controls[j];
        if (!a.visible || !b.visible || !RectOf(a).Overlaps(RectOf(b))) continue;
        const bool nested = (a.kind == kControlGroup && RectOf(a).Contains(RectOf(b))) ||
                            (b.kind == kControlGroup && RectOf(b).Contains(RectOf(a)));
        EXPECT_TRUE(nested) << aName << " overlaps " << base::LossyUtf8(b.id);
      }
    }
  }
}

// Reading order: does `b` read before `a`? Controls whose spans share a line (the centre
// of one inside the other's height, or centres a few units apart) read left to right; other
// controls top to bottom.
bool ReadsBefore(const Rect& b, const Rect& a) {
  constexpr int32_t kLineTolerance = 4;
  const int32_t ca = (a.y0 + a.y1) / 2, cb = (b.y0 + b.y1) / 2;
  const bool oneLine = std::abs(ca - cb) <= kLineTolerance || (a.y0 <= cb && cb <= a.y1) ||
                       (b.y0 <= ca && ca <= b.y1);
  return oneLine ? b.x0 < a.x0 : cb < ca;
}

// The tab order reads like the dialog: a group box comes just before the controls it holds,
// which follow one another; among the controls of one box (or of the dialog outside any box)
// each reads after the one before it. The fixed strip comes last. The host's own editors
// are held to the same.
TEST(DialogLayout, TabOrderFollowsReadingOrder) {
  const std::string module = ReadSource("resources/dialogs.xml");
  const std::string editors(EditorLayouts());
  std::vector<std::pair<const std::string*, std::u16string>> dialogs;
  for (const std::string* resource : {&module, &editors})
    for (const std::u16string& id : DialogLayoutIds(Bytes(*resource)))
      dialogs.emplace_back(resource, id);
  for (const auto& [resource, id] : dialogs) {
    SCOPED_TRACE(base::LossyUtf8(id));
    auto layout = ParseDialogLayout(Bytes(*resource), id, nullptr);
    ASSERT_TRUE(layout);
    const auto& controls = layout->controls;
    // The box a control lies in: the smallest group box holding it (-1: none).
    std::vector<int> box(controls.size(), -1);
    for (size_t i = 0; i < controls.size(); ++i)
      for (size_t g = 0; g < controls.size(); ++g) {
        const Rect r = RectOf(controls[g]);
        if (g == i || controls[g].kind != kControlGroup || !r.Contains(RectOf(controls[i])))
          continue;
        if (box[i] < 0 || RectOf(controls[box[i]]).Contains(r)) box[i] = static_cast<int>(g);
      }
    auto inside = [&](size_t i, int g) {
      for (int at = box[i]; at >= 0; at = box[at])
        if (at == g) return true;
      return false;
    };
    for (size_t g = 0; g < controls.size(); ++g) {
      if (controls[g].kind != kControlGroup) continue;
      // The box's controls follow it without a control from elsewhere between them.
      size_t end = g + 1;
      while (end < controls.size() && inside(end, static_cast<int>(g))) ++end;
      for (size_t i = 0; i < controls.size(); ++i)
        if (inside(i, static_cast<int>(g)) && (i < g || i >= end))
          ADD_FAILURE() << base::LossyUtf8(controls[i].id) << " is not tabbed to with its box "
                        << base::LossyUtf8(controls[g].id);
    }
    for (size_t i = 0; i < controls.size(); ++i)
      for (size_t j = i + 1; j < controls.size(); ++j) {
        if (box[i] != box[j]) continue;
        if (controls[i].fixed != controls[j].fixed) {
          EXPECT_FALSE(controls[i].fixed)
              << base::LossyUtf8(controls[i].id) << " of the fixed strip comes before "
              << base::LossyUtf8(controls[j].id);
        } else if (ReadsBefore(RectOf(controls[j]), RectOf(controls[i]))) {
          ADD_FAILURE() << base::LossyUtf8(controls[j].id) << " reads before "
                        << base::LossyUtf8(controls[i].id) << " but follows it";
        }
        break;  // the next control of the same box
      }
  }
}

// An option's text ("opt.SET.ITEM", or "opt.SET.ITEM.NAME" for a named value) is shown by
// `zelta options --explain` when the options template has that item and name.
bool DescribesTemplate(const std::string& id) {
  static pugi::xml_document cabTemplate;
  static const bool loaded = cabTemplate.load_file(
      (std::string(ZELTA_SOURCE_DIR) + "/resources/cab_template.xml").c_str());
  if (!loaded) return false;
  std::vector<std::string> parts;
  for (size_t at = 0; at != std::string::npos;) {
    const size_t dot = id.find('.', at);
    parts.push_back(id.substr(at, dot == std::string::npos ? dot : dot - at));
    at = dot == std::string::npos ? dot : dot + 1;
  }
  if (parts.size() < 3 || parts.size() > 4) return false;
  const pugi::xml_node item = cabTemplate.document_element()
                                  .find_child_by_attribute("ItemSet", "id", parts[1].c_str())
                                  .find_child_by_attribute("Item", "id", parts[2].c_str());
  if (!item || parts.size() == 3) return static_cast<bool>(item);
  return item.find_child_by_attribute("name", parts[3].c_str());
}

// Every text of the module's string table is shown somewhere: named by a layout or by the
// module's code (a string id lives in one place, so a text nobody names is a dead one).
TEST(DialogLayout, EveryModuleStringIsUsed) {
  std::string sources = ReadSource("resources/dialogs.xml");
  for (const char* folder :
       {"plugin", "framework", "macros", "tools", "autogen", "toc", "support", "host"})
    for (const auto& entry : std::filesystem::recursive_directory_iterator(
             std::filesystem::path(ZELTA_SOURCE_DIR) / folder))
      if (entry.path().extension() == ".cpp" || entry.path().extension() == ".h")
        sources += ReadSource(std::filesystem::relative(entry.path(), ZELTA_SOURCE_DIR).string());
  // Texts of dialogs and runs that do not show them yet.
  const std::set<std::string> kWaiting = {"plugin.description", "progress.calculatingBookmarks",
                                          "progress.fromTextFile.text",
                                          "progress.toTOC.creatingPages"};
  const std::string strings = ReadSource("resources/strings.xml");
  const std::string cli = ReadSource("zelta/cli/macros_command.cpp");
  const std::string tables = ReadSource("plugin/operation_table.cpp");
  size_t count = 0;
  for (size_t at = strings.find("<text id=\""); at != std::string::npos;
       at = strings.find("<text id=\"", at + 1)) {
    const size_t begin = at + 10;
    const std::string id = strings.substr(begin, strings.find('"', begin) - begin);
    ++count;
    // `zelta macros` prints help.macros, and help.macros.ABBREVIATION for an operation.
    const std::string macroHelp = "help.macros";
    const bool used =
        id.rfind("opt.", 0) == 0 ? DescribesTemplate(id)
        : id.rfind(macroHelp, 0) == 0
            ? cli.find("\"bookmarksPlugin." + macroHelp + "\"") != std::string::npos &&
                  (id == macroHelp ||
                   tables.find("u\"" + id.substr(macroHelp.size() + 1) + "\"") != std::string::npos)
            : sources.find("bookmarksPlugin." + id + "\"") != std::string::npos;
    EXPECT_NE(used, kWaiting.count(id) > 0) << id << (used ? " is used now" : " is used nowhere");
  }
  EXPECT_GT(count, 240u);
}

// A damaged resource names what is wrong and gives no layout.
TEST(DialogLayout, DamagedResourcesGiveAReasonAndNoLayout) {
  const std::string good =
      R"(<dialogs><dialog id="D" width="100" height="80"><items>)"
      R"(<button id="b" x="1" y="1" width="10" height="10"/></items></dialog></dialogs>)";
  ASSERT_TRUE(ParseDialogLayout(Bytes(good), u"D", nullptr));
  const struct {
    std::string text;
    const char* reason;
  } kCases[] = {
      {"", "does not parse"},
      {"<dialogs><dialog", "does not parse"},
      {"<layouts/>", "not a dialogs document"},
      {good, "no dialog X"},
      {R"(<dialogs><dialog id="X" width="0" height="80"/></dialogs>)", "no size"},
      {R"(<dialogs><dialog id="X" width="9" height="9"><items><knob id="k" x="0" y="0" )"
       R"(width="1" height="1"/></items></dialog></dialogs>)",
       "unknown control kind knob"},
      {R"(<dialogs><dialog id="X" width="9" height="9"><items><edit id="e" x="1x" y="0" )"
       R"(width="1" height="1"/></items></dialog></dialogs>)",
       "bad number in x"},
      {R"(<dialogs><dialog id="X" width="9" height="9"><items><edit id="e" x="0" y="0" )"
       R"(width="1" height="1" style="00FF"/></items></dialog></dialogs>)",
       "bad bit set in style"},
      {R"(<dialogs><dialog id="X" width="9" height="9"><items>)"
       R"(<edit id="e" x="0" y="0" width="1" height="1"/><check id="e" x="2" y="2" width="1" )"
       R"(height="1"/></items></dialog></dialogs>)",
       "control id e appears twice"},
      {R"(<dialogs><dialog id="X" width="9" height="9"><fixedArea size="9"/></dialog></dialogs>)",
       "bad fixed area"},
  };
  for (const auto& c : kCases) {
    std::string error;
    EXPECT_FALSE(ParseDialogLayout(Bytes(c.text), u"X", &error)) << c.text;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.text << " -> " << error;
  }
}

}  // namespace
}  // namespace zelta::ui
