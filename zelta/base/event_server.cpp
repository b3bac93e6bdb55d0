#include "zelta/base/event_server.h"

#include <algorithm>

#include "host/call_guard.h"

namespace zelta::base {

HRESULT EventServer::Subscribe(Atom event, IEventSink* sink, int32_t) {
  if (!sink || event == kNoAtom) return E_INVALIDARG;
  if (IsSubscribed(event, sink)) return S_FALSE;
  sinks_[event].emplace_back(sink);
  return S_OK;
}

HRESULT EventServer::Unsubscribe(Atom event, IEventSink* sink) {
  if (!sink) return E_INVALIDARG;
  auto list = sinks_.find(event);
  if (list == sinks_.end()) return S_FALSE;
  auto& sinks = list->second;
  auto found = std::find_if(sinks.begin(), sinks.end(), [&](auto& s) { return s.Get() == sink; });
  if (found == sinks.end()) return S_FALSE;
  // Keep the reference until the erase is done: the sink may be released to zero here.
  ComPtr<IEventSink> keep = *found;
  sinks.erase(found);
  if (sinks.empty()) sinks_.erase(list);
  return S_OK;
}

HRESULT EventServer::Raise(Atom event, IUnknown* eventObject, intptr_t extra) {
  if (event == kNoAtom) return E_INVALIDARG;
  auto list = sinks_.find(event);
  if (list == sinks_.end()) return S_OK;
  std::vector<ComPtr<IEventSink>> snapshot = list->second;
  ComPtr<IUnknown> keepObject(eventObject);
  for (auto& sink : snapshot) {
    if (!IsSubscribed(event, sink.Get())) continue;
    // A sink that throws is one failed listener; the others still hear the event.
    GuardCall([&] { return sink->OnEvent(event, eventObject, extra); });
  }
  return S_OK;
}

HRESULT EventServer::DeclareEventType(Atom event, IEventFactory* factory, IUnknown* params) {
  if (event == kNoAtom) return E_INVALIDARG;
  if (declared_.count(event)) return S_FALSE;
  declared_[event] = Declared{ComPtr<IEventFactory>(factory), ComPtr<IUnknown>(params)};
  return S_OK;
}

HRESULT EventServer::RaiseDeclared(Atom event, intptr_t a, intptr_t b, intptr_t c) {
  auto found = declared_.find(event);
  if (found == declared_.end()) return E_INVALIDARG;
  ComPtr<IEventFactory> factory = found->second.factory;
  ComPtr<IUnknown> object;
  if (factory) {
    HRESULT hr = factory->CreateEvent(a, b, c, object.Put());
    if (Failed(hr)) return hr;
  }
  return Raise(event, object.Get(), kMainWindow);
}

size_t EventServer::SinkCount(Atom event) const {
  auto list = sinks_.find(event);
  return list == sinks_.end() ? 0 : list->second.size();
}

void EventServer::Clear() {
  // Move out first: a sink's destructor may call back into the server.
  auto sinks = std::move(sinks_);
  auto declared = std::move(declared_);
  sinks_.clear();
  declared_.clear();
}

bool EventServer::IsSubscribed(Atom event, IEventSink* sink) const {
  auto list = sinks_.find(event);
  if (list == sinks_.end()) return false;
  return std::any_of(list->second.begin(), list->second.end(),
                     [&](auto& s) { return s.Get() == sink; });
}

}  // namespace zelta::base
