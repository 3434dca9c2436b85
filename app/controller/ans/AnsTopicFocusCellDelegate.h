#pragma once
// Told by a followed topic's row that its follow switch was tapped.

#include <memory>

class QuestionTopic;

class AnsTopicFocusCellDelegate {
 public:
  virtual ~AnsTopicFocusCellDelegate() = default;
  virtual void clickTopic(const std::shared_ptr<QuestionTopic>& topic) = 0;
};
