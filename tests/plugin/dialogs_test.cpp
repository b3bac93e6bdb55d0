// The dialogs of the commands, driven by control id as a user works them: options come back
// unchanged through the controls, and each dialog's enable rules and messages hold.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <map>
#include <random>

#include "autogen/stop_words_dialog.h"
#include "framework/atom_table.h"
#include "framework/bookmark_target.h"
#include "framework/dialog_base.h"
#include "host/validation.h"
#include "tests/fixtures/pdf_builder.h"
#include "tests/harness/operation_run.h"
#include "toc/fromtoc_dialog.h"
#include "toc/totoc_operation.h"
#include "zelta/app/cab/cab_json.h"
#include "zelta/base/text_codec.h"
#include "zelta/ui/dialog_driver.h"

namespace bm::testing {
namespace {

using zelta::ComPtr;
using zelta::HRESULT;
using zelta::ui::DialogDriver;
using Json = nlohmann::json;

zelta::testing::PdfSpec Book() {
  zelta::testing::PdfSpec layout;
  layout.pages.assign(5, zelta::testing::PageSpec{});
  auto one = Mark("one", 0);
  one.children.push_back(Mark("one.one", 1));
  layout.outline = {one, Mark("two", 2)};
  return layout;
}

class DialogRun : public OperationRun {
 protected:
  void SetUp() override {
    Open(Book());
    // Tools that work on the selected bookmarks find one.
    host_.SelectBookmarks(document_.Get(), {BookmarkAt(document_.Get(), {1}).Get()});
  }
  // Every control a dialog of the test asked for is in its layout.
  void TearDown() override {
    std::string missing;
    for (const auto& entry : Engine().MissingControls())
      missing += zelta::base::LossyUtf8(entry) + "\n";
    EXPECT_EQ(missing, "");
  }

  zelta::ui::DialogEngine& Engine() { return host_.App().Ui().Dialogs(); }

  ComPtr<zelta::IHostOperation> Operation(const char16_t* id) {
    ComPtr<zelta::IHostOperation> operation;
    EXPECT_EQ(host_.App().CreateOperation(AtomOf(id), operation.Put()), zelta::S_OK);
    ComPtr<zelta::ICab> params;
    operation->GetParams(params.Put());
    SetCabObjects(CabItem(CabRoot(params.Get()).Get(), u"Input").Get(),
                  {static_cast<zelta::IUnknown*>(document_.Get())});
    return operation;
  }
  static ComPtr<zelta::ICabItem> OptionsOf(zelta::IHostOperation* operation) {
    ComPtr<zelta::ICab> params;
    operation->GetParams(params.Put());
    return CabItem(CabRoot(params.Get()).Get(), u"Options");
  }

  // The contents operation with the last used options, on the open document.
  ComPtr<ToTOCOperation> Toc() {
    auto toc = Make<ToTOCOperation>();
    toc->LoadLastUsedOptions();  // the built-in level set
    return toc;
  }
  // Runs a dialog that the queued user confirms.
  static void ExpectOk(DialogBase* dialog) {
    int32_t result = 0;
    ASSERT_EQ(dialog->RunModal(0, &result), zelta::S_OK);
    EXPECT_EQ(result, zelta::kDialogResultOk);
  }

  // Shows the operation's dialog with the user's work; the dialog's answer.
  HRESULT Show(zelta::IHostOperation* operation, std::function<void(DialogDriver&)> work) {
    Engine().QueueDriver(std::move(work));
    return operation->ShowDialog(0, 0);
  }
};

// What GetCount says of a list (an action list, a Cab array).
template <class List>
int32_t CountOf(List* list) {
  int32_t count = -1;
  list->GetCount(&count);
  return count;
}

struct Recipe {
  const char16_t* operation;
  const char* options;  // JSON over the defaults
};
// Options a user could have left behind in each dialog.
const Recipe kRecipes[] = {
    {u"op.bookmarks.changeBookmarkCase", R"({"Flags": 0})"},
    {u"op.bookmarks.changeBookmarkCase",
     R"({"Flags": 4626, "ExcludedWords": ["HTML", "iPhone", "PDF"]})"},
    {u"op.bookmarks.findReplaceBookmarkText",
     R"({"Flags": 53, "FindWords": ["(a+)b", "x"], "ReplaceWords": ["$1"]})"},
    {u"op.bookmarks.findReplaceBookmarkText",
     R"({"Flags": 3, "FindWords": ["the"], "ReplaceWords": [""]})"},
    {u"op.bookmarks.addTextToBookmarkTitle",
     R"({"Prefix": "%[HierIndex] ", "Suffix": "", "StartLevel": 3, "Flags": 7})"},
    {u"op.bookmarks.addTextToBookmarkTitle", R"j({"Suffix": " (%[Page])", "Flags": 9})j"},
    {u"op.bookmarks.toNamedDests", R"({"EditText": "dest-%[Title]", "Flags": 3})"},
    {u"op.bookmarks.sortBookmarks", R"({"Flags": 31, "Level": 4})"},
    {u"op.bookmarks.sortBookmarks", R"({"Flags": 0, "Level": 1})"},
    {u"op.bookmarks.fromTextFile",
     R"({"FileName": "/tmp/outline.txt", "Separator": 9, "ActionSeparator": 124})"},
    {u"op.bookmarks.bookmarkEveryNthPage",
     R"({"Step": 2, "TitleText": "Page %[Page]", "PagesRange": {"Type": 1, "Text": "2-5",
         "Filter": 2}})"},
    {u"op.bookmarks.bookmarkEveryNthPage",
     R"({"Step": 10000, "TitleText": "x", "PagesRange": {"Type": -1, "Filter": 1}})"},
    {u"op.bookmarks.toTOC",
     R"({"Flags": 1542, "Title": "Contents", "PageNumber": 3, "PaperType": 2, "Width": 500,
         "Height": 700, "Margins": {"top": 10, "bottom": 20, "left": 30, "right": 40}})"},
    {u"op.bookmarks.toTOC",
     R"({"Flags": 16, "Title": "T", "StartingLevel": 2, "EndingLevel": 4, "PaperType": 1,
         "StdPaperIndex": 2, "Landscape": true, "Levels": [{"Name": "Times-Roman", "Size": 9}]})"},
};

