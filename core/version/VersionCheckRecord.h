#pragma once
// What the update prompt remembers between launches, in the user defaults: when it last looked, when
// the user asked to be reminded later, the version the user chose to ignore and the version whose
// notes were seen. Answers whether an automatic check is due. Main thread.

#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/Value.h"

namespace pf {
class UserDefaults;
}

class VersionCheckRecord {
 public:
  static constexpr char kLastCheckedKey[] = "VersionPromptLastChecked";
  static constexpr char kLastRemindedKey[] = "VersionPromptLastReminded";
  static constexpr char kIgnoreVersionKey[] = "VersionPromptIgnoreVersion";
  static constexpr char kLastVersionCheckedKey[] = "VersionPromptLastVersionChecked";
  static constexpr double kSecondsPerDay = 86400;

  explicit VersionCheckRecord(std::shared_ptr<pf::UserDefaults> defaults);

  // A reminder date holds checks off for the remind period; without one, the last check holds them
  // off for the check period (never with period 0).
  bool shouldCheck(pf::Date now, double checkPeriodDays, double remindPeriodDays) const;
  // The first launch stores the running version; a newer running version drops the reminder.
  void noteLaunchOfVersion(const std::string& runningVersion);

  void checkedAt(pf::Date now);
  void remindLaterFrom(pf::Date now);
  void ignoreVersion(const std::string& version);
  void forgetReminder();
  std::optional<std::string> ignoredVersion() const;

 private:
  std::shared_ptr<pf::UserDefaults> defaults_;
};
