#pragma once
// What keeps the application running after it leaves the foreground, for requests that ask for it
// (shouldContinueWhenAppEntersBackground). The program installs one over its application object with
// HttpRequest::setBackgroundTaskHost; without one such requests run like any other. The engine calls
// it on the main thread only.

#include <functional>

class BackgroundTaskHost {
 public:
  using Identifier = unsigned long;
  static constexpr Identifier kInvalid = 0;

  virtual ~BackgroundTaskHost() = default;
  // A new task; expired runs on the main thread when the application's time runs out. kInvalid when
  // none could be begun.
  virtual Identifier begin(std::function<void()> expired) = 0;
  virtual void end(Identifier task) = 0;
};
