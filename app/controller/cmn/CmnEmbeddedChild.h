#pragma once
// Lays a child screen (mostly a list) into its parent: a child controller whose view fills the place
// the interface file left for it (the parent's whole view when it left none) and resizes with it.
//
// Main thread only.

#include <memory>

namespace pf {
class View;
class ViewController;
}  // namespace pf

class CmnEmbeddedChild {
 public:
  static void embed(pf::ViewController& parent, const std::shared_ptr<pf::ViewController>& child,
                    const std::shared_ptr<pf::View>& place);
};