// OK without touching a control stores exactly what the dialog was opened with; Cancel after
// touching every control it can leaves the options as they were.
TEST_F(DialogRun, OptionsComeBackThroughTheControlsAndCancelKeepsThem) {
  for (const Recipe& recipe : kRecipes) {
    SCOPED_TRACE(zelta::base::LossyUtf8(recipe.operation) + " " + recipe.options);
    auto operation = Operation(recipe.operation);
    auto options = OptionsOf(operation.Get());
    std::string error;
    ASSERT_EQ(zelta::app::CabFromJson(options.Get(), Json::parse(recipe.options), &error),
              zelta::S_OK)
        << error;
    const auto before = zelta::app::CabToJson(options.Get());
    EXPECT_EQ(Show(operation.Get(), [](DialogDriver& user) { EXPECT_TRUE(user.Click(u"btn.ok")); }),
              zelta::S_OK);
    EXPECT_EQ(zelta::app::CabToJson(options.Get()), before);

    EXPECT_EQ(Show(operation.Get(),
                   [](DialogDriver& user) {
                     for (const auto& control : user.Model().Controls()) {
                       const auto id = control->Id();
                       switch (control->Kind()) {
                         case zelta::kControlCheck:
                           user.Check(id, !control->State());
                           break;
                         case zelta::kControlRadio:
                           user.Check(id);
                           break;
                         case zelta::kControlEdit:
                           user.Type(id, u"7");
                           break;
                         case zelta::kControlCombo:
                           user.Choose(id, static_cast<int32_t>(control->Entries().size()) - 1);
                           break;
                         default:
                           break;
                       }
                     }
                     user.Close();
                   }),
              zelta::S_FALSE);
    EXPECT_EQ(zelta::app::CabToJson(options.Get()), before);
  }
}

// The choices of the flag-only dialogs (lists, check boxes, radio buttons), opened on random
// flag words and every one then changed by the user, are what OK stores and the next opening
// shows.
TEST_F(DialogRun, ChangedFlagControlsAreStoredAndShownAgain) {
  std::mt19937 random(20261207);
  const struct {
    const char16_t* operation;
    std::function<int32_t(std::mt19937&)> flags;
  } kDialogs[] = {
      {u"op.bookmarks.changeBookmarkCase",
       [](std::mt19937& r) {
         const int32_t modes[] = {0, 1, 2, 4};
         return modes[r() % 4] | (r() % 2 ? 0x10 : 0) | (r() % 2 ? 0x200 : 0x100) |
                (r() % 2 ? 0x1000 : 0);
       }},
      {u"op.bookmarks.findReplaceBookmarkText",
       [](std::mt19937& r) { return static_cast<int32_t>(r() % 64) & ~0x8; }},
      {u"op.bookmarks.sortBookmarks",
       [](std::mt19937& r) { return static_cast<int32_t>(r() % 32); }},
      {u"op.bookmarks.toNamedDests", [](std::mt19937& r) { return static_cast<int32_t>(r() % 4); }},
  };
  using States = std::map<std::u16string, int32_t>;
  auto states = [](DialogDriver& user) {
    States out;
    for (const auto& control : user.Model().Controls())
      if (control->Kind() == zelta::kControlCheck || control->Kind() == zelta::kControlRadio ||
          (control->Kind() == zelta::kControlCombo && control->Entries().size() > 1))
        out[std::u16string(control->Id())] = control->State();
    return out;
  };
  for (const auto& dialog : kDialogs)
    for (int i = 0; i < 16; ++i) {
      auto operation = Operation(dialog.operation);
      auto options = OptionsOf(operation.Get());
      const int32_t flags = dialog.flags(random);
      options->SetInt(u"Flags", flags);
      SetCabStrings(CabItem(options.Get(), u"FindWords").Get(), {u"x"});
      SCOPED_TRACE(zelta::base::LossyUtf8(dialog.operation) + " " + std::to_string(flags));
      States changed;
      ASSERT_EQ(Show(operation.Get(),
                     [&](DialogDriver& user) {
                       const States before = states(user);
                       // Each list on its next entry (first, as a list can enable boxes), each
                       // box flipped, in each radio group a button not on at the start.
                       for (const auto& control : user.Model().Controls())
                         if (const auto n = static_cast<int32_t>(control->Entries().size());
                             control->Kind() == zelta::kControlCombo && n > 1)
                           user.Choose(control->Id(), (control->State() + 1) % n);
                       for (const auto& control : user.Model().Controls()) {
                         const std::u16string id(control->Id());
                         if (control->Kind() == zelta::kControlCheck)
                           user.Check(id, !control->State());
                         else if (control->Kind() == zelta::kControlRadio && !before.at(id) &&
                                  !control->State())
                           user.Check(id);
                       }
                       changed = states(user);
                       EXPECT_NE(changed, before);
                       EXPECT_TRUE(user.Click(u"btn.ok")) << user.Error();
                     }),
                zelta::S_OK);
      EXPECT_NE(CabInt(options.Get(), u"Flags", flags), flags);
      Show(operation.Get(), [&](DialogDriver& user) {
        EXPECT_EQ(states(user), changed);
        user.Close();
      });
    }
}

