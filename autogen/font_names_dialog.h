// "Choose Font Names": the names of the fonts the document's text is set in, gathered by the
// host's font enumeration while the dialog is open, filtered by a typed part of the name.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/dialog_base.h"

namespace bm {

class FontNamesDialog : public DialogBase {
 public:
  // The window timer that takes the gathered names over.
  static constexpr uint32_t kTimerId = 0x42545546;
  static constexpr uint32_t kTimerPeriodMs = 50;

  FontNamesDialog(PluginContext* plugin, zelta::IHostDocument* document);

  // The names chosen at OK, sorted without regard to case.
  const std::vector<std::u16string>& Chosen() const { return chosen_; }

 protected:
  void OnInit() override;
  void OnTimer(intptr_t id) override;
  void OnDestroy() override;
  bool Store() override;

 private:
  class Gatherer;
  struct Shared;

  // Shows the names that contain the filter text, keeping the chosen ones chosen.
  void ShowNames();

  std::shared_ptr<Shared> shared_;
  std::vector<std::u16string> names_;  // every name taken over, sorted without regard to case
  std::vector<std::u16string> shown_;  // the list's entries
  std::vector<std::u16string> chosen_;
};

}  // namespace bm
