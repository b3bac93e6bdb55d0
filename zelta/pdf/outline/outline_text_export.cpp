#include "zelta/pdf/outline/outline_text_export.h"

#include <charconv>

#include "zelta/base/text_codec.h"
#include "zelta/pdf/actions/destination.h"
#include "zelta/pdf/outline/outline_dump.h"

namespace zelta::pdf {

namespace {

// How many values each fit type carries (XYZ left, top, zoom; FitR four; ...).
constexpr int kValueCount[] = {3, 0, 1, 1, 4, 0, 1, 1};

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

bool HasLineBreak(std::u16string_view text) {
  return text.find_first_of(u"\r\n") != std::u16string_view::npos;
}

bool HasEdgeBlanks(std::u16string_view text) {
  return !text.empty() && (IsBlank(text.front()) || IsBlank(text.back()));
}

std::u16string NumberText(double value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::u16string(buffer, result.ptr);
}

std::u16string IntText(int64_t value) {
  const std::string text = std::to_string(value);
  return std::u16string(text.begin(), text.end());
}

class LineWriter {
 public:
  LineWriter(const TextExportOptions& options, std::vector<std::string>* problems)
      : options_(options), problems_(problems) {}

  void Field(std::u16string field) {
    if (field.find(options_.separator) != std::u16string::npos) {
      Problem("the field \"" + base::LossyUtf8(field) + "\" holds the field delimiter");
      return;
    }
    line_ += options_.separator;
    line_ += field;
  }

  void Action(IHostAction* action) {
    int32_t type = kActionOther;
    action->GetType(&type);
    OwnedString name, file, text;
    PageDestination dest;
    const bool named = action->GetDestinationName(name.Put()) == S_OK;
    const bool hasFile = action->GetFile(file.Put()) == S_OK;
    const std::u16string sep(1, options_.actionSeparator);
    switch (type) {
      case kActionGoTo:
        if (named) {
          if (Fits(u"destination name", name.View(), u"")) Field(u"goto:{@" + name.Str() + u"}");
        } else if (action->GetExplicitDestination(&dest) == S_OK && dest.page >= 0) {
          Field(u"goto:{" + Destination(dest) + u"}");
        } else {
          Problem("a go-to action without a destination in this document");
        }
        return;
      case kActionGoToR:
        if (!hasFile || HasEdgeBlanks(file.View())) {
          Problem("a go-to-remote action whose file name is missing or has blanks at its ends");
          return;
        }
        if (!Fits(u"file name", file.View(), sep)) return;
        if (named) {
          if (Fits(u"destination name", name.View(), sep))
            Field(u"gotor:{" + file.Str() + sep + u"@" + name.Str() + u"}");
        } else if (action->GetExplicitDestination(&dest) == S_OK && dest.page >= 0) {
          Field(u"gotor:{" + file.Str() + sep + Destination(dest) + u"}");
        } else {
          Problem("a go-to-remote action without a destination");
        }
        return;
      case kActionURI:
        action->GetUri(text.Put());
        return Braced(u"uri:", u"link", text.View());
      case kActionLaunch:
        return Braced(u"launch:", u"file to launch", file.View());
      case kActionJavaScript:
        action->GetScript(text.Put());
        return Braced(u"js:", u"script", text.View());
      default: {
        OwnedString typeName;
        action->GetTypeName(typeName.Put());
        Problem("a " + base::LossyUtf8(typeName.View()) + " action, which the format lacks");
      }
    }
  }

  std::u16string Take() { return std::move(line_); }
  void Start(std::u16string text) { line_ = std::move(text); }

 private:
  std::u16string Destination(const PageDestination& dest) {
    const std::u16string sep(1, options_.actionSeparator);
    const char* fit = FitTypeName(dest.fitType);
    std::u16string out(fit, fit + std::char_traits<char>::length(fit));
    out += sep + IntText(dest.page) + sep + IntText(dest.flags & 15u);
    for (int i = 0; i < kValueCount[dest.fitType & 7]; ++i) out += sep + NumberText(dest.values[i]);
    return out;
  }

