#pragma once
// The survey operations of the server under "/v1/qsm/survey/". Holds no state; every call blocks its
// thread, and a failure reaches the delegate on the main queue after the call has answered.

#include <memory>
#include <optional>
#include <vector>

#include "app/model/cmn/SyncResult.h"
#include "app/model/qsm/QsmSurvey.h"
#include "core/open/OpenService.h"

class OpenSurveyService : public OpenService {
 public:
  static constexpr char kSyncUri[] = "/v1/qsm/survey/sync";
  static constexpr char kBatchSubmitUri[] = "/v1/qsm/survey/batchSubmit";
  static constexpr char kReminderUri[] = "/v1/qsm/survey/reminder";

  using OpenService::OpenService;

  // The surveys changed since the time (QsmSurvey in results), or null. No time sends no parameter.
  std::shared_ptr<SyncResult> sync(const std::optional<pf::Date>& lastUpdateTime);
  // Whether the server accepted the surveys' answers.
  bool batchSubmit(const std::vector<std::shared_ptr<QsmSurvey>>& surveys);
  // The count behind the survey module's badge; 0 when the call failed.
  int reminder();
};
