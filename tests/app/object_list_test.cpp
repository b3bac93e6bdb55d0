// The host's object list, as the tools use it for the input of host operations.
#include <gtest/gtest.h>

#include "host/object_list.h"
#include "zelta/app/host_app.h"
#include "zelta/app/object_list_factory.h"

namespace zelta::app {
namespace {

TEST(ObjectList, InsertCountAndItems) {
  auto app = MakeCom<HostApp>();
  ComPtr<IUnknown> component;
  ASSERT_EQ(app->GetComponent("LST", component.Put()), S_OK);
  auto factory = QueryAs<IObjectListFactory>(component.Get());
  ASSERT_TRUE(factory);
  ComPtr<IHostObjectList> list;
  ASSERT_EQ(factory->CreateObjectList(list.Put()), S_OK);
  auto one = MakeCom<ObjectListFactory>(), two = MakeCom<ObjectListFactory>();
  IUnknown* first = static_cast<IUnknown*>(one.Get());
  IUnknown* second = static_cast<IUnknown*>(two.Get());
  ASSERT_EQ(list->Insert(0, first), S_OK);
  ASSERT_EQ(list->Insert(0, second), S_OK);
  ASSERT_EQ(list->Insert(-1, second), S_OK);
  EXPECT_EQ(list->Insert(4, first), E_INVALIDARG);
  EXPECT_EQ(list->Insert(0, nullptr), E_POINTER);
  int32_t count = 0;
  list->GetCount(&count);
  EXPECT_EQ(count, 3);
  ComPtr<IUnknown> item;
  ASSERT_EQ(list->GetItem(1, item.Put()), S_OK);
  EXPECT_EQ(item.Get(), first);
  EXPECT_EQ(list->GetItem(3, item.Put()), S_FALSE);
  EXPECT_FALSE(item);
  ASSERT_EQ(list->RemoveAt(0), S_OK);
  list->GetItem(0, item.Put());
  EXPECT_EQ(item.Get(), first);
  EXPECT_EQ(list->RemoveAt(2), E_INVALIDARG);
  ASSERT_EQ(list->Clear(), S_OK);
  list->GetCount(&count);
  EXPECT_EQ(count, 0);
}

}  // namespace
}  // namespace zelta::app