TEST_F(DialogRun, ExcludedWordsAreAddedOnceEachAndOnlyWhileTheListIsOn) {
  auto operation = Operation(u"op.bookmarks.changeBookmarkCase");
  auto options = OptionsOf(operation.Get());
  SetCabStrings(CabItem(options.Get(), u"ExcludedWords").Get(), {u"html"});
  options->SetInt(u"Flags", 0x10);
  Engine().QueueInput(u"  XML ");
  ASSERT_EQ(Show(operation.Get(),
                 [this](DialogDriver& user) {
                   Engine().QueueDriver([](DialogDriver& words) {
                     EXPECT_TRUE(words.Type(u"cbc.aew.edit", u"PDF\r\n\n  pdf  \nHtml"));
                     EXPECT_TRUE(words.Click(u"btn.ok"));
                   });
                   EXPECT_TRUE(user.Click(u"cmd.addExcludedWord"));
                   EXPECT_EQ(user.Entries(u"cbc.list.CustomWordList"),
                             (std::vector<std::u16string>{u"html", u"PDF"}));
                   EXPECT_EQ(user.State(u"cbc.list.CustomWordList"), 1);  // the last one added
                   // F2 edits the focused word.
                   EXPECT_TRUE(user.Key(u"cbc.list.CustomWordList", zelta::kKeyF2));
                   EXPECT_EQ(user.Entries(u"cbc.list.CustomWordList"),
                             (std::vector<std::u16string>{u"html", u"XML"}));
                   // Off, the commands are disabled and the keys do nothing.
                   EXPECT_TRUE(user.Check(u"cbc.chb.EnterCustomWordList", false));
                   EXPECT_FALSE(user.Click(u"cmd.addExcludedWord"));
                   EXPECT_TRUE(user.SelectEntries(u"cbc.list.CustomWordList", {0}) == false);
                   EXPECT_TRUE(user.Check(u"cbc.chb.EnterCustomWordList", true));
                   EXPECT_TRUE(user.SelectEntries(u"cbc.list.CustomWordList", {0, 1}));
                   EXPECT_TRUE(user.Key(u"cbc.list.CustomWordList", zelta::kKeyDelete));
                   EXPECT_TRUE(user.Entries(u"cbc.list.CustomWordList").empty());
                   EXPECT_TRUE(user.Click(u"btn.ok"));
                 }),
            zelta::S_OK);
  EXPECT_TRUE(CabStrings(CabItem(options.Get(), u"ExcludedWords").Get()).empty());
}

TEST_F(DialogRun, FindTextIsCheckedAfterTypingAndABadPatternKeepsOkOff) {
  auto operation = Operation(u"op.bookmarks.findReplaceBookmarkText");
  ASSERT_EQ(Show(operation.Get(),
                 [](DialogDriver& user) {
                   EXPECT_FALSE(user.Enabled(u"btn.ok"));  // empty find text
                   EXPECT_TRUE(user.Check(u"frbt.chb.UseRegex"));
                   EXPECT_FALSE(user.Enabled(u"frbt.chb.MatchWholeWord"));
                   EXPECT_TRUE(user.Type(u"frbt.cmb.FindWhat", u"(ab"));
                   EXPECT_FALSE(user.Visible(u"frbt.info1"));  // not before the timer
                   user.Wait(199);
                   EXPECT_FALSE(user.Visible(u"frbt.info1"));
                   user.Wait(1);
                   EXPECT_TRUE(user.Visible(u"frbt.info1"));
                   EXPECT_EQ(user.Text(u"frbt.info1"),
                             u"The expression contained mismatched parentheses: '(' and ')'.");
                   EXPECT_FALSE(user.Click(u"btn.ok"));
                   // Switching regular expressions off checks at once.
                   EXPECT_TRUE(user.Check(u"frbt.chb.UseRegex", false));
                   EXPECT_FALSE(user.Visible(u"frbt.info1"));
                   EXPECT_TRUE(user.Click(u"btn.ok"));
                 }),
            zelta::S_OK);
  EXPECT_EQ(CabStrings(CabItem(OptionsOf(operation.Get()).Get(), u"FindWords").Get()),
            std::vector<std::u16string>{u"(ab"});
}

