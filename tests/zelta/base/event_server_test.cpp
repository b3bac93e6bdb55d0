#include "zelta/base/event_server.h"

#include <gtest/gtest.h>

#include "tests/zelta/app/fakes.h"
#include "zelta/base/atom_table.h"

namespace zelta::app {
namespace {

using testing::LambdaSink;
using testing::Log;

class EventServerTest : public ::testing::Test {
 protected:
  ComPtr<LambdaSink> Recorder(std::string name) {
    return MakeCom<LambdaSink>([this, name](Atom, IUnknown*, intptr_t) { log.push_back(name); });
  }
  ComPtr<base::EventServer> server = MakeCom<base::EventServer>();
  Atom event = base::Intern("e.test.event");
  Log log;
};

TEST_F(EventServerTest, CallsSinksInSubscriptionOrderOnceEach) {
  auto a = Recorder("a"), b = Recorder("b"), c = Recorder("c");
  EXPECT_EQ(server->Subscribe(event, b.Get(), 0), S_OK);
  EXPECT_EQ(server->Subscribe(event, a.Get(), 0), S_OK);
  EXPECT_EQ(server->Subscribe(event, b.Get(), 0), S_FALSE);
  EXPECT_EQ(server->Subscribe(base::Intern("e.test.other"), c.Get(), 0), S_OK);
  server->Raise(event, nullptr, 1);
  EXPECT_EQ(log, (Log{"b", "a"}));
  EXPECT_EQ(server->Unsubscribe(event, b.Get()), S_OK);
  EXPECT_EQ(server->Unsubscribe(event, b.Get()), S_FALSE);
  server->Raise(event, nullptr, 1);
  EXPECT_EQ(log, (Log{"b", "a", "a"}));
  EXPECT_EQ(server->Subscribe(kNoAtom, a.Get(), 0), E_INVALIDARG);
  EXPECT_EQ(server->Subscribe(event, nullptr, 0), E_INVALIDARG);
}

TEST_F(EventServerTest, ChangesDuringRaiseAreSafe) {
  auto late = Recorder("late");
  ComPtr<LambdaSink> second = Recorder("second");
  ComPtr<LambdaSink> first;
  // The first sink removes itself and the next one, and adds a newcomer.
  first = MakeCom<LambdaSink>([&](Atom, IUnknown*, intptr_t) {
    log.push_back("first");
    server->Unsubscribe(event, first.Get());
    server->Unsubscribe(event, second.Get());
    server->Subscribe(event, late.Get(), 0);
  });
  server->Subscribe(event, first.Get(), 0);
  server->Subscribe(event, second.Get(), 0);
  server->Raise(event, nullptr, 1);
  EXPECT_EQ(log, (Log{"first"}));
  server->Raise(event, nullptr, 1);
  EXPECT_EQ(log, (Log{"first", "late"}));
}

TEST_F(EventServerTest, SinkWhoseLastReferenceIsTheServerCanUnsubscribeItself) {
  bool called = false;
  IEventSink* raw = nullptr;
  {
    auto sink = MakeCom<LambdaSink>([&](Atom, IUnknown*, intptr_t) {
      called = true;
      server->Unsubscribe(event, raw);  // drops the server's reference while running
    });
    raw = sink.Get();
    server->Subscribe(event, raw, 0);
  }
  server->Raise(event, nullptr, 1);
  EXPECT_TRUE(called);
  EXPECT_EQ(server->SinkCount(event), 0u);
}

class ValuesFactory : public ComObject<IEventFactory> {
 public:
  HRESULT CreateEvent(intptr_t a, intptr_t b, intptr_t c, IUnknown** object) override {
    if (a < 0) return E_INVALIDARG;
    values = {a, b, c};
    auto made = MakeCom<LambdaSink>([](Atom, IUnknown*, intptr_t) {});
    return ComPtr<IUnknown>(static_cast<IEventSink*>(made.Get())).CopyTo(object);
  }
  std::vector<intptr_t> values;
};

TEST_F(EventServerTest, DeclaredTypesRaiseWithTheirFactorysObject) {
  Atom declared = base::Intern("e.test.declared");
  auto factory = MakeCom<ValuesFactory>();
  EXPECT_EQ(server->RaiseDeclared(declared, 1, 2, 3), E_INVALIDARG);
  EXPECT_EQ(server->DeclareEventType(declared, factory.Get(), nullptr), S_OK);
  EXPECT_EQ(server->DeclareEventType(declared, nullptr, nullptr), S_FALSE);
  EXPECT_TRUE(server->IsDeclared(declared));

  IUnknown* got = nullptr;
  intptr_t extra = 0;
  auto sink = MakeCom<LambdaSink>([&](Atom, IUnknown* o, intptr_t x) {
    got = o;
    extra = x;
  });
  server->Subscribe(declared, sink.Get(), 0);
  EXPECT_EQ(server->RaiseDeclared(declared, 7, 8, 9), S_OK);
  EXPECT_EQ(factory->values, (std::vector<intptr_t>{7, 8, 9}));
  EXPECT_NE(got, nullptr);
  EXPECT_EQ(extra, base::kMainWindow);
  // A factory failure is reported and nothing is raised.
  got = nullptr;
  EXPECT_EQ(server->RaiseDeclared(declared, -1, 0, 0), E_INVALIDARG);
  EXPECT_EQ(got, nullptr);
}

}  // namespace
}  // namespace zelta::app
