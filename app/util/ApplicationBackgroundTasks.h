#pragma once
// The application's background tasks as the HTTP engine's host: a download that continues in the
// background (on Wi-Fi) keeps the application running until it ends, and stops when the time runs out.

#include "core/http/BackgroundTaskHost.h"

class ApplicationBackgroundTasks : public BackgroundTaskHost {
 public:
  // Installs one as the engine's host (start-up does, before any transfer).
  static void install();

  Identifier begin(std::function<void()> expired) override;
  void end(Identifier task) override;
};
