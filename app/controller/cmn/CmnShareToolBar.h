#pragma once
// A sharing bar row for interface files: its share actions do nothing yet; cancelling clears what was
// to be shared and slides the bar down out of sight. Main thread only.

#include <memory>

#include "platform/runtime/Object.h"
#include "platform/ui/TableViewCell.h"

class CmnShareToolBar : public pf::TableViewCell {
  PF_OBJECT(CmnShareToolBar, pf::TableViewCell)

  static constexpr double kCancelDuration = 0.5;

  pf::ObjectPtr sharedContent;

  void transmitToMicroMsgFriends(const pf::ObjectPtr& sender);
  void transmitToMicroMsgFriendsCircle(const pf::ObjectPtr& sender);
  void transmitToSinaMicroBlog(const pf::ObjectPtr& sender);
  void cancle(const pf::ObjectPtr& sender);
};
