#include "platform/host/HeadlessHost.h"

#include <cmath>
#include <fstream>

#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Application.h"
#include "platform/ui/Layer.h"
#include "platform/ui/LayerRenderer.h"
#include "platform/ui/Responder.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TouchInjector.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/Window.h"

namespace pf {

HeadlessHost::HeadlessHost(std::shared_ptr<Window> window) : window_(std::move(window)) {}

HeadlessHost::~HeadlessHost() = default;

std::shared_ptr<Window> HeadlessHost::target() const {
  return window_ ? window_ : Application::sharedApplication().keyWindow();
}

TouchInjector& HeadlessHost::fingers() {
  auto window = target();
  if (!injector_ || injectorWindow_ != window) {
    injector_ = std::make_unique<TouchInjector>(window);
    injectorWindow_ = window;
  }
  return *injector_;
}

std::shared_ptr<Bitmap> HeadlessHost::render() {
  auto window = target();
  if (!window) return nullptr;
  window->layoutIfNeeded();
  const Rect screen = Screen::mainScreen().bounds();
  lastScale_ = Screen::mainScreen().scale();
  const int width = static_cast<int>(std::ceil(screen.width() * lastScale_));
  const int height = static_cast<int>(std::ceil(screen.height() * lastScale_));
  // The last frame is drawn over when no one else holds it: a new window-sized bitmap, cleared and
  // faulted in every frame, cost a scrolling list more than drawing its rows.
  const bool reusable = last_ && last_.use_count() == 1 && last_->width() == width && last_->height() == height;
  auto bitmap = reusable ? last_ : Bitmap::create(width, height);
  if (!bitmap) return nullptr;
  GraphicsContext context(bitmap, lastScale_);
  context.setFillColor(Color::black());
  context.fillRect(screen);
  LayerRenderer::render(*window->layer(), context);
  last_ = bitmap;
  return bitmap;
}

bool HeadlessHost::writePng(const std::string& path) {
  auto bitmap = render();
  if (!bitmap) return false;
  auto png = Image::withBitmap(bitmap, lastScale_)->pngData();
  if (!png) return false;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(png->data()), static_cast<std::streamsize>(png->size()));
  return static_cast<bool>(out);
}

Pixel HeadlessHost::pixelAt(Point point) const {
  if (!last_) return {};
  const int x = static_cast<int>(std::floor(point.x * lastScale_));
  const int y = static_cast<int>(std::floor(point.y * lastScale_));
  if (x < 0 || y < 0 || x >= last_->width() || y >= last_->height()) return {};
  return last_->pixel(x, y);
}

void HeadlessHost::tap(Point at) {
  fingers().press(0, at);
  advance(0.05);
  fingers().lift(0);
  runPending();
}

bool HeadlessHost::tapStatusBar() {
  auto window = target();
  if (!window || Application::sharedApplication().isStatusBarHidden()) return false;
  const bool moved = ScrollView::scrollToTopInWindow(*window);
  runPending();
  return moved;
}

void HeadlessHost::drag(const std::vector<Point>& path, double duration) {
  if (path.empty()) return;
  fingers().press(0, path.front());
  // Ten moves between each pair of points, so recognisers see a steady motion.
  constexpr int kSteps = 10;
  const size_t moves = (path.size() - 1) * kSteps;
  const double step = moves > 0 ? duration / static_cast<double>(moves) : 0;
  for (size_t i = 1; i < path.size(); ++i) {
    for (int s = 1; s <= kSteps; ++s) {
      const double t = static_cast<double>(s) / kSteps;
      advance(step);
      fingers().move(0, {path[i - 1].x + (path[i].x - path[i - 1].x) * t,
                         path[i - 1].y + (path[i].y - path[i - 1].y) * t});
    }
  }
  fingers().lift(0);
  runPending();
}

void HeadlessHost::pinch(Point center, double fromDistance, double toDistance, double duration) {
  const auto at = [&](double distance) {
    return std::pair<Point, Point>{{center.x - distance / 2, center.y}, {center.x + distance / 2, center.y}};
  };
  auto [a, b] = at(fromDistance);
  fingers().press(0, a);
  fingers().press(1, b);
  constexpr int kSteps = 10;
  for (int s = 1; s <= kSteps; ++s) {
    advance(duration / kSteps);
    auto [p, q] = at(fromDistance + (toDistance - fromDistance) * s / kSteps);
    fingers().moveAll({{0, p}, {1, q}});
  }
  fingers().lift(0);
  fingers().lift(1);
  runPending();
}

bool HeadlessHost::typeText(const std::string& text) {
  auto* input = dynamic_cast<TextInput*>(Responder::firstResponder().get());
  if (!input) return false;
  // One code point a keystroke, as a keyboard sends them.
  size_t i = 0;
  while (i < text.size()) {
    size_t length = 1;
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead >= 0xF0) {
      length = 4;
    } else if (lead >= 0xE0) {
      length = 3;
    } else if (lead >= 0xC0) {
      length = 2;
    }
    input->insertText(text.substr(i, length));
    i += length;
    runPending();
  }
  return true;
}

bool HeadlessHost::pressReturn() {
  return typeText("\n");
}

bool HeadlessHost::pasteText(const std::string& text) {
  auto* input = dynamic_cast<TextInput*>(Responder::firstResponder().get());
  if (!input) return false;
  input->insertText(text);
  runPending();
  return true;
}

bool HeadlessHost::pressBackspace() {
  auto* input = dynamic_cast<TextInput*>(Responder::firstResponder().get());
  if (!input) return false;
  input->deleteBackward();
  runPending();
  return true;
}

void HeadlessHost::advance(double seconds) {
  RunLoop::main()->runUntil(Clock::now() + seconds);
}

void HeadlessHost::runPending() {
  RunLoop::main()->runUntil(Clock::now());
}

}  // namespace pf
