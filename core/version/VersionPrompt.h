#pragma once
// The process-wide update prompt. So far it knows the running application's version, the bundle's
// "CFBundleShortVersionString" (or, when that is empty, "CFBundleVersion") read when the instance is
// made; the store check and the prompt itself come with the application shell.

#include <memory>
#include <optional>
#include <string>

class VersionPrompt {
 public:
  // The single instance, made on first use.
  static std::shared_ptr<VersionPrompt> sharedInstance();
  // Forgets the instance so the next one reads the bundle again (tests that launch more than once).
  static void resetSharedInstance();

  // nullopt when the bundle names no version.
  const std::optional<std::string>& applicationVersion() const { return applicationVersion_; }

 private:
  VersionPrompt();

  std::optional<std::string> applicationVersion_;
};
