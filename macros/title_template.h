// A title template: text with %[Name] and %[Name:parameter] macros, cut into tokens once and
// rendered per bookmark. Plain text stays as it is, with these rules of the syntax: "%%"
// stays "%%"; a "%" not followed by "[" stays with the character after it; a "%" at the very
// end is dropped; "]" and ":" outside a macro are text; inside a parameter ":", "%" and "["
// are ordinary; a macro still open at the end ("%[Title") counts as closed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/com.h"

namespace bm {

// Fills the output of a macro token (the value for the current bookmark).
class TitleMacroHandler {
 public:
  virtual ~TitleMacroHandler() = default;
  virtual void Evaluate(std::u16string_view parameter, bool hasParameter,
                        std::u16string& output) const = 0;
};

class TitleTemplate {
 public:
  struct Token {
    const TitleMacroHandler* handler = nullptr;  // null for text or an unknown name
    std::u16string parameter;
    std::u16string name;
    std::u16string output;
    bool hasParameter = false;
    bool IsMacro() const { return !name.empty(); }
  };

  // Registers a handler under a name (case-insensitive); a name already there gets the new
  // handler. The handler is not owned and must outlive the template.
  void Register(std::u16string_view name, const TitleMacroHandler* handler);

  // Cuts the text into tokens, replacing earlier ones. E_OUTOFMEMORY leaves no tokens.
  zelta::HRESULT Parse(std::u16string_view text);
  // Evaluates every macro token and joins the outputs. E_OUTOFMEMORY on allocation failure.
  zelta::HRESULT Render(std::u16string& out);

  const std::vector<Token>& Tokens() const { return tokens_; }
  bool HasMacros() const { return hasMacros_; }
  void SetHasMacros(bool value) { hasMacros_ = value; }

 private:
  struct Entry {
    std::u16string name;
    const TitleMacroHandler* handler;
  };

  const TitleMacroHandler* Lookup(std::u16string_view name) const;
  void ParseTokens(std::u16string_view text);

  std::vector<Entry> handlers_;
  std::vector<Token> tokens_;
  bool hasMacros_ = false;
};

}  // namespace bm
