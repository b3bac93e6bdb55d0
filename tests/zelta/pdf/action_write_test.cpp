// Writing actions: the action factory, action lists given back to bookmarks, destination
// edits, and hostile chains. Files are saved, re-read and checked with qpdf.
#include "host/action.h"
#include "tests/zelta/pdf/pdf_test_support.h"
#include "zelta/pdf/actions/host_action_list.h"

namespace zelta::pdf::testing {
namespace {

using zelta::testing::ActionSpec;
using zelta::testing::BuildPdf;
using zelta::testing::OutlineSpec;
using zelta::testing::PdfSpec;

PdfSpec FourPages() {
  PdfSpec layout;
  layout.pages.resize(4);
  layout.namedDests = {{"intro", 1}};
  layout.outline.push_back(zelta::testing::Bookmark("Bare", 2));
  OutlineSpec chain = zelta::testing::Bookmark("Chain");
  chain.actions = {ActionSpec{"URI", -1, "", "", "http://a.example/", ""},
                   ActionSpec{"GoTo", 3, "", "", "", ""}};
  layout.outline.push_back(chain);
  return layout;
}

ComPtr<IHostActionList> ActionsOf(IHostBookmark* bookmark) {
  ComPtr<IHostActionList> list;
  EXPECT_EQ(bookmark->GetActions(list.Put()), S_OK);
  return list;
}

int32_t Count(IHostActionList* list) {
  int32_t count = -1;
  list->GetCount(&count);
  return count;
}

ComPtr<IHostAction> Item(IHostActionList* list, int32_t index) {
  ComPtr<IHostAction> action;
  list->GetItem(index, action.Put());
  return action;
}

int32_t TypeOf(IHostAction* action) {
  int32_t type = -1;
  action->GetType(&type);
  return type;
}

std::u16string Text(IHostAction* action, HRESULT (IHostAction::*get)(BString*)) {
  OwnedString text;
  (action->*get)(text.Put());
  return text.Str();
}

class ActionWrite : public ::testing::Test {
 protected:
  // Saves, re-reads, checks the file and gives back a top-level bookmark's actions.
  ComPtr<IHostActionList> SavedActions(int bookmark) {
    std::string out = dir_.File("out.pdf");
    if (SaveOk(doc_.Get(), out)) ExpectQpdfClean(out);
    reread_ = MustOpen(out);
    return ActionsOf(Child(Root(reread_.Get()).Get(), bookmark).Get());
  }
  ComPtr<IHostBookmark> Top(int n) { return Child(Root(doc_.Get()).Get(), n); }

