#include "platform/net/ScriptHeap.h"

#include <gtest/gtest.h>

#include <thread>

namespace pf {
namespace {

// Once a limit has passed every allocation fails, also those the engine makes outside the script
// (names, arguments, the program's file name): each operation must fail with the reason, never take
// the process down.
TEST(ScriptHeapTest, OperationsPastTheTimeLimitFailWithTheReason) {
  ScriptHeap heap({std::chrono::milliseconds(20), 16u << 20}, {});
  ASSERT_NE(heap.context(), nullptr);
  std::string failure;
  ASSERT_TRUE(heap.evaluate("function f(a) { return a; }", "first", failure)) << failure;
  std::this_thread::sleep_for(std::chrono::milliseconds(30));

  const std::string longName(200, 'n');
  EXPECT_FALSE(heap.evaluate("var late = 1;", longName, failure));
  EXPECT_EQ(failure, "it ran longer than 20 ms");
  EXPECT_FALSE(heap.isFunction("notDefinedAnywhere"));
  failure.clear();
  EXPECT_EQ(heap.call("f", {std::string(300, 'x')}, failure), std::nullopt);
  EXPECT_EQ(failure, "it ran longer than 20 ms");
}

// The engine's own set-up is not held to the limits (a failure there has nothing to catch it); the
// first script is.
TEST(ScriptHeapTest, LimitsTooTightForTheEnginesSetUpFailTheFirstScript) {
  struct Case {
    ScriptHeap::Limits limits;
    std::string failure;
  };
  const Case cases[] = {
      {{std::chrono::milliseconds(0), 16u << 20}, "it ran longer than 0 ms"},
      {{std::chrono::milliseconds(2000), 8 * 1024}, "it needed more than 8192 bytes of memory"},
  };
  for (const Case& c : cases) {
    ScriptHeap heap(c.limits, {});
    ASSERT_NE(heap.context(), nullptr) << c.failure;
    std::string failure;
    EXPECT_FALSE(heap.evaluate("var a = [1, 2, 3].join();", "script", failure));
    EXPECT_EQ(failure, c.failure);
    EXPECT_EQ(heap.call("f", {"x"}, failure), std::nullopt);
    EXPECT_EQ(failure, c.failure);
  }
}

TEST(ScriptHeapTest, CallsReportMissingFunctionsAndThrownErrors) {
  ScriptHeap heap({}, {});
  std::string failure;
  ASSERT_TRUE(heap.evaluate("function f(a, b) { return a + b; } function g() { throw new Error('no'); }",
                            "script", failure))
      << failure;
  EXPECT_TRUE(heap.isFunction("f"));
  EXPECT_FALSE(heap.isFunction("h"));
  EXPECT_EQ(heap.call("f", {"a", "b"}, failure), "ab");
  EXPECT_EQ(heap.call("h", {}, failure), std::nullopt);
  EXPECT_EQ(failure, "it defines no function h");
  EXPECT_EQ(heap.call("g", {}, failure), std::nullopt);
  EXPECT_EQ(failure, "Error: no");
  EXPECT_FALSE(heap.evaluate("syntax error here", "bad", failure));
  EXPECT_NE(failure.find("SyntaxError"), std::string::npos) << failure;
}

}  // namespace
}  // namespace pf
