#pragma once
// Lays an embedded list into its container screen: a child controller whose view fills the place the
// interface file left for it (the screen's whole view when it left none).
//
// Main thread only.

#include <memory>

namespace pf {
class View;
class ViewController;
}  // namespace pf

class BlgEmbedding {
 public:
  static void embed(pf::ViewController& container, const std::shared_ptr<pf::ViewController>& child,
                    const std::shared_ptr<pf::View>& place);
};
