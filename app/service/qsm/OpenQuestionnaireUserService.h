#pragma once
// The participant lists of one survey under "/v1/qsm/questionnaireuser/": who answered, who has not
// yet, and everyone the survey was published to. Each answers a Page of QuestionnaireUser, or null.
// Every argument may be nil; it is then sent as "null".

#include <memory>
#include <optional>
#include <string>

#include "app/model/cmn/Page.h"
#include "core/open/OpenService.h"

class OpenQuestionnaireUserService : public OpenService {
 public:
  static constexpr char kAnsweredUri[] = "/v1/qsm/questionnaireuser/getAnsweredUsers";
  static constexpr char kUnAnsweredUri[] = "/v1/qsm/questionnaireuser/getUnAnsweredUsers";
  static constexpr char kRelatedUri[] = "/v1/qsm/questionnaireuser/getSurveyRelUsers";

  using OpenService::OpenService;

  std::shared_ptr<Page> getAnsweredUsers(const std::optional<std::string>& surveyId,
                                         const std::optional<std::string>& userName,
                                         const std::optional<std::string>& organizationId,
                                         const std::optional<std::string>& positionId,
                                         const std::shared_ptr<Page>& page);
  std::shared_ptr<Page> getUnAnsweredUsers(const std::optional<std::string>& surveyId,
                                           const std::optional<std::string>& userName,
                                           const std::optional<std::string>& organizationId,
                                           const std::optional<std::string>& positionId,
                                           const std::shared_ptr<Page>& page);
  std::shared_ptr<Page> getSurveyRelUsers(const std::optional<std::string>& surveyId,
                                          const std::optional<std::string>& userName,
                                          const std::optional<std::string>& organizationId,
                                          const std::optional<std::string>& positionId,
                                          const std::shared_ptr<Page>& page);

 private:
  std::shared_ptr<Page> loadUsers(const char* uri, const std::optional<std::string>& surveyId,
                                  const std::optional<std::string>& userName,
                                  const std::optional<std::string>& organizationId,
                                  const std::optional<std::string>& positionId,
                                  const std::shared_ptr<Page>& page);
};
