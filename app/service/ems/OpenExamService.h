#pragma once
// The server's exam list and the exam module's badge counts.

#include <memory>
#include <optional>

#include "app/model/cmn/SyncResult.h"
#include "core/open/OpenService.h"
#include "platform/foundation/Value.h"

class OpenExamService : public OpenService {
 public:
  using OpenService::OpenService;

  // The exams changed since that date, as EmsExam rows of results; null when the call failed.
  std::shared_ptr<SyncResult> loadExamsAfter(const std::optional<pf::Date>& lastUpdateTime);
  // Exams waiting to be taken / to be marked; 0 when the call failed.
  int myExamReminder();
  int judgingExamReminder();
};
