#pragma once
// Counts the consecutive busy or locked answers of one SQLite call and waits 20 microseconds before
// each retry. A limit of 0 retries without end; with a limit T the call gives up after T + 2 attempts.

#include <string_view>

#include "platform/foundation/Value.h"

class SqlBusyRetry {
 public:
  explicit SqlBusyRetry(int limit) : limit_(limit) {}

  // After a busy or locked answer: waits and answers true to retry, or false to give up.
  bool again();

  // The two lines written when a call gives up.
  static void logGiveUp(std::string_view operation, int position, const pf::Value& path);

 private:
  int limit_;
  int busyCount_ = 0;
};
