#pragma once
// What the tap-to-zoom viewer asks of the screen that uses it. The picture and the host controller
// are required; the final frame, the full-size address and the caption are optional (nullopt: not
// answered), and are asked only of a delegate that declares itself one (declaresPhotoZoomDelegate).

#include <memory>
#include <optional>
#include <string>

#include "platform/graphics/Image.h"
#include "platform/graphics/Rect.h"

namespace pf {
class View;
class ViewController;
}  // namespace pf

class PhotoZoomManager;

class PhotoZoomDelegate {
 public:
  virtual ~PhotoZoomDelegate() = default;
  // The picture shown first; none means the view does not open.
  virtual std::shared_ptr<const pf::Image> photoZoomManagerImageForView(PhotoZoomManager& manager, pf::View& view) = 0;
  virtual std::shared_ptr<pf::ViewController> parentViewControllerForPhotoZoomManager(PhotoZoomManager& manager) = 0;

  // Whether the optional operations below may be asked at all.
  virtual bool declaresPhotoZoomDelegate() const { return true; }
  // The enlarged picture's frame in the focus screen's content view.
  virtual std::optional<pf::Rect> photoZoomManagerFinalFrameForView(PhotoZoomManager& manager, pf::View& view) {
    (void)manager;
    (void)view;
    return std::nullopt;
  }
  // The address of the full-size picture; asked on the main thread.
  virtual std::optional<std::string> photoZoomManagerMediaURLForView(PhotoZoomManager& manager, pf::View& view) {
    (void)manager;
    (void)view;
    return std::nullopt;
  }
  virtual std::optional<std::string> photoZoomManagerTitleForView(PhotoZoomManager& manager, pf::View& view) {
    (void)manager;
    (void)view;
    return std::nullopt;
  }
};
