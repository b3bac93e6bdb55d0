// The suggestion of generation options from a document's typography, run against the real
// host: headings that mix sizes come out whole, documents without headings get no levels.
#include <gtest/gtest.h>

#include <functional>

#include "autogen/agb_operation.h"
#include "autogen/agb_suggest_operation.h"
#include "autogen/level_node.h"
#include "autogen/level_options.h"
#include "autogen/text_regex.h"
#include "framework/cab_access.h"
#include "platform/locale_text.h"
#include "tests/fixtures/text_pdf_builder.h"
#include "tests/harness/operation_run.h"

namespace bm::testing {
namespace {

using zelta::ComPtr;
using zelta::testing::TextLineSpec;
using zelta::testing::TextPageSpec;
using zelta::testing::TextPdfSpec;
using zelta::testing::TextRunSpec;
using V = std::vector<std::u16string>;

using zelta::testing::kBold;
using zelta::testing::kItalic;
using zelta::testing::kMono;
using zelta::testing::kRegular;
using zelta::testing::kSerif;

constexpr const char* kBody =
    "Body text of the section runs on long enough to be the style most of the page is set in.";

struct Writer {
  TextPageSpec page;
  double y = 740;
  void Line(std::vector<TextRunSpec> runs, double gap = 18) {
    page.lines.push_back({72, y, std::move(runs)});
    y -= gap;
  }
  void Body(int lines) {
    for (int i = 0; i < lines; ++i) Line({{kBody, kRegular, 10}}, 13);
    y -= 10;
  }
};

// Four chapters over two pages each: the chapter's title and first section on the first page
// (each chapter a little lower), the other sections on the second, each heading followed by
// body text. `chapter` and `section` give the heading runs ("1", then "1" and 2 for 1.2);
// `above` may set lines above each chapter's title.
using Rows = std::vector<std::pair<int, std::string>>;
void AddChapters(TextPdfSpec& manual, Rows& expected, int sections,
                 const std::function<TextRunSpec(const std::string&)>& chapter,
                 const std::function<TextRunSpec(const std::string&, int)>& section,
                 const std::function<void(Writer&, const std::string&)>& above = nullptr) {
  for (int c = 1; c <= 4; ++c) {
    const std::string n = std::to_string(c);
    Writer first, second;
    first.y -= 15 * c;
    if (above) above(first, n);
    const TextRunSpec title = chapter(n);
    first.Line({title}, 30);
    expected.push_back({1, title.text});
    first.Body(7);
    for (int k = 1; k <= sections; ++k) {
      Writer& page = k == 1 ? first : second;
      const TextRunSpec heading = section(n, k);
      page.Line({heading}, 21);
      expected.push_back({2, heading.text});
      page.Body(7);
    }
    manual.pages.push_back(first.page);
    manual.pages.push_back(second.page);
  }
}

// Sections whose titles hold a formula with a superscript, a letter of another font (the
// double-struck R of the number sets) and a long title hyphenated over two lines.
TextPdfSpec HardHeadings() {
  TextPdfSpec layout;
  Writer one;
  one.Line({{"1 The value of e", kBold, 14},
            {"ln(3)", kRegular, 9, 0, 5},
            {" in closed form", kBold, 14}});
  one.Body(5);
  one.Line({{"1.1 Sums over ", kBold, 12}, {"R", kItalic, 12}, {" and their bounds", kBold, 12}});
  one.Body(5);
  layout.pages.push_back(one.page);
  Writer two;
  two.Line({{"2 A long section title whose last word is hyph-", kBold, 14}});
  two.Line({{"enated across two lines", kBold, 14}});
  two.Body(5);
  two.Line({{"2.1 Powers x", kBold, 12}, {"2", kRegular, 8, 0, 4}, {" and roots", kBold, 12}});
  two.Body(5);
  layout.pages.push_back(two.page);
  Writer three;
  three.Line({{"3 Conclusions", kBold, 14}});
  three.Body(5);
  three.Line({{"3.1 Open questions", kBold, 12}});
  three.Body(5);
  layout.pages.push_back(three.page);
  return layout;
}

class Suggestion : public OperationRun {
 protected:
  // Opens the layout and runs the suggestion (it changes nothing); its "Output" dictionary.
  ComPtr<zelta::ICabItem> Suggest(const TextPdfSpec& layout) {
    OpenBytes(zelta::testing::BuildTextPdf(layout));
    auto operation = Make<AGBSuggestOperation>();
    EXPECT_EQ(operation->Do(zelta::kDoNoProgress, 0), zelta::S_FALSE);
    keep_ = operation;
    return operation->Output();
  }
  V GenerateWith(zelta::ICabItem* options) {
    auto operation = Make<AGBOperation>();
    EXPECT_EQ(operation->Options()->CopyFrom(options), zelta::S_OK);
    EXPECT_EQ(operation->Do(zelta::kDoNoProgress, 0), zelta::S_OK);
    return Now();
  }
  // The titles the suggested options generate.
  V Generate(zelta::ICabItem* output) { return GenerateWith(CabItem(output, u"Options").Get()); }
  static std::string Why(zelta::ICabItem* output) {
    return platform::Utf16ToUtf8(CabText(output, u"Explanation", u""));
  }
  // The layout's suggestion is found (`sure`: without doubt or warning) and generates
  // `expected`.
  void ExpectFound(const TextPdfSpec& layout, const V& expected, bool sure = true) {
    auto output = Suggest(layout);
    const std::string why = Why(output.Get());
    ASSERT_TRUE(CabBool(output.Get(), u"Found", false)) << why;
    if (sure) {
      EXPECT_EQ(CabText(output.Get(), u"Doubt", u"x"), u"") << why;
      EXPECT_EQ(CabText(output.Get(), u"Warning", u""), u"") << why;
    }
    EXPECT_EQ(Generate(output.Get()), expected) << why;
  }
  // The same with the level of each bookmark made: (level, title) in outline order.
  void ExpectLevels(const TextPdfSpec& layout, const Rows& expected) {
    auto output = Suggest(layout);
    const std::string why = Why(output.Get());
    ASSERT_TRUE(CabBool(output.Get(), u"Found", false)) << why;
    EXPECT_EQ(CabText(output.Get(), u"Doubt", u"x"), u"") << why;
    Generate(output.Get());
    Rows made;
    for (const auto& row : OutlineRows(document_.Get())) made.push_back({row[0], row[1]});
    EXPECT_EQ(made, expected) << why;
  }
  ComPtr<AGBSuggestOperation> keep_;
};

TEST_F(Suggestion, HeadingsWithFormulasAndHyphensComeOutWhole) {
  auto output = Suggest(HardHeadings());
  EXPECT_TRUE(CabBool(output.Get(), u"Found", false));
  EXPECT_EQ(CabText(output.Get(), u"Operation", u""), u"op.bookmarks.autoGenerateFromText");
  auto options = CabItem(output.Get(), u"Options");
  GenerationOptions read;
  std::u16string error;
  ASSERT_EQ(ReadGenerationOptions(options.Get(), HostColors(&host_.App()).Get(), &read, &error),
            zelta::S_OK);
  ASSERT_EQ(read.levels.size(), 2u);
  EXPECT_TRUE(read.levels[0].Uses(kLevelJoinSmallerRuns));
  EXPECT_EQ(GenerateWith(options.Get()),
            (V{u"1 The value of eln(3) in closed form", u"1.1 Sums over R and their bounds",
               u"2 A long section title whose last word is hyphenated across two lines",
               u"2.1 Powers x2 and roots", u"3 Conclusions", u"3.1 Open questions"}));
}

TEST_F(Suggestion, DocumentsWithoutHeadingsGetNoLevels) {
  TextPdfSpec letter;
  for (int p = 0; p < 2; ++p) {
    Writer page;
    page.Line({{"Dear reader,", kRegular, 10}});
    page.Body(12);
    letter.pages.push_back(page.page);
  }
  TextPdfSpec scanned;
  scanned.pages.push_back({});
  scanned.pages.back().image = true;
  TextPdfSpec form;
  Writer sheet;
  sheet.Line({{"Application form", kBold, 18}}, 30);
  for (const char* label : {"Name", "Address", "Date of birth", "Signature"}) {
    sheet.Line({{label, kBold, 10}});
    sheet.Body(1);
  }
  form.pages.push_back(sheet.page);
  for (const auto& [name, layout] :
       {std::pair{"letter", letter}, {"scanned", scanned}, {"form", form}}) {
    SCOPED_TRACE(name);
    auto output = Suggest(layout);
    EXPECT_FALSE(CabBool(output.Get(), u"Found", true));
    int32_t levels = -1;
    CabItem(CabItem(output.Get(), u"Options").Get(), u"Levels")->GetCount(&levels);
    EXPECT_EQ(levels, 0);
    EXPECT_NE(CabText(output.Get(), u"Explanation", u"").find(u"No headings found"),
              std::u16string::npos);
    EXPECT_EQ(Now(), before_);
  }
}

// A manual whose code listings are set larger than the body text, line under line, whose
// figures are labelled side by side in a larger style, and whose headings stand alone with
// space above: only the headings become a level.
TEST_F(Suggestion, ListingsAndFigureLabelsInALargerStyleAreNoLevel) {
  TextPdfSpec manual;
  for (int p = 1; p <= 4; ++p) {
    Writer page;
    page.y -= 40.0 * p;  // chapters open lower on the page each time: no running header
    page.Line({{std::to_string(p) + " Chapter number " + std::to_string(p), kBold, 16}}, 26);
    page.Body(4);
    if (p <= 2) {
      page.y -= 10;
      page.Line({{"Vehicle", kItalic, 13}}, 40);
      for (double x : {200.0, 330.0})
        page.page.lines.push_back({x, page.y, {{x < 300 ? "Water" : "Air", kItalic, 13}}});
      page.Line({{"Land", kItalic, 13}}, 40);
      page.Line({{"Car", kItalic, 13}}, 30);
      page.Body(2);
    }
    for (int l = 0; l < 8; ++l)
      page.Line({{"    call(argument, " + std::to_string(l) + ");", kMono, 11}}, 12);
    page.y -= 8;
    page.Body(4);
    manual.pages.push_back(page.page);
  }
  auto output = Suggest(manual);
  const std::string why = Why(output.Get());
  ASSERT_TRUE(CabBool(output.Get(), u"Found", false)) << why;
  EXPECT_EQ(CabText(output.Get(), u"Doubt", u"x"), u"") << why;
  EXPECT_GE(CabDouble(output.Get(), u"Confidence", 0), 0.65) << why;
  EXPECT_EQ(Generate(output.Get()), (V{u"1 Chapter number 1", u"2 Chapter number 2",
                                       u"3 Chapter number 3", u"4 Chapter number 4"}))
      << why;
  EXPECT_NE(why.find("Confidence: "), std::string::npos) << why;
}

// A reference manual: section numbers set apart from their titles (read as lines of their
// own), member headings in bold at the body's size under a running header in the same
// style, an overload counter in a smaller font after their titles, and a recurring label.
TEST_F(Suggestion, NumbersSetApartAndBoldHeadingsAtBodySizeComeOutWhole) {
  TextPdfSpec manual;
  V expected;
  for (int p = 1; p <= 4; ++p) {
    Writer page;
    page.page.lines.push_back({72, 760, {{"Class Documentation", kBold, 10}}});
    page.page.lines.push_back({520, 760, {{std::to_string(p + 10), kBold, 10}}});
    auto heading = [&](const std::string& number, std::vector<TextRunSpec> title) {
      page.page.lines.push_back({72, page.y, {{number, kBold, title.front().size}}});
      page.Line(title, 22);
      page.page.lines.back().x = 125;
      std::string text = number + " ";
      for (const TextRunSpec& run : title) text += run.text;
      expected.push_back(platform::Utf8ToUtf16(text));
    };
    auto member = [&](int section, int k) {
      const std::string name = "member_" + std::to_string(section) + std::to_string(k);
      heading(std::to_string(section) + ".1." + std::to_string(k),
              {{name + "()", kBold, 10}, {" [" + std::to_string(k) + "/3]", kMono, 9}});
      page.Line({{"void " + name + "(int value);", kMono, 8}}, 13);
      page.Body(2);
      page.y -= 10;
    };
    page.y = 730;
    // The member documentation of the section before goes on at the top of the page.
    if (p > 1) member(p - 1, 3);
    heading(std::to_string(p) + ".1", {{"Widget " + std::to_string(p) + " Reference", kBold, 14}});
    page.Body(3);
    // Labels of the fixed layout, and once a paragraph heading left out of the contents.
    for (const char* label : {"Member Functions", "Public Attributes", "Detailed Description"}) {
      page.Line({{label, kBold, 10}}, 22);
      page.Body(1);
    }
    if (p == 2) {
      page.Line({{"Thread safety", kBold, 10}}, 22);
      page.Body(1);
    }
    for (int k = 1; k <= 2; ++k) member(p, k);
    manual.pages.push_back(page.page);
  }
  ExpectFound(manual, expected);
}

// A serif text whose smallest headings are set in the sans face at the body's size; an
// oblique caption at that size stands alone too, and is no heading.
TEST_F(Suggestion, HeadingsInAnotherFaceAtBodySizeAreALevel) {
  using V8 = std::vector<std::string>;
  TextPdfSpec manual;
  V expected;
  for (int p = 1; p <= 3; ++p) {
    Writer page;
    auto body = [&](int lines) {
      for (int i = 0; i < lines; ++i) page.Line({{kBody, kSerif, 10}}, 13);
      page.y -= 10;
    };
    const std::string chapter =
        std::to_string(p) + " " + V8{"Origins", "Methods", "Results"}[p - 1];
    page.Line({{chapter, kBold, 16}}, 24);
    expected.push_back(platform::Utf8ToUtf16(chapter));
    body(3);
    for (int k = 1; k <= 2; ++k) {
      const std::string section = std::to_string(p) + "." + std::to_string(k) + " Section";
      page.Line({{section, kBold, 12}}, 20);
      expected.push_back(platform::Utf8ToUtf16(section));
      body(2);
      const std::string topic = "Topic " + std::to_string(p) + std::to_string(k);
      page.Line({{topic, kRegular, 10}}, 18);
      expected.push_back(platform::Utf8ToUtf16(topic));
      body(2);
      page.Line({{"Figure " + std::to_string(p) + std::to_string(k) + ": a drawing", kItalic, 10}},
                18);
      body(1);
    }
    manual.pages.push_back(page.page);
  }
  ExpectFound(manual, expected, false);
}

// Operators in member headings take their "<" from another font, larger than the title.
TEST_F(Suggestion, SymbolsOfAnotherFontStayInsideTheTitle) {
  TextPdfSpec manual;
  V expected;
  for (int p = 1; p <= 3; ++p) {
    Writer page;
    for (const char* op : {"<<", ">>", "<"}) {
      const std::string number = std::to_string(p) + "." + std::to_string(page.page.lines.size());
      page.Line({{number + " operator", kBold, 14}, {op, kSerif, 17}, {"() overload", kBold, 14}},
                22);
      expected.push_back(platform::Utf8ToUtf16(number + " operator" + op + "() overload"));
      page.Body(4);
    }
    manual.pages.push_back(page.page);
  }
  ExpectFound(manual, expected);
}

// A style that stands alone only right under chapter titles, before any section (an
// abstract's heading line), would hang under an untitled section: it is no level.
TEST_F(Suggestion, StylesThatSkipTheLevelAboveAreNoLevel) {
  TextPdfSpec manual;
  V expected;
  for (int p = 1; p <= 4; ++p) {
    Writer page;
    const std::string chapter = std::to_string(p) + " Part " + std::string(1, 'A' + p);
    page.Line({{chapter, kBold, 18}}, 26);
    expected.push_back(platform::Utf8ToUtf16(chapter));
    page.Line({{"In short: what part " + std::to_string(p) + " shows", kRegular, 12}}, 18);
    page.Body(3);
    for (int k = 1; k <= 2; ++k) {
      const std::string section = std::to_string(p) + "." + std::to_string(k) + " Step";
      page.Line({{section, kBold, 14}}, 20);
      expected.push_back(platform::Utf8ToUtf16(section));
      page.Body(3);
    }
    manual.pages.push_back(page.page);
  }
  ExpectFound(manual, expected);
}

// Subsections and sub-subsections set in one style: the depth of their numbers tells the two
// levels apart, and a number of another depth in that style (a numbered list) is no heading.
TEST_F(Suggestion, NumberDepthsOfOneStyleAreLevels) {
  TextPdfSpec manual;
  Rows expected;
  for (int p = 1; p <= 4; ++p) {
    const std::string n = std::to_string(p);
    Writer first, second;
    first.y -= 15 * p;  // chapters start lower down page after page, as after a figure
    auto heading = [&](Writer& page, int level, const std::string& text, double size) {
      page.Line({{text, kBold, size}}, 22);
      expected.push_back({level, text});
      page.Body(7);
    };
    heading(first, 1, n + " Chapter " + n, 17);
    heading(first, 2, n + ".1 Section", 14);
    heading(first, 3, n + ".1.1 Subsection", 12);
    heading(first, 4, n + ".1.1.1 Detail", 12);
    heading(second, 4, n + ".1.1.2 Detail", 12);
    heading(second, 3, n + ".1.2 Another subsection", 12);
    if (p == 2) {
      second.Line({{"2.1.2.1.1 A numbered item set like them", kBold, 12}}, 22);
      second.Body(2);
    }
    manual.pages.push_back(first.page);
    manual.pages.push_back(second.page);
  }
  ExpectLevels(manual, expected);
}

// The deepest headings set in the bold of the body's size, which also sets function names
// at the start of paragraphs and words inside them: the lines whose numbers go one part
// deeper than the levels above are headings, the rest of the bold text is not.
TEST_F(Suggestion, NumberedLinesInABoldUsedInsideTextAreTheNextLevel) {
  TextPdfSpec manual;
  Rows expected;
  for (int p = 1; p <= 4; ++p) {
    const std::string n = std::to_string(p);
    Writer page;
    page.y -= 15 * p;
    auto heading = [&](int level, const std::string& text, double size) {
      page.Line({{text, kBold, size}}, 22);
      expected.push_back({level, text});
    };
    auto definitions = [&] {
      for (const char* name : {"make-array", "copy-seq"}) {
        page.Line({{name, kBold, 10}, {" sequence &key start end", kRegular, 10}}, 13);
        page.Line({{"returns a ", kRegular, 10}, {"new", kBold, 10}, {" sequence.", kRegular, 10}},
                  13);
        page.Body(1);
      }
    };
    heading(1, n + " Chapter " + n, 17);
    page.Body(2);
    heading(2, n + ".1 Section", 14);
    page.Body(2);
    for (int k = 1; k <= 2; ++k) {
      heading(3, n + ".1." + std::to_string(k) + " Topic " + std::to_string(k), 10);
      definitions();
    }
    manual.pages.push_back(page.page);
  }
  ExpectLevels(manual, expected);
}

// A line of the section style in the preface comes before the first chapter: the chapters
// are still the level above the sections, and the preface stays out.
TEST_F(Suggestion, AStrayLineBeforeTheFirstChapterLeavesTheLevelsNested) {
  TextPdfSpec manual;
  Writer preface;
  preface.Body(6);
  preface.Line({{"A note on the examples", kBold, 12}}, 20);
  preface.Body(6);
  manual.pages.push_back(preface.page);
  Rows expected;
  AddChapters(
      manual, expected, 3,
      [](const std::string& n) {
        return TextRunSpec{"Chapter " + n + " of the book", kBold, 18};
      },
      [](const std::string& n, int k) {
        return TextRunSpec{"Section " + std::to_string(k) + " of part " + n, kBold, 12};
      });
  ExpectLevels(manual, expected);
}

// Book chapters that open with "CHAPTER" and a big number on one line, always at the same
// place, above the title: the label and the number are no bookmarks, the parts (set in the
// number's size) and the titles are.
TEST_F(Suggestion, ChapterLabelsAndBigNumbersAreNoTitles) {
  TextPdfSpec manual;
  Rows expected;
  int chapter = 0;
  for (const char* part : {"Basic Matters", "Further Matters"}) {
    Writer opening;
    opening.y = 600;
    opening.Line({{part, kBold, 24}});
    manual.pages.push_back(opening.page);
    expected.push_back({1, part});
    for (int c = 0; c < 3; ++c) {
      const std::string n = std::to_string(++chapter);
      Writer page;
      page.page.lines.push_back({450, 760, {{"CHAPTER", kBold, 14}, {n, kBold, 24}}});
      page.y = 700;
      page.Line({{"Working with topic " + n, kBold, 14}}, 30);
      expected.push_back({2, "Working with topic " + n});
      page.Body(6);
      for (int k = 1; k <= 2; ++k) {
        const std::string section = n + "." + std::to_string(k) + " Details of " + n;
        page.Line({{section, kBold, 11}}, 20);
        expected.push_back({3, section});
        page.Body(6);
      }
      manual.pages.push_back(page.page);
    }
  }
  ExpectLevels(manual, expected);
  // Titles in any script have letters.
  auto output = Suggest(manual);
  ComPtr<zelta::ICabItem> first;
  CabItem(CabItem(output.Get(), u"Options").Get(), u"Levels")->GetItemAt(0, first.Put());
  TextRegex letters;
  ASSERT_EQ(
      letters.Compile(CabText(CabItem(first.Get(), u"LevelDescription").Get(), u"TextPattern", u""),
                      false),
      zelta::S_OK);
  size_t at = 0, length = 0;
  EXPECT_EQ(letters.Search(u"\u0412\u0432\u0435\u0434\u0435\u043D\u0438\u0435", &at, &length),
            zelta::S_OK);
  EXPECT_EQ(letters.Search(u"12 \u2211", &at, &length), zelta::S_FALSE);
}

// A reference manual whose index chapters list entries with leader dots after its printed
// contents: their headings stay in the outline, the printed contents do not.
TEST_F(Suggestion, HeadingsOnPagesOfEntriesAfterTheFirstChapterAreKept) {
  TextPdfSpec manual;
  auto entries = [](Writer& page, const std::vector<std::string>& names) {
    int number = 3;
    for (const std::string& name : names)
      page.Line({{name + " . . . . . . . . . . . . . . . . . . " + std::to_string(number++),
                  kRegular, 10}},
                14);
  };
  Writer contents;
  contents.Line({{"Contents", kBold, 20}}, 30);
  entries(contents, {"1 Introduction", "2 Class Index", "2.1 Class List", "3 Classes", "3.1 Widget",
                     "3.2 Gadget", "3.3 Sprocket", "3.4 Flange", "3.5 Gizmo"});
  manual.pages.push_back(contents.page);
  Writer intro;
  intro.Line({{"1 Introduction", kBold, 20}}, 30);
  intro.Body(10);
  manual.pages.push_back(intro.page);
  Writer index;
  index.Line({{"2 Class Index", kBold, 20}}, 30);
  index.Line({{"2.1 Class List", kBold, 14}}, 22);
  entries(index, {"Widget", "Gadget", "Sprocket", "Flange", "Gizmo"});
  manual.pages.push_back(index.page);
  // Printed contents come in the first half of a document, an index in the second.
  const std::vector<std::string> classes = {"Widget", "Gadget", "Sprocket", "Flange", "Gizmo"};
  for (size_t c = 0; c < classes.size(); ++c) {
    Writer page;
    if (c == 0) page.Line({{"3 Classes", kBold, 20}}, 30);
    page.Line({{"3." + std::to_string(c + 1) + " " + classes[c], kBold, 14}}, 22);
    page.Body(8);
    manual.pages.push_back(page.page);
  }
  ExpectFound(manual,
              (V{u"1 Introduction", u"2 Class Index", u"2.1 Class List", u"3 Classes",
                 u"3.1 Widget", u"3.2 Gadget", u"3.3 Sprocket", u"3.4 Flange", u"3.5 Gizmo"}));
}

// Chapter titles in black and section titles in blue, both in one bold face at one size: the
// colour tells the levels apart, though black is also the body's colour.
TEST_F(Suggestion, ColourTellsApartLevelsOfOneFaceAndSize) {
  TextPdfSpec manual;
  Rows expected;
  AddChapters(
      manual, expected, 2,
      [](const std::string& n) {
        return TextRunSpec{"Working with part " + n, kBold, 14};
      },
      [](const std::string& n, int k) {
        return TextRunSpec{n + "." + std::to_string(k) + " Step " + std::to_string(k), kBold, 14,
                           0x20435C};
      });
  ExpectLevels(manual, expected);
}

// Contents that list the chapters only say nothing of the sections: those stay levels. A
// style the contents leave out above the chapters (a banner) is still no level.
TEST_F(Suggestion, ContentsOfChaptersOnlyLeaveTheDeeperLevels) {
  TextPdfSpec manual;
  Writer contents;
  contents.Line({{"Contents", kBold, 20}}, 30);
  for (int c = 1; c <= 4; ++c)
    contents.Line({{std::to_string(c) + " Chapter number " + std::to_string(c) +
                        " . . . . . . . . . . . . . . . " + std::to_string(2 * c),
                    kRegular, 10}},
                  14);
  manual.pages.push_back(contents.page);
  Rows expected;
  AddChapters(
      manual, expected, 2,
      [](const std::string& n) {
        return TextRunSpec{n + " Chapter number " + n, kBold, 20};
      },
      [](const std::string& n, int k) {
        return TextRunSpec{n + "." + std::to_string(k) + " Section " + std::to_string(k), kBold,
                           14};
      },
      [](Writer& page, const std::string& n) {
        page.Line({{"Draft " + n + " banner", kBold, 26}}, 36);
      });
  ExpectLevels(manual, expected);
}

// Pages of reference entries, each a title and the same few labels in a bold style: the
// labels are no headings and make no bookmarks, so they do not count against the suggestion.
TEST_F(Suggestion, RecurringLabelsDoNotCountAsBookmarks) {
  TextPdfSpec manual;
  for (const char* name : {"open", "close", "read", "write"}) {
    Writer page;
    page.Line({{name, kBold, 16}}, 26);
    for (const char* label : {"Name", "Synopsis", "Description", "Return Value", "Errors"}) {
      page.Line({{label, kBold, 12}}, 20);
      page.Body(2);
    }
    manual.pages.push_back(page.page);
  }
  ExpectFound(manual, (V{u"open", u"close", u"read", u"write"}));
}

}  // namespace
}  // namespace bm::testing
