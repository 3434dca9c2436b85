#pragma once
// Told by the question detail list that a topic link was tapped; the topic is null when the server
// knows no topic of that name. Optional.

#include <memory>

class QuestionTopic;

class AnsQuesDetailContentViewControllerDelegate {
 public:
  virtual ~AnsQuesDetailContentViewControllerDelegate() = default;
  virtual void didPressLink(const std::shared_ptr<QuestionTopic>& topic) { (void)topic; }
};
