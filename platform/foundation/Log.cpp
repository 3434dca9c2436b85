#include "platform/foundation/Log.h"

#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace pf {
namespace {

// The live captures. Never destroyed, so a message logged during exit still finds it.
struct CaptureRegistry {
  std::mutex mutex;
  std::vector<Log::Capture*> captures;
};

CaptureRegistry& registry() {
  static CaptureRegistry* const instance = new CaptureRegistry;
  return *instance;
}

bool quiet() {
  static const bool value = [] {
    const char* setting = std::getenv("MARLUNE_LOG");
    return setting && std::string_view(setting) == "quiet";
  }();
  return value;
}

// "2024-05-01 09:30:12.345 Marlune[812:815] "
std::string prefix() {
  timeval now{};
  gettimeofday(&now, nullptr);
  tm local{};
  localtime_r(&now.tv_sec, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
  char text[96];
  std::snprintf(text, sizeof text, "%s.%03ld Marlune[%d:%d] ", stamp, static_cast<long>(now.tv_usec / 1000),
                static_cast<int>(getpid()), static_cast<int>(gettid()));
  return text;
}

}  // namespace

void Log::write(std::string_view message) {
  {
    CaptureRegistry& r = registry();
    std::lock_guard lock(r.mutex);
    for (Capture* capture : r.captures) capture->add(message);
  }
  if (quiet()) return;
  const std::string start = prefix();
  // Holding the stream keeps lines from several threads apart without copying a long message.
  flockfile(stderr);
  std::fwrite(start.data(), 1, start.size(), stderr);
  std::fwrite(message.data(), 1, message.size(), stderr);
  std::fputc('\n', stderr);
  funlockfile(stderr);
}

Log::Capture::Capture() {
  CaptureRegistry& r = registry();
  std::lock_guard lock(r.mutex);
  r.captures.push_back(this);
}

Log::Capture::~Capture() {
  CaptureRegistry& r = registry();
  std::lock_guard lock(r.mutex);
  std::erase(r.captures, this);
}

std::vector<std::string> Log::Capture::lines() const {
  std::lock_guard lock(mutex_);
  return lines_;
}

bool Log::Capture::contains(std::string_view fragment) const {
  std::lock_guard lock(mutex_);
  return std::any_of(lines_.begin(), lines_.end(),
                     [&](const std::string& line) { return line.find(fragment) != std::string::npos; });
}

void Log::Capture::add(std::string_view message) {
  std::lock_guard lock(mutex_);
  lines_.emplace_back(message);
}

}  // namespace pf
