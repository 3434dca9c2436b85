#pragma once
// An image view that knows several addresses of one picture, one per size flag (a thumbnail, a normal
// and a larger version, say), shows one of them as a remote picture fitted to a height, and remembers
// which one it shows. Each request refreshes the picture: a cached copy shows at once and the server is
// asked again. The flags mean nothing to the view. Main thread only.

#include <map>
#include <memory>
#include <optional>

#include "platform/net/Url.h"
#include "platform/ui/ImageView.h"

class BaseUIImageView : public pf::ImageView {
  PF_OBJECT(BaseUIImageView, pf::ImageView)

  using ImagePtr = std::shared_ptr<const pf::Image>;

  BaseUIImageView();
  explicit BaseUIImageView(const pf::Rect& frame);

  static void registerForInterfaceFiles();

  // Replaces the address kept under the flag.
  void setImageUrl(const pf::Url& url, int forImageSizeFlag);
  std::optional<pf::Url> imageUrlForImageSizeFlag(int flag) const;
  int currentSizeFlag() const { return currentSizeFlag_; }
  std::optional<pf::Url> currentImageUrl() const;

  // Loads the URL (which must be given: else ContractViolation "Image url can not be nil"), keeps it
  // under the flag and makes the flag current.
  void setImageWithCurrentSizeFlag(int flag, const std::optional<pf::Url>& imageUrl, const ImagePtr& placeholderImage,
                                   float height);
  // Loads the address kept under the flag (else ContractViolation "Please set imageUrl for sizeFlag <flag> first!").
  void setImageWithCurrentSizeFlag(int flag, const ImagePtr& placeholderImage, float height);
  // The same with flag 0.
  void setImageWithDefaultSizeUrl(const std::optional<pf::Url>& url, const ImagePtr& placeholderImage, float height);

  const std::map<int, pf::Url>& imageUrlDic() const { return imageUrlDic_; }
  void setImageUrlDic(std::map<int, pf::Url> urls) { imageUrlDic_ = std::move(urls); }

 private:
  int currentSizeFlag_ = 0;
  std::map<int, pf::Url> imageUrlDic_;
};
