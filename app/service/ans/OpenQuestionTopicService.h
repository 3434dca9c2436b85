#pragma once
// The topic operations of the server under "/v1/qa/questiontopic/". Holds no state; every call
// blocks its thread. A nil argument is sent as "null"; a failure reaches the delegate on the main
// queue and the call answers null or false.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/model/ans/QuestionTopic.h"
#include "app/model/cmn/Page.h"
#include "core/open/OpenService.h"

class OpenQuestionTopicService : public OpenService {
 public:
  using OpenService::OpenService;
  using Text = std::optional<std::string>;

  std::shared_ptr<QuestionTopic> get(const Text& topicId);
  // The topic of that name.
  std::shared_ptr<QuestionTopic> getByContent(const Text& content);
  // The topics the current user follows; nullopt when the call failed.
  std::optional<std::vector<std::shared_ptr<QuestionTopic>>> loadMyConcernedTopics();
  // Pages of QuestionTopic whose names match the filter.
  std::shared_ptr<Page> loadHotTopics(const Text& content, const std::shared_ptr<Page>& page);
  std::shared_ptr<Page> loadLatestTopics(const Text& content, const std::shared_ptr<Page>& page);
  bool follow(const Text& topicId);
  bool cancelFollow(const Text& topicId);
  bool isAttentionTopic(const Text& topicId);
};
