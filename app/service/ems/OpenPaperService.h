#pragma once
// The server's papers of an exam, and the submission of answered papers.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/model/ems/EmsPaper.h"
#include "app/model/ems/ExamSubmitResult.h"
#include "core/open/OpenService.h"

class OpenPaperService : public OpenService {
 public:
  using OpenService::OpenService;

  // The exam's papers with their questions; nullopt when the call failed.
  std::optional<std::vector<std::shared_ptr<EmsPaper>>> loadPapers(const std::optional<std::string>& examId);
  // The paper of the learner's latest attempt; null when the call failed or there is none.
  std::shared_ptr<EmsPaper> getLastPaper(const std::optional<std::string>& examId);
  // One result per paper; nullopt when the call failed.
  std::optional<std::vector<std::shared_ptr<ExamSubmitResult>>> batchSubmit(
      const std::vector<std::shared_ptr<EmsPaper>>& papers);
};
