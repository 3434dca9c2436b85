#pragma once
// The action bar of the topic detail screen: an AnsTabBar with its own interface file.

#include "app/controller/ans/AnsTabBar.h"

class AnsTopicTabBar : public AnsTabBar {
  PF_OBJECT(AnsTopicTabBar, AnsTabBar)

  using AnsTabBar::AnsTabBar;
};
