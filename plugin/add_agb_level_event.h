// The event object of the plug-in's own event type "e.bookmarksPlugin.addAGBLevel": the three
// values it was raised with. The first is the add-level operation (an IUnknown*), which an
// open generation dialog reads the new level from; the event does not own it, since the
// event is delivered while the operation is running.
#pragma once

#include "host/com.h"

namespace bm {

struct IAddAgbLevelEvent : zelta::IUnknown {
  static constexpr zelta::Guid kIid{
      0x5E3A91D1, 0x6C42, 0x4B8E, {0xA1, 0xF7, 0x2D, 0x9C, 0x04, 0xB6, 0xE8, 0x13}};
  // Any out-pointer may be null.
  virtual zelta::HRESULT GetValues(intptr_t* a, intptr_t* b, intptr_t* c) = 0;
};

class AddAgbLevelEvent : public zelta::ComObject<IAddAgbLevelEvent> {
 public:
  AddAgbLevelEvent(intptr_t a, intptr_t b, intptr_t c) : a_(a), b_(b), c_(c) {}

  zelta::HRESULT GetValues(intptr_t* a, intptr_t* b, intptr_t* c) override {
    if (a) *a = a_;
    if (b) *b = b_;
    if (c) *c = c_;
    return zelta::S_OK;
  }

 private:
  intptr_t a_;
  intptr_t b_;
  intptr_t c_;
};

}  // namespace bm
