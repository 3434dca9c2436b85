#include "platform/foundation/UserDefaults.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "platform/foundation/Error.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/Sandbox.h"
#include "tests/support/TemporaryFolder.h"

namespace {

using pf::UserDefaults;

std::string contentsOf(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

class UserDefaultsTest : public testing::Test {
 protected:
  std::string path() const { return folder_.file("Preferences/defaults.plist"); }
  pf_test::TemporaryFolder folder_;
};

TEST_F(UserDefaultsTest, ValuesSurviveAReload) {
  const pf::Value nested(pf::Dictionary{{"list", pf::Array{1, "two"}}, {"bytes", pf::Data{0, 9}}});
  {
    UserDefaults defaults(path());
    defaults.setObject(pf::Value("u-1"), "lastLoginUserId");
    defaults.setBool(false, "firstLauch");
    defaults.setInteger(-7, "count");
    defaults.setDouble(2.5, "rate");
    defaults.setObject(pf::Value(pf::Date{1700000000.5}), "when");
    defaults.setObject(nested, "nested");
    defaults.setObject(pf::Value("gone"), "removed");
    defaults.removeObjectForKey("removed");
    EXPECT_TRUE(defaults.synchronize());
  }
  const UserDefaults reloaded(path());
  EXPECT_EQ(reloaded.stringForKey("lastLoginUserId"), "u-1");
  EXPECT_FALSE(reloaded.objectForKey("firstLauch").isNil()) << "a stored NO is present";
  EXPECT_FALSE(reloaded.boolForKey("firstLauch"));
  EXPECT_EQ(reloaded.integerForKey("count"), -7);
  EXPECT_EQ(reloaded.doubleForKey("rate"), 2.5);
  EXPECT_EQ(reloaded.dateForKey("when"), pf::Date{1700000000.5});
  EXPECT_EQ(reloaded.objectForKey("nested"), nested);
  EXPECT_TRUE(reloaded.objectForKey("removed").isNil());
  EXPECT_TRUE(reloaded.objectForKey("never").isNil());
}

TEST_F(UserDefaultsTest, PendingChangesAreWrittenWhenTheInstanceEnds) {
  { UserDefaults(path()).setObject(pf::Value("2.1"), "lastVersion"); }
  EXPECT_EQ(UserDefaults(path()).stringForKey("lastVersion"), "2.1");
}

TEST_F(UserDefaultsTest, TypedReadersAreLenient) {
  UserDefaults defaults(path());
  struct Case {
    pf::Value stored;
    bool asBool;
    long asInteger;
    double asDouble;
    std::optional<std::string> asString;
  };
  const Case cases[] = {
      {pf::Value("YES"), true, 0, 0, "YES"},
      {pf::Value("1"), true, 1, 1, "1"},
      {pf::Value("12.5"), true, 12, 12.5, "12.5"},
      {pf::Value("no"), false, 0, 0, "no"},
      {pf::Value(true), true, 1, 1, "1"},
      {pf::Value(3.75), true, 3, 3.75, "3.75"},
      {pf::Value(pf::Date{5}), false, 0, 0, std::nullopt},
      {pf::Value(pf::Array{1}), false, 0, 0, std::nullopt},
      {pf::Value(), false, 0, 0, std::nullopt},
  };
  for (const Case& c : cases) {
    defaults.setObject(c.stored, "k");
    EXPECT_EQ(defaults.boolForKey("k"), c.asBool) << c.stored.description();
    EXPECT_EQ(defaults.integerForKey("k"), c.asInteger) << c.stored.description();
    EXPECT_EQ(defaults.doubleForKey("k"), c.asDouble) << c.stored.description();
    EXPECT_EQ(defaults.stringForKey("k"), c.asString) << c.stored.description();
    EXPECT_EQ(defaults.dateForKey("k").has_value(), c.stored.isDate());
  }
}

TEST_F(UserDefaultsTest, KeepsItsOwnCopies) {
  UserDefaults defaults(path());
  auto list = pf::makeArray({1});
  defaults.setObject(pf::Value(list), "list");
  list->push_back(pf::Value(2));
  defaults.objectForKey("list").array()->push_back(pf::Value(3));
  EXPECT_EQ(defaults.objectForKey("list"), pf::Value(pf::Array{1}));
}

TEST_F(UserDefaultsTest, RefusesValuesThatAreNoPropertyList) {
  UserDefaults defaults(path());
  try {
    defaults.setObject(pf::Value(pf::Array{pf::Null{}}), "bad");
    FAIL() << "no exception";
  } catch (const pf::ContractViolation& e) {
    EXPECT_EQ(e.name(), "NSInvalidArgumentException");
    EXPECT_EQ(std::string(e.what()), "Attempt to insert non-property list object (an array) for key bad");
  }
  EXPECT_TRUE(defaults.objectForKey("bad").isNil());
}

TEST_F(UserDefaultsTest, CorruptFileIsKeptAsideAndReadsAsEmpty) {
  std::filesystem::create_directories(folder_.file("Preferences"));
  const std::pair<const char*, std::string> cases[] = {
      {"garbage", "\x01\x02 not a property list"},
      {"array at the top", "<plist version=\"1.0\"><array><string>x</string></array></plist>"},
  };
  for (const auto& [name, contents] : cases) {
    std::ofstream(path(), std::ios::binary) << contents;
    pf::Log::Capture log;
    UserDefaults defaults(path());
    EXPECT_TRUE(defaults.objectForKey("x").isNil()) << name;
    EXPECT_EQ(contentsOf(path() + ".corrupt"), contents) << name;
    EXPECT_TRUE(log.contains("kept as " + path() + ".corrupt")) << name;

    defaults.setInteger(1, "fresh");
    ASSERT_TRUE(defaults.synchronize());
    EXPECT_EQ(UserDefaults(path()).integerForKey("fresh"), 1) << name;
    std::filesystem::remove(path());
  }
}

TEST_F(UserDefaultsTest, StandardDefaultsLiveInTheSandboxHome) {
  pf::Sandbox::setHome(folder_.path());
  UserDefaults::resetStandardUserDefaults();
  const auto defaults = UserDefaults::standardUserDefaults();
  EXPECT_EQ(defaults->path(), folder_.path() + "/Library/Preferences/UserDefaults.plist");
  EXPECT_EQ(UserDefaults::standardUserDefaults(), defaults);
  defaults->setObject(pf::Value("c-9"), "lastLoginCorpcode");

  UserDefaults::resetStandardUserDefaults();  // writes the pending change
  EXPECT_NE(UserDefaults::standardUserDefaults(), defaults);
  EXPECT_EQ(UserDefaults::standardUserDefaults()->stringForKey("lastLoginCorpcode"), "c-9");
  UserDefaults::resetStandardUserDefaults();
  pf::Sandbox::setHome("");
}

TEST_F(UserDefaultsTest, ThreadsShareOneInstance) {
  UserDefaults defaults(path());
  std::vector<std::thread> writers;
  for (int t = 0; t < 4; ++t) {
    writers.emplace_back([&defaults, t] {
      for (int i = 0; i < 50; ++i) {
        const std::string key = "k" + std::to_string(t) + "-" + std::to_string(i);
        defaults.setInteger(i, key);
        EXPECT_EQ(defaults.integerForKey(key), i);
        if (i % 10 == 0) {
          EXPECT_TRUE(defaults.synchronize());
        }
      }
    });
  }
  for (std::thread& writer : writers) writer.join();
  ASSERT_TRUE(defaults.synchronize());
  const UserDefaults reloaded(path());
  EXPECT_EQ(reloaded.integerForKey("k3-49"), 49);
  EXPECT_EQ(reloaded.integerForKey("k0-0"), 0);
  EXPECT_EQ(pf::PropertyList::propertyListWithContentsOfFile(path()).dictionary()->size(), 200u);
}

}  // namespace

namespace user_defaults_registration_test {

// Registered values answer only for absent keys and never reach the file: a registration that was
// written would freeze today's defaults into every later version's preferences.
TEST(UserDefaultsRegistrationTest, RegisteredValuesAnswerAbsentKeysAndAreNeverWritten) {
  pf_test::TemporaryFolder folder;
  const std::string path = folder.file("Preferences/registered.plist");
  {
    UserDefaults defaults(path);
    defaults.setInteger(1, "scalingMode");
    defaults.registerDefaults({{"scalingMode", pf::Value(3)}, {"controlStyle", pf::Value(0)},
                               {"useApplicationAudioSession", pf::Value(true)}});
    EXPECT_EQ(defaults.integerForKey("scalingMode"), 1) << "a stored value wins over a registered one";
    EXPECT_EQ(defaults.stringForKey("controlStyle"), "0") << "a registered number reads as its text";
    EXPECT_TRUE(defaults.boolForKey("useApplicationAudioSession"));
    defaults.removeObjectForKey("scalingMode");
    EXPECT_EQ(defaults.integerForKey("scalingMode"), 3) << "removal shows the registered value again";
    defaults.registerDefaults({{"controlStyle", pf::Value(2)}});
    EXPECT_EQ(defaults.integerForKey("controlStyle"), 2) << "the later registration wins";
    EXPECT_TRUE(defaults.synchronize());
  }
  const UserDefaults reloaded(path);
  EXPECT_TRUE(reloaded.objectForKey("controlStyle").isNil());
  EXPECT_TRUE(reloaded.objectForKey("scalingMode").isNil());
}

}  // namespace user_defaults_registration_test