// Enable rules and refusals of the other dialogs, each as a user meets it.
TEST_F(DialogRun, EachDialogRefusesWhatItMustAndEnablesWhatItMay) {
  struct Case {
    const char16_t* operation;
    std::function<void(DialogDriver&)> work;
    HRESULT answer;
  };
  const Case kCases[] = {
      {u"op.bookmarks.toNamedDests",
       [this](DialogDriver& user) {
         Engine().QueueMenuChoice(u"Bookmark Title");
         EXPECT_TRUE(user.Type(u"bnd.edit.NamedDestTitle", u""));
         EXPECT_FALSE(user.Click(u"btn.ok"));
         EXPECT_TRUE(user.Click(u"bnd.btn.Macroses"));  // the menu offers Title first
         EXPECT_EQ(user.Text(u"bnd.edit.NamedDestTitle"), u"%[Title]");
         EXPECT_TRUE(user.Click(u"btn.ok"));
       },
       zelta::S_OK},
      {u"op.bookmarks.addTextToBookmarkTitle",
       [](DialogDriver& user) {
         EXPECT_FALSE(user.Enabled(u"btn.ok"));
         EXPECT_TRUE(user.Type(u"atb.edit.Suffix", u"!"));
         EXPECT_TRUE(user.Enabled(u"btn.ok"));
         EXPECT_FALSE(user.Enabled(u"atb.numEdit.SelectLevel"));
         EXPECT_TRUE(user.Check(u"atb.chb.ProcessAllLevels", false));
         EXPECT_TRUE(user.Type(u"atb.numEdit.SelectLevel", u"lots"));
         EXPECT_TRUE(user.Click(u"btn.ok"));
         EXPECT_FALSE(user.Ended());  // the level is no number
         EXPECT_TRUE(user.Type(u"atb.numEdit.SelectLevel", u"2"));
         EXPECT_TRUE(user.Click(u"btn.ok"));
       },
       zelta::S_OK},
      {u"op.bookmarks.sortBookmarks",
       [](DialogDriver& user) {
         EXPECT_FALSE(user.Enabled(u"sb.chb.ignoreCase"));
         EXPECT_FALSE(user.Enabled(u"sb.e.sortLevel"));
         EXPECT_TRUE(user.Check(u"sb.chb.sortAll", false));
         EXPECT_TRUE(user.Enabled(u"sb.e.sortLevel"));
         EXPECT_TRUE(user.Enabled(u"sb.chb.sortChildren"));
         EXPECT_TRUE(user.Check(u"sb.rb.sortAlpha"));
         EXPECT_TRUE(user.Check(u"sb.chb.ignoreCase"));
         EXPECT_TRUE(user.Check(u"sb.rb.sortByPage"));
         EXPECT_FALSE(user.Enabled(u"sb.chb.ignoreCase"));
         EXPECT_EQ(user.State(u"sb.chb.ignoreCase"), 1);
         EXPECT_TRUE(user.Type(u"sb.e.sortLevel", u"101"));
         EXPECT_TRUE(user.Click(u"btn.ok"));
         EXPECT_FALSE(user.Ended());
         EXPECT_TRUE(user.Choose(u"sb.cb.sortType", 1));
         EXPECT_TRUE(user.Type(u"sb.e.sortLevel", u"100"));
         EXPECT_TRUE(user.Click(u"btn.ok"));
       },
       zelta::S_OK},
      {u"op.bookmarks.fromTextFile",
       [this](DialogDriver& user) {
         EXPECT_FALSE(user.Enabled(u"btn.ok"));
         Engine().QueueFile(u"/tmp/list.txt");
         EXPECT_TRUE(user.Click(u"bft.b.fileName"));
         EXPECT_EQ(user.Text(u"bft.e.fileName"), u"/tmp/list.txt");
         EXPECT_TRUE(user.Type(u"bft.e.separator", u","));
         EXPECT_TRUE(user.Click(u"btn.ok"));
         EXPECT_FALSE(user.Ended());                       // the same delimiter twice
         EXPECT_TRUE(user.Type(u"bft.e.separator", u""));  // leaves ';'
         EXPECT_TRUE(user.Click(u"btn.ok"));
       },
       zelta::S_OK},
      {u"op.bookmarks.bookmarkEveryNthPage",
       [](DialogDriver& user) {
         EXPECT_TRUE(user.Type(u"benp.numEdit.SelectN", u"0"));
         EXPECT_TRUE(user.Click(u"btn.ok"));
         EXPECT_FALSE(user.Ended());
         EXPECT_TRUE(user.Type(u"RangeCtl.ExactEdit", u"4-9"));  // the document has 5 pages
         EXPECT_FALSE(user.Enabled(u"btn.ok"));
         EXPECT_TRUE(user.Type(u"RangeCtl.ExactEdit", u"2-4"));
         EXPECT_TRUE(user.Type(u"benp.Edit.TitleTemplate", u""));
         EXPECT_FALSE(user.Enabled(u"btn.ok"));
         EXPECT_TRUE(user.Type(u"benp.Edit.TitleTemplate", u"P"));
         EXPECT_TRUE(user.Type(u"benp.numEdit.SelectN", u"12.6"));
         EXPECT_TRUE(user.Click(u"btn.ok"));
       },
       zelta::S_OK},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(zelta::base::LossyUtf8(c.operation));
    auto operation = Operation(c.operation);
    EXPECT_EQ(Show(operation.Get(), c.work), c.answer);
    if (std::u16string_view(c.operation) == u"op.bookmarks.bookmarkEveryNthPage") {
      EXPECT_EQ(CabInt(OptionsOf(operation.Get()).Get(), u"Step", 0), 13);
    }
  }
}

TEST_F(DialogRun, ValidationListsWhatItFindsAndRemovesABookmarkKeepingItsChildren) {
  zelta::testing::PdfSpec layout;
  auto empty = Mark("", 0);
  empty.children.push_back(Mark("kid", 0));
  layout.outline = {Mark("fine", 0), empty};
  Open(layout);
  std::vector<std::u16string> questions;
  host_.App().Ui().SetMessageHandler([&](const zelta::ui::MessageRecord& record) {
    questions.push_back(record.text);
    return static_cast<int32_t>(zelta::kAnswerNo);
  });
  Engine().QueueDriver([&](DialogDriver& user) {
    EXPECT_TRUE(user.Check(u"chb.warnTitle"));
    EXPECT_TRUE(user.Click(u"btn.validate"));
    EXPECT_EQ(user.Text(u"l.invalidCount"), u"Found 1 invalid bookmark(s)");
    EXPECT_EQ(user.Entries(u"vb.list"),
              (std::vector<std::u16string>{u"1. Bookmark: \"\"", u"    Bookmark title is empty."}));
    EXPECT_FALSE(user.Enabled(u"btn.highlight"));
    EXPECT_TRUE(user.Choose(u"vb.list", 1));
    EXPECT_TRUE(user.Click(u"btn.highlight"));
    // The bookmarks view now shows the found bookmark selected.
    ComPtr<zelta::IHostSelection> selection;
    host_.Plugin().Selections()->GetSelection(document_.Get(), AtomOf(u"selection.bookmarks"),
                                              selection.Put());
    ComPtr<zelta::IUnknown> item;
    if (selection) selection->GetItem(0, item.Put());
    EXPECT_EQ(zelta::QueryAs<zelta::IHostBookmark>(item.Get()).Get(),
              BookmarkAt(document_.Get(), {2}).Get());
    EXPECT_TRUE(user.Click(u"cmd.vb.removeTreeItem"));
    EXPECT_TRUE(user.Entries(u"vb.list").empty());
    EXPECT_TRUE(user.Click(u"btn.close"));
  });
  ComPtr<zelta::IHostOperation> operation = Operation(u"op.bookmarks.validate");
  EXPECT_EQ(operation->ShowDialog(0, 0), zelta::S_FALSE);
  EXPECT_EQ(questions, std::vector<std::u16string>{
                           u"Do you want to delete selected bookmark(s) with children?"});
  EXPECT_EQ(Now(), (Texts{u"fine", u"kid"}));
  EXPECT_EQ(CabInt(OptionsOf(operation.Get()).Get(), u"Flags", 0), zelta::kVbCheckEmptyTitle);
}

