#include "platform/net/PacHelperFunctions.h"

#include <gtest/gtest.h>

#include <ctime>

#include "platform/net/ScriptHeap.h"

namespace pf {
namespace {

// Wednesday 9 December 2026, 10:30:00 local time.
double wednesdayMorning() {
  std::tm fields{};
  fields.tm_year = 2026 - 1900;
  fields.tm_mon = 11;
  fields.tm_mday = 9;
  fields.tm_hour = 10;
  fields.tm_min = 30;
  fields.tm_isdst = -1;
  return static_cast<double>(std::mktime(&fields)) * 1000.0;
}

// The text of a JavaScript expression evaluated with the helper functions in place.
std::string evaluate(const std::string& expression) {
  const PacHelperFunctions::Host host{[](std::string_view name) -> std::optional<std::string> {
                                        if (name == "build.internal") return "10.1.2.3";
                                        return std::nullopt;
                                      },
                                      [] { return std::string("10.1.9.9"); },
                                      [] { return wednesdayMorning(); }};
  ScriptHeap heap({}, host.now);
  std::string failure;
  if (!PacHelperFunctions::install(heap, host, failure)) return "install failed: " + failure;
  if (!heap.evaluate("function probe() { return String(" + expression + "); }", "probe", failure)) {
    return "failed: " + failure;
  }
  return heap.call("probe", {}, failure).value_or("failed: " + failure);
}

TEST(PacHelperFunctionsTest, AnswerLikeTheStandardFunctions) {
  const std::pair<const char*, const char*> cases[] = {
      {R"(isPlainHostName("www"))", "true"},
      {R"(isPlainHostName("www.example.com"))", "false"},
      {R"(dnsDomainIs("www.example.com", ".example.com"))", "true"},
      {R"(dnsDomainIs("WWW.Example.com", ".example.COM"))", "true"},
      {R"(dnsDomainIs("www", ".example.com"))", "false"},
      {R"(dnsDomainIs("www.apple.com", ".example.com"))", "false"},
      {R"(localHostOrDomainIs("www.example.com", "www.example.com"))", "true"},
      {R"(localHostOrDomainIs("www", "www.example.com"))", "true"},
      {R"(localHostOrDomainIs("www.apple.com", "www.example.com"))", "false"},
      {R"(localHostOrDomainIs("home", "www.example.com"))", "false"},
      {R"(isResolvable("build.internal"))", "true"},
      {R"(isResolvable("nowhere.example"))", "false"},
      {R"(dnsResolve("build.internal"))", "10.1.2.3"},
      {R"(dnsResolve("nowhere.example"))", "null"},
      {R"(isInNet("build.internal", "10.1.0.0", "255.255.0.0"))", "true"},
      {R"(isInNet("10.2.0.1", "10.1.0.0", "255.255.0.0"))", "false"},
      {R"(isInNet("192.168.1.200", "192.168.1.128", "255.255.255.128"))", "true"},
      {R"(isInNet("nowhere.example", "0.0.0.0", "0.0.0.0"))", "false"},
      {R"(isInNet("10.1.1.1", "10.1.0", "255.255.0.0"))", "false"},
      {R"(isInNet("10.1.1.1", "10.1.0.0", "255.255.0.256"))", "false"},
      {"myIpAddress()", "10.1.9.9"},
      {R"(dnsDomainLevels("www"))", "0"},
      {R"(dnsDomainLevels("www.example.com"))", "2"},
      {R"(shExpMatch("http://home.example.com/a/b", "*.example.com/*"))", "true"},
      {R"(shExpMatch("a.b", "a?b"))", "true"},
      {R"(shExpMatch("a.b", "a.b.*"))", "false"},
      {R"js(shExpMatch("a+b(c)", "a+b(*)"))js", "true"},
      {R"(typeof alert("tracing"))", "undefined"},
  };
  for (const auto& [expression, expected] : cases) EXPECT_EQ(evaluate(expression), expected) << expression;
}

// At Wednesday 9 December 2026, 10:30 local time.
TEST(PacHelperFunctionsTest, TimeRulesReadTheClock) {
  const std::pair<const char*, const char*> cases[] = {
      {R"(weekdayRange("MON", "FRI"))", "true"},
      {R"(weekdayRange("wed"))", "true"},
      {R"(weekdayRange("SAT"))", "false"},
      {R"(weekdayRange("FRI", "MON"))", "false"},
      {R"(weekdayRange("TUE", "SUN"))", "true"},
      {R"(weekdayRange("MON", "FRI", "GMT"))", "true"},
      {R"(weekdayRange("FUNDAY"))", "false"},
      {R"(dateRange("DEC"))", "true"},
      {R"(dateRange("JAN", "MAR"))", "false"},
      {R"(dateRange("NOV", "JAN"))", "true"},
      {"dateRange(9)", "true"},
      {"dateRange(1, 8)", "false"},
      {"dateRange(25, 10)", "true"},
      {"dateRange(2026)", "true"},
      {"dateRange(2020, 2025)", "false"},
      {R"(dateRange(1, "DEC", 31, "DEC"))", "true"},
      {R"(dateRange(10, "DEC", 24, "DEC"))", "false"},
      {R"(dateRange("DEC", 2026, "JAN", 2027))", "true"},
      {R"(dateRange(1, "JAN", 2026, 31, "DEC", 2026))", "true"},
      {R"(dateRange(1, "JAN", 2027, 31, "DEC", 2027))", "false"},
      {R"(dateRange("DECEMBER"))", "false"},
      {"timeRange(10)", "true"},
      {"timeRange(11)", "false"},
      {"timeRange(9, 17)", "true"},
      {"timeRange(11, 17)", "false"},
      {"timeRange(22, 11)", "true"},
      {"timeRange(10, 0, 10, 30)", "false"},
      {"timeRange(10, 0, 10, 31)", "true"},
      {"timeRange(10, 30, 0, 10, 30, 0)", "true"},
      {"timeRange(10, 30, 1, 11, 0, 0)", "false"},
      {"timeRange(1, 2, 3)", "false"},
      {"new Date().getMinutes()", "30"},
  };
  for (const auto& [expression, expected] : cases) EXPECT_EQ(evaluate(expression), expected) << expression;
}

TEST(PacHelperFunctionsTest, ShellExpressionMatchingIsBounded) {
  EXPECT_EQ(PacHelperFunctions::shellExpressionMatches("aXbXc", "a*b*c"), true);
  EXPECT_EQ(PacHelperFunctions::shellExpressionMatches("", "*"), true);
  EXPECT_EQ(PacHelperFunctions::shellExpressionMatches("", "?"), false);
  const std::string text(10000, 'a');
  const std::string pattern = "*" + std::string(100, 'a') + "b";
  EXPECT_EQ(PacHelperFunctions::shellExpressionMatches(text, pattern), false);
  EXPECT_EQ(PacHelperFunctions::shellExpressionMatches(text, pattern, 1000), std::nullopt);
}

TEST(PacHelperFunctionsTest, SystemLookupAnswersAddressesAndGivesUpAtTheDeadline) {
  const auto soon = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  EXPECT_EQ(PacHelperFunctions::systemResolve("127.0.0.1", soon), "127.0.0.1");
  EXPECT_EQ(PacHelperFunctions::systemResolve("::1", soon), std::nullopt);
  EXPECT_EQ(PacHelperFunctions::systemResolve("localhost", soon), "127.0.0.1");
  EXPECT_FALSE(PacHelperFunctions::systemOwnAddress().empty());
}

}  // namespace
}  // namespace pf
