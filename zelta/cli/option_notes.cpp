#include "zelta/cli/option_notes.h"

#include <cstdio>
#include <iomanip>

#include "zelta/app/cab/cab_item_desc.h"
#include "zelta/app/cab/cab_json.h"
#include "zelta/app/cab/cab_value_names.h"
#include "zelta/cli/session.h"

namespace zelta::cli {
namespace {

std::string TypeName(const app::CabItemDesc& desc) {
  switch (desc.type) {
    case kCabInt:
      return "integer";
    case kCabDouble:
      return "number";
    case kCabBool:
      return "true/false";
    case kCabString:
      return "text";
    case kCabDictionary:
      return "group";
    case kCabArray: {
      const app::CabItemDesc* element = desc.inner ? desc.inner->Element() : nullptr;
      return "list of " + (element ? TypeName(*element) : std::string("values"));
    }
    default:
      return "object";
  }
}

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

std::string Hex(int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, value >= 0 && value < 10 ? "%d" : "0x%X",
                static_cast<unsigned>(value));
  return value < 0 ? std::to_string(value) : text;
}

std::string DefaultText(const app::CabItemDesc& desc) {
  switch (desc.type) {
    case kCabInt: {
      const std::string number = std::to_string(desc.intDefault);
      const std::string named = app::NamedIntText(desc, desc.intDefault);
      return number + (named.empty() || named == number ? "" : " (" + named + ")");
    }
    case kCabDouble:
      return Number(desc.doubleDefault);
    case kCabBool:
      return desc.boolDefault ? "true" : "false";
    case kCabString:
      return nlohmann::json(ToUtf8(desc.textDefault)).dump();
    case kCabArray:
      return "[]";
    default:
      return {};
  }
}

class Explainer {
 public:
  Explainer(app::HostApp& app, std::ostream& out) : app_(app), out_(out) {}

  void Fields(const app::CabItemSet& set, const std::string& path, int depth) {
    if (depth > 16) return;
    for (const app::CabItemDesc* field : set.items) Field(*field, Join(path, field), depth);
  }

  std::string firstNamed;  // PATH=NAME+NAME of the first field with named values, an example

 private:
  static std::string Join(const std::string& path, const app::CabItemDesc* field) {
    const std::string name = ToUtf8(field->id);
    return path.empty() ? name : path + "." + name;
  }

  std::string Text(const std::u16string& id) {
    return id.empty() ? std::string() : ToUtf8(app_.String(ToUtf8(id)));
  }

  void Field(const app::CabItemDesc& desc, const std::string& path, int depth) {
    if (desc.type == kCabUnknown) return;
    std::string line = path + "  (" + TypeName(desc);
    const std::string def = DefaultText(desc);
    if (!def.empty()) line += ", default " + def;
    out_ << line << ")\n";
    std::string meaning = Text(desc.textId);
    if (!desc.needsBit.empty())
      meaning += (meaning.empty() ? "" : "; ") + std::string("takes effect only with ") +
                 ToUtf8(desc.needsFlags) + " bit " + ToUtf8(desc.needsBit);
    if (!meaning.empty()) out_ << "    " << meaning << "\n";
    if (!desc.valueNames.empty()) {
      if (firstNamed.empty()) {
        // The first two names, a bit added when the first is an enumeration value.
        firstNamed = path + "=" + ToUtf8(desc.valueNames[0].name);
        for (size_t i = 1; i < desc.valueNames.size(); ++i)
          if (desc.valueNames[i].bit) {
            firstNamed += "+" + ToUtf8(desc.valueNames[i].name);
            break;
          }
      }
      bool bits = false;
      for (const app::CabValueName& name : desc.valueNames) bits = bits || name.bit;
      out_ << "    " << (bits ? "names (join with +):" : "names:") << "\n";
      for (const app::CabValueName& name : desc.valueNames) {
        out_ << "      " << std::left << std::setw(18) << ToUtf8(name.name) << std::setw(8)
             << Hex(name.value) << Text(name.textId) << "\n";
      }
    }
    if (desc.type == kCabDictionary && desc.inner) Fields(*desc.inner, path, depth + 1);
    if (desc.type == kCabArray && desc.inner) {
      const app::CabItemDesc* element = desc.inner->Element();
      if (element && element->type == kCabDictionary && element->inner)
        Fields(*element->inner, path + "[N]", depth + 1);
    }
  }