TEST_F(DialogRun, TableOfContentsLevelsAndPresets) {
  auto toc = Toc();
  auto options = toc->Options();
  ASSERT_EQ(Show(toc.Get(),
                 [](DialogDriver& user) {
                   EXPECT_EQ(user.Text(u"ttoc.e.title"), u"Table of Contents");
                   EXPECT_FALSE(user.Enabled(u"ttoc.e.start"));
                   EXPECT_TRUE(user.Check(u"ttoc.chb.end", false));
                   EXPECT_TRUE(user.Enabled(u"ttoc.e.start"));
                   // "Page Labels" and back leave the leader bits alone.
                   EXPECT_TRUE(user.Choose(u"ttoc.cb.numberStyle", 2));
                   EXPECT_TRUE(user.Choose(u"ttoc.cb.numberType", 1));
                   EXPECT_TRUE(user.Choose(u"ttoc.cb.numberType", 0));
                   EXPECT_EQ(user.State(u"ttoc.cb.numberStyle"), 2);
                   // A level added below the first is indented one step.
                   const auto& top = user.Model().Find(u"ttoc.tree")->TreeChildren(0);
                   ASSERT_EQ(top.size(), 1u);
                   EXPECT_TRUE(user.SelectTreeItem(u"ttoc.tree", top[0]));
                   // The new level is shaped in the host's font dialog; cancelled, none is added.
                   EXPECT_TRUE(user.Click(u"cmd.ttoc.addTreeItem"));
                   EXPECT_EQ(user.Model().Find(u"ttoc.tree")->TreeChildren(top[0]).size(), 1u);
                   user.Engine().QueueDriver([](DialogDriver& font) {
                     EXPECT_EQ(font.Text(u"font.e.size"), u"12");
                     EXPECT_TRUE(font.Click(u"btn.ok"));
                   });
                   EXPECT_TRUE(user.Click(u"cmd.ttoc.addTreeItem"));
                   EXPECT_TRUE(user.Type(u"ttoc.e.page", u"6"));  // five pages
                   EXPECT_TRUE(user.Click(u"btn.ok"));
                   EXPECT_FALSE(user.Ended());
                   EXPECT_FALSE(user.SavePreset(u"Mine"));  // refused as OK was
                   EXPECT_TRUE(user.Type(u"ttoc.e.page", u"5"));
                   EXPECT_TRUE(user.SavePreset(u"Mine"));
                   EXPECT_TRUE(user.Type(u"ttoc.e.title", u"Other"));
                   EXPECT_TRUE(user.Choose(u"ttoc.cb.numberStyle", 0));
                   EXPECT_TRUE(user.TakePreset(0));
                   EXPECT_EQ(user.Text(u"ttoc.e.title"), u"Table of Contents");
                   EXPECT_EQ(user.State(u"ttoc.cb.numberStyle"), 2);
                   EXPECT_TRUE(user.RenamePreset(0, u"Ours"));
                   EXPECT_EQ(user.Presets(), std::vector<std::u16string>{u"Ours"});
                   EXPECT_TRUE(user.Click(u"btn.ok"));
                 }),
            zelta::S_OK);
  EXPECT_EQ(CabInt(options.Get(), u"Flags", 0), kTocSkipInvalid | kTocLeaderSpace);
  EXPECT_EQ(CabInt(options.Get(), u"PageNumber", 0), 5);
  auto levels = CabItem(options.Get(), u"Levels");
  ASSERT_EQ(CountOf(levels.Get()), 4);
  ComPtr<zelta::ICabItem> added;
  levels->GetItemAt(1, added.Put());
  EXPECT_EQ(CabInt(added.Get(), u"Index", 0), 1);
  EXPECT_EQ(CabDouble(added.Get(), u"Indent", -1), 0);
  EXPECT_EQ(CabDouble(added.Get(), u"Size", 0), 12);
  auto settings = host_.Plugin().SettingsRoot();
  auto presets = CabItem(CabItem(settings.Get(), u"ToTOCPresets").Get(), u"Items");
  ComPtr<zelta::ICabItem> preset;
  ASSERT_EQ(presets->GetItemAt(0, preset.Put()), zelta::S_OK);
  EXPECT_EQ(CabText(CabItem(settings.Get(), u"ToTOCLastUsedOptions").Get(), u"PresetID", u""),
            CabText(preset.Get(), u"ID", u"x"));
  // Deleting it remembers its id as removed.
  ASSERT_EQ(Show(toc.Get(),
                 [](DialogDriver& user) {
                   EXPECT_TRUE(user.DeletePreset(0));
                   EXPECT_FALSE(user.DeletePreset(0));
                   EXPECT_TRUE(user.Click(u"btn.close"));
                 }),
            zelta::S_FALSE);
  EXPECT_EQ(CabStrings(CabItem(CabItem(settings.Get(), u"ToTOCPresets").Get(), u"_Removed").Get()),
            std::vector<std::u16string>{u"preset.1"});
}

