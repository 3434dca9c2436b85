#pragma once
// The load a view shows: the routine the image view, button and annotation view helpers share. It
// hangs the current load on the view (one slot per helper), cancels the one before, and applies results
// on the main thread only while their load is still the view's current one, so a reused list row never
// shows the picture of the row it showed before. The caller's completion runs once the load has ended.
// Main thread only; results from other threads are moved to it.

#include <functional>
#include <memory>
#include <optional>

#include "platform/net/Url.h"
#include "platform/runtime/AssociatedObjects.h"
#include "platform/ui/View.h"
#include "ui/webimage/WebImageCombinedOperation.h"
#include "ui/webimage/WebImageManager.h"

class WebCacheLoad {
 public:
  using ImagePtr = std::shared_ptr<const pf::Image>;
  using Completion = std::function<void(ImagePtr image, pf::ErrorPtr error, ImageCacheType cacheType)>;
  // Shows a picture that came (partial or whole) on the view.
  using Apply = std::function<void(pf::View& view, const ImagePtr& image)>;

  // Cancels the view's current load under that slot, starts loading the URL with the shared manager
  // and makes it current. Call after showing the placeholder; a null URL only cancels.
  static void start(const std::shared_ptr<pf::View>& view, pf::AssociatedObjects::Key slot,
                    const std::optional<pf::Url>& url, int options, WebImageManager::ProgressBlock progress,
                    Apply apply, Completion completed);
  // Cancels and forgets the view's current load under that slot.
  static void cancel(const pf::View& view, pf::AssociatedObjects::Key slot);
  // The view's current load under that slot (null when idle).
  static std::shared_ptr<WebImageCombinedOperation> current(const pf::View& view, pf::AssociatedObjects::Key slot);

  // Width for a picture fitted to the height (0: the frame is left alone), capped by maxWidth when set.
  static double fittedWidth(const pf::Image& image, float height, float maxWidth = 0);

 private:
  struct Token;
  static void finish(const std::weak_ptr<pf::View>& weakView, pf::AssociatedObjects::Key slot,
                     const std::shared_ptr<Token>& token, const ImagePtr& image, const pf::ErrorPtr& error,
                     ImageCacheType cacheType, bool finished);
};
