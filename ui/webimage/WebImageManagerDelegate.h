#pragma once
// Optional say of a picture manager's owner over downloads. The manager holds it weakly.

#include <memory>

#include "platform/graphics/Image.h"
#include "platform/net/Url.h"

class WebImageManager;

class WebImageManagerDelegate {
 public:
  using ImagePtr = std::shared_ptr<const pf::Image>;

  virtual ~WebImageManagerDelegate() = default;
  // false forbids downloading the URL; nullopt: not implemented (downloads go ahead).
  virtual std::optional<bool> imageManager(WebImageManager& manager, const pf::Url& shouldDownloadImageForURL) {
    (void)manager;
    (void)shouldDownloadImageForURL;
    return std::nullopt;
  }
  // Whether transformDownloadedImage is implemented: downloaded pictures then reach callers through
  // it, on the main queue.
  virtual bool transformsDownloadedImages() const { return false; }
  // The picture to deliver and store instead of the downloaded one. Runs on a global queue.
  virtual ImagePtr imageManager(WebImageManager& manager, const ImagePtr& transformDownloadedImage,
                                const pf::Url& withURL) {
    (void)manager;
    (void)withURL;
    return transformDownloadedImage;
  }
};
