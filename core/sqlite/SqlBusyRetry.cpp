#include "core/sqlite/SqlBusyRetry.h"

#include <chrono>
#include <thread>

#include "platform/foundation/Log.h"

bool SqlBusyRetry::again() {
  ++busyCount_;
  if (limit_ != 0 && busyCount_ - 1 > limit_) return false;
  std::this_thread::sleep_for(std::chrono::microseconds(20));
  return true;
}

void SqlBusyRetry::logGiveUp(std::string_view operation, int position, const pf::Value& path) {
  pf::logf("%s:%d Database busy (%@)", std::string(operation), position, path);
  pf::logf("Database busy");
}
