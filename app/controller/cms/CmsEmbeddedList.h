#pragma once
// Lays a list screen into a frame screen as its child, over the frame's container view (or its whole
// view when the interface file names none), resizing with it.

#include <memory>

namespace pf {
class View;
class ViewController;
}  // namespace pf

class CmsEmbeddedList {
 public:
  static void embed(pf::ViewController& frame, const std::shared_ptr<pf::ViewController>& list,
                    const std::shared_ptr<pf::View>& container);
};
