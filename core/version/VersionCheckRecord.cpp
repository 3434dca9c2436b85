#include "core/version/VersionCheckRecord.h"

#include "core/version/VersionText.h"
#include "platform/foundation/UserDefaults.h"

VersionCheckRecord::VersionCheckRecord(std::shared_ptr<pf::UserDefaults> defaults) : defaults_(std::move(defaults)) {}

bool VersionCheckRecord::shouldCheck(pf::Date now, double checkPeriodDays, double remindPeriodDays) const {
  if (const auto reminded = defaults_->dateForKey(kLastRemindedKey))
    return now.seconds - reminded->seconds >= remindPeriodDays * kSecondsPerDay;
  const auto checked = defaults_->dateForKey(kLastCheckedKey);
  if (!checked) return true;
  return now.seconds - checked->seconds >= checkPeriodDays * kSecondsPerDay;
}

void VersionCheckRecord::noteLaunchOfVersion(const std::string& runningVersion) {
  const auto seen = defaults_->stringForKey(kLastVersionCheckedKey);
  if (!seen) {
    defaults_->setObject(pf::Value(runningVersion), kLastVersionCheckedKey);
    defaults_->synchronize();
    return;
  }
  if (VersionText::compareVersion(runningVersion, *seen) > 0) forgetReminder();
}

void VersionCheckRecord::checkedAt(pf::Date now) {
  defaults_->setObject(pf::Value(now), kLastCheckedKey);
  defaults_->synchronize();
}

void VersionCheckRecord::remindLaterFrom(pf::Date now) {
  defaults_->setObject(pf::Value(now), kLastRemindedKey);
  defaults_->synchronize();
}

void VersionCheckRecord::ignoreVersion(const std::string& version) {
  defaults_->setObject(pf::Value(version), kIgnoreVersionKey);
  defaults_->synchronize();
  forgetReminder();
}

void VersionCheckRecord::forgetReminder() {
  defaults_->removeObjectForKey(kLastRemindedKey);
  defaults_->synchronize();
}

std::optional<std::string> VersionCheckRecord::ignoredVersion() const {
  return defaults_->stringForKey(kIgnoreVersionKey);
}
