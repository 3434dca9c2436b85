#pragma once
// One blog at full length: the handed blog shows at once and is replaced by a fresh copy when the
// device is online; an action bar refreshes, reposts, comments and collects it, the avatar opens the
// author's profile.
//
// Main thread only; the load runs on a global queue, collect and the profile look-up on the main thread.

#include <memory>

#include "app/controller/blg/BlgBaseViewController.h"

class Blog;

class BlgDetailViewController : public BlgBaseViewController {
  PF_OBJECT(BlgDetailViewController, BlgBaseViewController)

  BlgDetailViewController();
  explicit BlgDetailViewController(std::string nibName);
  ~BlgDetailViewController() override;

  // The blog shown; set by the opener before the screen loads.
  std::shared_ptr<Blog> blog;
};
