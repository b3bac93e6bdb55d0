// CabSetPath: the command line's --set PATH=VALUE (declared in cab_json.h).
#include <cctype>
#include <new>

#include "host/call_guard.h"
#include "zelta/app/cab/cab_json.h"
#include "zelta/app/cab/cab_json_reader.h"
#include "zelta/app/cab/cab_text.h"
#include "zelta/app/cab/cab_value_names.h"
#include "zelta/app/cab/json_text.h"
#include "zelta/base/text_codec.h"

namespace zelta::app {
namespace {

// Splits "Levels[0].Appearance.Color" into Levels, [0], Appearance, Color; an index keeps its
// brackets so it cannot be mistaken for a field name. Empty parts are an error.
bool SplitPath(std::string_view path, std::vector<std::string>* parts) {
  size_t start = 0;
  while (start <= path.size()) {
    size_t dot = path.find('.', start);
    std::string_view segment =
        path.substr(start, dot == std::string_view::npos ? path.npos : dot - start);
    size_t bracket = segment.find('[');
    std::string_view name = segment.substr(0, bracket);
    if (!name.empty())
      parts->emplace_back(name);
    else if (bracket == std::string_view::npos)
      return false;
    while (bracket != std::string_view::npos) {
      size_t close = segment.find(']', bracket);
      if (close == std::string_view::npos || close == bracket + 1) return false;
      parts->push_back(std::string(segment.substr(bracket, close - bracket + 1)));
      if (close + 1 < segment.size() && segment[close + 1] != '[') return false;
      bracket = close + 1 < segment.size() ? close + 1 : std::string_view::npos;
    }
    if (dot == std::string_view::npos) break;
    start = dot + 1;
  }
  return !parts->empty();
}

bool ParseIndex(std::string_view text, int32_t* index) {
  if (text.size() >= 2 && text.front() == '[' && text.back() == ']')
    text = text.substr(1, text.size() - 2);
  if (text.empty() || text.size() > 9) return false;
  for (char c : text)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  *index = std::stoi(std::string(text));
  return true;
}

bool ParseBool(std::string_view text, bool* value) {
  std::string lower;
  for (char c : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower == "true" || lower == "1")
    *value = true;
  else if (lower == "false" || lower == "0")
    *value = false;
  else
    return false;
  return true;
}

HRESULT Fail(std::string* error, const std::string& path, const std::string& message) {
  if (error) *error = (path.empty() ? std::string("(options)") : path) + ": " + message;
  return E_INVALIDARG;
}

// Walks to the item PATH names, building its display path (with the root's own name first).
HRESULT Resolve(ICabItem* root, std::string_view path, ComPtr<ICabItem>* item, std::string* shown,
                std::string* error) {
  OwnedString rootName;
  root->GetName(rootName.Put());
  *shown = base::LossyUtf8(rootName.View());
  std::vector<std::string> parts;
  if (!SplitPath(path, &parts))
    return Fail(error, *shown, "'" + std::string(path) + "' is not an option path");
  ComPtr<ICabItem> current(root);
  for (const std::string& part : parts) {
    int32_t type = kCabEmpty;
    current->GetType(&type);
    ComPtr<ICabItem> next;
    if (type == kCabArray) {
      int32_t index = 0, count = 0;
      current->GetCount(&count);
      if (!ParseIndex(part, &index))
        return Fail(error, *shown, "is a list; address its elements by index, not '" + part + "'");
      if (index >= count)
        return Fail(
            error, *shown,
            "has " + std::to_string(count) + " elements, no element " + std::to_string(index));
      current->GetItemAt(index, next.Put());
      *shown = CabJsonReader::Index(*shown, static_cast<size_t>(index));
    } else if (type == kCabDictionary && part.front() != '[') {
      *shown = CabJsonReader::Join(*shown, part);
      auto name = base::StrictUtf16(part);
      if (!name || current->GetItem(name->c_str(), next.Put()) != S_OK)
        return Fail(error, *shown,
                    "unknown option (the options here are " + FieldNameList(current.Get()) + ")");
    } else {
      return Fail(error, *shown, "has no part '" + part + "'");
    }
    if (!next) return Fail(error, *shown, "unknown option");
    current = next;
  }
  *item = current;
  return S_OK;
}

}  // namespace

HRESULT CabSetPath(ICabItem* root, std::string_view path, std::string_view value,
                   std::string* error) {
  if (!root) return E_POINTER;
  return GuardCall([&]() -> HRESULT {
    if (FirstInvalidUtf8(path) != std::string_view::npos)
      return Fail(error, "", "the option path is not valid UTF-8");
    ComPtr<ICabItem> item;
    std::string shown;
    HRESULT hr = Resolve(root, path, &item, &shown, error);
    if (Failed(hr)) return hr;
    int32_t type = kCabEmpty;
    item->GetType(&type);
    // Checked first so that no message below repeats bytes that are not text.
    if (FirstInvalidUtf8(value) != std::string_view::npos)
      return Fail(error, shown, "the value is not valid UTF-8");
    std::string bad = "expected " + std::string(CabJsonReader::Expected(type)) + ", got '" +
                      std::string(value) + "'";
    switch (type) {
      case kCabInt: {
        int32_t number = 0;
        std::string why;
        const CabItemDesc* desc = DescOf(item.Get());
        if (!ParseCabInt(value, &number) && !(desc && ParseNamedInt(*desc, value, &number, &why)))
          return Fail(error, shown,
                      why.empty() ? bad + " (decimal or 0x hexadecimal, 32 bits)" : why);
        return item->SetInt(nullptr, number);
      }
      case kCabDouble: {
        double number = 0;
        if (!ParseCabDouble(value, &number)) return Fail(error, shown, bad);
        return item->SetDouble(nullptr, number);
      }
      case kCabBool: {
        bool flag = false;
        if (!ParseBool(value, &flag)) return Fail(error, shown, bad);
        return item->SetBool(nullptr, flag);
      }
      case kCabString: {
        auto text = base::StrictUtf16(value);
        if (!text) return Fail(error, shown, "the value is not valid UTF-8");
        return item->SetText(nullptr, text->data(), static_cast<int32_t>(text->size()));
      }
      case kCabArray:
      case kCabDictionary: {
        nlohmann::json parsed;
        std::string why;
        if (!ParseJsonText(value, &parsed, &why))
          return Fail(error, shown, bad + " as JSON text: " + why);
        return CabJsonReader::ApplyAll(item.Get(), parsed, shown, error);
      }
      default:
        return Fail(error, shown, "a host object cannot be set");
    }
  });
}

}  // namespace zelta::app
