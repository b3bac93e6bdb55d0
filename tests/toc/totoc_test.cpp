// Table-of-contents pages built from the bookmarks, run in-process against the real host: the
// pages as pdftotext reads them, the links as MuPDF resolves them, the options that are
// refused before anything changes, and undo.
#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>
#include <vector>

#include "framework/bookmark_target.h"
#include "framework/bookmark_walker.h"
#include "tests/fixtures/golden.h"
#include "tests/harness/operation_run.h"
#include "tests/harness/saved_pdf.h"
#include "toc/totoc_operation.h"
#include "zelta/pdf/host_document.h"

namespace bm::testing {
namespace {

using zelta::HRESULT;
using zelta::testing::OutlineSpec;
using zelta::testing::PdfSpec;

class ToTOCRun : public OperationRun {
 protected:
  HRESULT Run(const std::function<void(zelta::ICabItem*)>& configure = nullptr) {
    // A new operation has the built-in level set: title 22 pt, level 1 18 pt, level 2 16 pt.
    operation_ = Make<ToTOCOperation>();
    if (configure) configure(operation_->Options().Get());
    return operation_->Do(zelta::kDoNoProgress, 0);
  }
  int32_t Pages() {
    int32_t count = 0;
    document_->GetPageCount(&count);
    return count;
  }
  // The text of pages first..last (1-based) as pdftotext lays it out.
  static std::string PageText(const std::string& path, int first, int last) {
    return Output("pdftotext -layout -enc UTF-8 -f " + std::to_string(first) + " -l " +
                  std::to_string(last) + " '" + path + "' - 2>&1");
  }

