#pragma once
// Finds a controller of one exact class in a navigation stack (the exam result screen looks for
// its exam list). Main thread only.

#include <memory>

namespace pf {
class Class;
class NavigationController;
class ViewController;
}  // namespace pf

class NavigationControllerKivExtension {
 public:
  // The first controller from the bottom of the stack whose class is exactly `cls` (subclasses do
  // not count); nullptr for a null class or when there is none.
  static std::shared_ptr<pf::ViewController> findViewControllerInStackWithClass(
      const pf::NavigationController& navigationController, const pf::Class* cls);
};
