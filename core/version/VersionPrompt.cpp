#include "core/version/VersionPrompt.h"

#include <mutex>

#include "platform/foundation/Bundle.h"

namespace {

std::mutex& instanceMutex() {
  static std::mutex mutex;
  return mutex;
}

std::shared_ptr<VersionPrompt>& instance() {
  static std::shared_ptr<VersionPrompt> prompt;
  return prompt;
}

}  // namespace

VersionPrompt::VersionPrompt() {
  const pf::Value version =
      pf::Bundle::mainBundle()->objectForInfoDictionaryKey("CFBundleShortVersionString");
  if (const std::string* text = version.string()) applicationVersion_ = *text;
}

std::shared_ptr<VersionPrompt> VersionPrompt::sharedInstance() {
  std::lock_guard lock(instanceMutex());
  if (!instance()) instance().reset(new VersionPrompt());
  return instance();
}

void VersionPrompt::resetSharedInstance() {
  std::lock_guard lock(instanceMutex());
  instance().reset();
}
