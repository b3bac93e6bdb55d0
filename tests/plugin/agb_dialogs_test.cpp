// The generation dialogs driven by control id: the main dialog's level chain, the level's
// property sheet and its pages, the font names picker, and the dialog's run and events.
#include <gtest/gtest.h>

#include <fstream>

#include "autogen/agb_add_level_operation.h"
#include "autogen/agb_dialog.h"
#include "autogen/agb_operation.h"
#include "autogen/level_options.h"
#include "tests/fixtures/text_pdf_builder.h"
#include "tests/harness/operation_run.h"
#include "zelta/app/cab/cab_json.h"
#include "zelta/ui/dialog_driver.h"

namespace bm::testing {
namespace {

using zelta::ComPtr;
using zelta::ui::DialogDriver;
using Json = nlohmann::json;
using Work = std::function<void(DialogDriver&)>;

// Two chapters in 18-point bold with a 14-point section, and body text.
std::string Headings() {
  using namespace zelta::testing;
  TextPdfSpec layout;
  for (const char* chapter : {"Chapter One", "Chapter Two"})
    layout.pages.push_back({{{72, 700, {{chapter, kBold, 18}}},
                             {72, 660, {{"Section", kBold, 14}}},
                             {72, 620, {{"Body text here.", kRegular, 10}}}}});
  return BuildTextPdf(layout);
}

class AgbDialogs : public OperationRun {
 protected:
  void SetUp() override { OpenBytes(Headings()); }
  zelta::ui::DialogEngine& Engine() { return host_.App().Ui().Dialogs(); }

  // The options dialog over options given as JSON; its answer, the options it left.
  std::pair<zelta::HRESULT, Json> Show(const Json& options, std::vector<Work> work) {
    auto operation = Make<AGBOperation>();
    std::string error;
    EXPECT_EQ(zelta::app::CabFromJson(operation->Options().Get(), options, &error), zelta::S_OK)
        << error;
    for (auto& step : work) Engine().QueueDriver(std::move(step));
    const zelta::HRESULT hr = operation->ShowDialog(0, 0);
    EXPECT_EQ(Engine().PendingDrivers(), 0u);
    return {hr, zelta::app::CabToJson(operation->Options().Get())};
  }
};

// The tree items of the level chain, the top first.
std::vector<int32_t> Chain(DialogDriver& user) {
  std::vector<int32_t> items;
  const auto* tree = user.Model().Find(u"agb.tree");
  for (int32_t item = zelta::kTreeRoot; !tree->TreeChildren(item).empty();)
    items.push_back(item = tree->TreeChildren(item).front());
  return items;
}

Json Levels(const Json& options, const char* field) {
  Json values = Json::array();
  for (const auto& level : options["Levels"])
    values.push_back(std::string(field) == "Index" ? level["Index"]
                                                   : level["LevelDescription"][field]);
  return values;
}

// A sample's options, with a page range the two-page fixture has.
Json ReadSample(const std::string& name) {
  std::ifstream in(std::string(ZELTA_SOURCE_DIR) + "/samples/" + name);
  Json options = Json::parse(in);
  options["PagesRange"]["Text"] = "2-";
  return options;
}

// OK stores exactly what the dialog opened with, also after every level went through its
// property sheet; Cancel of the sheet and of the dialog keeps them too.
TEST_F(AgbDialogs, OptionsComeBackThroughTheControlsAndEveryPage) {
  // A destination the zoom entries cannot show (FitR) survives the appearance page.
  const Json kRecipes[] = {
      Json::object(),
      Json::parse(R"({"Levels": [{"Index": 1, "Flags": 1, "Appearance": {"DestType": 4,
                               "DestFlags": 3}}, {"Index": 2}]})"),
      ReadSample("R-intro.options.json"), ReadSample("headings.options.json")};
  for (const Json& recipe : kRecipes) {
    SCOPED_TRACE(recipe.dump());
    const Json before = Show(recipe, {}).second;  // the recipe over the defaults
    const size_t count = recipe.contains("Levels") ? recipe["Levels"].size() : 0;
    std::vector<Work> work{[count](DialogDriver& user) {
      for (int32_t item : Chain(user)) EXPECT_TRUE(user.Activate(u"agb.tree", item));
      EXPECT_EQ(user.Enabled(u"btn.ok"), count > 0);
      if (count == 0) {
        user.Close();
      } else {
        EXPECT_TRUE(user.Click(u"btn.ok"));
      }
    }};
    for (size_t i = 0; i < count; ++i)
      work.push_back([i](DialogDriver& sheet) {
        for (int32_t page : {1, 2, 0}) EXPECT_TRUE(sheet.SelectPage(page));
        EXPECT_TRUE(i % 2 ? sheet.Click(u"btn.cancel") : sheet.Click(u"btn.ok"));
        EXPECT_TRUE(sheet.Ended());
      });
    auto [hr, after] = Show(recipe, std::move(work));
    EXPECT_EQ(hr, count > 0 ? zelta::S_OK : zelta::S_FALSE);
    EXPECT_EQ(after, before);
  }
}

