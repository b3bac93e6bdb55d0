// The dialog engine as a module meets it: messages in order, the user's actions through the
// driver, the default of each message, timers, numbers typed by a user, modeless dialogs.
#include <gtest/gtest.h>

#include <functional>

#include "zelta/base/text_codec.h"
#include "zelta/ui/dialog_driver.h"
#include "zelta/ui/ui_extension.h"

namespace zelta::ui {
namespace {

constexpr char kLayout[] =
    R"(<dialogs><dialog id="T" title="$$$.btn.ok" width="200" height="120"><fixedArea size="40"/>)"
    R"(<items><edit id="e" x="0" y="0" width="50" height="14"/>)"
    R"(<check id="c" x="0" y="20" width="50" height="12"/>)"
    R"(<button id="hidden" x="60" y="0" width="20" height="14" visible="false"/>)"
    R"(<radio id="r1" x="0" y="40" width="40" height="12" newGroup="true"/>)"
    R"(<radio id="r2" x="0" y="54" width="40" height="12"/>)"
    R"(<radio id="r3" x="50" y="40" width="40" height="12" newGroup="true"/>)"
    R"(<list id="l" x="100" y="20" width="90" height="50"/>)"
    R"(<button id="btn.ok" x="60" y="90" width="60" height="20" fixed="true"/>)"
    R"(<button id="btn.cancel" x="130" y="90" width="60" height="20" fixed="true"/>)"
    R"(</items></dialog></dialogs>)";

// A handler that records every message and answers through a callback.
class Handler : public ComObject<IDialogHandler> {
 public:
  using Answer = std::function<int32_t(IHostDialog*, int32_t code, std::string sender, intptr_t)>;
  explicit Handler(Answer answer) : answer_(std::move(answer)) {}
  HRESULT GetTypeInfoCount(uint32_t* count) override {
    *count = 1;
    return S_OK;
  }
  HRESULT OnMessage(IHostDialog* dialog, IDialogMessage* message, int32_t* result) override {
    int32_t code = 0;
    intptr_t value = 0;
    message->GetCode(&code);
    message->GetValue(&value);
    ComPtr<IDialogControl> sender;
    std::string name;
    if (message->GetSender(sender.Put()) == S_OK) {
      OwnedString id;
      sender->GetId(id.Put());
      name = base::LossyUtf8(id.View());
    }
    log.push_back(std::to_string(code) + (name.empty() ? "" : ":" + name));
    *result = answer_ ? answer_(dialog, code, name, value) : 1;
    if (*result == 0) message->SetHandled();
    return S_OK;
  }
  std::vector<std::string> log;

