// The host's event server: subscriptions by event atom, and declared event types.
#pragma once

#include "host/com.h"

namespace zelta {

struct IEventSink : IUnknown {
  static constexpr Guid kIid{0x5A1E0601, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 11}};
  // Called with the event atom, the event object (its interfaces depend on the event) and an
  // extra value. The result is ignored by the server.
  virtual HRESULT OnEvent(Atom event, IUnknown* eventObject, intptr_t extra) = 0;
};

// Makes the event object of a declared event type from three values.
struct IEventFactory : IUnknown {
  static constexpr Guid kIid{0x5A1E0602, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 12}};
  virtual HRESULT CreateEvent(intptr_t a, intptr_t b, intptr_t c, IUnknown** eventObject) = 0;
};

struct IEventServer : IUnknown {
  static constexpr Guid kIid{0x5A1E0603, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 13}};
  // The server holds a reference to the sink until Unsubscribe. Subscribing the same sink
  // twice to one event is answered S_FALSE and changes nothing.
  virtual HRESULT Subscribe(Atom event, IEventSink* sink, int32_t flags) = 0;
  virtual HRESULT Unsubscribe(Atom event, IEventSink* sink) = 0;
  // Calls every sink of the event, in subscription order, with (event, object, extra). A
  // sink that unsubscribes during the call is handled safely.
  virtual HRESULT Raise(Atom event, IUnknown* eventObject, intptr_t extra) = 0;
  // Declares an event type with the factory of its event objects and a parameter-list
  // object (either may be null). S_FALSE when the type was declared already.
  virtual HRESULT DeclareEventType(Atom event, IEventFactory* factory, IUnknown* params) = 0;
  // Raises a declared event with an object made by its factory from (a, b, c).
  virtual HRESULT RaiseDeclared(Atom event, intptr_t a, intptr_t b, intptr_t c) = 0;
};

}  // namespace zelta
