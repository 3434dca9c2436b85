#pragma once
// Whether a blog, a repost or a comment reached the server since a screen last asked. The editors
// announce each send; the screens that show the server's blogs (the home feed, a blog's detail, its
// comments) keep a watcher and load again when they next appear, so the learner sees what was just
// sent without refreshing by hand.
//
// Main thread only: the editors announce on it and the screens ask on it.

#include <memory>

#include "platform/foundation/NotificationCenter.h"

class BlgSentWatcher {
 public:
  static constexpr char kSentNotification[] = "BlgSentNotification";

  // Tells every watcher that something was sent.
  static void announce();

  BlgSentWatcher();

  // True once after each announcement since the last call.
  bool takeSent();

 private:
  std::shared_ptr<bool> sent_ = std::make_shared<bool>(false);
  pf::NotificationCenter::Observation observation_;
};
