#pragma once
// Remote pictures on image views: the placeholder at once, then the picture from memory, disk or the
// network; a new request on the view cancels the one before. With a height, the view's frame takes
// that height and the picture's aspect ratio once the picture has come. The completion runs once, when
// the load has ended, also without a picture. Main thread only.

#include <memory>
#include <optional>

#include "platform/ui/ImageView.h"
#include "ui/webimage/WebCacheLoad.h"
#include "ui/webimage/WebImageManager.h"

class ImageViewWebCache {
 public:
  using ImageViewPtr = std::shared_ptr<pf::ImageView>;
  using ImagePtr = std::shared_ptr<const pf::Image>;
  using Completion = WebCacheLoad::Completion;

  static void setImageWithURL(const ImageViewPtr& view, const std::optional<pf::Url>& url);
  static void setImageWithURL(const ImageViewPtr& view, const std::optional<pf::Url>& url,
                              const ImagePtr& placeholderImage);
  static void setImageWithURL(const ImageViewPtr& view, const std::optional<pf::Url>& url,
                              const ImagePtr& placeholderImage, int options);
  static void setImageWithURL(const ImageViewPtr& view, const std::optional<pf::Url>& url, Completion completed);
  static void setImageWithURL(const ImageViewPtr& view, const std::optional<pf::Url>& url,
                              const ImagePtr& placeholderImage, Completion completed);
  static void setImageWithURL(const ImageViewPtr& view, const std::optional<pf::Url>& url,
                              const ImagePtr& placeholderImage, int options, Completion completed);
  static void setImageWithURL(const ImageViewPtr& view, const std::optional<pf::Url>& url,
                              const ImagePtr& placeholderImage, float height, int options,
                              WebImageManager::ProgressBlock progress, Completion completed);
  static void cancelCurrentImageLoad(const pf::ImageView& view);
  // The view's current load (null when idle or cancelled).
  static std::shared_ptr<WebImageCombinedOperation> currentImageLoad(const pf::ImageView& view);
};
