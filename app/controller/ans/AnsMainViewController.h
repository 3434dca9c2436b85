#pragma once
// The Q&A module's root: three tabs, each in its own navigation controller: the question search list,
// the topic list and the user's personal page. A tab whose screen is not built into this client is
// left out.
//
// Main thread only.

#include "platform/ui/TabBarController.h"

class AnsMainViewController : public pf::TabBarController, public pf::TabBarControllerDelegate {
  PF_OBJECT(AnsMainViewController, pf::TabBarController)

  static constexpr char kTopicScreen[] = "AnsTopicViewController";
  static constexpr char kPersonalScreen[] = "AnsPesnViewController";

  AnsMainViewController();
  ~AnsMainViewController() override;

  void viewDidLoad() override;
};
