// Opening damaged and extreme files, saving (round trip, failures), permissions, named
// destinations and page labels.
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <csignal>

#include "tests/fixtures/raw_pdf.h"
#include "tests/zelta/pdf/pdf_test_support.h"

namespace zelta::pdf::testing {
namespace {

using namespace zelta::testing;

PdfSpec Rich() {
  PdfSpec layout;
  layout.pages.resize(5);
  layout.pages[1].rotate = 450;
  layout.pages[2].text = "Hello";
  layout.namedDests = {{"alpha", 1}, {"beta", 3}, {"gamma", 4}};
  layout.splitNames = true;
  layout.legacyDests = {{"old", 2}};
  layout.labels = {{0, 'r', "", 1}, {2, 'D', "P-", 7}, {4, 'A', "", 28}};
  layout.infoTitle = "Rich file";
  OutlineSpec a = Bookmark("Named");
  a.namedDest = "beta";
  OutlineSpec b = Bookmark("Actions");
  b.actions = {ActionSpec{"URI", -1, "", "", "https://example.org/", ""},
               ActionSpec{"GoTo", 2, "", "", "", ""},
               ActionSpec{"Launch", -1, "", "run.sh", "", ""},
               ActionSpec{"GoTo", -1, "gamma", "", "", ""},
               ActionSpec{"JavaScript", -1, "", "", "", "app.alert(1)"},
               ActionSpec{"SubmitForm", -1, "", "", "", ""}};
  layout.outline = {a, b, Bookmark("Legacy")};
  layout.outline[2].namedDest = "old";
  return layout;
}

// An outline read on first use is the one read at open, with the same repairs: they are
// among the warnings once something has looked at the outline, and edits and saving work.
TEST(DamagedFiles, OutlineReadOnFirstUseIsTheOneReadAtOpen) {
  ScratchDir dir;
  PdfSpec layout = Rich();
  layout.outline[0].children = {Bookmark("Child", 0)};
  layout.nextOverride = {{3, 0}};
  layout.firstOverride = {{1, 0}};
  const std::string path = dir.Write("loop.pdf", BuildPdf(layout));
  ComPtr<HostDocument> later;
  std::string error;
  ASSERT_EQ(OpenDocument(path, "", &later, &error, OutlineRead::kOnFirstUse), S_OK) << error;
  EXPECT_TRUE(later->Warnings().empty());
  EXPECT_EQ(OutlineToJson(later.Get()), OutlineToJson(MustOpen(path).Get()));
  EXPECT_EQ(later->Warnings(), MustOpen(path)->Warnings());
  ComPtr<IHostBookmark> added;
  ASSERT_EQ(Root(later.Get())->InsertNewChild(0, added.Put()), S_OK);
  ASSERT_TRUE(SaveOk(later.Get(), dir.File("fixed.pdf")));
  EXPECT_TRUE(MustOpen(dir.File("fixed.pdf"))->Warnings().empty());

  // Saved before anything read the outline: the bookmarks are written as they were.
  ASSERT_EQ(OpenDocument(path, "", &later, &error, OutlineRead::kOnFirstUse), S_OK) << error;
  ASSERT_TRUE(SaveOk(later.Get(), dir.File("untouched.pdf")));
  EXPECT_EQ(OutlineToJson(MustOpen(dir.File("untouched.pdf")).Get()),
            OutlineToJson(MustOpen(path).Get()));
}

// Beside the loops it cuts, the reader finds links that disagree with the lists and counts
// that lie; each finding names the item where the fault shows. Only cut damage warns on every
// open, and the first change writes every fault right.
TEST(DamagedFiles, OutlineFindingsNameWhereLoopsCloseAndWhichLinksLie) {
  ScratchDir dir;
  // 4 /Outlines: 5 A (6 A1, 7 A2), 8 B, 9 C.
  const std::string pdf = RawOutlinePdf(
      "/First 5 0 R /Last 9 0 R /Count 5",
      {"<< /Title (A) /Parent 4 0 R /Next 8 0 R /First 6 0 R /Last 7 0 R /Count 7 "
       "/Dest [3 0 R /Fit] >>",  // A claims 7 shown items below it
       "<< /Title (A1) /Parent 5 0 R /Next 7 0 R /Dest [3 0 R /Fit] >>",
       // A2's /First points at its own parent.
       "<< /Title (A2) /Parent 5 0 R /Prev 6 0 R /First 5 0 R /Last 5 0 R /Dest [3 0 R /Fit] >>",
       // B claims to be under A.
       "<< /Title (B) /Parent 5 0 R /Prev 5 0 R /Next 9 0 R /Dest [3 0 R /Fit] >>",
       // C's /Next goes back to A.
       "<< /Title (C) /Parent 4 0 R /Prev 8 0 R /Next 5 0 R /Dest [3 0 R /Fit] >>"});
  auto doc = MustOpen(dir.Write("lies.pdf", pdf));
  ASSERT_TRUE(doc);
  std::vector<std::string> texts;
  for (const OutlineFinding& finding : doc->GetOutline().Findings()) texts.push_back(finding.text);
  EXPECT_EQ(texts, (std::vector<std::string>{
                       "outline item 8: /Parent is item 5, but the item is listed under "
                       "/Outlines (item 4)",
                       "outline item 9: /Next points back to item 5 (a loop)",
                       "outline item 7: /First points back to item 5 (a loop)",
                       "outline item 5: /Count is 7, but 2 items below it show"}));
  EXPECT_EQ(doc->Warnings().size(), 2u);
  EXPECT_EQ(OutlineToText(doc.Get()),
            "A  [p. 1]\n  A1  [p. 1]\n  A2  [p. 1]\nB  [p. 1]\nC  [p. 1]\n");

  ComPtr<IHostBookmark> added;
  ASSERT_EQ(Root(doc.Get())->InsertNewChild(3, added.Put()), S_OK);
  ASSERT_TRUE(SaveOk(doc.Get(), dir.File("fixed.pdf")));
  auto fixed = MustOpen(dir.File("fixed.pdf"));
  EXPECT_TRUE(fixed->GetOutline().Findings().empty());
  EXPECT_TRUE(fixed->Warnings().empty());
}

// A sound outline has no findings: closed items count negative, leaves carry no /Count.
TEST(DamagedFiles, SoundOutlinesHaveNoFindings) {
  ScratchDir dir;
  PdfSpec layout = Rich();
  layout.outline[0].children = {Bookmark("Child", 0), Bookmark("Other", 1)};
  layout.outline[0].open = false;
  layout.outline[0].children[0].children = {Bookmark("Leaf", 2)};
  auto doc = MustOpen(dir.Write("sound.pdf", BuildPdf(layout)));
  ASSERT_TRUE(doc);
  EXPECT_TRUE(doc->GetOutline().Findings().empty());
  EXPECT_TRUE(doc->Warnings().empty());
}

TEST(Saving, RoundTripKeepsOutlineNamesPagesAndLabels) {
  ScratchDir dir;
  auto doc = MustOpen(dir.Write("in.pdf", BuildPdf(Rich())));
  std::string out = dir.File("out.pdf");
  std::string before = OutlineToJson(doc.Get());
  EXPECT_EQ(SaveAndDump(doc.Get(), out), before);
  auto reread = MustOpen(out);
  for (IHostDocument* d :
       {static_cast<IHostDocument*>(doc.Get()), static_cast<IHostDocument*>(reread.Get())}) {
    int32_t pages = 0, names = 0;
    d->GetPageCount(&pages);
    d->GetNamedDestCount(&names);
    EXPECT_EQ(pages, 5);
    EXPECT_EQ(names, 4);
    std::vector<std::u16string> labels;
    for (int p = 0; p < 5; ++p) {
      OwnedString label;
      d->GetPageLabel(p, label.Put());
      labels.push_back(label.Str());
    }
    EXPECT_EQ(labels, (std::vector<std::u16string>{u"i", u"ii", u"P-7", u"P-8", u"BB"}));
    int32_t rotation = 0;
    d->GetPageRotation(1, &rotation);
    EXPECT_EQ(rotation, 90);
    OwnedString info;
    d->GetInfoTitle(info.Put());
    EXPECT_EQ(info.View(), u"Rich file");
  }
  EXPECT_NE(before.find("{\"type\":\"SubmitForm\"}"), std::string::npos) << before;
  EXPECT_NE(before.find("{\"type\":\"JavaScript\",\"script\":\"app.alert(1)\"}"),
            std::string::npos);
}

TEST(Saving, FailuresLeaveNothingBehind) {
  ScratchDir dir;
  auto doc = MustOpen(dir.Write("in.pdf", BuildPdf(Rich())));
  std::string error;
  EXPECT_EQ(doc->Save(dir.File("no/such/folder/out.pdf"), &error), E_FILE_NOT_FOUND);
  EXPECT_NE(error.find("no/such/folder/out.pdf"), std::string::npos) << error;
  EXPECT_EQ(doc->Save("/dev/full", &error), E_ACCESS_DENIED);
  EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
  EXPECT_EQ(dir.EntryCount(), 1u);
  // A read-only folder (a child drops root rights so the permission bits apply) and a full
  // disk (a file size limit makes the write fail part way).
  std::filesystem::create_directory(dir.File("ro"));
  std::filesystem::permissions(dir.File("ro"), std::filesystem::perms::owner_read |
                                                   std::filesystem::perms::owner_exec |
                                                   std::filesystem::perms::others_read |
                                                   std::filesystem::perms::others_exec);
  for (int scenario = 0; scenario < 2; ++scenario) {
    pid_t child = fork();
    if (child == 0) {
      std::string target = scenario == 0 ? dir.File("ro/out.pdf") : dir.File("big.pdf");
      if (scenario == 0 && geteuid() == 0 && setuid(65534) != 0) _exit(9);
      if (scenario == 1) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{1000, 1000};
        setrlimit(RLIMIT_FSIZE, &limit);
      }
      std::string message;
      HRESULT hr = doc->Save(target, &message);
      // The write that fails part way names the reason a user can act on.
      const bool named = scenario == 0 || hr == E_DISK_FULL;
      _exit(Failed(hr) && named && message.find(target) != std::string::npos ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "scenario " << scenario;
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir.File("ro")));
  EXPECT_EQ(dir.EntryCount(), 2u);  // in.pdf and ro
}

TEST(Saving, EncryptedFilesNeedPasswordsAndKeepPermissions) {
  ScratchDir dir;
  std::string plain = dir.Write("plain.pdf", BuildPdf(Rich()));
  std::string locked = dir.File("locked.pdf");
  ASSERT_EQ(
      RunCommand("qpdf --encrypt u o 256 --modify=none -- '" + plain + "' '" + locked + "' 2>&1"),
      0);
  ComPtr<HostDocument> doc;
  std::string error;
  EXPECT_EQ(OpenDocument(locked, "", &doc, &error), E_ACCESS_DENIED);
  EXPECT_EQ(error, locked + ": a password is needed");
  EXPECT_EQ(OpenDocument(locked, "bad", &doc, &error), E_ACCESS_DENIED);
  EXPECT_EQ(error, locked + ": wrong password");
  doc = MustOpen(locked, "u");
  int32_t answer = -1;
  ASSERT_EQ(doc->IsPermitted(kPermModify, kPermAnyChange, kPermReserved, &answer), S_OK);
  EXPECT_EQ(answer, 0);
  EXPECT_EQ(MustOpen(plain)->IsPermitted(kPermModify, kPermAnyChange, kPermReserved, &answer),
            S_OK);
  EXPECT_EQ(answer, 1);
  // Saved again, the file stays encrypted with the same restrictions.
  ASSERT_TRUE(SaveOk(doc.Get(), dir.File("again.pdf")));
  EXPECT_EQ(OpenDocument(dir.File("again.pdf"), "", &doc, &error), E_ACCESS_DENIED);
  doc = MustOpen(dir.File("again.pdf"), "u");
  doc->IsPermitted(kPermModify, kPermAnyChange, kPermReserved, &answer);
  EXPECT_EQ(answer, 0);
}

TEST(NamedDests, AddResolveRemoveKeepTheTreeValid) {
  ScratchDir dir;
  auto doc = MustOpen(dir.Write("in.pdf", BuildPdf(Rich())));
  PageDestination dest;
  ASSERT_EQ(doc->ResolveNamedDest(u"beta", -1, &dest), S_OK);
  EXPECT_EQ(dest.page, 3);
  ASSERT_EQ(doc->ResolveNamedDest(u"old", -1, &dest), S_OK);
  EXPECT_EQ(dest.page, 2);
  EXPECT_EQ(doc->ResolveNamedDest(u"nope", -1, &dest), S_FALSE);
  PageDestination fitH{4, kFitH, 0, {500, 0, 0, 0}};
  ASSERT_EQ(doc->AddNamedDest(u"delta", -1, &fitH), S_OK);
  ASSERT_EQ(doc->AddNamedDest(u"aardvark", -1, &fitH), S_OK);
  ASSERT_EQ(doc->AddNamedDest(u"\u00FCber \u65E5", -1, &fitH), S_OK);
  fitH.page = 99;
  EXPECT_EQ(doc->AddNamedDest(u"bad", -1, &fitH), E_INVALIDARG);
  ASSERT_EQ(doc->ResolveNamedDest(u"delta", -1, &dest), S_OK);
  EXPECT_EQ(dest.fitType, kFitH);
  EXPECT_EQ(dest.values[0], 500);
  EXPECT_EQ(doc->RemoveNamedDest(u"alpha", -1), S_OK);
  EXPECT_EQ(doc->RemoveNamedDest(u"old", -1), S_OK);
  EXPECT_EQ(doc->RemoveNamedDest(u"alpha", -1), S_FALSE);
  std::string out = dir.File("out.pdf");
  ASSERT_TRUE(SaveOk(doc.Get(), out));
  ExpectQpdfClean(out);
  auto reread = MustOpen(out);
  std::vector<std::u16string> names;
  int32_t count = 0;
  reread->GetNamedDestCount(&count);
  for (int i = 0; i < count; ++i) {
    OwnedString name;
    reread->GetNamedDestName(i, name.Put());
    names.push_back(name.Str());
  }
  EXPECT_EQ(names, (std::vector<std::u16string>{u"aardvark", u"beta", u"delta", u"gamma",
                                                u"\u00FCber \u65E5"}));
  ASSERT_EQ(reread->ResolveNamedDest(u"\u00FCber \u65E5", -1, &dest), S_OK);
  EXPECT_EQ(dest.page, 4);
}

TEST(Pages, BoxesAndBadPageNumbers) {
  ScratchDir dir;
  auto doc = MustOpen(dir.Write("in.pdf", BuildPdf(Rich())));
  PageBox box;
  ASSERT_EQ(doc->GetPageBox(0, kBoxCrop, &box), S_OK);
  EXPECT_EQ(box.right, 612);
  EXPECT_EQ(box.top, 792);
  ASSERT_EQ(doc->GetPageBox(2, kBoxContents, &box), S_OK);
  EXPECT_NEAR(box.left, 72, 1);
  EXPECT_GT(box.top, 700);
  EXPECT_LT(box.top, 735);
  EXPECT_EQ(doc->GetPageBox(0, kBoxContents, &box), S_FALSE);  // an empty page
  EXPECT_EQ(doc->GetPageBox(5, kBoxCrop, &box), E_INVALIDARG);
  EXPECT_EQ(doc->GetPageBox(0, 9, &box), E_INVALIDARG);
  int32_t rotation;
  EXPECT_EQ(doc->GetPageRotation(-1, &rotation), E_INVALIDARG);
}

}  // namespace
}  // namespace zelta::pdf::testing
