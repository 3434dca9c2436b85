#pragma once
// The users who follow a micro-blog user: the follow list's rows, buttons and profile opening over the
// fans call.
//
// Main thread only.

#include "app/controller/blg/MyAttentionTableViewController.h"

class MyfansTableViewController : public MyAttentionTableViewController {
  PF_OBJECT(MyfansTableViewController, MyAttentionTableViewController)

 protected:
  std::shared_ptr<Page> fetchUsers(const std::shared_ptr<BlgUserService>& service,
                                   const std::optional<std::string>& userId, const std::shared_ptr<Page>& page) override;
};
