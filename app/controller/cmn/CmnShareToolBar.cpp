#include "app/controller/cmn/CmnShareToolBar.h"

void CmnShareToolBar::transmitToMicroMsgFriends(const pf::ObjectPtr&) {}

void CmnShareToolBar::transmitToMicroMsgFriendsCircle(const pf::ObjectPtr&) {}

void CmnShareToolBar::transmitToSinaMicroBlog(const pf::ObjectPtr&) {}

void CmnShareToolBar::cancle(const pf::ObjectPtr&) {
  sharedContent = nullptr;
  const pf::Rect frame = this->frame();
  pf::View::animateWithDuration(kCancelDuration, [this, frame] {
    setFrame(pf::Rect(0, frame.minY() + frame.height(), frame.width(), frame.height()));
  });
}
