#include "app/controller/cms/CmsMediaPlayerRotation.h"

#include <numbers>

#include "platform/graphics/AffineTransform.h"
#include "platform/ui/View.h"

void CmsMediaPlayerRotation::turnIntoPlace(pf::View& view, double width, double height, double x, double y) {
  view.setTransform(pf::AffineTransform::makeRotation(std::numbers::pi / 2));
  view.setBounds(pf::Rect(0, 0, width, height));
  view.setCenter({x + height / 2, y + width / 2});
}

void CmsMediaPlayerRotation::turn(pf::View& view) {
  view.setTransform(pf::AffineTransform::makeRotation(std::numbers::pi / 2));
}
