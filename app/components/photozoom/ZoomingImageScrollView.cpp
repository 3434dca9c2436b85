#include "app/components/photozoom/ZoomingImageScrollView.h"

#include <algorithm>
#include <cfloat>

ZoomingImageScrollView::ZoomingImageScrollView(const pf::Rect& frame) : pf::ScrollView(frame) {
  setShowsHorizontalScrollIndicator(false);
  setShowsVerticalScrollIndicator(false);
  setBouncesZoom(true);
  setDecelerationRate(0.99);
}

void ZoomingImageScrollView::displayImage(const std::shared_ptr<const pf::Image>& image) {
  if (!image) return;
  setDelegate(std::static_pointer_cast<pf::ScrollViewDelegate>(sharedAs<ZoomingImageScrollView>()));
  if (zoomImageView) {
    zoomImageView->setImage(image);
  } else {
    setZoomScale(1);
    zoomImageView = std::make_shared<pf::ImageView>(pf::Rect{{0, 0}, image->size()});
    zoomImageView->setImage(image);
    addSubview(zoomImageView);
  }
  configureForImageSize(image->size());
}

void ZoomingImageScrollView::configureForImageSize(pf::Size size) {
  imageSize = size;
  setContentSize(size);
  setMaxMinZoomScalesForCurrentBounds();
  setZoomScale(minimumZoomScale());
}

void ZoomingImageScrollView::setMaxMinZoomScalesForCurrentBounds() {
  const pf::Size view = bounds().size;
  // An empty view or picture has nothing to fit: it shows at its own size.
  if (view.width <= 0 || view.height <= 0 || imageSize.width <= 0 || imageSize.height <= 0) {
    setMaximumZoomScale(1);
    setMinimumZoomScale(1);
    return;
  }
  const double fit = std::min(view.width / imageSize.width, view.height / imageSize.height);
  const double large = std::max(imageSize.width, imageSize.height) / view.width;
  const double maximum = std::min(1.0, std::max(fit, large));
  setMaximumZoomScale(maximum);
  setMinimumZoomScale(std::min(fit, maximum));
}

void ZoomingImageScrollView::layoutSubviews() {
  pf::ScrollView::layoutSubviews();
  if (!zoomImageView) return;
  const pf::Size view = bounds().size;
  pf::Rect frame = zoomImageView->frame();
  frame.origin.x = view.width > frame.size.width ? (view.width - frame.size.width) / 2 : 0;
  frame.origin.y = view.height > frame.size.height ? (view.height - frame.size.height) / 2 : 0;
  zoomImageView->setFrame(frame);
}

void ZoomingImageScrollView::setFrame(const pf::Rect& frame) {
  if (frame.size == this->frame().size) {
    pf::ScrollView::setFrame(frame);
    return;
  }
  prepareToResize();
  pf::ScrollView::setFrame(frame);
  recoverFromResizing();
}

void ZoomingImageScrollView::prepareToResize() {
  if (!zoomImageView) return;
  const pf::Rect b = bounds();
  pointToCenterAfterResize = convertPointToView({b.midX(), b.midY()}, zoomImageView.get());
  scaleToRestoreAfterResize = static_cast<float>(zoomScale());
  if (scaleToRestoreAfterResize <= minimumZoomScale() + FLT_EPSILON) scaleToRestoreAfterResize = 0;
}

void ZoomingImageScrollView::recoverFromResizing() {
  if (!zoomImageView) return;
  setMaxMinZoomScalesForCurrentBounds();
  setZoomScale(std::min(maximumZoomScale(), std::max<double>(minimumZoomScale(), scaleToRestoreAfterResize)));
  const pf::Point centre = convertPointFromView(pointToCenterAfterResize, zoomImageView.get());
  const pf::Size half{bounds().size.width / 2, bounds().size.height / 2};
  const pf::Point most = maximumContentOffsetForZoom();
  setContentOffset({std::clamp(centre.x - half.width, 0.0, std::max(0.0, most.x)),
                    std::clamp(centre.y - half.height, 0.0, std::max(0.0, most.y))});
}

pf::Point ZoomingImageScrollView::maximumContentOffsetForZoom() const {
  return {contentSize().width - bounds().size.width, contentSize().height - bounds().size.height};
}

std::shared_ptr<pf::View> ZoomingImageScrollView::viewForZoomingInScrollView(pf::ScrollView& scrollView) {
  (void)scrollView;
  return zoomImageView;
}

void ZoomingImageScrollView::scrollViewDidEndZooming(pf::ScrollView& scrollView, pf::View* view, double scale) {
  (void)scrollView;
  (void)view;
  (void)scale;
}
