#pragma once
// The answer operations of the server under "/v1/qa/answer/". Holds no state; every call blocks its
// thread. A nil argument is sent as "null"; a failure reaches the delegate on the main queue and the
// call answers null or false.

#include <memory>
#include <optional>
#include <string>

#include "app/model/ans/Answer.h"
#include "app/model/cmn/Page.h"
#include "core/open/OpenService.h"

class OpenAnswerService : public OpenService {
 public:
  using OpenService::OpenService;

  // The answer as stored, with its key.
  std::shared_ptr<Answer> add(const std::shared_ptr<Answer>& answer);
  // A page of the question's answers.
  std::shared_ptr<Page> loadAnswers(const std::optional<std::string>& questionId,
                                    const std::shared_ptr<Page>& page);
  bool agree(const std::optional<std::string>& answerId);
  std::shared_ptr<Answer> update(const std::shared_ptr<Answer>& answer);
};
