#pragma once
// A scroll view that shows one picture zoomable: a small picture opens at its own size, a large one
// fitted, never larger than one picture point per screen point, and centred while smaller than the
// view. A resize keeps the zoom scale and the point at the centre (a fully zoomed-out picture stays
// fully zoomed out). It is its own scroll delegate. Main thread only.

#include <memory>

#include "platform/ui/ImageView.h"
#include "platform/ui/ScrollView.h"

class ZoomingImageScrollView : public pf::ScrollView, public pf::ScrollViewDelegate {
  PF_OBJECT(ZoomingImageScrollView, pf::ScrollView)

  explicit ZoomingImageScrollView(const pf::Rect& frame);

  void displayImage(const std::shared_ptr<const pf::Image>& image);
  void configureForImageSize(pf::Size size);
  void setMaxMinZoomScalesForCurrentBounds();
  void prepareToResize();
  void recoverFromResizing();
  pf::Point maximumContentOffsetForZoom() const;

  void layoutSubviews() override;
  void setFrame(const pf::Rect& frame) override;
  std::shared_ptr<pf::View> viewForZoomingInScrollView(pf::ScrollView& scrollView) override;
  void scrollViewDidEndZooming(pf::ScrollView& scrollView, pf::View* view, double scale) override;

  pf::Size imageSize;
  pf::Point pointToCenterAfterResize;
  float scaleToRestoreAfterResize = 0;
  std::shared_ptr<pf::ImageView> zoomImageView;
};
