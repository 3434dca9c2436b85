// marlune-graphics-sample OUT.png: renders shapes, gradients, a shadow, a picture and wrapped
// Chinese/English text at scale 2, with the text frame's line boxes outlined.
#include "platform/graphics/ImageContext.h"
#include "platform/text/Framesetter.h"
#include "platform/text/StringDrawing.h"

#include <cstdio>
#include <fstream>
#include <numbers>

using namespace pf;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUT.png\n", argv[0]);
    return 2;
  }
  auto canvas = ImageContext::create({320, 480}, true, 2);
  GraphicsContext& g = canvas->context();
  g.setFillColor(Color::white());
  g.fillRect({0, 0, 320, 480});

  g.drawLinearGradient(Gradient({Color::fromRgba(0, 0.49, 0.75), Color::fromRgba(0.06, 0.36, 0.71, 0.2)}),
                       {0, 0}, {0, 60});
  StringDrawing::drawText(g, "课程中心 Course Centre", {0, 18, 320, 30}, *Font::boldSystemFont(20),
                          Color::white(), LineBreakMode::truncatingTail, TextAlignment::center);

  g.saveGState();
  g.setShadow({0, 3}, 4, Color::fromWhite(0, 0.5));
  g.setFillColor(Color::orange());
  g.fillPath(Path::withRoundedRect({16, 76, 90, 60}, 12));
  g.restoreGState();
  g.drawRadialGradient(Gradient({Color::yellow(), Color::red()}), {160, 106}, 2, {160, 106}, 30);
  g.setStrokeColor(Color::purple());
  g.setLineWidth(3);
  g.setLineDash(0, {6, 3});
  g.strokePath(Path::withArc({260, 106}, 28, 0, 1.5 * std::numbers::pi, true));
  g.setLineDash(0, {});

  // A picture made in code, drawn aspect-fit and as a stretched resizable button background.
  auto tile = ImageContext::create({40, 20}, false, 2);
  tile->context().setFillColor(Color::fromRgba(0.2, 0.6, 0.3));
  tile->context().fillPath(Path::withRoundedRect({0, 0, 40, 20}, 8));
  tile->context().setFillColor(Color::white());
  tile->context().fillEllipse({16, 6, 8, 8});
  const auto picture = tile->image();
  picture->draw(g, Rect(16, 150, 120, 40), ContentMode::scaleAspectFit);
  picture->resizable({8, 12, 8, 12}, ImageResizingMode::stretch)->draw(g, Rect(150, 150, 150, 40));
  StringDrawing::drawText(g, "确定 OK", {150, 160, 150, 24}, *Font::systemFont(15), Color::black(),
                          LineBreakMode::wordWrap, TextAlignment::center);

  AttributedString text(
      "学习进度会按课程标准记录，并与服务器同步。Progress is recorded by each course standard's rules and "
      "synchronised with the server. 😀 离线学习也可以。",
      TextAttributes{
          Font::systemFont(15), Color::darkGray(), {}, {}, 0, 0, ParagraphStyle{.lineSpacing = 3}, {}});
  text.setForegroundColor({0, 4}, Color::fromRgba(0, 0.49, 0.75));
  text.setFont({0, 4}, Font::boldSystemFont(15));
  text.setUnderline({42, 8}, UnderlineStyle::single, Color::red());
  const Framesetter framesetter(text);
  const auto suggested = framesetter.suggestFrameSize({0, 0}, {288, 1e9});
  const Rect box(16, 210, suggested.size.width, suggested.size.height);
  framesetter.createFrame({0, 0}, box)->drawTopDown(g);
  g.setStrokeColor(Color::fromRgba(1, 0, 0, 0.4));
  g.setLineWidth(0.5);
  g.strokeRect(box);

  const std::string tail = StringDrawing::truncatedText(
      "一行放不下的很长很长的标题 A title too long for one line", *Font::systemFont(14), 200);
  StringDrawing::drawText(g, tail, {16, 400, 288, 20}, *Font::systemFont(14), Color::black());

  const auto png = canvas->image()->pngData();
  std::ofstream(argv[1], std::ios::binary)
      .write(reinterpret_cast<const char*>(png->data()), static_cast<long>(png->size()));
  std::printf("suggested %gx%g, wrote %s\n", suggested.size.width, suggested.size.height, argv[1]);
}