// Add and remove keep the levels one chain, numbered by depth.
TEST_F(AgbDialogs, LevelTreeEditsRenumberTheChain) {
  const Json three = Json::parse(R"({"Levels": [
      {"Index": 1, "Flags": 1, "LevelDescription": {"FontSize": 10}},
      {"Index": 2, "Flags": 1, "LevelDescription": {"FontSize": 20}},
      {"Index": 3, "Flags": 1, "LevelDescription": {"FontSize": 30}}]})");
  const Work addSize15 = [](DialogDriver& sheet) {
    EXPECT_TRUE(sheet.Check(u"bld.chb.fontSize"));
    EXPECT_TRUE(sheet.Type(u"bld.e.fontSize", u"15"));
    EXPECT_TRUE(sheet.Click(u"btn.ok"));
  };
  const struct {
    const char* name;
    int32_t select;  // position in the chain, -1 for none
    const char16_t* command;
    Json sizes;
  } kCases[] = {
      {"remove level 2", 1, u"cmd.agb.removeTreeItem", Json{10, 30}},
      {"add below level 1", 0, u"cmd.agb.addTreeItem", Json{10, 15, 20, 30}},
      {"add without a selection", -1, u"cmd.agb.addTreeItem", Json{10, 20, 30, 15}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    std::vector<Work> work{[&c](DialogDriver& user) {
      if (c.select >= 0) {
        EXPECT_TRUE(user.SelectTreeItem(u"agb.tree", Chain(user)[c.select]));
      }
      EXPECT_TRUE(user.Click(c.command));
      EXPECT_EQ(Chain(user).size(), c.sizes.size());
      EXPECT_TRUE(user.Click(u"btn.ok"));
    }};
    if (std::u16string_view(c.command) == u"cmd.agb.addTreeItem") work.push_back(addSize15);
    const Json after = Show(three, std::move(work)).second;
    EXPECT_EQ(Levels(after, "FontSize"), c.sizes);
    Json depths = Json::array();
    for (size_t i = 1; i <= c.sizes.size(); ++i) depths.push_back(i);
    EXPECT_EQ(Levels(after, "Index"), depths);
  }
}