// Every change of the preset list reaches the settings file at once, for the next process to
// read; a write that fails keeps the list as it was, in memory and on disk, and says why.
TEST_F(DialogRun, PresetChangesAreWrittenAtOnceOrNotAtAll) {
  auto toc = Toc();
  const std::string path = host_.SettingsPath();
  auto file = [&] { return zelta::testing::ReadFile(path); };
  auto presetsOnDisk = [&] {
    std::vector<std::string> names;
    const Json stored = Json::parse(file())["5E3A91D0-6C42-4B8E-A1F7-2D9C04B6E813"]["ToTOCPresets"];
    for (const Json& preset : stored["Items"])
      names.push_back(preset["Name"].get<std::string>() + "=" +
                      preset["Data"]["Title"].get<std::string>());
    return names;
  };
  ASSERT_EQ(Show(toc.Get(),
                 [](DialogDriver& user) {
                   // Typed, not yet stored: the preset still takes it.
                   EXPECT_TRUE(user.Type(u"ttoc.e.title", u"Typed"));
                   EXPECT_TRUE(user.SavePreset(u"A"));
                   EXPECT_TRUE(user.Type(u"ttoc.e.title", u"Other"));
                   EXPECT_TRUE(user.SavePreset(u"B"));
                   EXPECT_TRUE(user.RenamePreset(1, u"Bee"));
                   // A number out of range refuses the save as OK would.
                   EXPECT_TRUE(user.Type(u"ttoc.e.page", u"99"));
                   EXPECT_FALSE(user.SavePreset(u"C"));
                   user.Close();
                 }),
            zelta::S_FALSE);
  EXPECT_EQ(presetsOnDisk(), (std::vector<std::string>{"A=Typed", "Bee=Other"}));

  // Writes fail (a file size limit refuses them, whoever runs the test).
  const std::string before = file();
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  auto oldSignal = signal(SIGXFSZ, SIG_IGN);
  rlimit tiny = old;
  tiny.rlim_cur = 1;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
  host_.messages.clear();
  const std::function<bool(DialogDriver&)> kChanges[] = {
      [](DialogDriver& user) { return user.SavePreset(u"C"); },
      [](DialogDriver& user) { return user.RenamePreset(0, u"Ay"); },
      [](DialogDriver& user) { return user.DeletePreset(0); },
      [](DialogDriver& user) { return user.ResetPresets(); },
  };
  Show(toc.Get(), [&](DialogDriver& user) {
    for (const auto& change : kChanges) {
      EXPECT_FALSE(change(user));
      EXPECT_EQ(user.Presets(), (std::vector<std::u16string>{u"A", u"Bee"}));
    }
    EXPECT_TRUE(user.TakePreset(1));
    user.Close();
  });
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldSignal);
  EXPECT_EQ(file(), before);
  ASSERT_EQ(host_.messages.size(), std::size(kChanges));
  EXPECT_NE(zelta::base::LossyUtf8(host_.messages[0].text).find(path), std::string::npos)
      << zelta::base::LossyUtf8(host_.messages[0].text);
  auto stored =
      CabItem(CabItem(host_.Plugin().SettingsRoot().Get(), u"ToTOCPresets").Get(), u"_Removed");
  EXPECT_EQ(CabStrings(stored.Get()), std::vector<std::u16string>{});

  Show(toc.Get(), [](DialogDriver& user) {
    EXPECT_TRUE(user.DeletePreset(0));
    user.Close();
  });
  EXPECT_EQ(presetsOnDisk(), (std::vector<std::string>{"Bee=Other"}));
  // A preset taken and confirmed is on disk once the command ends.
  Engine().QueueDriver([](DialogDriver& user) {
    EXPECT_TRUE(user.TakePreset(0));
    EXPECT_TRUE(user.Click(u"btn.ok"));
  });
  ASSERT_EQ(host_.App().ExecuteCommand(AtomOf(u"cmd.bookmarksPlugin.toTOC")), zelta::S_OK);
  EXPECT_EQ(Json::parse(
                file())["5E3A91D0-6C42-4B8E-A1F7-2D9C04B6E813"]["ToTOCLastUsedOptions"]["PresetID"],
            "preset.2");
  Show(toc.Get(), [](DialogDriver& user) {
    EXPECT_TRUE(user.ResetPresets());
    user.Close();
  });
  EXPECT_EQ(presetsOnDisk(), std::vector<std::string>{});
}

