#include "app/service/cmn/ReminderService.h"

#include "core/reflect/TypeCode.h"

ReminderService::ReminderService(std::weak_ptr<ServiceDelegate> delegate)
    : BaseService(delegate), commonService_(std::make_unique<CommonService>(delegate)) {}

int ReminderService::getAppReminderWithAppCode(const std::string& appCode) {
  const std::optional<std::string> userId = commonService_->getCurrentUserId();
  const pf::Value count = dbHelper->queryForSingleResult(
      TypeCode::Int,
      "select reminder from mobile_app where app_code = ? and user_id = ? order by rowid limit 1",
      {pf::Value(appCode), userId ? pf::Value(*userId) : pf::Value()});
  return count.intValue();
}

void ReminderService::updateMobileAppReminderWithAppCode(const std::string& appCode, int reminderNum) {
  (void)appCode;
  (void)reminderNum;
}