// What each page refuses and stores, worked on the first level of the dialog.
TEST_F(AgbDialogs, PagesRefuseEmptyCriteriaAndStoreTheirChoices) {
  const struct {
    const char* name;
    Work sheet;
    bool confirmed;
    const char* check;  // JSON pointer into the stored first level, and its value
    Json value;
  } kCases[] = {
      {"font names with an empty list",
       [](DialogDriver& s) {
         EXPECT_TRUE(s.Check(u"bld.chb.fontSize", false));
         EXPECT_TRUE(s.Check(u"bld.chb.fontNames"));
         EXPECT_FALSE(s.Enabled(u"btn.ok"));
         EXPECT_FALSE(s.Click(u"btn.ok"));
       },
       false, "/Flags", 1},
      {"pattern only, left empty",
       [this](DialogDriver& s) {
         EXPECT_TRUE(s.SelectPage(2));
         EXPECT_FALSE(s.Check(u"bld.chb.matchTextPattern"));  // a hidden page is out of reach
         EXPECT_TRUE(s.SelectPage(0));
         EXPECT_TRUE(s.Check(u"bld.chb.fontSize", false));
         EXPECT_TRUE(s.Check(u"bld.chb.matchTextPattern"));
         const size_t shown = host_.messages.size();
         EXPECT_TRUE(s.Click(u"btn.ok"));
         EXPECT_FALSE(s.Ended());
         ASSERT_EQ(host_.messages.size(), shown + 1);
         EXPECT_NE(host_.messages.back().text.find(u"matching criteria"), std::u16string::npos);
         EXPECT_TRUE(s.Type(u"bld.e.matchTextPattern", u"^Chapter"));
         EXPECT_TRUE(s.Click(u"btn.ok"));
       },
       true, "/LevelDescription/TextPattern", "^Chapter"},
      {"fit width",
       [](DialogDriver& s) {
         EXPECT_TRUE(s.SelectPage(1));
         EXPECT_TRUE(s.Choose(u"ba.cb.zoom", 3));
         EXPECT_TRUE(s.Click(u"btn.ok"));
       },
       true, "/Appearance/DestFlags", 14},
      {"title length rounded, numbering type only when numbers are added",
       [](DialogDriver& s) {
         EXPECT_TRUE(s.SelectPage(2));
         EXPECT_FALSE(s.Enabled(u"btf.cb.use"));
         EXPECT_TRUE(s.Choose(u"btf.cb.leadingNumbers", 1));
         EXPECT_TRUE(s.Choose(u"btf.cb.use", 2));
         EXPECT_TRUE(s.Type(u"btf.e.maxLength", u"80.6"));
         EXPECT_TRUE(s.Click(u"btn.ok"));
       },
       true, "/Formatting/TitleLength", 81},
  };
  const Json one = Json::parse(R"({"Levels": [{"Index": 1, "Flags": 1}]})");
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    const Json after = Show(one, {[](DialogDriver& user) {
                                    EXPECT_TRUE(user.Activate(u"agb.tree", Chain(user)[0]));
                                    EXPECT_TRUE(user.Click(u"btn.ok"));
                                  },
                                  c.sheet})
                           .second;
    EXPECT_EQ(after["Levels"][0].value(Json::json_pointer(c.check), Json()), c.value);
    if (c.confirmed && std::string(c.name) == "fit width") {
      EXPECT_EQ(after["Levels"][0]["Appearance"]["DestType"], 2);
    }
    if (!c.confirmed) {
      EXPECT_EQ(after, Show(one, {}).second);
    }
  }
}

// The document's fonts arrive with the timer; the filter narrows them; a chosen name joins
// the level's list once, and a custom name that is already there (case aside) is not added.
TEST_F(AgbDialogs, FontNamesComeFromTheDocumentAndJoinTheListOnce) {
  const Json after =
      Show(Json::parse(R"({"Levels": [{"Index": 1, "Flags": 1}]})"),
           {[](DialogDriver& user) {
              EXPECT_TRUE(user.Activate(u"agb.tree", Chain(user)[0]));
              EXPECT_TRUE(user.Click(u"btn.ok"));
            },
            [this](DialogDriver& sheet) {
              EXPECT_TRUE(sheet.Check(u"bld.chb.fontNames"));
              EXPECT_TRUE(sheet.Click(u"cmd.addFonts"));
              Engine().QueueInput(u"HELVETICA-bold");
              EXPECT_TRUE(sheet.Click(u"cmd.addCustomFont"));
              Engine().QueueInput(u"Custom");
              EXPECT_TRUE(sheet.Click(u"cmd.addCustomFont"));
              EXPECT_TRUE(sheet.Click(u"btn.ok"));
            },
            [](DialogDriver& fonts) {
              EXPECT_TRUE(fonts.Entries(u"fn.list").empty());  // not before the timer
              fonts.Wait(50);
              EXPECT_EQ(fonts.Entries(u"fn.list"),
                        (std::vector<std::u16string>{u"Helvetica", u"Helvetica-Bold"}));
              EXPECT_NE(fonts.Text(u"fn.l.fontsCount").find(u"2"), std::u16string::npos);
              EXPECT_TRUE(fonts.Type(u"fn.e.mask", u"BOLD"));
              ASSERT_EQ(fonts.Entries(u"fn.list"), std::vector<std::u16string>{u"Helvetica-Bold"});
              EXPECT_TRUE(fonts.SelectEntries(u"fn.list", {0}));
              EXPECT_TRUE(fonts.Click(u"btn.ok"));
            }})
          .second;
  EXPECT_EQ(after["Levels"][0]["LevelDescription"]["FontNames"],
            Json::parse(R"(["Custom", "Helvetica-Bold"])"));
  EXPECT_EQ(after["Levels"][0]["Flags"], 5);
}

