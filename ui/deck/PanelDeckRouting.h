#pragma once
// Makes the deck and the wrapper transparent to navigation and presentation: a controller inside a
// wrapper or a deck answers with its container's navigation controller and navigation item, and one
// inside a deck presents through the deck. install() is the toolkit's one start-up call for it.

#include <memory>

#include "platform/ui/ControllerRouting.h"

class PanelDeckRouting : public pf::ControllerRouting {
 public:
  // The wrapper of the controller (else the controller), then that one's deck (else that one).
  std::shared_ptr<pf::ViewController> navigationStandIn(const pf::ViewController& controller) const override;
  // The deck the controller lives in, found by the full lookup.
  std::shared_ptr<pf::ViewController> presenterFor(const pf::ViewController& controller) const override;

  static void install();
};
