#pragma once
// The process-wide maker of navigation bars: every navigation controller that does not draw a bar of
// its own asks it for its bar, so an application can give all its bars one class. Set it at start-up,
// before the first navigation controller loads its view. Main thread only.

#include <functional>
#include <memory>

namespace pf {

class NavigationBar;

class NavigationBarMaker {
 public:
  using Maker = std::function<std::shared_ptr<NavigationBar>()>;

  // An empty maker goes back to the platform's own bar.
  static void setMaker(Maker maker);
  // A new bar from the maker, or a plain NavigationBar.
  static std::shared_ptr<NavigationBar> makeBar();
};

}  // namespace pf