// The add-level command takes the style of the selected heading in its property sheet and
// opens the generation dialog, which gets the level as its deepest; the dialog is one at a
// time, and its OK runs a generation on the document as one undo step.
TEST_F(AgbDialogs, AddLevelCommandFeedsTheOpenDialogWhoseOkGenerates) {
  auto settings = host_.Plugin().SettingsRoot();
  std::string error;
  ASSERT_EQ(zelta::app::CabFromJson(CabItem(settings.Get(), u"AGBLastUsedOptions").Get(),
                                    Json::parse(R"({"Levels": [{"Index": 1, "Flags": 5,
                                      "LevelDescription": {"FontNames": ["Helvetica-Bold"],
                                      "FontSize": 18}}]})"),
                                    &error),
            zelta::S_OK)
      << error;
  host_.SelectText(document_.Get(), {"1:60,650,400,680"});
  Engine().SetInteractive(true);
  Engine().QueueDriver([](DialogDriver& sheet) {
    EXPECT_EQ(sheet.Entries(u"bld.list"), std::vector<std::u16string>{u"Helvetica-Bold"});
    EXPECT_EQ(sheet.Text(u"bld.e.fontSize"), u"14");
    EXPECT_TRUE(sheet.Click(u"btn.ok"));
  });
  ASSERT_EQ(Make<AGBAddLevelOperation>()->Execute(true, 0), zelta::S_OK);
  AGBDialog* open = AGBDialog::Open();
  ASSERT_TRUE(open);
  ASSERT_EQ(open->Levels().size(), 2u);
  EXPECT_EQ(open->Levels()[1].index, 2);
  EXPECT_DOUBLE_EQ(open->Levels()[1].description.fontSize, 14);
  // A second command only brings it to the front.
  ASSERT_EQ(NewOperation<AGBOperation>(&host_.Plugin())->Execute(true, 0), zelta::S_OK);
  ASSERT_EQ(Engine().OpenModeless().size(), 1u);

  DialogDriver user(*Engine().OpenModeless().front(), Engine());
  EXPECT_EQ(Chain(user).size(), 2u);
  EXPECT_TRUE(user.Click(u"btn.ok"));
  EXPECT_TRUE(Engine().OpenModeless().empty());
  EXPECT_FALSE(AGBDialog::Open());
  EXPECT_EQ(Now(), (Texts{u"Chapter One", u"Section", u"Chapter Two", u"Section"}));
  ExpectOneUndoStep(u"bookmarksPlugin.op.GenerateBookmarks");
}

// The open dialog follows the active document and closes with the main frame.
TEST_F(AgbDialogs, OpenDialogFollowsTheActiveDocumentAndClosesWithTheFrame) {
  Engine().SetInteractive(true);
  ASSERT_EQ(NewOperation<AGBOperation>(&host_.Plugin())->Execute(true, 0), zelta::S_OK);
  AGBDialog* open = AGBDialog::Open();
  ASSERT_TRUE(open);
  EXPECT_EQ(open->Document(), document_.Get());
  auto other = host_.OpenBytes(Headings());
  EXPECT_EQ(open->Document(), other.Get());
  ASSERT_EQ(host_.App().CloseDocument(other.Get()), zelta::S_OK);
  EXPECT_EQ(open->Document(), document_.Get());

  ComPtr<zelta::IEventServer> events;
  ASSERT_EQ(host_.App().GetEventServer(events.Put()), zelta::S_OK);
  zelta::Atom closed = zelta::kNoAtom;
  host_.App().InternString(u"e.mainFrame.closed", -1, &closed);
  events->Raise(closed, nullptr, 0);
  Engine().Reap();
  EXPECT_TRUE(Engine().OpenModeless().empty());
  EXPECT_FALSE(AGBDialog::Open());
}

}  // namespace
}  // namespace bm::testing
