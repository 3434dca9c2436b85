#pragma once
// One topic: its name, the blogs filed under it, an item to follow or stop following it and one to
// write a blog with the topic filled in.
//
// Main thread only; the follow query and the follow calls run on the main thread.

#include <memory>
#include <optional>
#include <string>

#include "app/controller/blg/BlgBaseViewController.h"

class TopicDetailViewController : public BlgBaseViewController {
  PF_OBJECT(TopicDetailViewController, BlgBaseViewController)

  TopicDetailViewController();
  explicit TopicDetailViewController(std::string nibName);
  ~TopicDetailViewController() override;

  // Set by the opener.
  std::optional<std::string> topicID;
  std::optional<std::string> topicName;
};
