#include "tools/create/bookmark_text_parser.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "framework/host_strings.h"
#include "host/limits.h"

namespace bm {

namespace {

using Kind = LineAction::Kind;

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

std::u16string_view Trim(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

char16_t FoldAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? c + (u'a' - u'A') : c; }

// Where the lower-case ASCII keyword first occurs in text, compared without regard to case.
size_t FindKeyword(std::u16string_view text, std::u16string_view keyword, size_t from = 0) {
  if (keyword.size() > text.size()) return std::u16string_view::npos;
  for (size_t i = from; i + keyword.size() <= text.size(); ++i) {
    size_t k = 0;
    while (k < keyword.size() && FoldAscii(text[i + k]) == keyword[k]) ++k;
    if (k == keyword.size()) return i;
  }
  return std::u16string_view::npos;
}

enum class FieldKind { kGoTo, kClosed, kBoldItalic, kBold, kItalic, kGoToR, kUri, kLaunch, kJs };

struct Keyword {
  std::u16string_view text;
  FieldKind kind;
};

// The table order decides: the first keyword found anywhere in a field classifies it.
constexpr std::array<Keyword, 9> kKeywords = {{
    {u"goto:", FieldKind::kGoTo},
    {u"closed", FieldKind::kClosed},
    {u"bolditalic", FieldKind::kBoldItalic},
    {u"bold", FieldKind::kBold},
    {u"italic", FieldKind::kItalic},
    {u"gotor:", FieldKind::kGoToR},
    {u"uri:", FieldKind::kUri},
    {u"launch:", FieldKind::kLaunch},
    {u"js:", FieldKind::kJs},
}};

bool IsActionKind(FieldKind kind) {
  return kind == FieldKind::kGoTo || kind == FieldKind::kGoToR || kind == FieldKind::kUri ||
         kind == FieldKind::kLaunch || kind == FieldKind::kJs;
}

// An action keyword at the field's start (after blanks) followed by "{" names the action
// whatever the rest holds, so that a link such as "uri:{https://bold.example}" stays a link.
bool LeadingAction(std::u16string_view field, Keyword* found, size_t* at) {
  size_t start = 0;
  while (start < field.size() && IsBlank(field[start])) ++start;
  for (const Keyword& keyword : kKeywords) {
    if (!IsActionKind(keyword.kind) ||
        FindKeyword(field.substr(start, keyword.text.size()), keyword.text) != 0)
      continue;
    size_t brace = start + keyword.text.size();
    while (brace < field.size() && IsBlank(field[brace])) ++brace;
    if (brace < field.size() && field[brace] == u'{') {
      *found = keyword;
      *at = start;
      return true;
    }
  }
  return false;
}

// The leading decimal integer (blanks and a sign before it allowed); 0 when there is none.
// Values beyond 32 bits are clamped, which keeps them outside every document.
int64_t LeadingInteger(std::u16string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  int64_t value = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
    value = std::min<int64_t>(value * 10 + (text[i] - u'0'), int64_t{1} << 32);
  return negative ? -value : value;
}

int32_t ClampToInt32(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

// The leading decimal number (blanks and a sign allowed, anything after it ignored); 0 when
// there is none or it is not finite.
double LeadingNumber(std::u16string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  std::string ascii;
  if (i < text.size() && text[i] == u'+') ++i;
  for (; i < text.size() && ascii.size() < 64; ++i) {
    const char16_t c = text[i];
    if (!((c >= u'0' && c <= u'9') || c == u'.' || c == u'-' || c == u'e' || c == u'E')) break;
    ascii.push_back(static_cast<char>(c));
  }
  double value = 0;
  const auto result =
      std::from_chars(ascii.data(), ascii.data() + ascii.size(), value, std::chars_format::general);
  if (result.ec != std::errc() || !std::isfinite(value)) return 0;
  return value;
}

constexpr std::array<std::u16string_view, 8> kFitNames = {u"xyz",  u"fit",  u"fith",  u"fitv",
                                                          u"fitr", u"fitb", u"fitbh", u"fitbv"};

int32_t FitTypeOf(std::u16string_view name) {
  for (size_t i = 0; i < kFitNames.size(); ++i)
    if (name.size() == kFitNames[i].size() && FindKeyword(name, kFitNames[i]) == 0)
      return static_cast<int32_t>(i);
  return -1;
}

// The text after the first "@" up to the last "}" after it (or to the end).
std::u16string_view NameAfterAt(std::u16string_view text) {
  const size_t at = text.find(u'@');
  std::u16string_view name = text.substr(at + 1);
  const size_t close = name.rfind(u'}');
  return close == std::u16string_view::npos ? name : name.substr(0, close);
}

}  // namespace

std::vector<BookmarkLine> BookmarkTextParser::Parse(std::u16string_view text) {
  std::vector<BookmarkLine> lines;
  ForEachLine(text, [&](const BookmarkLine& line) {
    lines.push_back(line);
    return zelta::S_OK;
  });
  return lines;
}

zelta::HRESULT BookmarkTextParser::ForEachLine(
    std::u16string_view text, const std::function<zelta::HRESULT(const BookmarkLine&)>& visit) {
  notes_.clear();
  uint32_t lineNumber = 1;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = start;
    while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
    if (end > start) {
      const zelta::HRESULT hr = visit(ParseLine(text.substr(start, end - start), lineNumber));
      if (zelta::Failed(hr)) return hr;
    }
    if (end >= text.size()) break;
    // A CR LF pair ends one line.
    if (text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n') ++end;
    ++lineNumber;
    start = end + 1;
  }
  return zelta::S_OK;
}

size_t BookmarkTextParser::CountLines(std::u16string_view text) {
  size_t count = 0;
  bool inLine = false;
  for (char16_t c : text) {
    const bool lineBreak = c == u'\r' || c == u'\n';
    if (!lineBreak && !inLine) ++count;
    inLine = !lineBreak;
  }
  return count;
}

BookmarkLine BookmarkTextParser::ParseLine(std::u16string_view text, uint32_t lineNumber) {
  BookmarkLine line;
  line.lineNumber = lineNumber;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(separator_, start);
    if (end == std::u16string_view::npos) end = text.size();
    const std::u16string_view field = text.substr(start, end - start);
    if (line.title.empty()) {
      size_t indent = 0;
      while (indent < field.size() && IsBlank(field[indent])) ++indent;
      // A field of blanks only sets no indent.
      if (indent < field.size()) line.indent = indent;
      line.title = Trim(field);
    } else {
      ReadField(field, line);
    }
    start = end + 1;
  }
  return line;
}

void BookmarkTextParser::ReadField(std::u16string_view field, BookmarkLine& line) {
  Keyword keyword{};
  size_t at = 0;
  bool found = LeadingAction(field, &keyword, &at);
  for (size_t i = 0; !found && i < kKeywords.size(); ++i) {
    at = FindKeyword(field, kKeywords[i].text);
    if (at != std::u16string_view::npos) keyword = kKeywords[i], found = true;
  }
  if (!found) {
    const size_t hash = field.find(u'#');
    if (hash != std::u16string_view::npos) {
      line.colorText = Trim(field.substr(hash));
      return;
    }
    const int64_t page = LeadingInteger(field);
    if (page == 0) return;
    LineAction action;
    action.destination.page = ClampToInt32(page - 1);
    line.actions.push_back(std::move(action));
    return;
  }
  switch (keyword.kind) {
    case FieldKind::kClosed:
      line.closed = true;
      return;
    case FieldKind::kBoldItalic:
      line.style = 3;
      return;
    case FieldKind::kBold:
      line.style = 2;
      return;
    case FieldKind::kItalic:
      line.style = 1;
      return;
    default:
      break;
  }
  const size_t brace = field.find(u'{', at + keyword.text.size());
  if (brace == std::u16string_view::npos) return;
  const std::u16string_view body = field.substr(brace + 1);
  if (keyword.kind == FieldKind::kGoTo) return ReadGoTo(body, line);
  if (keyword.kind == FieldKind::kGoToR) return ReadGoToRemote(body, line);
  const size_t close = body.find(u'}');
  const std::u16string_view value = Trim(body.substr(0, close));
  if (value.empty()) return;
  LineAction action;
  action.kind = keyword.kind == FieldKind::kUri      ? Kind::kUri
                : keyword.kind == FieldKind::kLaunch ? Kind::kLaunch
                                                     : Kind::kJavaScript;
  action.text = value;
  line.actions.push_back(std::move(action));
}

std::vector<std::u16string_view> BookmarkTextParser::Parameters(std::u16string_view text,
                                                                size_t most) const {
  std::vector<std::u16string_view> parameters;
  size_t start = 0;
  while (start <= text.size() && parameters.size() < most) {
    size_t end = text.find(actionSeparator_, start);
    if (end == std::u16string_view::npos) end = text.size();
    // Runs of separators count as one.
    if (end > start) parameters.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return parameters;
}

namespace {

std::u16string Coordinate() {
  return NumberText(static_cast<uint64_t>(zelta::kMaxDestinationCoordinate));
}

}  // namespace

bool BookmarkTextParser::ReadDestination(std::span<const std::u16string_view> parameters,
                                         bool trimFit, zelta::PageDestination* destination,
                                         const BookmarkLine& line) {
  const std::u16string_view fitName = trimFit ? Trim(parameters[0]) : parameters[0];
  const int32_t fit = FitTypeOf(fitName);
  if (fit < 0) {
    Note(line, u"\"" + std::u16string(fitName) + u"\" is not a fit type; the action is left out");
    return false;
  }
  destination->fitType = fit;
  destination->page = ClampToInt32(LeadingInteger(parameters[1]));
  // Without a flags parameter, the values not given are the absent ones.
  uint32_t absent = 0;
  for (size_t i = 0; i < 4; ++i)
    if (parameters.size() < 4 + i) absent |= 1u << i;
  destination->flags =
      parameters.size() > 2
          ? static_cast<uint32_t>(ClampToInt32(LeadingInteger(parameters[2]))) & 15u
          : absent;
  for (size_t i = 0; i < 4; ++i)
    destination->values[i] = parameters.size() > 3 + i ? LeadingNumber(parameters[3 + i]) : 0;
  for (int i = 0; i < 4; ++i) {
    if ((destination->flags & (1u << i)) ||
        zelta::DestinationValueInRange(fit, i, destination->values[i]))
      continue;
    const bool zoom = fit == zelta::kFitXYZ && i == 2;
    Note(line, u"value " + NumberText(static_cast<uint64_t>(i + 1)) + u" \"" +
                   std::u16string(Trim(parameters[3 + i])) + u"\" is out of range (" +
                   (zoom ? u"a zoom is 0 to " +
                               NumberText(static_cast<uint64_t>(zelta::kMaxDestinationZoom))
                         : u"a coordinate is -" + Coordinate() + u" to " + Coordinate()) +
                   u"); the action is left out");
    return false;
  }
  return true;
}

void BookmarkTextParser::ReadGoTo(std::u16string_view body, BookmarkLine& line) {
  LineAction action;
  if (body.find(u'@') != std::u16string_view::npos) {
    const std::u16string_view name = NameAfterAt(body);
    if (name.empty()) return;
    action.kind = Kind::kGoToNamed;
    action.text = name;
    line.actions.push_back(std::move(action));
    return;
  }
  std::vector<std::u16string_view> parameters = Parameters(body, 7);
  for (auto& parameter : parameters) parameter = Trim(parameter);
  if (parameters.size() < 2) return;
  if (!ReadDestination(parameters, true, &action.destination, line)) return;
  line.actions.push_back(std::move(action));
}

void BookmarkTextParser::ReadGoToRemote(std::u16string_view body, BookmarkLine& line) {
  const std::vector<std::u16string_view> parameters = Parameters(body, 8);
  if (parameters.empty()) return;
  LineAction action;
  action.file = Trim(parameters[0]);
  if (action.file.empty() || parameters.size() < 2) return;
  if (parameters[1].find(u'@') != std::u16string_view::npos) {
    const std::u16string_view name = NameAfterAt(parameters[1]);
    if (name.empty()) return;
    action.kind = Kind::kGoToRemoteNamed;
    action.text = name;
    line.actions.push_back(std::move(action));
    return;
  }
  if (parameters.size() < 3) return;
  action.kind = Kind::kGoToRemote;
  if (!ReadDestination(std::span(parameters).subspan(1), false, &action.destination, line)) return;
  line.actions.push_back(std::move(action));
}

void BookmarkTextParser::Note(const BookmarkLine& line, std::u16string text) {
  notes_.push_back({line.lineNumber, std::move(text)});
}

}  // namespace bm
