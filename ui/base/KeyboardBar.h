#pragma once
// The bar a phone's keyboard carries for the base text inputs: 30 points high across the screen,
// black translucent, a flexible space and then a "隐藏键盘" button whose action runs while the
// input lives. Main thread only.

#include <functional>
#include <memory>

namespace pf {
class Toolbar;
}

class KeyboardBar {
 public:
  static constexpr double kHeight = 30;
  static constexpr char kHideKeyboardTitle[] = "隐藏键盘";

  // nullptr on a tablet.
  static std::shared_ptr<pf::Toolbar> makeForInput(std::weak_ptr<void> input, std::function<void()> editDone);
};
