// The bookmark text file's grammar: lines, fields, the title field with its indent, keyword
// fields in table order, colours, bare page numbers and the action forms. Pure text work:
// nothing here touches a document, so it can be tested and fuzzed on its own.
#pragma once

#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "tools/create/bookmark_line.h"

namespace bm {

class BookmarkTextParser {
 public:
  BookmarkTextParser(char16_t separator, char16_t actionSeparator)
      : separator_(separator), actionSeparator_(actionSeparator) {}

  // Every non-empty line of text, in order. Throws std::bad_alloc.
  std::vector<BookmarkLine> Parse(std::u16string_view text);
  // Hands each non-empty line to visit as it is read, so that a long file is never held
  // as lines all at once; a failure from visit ends the walk and is returned.
  zelta::HRESULT ForEachLine(std::u16string_view text,
                             const std::function<zelta::HRESULT(const BookmarkLine&)>& visit);
  // How many lines ForEachLine visits.
  static size_t CountLines(std::u16string_view text);
  // One line (without its line break).
  BookmarkLine ParseLine(std::u16string_view line, uint32_t lineNumber);

  // Fields that asked for something the format cannot give (an unknown fit type), in order.
  const std::vector<ParseNote>& Notes() const { return notes_; }

 private:
  void ReadField(std::u16string_view field, BookmarkLine& line);
  void ReadGoTo(std::u16string_view body, BookmarkLine& line);
  void ReadGoToRemote(std::u16string_view body, BookmarkLine& line);
  std::vector<std::u16string_view> Parameters(std::u16string_view text, size_t most) const;
  bool ReadDestination(std::span<const std::u16string_view> parameters, bool trimFit,
                       zelta::PageDestination* destination, const BookmarkLine& line);
  void Note(const BookmarkLine& line, std::u16string text);

  char16_t separator_;
  char16_t actionSeparator_;
  std::vector<ParseNote> notes_;
};

}  // namespace bm
