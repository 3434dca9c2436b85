#pragma once
// The topics a micro-blog user follows: the topic list's rows and choice over the user's topics.
//
// Main thread only; pages load on a global queue and are applied on the main queue.

#include <optional>
#include <string>

#include "app/controller/blg/BlgTopicTableViewController.h"

class MyTopicTableViewController : public BlgTopicTableViewController {
  PF_OBJECT(MyTopicTableViewController, BlgTopicTableViewController)

  std::optional<std::string> userID;

 protected:
  PageFetch pageFetch() const override;
};
