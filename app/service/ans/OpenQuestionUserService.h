#pragma once
// A learner's profile in the questions-and-answers module, from "/v1/qa/questionuser/getUserInfo".

#include <memory>
#include <optional>
#include <string>

#include "app/model/ans/QuestionUser.h"
#include "core/open/OpenService.h"

class OpenQuestionUserService : public OpenService {
 public:
  using OpenService::OpenService;

  // Null when the call failed; a nil id is sent as "null".
  std::shared_ptr<QuestionUser> getUserInfo(const std::optional<std::string>& userId);
};