// The host's editors behind "Edit": a level's font and a found bookmark's actions change only
// when the user confirms what the editor checked.
TEST_F(DialogRun, HostEditorsChangeOnlyWhatTheUserConfirms) {
  auto toc = Toc();
  auto firstLevel = [&] {
    ComPtr<zelta::ICabItem> level;
    CabItem(toc->Options().Get(), u"Levels")->GetItemAt(0, level.Put());
    return level;
  };
  const auto before = zelta::app::CabToJson(firstLevel().Get());
  const struct {
    const char16_t *name, *size, *color, *indent;
  } kRefused[] = {{u" ", u"12", u"Gray(0)", u"0"},
                  {u"Times-Roman", u"0", u"Gray(0)", u"0"},
                  {u"Times-Roman", u"12", u"grey-ish", u"0"},
                  {u"Times-Roman", u"12", u"#F00", u"-1"}};
  // Each refused, then cancelled: the dialog confirmed after them keeps the level as it was.
  auto edit = [&](DialogDriver& user, std::function<void(DialogDriver&)> work) {
    const auto top = user.Model().Find(u"ttoc.tree")->TreeChildren(0);
    ASSERT_TRUE(user.SelectTreeItem(u"ttoc.tree", top[0]));
    user.Engine().QueueDriver(std::move(work));
    EXPECT_TRUE(user.Click(u"cmd.ttoc.editTreeItem"));
  };
  Show(toc.Get(), [&](DialogDriver& user) {
    EXPECT_FALSE(user.Enabled(u"cmd.ttoc.editTreeItem"));
    for (const auto& c : kRefused)
      edit(user, [&](DialogDriver& font) {
        font.Type(u"font.e.name", c.name);
        font.Type(u"font.e.size", c.size);
        font.Type(u"font.e.color", c.color);
        font.Type(u"font.e.indent", c.indent);
        EXPECT_TRUE(font.Click(u"btn.ok"));
        EXPECT_FALSE(font.Ended());
      });
    EXPECT_TRUE(user.Click(u"btn.ok"));
  });
  EXPECT_EQ(zelta::app::CabToJson(firstLevel().Get()), before);
  Show(toc.Get(), [&](DialogDriver& user) {
    edit(user, [](DialogDriver& font) {
      font.Type(u"font.e.name", u" Times-Bold ");
      font.Type(u"font.e.size", u"14");
      font.Type(u"font.e.color", u"#F00");
      font.Check(u"font.chb.underline");
      font.Type(u"font.e.indent", u"5");
      EXPECT_TRUE(font.Click(u"btn.ok"));
    });
    const auto* tree = user.Model().Find(u"ttoc.tree");
    ASSERT_FALSE(tree->TreeChildren(0).empty());
    EXPECT_EQ(*tree->TreeText(tree->TreeChildren(0)[0]), u"Times-Bold, 14 pt, 5 pt");
    EXPECT_TRUE(user.Click(u"btn.ok"));
  });
  const auto first = firstLevel();
  EXPECT_EQ(CabText(first.Get(), u"Name", u""), u"Times-Bold");
  EXPECT_EQ(CabText(first.Get(), u"FColor", u""), u"#F00");
  EXPECT_EQ(CabInt(first.Get(), u"Underline", 0), 1);
  EXPECT_EQ(CabDouble(first.Get(), u"Indent", 0), 5);

  // A bookmark without actions, found by validation and given one.
  zelta::testing::PdfSpec layout;
  layout.pages.assign(3, zelta::testing::PageSpec{});
  layout.outline = {Mark("fine", 0), Mark("nowhere", -1)};
  Open(layout);
  auto add = [](DialogDriver& editor, int32_t kind, const char16_t* target) {
    EXPECT_TRUE(editor.Choose(u"act.cb.type", kind));
    EXPECT_TRUE(editor.Type(u"act.e.target", target));
    EXPECT_TRUE(editor.Click(u"act.btn.add"));
  };
  Engine().QueueDriver([&](DialogDriver& user) {
    EXPECT_TRUE(user.Check(u"chb.warnNoActions"));
    EXPECT_TRUE(user.Click(u"btn.validate"));
    EXPECT_TRUE(user.Choose(u"vb.list", 0));
    Engine().QueueDriver([&](DialogDriver& editor) {
      add(editor, 0, u"2");
      EXPECT_EQ(editor.Entries(u"act.list"), std::vector<std::u16string>{u"Go to page 2"});
      editor.Close();
    });
    EXPECT_TRUE(user.Click(u"cmd.vb.editTreeItem"));
    EXPECT_EQ(user.Text(u"l.invalidCount"), u"Found 1 invalid bookmark(s)");
    Engine().QueueDriver([&](DialogDriver& editor) {
      add(editor, 0, u"4");  // three pages
      add(editor, 1, u"https://example.org/");
      add(editor, 0, u"3");
      EXPECT_TRUE(editor.SelectEntries(u"act.list", {0}));
      EXPECT_TRUE(editor.Click(u"act.btn.remove"));
      EXPECT_EQ(editor.Entries(u"act.list"), std::vector<std::u16string>{u"Go to page 3"});
      EXPECT_TRUE(editor.Click(u"btn.ok"));
    });
    EXPECT_TRUE(user.Click(u"cmd.vb.editTreeItem"));
    EXPECT_TRUE(user.Entries(u"vb.list").empty());
    EXPECT_TRUE(user.Click(u"btn.close"));
  });
  ComPtr<zelta::IHostOperation> operation = Operation(u"op.bookmarks.validate");
  EXPECT_EQ(operation->ShowDialog(0, 0), zelta::S_FALSE);
  ComPtr<zelta::IHostActionList> actions;
  BookmarkAt(document_.Get(), {2})->GetActions(actions.Put());
  EXPECT_EQ(CountOf(actions.Get()), 1);
  EXPECT_EQ(TargetOf(BookmarkAt(document_.Get(), {2}).Get()).page, 2);
  ASSERT_EQ(host_.messages.size(), 5u);  // the four refused levels and the page past the end
  EXPECT_EQ(host_.messages[4].text, u"Give a page number from 1 to 3.");
}

// The custom page size is shown in the host's units and kept in points: a length the user
// did not retype comes back exactly, whatever the rounding of its display.
TEST_F(DialogRun, PageSizeIsShownInTheChosenUnitAndKeptInPoints) {
  auto operation = Operation(u"op.bookmarks.toTOC");
  auto options = OptionsOf(operation.Get());
  options->SetInt(u"PaperType", 2);
  options->SetDouble(u"Width", 595.3);
  EXPECT_EQ(Show(operation.Get(),
                 [](DialogDriver& user) {
                   EXPECT_EQ(user.Entries(u"PageSize.cbx.measure"),
                             (std::vector<std::u16string>{u"Points", u"Inches", u"Millimetres",
                                                          u"Centimetres", u"Picas"}));
                   EXPECT_TRUE(user.Choose(u"PageSize.cbx.measure", 1));
                   EXPECT_EQ(user.Text(u"PageSize.ed.width"), u"8.268");
                   EXPECT_TRUE(user.Type(u"PageSize.ed.height", u"11"));
                   EXPECT_TRUE(user.Choose(u"PageSize.cbx.measure", 2));
                   EXPECT_EQ(user.Text(u"PageSize.ed.height"), u"279.4");
                   EXPECT_TRUE(user.Click(u"btn.ok"));
                 }),
            zelta::S_OK);
  EXPECT_EQ(CabDouble(options.Get(), u"Width", 0), 595.3);
  EXPECT_EQ(CabDouble(options.Get(), u"Height", 0), 792);
}

