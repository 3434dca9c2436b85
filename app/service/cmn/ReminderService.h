#pragma once
// The badge counts of the built-in modules ("up_my_course", "wb_user", "qa_wenda", "qsm_user",
// "ems_my_exam") in the user's module menu: fresh from the server (one call per count), or the count
// stored in the user's mobile_app row.

#include <memory>
#include <string>
#include <vector>

#include "app/model/cmn/MobileApp.h"
#include "app/service/ans/OpenQuestionService.h"
#include "app/service/blg/OpenBlogService.h"
#include "app/service/cmn/BaseService.h"
#include "app/service/cmn/CommonService.h"
#include "app/service/cms/OpenCourseInfoService.h"
#include "app/service/ems/OpenExamService.h"
#include "app/service/qsm/OpenSurveyService.h"

class ReminderService : public BaseService {
 public:
  explicit ReminderService(std::weak_ptr<ServiceDelegate> delegate = {});

  // Counts asked of the server now; a failed call answers 0 and reaches the delegate.
  int courseReminder();
  int blogReminder();
  int questionReminder();
  int examReminder();
  int judgingExamReminder();
  int QuestionnaireReminder();
  // The same entries in the same order; built-in modules ("DEFAULT" with one of the five codes) carry
  // a fresh count, every other entry keeps its own.
  std::vector<std::shared_ptr<MobileApp>> getMobileAppsAddreminderWithApps(
      const std::vector<std::shared_ptr<MobileApp>>& apps);

  // The current user's stored count of the module; 0 without a row (or without a user). Two rows of
  // one module (the server may send a code twice) answer the first stored.
  int getAppReminderWithAppCode(const std::string& appCode);
  // Keeps the stored count: it stays what the last online sign-in stored.
  void updateMobileAppReminderWithAppCode(const std::string& appCode, int reminderNum);

 private:
  // The fresh count of a built-in module's code; nullopt for any other code.
  std::optional<int> freshCountOf(const std::string& appCode);

  std::unique_ptr<OpenCourseInfoService> openCourseInfoService_;
  std::unique_ptr<OpenBlogService> openBlogService_;
  std::unique_ptr<OpenQuestionService> openQuestionService_;
  std::unique_ptr<OpenExamService> openExamService_;
  std::unique_ptr<OpenSurveyService> openSurveyService_;
  std::unique_ptr<CommonService> commonService_;
};
