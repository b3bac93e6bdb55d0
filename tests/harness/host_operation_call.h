// A host operation made as a tool makes one: "Input" holds the objects, and `configure` sets
// "Options".
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "zelta/app/host_app.h"
#include "zelta/base/atom_table.h"

namespace zelta::testing {

inline ComPtr<IHostOperation> MakeHostOperation(app::HostApp& app, const char* id,
                                                std::vector<IUnknown*> input,
                                                std::function<void(ICabItem*)> configure) {
  ComPtr<IHostOperation> op;
  EXPECT_EQ(app.CreateOperation(base::Intern(id), op.Put()), S_OK) << id;
  if (!op) return op;
  ComPtr<ICab> cab;
  op->GetParams(cab.Put());
  ComPtr<ICabItem> root, items, options;
  cab->GetRoot(root.Put());
  root->GetItem(u"Input", items.Put());
  for (IUnknown* object : input) {
    ComPtr<ICabItem> element;
    items->Insert(-1, element.Put());
    element->SetObject(nullptr, object);
  }
  root->GetItem(u"Options", options.Put());
  if (configure) configure(options.Get());
  return op;
}

}  // namespace zelta::testing
