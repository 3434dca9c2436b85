#include <gtest/gtest.h>

#include "platform/foundation/Error.h"
#include "platform/runtime/ClassBuilder.h"

namespace {

class Animal : public pf::Object {
  PF_OBJECT(Animal, pf::Object)
  std::optional<std::string> name;
  int legs = 4;
  bool tame = false;
  long long weight = 0;
  double height = 0;
  std::optional<pf::Date> born;
  std::shared_ptr<Animal> mother;
  std::vector<std::shared_ptr<Animal>> young;
  std::vector<int> marks;

  static void declareProperties(pf::ClassBuilder<Animal>& b) {
    PF_PROPERTY(b, name);
    PF_PROPERTY(b, legs);
    PF_PROPERTY(b, tame);
    PF_PROPERTY(b, weight);
    PF_PROPERTY(b, height);
    PF_PROPERTY(b, born);
    PF_PROPERTY(b, mother);
    PF_PROPERTY(b, young);
    PF_PROPERTY(b, marks);
    b.computed("summary", "NSString", [](const Animal& a) { return pf::Value(a.name.value_or("?")); });
  }
};

class Bird : public Animal {
  PF_OBJECT(Bird, Animal)
  float wingspan = 0;
  static void declareProperties(pf::ClassBuilder<Bird>& b) { PF_PROPERTY(b, wingspan); }
};

class Shape : public pf::Object {
  PF_OBJECT(Shape, pf::Object)
  virtual double area() const = 0;
};

class RuntimeTest : public testing::Test {
 protected:
  void SetUp() override {
    pf::registerClass<Bird>();
    pf::registerClass<Shape>();
  }
};

TEST_F(RuntimeTest, RegistryMakesByNameAndKnowsTheChain) {
  auto bird = pf::ClassRegistry::make("Bird");
  ASSERT_TRUE(bird);
  EXPECT_EQ(bird->className(), "Bird");
  EXPECT_TRUE(bird->isKindOf(Animal::staticClass()));
  EXPECT_TRUE(bird->isKindOf(pf::Object::staticClass()));
  EXPECT_FALSE(pf::ClassRegistry::make("Animal")->isKindOf(Bird::staticClass()));
  EXPECT_EQ(Bird::staticClass().superclass(), &Animal::staticClass());
  EXPECT_EQ(pf::ClassRegistry::make("NoSuchClass"), nullptr);
  EXPECT_EQ(pf::ClassRegistry::make("Shape"), nullptr) << "abstract classes cannot be made";
  EXPECT_THROW(pf::ClassRegistry::add(std::make_unique<pf::Class>("Bird", nullptr, nullptr, std::vector<pf::Property>{})),
               pf::ContractViolation);
}

TEST_F(RuntimeTest, ReadsBoxWithTheTypeLetter) {
  Bird bird;
  bird.name = "Robin";
  bird.tame = true;
  bird.weight = 1LL << 40;
  bird.wingspan = 0.25f;
  const std::tuple<const char*, char, pf::Value> cases[] = {
      {"legs", 'i', pf::Value(4)},
      {"tame", 'c', pf::Value(true)},
      {"weight", 'q', pf::Value(1LL << 40)},
      {"wingspan", 'f', pf::Value(0.25f)},
  };
  for (const auto& [key, letter, expected] : cases) {
    pf::Value v = bird.valueForKey(key);
    ASSERT_TRUE(v.isNumber()) << key;
    EXPECT_EQ(v.number()->typeLetter(), letter) << key;
    EXPECT_EQ(v, expected) << key;
  }
  EXPECT_EQ(bird.valueForKey("name"), pf::Value("Robin"));
  EXPECT_TRUE(bird.valueForKey("born").isNil());
  EXPECT_TRUE(bird.valueForKey("mother").isNil());
  EXPECT_EQ(bird.valueForKey("summary"), pf::Value("Robin"));
  EXPECT_THROW(bird.valueForKey("colour"), pf::ContractViolation);
}

TEST_F(RuntimeTest, WritesUnboxLikeKeyValueAccess) {
  Bird bird;
  EXPECT_TRUE(bird.setValueForKey("legs", pf::Value("12abc")));
  EXPECT_EQ(bird.legs, 12) << "text is read leniently";
  EXPECT_TRUE(bird.setValueForKey("height", pf::Value(3)));
  EXPECT_EQ(bird.height, 3.0);
  EXPECT_TRUE(bird.setValueForKey("tame", pf::Value("YES")));
  EXPECT_TRUE(bird.tame);
  EXPECT_TRUE(bird.setValueForKey("weight", pf::Value(9007199254740993LL)));
  EXPECT_EQ(bird.weight, 9007199254740993LL) << "64-bit kept whole";
  EXPECT_TRUE(bird.setValueForKey("name", pf::Value(42)));
  EXPECT_EQ(bird.name, "42");
  EXPECT_TRUE(bird.setValueForKey("born", pf::Value(pf::Date{1.5})));
  EXPECT_EQ(bird.born->seconds, 1.5);

  // Values that do not fit leave the property unchanged.
  EXPECT_FALSE(bird.setValueForKey("legs", pf::Value()));
  EXPECT_FALSE(bird.setValueForKey("legs", pf::Value(pf::Null{})));
  EXPECT_FALSE(bird.setValueForKey("born", pf::Value("yesterday")));
  EXPECT_FALSE(bird.setValueForKey("summary", pf::Value("x"))) << "read-only";
  EXPECT_EQ(bird.legs, 12);
  EXPECT_TRUE(bird.setValueForKey("name", pf::Value()));
  EXPECT_FALSE(bird.name) << "nil clears an optional";
}

TEST_F(RuntimeTest, ObjectAndListProperties) {
  auto mother = std::make_shared<Animal>();
  auto chick = std::make_shared<Bird>();
  Bird bird;
  EXPECT_TRUE(bird.setValueForKey("mother", pf::Value(mother)));
  EXPECT_EQ(bird.mother, mother);
  EXPECT_FALSE(bird.setValueForKey("mother", pf::Value(std::make_shared<pf::Error>("d", 1))));
  EXPECT_EQ(bird.mother, mother) << "an object of another class is refused";

  EXPECT_TRUE(bird.setValueForKey("young", pf::Value(pf::Array{pf::Value(chick), pf::Value(mother)})));
  ASSERT_EQ(bird.young.size(), 2u);
  EXPECT_EQ(bird.young[0], chick);
  EXPECT_FALSE(bird.setValueForKey("young", pf::Value(pf::Array{pf::Value("not an animal")})));
  EXPECT_EQ(bird.young.size(), 2u) << "all or nothing";

  EXPECT_TRUE(bird.setValueForKey("marks", pf::Value(pf::Array{pf::Value(1), pf::Value("2")})));
  EXPECT_EQ(bird.marks, (std::vector<int>{1, 2}));
  pf::Value marks = bird.valueForKey("marks");
  ASSERT_TRUE(marks.isArray());
  EXPECT_EQ((*marks.array())[1], pf::Value(2));
}

TEST_F(RuntimeTest, FrozenRegistryRefusesNewClasses) {
  // Other tests leave pool threads behind; a re-executed child does not inherit their locks.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        pf::ClassRegistry::freeze();
        try {
          pf::ClassRegistry::add(std::make_unique<pf::Class>("Late", nullptr, nullptr, std::vector<pf::Property>{}));
        } catch (const pf::ContractViolation&) {
          std::exit(pf::ClassRegistry::find("Bird") ? 3 : 4);
        }
        std::exit(0);
      },
      testing::ExitedWithCode(3), "");
}

}  // namespace
