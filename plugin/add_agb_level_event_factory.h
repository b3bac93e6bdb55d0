// Declares the plug-in's event type to the host: the factory that makes its event objects,
// and the list that names the three values an event is raised with.
#pragma once

#include <array>
#include <string_view>

#include "host/events.h"
#include "plugin/add_agb_level_event.h"

namespace bm {

// Names the values of a declared event type, in the order the factory takes them.
struct IEventParamList : zelta::IUnknown {
  static constexpr zelta::Guid kIid{
      0x5E3A91D2, 0x6C42, 0x4B8E, {0xA1, 0xF7, 0x2D, 0x9C, 0x04, 0xB6, 0xE8, 0x13}};
  virtual zelta::HRESULT GetCount(int32_t* count) = 0;
  // E_INVALIDARG out of range.
  virtual zelta::HRESULT GetName(int32_t index, zelta::BString* name) = 0;
};

class AddAgbLevelEventFactory : public zelta::ComObject<zelta::IEventFactory> {
 public:
  zelta::HRESULT CreateEvent(intptr_t a, intptr_t b, intptr_t c,
                             zelta::IUnknown** eventObject) override {
    if (!eventObject) return zelta::E_POINTER;
    *eventObject = nullptr;
    auto event = zelta::MakeCom<AddAgbLevelEvent>(a, b, c);
    return event->QueryInterface(zelta::IUnknown::kIid, reinterpret_cast<void**>(eventObject));
  }

  class ParamList : public zelta::ComObject<IEventParamList> {
   public:
    zelta::HRESULT GetCount(int32_t* count) override {
      if (!count) return zelta::E_POINTER;
      *count = static_cast<int32_t>(kNames.size());
      return zelta::S_OK;
    }
    zelta::HRESULT GetName(int32_t index, zelta::BString* name) override {
      if (!name) return zelta::E_POINTER;
      *name = nullptr;
      if (index < 0 || index >= static_cast<int32_t>(kNames.size())) return zelta::E_INVALIDARG;
      return zelta::ReturnString(kNames[static_cast<size_t>(index)], name);
    }

   private:
    static constexpr std::array<std::u16string_view, 3> kNames = {u"operation", u"value2",
                                                                  u"value3"};
  };
};

}  // namespace bm
