// Records the messages shown and answers them from a script: for tests and scripted runs.
#pragma once

#include <deque>
#include <vector>

#include "zelta/ui/message_record.h"

namespace zelta::ui {

class MessageRecorder {
 public:
  // Queues the answer for the next message; unscripted messages get the default answer.
  void Answer(int32_t answer) { answers_.push_back(answer); }
  // kAnswerOk for an OK box, kAnswerCancel for a question.
  static int32_t DefaultAnswer(uint32_t style);

  // A handler for UiExtension::SetMessageHandler; the recorder must outlive it.
  MessageHandler Handler();
  int32_t Show(const MessageRecord& message);

  const std::vector<MessageRecord>& Messages() const { return messages_; }
  void Clear() {
    messages_.clear();
    answers_.clear();
  }

 private:
  std::vector<MessageRecord> messages_;
  std::deque<int32_t> answers_;
};

}  // namespace zelta::ui
