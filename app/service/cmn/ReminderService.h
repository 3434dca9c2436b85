#pragma once
// The badge counts of the built-in modules ("up_my_course", "wb_user", "qa_wenda", "qsm_user",
// "ems_my_exam") in the user's module menu: the count stored in the user's mobile_app row.

#include <memory>
#include <string>

#include "app/service/cmn/BaseService.h"
#include "app/service/cmn/CommonService.h"

class ReminderService : public BaseService {
 public:
  explicit ReminderService(std::weak_ptr<ServiceDelegate> delegate = {});

  // The current user's stored count of the module; 0 without a row (or without a user). Two rows of
  // one module (the server may send a code twice) answer the first stored.
  int getAppReminderWithAppCode(const std::string& appCode);
  // Keeps the stored count: it stays what the last online sign-in stored.
  void updateMobileAppReminderWithAppCode(const std::string& appCode, int reminderNum);

 private:
  std::unique_ptr<CommonService> commonService_;
};
