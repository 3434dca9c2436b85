#include "app/controller/cmn/ImageEditor.h"

#include "platform/graphics/Image.h"
#include "platform/graphics/ImageContext.h"

std::shared_ptr<pf::Image> ImageEditor::imageWithReplaceColor(const pf::Color& color, const pf::Image& image,
                                                             bool onlySaveBackGroundColorImage) {
  auto canvas = pf::ImageContext::create(image.size(), false, image.scale());
  if (!canvas || !image.bitmap()) return nullptr;
  auto& context = canvas->context();
  const pf::Rect area(0, 0, image.size().width, image.size().height);
  context.setFillColor(color);
  context.setBlendMode(pf::BlendMode::colorBurn);
  if (!onlySaveBackGroundColorImage) image.draw(context, area);
  context.clipToMask(area, image);
  context.fillRect(area);
  return canvas->image();
}
