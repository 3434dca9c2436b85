#pragma once
// The users who follow a micro-blog user: the follow list's rows, buttons and profile opening over the
// fans call.
//
// Main thread only.

#include "app/controller/blg/MyAttentionTableViewController.h"

class MyfansTableViewController : public MyAttentionTableViewController {
  PF_OBJECT(MyfansTableViewController, MyAttentionTableViewController)

 protected:
  PageFetch pageFetch() const override;
};
