#pragma once
// The one long-lived thread that runs every queued and asynchronous HTTP request, so that all their
// stream events, timers and callbacks are serialised on one run loop. Made on first use; it and its
// loop live as long as the process. Thread-safe.

#include <memory>

#include "platform/foundation/RunLoop.h"

class RequestThread {
 public:
  // The thread's run loop (the default mode runs the requests).
  static std::shared_ptr<pf::RunLoop> runLoop();
  static bool isCurrent();
};
