#pragma once
// How a controller finds the WrapController that shows it (a weak link set by the wrapper).

#include <memory>

namespace pf {
class ViewController;
}
class WrapController;

// The controller's wrapper; else its navigation controller's wrapper; else null.
std::shared_ptr<WrapController> wrapController(const pf::ViewController& controller);
// The controller's own link only.
std::shared_ptr<WrapController> wrapControllerCore(const pf::ViewController& controller);
void setWrapController(const pf::ViewController& controller, const std::shared_ptr<WrapController>& wrapper);
