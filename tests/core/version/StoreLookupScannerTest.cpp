#include "core/version/StoreLookupScanner.h"

#include <gtest/gtest.h>

// The store's answer is scanned, not parsed: a value last in its object, a value holding commas, a
// missing key and a text cut short must neither be lost, mangled nor read past the text's end.
TEST(StoreLookupScannerTest, ValuesComeOutOfTheLookupText) {
  const std::string answer =
      "{\"resultCount\":1,\"results\":[{\"trackId\": 42 ,\"releaseNotes\":\"Faster, smaller,\\nbetter \\\"sync\\\"\","
      "\"bundleId\":\"com.example.app\",\"url\":\"http:\\/\\/x\\/y\",\"name\":\"\\u5b66\\u4e60\\ud83d\\ude00\","
      "\"version\":\"1.10\"}]}";
  struct Case {
    const char* key;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"trackId", "42"},
      {"releaseNotes", "Faster, smaller,\nbetter \"sync\""},
      {"bundleId", "com.example.app"},
      {"url", "http://x/y"},
      {"name", "学习😀"},
      {"version", "1.10"},
      {"missing", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(StoreLookupScanner::valueForKey(c.key, answer), c.expected) << c.key;
}

TEST(StoreLookupScannerTest, CutShortTextsGiveNothing) {
  const char* texts[] = {"{\"version\"", "{\"version\":\"1.0", "{\"version\":\"1,0", "{\"version\": 3", "\"version\":\"a\\u12"};
  for (const char* text : texts) {
    const auto value = StoreLookupScanner::valueForKey("version", text);
    EXPECT_FALSE(value.has_value()) << text << " gave " << value.value_or("");
  }
  EXPECT_EQ(StoreLookupScanner::valueForKey("v", "{\"v\":\"a\\u12\"}"), "a\\u12") << "a short escape stays as it is";
}
