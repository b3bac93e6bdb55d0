#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <functional>

#include "zelta/app/host_app.h"
#include "zelta/ui/message_recorder.h"

namespace zelta::app {
namespace {

ComPtr<IHostProgress> NewProgress(HostApp& app) {
  ComPtr<IHostProgress> progress;
  EXPECT_EQ(app.Ui().CreateProgress(progress.Put()), S_OK);
  return progress;
}

bool Cancelled(IHostProgress* progress) {
  bool cancelled = false;
  EXPECT_EQ(progress->IsCancelled(&cancelled), S_OK);
  return cancelled;
}

TEST(Progress, ScriptedCancelAtAPosition) {
  auto app = MakeCom<HostApp>();
  app->Ui().SetProgressOptions({nullptr, 3});
  auto progress = NewProgress(*app);
  progress->SetRange(10);
  for (uint32_t i = 0; i < 3; ++i) {
    progress->SetPosition(i);
    EXPECT_FALSE(Cancelled(progress.Get())) << i;
  }
  progress->SetPosition(3);
  EXPECT_TRUE(Cancelled(progress.Get()));
  progress->Reset();
  EXPECT_TRUE(Cancelled(progress.Get()));  // a cancel is not taken back
}

volatile std::sig_atomic_t gOuterHandlerCalls = 0;
void OuterHandler(int) { gOuterHandlerCalls = gOuterHandlerCalls + 1; }

TEST(Progress, CtrlCCancelsOnlyWhileAWindowIsOpen) {
  auto previous = std::signal(SIGINT, OuterHandler);
  auto app = MakeCom<HostApp>();
  app->Ui().SetProgressOptions({});
  {
    auto progress = NewProgress(*app);
    std::raise(SIGINT);  // not open yet: the program's own handler gets it
    EXPECT_EQ(gOuterHandlerCalls, 1);
    progress->SetTitle(u"Working", -1);
    EXPECT_FALSE(Cancelled(progress.Get()));
    std::raise(SIGINT);
    EXPECT_TRUE(Cancelled(progress.Get()));
    EXPECT_EQ(gOuterHandlerCalls, 1);
    progress->Close();
    EXPECT_TRUE(Cancelled(progress.Get()));
    std::raise(SIGINT);  // closed: the old handler is back
    EXPECT_EQ(gOuterHandlerCalls, 2);
  }
  {
    auto progress = NewProgress(*app);  // released while open restores it too
    progress->SetPosition(1);
    EXPECT_FALSE(Cancelled(progress.Get()));
  }
  std::raise(SIGINT);
  EXPECT_EQ(gOuterHandlerCalls, 3);
  std::signal(SIGINT, previous);
}

// What a progress window drew on its terminal while `work` used it.
std::string Drawn(const std::function<void(ui::ProgressWindow&)>& work) {
  std::FILE* terminal = std::tmpfile();
  EXPECT_NE(terminal, nullptr);
  if (!terminal) return "";
  auto window = MakeCom<ui::ProgressWindow>(ui::ProgressOptions{terminal, {}});
  work(*window.Get());
  std::rewind(terminal);
  char buffer[1024] = {};
  const std::string drawn(buffer, std::fread(buffer, 1, sizeof buffer - 1, terminal));
  std::fclose(terminal);
  return drawn;
}

TEST(Progress, ClosedWindowIgnoresCallsAndDrawsOnOneLine) {
  const std::string drawn = Drawn([](ui::ProgressWindow& window) {
    window.SetTitle(u"Sorting", -1);
    window.SetRange(4);
    window.SetStatusText(u"Processing\nbookmark 2 of 4", -1);
    window.SetPosition(2);
    EXPECT_EQ(window.Close(), S_OK);
    EXPECT_EQ(window.SetPosition(4), S_FALSE);
    EXPECT_EQ(window.Position(), 2u);
    EXPECT_EQ(window.StatusText(), u"Processing bookmark 2 of 4");
  });
  EXPECT_NE(drawn.find("Sorting [##########..........] 50% Processing bookmark 2 of 4"),
            std::string::npos)
      << drawn;
  EXPECT_EQ(drawn.back(), '\n');
  EXPECT_EQ(std::count(drawn.begin(), drawn.end(), '\n'), 1);
}

// A long title gives way to the text, which carries the progress (the page being read).
TEST(Progress, LongTitleLeavesTheTextOnTheLine) {
  const std::string drawn = Drawn([](ui::ProgressWindow& window) {
    window.SetTitle(u"Generating Bookmarks From Page Text", -1);
    window.SetRange(1000);
    window.SetStatusText(u"Generating bookmarks from page 123...", -1);
    window.SetPosition(123);
    window.Close();
  });
  const std::string last = drawn.substr(drawn.rfind('\r') + 1);
  EXPECT_NE(last.find("12% Generating bookmarks from page 123..."), std::string::npos) << last;
  EXPECT_TRUE(last.starts_with("\x1b[KGenerating")) << last;
  EXPECT_LE(last.size(), 3 + 79 + 1u) << last;  // erase sequence, the line, its end
}

TEST(Progress, FactoryHookReplacesTheWindows) {
  auto app = MakeCom<HostApp>();
  ComPtr<ui::ProgressWindow> made;
  app->Ui().SetProgressFactory([&] {
    made = MakeCom<ui::ProgressWindow>(ui::ProgressOptions{nullptr, 0});
    return ComPtr<IHostProgress>(made);
  });
  auto progress = NewProgress(*app);
  EXPECT_EQ(progress.Get(), static_cast<IHostProgress*>(made.Get()));
  EXPECT_TRUE(Cancelled(progress.Get()));
  app->Ui().SetProgressFactory([] { return ComPtr<IHostProgress>(); });
  ComPtr<IHostProgress> none;
  EXPECT_EQ(app->Ui().CreateProgress(none.Put()), E_FAIL);
}

TEST(Messages, RecordedAndAnsweredFromTheScript) {
  auto app = MakeCom<HostApp>();
  ui::MessageRecorder recorder;
  app->Ui().SetMessageHandler(recorder.Handler());
  recorder.Answer(kAnswerYes);
  int32_t answer = 0;
  EXPECT_EQ(
      app->Ui().ShowMessage(u"Replace all?", -1, u"Bookmarks", -1, kMsgYesNoCancel, 1, &answer),
      S_OK);
  EXPECT_EQ(answer, kAnswerYes);
  EXPECT_EQ(app->Ui().ShowMessage(u"Again?", 6, nullptr, 0, kMsgYesNoCancel, 1, &answer), S_OK);
  EXPECT_EQ(answer, kAnswerCancel);  // script used up: the default for a question
  EXPECT_EQ(app->Ui().ShowMessage(u"Done", -1, u"Bookmarks", -1, 0x80000401u, 1, nullptr), S_OK);

  ASSERT_EQ(recorder.Messages().size(), 3u);
  EXPECT_EQ(recorder.Messages()[0].text, u"Replace all?");
  EXPECT_EQ(recorder.Messages()[1].caption, u"");
  EXPECT_EQ(recorder.Messages()[2].style, 0x80000401u);
}

TEST(Messages, WithoutAHandlerOkBoxesAreReadAndQuestionsDeclined) {
  auto app = MakeCom<HostApp>();
  int32_t answer = 0;
  app->Ui().ShowMessage(u"Note", -1, u"", -1, kMsgOk | kMsgIconWarning, 0, &answer);
  EXPECT_EQ(answer, kAnswerOk);
  app->Ui().ShowMessage(u"Sure?", -1, u"", -1, kMsgYesNoCancel, 0, &answer);
  EXPECT_EQ(answer, kAnswerCancel);
  app->Ui().SetMessageHandler(
      [](const ui::MessageRecord&) -> int32_t { throw std::runtime_error("x"); });
  EXPECT_EQ(app->Ui().ShowMessage(u"Boom", -1, u"", -1, 0, 0, &answer), E_FAIL);
}

}  // namespace
}  // namespace zelta::app
