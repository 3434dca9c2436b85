#pragma once
// A controller that turns with the device to every interface orientation: the credential prompt's
// base and the class of its invisible presenter. Main thread only.

#include "platform/ui/ViewController.h"

class AutorotatingViewController : public pf::ViewController {
 public:
  unsigned supportedInterfaceOrientations() const override { return kOrientationMaskAll; }
  bool shouldAutorotateToInterfaceOrientation(Orientation) override { return true; }
};