  zelta::ComPtr<ToTOCOperation> operation_;
};

PdfSpec Chapters(int count, int pages) {
  PdfSpec layout;
  layout.pages.resize(static_cast<size_t>(pages));
  for (int i = 0; i < count; ++i)
    layout.outline.push_back(Mark("Chapter " + std::to_string(i + 1), (i * 3) % pages));
  return layout;
}

TEST_F(ToTOCRun, ThreeBookmarksGiveOnePageOfTitlesLeadersAndNumbers) {
  Open(Chapters(3, 9));
  ASSERT_EQ(Run(), zelta::S_OK);
  EXPECT_EQ(Pages(), 10);
  const std::string path = Save();
  EXPECT_EQ(Output("qpdf --check '" + path + "' >/dev/null 2>&1; echo $?"), "0\n");
  zelta::testing::ExpectGoldenText("toc/three_chapters.txt", PageText(path, 1, 1));
  // A link over each title and each number, to the pages the chapters moved to.
  EXPECT_EQ(LinkTargets(path, 0), (std::vector<int>{1, 1, 4, 4, 7, 7}));
  // The original pages kept their places after the table.
  EXPECT_EQ(LinkTargets(path, 1), std::vector<int>{});
}

TEST_F(ToTOCRun, UndoPutsPagesOutlineAndAnnotationsBackAndRedoAgain) {
  Open(Chapters(40, 5));
  ASSERT_EQ(Run([](zelta::ICabItem* options) { options->SetInt(u"PageNumber", 3); }), zelta::S_OK);
  const int32_t withToc = Pages();
  EXPECT_EQ(withToc, 7);  // 40 lines at 18 points: two pages
  ExpectOneUndoStep(u"bookmarksPlugin.DlgToTOC");
  auto history = History();
  ASSERT_EQ(history->Undo(), zelta::S_OK);
  EXPECT_EQ(Pages(), 5);
  const std::string undone = Save();
  EXPECT_EQ(LinkTargets(undone, 2), std::vector<int>{});
  ASSERT_EQ(history->Redo(), zelta::S_OK);
  EXPECT_EQ(Pages(), withToc);
  const std::string path = Save();
  // Chapter 1 leads to page 1, before the table: unmoved; chapter 2 to page 4, after it.
  const std::vector<int> first = LinkTargets(path, 2);
  ASSERT_GE(first.size(), 4u);
  EXPECT_EQ(std::vector<int>(first.begin(), first.begin() + 4), (std::vector<int>{0, 0, 5, 5}));
  EXPECT_FALSE(LinkTargets(path, 3).empty());
}

TEST_F(ToTOCRun, LevelOptionsChooseTheListedBookmarks) {
  PdfSpec layout;
  layout.pages.resize(4);
  OutlineSpec part = Mark("Part A", 0);
  part.children = {Mark("Section A1", 1), Mark("", 2)};
  part.children[0].children = {Mark("Detail A1a", 3)};
  OutlineSpec broken = Mark("Broken");  // no destination: invalid
  broken.children = {Mark("Orphan", 2)};
  layout.outline = {part, broken};
  struct Case {
    const char* name;
    int32_t flags, start, end;
    std::vector<const char*> listed;
  } cases[] = {
      {"all", 0x4, 1, -1, {"Part A", "Section A1", "Detail A1a", "Untitled", "Broken", "Orphan"}},
      {"from level 2", 0, 2, -1, {"Section A1", "Detail A1a", "Untitled", "Orphan"}},
      {"level 1 only", 0, 1, 1, {"Part A", "Broken"}},
      {"skip invalid", 0x6, 1, -1, {"Part A", "Section A1", "Detail A1a", "Orphan"}},
      // The built-in flags: a level range set alone takes effect.
      {"ending level alone", -1, 1, 1, {"Part A"}},
      {"starting level alone", -1, 2, -1, {"Section A1", "Detail A1a", "Orphan"}},
  };
  for (const Case& c : cases) {
    Open(layout);
    ASSERT_EQ(Run([&](zelta::ICabItem* options) {
                if (c.flags >= 0) options->SetInt(u"Flags", c.flags);
                options->SetInt(u"StartingLevel", c.start);
                options->SetInt(u"EndingLevel", c.end);
              }),
              zelta::S_OK)
        << c.name;
    const std::string text = PageText(Save(), 1, 1);
    size_t at = 0;
    for (const char* title : c.listed) {
      const size_t found = text.find(title, at);
      EXPECT_NE(found, std::string::npos) << c.name << ": " << title << " in\n" << text;
      if (found != std::string::npos) at = found;
    }
    for (const char* absent : {"Part A", "Broken", "Section A1", "Orphan"}) {
      const bool listed = std::find_if(c.listed.begin(), c.listed.end(), [&](const char* t) {
                            return std::string(t) == absent;
                          }) != c.listed.end();
      if (!listed) {
        EXPECT_EQ(text.find(absent), std::string::npos) << c.name << ": " << absent;
      }
    }
  }
}

// Sets a field of every level in `levels` (0 is the title's format).
std::function<void(zelta::ICabItem*)> SetLevels(std::vector<int> levels, const char16_t* field,
                                                double value) {
  return [=](zelta::ICabItem* options) {
    zelta::ComPtr<zelta::ICabItem> level;
    for (int i : levels) {
      CabItem(options, u"Levels")->GetItemAt(i, level.Put());
      level->SetDouble(field, value);
    }
  };
}

TEST_F(ToTOCRun, OptionsThatCannotWorkAreRefusedBeforeAnythingChanges) {
  struct Case {
    const char* name;
    std::function<void(zelta::ICabItem*)> set;
    const char16_t* detail;
  } cases[] = {
      {"page 0", [](zelta::ICabItem* o) { o->SetInt(u"PageNumber", 0); }, u"PageNumber 0"},
      {"past the end", [](zelta::ICabItem* o) { o->SetInt(u"PageNumber", 6); }, u"PageNumber 6"},
      {"margins",
       [](zelta::ICabItem* o) {
         CabItem(o, u"Margins")->SetDouble(u"top", 400);
         CabItem(o, u"Margins")->SetDouble(u"bottom", 442);
       },
       u"leave no room"},
      {"no levels", [](zelta::ICabItem* o) { CabItem(o, u"Levels")->Clear(); }, u"Levels is empty"},
      {"size 0", SetLevels({1}, u"Size", 0), u"Levels[1].Size 0"},
      {"size 1000.5", SetLevels({2}, u"Size", 1000.5), u"Levels[2].Size 1000.5"},
      {"indent", SetLevels({2}, u"Indent", 500), u"Levels[2].Indent 500"},
      {"taller than the room",
       [](zelta::ICabItem* o) {
         CabItem(o, u"Margins")->SetDouble(u"top", 410);
         CabItem(o, u"Margins")->SetDouble(u"bottom", 420);
       },
       u"Levels[0].Size 22 is taller"},
  };
  for (const Case& c : cases) {
    Open(Chapters(3, 4));
    EXPECT_EQ(Run(c.set), zelta::E_INVALIDARG) << c.name;
    EXPECT_NE(operation_->FailureDetail().find(c.detail), std::u16string::npos)
        << c.name << ": "
        << std::string(operation_->FailureDetail().begin(), operation_->FailureDetail().end());
    EXPECT_EQ(Pages(), 4) << c.name;
    EXPECT_EQ(UndoCount(document_.Get()), 0) << c.name;
  }
}

TEST_F(ToTOCRun, TitlesLongerThanAPageWrapOverPagesAndEnd) {
  PdfSpec layout = Chapters(2, 3);
  std::string words;
  for (int i = 0; i < 1500; ++i) words += "word" + std::to_string(i) + " ";
  layout.outline[0].title = words;                    // about 10,000 characters
  layout.outline[1].title = std::string(10000, 'x');  // no place to break
  Open(layout);
  ASSERT_EQ(Run(), zelta::S_OK);
  const int32_t pages = Pages() - 3;
  EXPECT_GT(pages, 2);
  EXPECT_LT(pages, 40);
  const std::string path = Save();
  const std::string text = PageText(path, 1, pages);
  EXPECT_NE(text.find("word1499"), std::string::npos);
  // Every page of the table is used: the counting pass gave exactly the pages drawn.
  for (int page = 1; page <= pages; ++page)
    EXPECT_NE(PageText(path, page, page).find_first_not_of(" \n\f"), std::string::npos) << page;
}

// A font taller than the page's room is refused; one nearly as tall takes a page per line.
TEST_F(ToTOCRun, AVeryLargeFontTakesAPagePerLineAndEnds) {
  Open(Chapters(2, 3));
  EXPECT_EQ(Run(SetLevels({0, 1, 2}, u"Size", 1000)), zelta::E_INVALIDARG);
  EXPECT_EQ(Pages(), 3);
  ASSERT_EQ(Run(SetLevels({0, 1, 2}, u"Size", 600)), zelta::S_OK);
  // "Table of Contents", "Chapter 1", "Chapter 2": a line (a character or a word) per page.
  EXPECT_GT(Pages() - 3, 10);
  EXPECT_LT(Pages() - 3, 40);
}

struct Word {
  double left, top, right, bottom;  // pdftotext's page coordinates: y grows downwards
  std::string text;
};

// The words of a page and their boxes as pdftotext reads them.
std::vector<Word> Words(const std::string& path, int page) {
  const std::string html = Output("pdftotext -bbox -enc UTF-8 -f " + std::to_string(page) + " -l " +
                                  std::to_string(page) + " '" + path + "' - 2>/dev/null");
  std::vector<Word> words;
  const std::regex word(
      R"re(<word xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="([-0-9.]+)" yMax="([-0-9.]+)">([^<]*)</word>)re");
  for (auto it = std::sregex_iterator(html.begin(), html.end(), word); it != std::sregex_iterator();
       ++it)
    words.push_back({std::stod((*it)[1]), std::stod((*it)[2]), std::stod((*it)[3]),
                     std::stod((*it)[4]), (*it)[5]});
  return words;
}

// Whether the word begins with `text` (leaders and a number may follow it without a blank).
bool Begins(const Word& word, const std::string& text) { return word.text.rfind(text, 0) == 0; }

// The left edge of the first word that begins with `text`; NaN when there is none.
double LeftOf(const std::vector<Word>& words, const std::string& text) {
  for (const Word& w : words)
    if (Begins(w, text)) return w.left;
  return NAN;
}

// Levels deeper than the formats step further in; on R-intro a level-3 entry stands right of
// its level-2 parent.
TEST_F(ToTOCRun, DeeperLevelsThanTheFormatsStepFurtherIn) {
  PdfSpec layout;
  layout.pages.resize(2);
  OutlineSpec one = Mark("Alpha", 0), two = Mark("Beta", 0), three = Mark("Gamma", 1),
              four = Mark("Delta", 1);
  three.children = {four};
  two.children = {three};
  one.children = {two};
  layout.outline = {one};
  Open(layout);
  ASSERT_EQ(Run(), zelta::S_OK);
  std::vector<Word> words = Words(Save(), 1);
  const double alpha = LeftOf(words, "Alpha"), beta = LeftOf(words, "Beta"),
               gamma = LeftOf(words, "Gamma"), delta = LeftOf(words, "Delta");
  // The built-in formats indent level 2 by 36 points; each deeper level 36 more.
  EXPECT_NEAR(beta - alpha, 36, 1);
  EXPECT_NEAR(gamma - beta, 36, 1);
  EXPECT_NEAR(delta - gamma, 36, 1);

  OpenBytes(zelta::testing::ReadFile(ZELTA_CORPUS_DIR "/R-intro.pdf"));
  ASSERT_EQ(Run(), zelta::S_OK);
  const std::string path = Save();
  double parent = NAN, child = NAN;
  for (int page = 1; page <= 8 && (std::isnan(parent) || std::isnan(child)); ++page) {
    words = Words(path, page);
    if (std::isnan(parent)) parent = LeftOf(words, "Matrix");  // "Matrix facilities"
    if (std::isnan(child)) child = LeftOf(words, "multiplication");
  }
  ASSERT_FALSE(std::isnan(parent) || std::isnan(child));
  // "Matrix multiplication" begins a word before "multiplication".
  EXPECT_GT(child - parent, 30);
}

// A page label wider than the room beside the title goes below it: no number overprints a
// title. A right-to-left title is drawn in the order it is seen, so that it reads in order.
TEST_F(ToTOCRun, WideLabelsStayClearAndRightToLeftTitlesReadInOrder) {
  PdfSpec layout;
  layout.pages.resize(3);
  layout.labels = {{0, 'D', "", 1}, {2, 'D', "Appendix-of-forty-characters-label-", 1}};
  layout.outline = {Mark("Short title", 1), Mark("A title of a few words", 2)};
  Open(layout);
  ASSERT_EQ(Run([](zelta::ICabItem* options) { options->SetInt(u"Flags", 0x12); }), zelta::S_OK);
  const std::vector<Word> words = Words(Save(), 1);
  std::vector<const Word*> titles, numbers;
  for (const Word& w : words) {
    if (w.text.find("Appendix") != std::string::npos) numbers.push_back(&w);
    if (Begins(w, "title") || Begins(w, "few") || Begins(w, "words")) titles.push_back(&w);
  }
  ASSERT_FALSE(numbers.empty());
  ASSERT_EQ(titles.size(), 4u);
  for (const Word* n : numbers)
    for (const Word* t : titles) {
      const bool apart =
          n->right <= t->left || t->right <= n->left || n->bottom <= t->top || t->bottom <= n->top;
      EXPECT_TRUE(apart) << n->text << " over " << t->text;
    }

  layout.labels.clear();
  layout.outline = {Mark("\u0645\u0642\u062F\u0645\u0629 \u0639\u0627\u0645\u0629", 1),
                    Mark("\u05E9\u05DC\u05D5\u05DD", 2)};
  Open(layout);
  ASSERT_EQ(Run([](zelta::ICabItem* options) {
              zelta::ComPtr<zelta::ICabItem> level;
              for (int i = 0; i < 3; ++i) {
                CabItem(options, u"Levels")->GetItemAt(i, level.Put());
                level->SetText(u"Name", u"DejaVuSans", -1);
              }
            }),
            zelta::S_OK);
  const std::string text = PageText(Save(), 1, 1);
  EXPECT_NE(text.find("\u0645\u0642\u062F\u0645\u0629 \u0639\u0627\u0645\u0629"), std::string::npos)
      << text;
  EXPECT_NE(text.find("\u05E9\u05DC\u05D5\u05DD"), std::string::npos) << text;
}

TEST_F(ToTOCRun, CancellingWhileDrawingLeavesTheDocumentAsItWas) {
  Open(Chapters(30, 6));
  host_.CancelProgressAt(10);
  operation_ = Make<ToTOCOperation>();
  EXPECT_EQ(operation_->Do(0, 0), zelta::E_CANCELLED);
  EXPECT_EQ(Pages(), 6);
  EXPECT_EQ(UndoCount(document_.Get()), 0);
  EXPECT_EQ(LinkTargets(Save(), 0), std::vector<int>{});
}

// Every corpus manual: the table lists every bookmark in order, and its two links per entry
// lead where the bookmark leads, on the pages as they are after the table went in.
TEST_F(ToTOCRun, CorpusTablesListEveryBookmarkWithLinksToItsPage) {
  for (const char* name : {"R-intro.pdf", "R-data.pdf"}) {
    OpenBytes(zelta::testing::ReadFile(std::string(ZELTA_CORPUS_DIR "/") + name));
    const int32_t before = Pages();
    std::vector<std::pair<std::u16string, int>> marks;
    zelta::ComPtr<zelta::IHostBookmark> root;
    document_->GetOutlineRoot(root.Put());
    WalkBookmarks(root.Get(), 0, false, [&](zelta::IHostBookmark* bookmark, int32_t) {
      marks.emplace_back(TitleOf(bookmark), TargetOf(bookmark).page);
      return zelta::S_OK;
    });
    ASSERT_EQ(Run(), zelta::S_OK) << name;
    const int32_t added = Pages() - before;
    ASSERT_GT(added, 0);
    const std::string path = Save();
    std::vector<int> expected, links;
    for (const auto& [title, page] : marks)
      if (page >= 0) expected.insert(expected.end(), 2, page + added);
    for (int page = 0; page < added; ++page) {
      const std::vector<int> onPage = LinkTargets(path, page);
      links.insert(links.end(), onPage.begin(), onPage.end());
    }
    EXPECT_EQ(links, expected) << name;
    // Titles in order (their first words: long ones wrap).
    const std::string text = PageText(path, 1, added);
    size_t at = 0;
    for (const auto& [title, page] : marks) {
      std::string start;
      for (char16_t c : title.substr(0, 12)) start.push_back(static_cast<char>(c));
      const size_t found = text.find(start, at);
      ASSERT_NE(found, std::string::npos) << name << ": " << start;
      at = found;
    }
  }
}

}  // namespace
}  // namespace bm::testing