  ScratchDir dir_;
  ComPtr<HostDocument> doc_ = MustOpen(dir_.Write("in.pdf", BuildPdf(FourPages())));
  ComPtr<HostDocument> reread_;
};

TEST_F(ActionWrite, EveryKindOfActionSurvivesSaving) {
  ComPtr<IHostActionList> list;
  ASSERT_EQ(doc_->CreateActionList(list.Put()), S_OK);
  PageDestination fitH{2, kFitH, 0, {500, 0, 0, 0}};
  PageDestination remote{7, kFit, 15, {}};
  ComPtr<IHostAction> first;
  ASSERT_EQ(list->AppendGoTo(&fitH, first.Put()), S_OK);
  EXPECT_TRUE(first);
  ASSERT_EQ(list->AppendGoToNamed(u"intro", -1, nullptr), S_OK);
  ASSERT_EQ(list->AppendGoToRemote(u"other.pdf", -1, &remote, nullptr), S_OK);
  ASSERT_EQ(list->AppendGoToRemoteNamed(u"other.pdf", -1, u"ch2", -1, nullptr), S_OK);
  ASSERT_EQ(list->AppendUri(u"https://example.org/a b", -1, nullptr), S_OK);
  ASSERT_EQ(list->AppendLaunch(u"notes \u00E9t\u00E9.txt", -1, nullptr), S_OK);
  ASSERT_EQ(list->AppendJavaScript(u"app.alert('\u263A');", -1, nullptr), S_OK);
  auto bookmark = Top(0);
  ASSERT_EQ(bookmark->SetActions(list.Get()), S_OK);

  auto saved = SavedActions(0);
  ASSERT_EQ(Count(saved.Get()), 7);
  PageDestination dest;
  ASSERT_EQ(Item(saved.Get(), 0)->GetDestination(&dest), S_OK);
  EXPECT_EQ(dest.page, 2);
  EXPECT_EQ(dest.fitType, kFitH);
  EXPECT_EQ(dest.flags & 1u, 0u);
  EXPECT_DOUBLE_EQ(dest.values[0], 500);
  ASSERT_EQ(Item(saved.Get(), 1)->GetDestination(&dest), S_OK);  // resolved through the names
  EXPECT_EQ(dest.page, 1);
  EXPECT_EQ(Text(Item(saved.Get(), 1).Get(), &IHostAction::GetDestinationName), u"intro");
  EXPECT_EQ(TypeOf(Item(saved.Get(), 2).Get()), kActionGoToR);
  ASSERT_EQ(Item(saved.Get(), 2)->GetExplicitDestination(&dest), S_OK);
  EXPECT_EQ(dest.page, 7);  // a remote page is kept even past this file's end
  EXPECT_EQ(Text(Item(saved.Get(), 2).Get(), &IHostAction::GetFile), u"other.pdf");
  EXPECT_EQ(Text(Item(saved.Get(), 3).Get(), &IHostAction::GetDestinationName), u"ch2");
  EXPECT_EQ(Text(Item(saved.Get(), 4).Get(), &IHostAction::GetUri), u"https://example.org/a b");
  EXPECT_EQ(Text(Item(saved.Get(), 5).Get(), &IHostAction::GetFile), u"notes \u00E9t\u00E9.txt");
  EXPECT_EQ(Text(Item(saved.Get(), 6).Get(), &IHostAction::GetScript), u"app.alert('\u263A');");
  bool has = false;
  Item(saved.Get(), 5)->HasFileSpecification(&has);
  EXPECT_TRUE(has);  // a non-ASCII name needs a file reference dictionary
  Item(saved.Get(), 2)->HasFileSpecification(&has);
  EXPECT_FALSE(has);
  for (int32_t i = 0; i < 7; ++i) {
    bool valid = false;
    Item(saved.Get(), i)->IsValid(&valid);
    EXPECT_TRUE(valid) << i;
  }
}

TEST_F(ActionWrite, FactoryRefusesBadArguments) {
  ComPtr<IHostActionFactory> factory;
  ASSERT_EQ(doc_->GetActionFactory(factory.Put()), S_OK);
  ComPtr<IHostAction> action;
  PageDestination past{4, kFitXYZ, 15, {}};
  EXPECT_EQ(factory->CreateGoTo(&past, action.Put()), E_INVALIDARG);
  EXPECT_FALSE(action);
  PageDestination badFit{0, 8, 15, {}};
  EXPECT_EQ(factory->CreateGoTo(&badFit, action.Put()), E_INVALIDARG);
  PageDestination negative{-1, kFit, 15, {}};
  EXPECT_EQ(factory->CreateGoToRemote(u"x.pdf", -1, &negative, action.Put()), E_INVALIDARG);
  EXPECT_EQ(factory->CreateGoToNamed(u"", -1, action.Put()), E_INVALIDARG);
  EXPECT_EQ(factory->CreateUri(nullptr, 0, action.Put()), E_INVALIDARG);
  EXPECT_EQ(factory->CreateLaunch(u"", 0, action.Put()), E_INVALIDARG);
  EXPECT_EQ(factory->CreateGoTo(nullptr, action.Put()), E_POINTER);
  EXPECT_EQ(factory->CreateJavaScript(u"x", 1, nullptr), E_POINTER);
  // A failed append leaves the list as it was.
  ComPtr<IHostActionList> list;
  doc_->CreateActionList(list.Put());
  EXPECT_EQ(list->AppendGoTo(&past, action.Put()), E_INVALIDARG);
  EXPECT_EQ(Count(list.Get()), 0);
}

// The named-destination conversion: a bare /Dest becomes a name and back, staying a /Dest.
TEST_F(ActionWrite, BareDestinationTurnsIntoANameAndBack) {
  auto bookmark = Top(0);
  auto list = ActionsOf(bookmark.Get());
  auto action = Item(list.Get(), 0);
  PageDestination old;
  ASSERT_EQ(action->GetExplicitDestination(&old), S_OK);
  EXPECT_EQ(old.page, 2);
  ASSERT_EQ(action->SetDestinationName(u"Bare", -1), S_OK);
  // Not given back yet: the document still has the explicit destination.
  PageDestination now;
  EXPECT_EQ(Item(ActionsOf(bookmark.Get()).Get(), 0)->GetExplicitDestination(&now), S_OK);
  ASSERT_EQ(bookmark->SetActions(list.Get()), S_OK);
  bool named = false;
  Item(ActionsOf(bookmark.Get()).Get(), 0)->IsDestinationNamed(&named);
  EXPECT_TRUE(named);
  EXPECT_EQ(Item(ActionsOf(bookmark.Get()).Get(), 0)->GetExplicitDestination(&now), S_FALSE);

  ASSERT_EQ(action->ClearDestination(), S_OK);
  EXPECT_EQ(bookmark->SetActions(list.Get()), E_INVALIDARG);  // incomplete: refused
  ASSERT_EQ(action->SetDestination(&old), S_OK);
  ASSERT_EQ(bookmark->SetActions(list.Get()), S_OK);
  auto saved = SavedActions(0);
  ASSERT_EQ(Count(saved.Get()), 1);
  ASSERT_EQ(Item(saved.Get(), 0)->GetExplicitDestination(&now), S_OK);
  EXPECT_EQ(now.page, 2);
  std::string raw;
  RunCommand("mutool show '" + dir_.File("out.pdf") + "' trailer/Root/Outlines/First", &raw);
  EXPECT_NE(raw.find("/Dest"), std::string::npos) << raw;
  EXPECT_EQ(raw.find("/A "), std::string::npos) << raw;
}

TEST_F(ActionWrite, ListEditsReachTheBookmarkOnlyWhenGivenBack) {
  auto chain = Top(1);
  auto list = ActionsOf(chain.Get());
  ASSERT_EQ(Count(list.Get()), 2);
  auto uri = Item(list.Get(), 0), go = Item(list.Get(), 1);
  ASSERT_EQ(list->RemoveAt(0), S_OK);
  ASSERT_EQ(list->Insert(1, uri.Get()), S_OK);
  ASSERT_EQ(list->Append(go.Get()), S_OK);  // the same action twice: two copies, no loop
  EXPECT_EQ(Count(ActionsOf(chain.Get()).Get()), 2);
  ASSERT_EQ(chain->SetActions(list.Get()), S_OK);
  auto after = ActionsOf(chain.Get());
  ASSERT_EQ(Count(after.Get()), 3);
  for (int32_t i = 0; i < 3; ++i)
    EXPECT_EQ(TypeOf(Item(after.Get(), i).Get()), i == 1 ? kActionURI : kActionGoTo) << i;

  EXPECT_EQ(list->RemoveAt(3), E_INVALIDARG);
  EXPECT_EQ(list->Insert(5, uri.Get()), E_INVALIDARG);
  EXPECT_EQ(list->Replace(0, nullptr), E_INVALIDARG);
  // Actions of another document are refused.
  auto other = MustOpen(dir_.Write("other.pdf", BuildPdf(FourPages())));
  auto foreign = Item(ActionsOf(Child(Root(other.Get()).Get(), 1).Get()).Get(), 0);
  EXPECT_EQ(list->Append(foreign.Get()), E_INVALIDARG);
  EXPECT_EQ(chain->SetActions(ActionsOf(Child(Root(other.Get()).Get(), 1).Get()).Get()),
            E_INVALIDARG);
  EXPECT_EQ(Root(doc_.Get())->SetActions(list.Get()), E_FAIL);

  ASSERT_EQ(chain->SetActions(nullptr), S_OK);
  EXPECT_EQ(Count(ActionsOf(chain.Get()).Get()), 0);
  EXPECT_EQ(Count(SavedActions(1).Get()), 0);
}

// An action shared by two items is copied on its first edit, so the other item keeps its own.
TEST_F(ActionWrite, EditingASharedActionLeavesTheOtherItemAlone) {
  auto chain = Top(1), bare = Top(0);
  MuCalls& mu = doc_->Mu();
  // Make the first item's /A the very object the second item starts its chain with.
  MuObject first = doc_->GetOutline().Dict(mu, static_cast<HostBookmark*>(bare.Get())->Key());
  MuObject second = doc_->GetOutline().Dict(mu, static_cast<HostBookmark*>(chain.Get())->Key());
  ASSERT_EQ(mu.Put(first.Get(), "A", mu.Get(second.Get(), "A")), S_OK);
  ASSERT_EQ(mu.Del(first.Get(), "Dest"), S_OK);

  auto list = ActionsOf(bare.Get());
  ASSERT_EQ(Count(list.Get()), 2);
  ASSERT_EQ(list->RemoveAt(0), S_OK);
  PageDestination dest{0, kFit, 15, {}};
  ASSERT_EQ(Item(list.Get(), 0)->SetDestination(&dest), S_OK);
  ASSERT_EQ(bare->SetActions(list.Get()), S_OK);
  auto mine = ActionsOf(bare.Get());
  ASSERT_EQ(Count(mine.Get()), 1);
  PageDestination read;
  Item(mine.Get(), 0)->GetDestination(&read);
  EXPECT_EQ(read.page, 0);
  auto theirs = ActionsOf(chain.Get());
  ASSERT_EQ(Count(theirs.Get()), 2);
  Item(theirs.Get(), 1)->GetDestination(&read);
  EXPECT_EQ(read.page, 3);
}

TEST_F(ActionWrite, LoopingChainIsRewrittenWithoutTheLoop) {
  auto chain = Top(1);
  MuCalls& mu = doc_->Mu();
  MuObject item = doc_->GetOutline().Dict(mu, static_cast<HostBookmark*>(chain.Get())->Key());
  pdf_obj* head = mu.Get(item.Get(), "A");
  pdf_obj* second = mu.Get(head, "Next");
  MuObject headRef = MuObject::Keep(mu.Ctx(), head);
  ASSERT_EQ(mu.Put(second, "Next", headRef.Get()), S_OK);  // second -> first -> second ...
  ASSERT_EQ(Count(ActionsOf(chain.Get()).Get()), 2);

  ComPtr<IHostActionFactory> factory;
  doc_->GetActionFactory(factory.Put());
  ComPtr<IHostAction> js;
  ASSERT_EQ(factory->CreateJavaScript(u"1", -1, js.Put()), S_OK);
  ASSERT_EQ(chain->AppendAction(js.Get()), S_OK);
  auto saved = SavedActions(1);
  ASSERT_EQ(Count(saved.Get()), 3);
  EXPECT_EQ(TypeOf(Item(saved.Get(), 2).Get()), kActionJavaScript);
}

TEST_F(ActionWrite, ValidityAndRawDestinations) {
  PdfSpec layout = FourPages();
  OutlineSpec broken = zelta::testing::Bookmark("Broken");
  broken.actions = {ActionSpec{"URI", -1, "", "", "", ""},
                    ActionSpec{"GoToR", 9, "", "x.pdf", "", ""}};
  layout.outline.push_back(broken);
  auto doc = MustOpen(dir_.Write("broken.pdf", BuildPdf(layout)));
  auto list = ActionsOf(Child(Root(doc.Get()).Get(), 2).Get());
  ASSERT_EQ(Count(list.Get()), 2);
  bool valid = true;
  Item(list.Get(), 0)->IsValid(&valid);
  EXPECT_FALSE(valid);  // a URI action without its URI
  PageDestination dest;
  EXPECT_EQ(Item(list.Get(), 0)->GetExplicitDestination(&dest), S_FALSE);
  EXPECT_EQ(Item(list.Get(), 0)->SetDestinationName(u"x", 1), E_FAIL);  // no destination view
  ASSERT_EQ(Item(list.Get(), 1)->GetExplicitDestination(&dest), S_OK);
  EXPECT_EQ(dest.page, 9);
  EXPECT_EQ(dest.fitType, kFit);
}

}  // namespace
}  // namespace zelta::pdf::testing
