// One plug-in's node in the persisted settings: the JSON last stored for it, shaped into a
// Cab by the template root the plug-in attaches. Items the template does not know stay in the
// stored JSON and are written back on save, so another version's data is never lost.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "host/settings.h"
#include "zelta/app/cab/cab.h"

namespace zelta::app {

class HostSettings final : public ComObject<IHostSettings> {
 public:
  // `key` names the node in warnings; `stored` is its JSON as read from the file (an object
  // normally; anything else is reported at attach time and replaced).
  HostSettings(std::string key, nlohmann::json stored);

  // Builds the root from the template root, then takes every stored value of the right type.
  // A stored value of the wrong type keeps the default and is reported through TakeWarnings.
  // Attaching again keeps the values set so far. Errors as ICabFactory::CreateCab; the node
  // keeps its previous root on failure.
  HRESULT AttachTemplate(const char16_t* templateText, int32_t length,
                         const char16_t* rootId) override;
  HRESULT GetRoot(ICabItem** root) override;

  // The node as it is to be saved: the stored JSON overlaid with the current values.
  nlohmann::json ToJson() const;
  // Warnings collected while attaching, oldest first; the list is emptied.
  std::vector<std::string> TakeWarnings();

 private:
  std::string key_;
  nlohmann::json stored_;
  ComPtr<Cab> cab_;
  bool attached_ = false;
  std::vector<std::string> warnings_;
};

}  // namespace zelta::app
