#pragma once
// A marker on a map: a view that shows one picture at the picture's own size, centred where the view
// was centred, moved by centerOffset. Only the picture part of a map's annotation views. Main thread only.

#include <memory>

#include "platform/graphics/Image.h"
#include "platform/ui/View.h"

namespace pf {

class AnnotationView : public View {
  PF_OBJECT(AnnotationView, View)

  AnnotationView();
  explicit AnnotationView(const Rect& frame);

  const std::shared_ptr<const Image>& image() const { return image_; }
  // Resizes the view to the picture, keeping its centre; null keeps the size and shows nothing.
  void setImage(std::shared_ptr<const Image> image);
  Point centerOffset() const { return centerOffset_; }
  void setCenterOffset(Point offset) { centerOffset_ = offset; }

  void drawRect(const Rect& rect) override;

 private:
  std::shared_ptr<const Image> image_;
  Point centerOffset_;
};

}  // namespace pf
