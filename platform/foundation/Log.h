#pragma once
// The platform log: one line per message on standard error, prefixed with the time and the process.
// Tests capture what is logged with Log::Capture.

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Format.h"

namespace pf {

class Log {
 public:
  static void write(std::string_view message);

  // While alive, every logged message (without prefix) is also kept here, from any thread.
  class Capture {
   public:
    Capture();
    ~Capture();
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;
    std::vector<std::string> lines() const;
    bool contains(std::string_view fragment) const;

   private:
    friend class Log;
    void add(std::string_view message);
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
  };
};

// Logs a formatted message: logf("error opening!: %d", rc).
template <typename... Args>
void logf(std::string_view fmt, const Args&... args) {
  Log::write(format(fmt, args...));
}

}  // namespace pf
