// The host's event server: subscriptions per event atom and declared event types.
#pragma once

#include <map>
#include <vector>

#include "host/events.h"

namespace zelta::base {

// Events the host raises itself carry the main window handle as their extra value, so that
// sinks which ignore events without one still see them.
inline constexpr intptr_t kMainWindow = 1;

class EventServer : public ComObject<IEventServer> {
 public:
  HRESULT Subscribe(Atom event, IEventSink* sink, int32_t flags) override;
  HRESULT Unsubscribe(Atom event, IEventSink* sink) override;
  // Sinks are called in subscription order over a snapshot of the list: a sink added during
  // the call waits for the next raise, a sink removed during the call is not called any more,
  // and every sink stays alive until its own call returns.
  HRESULT Raise(Atom event, IUnknown* eventObject, intptr_t extra) override;
  HRESULT DeclareEventType(Atom event, IEventFactory* factory, IUnknown* params) override;
  // E_INVALIDARG for an event never declared; the factory's failure is returned as it is.
  // The event is raised with kMainWindow as its extra value.
  HRESULT RaiseDeclared(Atom event, intptr_t a, intptr_t b, intptr_t c) override;

  bool IsDeclared(Atom event) const { return declared_.count(event) != 0; }
  size_t SinkCount(Atom event) const;
  // Drops every subscription (at shutdown, to release the modules' sinks).
  void Clear();

 private:
  struct Declared {
    ComPtr<IEventFactory> factory;
    ComPtr<IUnknown> params;
  };
  bool IsSubscribed(Atom event, IEventSink* sink) const;

  std::map<Atom, std::vector<ComPtr<IEventSink>>> sinks_;
  std::map<Atom, Declared> declared_;
};

}  // namespace zelta::base