 private:
  Answer answer_;
};

struct Fixture {
  ComPtr<UiExtension> ui = MakeCom<UiExtension>();
  ComPtr<IHostDialog> Create(Handler* handler) {
    DialogDescription description{reinterpret_cast<const uint8_t*>(kLayout), sizeof kLayout - 1,
                                  u"T", 0, handler};
    ComPtr<IHostDialog> dialog;
    EXPECT_EQ(ui->CreateDialog(&description, dialog.Put()), S_OK);
    return dialog;
  }
  // Runs the dialog modally; how it ended.
  int32_t Run(IHostDialog* dialog) {
    int32_t result = -1;
    EXPECT_EQ(ui->RunModal(dialog, &result), S_OK);
    return result;
  }
};

std::string Text(IHostDialog* dialog, const char16_t* id) {
  ComPtr<IDialogControl> control;
  dialog->GetControl(id, control.Put());
  OwnedString text;
  control->GetText(text.Put());
  return base::LossyUtf8(text.View());
}

TEST(DialogEngine, ModalRunSendsInitFirstAndDestroyLastAndOkKeepsOpenUntilValid) {
  Fixture f;
  auto handler = MakeCom<Handler>([](IHostDialog* dialog, int32_t code, std::string, intptr_t) {
    if (code == kDialogInit) {
      ComPtr<IDialogControl> check;
      dialog->GetControl(u"c", check.Put());
      check->Enable(false);
    }
    // OK is refused while the edit is empty.
    if (code == kDialogOk) return Text(dialog, u"e").empty() ? 0 : 1;
    return 1;
  });
  auto dialog = f.Create(handler.Get());
  bool interactive = true;
  f.ui->IsInteractive(&interactive);
  EXPECT_FALSE(interactive);
  f.ui->Dialogs().QueueDriver([](DialogDriver& user) {
    EXPECT_FALSE(user.Check(u"c"));
    EXPECT_EQ(user.Error(), "c is disabled");
    EXPECT_FALSE(user.Click(u"hidden"));
    EXPECT_EQ(user.Error(), "hidden is hidden");
    EXPECT_FALSE(user.Type(u"nothing", u"x"));
    EXPECT_EQ(user.Error(), "no control nothing");
    EXPECT_FALSE(user.Type(u"r1", u"x"));  // a radio takes no typing
    EXPECT_TRUE(user.Click(u"btn.ok"));
    EXPECT_FALSE(user.Ended());
    EXPECT_TRUE(user.Type(u"e", u"word"));
    EXPECT_TRUE(user.Click(u"btn.ok"));
    EXPECT_TRUE(user.Ended());
    EXPECT_FALSE(user.Type(u"e", u"late"));
  });
  f.ui->IsInteractive(&interactive);
  EXPECT_TRUE(interactive);
  EXPECT_EQ(f.Run(dialog.Get()), kDialogResultOk);
  EXPECT_EQ(handler->log,
            (std::vector<std::string>{"6471", "6501:btn.ok", "6456:e", "6501:btn.ok", "6490"}));
  // A dialog runs once; its controls are dead after it.
  int32_t result = 0;
  EXPECT_EQ(f.ui->RunModal(dialog.Get(), &result), E_FAIL);
  ComPtr<IDialogControl> edit;
  dialog->GetControl(u"e", edit.Put());
  OwnedString text;
  EXPECT_EQ(edit->GetText(text.Put()), E_FAIL);
}

TEST(DialogEngine, UnattendedModalDialogIsCancelled) {
  Fixture f;
  auto handler = MakeCom<Handler>(nullptr);
  EXPECT_EQ(f.Run(f.Create(handler.Get()).Get()), kDialogResultCancel);
  EXPECT_EQ(handler->log, (std::vector<std::string>{"6471", "6502", "6490"}));
}

TEST(DialogEngine, RadiosOfAGroupExcludeEachOtherAndListsSelectSeveral) {
  Fixture f;
  auto handler = MakeCom<Handler>([](IHostDialog* dialog, int32_t code, std::string, intptr_t) {
    if (code == kDialogInit) {
      ComPtr<IDialogControl> list;
      dialog->GetControl(u"l", list.Put());
      for (const char16_t* word : {u"a", u"b", u"c"}) list->InsertItem(-1, word, -1, nullptr);
    }
    return 1;
  });
  auto dialog = f.Create(handler.Get());
  f.ui->Dialogs().QueueDriver([](DialogDriver& user) {
    EXPECT_TRUE(user.Check(u"r3"));
    EXPECT_TRUE(user.Check(u"r1"));
    EXPECT_TRUE(user.Check(u"r2"));
    // r3 starts a group of its own.
    EXPECT_EQ(std::vector<int32_t>({user.State(u"r1"), user.State(u"r2"), user.State(u"r3")}),
              std::vector<int32_t>({0, 1, 1}));
    EXPECT_FALSE(user.Check(u"r2", false));
    EXPECT_TRUE(user.SelectEntries(u"l", {2, 0}));
    EXPECT_EQ(user.State(u"l"), 2);
    EXPECT_FALSE(user.SelectEntries(u"l", {3}));
    user.Close();
  });
  EXPECT_EQ(f.Run(dialog.Get()), kDialogResultCancel);
}

TEST(DialogEngine, TimersFireInOrderUntilKilled) {
  Fixture f;
  std::vector<intptr_t> fired;
  auto handler = MakeCom<Handler>([&](IHostDialog* dialog, int32_t code, std::string, intptr_t v) {
    if (code == kDialogInit) {
      dialog->SetTimer(7, 200);  // one-shot: killed when it fires
      dialog->SetTimer(9, 50);
    }
    if (code == kDialogTimer) {
      fired.push_back(v);
      if (v == 7) dialog->KillTimer(7);
    }
    return 1;
  });
  auto dialog = f.Create(handler.Get());
  f.ui->Dialogs().QueueDriver([](DialogDriver& user) {
    user.Wait(120);
    user.Wait(130);
  });
  f.Run(dialog.Get());
  EXPECT_EQ(fired, (std::vector<intptr_t>{9, 9, 9, 7, 9, 9}));
}

// What a user may type into a number field from 1 to 100.
TEST(DialogEngine, NumberFieldsTakeOnlyPlainNumbersInRange) {
  Fixture f;
  auto handler = MakeCom<Handler>(nullptr);
  auto dialog = f.Create(handler.Get());
  ComPtr<IDialogControl> edit;
  dialog->GetControl(u"e", edit.Put());
  ASSERT_EQ(edit->SetRange(1, 100, 1), S_OK);
  const struct {
    std::u16string text;
    HRESULT hr;
    double value;
  } kCases[] = {
      {u"12.6", S_OK, 12.6},
      {u" 7 ", S_OK, 7},
      {u"1,5", S_OK, 1.5},
      {u"+3", S_OK, 3},
      {u"", E_INVALIDARG, 0},
      {u"abc", E_INVALIDARG, 0},
      {u"5 pt", E_INVALIDARG, 0},
      {u"0", E_INVALIDARG, 0},
      {u"1e999", E_INVALIDARG, 0},
      {u"nan", E_INVALIDARG, 0},
      {std::u16string(100000, u'9'), E_INVALIDARG, 0},
  };
  for (const auto& c : kCases) {
    edit->SetText(c.text.c_str(), static_cast<int32_t>(c.text.size()));
    double value = -1;
    EXPECT_EQ(edit->GetNumber(&value), c.hr) << base::LossyUtf8(c.text.substr(0, 20));
    EXPECT_EQ(value, c.value);
  }
  edit->SetNumber(250);
  EXPECT_EQ(Text(dialog.Get(), u"e"), "100");
  // Shown rounded, read back exactly until the user types.
  double value = 0;
  edit->SetNumber(9.962609099578857);
  EXPECT_EQ(Text(dialog.Get(), u"e"), "9.9626");
  EXPECT_EQ(edit->GetNumber(&value), S_OK);
  EXPECT_EQ(value, 9.962609099578857);
  edit->SetText(u"9.5", 3);
  EXPECT_EQ(edit->GetNumber(&value), S_OK);
  EXPECT_EQ(value, 9.5);
  EXPECT_EQ(edit->SetRange(5, 1, 1), E_INVALIDARG);
}

TEST(DialogEngine, ModelessDialogsLiveUntilTheyEndOrTheHostClosesThem) {
  Fixture f;
  auto first = MakeCom<Handler>(nullptr);
  auto second = MakeCom<Handler>(nullptr);
  auto a = f.Create(first.Get());
  auto b = f.Create(second.Get());
  ASSERT_EQ(f.ui->ShowModeless(a.Get()), S_OK);
  ASSERT_EQ(f.ui->ShowModeless(b.Get()), S_OK);
  EXPECT_EQ(f.ui->Dialogs().OpenModeless().size(), 2u);
  a->BringToFront();
  DialogDriver user(*f.ui->Dialogs().OpenModeless()[0], f.ui->Dialogs());
  EXPECT_TRUE(user.Click(u"btn.cancel"));
  EXPECT_EQ(f.ui->Dialogs().OpenModeless().size(), 1u);
  EXPECT_EQ(first->log, (std::vector<std::string>{"6471", "6500", "6502:btn.cancel", "6490"}));
  f.ui->Dialogs().CloseAll();
  EXPECT_EQ(second->log, (std::vector<std::string>{"6471", "6490"}));
  EXPECT_TRUE(f.ui->Dialogs().OpenModeless().empty());
}

// A sheet asks every page at OK, in order, and stays open on the first that refuses; a page
// reaches the sheet's OK as its own control; the driver works the shown page only.
TEST(DialogEngine, PropertySheetOkAsksEveryPageAndStaysOnARefusal) {
  constexpr char kPages[] =
      R"(<dialogs><dialog id="A" title="a" width="100" height="60"><items>)"
      R"(<check id="ca" x="0" y="0" width="50" height="12"/></items></dialog>)"
      R"(<dialog id="B" title="b" width="120" height="50"><items>)"
      R"(<check id="cb" x="0" y="0" width="50" height="12"/></items></dialog></dialogs>)";
  Fixture f;
  int refusals = 1;
  // Page A allows OK only while its box is checked.
  auto a = MakeCom<Handler>([](IHostDialog* page, int32_t code, std::string, intptr_t) {
    ComPtr<IDialogControl> ok, box;
    int32_t on = 0;
    if (code == kDialogControlChanged && page->GetControl(u"btn.ok", ok.Put()) == S_OK &&
        page->GetControl(u"ca", box.Put()) == S_OK && box->GetState(&on) == S_OK)
      ok->Enable(on != 0);
    return 1;
  });
  auto b = MakeCom<Handler>([&](IHostDialog*, int32_t code, std::string, intptr_t) {
    return code == kDialogOk && refusals-- > 0 ? 0 : 1;
  });
  const PropertySheetPage pages[] = {{u"A", a.Get()}, {u"B", b.Get()}};
  PropertySheetDescription sheet{
      reinterpret_cast<const uint8_t*>(kPages), sizeof kPages - 1, u"S", u"sheet", 0, pages, 2, 1};
  int32_t result = 0;
  for (int32_t start : {-1, 2}) {
    sheet.startPage = start;
    EXPECT_EQ(f.ui->RunPropertySheet(&sheet, &result), E_INVALIDARG);
  }
  sheet.startPage = 1;
  f.ui->Dialogs().QueueDriver([](DialogDriver& user) {
    EXPECT_EQ(user.Model().Layout().id, u"B");
    EXPECT_FALSE(user.Check(u"ca"));  // on the hidden page
    EXPECT_TRUE(user.SelectPage(0));
    EXPECT_TRUE(user.Check(u"ca", false));
    EXPECT_FALSE(user.Click(u"btn.ok"));
    EXPECT_TRUE(user.Check(u"ca"));
    EXPECT_TRUE(user.Click(u"btn.ok"));
    EXPECT_FALSE(user.Ended());
    EXPECT_EQ(user.Model().Layout().id, u"B");
    EXPECT_TRUE(user.Click(u"btn.ok"));
    EXPECT_TRUE(user.Ended());
  });
  ASSERT_EQ(f.ui->RunPropertySheet(&sheet, &result), S_OK);
  EXPECT_EQ(result, kDialogResultOk);
  EXPECT_EQ(a->log, (std::vector<std::string>{"6471", "6500", "6456:ca", "6456:ca", "6501", "6501",
                                              "6490"}));
  EXPECT_EQ(b->log, (std::vector<std::string>{"6471", "6500", "6501", "6500", "6501", "6490"}));
}

}  // namespace
}  // namespace zelta::ui
