#pragma once
// Where a stream's work runs. Work that finishes elsewhere (a socket became ready on the poller's
// thread, a name was looked up on a pool thread) is delivered here and posted to the run loop and mode
// the stream is scheduled in; while the stream is not scheduled the work waits, and goes out in order at
// the next schedule. Thread-safe.

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "platform/foundation/RunLoop.h"

namespace pf {

class StreamSchedule {
 public:
  void schedule(const std::shared_ptr<RunLoop>& loop, const std::string& mode);
  void unschedule();
  bool isScheduled() const;
  void deliver(std::function<void()> task);

 private:
  mutable std::mutex mutex_;
  std::weak_ptr<RunLoop> loop_;
  std::string mode_;
  bool scheduled_ = false;
  std::deque<std::function<void()>> waiting_;
};

}  // namespace pf
