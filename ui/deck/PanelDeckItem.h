#pragma once
// How a controller finds the side-panel deck it lives in. The deck links each controller it holds
// (weakly: a controller may outlive its deck, and then finds none); the lookup also walks up through
// the controller's navigation controller and its wrapper.

#include <memory>

namespace pf {
class ViewController;
}
class PanelDeckController;

// The deck of the controller: its own link; else its navigation controller's link or a deck in that
// stack (from the top) that integrates with the navigation controller; else its wrapper's deck; else null.
std::shared_ptr<PanelDeckController> panelDeckController(const pf::ViewController& controller);
// The controller's own link only.
std::shared_ptr<PanelDeckController> panelDeckControllerCore(const pf::ViewController& controller);
void setPanelDeckController(const pf::ViewController& controller, const std::shared_ptr<PanelDeckController>& deck);
