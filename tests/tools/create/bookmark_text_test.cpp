// The bookmark text file read on its own: the encodings by their signatures, lines, fields,
// the title field and its indent, keywords in table order (and the action fields that begin
// with their keyword), colours, bare pages and the action forms.
#include <gtest/gtest.h>

#include <random>

#include "tools/create/bookmark_text_decoder.h"
#include "tools/create/bookmark_text_parser.h"

namespace bm::testing {
namespace {

using Kind = LineAction::Kind;

template <size_t N>
std::string Bytes(const char (&text)[N]) {
  return std::string(text, N - 1);
}

BookmarkLine One(std::u16string_view text) {
  BookmarkTextParser parser(u';', u',');
  return parser.ParseLine(text, 1);
}

struct FieldCase {
  std::u16string line;
  std::u16string title;
  int32_t style;
  bool closed;
  std::u16string color;
  std::vector<Kind> kinds;
};

TEST(BookmarkTextParser, FieldsByTableOrderAndLeadingActions) {
  const FieldCase cases[] = {
      {u";Title;5", u"Title", 0, false, u"", {Kind::kGoTo}},
      {u"Title;5;7", u"Title", 0, false, u"", {Kind::kGoTo, Kind::kGoTo}},
      {u"Title;0;abc", u"Title", 0, false, u"", {}},
      {u"Title;BOLD", u"Title", 2, false, u"", {}},
      {u"Title;BoldItalic", u"Title", 3, false, u"", {}},
      {u"Title;italic;bold", u"Title", 2, false, u"", {}},
      {u"Title;closed;Closed", u"Title", 0, true, u"", {}},
      {u"Title;#12 34", u"Title", 0, false, u"#12 34", {}},
      {u"Title;goto:{@}", u"Title", 0, false, u"", {}},
      {u"Title;goto:{FitH}", u"Title", 0, false, u"", {}},
      {u"Title;uri:{ }", u"Title", 0, false, u"", {}},
      // An action field that begins with its keyword is that action, whatever its text holds.
      {u"Title; uri:{https://bold.example}", u"Title", 0, false, u"", {Kind::kUri}},
      {u"Title;JS:{closed = italic}", u"Title", 0, false, u"", {Kind::kJavaScript}},
      // Elsewhere the table order still decides: "bold" comes before "uri:".
      {u"Title;see uri:{https://bold.example}", u"Title", 2, false, u"", {}},
      // The title field is never searched for keywords.
      {u"bold uri:{x};launch:{a.txt}", u"bold uri:{x}", 0, false, u"", {Kind::kLaunch}},
      {u"T;gotoR:{other.pdf,@intro};gotor:{ ,Fit,1}",
       u"T",
       0,
       false,
       u"",
       {Kind::kGoToRemoteNamed}},
  };
  for (const FieldCase& c : cases) {
    SCOPED_TRACE(std::string(c.line.begin(), c.line.end()));
    const BookmarkLine line = One(c.line);
    EXPECT_EQ(line.title, c.title);
    EXPECT_EQ(line.style, c.style);
    EXPECT_EQ(line.closed, c.closed);
    EXPECT_EQ(line.colorText, c.color);
    std::vector<Kind> kinds;
    for (const auto& action : line.actions) kinds.push_back(action.kind);
    EXPECT_EQ(kinds, c.kinds);
  }
}

TEST(BookmarkTextParser, DestinationsOfTheActionForms) {
  struct Case {
    std::u16string field;
    int32_t page, fit;
    uint32_t flags;
    double v0;
  };
  const Case cases[] = {
      {u"12", 11, zelta::kFitXYZ, 15, 0},
      {u"  -3abc", -4, zelta::kFitXYZ, 15, 0},
      {u"goto:{XYZ,0,0,72,720,1}", 0, zelta::kFitXYZ, 0, 72},
      {u"goto:{ fith ,,3,0,500}", 3, zelta::kFitH, 0, 500},
      {u"goto:{FitR,2}", 2, zelta::kFitR, 15, 0},
      // Runs of separators count as one: the number meant as value 1 is read as the flags.
      {u"goto:{FitV,1,,,2.5e1}}", 1, zelta::kFitV, 2, 0},
      {u"gotoR:{other.pdf,Fit,4}", 4, zelta::kFit, 15, 0},
      {u"goto:{Fit,99999999999}", 2147483647, zelta::kFit, 15, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.field.begin(), c.field.end()));
    const BookmarkLine line = One(u"T;" + c.field);
    ASSERT_EQ(line.actions.size(), 1u);
    const auto& dest = line.actions[0].destination;
    EXPECT_EQ(dest.page, c.page);
    EXPECT_EQ(dest.fitType, c.fit);
    EXPECT_EQ(dest.flags, c.flags);
    EXPECT_EQ(dest.values[0], c.v0);
  }
  const BookmarkLine remote = One(u"T;gotoR:{ other.pdf ,@intro}}");
  ASSERT_EQ(remote.actions.size(), 1u);
  EXPECT_EQ(remote.actions[0].file, u"other.pdf");
  EXPECT_EQ(remote.actions[0].text, u"intro}");
  const BookmarkLine named = One(u"T;goto:{@chapter 2};uri:{ a } b}");
  ASSERT_EQ(named.actions.size(), 2u);
  EXPECT_EQ(named.actions[0].text, u"chapter 2");
  EXPECT_EQ(named.actions[1].text, u"a");
}

TEST(BookmarkTextParser, LinesIndentsAndNotes) {
  BookmarkTextParser parser(u'|', u'/');
  const auto lines = parser.Parse(u"A\r\n\r\n\tB|goto:{Fitz/1}\rC|goto:{FitH/2}\n   \n\n");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[1].title, u"B");
  EXPECT_EQ(lines[1].indent, 1u);
  EXPECT_EQ(lines[1].lineNumber, 3u);
  EXPECT_EQ(lines[2].lineNumber, 4u);
  EXPECT_EQ(lines[2].actions.size(), 1u);
  EXPECT_EQ(lines[3].title, u"");
  EXPECT_EQ(lines[3].indent, 0u);
  ASSERT_EQ(parser.Notes().size(), 1u);
  EXPECT_EQ(parser.Notes()[0].lineNumber, 3u);
}

