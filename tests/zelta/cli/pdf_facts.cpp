#include "tests/zelta/cli/pdf_facts.h"

#include <set>
#include <vector>

namespace zelta::cli_testing {

namespace {

using Json = nlohmann::json;

// qpdf's JSON (version 2) keeps every object under "obj:N G R"; references are "N G R" strings.
const Json* Resolve(const Json& objects, const Json* value) {
  std::set<std::string> seen;
  while (value && value->is_string()) {
    const std::string& text = value->get_ref<const std::string&>();
    if (!text.ends_with(" R") || !seen.insert(text).second) return value;
    auto it = objects.find("obj:" + text);
    if (it == objects.end()) return nullptr;
    value = it->contains("value") ? &(*it)["value"] : nullptr;
  }
  return value;
}

const Json* Key(const Json& objects, const Json* dict, const char* key) {
  dict = Resolve(objects, dict);
  if (!dict || !dict->is_object() || !dict->contains(key)) return nullptr;
  return Resolve(objects, &(*dict)[key]);
}

// Counts the name/value pairs of a name tree; walks iteratively and visits a node once.
int CountNameTree(const Json& objects, const Json* root) {
  int count = 0;
  std::vector<const Json*> pending{root};
  std::set<const Json*> seen;
  while (!pending.empty()) {
    const Json* node = Resolve(objects, pending.back());
    pending.pop_back();
    if (!node || !seen.insert(node).second) continue;
    if (const Json* names = Key(objects, node, "/Names"); names && names->is_array()) {
      count += static_cast<int>(names->size() / 2);
    }
    if (const Json* kids = Key(objects, node, "/Kids"); kids && kids->is_array()) {
      for (const Json& kid : *kids) pending.push_back(&kid);
    }
  }
  return count;
}

}  // namespace

PdfFacts ReadPdfFacts(const CliSandbox& sandbox, const std::string& path,
                      const std::string& password) {
  PdfFacts facts;
  std::vector<std::string> base;
  if (!password.empty()) base.push_back("--password=" + password);

  auto args = [&](std::vector<std::string> more) {
    std::vector<std::string> all = base;
    all.insert(all.end(), more.begin(), more.end());
    return all;
  };
  ProcessResult check = sandbox.Tool("qpdf", args({"--check", path}));
  facts.checkPassed = check.Exited(0);
  facts.checkOutput = check.out + check.err;

  ProcessResult pages = sandbox.Tool("qpdf", args({"--show-npages", path}));
  if (pages.Exited(0) || pages.Exited(3)) facts.pages = std::atoi(pages.out.c_str());

  ProcessResult dump =
      sandbox.Tool("qpdf", args({"--json", "--json-key=qpdf", "--json-key=pagelabels", path}));
  Json json = Json::parse(dump.out, nullptr, false);
  if (json.is_discarded() || !json.contains("qpdf")) return facts;
  facts.pageLabels = json.value("pagelabels", Json::array());
  const Json& objects = json["qpdf"][1];
  const Json* trailer = objects.contains("trailer") ? &objects["trailer"]["value"] : nullptr;
  const Json* catalog = trailer ? Key(objects, trailer, "/Root") : nullptr;
  if (!catalog) return facts;
  facts.namedDests = 0;
  if (const Json* tree = Key(objects, Key(objects, catalog, "/Names"), "/Dests")) {
    facts.namedDests += CountNameTree(objects, tree);
  }
  if (const Json* legacy = Key(objects, catalog, "/Dests"); legacy && legacy->is_object()) {
    facts.namedDests += static_cast<int>(legacy->size());
  }
  return facts;
}

}  // namespace zelta::cli_testing
