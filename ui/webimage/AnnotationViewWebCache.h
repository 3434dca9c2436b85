#pragma once
// Remote pictures on map markers: the placeholder at once, the picture when it has come; a new request
// cancels the one before. Main thread only.

#include <memory>
#include <optional>

#include "platform/ui/AnnotationView.h"
#include "ui/webimage/WebCacheLoad.h"

class AnnotationViewWebCache {
 public:
  using AnnotationViewPtr = std::shared_ptr<pf::AnnotationView>;
  using ImagePtr = std::shared_ptr<const pf::Image>;
  using Completion = WebCacheLoad::Completion;

  static void setImageWithURL(const AnnotationViewPtr& view, const std::optional<pf::Url>& url);
  static void setImageWithURL(const AnnotationViewPtr& view, const std::optional<pf::Url>& url,
                              const ImagePtr& placeholderImage);
  static void setImageWithURL(const AnnotationViewPtr& view, const std::optional<pf::Url>& url,
                              const ImagePtr& placeholderImage, int options);
  static void setImageWithURL(const AnnotationViewPtr& view, const std::optional<pf::Url>& url, Completion completed);
  static void setImageWithURL(const AnnotationViewPtr& view, const std::optional<pf::Url>& url,
                              const ImagePtr& placeholderImage, Completion completed);
  static void setImageWithURL(const AnnotationViewPtr& view, const std::optional<pf::Url>& url,
                              const ImagePtr& placeholderImage, int options, Completion completed);
  static void cancelCurrentImageLoad(const pf::AnnotationView& view);
};
