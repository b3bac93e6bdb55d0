#include "zelta/ui/message_recorder.h"

#include "host/ui.h"

namespace zelta::ui {

int32_t MessageRecorder::DefaultAnswer(uint32_t style) {
  // The low four bits choose the buttons; anything but a plain OK box is a question.
  return (style & 0xF) == kMsgOk ? kAnswerOk : kAnswerCancel;
}

MessageHandler MessageRecorder::Handler() {
  return [this](const MessageRecord& message) { return Show(message); };
}

int32_t MessageRecorder::Show(const MessageRecord& message) {
  messages_.push_back(message);
  if (answers_.empty()) return DefaultAnswer(message.style);
  int32_t answer = answers_.front();
  answers_.pop_front();
  return answer;
}

}  // namespace zelta::ui
