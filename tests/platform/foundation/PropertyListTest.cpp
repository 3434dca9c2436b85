#include "platform/foundation/PropertyList.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <random>
#include <vector>

#include "tests/support/TemporaryFolder.h"

namespace {

using pf::PropertyList;
using Format = PropertyList::Format;

char letterOf(const pf::Value& v) {
  return v.number() ? v.number()->typeLetter() : '?';
}

// One of each kind. XML keeps dates to the second, so fractions are only asked of binary lists.
pf::Value everyKind(Format format) {
  const double fraction = format == Format::Binary ? 0.25 : 0;
  return pf::Dictionary{
      {"string", "a<b>&\"c\" 课程"},
      {"empty", ""},
      {"integer", -42LL},
      {"large", LLONG_MAX},
      {"real", 0.1},
      {"yes", true},
      {"no", false},
      {"date", pf::Date{1700000000 + fraction}},
      {"before1970", pf::Date{-1000000000 - fraction}},
      {"justBefore2001", pf::Date{978307198 + fraction}},
      {"data", pf::Data{0, 1, 2, 255}},
      {"emptyData", pf::Data{}},
      {"array", pf::Array{1LL, "two", pf::Array{}, pf::Dictionary{}}},
      {"dict", pf::Dictionary{{"inner", pf::Dictionary{{"x", 1.5}}}}},
  };
}

void putBigEndian(pf::Data& out, std::uint64_t v, int bytes) {
  for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
    out.push_back(static_cast<std::uint8_t>(v >> shift));
}

// A binary list of encoded objects, the first being the top; references inside them take 4 bytes.
pf::Data binaryList(const std::vector<pf::Data>& objects) {
  pf::Data out{'b', 'p', 'l', 'i', 's', 't', '0', '0'};
  std::vector<std::uint64_t> offsets;
  for (const pf::Data& object : objects) {
    offsets.push_back(out.size());
    out.insert(out.end(), object.begin(), object.end());
  }
  const std::uint64_t table = out.size();
  for (std::uint64_t offset : offsets) putBigEndian(out, offset, 4);
  out.insert(out.end(), 6, 0);
  out.push_back(4);  // offset size
  out.push_back(4);  // reference size
  putBigEndian(out, objects.size(), 8);
  putBigEndian(out, 0, 8);  // top object
  putBigEndian(out, table, 8);
  return out;
}

// `count` arrays, each holding the next; with `loop` the last holds the first.
pf::Data nestedBinary(std::uint32_t count, bool loop) {
  std::vector<pf::Data> objects(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    const bool last = i + 1 == count;
    objects[i].push_back(last && !loop ? 0xA0 : 0xA1);
    if (!last || loop) putBigEndian(objects[i], last ? 0 : i + 1, 4);
  }
  return binaryList(objects);
}

pf::Data bytesOf(const std::string& text) {
  return pf::Data(text.begin(), text.end());
}

class PropertyListFormatTest : public testing::TestWithParam<Format> {};

TEST_P(PropertyListFormatTest, RoundTripsEveryKind) {
  const pf::Value original = everyKind(GetParam());
  pf::ErrorPtr error;
  std::optional<pf::Data> data = PropertyList::dataWithPropertyList(original, GetParam(), &error);
  ASSERT_TRUE(data) << error->description();
  Format detected{};
  const pf::Value back = PropertyList::propertyListWithData(*data, &detected, &error);
  EXPECT_EQ(detected, GetParam());
  EXPECT_EQ(back, original) << back.description();
  EXPECT_EQ(letterOf(back["integer"]), 'q');
  EXPECT_EQ(letterOf(back["real"]), 'd');
  EXPECT_EQ(letterOf(back["yes"]), 'c');
}

TEST_P(PropertyListFormatTest, RealsOutsideTheNumbersRoundTrip) {
  for (const double real : {std::nan(""), HUGE_VAL, -HUGE_VAL}) {
    pf::ErrorPtr error;
    const auto data = PropertyList::dataWithPropertyList(pf::Value(pf::Number(real)), GetParam(), &error);
    ASSERT_TRUE(data) << real;
    const pf::Value back = PropertyList::propertyListWithData(*data, nullptr, &error);
    ASSERT_TRUE(back.isNumber()) << real;
    const double read = back.number()->doubleValue();
    if (std::isnan(real)) {
      EXPECT_TRUE(std::isnan(read));
    } else {
      EXPECT_EQ(read, real);
    }
  }
}

TEST_P(PropertyListFormatTest, WritesFilesAtomically) {
  pf_test::TemporaryFolder folder;
  const std::string path = folder.file("list.plist");
  pf::ErrorPtr error;
  ASSERT_TRUE(PropertyList::writeToFile(pf::Value(pf::Dictionary{{"v", 1}}), path, GetParam(), &error));
  ASSERT_TRUE(PropertyList::writeToFile(everyKind(GetParam()), path, GetParam(), &error))
      << error->description();
  EXPECT_EQ(PropertyList::propertyListWithContentsOfFile(path, &error), everyKind(GetParam()));

  // A value that cannot be written leaves the file as it was.
  EXPECT_FALSE(
      PropertyList::writeToFile(pf::Value(pf::Dictionary{{"v", pf::Null{}}}), path, GetParam(), &error));
  EXPECT_EQ(PropertyList::propertyListWithContentsOfFile(path), everyKind(GetParam()));
  const auto entries = std::distance(std::filesystem::directory_iterator(folder.path()), {});
  EXPECT_EQ(entries, 1) << "no temporary file is left behind";
}

INSTANTIATE_TEST_SUITE_P(Formats, PropertyListFormatTest, testing::Values(Format::Xml, Format::Binary),
                         [](const auto& info) { return info.param == Format::Xml ? "Xml" : "Binary"; });

TEST(PropertyListTest, MalformedInputAnswersNilAndAnError) {
  const pf::Data valid = *PropertyList::dataWithPropertyList(everyKind(Format::Binary), Format::Binary);
  std::string deepXml = "<plist version=\"1.0\">";
  for (int i = 0; i < 100000; ++i) deepXml += "<array>";
  const std::pair<const char*, pf::Data> cases[] = {
      {"empty", {}},
      {"text", bytesOf("not a property list")},
      {"truncated binary", pf::Data(valid.begin(), valid.begin() + valid.size() / 2)},
      {"unbalanced xml", bytesOf("<plist><dict><key>a</key><string>x</dict></plist>")},
      {"deep xml", bytesOf(deepXml)},
      {"deep binary", nestedBinary(100000, false)},
      {"looping binary", nestedBinary(3, true)},
      {"NUL in a UTF-16 key",
       binaryList({{0xD1, 0, 0, 0, 1, 0, 0, 0, 2}, {0x63, 0, 'a', 0, 0, 0, 'b'}, {0x51, 'x'}})},
  };
  for (const auto& [name, data] : cases) {
    pf::ErrorPtr error;
    EXPECT_TRUE(PropertyList::propertyListWithData(data, nullptr, &error).isNil()) << name;
    ASSERT_TRUE(error) << name;
    EXPECT_EQ(error->domain(), "NSCocoaErrorDomain");
    EXPECT_EQ(error->code(), PropertyList::kReadCorruptError) << name;
  }
  EXPECT_EQ(PropertyList::propertyListWithData(nestedBinary(3, false)),
            pf::Value(pf::Array{pf::Array{pf::Array{}}}));
  EXPECT_EQ(PropertyList::propertyListWithData(
                binaryList({{0xD1, 0, 0, 0, 1, 0, 0, 0, 2}, {0x53, 'a', '-', 'b'}, {0x51, 'x'}})),
            pf::Value(pf::Dictionary{{"a-b", "x"}}));
}

TEST_P(PropertyListFormatTest, DamagedBytesNeverCrash) {
  const pf::Data valid = *PropertyList::dataWithPropertyList(everyKind(GetParam()), GetParam());
  std::mt19937 random(7);
  for (int round = 0; round < 3000; ++round) {
    pf::Data damaged = valid;
    for (int hits = 1 + round % 4; hits > 0; --hits) damaged[random() % damaged.size()] = random() & 0xFF;
    if (round % 3 == 0) damaged.resize(random() % damaged.size());
    pf::ErrorPtr error;
    const pf::Value value = PropertyList::propertyListWithData(damaged, nullptr, &error);
    EXPECT_TRUE(!value.isNil() || error) << "round " << round;
  }
}

TEST(PropertyListTest, RefusesValuesTheFormatCannotHold) {
  const auto self = std::make_shared<pf::Array>();
  self->push_back(pf::Value(self));
  const std::pair<const char*, pf::Value> cases[] = {
      {"null marker", pf::Value(pf::Null{})},
      {"object", pf::Value(std::make_shared<pf::Error>("D", 1))},
      {"nil", pf::Value()},
      {"unsigned above signed range", pf::Value(ULLONG_MAX)},
      {"NUL in string", pf::Value(std::string("a\0b", 3))},
      {"broken UTF-8", pf::Value("\xc3\x28")},
      {"date after 2069", pf::Value(pf::Date{1e10})},
      {"container holding itself", pf::Value(self)},
  };
  for (const auto& [name, value] : cases) {
    const pf::Value wrapped(pf::Array{value});
    pf::ErrorPtr error;
    EXPECT_FALSE(PropertyList::dataWithPropertyList(wrapped, Format::Binary, &error)) << name;
    ASSERT_TRUE(error) << name;
    EXPECT_EQ(error->code(), PropertyList::kWriteInvalidError) << name;
    EXPECT_FALSE(PropertyList::isValidPropertyList(wrapped)) << name;
  }
  EXPECT_FALSE(PropertyList::isValidPropertyList(pf::Value(pf::Dictionary{{"bad\xff", 1}})));
  EXPECT_TRUE(PropertyList::isValidPropertyList(everyKind(Format::Binary)));
  self->clear();
}

TEST(PropertyListTest, FileErrors) {
  pf_test::TemporaryFolder folder;
  pf::ErrorPtr error;
  EXPECT_TRUE(PropertyList::propertyListWithContentsOfFile(folder.file("missing.plist"), &error).isNil());
  EXPECT_EQ(error->code(), PropertyList::kFileNoSuchFileError);
  EXPECT_FALSE(PropertyList::writeToFile(pf::Value(pf::Array{}), folder.file("no/such/folder.plist"),
                                         Format::Xml, &error));
  EXPECT_EQ(error->code(), PropertyList::kFileWriteUnknownError);
  EXPECT_NE(error->localizedDescription().find("folder.plist"), std::string::npos);
}

}  // namespace