TEST_F(DialogRun, IndentsKeepTheirValueWhateverTheUnitShown) {
  auto cab = host_.Plugin().CreateCab(u"FromTOCOptionsRoot");
  auto options = CabRoot(cab.Get());
  options->SetDouble(u"TopIndent", 72);
  auto dialog = zelta::MakeCom<FromTOCDialog>(&host_.Plugin(), options.Get(), document_.Get());
  Engine().QueueDriver([this](DialogDriver& user) {
    EXPECT_EQ(user.State(u"ftoc.chb.addBookmarks"), 1);
    EXPECT_TRUE(user.Check(u"ftoc.chb.addBookmarks", false));
    Engine().QueueDriver([](DialogDriver& indents) {
      EXPECT_EQ(indents.Text(u"ftoc.e.top"), u"72");
      EXPECT_TRUE(indents.Choose(u"ftoc.cb.units", 1));  // inches
      EXPECT_EQ(indents.Text(u"ftoc.e.top"), u"1");
      EXPECT_TRUE(indents.Type(u"ftoc.e.bottom", u"0.5"));
      EXPECT_TRUE(indents.Choose(u"ftoc.cb.units", 0));
      EXPECT_EQ(indents.Text(u"ftoc.e.bottom"), u"36");
      EXPECT_TRUE(indents.Type(u"ftoc.e.top", u"14401"));
      EXPECT_TRUE(indents.Click(u"btn.ok"));
      EXPECT_FALSE(indents.Ended());
      EXPECT_TRUE(indents.Type(u"ftoc.e.top", u"72"));
      EXPECT_TRUE(indents.Click(u"btn.ok"));
    });
    EXPECT_TRUE(user.Click(u"ftoc.b.indents"));
    EXPECT_TRUE(user.Click(u"btn.ok"));
  });
  ExpectOk(dialog.Get());
  EXPECT_EQ(CabInt(options.Get(), u"Flags", 0), 0x10);
  EXPECT_EQ(CabDouble(options.Get(), u"TopIndent", 0), 72);
  EXPECT_EQ(CabDouble(options.Get(), u"BottomIndent", 0), 36);
}

TEST_F(DialogRun, StopWordsAreAddedAsTypedEditedAndRemoved) {
  auto cab = host_.Plugin().CreateCab(u"AGBOperationOptionsRoot");
  auto data = CabItem(CabRoot(cab.Get()).Get(), u"StopWordsData");
  SetCabStrings(CabItem(data.Get(), u"StopWords").Get(), {u"see page"});
  auto dialog = zelta::MakeCom<StopWordsDialog>(&host_.Plugin(), data.Get());
  Engine().QueueInput(u"see page");  // the same phrase twice is kept twice
  Engine().QueueInput(u"");          // an empty answer adds nothing
  Engine().QueueInput(u"contents");  // replaces the focused entry
  Engine().QueueDriver([](DialogDriver& user) {
    EXPECT_FALSE(user.Enabled(u"cmd.editStopWords"));
    EXPECT_TRUE(user.Click(u"cmd.addStopWords"));
    EXPECT_TRUE(user.Click(u"cmd.addStopWords"));
    EXPECT_EQ(user.Entries(u"esw.list"), (std::vector<std::u16string>{u"see page", u"see page"}));
    EXPECT_TRUE(user.Click(u"cmd.editStopWords"));
    EXPECT_TRUE(user.SelectEntries(u"esw.list", {0}));
    EXPECT_TRUE(user.Click(u"cmd.removeStopWords"));
    EXPECT_TRUE(user.Check(u"esw.chb.useRegExp"));
    EXPECT_TRUE(user.Click(u"btn.ok"));
  });
  ExpectOk(dialog.Get());
  EXPECT_EQ(CabStrings(CabItem(data.Get(), u"StopWords").Get()),
            std::vector<std::u16string>{u"contents"});
  EXPECT_EQ(CabInt(data.Get(), u"StopWordsFlags", 0), 0x4);
  ASSERT_EQ(Engine().Prompts().size(), 3u);
  EXPECT_EQ(Engine().Prompts()[2].title, u"Edit Selected Stop Phrase");
  EXPECT_EQ(Engine().Prompts()[2].initial, u"see page");
}

// A damaged or missing layout ends in a message and a failure, never a dialog.
TEST_F(DialogRun, DamagedLayoutFailsWithAMessage) {
  class Broken : public DialogBase {
   public:
    Broken(PluginContext* plugin, std::string bytes, std::u16string id)
        : DialogBase(plugin, std::move(id), nullptr, nullptr), bytes_(std::move(bytes)) {}
    std::span<const uint8_t> LayoutResource() const override {
      return {reinterpret_cast<const uint8_t*>(bytes_.data()), bytes_.size()};
    }
    std::string bytes_;
  };
  const struct {
    std::string bytes;
    const char16_t* id;
  } kCases[] = {{"", u"DlgSortBookmarks"},
                {"<dialogs><dialog id=\"DlgSortBookmarks\" width=", u"DlgSortBookmarks"},
                {"<dialogs/>", u"DlgSortBookmarks"}};
  // Someone could answer: a dialog that got shown would be cancelled and answer S_OK.
  Engine().SetInteractive(true);
  for (const auto& c : kCases) {
    host_.messages.clear();
    auto dialog = zelta::MakeCom<Broken>(&host_.Plugin(), c.bytes, c.id);
    int32_t result = 0;
    EXPECT_EQ(dialog->RunModal(0, &result), zelta::E_FAIL);
    EXPECT_EQ(result, zelta::kDialogResultCancel);
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].text, u"The dialog could not be opened: DlgSortBookmarks");
  }
}

}  // namespace
}  // namespace bm::testing
