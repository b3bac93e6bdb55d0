// "Add New Excluded Word(s)": a multi-line edit, one word per line.
#pragma once

#include <string>
#include <vector>

#include "framework/dialog_base.h"

namespace bm {

class ExcludedWordsDialog : public DialogBase {
 public:
  explicit ExcludedWordsDialog(PluginContext* plugin);

  // The words typed, after OK: carriage returns count as line ends, each line is trimmed of
  // blanks, empty lines are dropped.
  const std::vector<std::u16string>& Words() const { return words_; }

 protected:
  bool Store() override;

 private:
  std::vector<std::u16string> words_;
};

}  // namespace bm
