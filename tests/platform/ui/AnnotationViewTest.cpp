#include "platform/ui/AnnotationView.h"

#include <gtest/gtest.h>

#include "platform/graphics/ImageContext.h"
#include "platform/ui/UiTest.h"

namespace {

class AnnotationViewTest : public UiTest {};

std::shared_ptr<pf::Image> solid(pf::Size size, pf::Color color) {
  auto canvas = pf::ImageContext::create(size, true, 1);
  canvas->context().setFillColor(color);
  canvas->context().fillRect(pf::Rect{{0, 0}, size});
  return canvas->image();
}

}  // namespace

TEST_F(AnnotationViewTest, TakesThePicturesSizeAroundItsCentre) {
  auto view = std::make_shared<pf::AnnotationView>(pf::Rect{100, 100, 10, 10});
  view->setImage(solid({30, 20}, pf::Color::fromRgba(1, 0, 0)));
  EXPECT_EQ(view->frame(), (pf::Rect{90, 95, 30, 20}));
  view->setImage(nullptr);
  EXPECT_EQ(view->frame(), (pf::Rect{90, 95, 30, 20}));
  EXPECT_EQ(view->image(), nullptr);
  view->setCenterOffset({3, -4});
  EXPECT_EQ(view->centerOffset(), (pf::Point{3, -4}));
  EXPECT_EQ(view->className(), "AnnotationView");
}
