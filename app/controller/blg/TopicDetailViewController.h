#pragma once
// One topic: its name, the blogs filed under it, an item to follow or stop following it and one to
// write a blog with the topic filled in.
//
// Main thread only; the follow query and the follow calls run on the main thread.

#include <memory>
#include <optional>
#include <string>

#include "app/controller/cmn/BaseViewController.h"

class TopicDetailViewController : public BaseViewController {
  PF_OBJECT(TopicDetailViewController, BaseViewController)

  TopicDetailViewController();
  explicit TopicDetailViewController(std::string nibName);
  ~TopicDetailViewController() override;

  // Set by the opener.
  std::optional<std::string> topicID;
  std::optional<std::string> topicName;
  // The module root, handed on to the screens this one opens.
  std::weak_ptr<pf::ViewController> parentController;
};
