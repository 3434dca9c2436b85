#pragma once
// Alerts built from a button-set number under the title "提示", a modal display that waits for the
// answer, and an alert that goes by itself after an interval (the exam, survey and app-square
// screens). Button sets: 1 "确定"; 2 "确定" (index 0) and "取消" (index 1); 4 "是" and "否"; any other
// number none.
//
// Each modal wait answers its own alert's button, so an alert shown during another's wait (an
// exam's time-up over a submit confirmation) neither takes nor ends the other's answer. Any
// dismissal ends a wait: a dismissal by code answers -1, and an alert without buttons, which nobody
// could answer, answers -1 at once without showing.
//
// Main thread only.

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pf {
class AlertView;
class AlertViewDelegate;
}  // namespace pf

class AlertViewKivExtension {
 public:
  static constexpr char kDefaultTitle[] = "提示";

  // Titled "提示", no buttons, no delegate.
  static std::shared_ptr<pf::AlertView> initWithMsg(const std::string& msg);
  static std::shared_ptr<pf::AlertView> initWithMsg(const std::string& msg, unsigned buttonsType,
                                                    std::weak_ptr<pf::AlertViewDelegate> delegate);
  static std::shared_ptr<pf::AlertView> initWithMsg(const std::string& msg, std::optional<std::string> title,
                                                    unsigned buttonsType,
                                                    std::weak_ptr<pf::AlertViewDelegate> delegate);
  // The button titles of a set, in index order.
  static std::vector<std::string> buttonTitlesForButtonsType(unsigned buttonsType);

  // Shows the alert and runs the main loop (timers, network callbacks and other alerts go on) until
  // it goes; answers the tapped button's index, -1 when it went without a tap. The alert's delegate
  // is replaced for the wait.
  static long showModal(const std::shared_ptr<pf::AlertView>& alert);
  // Shows the alert and dismisses it by code (index -1) after the interval.
  static void showAndDismissWithInterval(const std::shared_ptr<pf::AlertView>& alert, double interval);
};
