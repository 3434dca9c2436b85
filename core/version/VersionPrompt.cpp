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
  const auto bundle = pf::Bundle::mainBundle();
  const pf::Value version = bundle->objectForInfoDictionaryKey("CFBundleShortVersionString");
  if (const std::string* text = version.string(); text && !text->empty()) {
    applicationVersion_ = *text;
    return;
  }
  // Without a short version the build version stands in.
  const pf::Value build = bundle->objectForInfoDictionaryKey("CFBundleVersion");
  if (const std::string* text = build.string()) applicationVersion_ = *text;
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