TEST(BookmarkTextDecoder, SignaturesAndMalformedUtf8) {
  struct Case {
    std::string bytes;
    std::u16string text;
    std::vector<uint32_t> badLines;
  };
  const Case cases[] = {
      {"\xEF\xBB\xBF\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", u"\u00E9\u20AC\U0001F600", {}},
      {"\xEF\xBB\xBF"
       "a\nb\xFF\r\nc\xED\xA0\x80\xF0\x9F",
       u"a\nb\uFFFD\r\nc\uFFFD\uFFFD\uFFFD\uFFFD",
       {2, 3}},
      {Bytes("\xFF\xFE"
             "A\0\x3D\xD8\x00\xDE"),
       u"A\U0001F600",
       {}},
      {Bytes("\xFE\xFF"
             "\0A\0B\0"),
       u"AB",
       {}},
      {"\xEF\xBB\xBF\xEF\xBF\xBE"
       "A",
       u"\u4100",
       {}},
      {"plain \xC3\xA9", u"plain \u00E9", {}},
  };
  BookmarkTextDecoder decoder("UTF-8");
  for (const Case& c : cases) {
    const DecodedText decoded = decoder.Decode(c.bytes);
    EXPECT_EQ(decoded.text, c.text) << c.bytes;
    EXPECT_EQ(decoded.badLines, c.badLines) << c.bytes;
  }
  // Without a mark, text that is not UTF-8 takes the code page; UTF-8 (an export's own form,
  // read back under a C or 8-bit locale) stays UTF-8.
  const BookmarkTextDecoder latin("windows-1252");
  EXPECT_EQ(latin.Decode("caf\xE9 \x80").text, u"caf\u00E9 \u20AC");
  EXPECT_TRUE(latin.Decode("caf\xE9 \x80").badLines.empty());
  EXPECT_EQ(latin.Decode("caf\xC3\xA9 \xE2\x82\xAC").text, u"caf\u00E9 \u20AC");
  EXPECT_FALSE(BookmarkTextDecoder("no-such-charset").Decode("caf\xE9").error.empty());
}

// Random and mutated lines: the parser always ends, gives one line per non-empty piece and
// keeps every action it makes well-formed.
TEST(BookmarkTextParser, RandomAndMutatedInputStaysSound) {
  const std::u16string seeds[] = {
      u"\t\tInstallation;bold;closed;12",
      u"T;goto:{XYZ,0,0,72,720,1};gotoR:{o.pdf,@n};uri:{https://x};launch:{a};js:{b};#F00",
      u"T;goto:{@chapter2};gotoR:{other.pdf,FitBH,4,0,1,2,3,4,5,6}"};
  std::u16string alphabet = u";,{}@#: \t\r\n-+.0123456789eEgotrRuilnchjsbdFXYZ\uFFFD";
  alphabet += {char16_t{0xD800}, char16_t{0}};  // a lone surrogate and a NUL
  std::mt19937 random(1234);
  BookmarkTextParser parser(u';', u',');
  for (int round = 0; round < 3000; ++round) {
    std::u16string text = seeds[round % 3];
    const int edits = static_cast<int>(random() % 12);
    for (int e = 0; e < edits; ++e) {
      const size_t at = text.empty() ? 0 : random() % text.size();
      const char16_t c = alphabet[random() % alphabet.size()];
      if (random() % 3 == 0 && !text.empty())
        text.erase(at, 1 + random() % 4);
      else
        text.insert(at, 1 + random() % 3, c);
    }
    size_t pieces = 0;
    bool inPiece = false;
    for (char16_t c : text) {
      const bool breakChar = c == u'\r' || c == u'\n';
      if (!breakChar && !inPiece) ++pieces;
      inPiece = !breakChar;
    }
    const auto lines = parser.Parse(text);
    ASSERT_EQ(lines.size(), pieces);
    for (const auto& line : lines) {
      EXPECT_GE(line.style, 0);
      EXPECT_LE(line.style, 3);
      for (const auto& action : line.actions) {
        EXPECT_LE(action.destination.flags, 15u);
        EXPECT_GE(action.destination.fitType, zelta::kFitXYZ);
        EXPECT_LE(action.destination.fitType, zelta::kFitBV);
        if (action.kind != Kind::kGoTo && action.kind != Kind::kGoToRemote) {
          EXPECT_FALSE(action.text.empty());
        }
      }
    }
  }
}

}  // namespace
}  // namespace bm::testing
