#include "zelta/base/facility_registry.h"

#include <gtest/gtest.h>

#include <atomic>
#include <iterator>
#include <thread>
#include <vector>

#include "support/bookmarks_facility.h"
#include "zelta/base/result_text.h"
#include "zelta/base/result_text_service.h"

namespace zelta::base {
namespace {

constexpr zelta::HRESULT Code(uint32_t bits) { return static_cast<zelta::HRESULT>(bits); }

constexpr FacilityMessage kFirst[] = {{0x0001, u"First text"}};
constexpr FacilityMessage kSecond[] = {{0x0001, u"Second text"}};

TEST(FacilityRegistry, RegistersOncePerNumber) {
  ASSERT_TRUE(RegisterFacility(200, kFirst, std::size(kFirst), u"First"));
  EXPECT_FALSE(RegisterFacility(200, kSecond, std::size(kSecond), u"Second"));
  EXPECT_EQ(DescribeResult(Code(0x82C80001)), u"Error [First]: First text.");
  // The module registering its facility on every load keeps one entry.
  bm::support::RegisterBookmarksFacility(MakeCom<ResultTextService>().Get());
  size_t before = FacilityRegistry::Instance().Count();
  bm::support::RegisterBookmarksFacility(MakeCom<ResultTextService>().Get());
  EXPECT_EQ(FacilityRegistry::Instance().Count(), before);
  EXPECT_FALSE(RegisterFacility(512, kFirst, 1, u"Too big"));
  EXPECT_FALSE(RegisterFacility(2, kFirst, 1, u"Clash with a built-in"));
  EXPECT_TRUE(UnregisterFacility(200));
}

TEST(FacilityRegistry, UnregisterClosesTheGap) {
  FacilityRegistry& registry = FacilityRegistry::Instance();
  size_t before = registry.Count();
  ASSERT_TRUE(RegisterFacility(210, kFirst, 1, u"A"));
  ASSERT_TRUE(RegisterFacility(211, kFirst, 1, u"B"));
  ASSERT_TRUE(RegisterFacility(212, kSecond, 1, u"C"));
  EXPECT_TRUE(UnregisterFacility(211));
  EXPECT_FALSE(UnregisterFacility(211));
  EXPECT_EQ(registry.Count(), before + 2);
  EXPECT_EQ(registry.Find(210, 1)->name, u"A");
  EXPECT_EQ(registry.Find(212, 1)->ownText, u"Second text");
  EXPECT_FALSE(registry.Find(211, 1));
  EXPECT_EQ(DescribeResult(Code(0x82D30001)), u"Unknown error: 0x82D30001.");
  // The number is free again.
  EXPECT_TRUE(RegisterFacility(211, kSecond, 1, u"B again"));
  EXPECT_EQ(DescribeResult(Code(0x82D30001)), u"Error [B again]: Second text.");
  for (uint16_t number : {210, 211, 212}) EXPECT_TRUE(UnregisterFacility(number));
  EXPECT_EQ(registry.Count(), before);
}

TEST(FacilityRegistry, TableIsCopied) {
  std::u16string text = u"Temporary";
  FacilityMessage table[] = {{0x0009, text.c_str()}};
  ASSERT_TRUE(RegisterFacility(220, table, 1, u"Copy"));
  text.assign(u"XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX");
  EXPECT_EQ(DescribeResult(Code(0x82DC0009)), u"Error [Copy]: Temporary.");
  EXPECT_TRUE(UnregisterFacility(220));
}

TEST(FacilityRegistry, ConcurrentRegistrationAndLookup) {
  bm::support::RegisterBookmarksFacility(MakeCom<ResultTextService>().Get());
  std::atomic<bool> wrong{false};
  std::vector<std::thread> threads;
  for (uint16_t t = 0; t < 2; ++t) {
    threads.emplace_back([t, &wrong] {
      uint16_t number = static_cast<uint16_t>(400 + t);
      for (int i = 0; i < 2000; ++i) {
        if (!RegisterFacility(number, kFirst, 1, u"Churn")) wrong = true;
        if (!UnregisterFacility(number)) wrong = true;
      }
    });
  }
  for (int t = 0; t < 2; ++t) {
    threads.emplace_back([&wrong] {
      for (int i = 0; i < 2000; ++i) {
        if (DescribeResult(Code(0x821F1001)) !=
            u"Error [Bookmarks]: No permissions for this operation.")
          wrong = true;
        // Facility 400 comes and goes: either text is fine, nothing else is.
        std::u16string churn = DescribeResult(Code(0x83900001));
        if (churn != u"Error [Churn]: First text." && churn != u"Unknown error: 0x83900001.")
          wrong = true;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_FALSE(wrong);
  EXPECT_FALSE(FacilityRegistry::Instance().Contains(400));
}

}  // namespace
}  // namespace zelta::base