  // Whether text can stand inside an action's braces: no line break, no field delimiter, and
  // nothing of `forbidden`.
  bool Fits(std::u16string_view what, std::u16string_view text, std::u16string_view forbidden) {
    if (text.empty() || HasLineBreak(text) ||
        text.find(options_.separator) != std::u16string_view::npos ||
        text.find_first_of(forbidden) != std::u16string_view::npos) {
      Problem("the " + base::LossyUtf8(what) + " \"" + base::LossyUtf8(text) +
              "\" is empty or holds a line break, the field delimiter or a separator");
      return false;
    }
    return true;
  }

  // uri:{...}, launch:{...}, js:{...}: the value ends at its first "}" and is trimmed.
  void Braced(std::u16string_view keyword, std::u16string_view what, std::u16string_view value) {
    if (HasEdgeBlanks(value)) {
      Problem("the " + base::LossyUtf8(what) + " \"" + base::LossyUtf8(value) +
              "\" has blanks at its ends");
      return;
    }
    if (Fits(what, value, u"}"))
      Field(std::u16string(keyword) + u"{" + std::u16string(value) + u"}");
  }

  void Problem(std::string text) { problems_->push_back(std::move(text)); }

  const TextExportOptions& options_;
  std::vector<std::string>* problems_;
  std::u16string line_;
};

}  // namespace

std::string PositionText(const std::vector<size_t>& path) {
  std::string out;
  for (size_t i = 0; i < path.size(); ++i) out += (i ? "." : "") + std::to_string(path[i]);
  return out;
}

std::string OutlineToBookmarkText(IHostDocument* document, const TextExportOptions& options,
                                  std::vector<ExportNote>* notes) {
  std::string out = options.bom ? "\xEF\xBB\xBF" : "";
  std::vector<size_t> path;  // the position of the bookmark being written
  WalkOutline(
      document,
      [&](IHostBookmark* bookmark, size_t depth) {
        path.resize(depth + 1);
        ++path[depth];
        std::vector<std::string> problems;
        LineWriter line(options, &problems);
        OwnedString title;
        bookmark->GetTitle(title.Put());
        if (title.View().empty())
          problems.push_back("an empty title (the line would lose its place or its fields)");
        else if (HasLineBreak(title.View()) || HasEdgeBlanks(title.View()))
          problems.push_back("the title has a line break or blanks at its ends");
        else if (title.View().find(options.separator) != std::u16string_view::npos)
          problems.push_back("the title holds the field delimiter");
        if (!base::StrictUtf8(title.View()))
          problems.push_back("the title holds a lone surrogate, which UTF-8 cannot carry");
        line.Start(std::u16string(depth, u'\t') + title.Str());

        int32_t style = 0;
        bookmark->GetStyle(&style);
        static constexpr const char16_t* kStyles[] = {nullptr, u"italic", u"bold", u"bolditalic"};
        if (style & 3) line.Field(kStyles[style & 3]);
        bool open = true;
        int32_t children = 0;
        bookmark->GetOpen(&open);
        bookmark->GetChildCount(&children);
        // A bookmark without children reads as closed whatever it was given.
        if (!open && children > 0) line.Field(u"closed");
        uint32_t color = 0;
        if (bookmark->GetColor(&color) == S_OK) {
          char hex[8];
          std::snprintf(hex, sizeof hex, "#%06X", color & 0xFFFFFFu);
          line.Field(std::u16string(hex, hex + 7));
        }
        ComPtr<IHostActionList> actions;
        int32_t count = 0;
        if (Succeeded(bookmark->GetActions(actions.Put())) && actions) actions->GetCount(&count);
        for (int32_t i = 0; i < count; ++i) {
          ComPtr<IHostAction> action;
          if (actions->GetItem(i, action.Put()) == S_OK && action) line.Action(action.Get());
        }
        out += base::LossyUtf8(line.Take());
        out += options.crlf ? "\r\n" : "\n";
        for (std::string& problem : problems)
          notes->push_back({PositionText(path), base::LossyUtf8(title.View()), std::move(problem)});
      },
      [](IHostBookmark*, bool) {});
  return out;
}

}  // namespace zelta::pdf
