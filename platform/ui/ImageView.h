#pragma once
// Shows an image by the view's content mode, or its highlighted image while highlighted, or cycles
// through animation images over the animation duration on the run-loop clock. Sizes itself to its
// image with sizeToFit. Main thread only.

#include <memory>
#include <vector>

#include "platform/graphics/Image.h"
#include "platform/ui/View.h"

namespace pf {

class Timer;

class ImageView : public View {
  PF_OBJECT(ImageView, View)

  ImageView();
  explicit ImageView(const Rect& frame);
  // Framed at the origin with the image's size.
  explicit ImageView(std::shared_ptr<const Image> image,
                     std::shared_ptr<const Image> highlightedImage = nullptr);
  ~ImageView() override;

  const std::shared_ptr<const Image>& image() const { return image_; }
  void setImage(std::shared_ptr<const Image> image);
  const std::shared_ptr<const Image>& highlightedImage() const { return highlightedImage_; }
  void setHighlightedImage(std::shared_ptr<const Image> image);
  bool isHighlighted() const { return highlighted_; }
  void setHighlighted(bool highlighted);

  const std::vector<std::shared_ptr<const Image>>& animationImages() const { return animationImages_; }
  void setAnimationImages(std::vector<std::shared_ptr<const Image>> images);
  // Seconds for one cycle; 0 means one thirtieth of a second a frame.
  double animationDuration() const { return animationDuration_; }
  void setAnimationDuration(double seconds) { animationDuration_ = seconds; }
  // 0 repeats for ever.
  int animationRepeatCount() const { return animationRepeatCount_; }
  void setAnimationRepeatCount(int count) { animationRepeatCount_ = count; }
  void startAnimating();
  void stopAnimating();
  bool isAnimating() const { return timer_ != nullptr; }
  // The image drawn now: the animation frame while animating, else the (highlighted) image.
  std::shared_ptr<const Image> displayedImage() const;

  Size sizeThatFits(Size size) const override;
  void drawRect(const Rect& rect) override;

 private:
  void advanceFrame();

  std::shared_ptr<const Image> image_;
  std::shared_ptr<const Image> highlightedImage_;
  std::vector<std::shared_ptr<const Image>> animationImages_;
  std::shared_ptr<Timer> timer_;
  double animationDuration_ = 0;
  int animationRepeatCount_ = 0;
  size_t frame_ = 0;
  int cyclesDone_ = 0;
  bool highlighted_ = false;
};

}  // namespace pf
