#pragma once
// Remote pictures on buttons, as the image or the background image of a control state: the
// placeholder at once, the picture when it has come. Image and background loads share one slot, so
// either cancels the other. With a height the frame takes that height and the picture's aspect ratio
// (the width capped by maxWidth when set). Main thread only.

#include <memory>
#include <optional>

#include "platform/ui/Button.h"
#include "ui/webimage/WebCacheLoad.h"

class ButtonWebCache {
 public:
  using ButtonPtr = std::shared_ptr<pf::Button>;
  using ImagePtr = std::shared_ptr<const pf::Image>;
  using Completion = WebCacheLoad::Completion;

  static void setImageWithURL(const ButtonPtr& button, const std::optional<pf::Url>& url, unsigned state);
  static void setImageWithURL(const ButtonPtr& button, const std::optional<pf::Url>& url, unsigned state,
                              const ImagePtr& placeholderImage);
  static void setImageWithURL(const ButtonPtr& button, const std::optional<pf::Url>& url, unsigned state,
                              const ImagePtr& placeholderImage, int options);
  static void setImageWithURL(const ButtonPtr& button, const std::optional<pf::Url>& url, unsigned state,
                              Completion completed);
  static void setImageWithURL(const ButtonPtr& button, const std::optional<pf::Url>& url, unsigned state,
                              const ImagePtr& placeholderImage, Completion completed);
  static void setImageWithURL(const ButtonPtr& button, const std::optional<pf::Url>& url, unsigned state,
                              const ImagePtr& placeholderImage, float height, float maxWidth, int options,
                              Completion completed);

  static void setBackgroundImageWithURL(const ButtonPtr& button, const std::optional<pf::Url>& url, unsigned state);
  static void setBackgroundImageWithURL(const ButtonPtr& button, const std::optional<pf::Url>& url, unsigned state,
                                        const ImagePtr& placeholderImage);
  static void setBackgroundImageWithURL(const ButtonPtr& button, const std::optional<pf::Url>& url, unsigned state,
                                        const ImagePtr& placeholderImage, int options);
  static void setBackgroundImageWithURL(const ButtonPtr& button, const std::optional<pf::Url>& url, unsigned state,
                                        Completion completed);
  static void setBackgroundImageWithURL(const ButtonPtr& button, const std::optional<pf::Url>& url, unsigned state,
                                        const ImagePtr& placeholderImage, Completion completed);
  static void setBackgroundImageWithURL(const ButtonPtr& button, const std::optional<pf::Url>& url, unsigned state,
                                        const ImagePtr& placeholderImage, float height, int options,
                                        Completion completed);

  static void cancelCurrentImageLoad(const pf::Button& button);
};