  app::HostApp& app_;
  std::ostream& out_;
};

// The Int field `flags` of the nearest enclosing dictionary that has one, innermost first.
ComPtr<ICabItem> NearestFlags(const std::vector<ICabItem*>& dictionaries,
                              const std::vector<std::string>& paths, const std::u16string& flags,
                              std::string* path) {
  for (size_t i = dictionaries.size(); i-- > 0;) {
    ComPtr<ICabItem> field;
    int32_t type = kCabEmpty;
    if (dictionaries[i]->GetItem(flags.c_str(), field.Put()) == S_OK && field &&
        Succeeded(field->GetType(&type)) && type == kCabInt) {
      *path = paths[i].empty() ? ToUtf8(flags) : paths[i] + "." + ToUtf8(flags);
      return field;
    }
  }
  return nullptr;
}

bool DiffersFromDefault(ICabItem* item, const app::CabItemDesc& desc) {
  switch (desc.type) {
    case kCabInt: {
      int32_t value = 0;
      item->GetInt(nullptr, desc.intDefault, &value);
      return value != desc.intDefault;
    }
    case kCabString: {
      OwnedString text;
      item->GetText(nullptr, desc.textDefault.c_str(), text.Put());
      return text.View() != desc.textDefault;
    }
    case kCabArray: {
      int32_t count = 0;
      item->GetCount(&count);
      return count > 0;
    }
    default:
      return false;
  }
}

void Check(ICabItem* item, const std::string& path, std::vector<ICabItem*>& dictionaries,
           std::vector<std::string>& paths, std::vector<std::string>* notes, int depth) {
  if (depth > 32) return;
  const app::CabItemDesc* desc = app::DescOf(item);
  if (!desc) return;
  if (!desc->needsBit.empty() && DiffersFromDefault(item, *desc)) {
    std::string flagsPath;
    ComPtr<ICabItem> flags = NearestFlags(dictionaries, paths, desc->needsFlags, &flagsPath);
    const app::CabItemDesc* flagsDesc = flags ? app::DescOf(flags.Get()) : nullptr;
    int32_t value = 0, bit = 0;
    if (flagsDesc && app::ParseNamedInt(*flagsDesc, ToUtf8(desc->needsBit), &bit, nullptr)) {
      flags->GetInt(nullptr, 0, &value);
      if ((value & bit) == 0)
        notes->push_back(path + " is set but takes effect only with bit " + ToUtf8(desc->needsBit) +
                         " (" + Hex(bit) + ") of " + flagsPath + ": set " + flagsPath + "=" +
                         app::NamedIntText(*flagsDesc, value | bit));
    }
  }
  if (desc->requiresBit) {
    int32_t value = 0, anyBit = 0;
    item->GetInt(nullptr, desc->intDefault, &value);
    for (const app::CabValueName& name : desc->valueNames)
      if (name.bit) anyBit |= name.value;
    if ((value & anyBit) == 0 && anyBit != 0) {
      std::string names;
      for (const app::CabValueName& name : desc->valueNames)
        if (name.bit) names += (names.empty() ? "" : "+") + ToUtf8(name.name);
      notes->push_back(path + "=" + std::to_string(value) +
                       " selects nothing, so the run does nothing: set some of its bits, e.g. " +
                       path + "=" + names);
    }
  }
  int32_t type = kCabEmpty, count = 0;
  item->GetType(&type);
  if (type != kCabDictionary && type != kCabArray) return;
  item->GetCount(&count);
  if (type == kCabDictionary) {
    dictionaries.push_back(item);
    paths.push_back(path);
  }
  for (int32_t i = 0; i < count; ++i) {
    ComPtr<ICabItem> child;
    if (item->GetItemAt(i, child.Put()) != S_OK || !child) continue;
    std::string childPath;
    if (type == kCabArray) {
      childPath = path + "[" + std::to_string(i) + "]";
    } else {
      OwnedString name;
      item->GetNameAt(i, name.Put());
      childPath = (path.empty() ? "" : path + ".") + ToUtf8(name.View());
    }
    Check(child.Get(), childPath, dictionaries, paths, notes, depth + 1);
  }
  if (type == kCabDictionary) {
    dictionaries.pop_back();
    paths.pop_back();
  }
}

}  // namespace

void ExplainOptions(app::HostApp& app, ICabItem* options, const std::string& abbreviation,
                    std::ostream& out) {
  const app::CabItemDesc* desc = app::DescOf(options);
  if (!desc || !desc->inner) return;
  Explainer explainer(app, out);
  explainer.Fields(*desc->inner, "", 0);
  out << "\nSet a value with --set PATH=VALUE (dotted paths, list elements as Levels[0]); "
         "integers in decimal or 0x hexadecimal";
  if (!explainer.firstNamed.empty())
    out << ", or by the names above joined with +, e.g.\n  zelta run " << abbreviation
        << " IN.pdf -o OUT.pdf --set " << explainer.firstNamed
        << "\nIn an --options file a named value is a string, e.g. \"NAME+NAME\"";
  out << ".\n";
}

std::vector<std::string> IneffectiveOptions(ICabItem* options) {
  std::vector<std::string> notes;
  std::vector<ICabItem*> dictionaries;
  std::vector<std::string> paths;
  if (options) Check(options, "", dictionaries, paths, &notes, 0);
  return notes;
}

}  // namespace zelta::cli
