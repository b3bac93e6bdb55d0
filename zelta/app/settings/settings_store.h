// The host's persisted settings: one JSON file holding a node per plug-in key (the plug-in's
// GUID text, say). Loading never destroys a damaged file, and saving replaces the file
// atomically, so the settings on disk are always either the old or the new ones.
#pragma once

#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "host/settings.h"
#include "zelta/app/settings/host_settings.h"

namespace zelta::app {

class SettingsStore {
 public:
  // An empty path means DefaultPath().
  explicit SettingsStore(std::string path);

  // $XDG_CONFIG_HOME/zelta/settings.json, or $HOME/.config/zelta/settings.json.
  static std::string DefaultPath();

  // Reads the file. A missing file is an empty store. A file that is not a JSON object is
  // copied to "<path>.bad", the store starts empty and *warning says so (S_OK). A file that
  // cannot be read, or a damaged one that cannot be copied aside, fails with *warning set.
  // Nodes handed out earlier are detached from the store.
  HRESULT Load(std::string* warning);
  // Writes every node (its current values over what was stored) to a temporary file in the
  // same folder, flushes it and renames it over the file. The folder is created if needed.
  // Nothing is written when the file already holds these values. E_ACCESS_DENIED, E_DISK_FULL or
  // E_FAIL with *error naming the file; nothing is left behind.
  HRESULT Save(std::string* error);
  // The node for a key, created empty on first use; the same object for the same key.
  ComPtr<IHostSettings> Node(const std::string& key);
  // Warnings of the nodes' AttachTemplate calls (stored values of the wrong type), emptied.
  std::vector<std::string> TakeWarnings();
  const std::string& Path() const { return path_; }

 private:
  HostSettings* NodeOf(const std::string& key);
  nlohmann::json Document() const;

  std::string path_;
  // The file as loaded: nodes not touched in this session are written back as they were.
  nlohmann::json document_ = nlohmann::json::object();
  bool documentOnDisk_ = false;  // the file holds document_ (read from it or written)
  std::map<std::string, ComPtr<HostSettings>> nodes_;
};

}  // namespace zelta::app
