#include "macros/title_template.h"

#include <new>

#include "macros/macro_set.h"

namespace bm {
namespace {

// Parser states; each table entry is both the action taken and the next state.
enum State : uint8_t {
  kText = 0,      // action: append to the token's text
  kAfterPercent,  // remember the "%"
  kMacroStart,    // close the token, start a macro token
  kAfterClose,    // close the macro token
  kAfterColon,    // the macro has a parameter; the ":" is dropped
  kInName,        // append to the name
  kInParameter,   // append to the parameter
  kLonePercent,   // append the "%" and this character as text
};

// Character classes: other, "%", "[", ":", "]".
int ClassOf(char16_t c) {
  switch (c) {
    case u'%':
      return 1;
    case u'[':
      return 2;
    case u':':
      return 3;
    case u']':
      return 4;
    default:
      return 0;
  }
}

constexpr State kTransitions[8][5] = {
    /* text        */ {kText, kAfterPercent, kText, kText, kText},
    /* after %     */ {kLonePercent, kLonePercent, kMacroStart, kLonePercent, kLonePercent},
    /* macro start */ {kInName, kInName, kInName, kAfterColon, kAfterClose},
    /* after ]     */ {kText, kAfterPercent, kText, kText, kText},
    /* after :     */ {kInParameter, kInParameter, kInParameter, kInParameter, kAfterClose},
    /* in name     */ {kInName, kInName, kInName, kAfterColon, kAfterClose},
    /* in param    */ {kInParameter, kInParameter, kInParameter, kInParameter, kAfterClose},
    /* lone %      */ {kText, kAfterPercent, kText, kText, kText},
};

}  // namespace

void TitleTemplate::Register(std::u16string_view name, const TitleMacroHandler* handler) {
  for (Entry& entry : handlers_) {
    if (SameMacroName(entry.name, name)) {
      entry.handler = handler;
      return;
    }
  }
  handlers_.push_back({std::u16string(name), handler});
}

const TitleMacroHandler* TitleTemplate::Lookup(std::u16string_view name) const {
  for (const Entry& entry : handlers_)
    if (SameMacroName(entry.name, name)) return entry.handler;
  return nullptr;
}

zelta::HRESULT TitleTemplate::Parse(std::u16string_view text) {
  tokens_.clear();
  hasMacros_ = false;
  ParseTokens(text);
  return zelta::S_OK;
}

void TitleTemplate::ParseTokens(std::u16string_view text) {
  Token current;
  auto close = [&] {
    if (current.output.empty() && current.name.empty()) {
      current = Token{};
      return;
    }
    if (!current.name.empty()) current.handler = Lookup(current.name);
    tokens_.push_back(std::move(current));
    current = Token{};
  };

  State state = kText;
  for (char16_t c : text) {
    state = kTransitions[state][ClassOf(c)];
    switch (state) {
      case kText:
        current.output += c;
        break;
      case kAfterPercent:
        break;
      case kMacroStart:
        close();
        break;
      case kAfterClose:
        close();
        break;
      case kAfterColon:
        current.hasParameter = true;
        break;
      case kInName:
        current.name += c;
        break;
      case kInParameter:
        current.parameter += c;
        break;
      case kLonePercent:
        current.output += u'%';
        current.output += c;
        break;
    }
  }
  // A "%" left at the end is dropped; an open macro is closed like any token.
  close();
}

zelta::HRESULT TitleTemplate::Render(std::u16string& out) {
  out.clear();
  for (Token& token : tokens_) {
    if (token.IsMacro()) {
      token.output.clear();
      if (token.handler) token.handler->Evaluate(token.parameter, token.hasParameter, token.output);
    }
    out += token.output;
  }
  return zelta::S_OK;
}

}  // namespace bm
