#include "app/service/cmn/ReminderService.h"

#include "core/reflect/TypeCode.h"

ReminderService::ReminderService(std::weak_ptr<ServiceDelegate> delegate)
    : BaseService(delegate),
      openCourseInfoService_(std::make_unique<OpenCourseInfoService>(delegate)),
      openBlogService_(std::make_unique<OpenBlogService>(delegate)),
      openQuestionService_(std::make_unique<OpenQuestionService>(delegate)),
      openExamService_(std::make_unique<OpenExamService>(delegate)),
      openSurveyService_(std::make_unique<OpenSurveyService>(delegate)),
      commonService_(std::make_unique<CommonService>(delegate)) {}

int ReminderService::courseReminder() {
  return openCourseInfoService_->myCourseReminder();
}

int ReminderService::blogReminder() {
  return static_cast<int>(openBlogService_->reminder());
}

int ReminderService::questionReminder() {
  return openQuestionService_->reminder();
}

int ReminderService::examReminder() {
  return openExamService_->myExamReminder();
}

int ReminderService::judgingExamReminder() {
  return openExamService_->judgingExamReminder();
}

int ReminderService::QuestionnaireReminder() {
  return openSurveyService_->reminder();
}

std::optional<int> ReminderService::freshCountOf(const std::string& appCode) {
  if (appCode == "up_my_course") return courseReminder();
  if (appCode == "wb_user") return blogReminder();
  if (appCode == "qa_wenda") return questionReminder();
  if (appCode == "qsm_user") return QuestionnaireReminder();
  if (appCode == "ems_my_exam") return examReminder();
  return std::nullopt;
}

std::vector<std::shared_ptr<MobileApp>> ReminderService::getMobileAppsAddreminderWithApps(
    const std::vector<std::shared_ptr<MobileApp>>& apps) {
  std::vector<std::shared_ptr<MobileApp>> counted;
  counted.reserve(apps.size());
  for (const auto& app : apps) {
    if (app && app->appType == "DEFAULT" && app->appCode) {
      if (const std::optional<int> count = freshCountOf(*app->appCode)) app->reminder = *count;
    }
    counted.push_back(app);
  }
  return counted;
}

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
