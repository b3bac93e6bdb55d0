// A message box as the headless host shows it: to a handler the program installs.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace zelta::ui {

struct MessageRecord {
  std::u16string text, caption;
  uint32_t style = 0;
};

// Shows (prints, records...) a message and gives the user's answer (a MessageAnswer).
using MessageHandler = std::function<int32_t(const MessageRecord&)>;

}  // namespace zelta::ui
