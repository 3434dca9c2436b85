#pragma once
// A container that stands in for the controllers it holds (a side-panel deck, a wrapper) installs one
// routing at start-up; every controller then consults it when asked for its navigation controller or
// navigation item, and when it presents another controller. The stand-in's own answer is used, not a
// routed one, so routes do not chain unless the routing itself follows them. Without a routing, or
// when it answers null, a controller answers for itself. Main thread only.

#include <memory>

namespace pf {

class ViewController;

class ControllerRouting {
 public:
  virtual ~ControllerRouting() = default;
  // The controller whose navigation controller and navigation item answer for this one.
  virtual std::shared_ptr<ViewController> navigationStandIn(const ViewController& controller) const = 0;
  // The controller that presents in this one's place.
  virtual std::shared_ptr<ViewController> presenterFor(const ViewController& controller) const = 0;

  // Replaces the installed routing (null removes it).
  static void install(std::shared_ptr<const ControllerRouting> routing);
  static std::shared_ptr<const ControllerRouting> installed();
};

}  // namespace pf
