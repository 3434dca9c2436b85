#pragma once
// The follow button of a profile and of a follow-list row: "加关注" over its own art while the user is
// not followed, "取消关注" over the other art while followed.
//
// Main thread only.

namespace pf {
class Button;
}

class BlgAttentionButton {
 public:
  static void show(pf::Button& button, bool following);
};
