#include "zelta/app/settings/host_settings.h"

#include <new>

#include "host/call_guard.h"
#include "zelta/app/cab/cab_json.h"

namespace zelta::app {
namespace {

// The root a node has before a template is attached: an empty dictionary.
constexpr char16_t kEmptyTemplate[] =
    u"<CabTemplate><ItemSet id='Empty'/><Root type='Dictionary' itemSet='Empty' "
    u"id='Empty'/></CabTemplate>";

// Writes the values of `current` over `into`, descending into objects so that keys only
// `into` has (items unknown to the template) survive at every level. Arrays are replaced.
void Overlay(nlohmann::json& into, const nlohmann::json& current) {
  if (!into.is_object() || !current.is_object()) {
    into = current;
    return;
  }
  for (const auto& [key, value] : current.items()) {
    auto found = into.find(key);
    if (found == into.end())
      into[key] = value;
    else
      Overlay(*found, value);
  }
}

}  // namespace

HostSettings::HostSettings(std::string key, nlohmann::json stored)
    : key_(std::move(key)), stored_(std::move(stored)) {
  Cab::Create(kEmptyTemplate, u"Empty", &cab_);
}

HRESULT HostSettings::AttachTemplate(const char16_t* templateText, int32_t length,
                                     const char16_t* rootId) {
  std::u16string_view text = InString(templateText, length);
  if (text.empty() || !rootId) return E_INVALIDARG;
  return GuardCall([&]() -> HRESULT {
    ComPtr<Cab> fresh;
    HRESULT hr = Cab::Create(text, rootId, &fresh);
    if (Failed(hr)) return hr;
    nlohmann::json values = ToJson();
    if (!values.is_object()) {
      warnings_.push_back("settings '" + key_ + "': the stored node is a " + values.type_name() +
                          ", not an object; defaults are used");
      values = nlohmann::json::object();
    }
    std::vector<std::string> problems;
    hr = CabMergeJson(fresh->Root(), values, &problems);
    if (Failed(hr)) return hr;
    for (std::string& problem : problems)
      warnings_.push_back("settings '" + key_ + "': " + problem + "; the default is used");
    stored_ = std::move(values);
    cab_ = std::move(fresh);
    attached_ = true;
    return S_OK;
  });
}

HRESULT HostSettings::GetRoot(ICabItem** root) {
  if (!root) return E_POINTER;
  *root = nullptr;
  if (!cab_) return E_OUTOFMEMORY;  // the empty root could not be made
  return cab_->GetRoot(root);
}

nlohmann::json HostSettings::ToJson() const {
  nlohmann::json out = stored_;
  if (attached_) Overlay(out, nlohmann::json(CabToJson(cab_->Root())));
  return out;
}

std::vector<std::string> HostSettings::TakeWarnings() { return std::exchange(warnings_, {}); }

}  // namespace zelta::app
