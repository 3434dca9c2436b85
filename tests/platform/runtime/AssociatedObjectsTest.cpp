#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "platform/foundation/Error.h"
#include "platform/runtime/AssociatedObjects.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/ui/View.h"

namespace {

using pf::AssociatedObjects;
using Policy = pf::AssociatedObjects::Policy;

const char kFirstKey = 0;
const char kSecondKey = 0;

class Holder : public pf::Object {
  PF_OBJECT(Holder, pf::Object)
};

class Marker : public pf::Object {
  PF_OBJECT(Marker, pf::Object)
};

class Tagged : public Marker {
  PF_OBJECT(Tagged, Marker)
};

// A value whose destructor reads slots again: release must happen outside the table's lock.
struct Reentrant {
  std::shared_ptr<Holder> other;
  ~Reentrant() { AssociatedObjects::get<Marker>(*other, &kFirstKey); }
};

TEST(AssociatedObjects, StrongSlotKeepsItsValueAndWeakSlotLetsItGo) {
  auto owner = std::make_shared<Holder>();
  auto strong = std::make_shared<Marker>();
  auto weak = std::make_shared<Marker>();
  std::weak_ptr<Marker> strongWatch = strong, weakWatch = weak;
  AssociatedObjects::set(*owner, &kFirstKey, strong, Policy::Strong);
  AssociatedObjects::set(*owner, &kSecondKey, weak, Policy::Weak);
  strong.reset();
  EXPECT_EQ(AssociatedObjects::get<Marker>(*owner, &kFirstKey), strongWatch.lock());
  EXPECT_EQ(AssociatedObjects::get<Marker>(*owner, &kSecondKey), weakWatch.lock());
  weak.reset();
  EXPECT_TRUE(weakWatch.expired());
  EXPECT_EQ(AssociatedObjects::get<Marker>(*owner, &kSecondKey), nullptr);
  EXPECT_NE(AssociatedObjects::get<Marker>(*owner, &kFirstKey), nullptr);
}

TEST(AssociatedObjects, SettingNullOrRemovingEmptiesOneSlotOnly) {
  auto owner = std::make_shared<Holder>();
  auto other = std::make_shared<Holder>();
  auto value = std::make_shared<Marker>();
  std::weak_ptr<Marker> watch = value;
  AssociatedObjects::set(*owner, &kFirstKey, value);
  AssociatedObjects::set(*owner, &kSecondKey, value);
  AssociatedObjects::set(*other, &kFirstKey, value);
  AssociatedObjects::set(*owner, &kFirstKey, std::shared_ptr<Marker>());
  EXPECT_EQ(AssociatedObjects::get<Marker>(*owner, &kFirstKey), nullptr);
  EXPECT_EQ(AssociatedObjects::get<Marker>(*owner, &kSecondKey), value);
  EXPECT_EQ(AssociatedObjects::get<Marker>(*other, &kFirstKey), value);
  AssociatedObjects::remove(*owner, &kSecondKey);
  AssociatedObjects::removeAll(*other);
  value.reset();
  EXPECT_TRUE(watch.expired());
}

TEST(AssociatedObjects, ValuesReadBackByClassOrExactType) {
  auto owner = std::make_shared<Holder>();
  AssociatedObjects::set(*owner, &kFirstKey, std::make_shared<Tagged>());
  EXPECT_NE(AssociatedObjects::get<Tagged>(*owner, &kFirstKey), nullptr);
  EXPECT_NE(AssociatedObjects::get<Marker>(*owner, &kFirstKey), nullptr);
  EXPECT_NE(AssociatedObjects::get<pf::Object>(*owner, &kFirstKey), nullptr);
  EXPECT_EQ(AssociatedObjects::get<Holder>(*owner, &kFirstKey), nullptr);
  EXPECT_EQ(AssociatedObjects::get<std::string>(*owner, &kFirstKey), nullptr);

  AssociatedObjects::set(*owner, &kSecondKey, std::make_shared<std::string>("url"));
  ASSERT_NE(AssociatedObjects::get<std::string>(*owner, &kSecondKey), nullptr);
  EXPECT_EQ(*AssociatedObjects::get<std::string>(*owner, &kSecondKey), "url");
  EXPECT_EQ(AssociatedObjects::get<int>(*owner, &kSecondKey), nullptr);
  EXPECT_EQ(AssociatedObjects::get<Marker>(*owner, &kSecondKey), nullptr);
}

TEST(AssociatedObjects, SlotsEndWithTheirOwner) {
  auto value = std::make_shared<Marker>();
  std::weak_ptr<Marker> watch = value;
  AssociatedObjects::purge();
  const size_t before = AssociatedObjects::ownerCount();
  {
    auto view = std::make_shared<pf::View>();
    AssociatedObjects::set(*view, &kFirstKey, value);
  }
  // A view lets its slots go as it goes.
  EXPECT_EQ(AssociatedObjects::ownerCount(), before);
  {
    auto plain = std::make_shared<Holder>();
    AssociatedObjects::set(*plain, &kFirstKey, value);
  }
  value.reset();
  EXPECT_FALSE(watch.expired());
  AssociatedObjects::purge();
  EXPECT_TRUE(watch.expired());
  EXPECT_EQ(AssociatedObjects::ownerCount(), before);
}

TEST(AssociatedObjects, OwnerNotHeldBySharedPtrIsAContractFault) {
  Holder loose;
  EXPECT_THROW(AssociatedObjects::set(loose, &kFirstKey, std::make_shared<Marker>()), pf::ContractViolation);
  EXPECT_EQ(AssociatedObjects::get<Marker>(loose, &kFirstKey), nullptr);
}

TEST(AssociatedObjects, ValueDestructorMayUseSlotsWithoutDeadlock) {
  auto owner = std::make_shared<Holder>();
  auto value = std::make_shared<Reentrant>();
  value->other = std::make_shared<Holder>();
  AssociatedObjects::set(*owner, &kFirstKey, value);
  value.reset();
  AssociatedObjects::set(*owner, &kFirstKey, std::make_shared<Reentrant>(Reentrant{owner}));
  AssociatedObjects::removeAll(*owner);
  EXPECT_EQ(AssociatedObjects::get<Reentrant>(*owner, &kFirstKey), nullptr);
}

TEST(AssociatedObjectsConcurrency, TwoThreadsSetAndReadTheirOwnSlots) {
  auto run = [] {
    for (int i = 0; i < 500; ++i) {
      auto owner = std::make_shared<Holder>();
      auto value = std::make_shared<Marker>();
      AssociatedObjects::set(*owner, &kFirstKey, value, i % 2 ? Policy::Weak : Policy::Strong);
      EXPECT_EQ(AssociatedObjects::get<Marker>(*owner, &kFirstKey), value);
    }
  };
  std::thread other(run);
  run();
  other.join();
  AssociatedObjects::purge();
}

}  // namespace
