#include "platform/ui/LayerRenderer.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/foundation/Clock.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/ImageContext.h"
#include "platform/graphics/Path.h"
#include "platform/ui/Animation.h"
#include "platform/ui/CurrentContext.h"
#include "platform/ui/Layer.h"
#include "platform/ui/LayerDelegate.h"
#include "platform/ui/ShapeLayer.h"
#include "platform/ui/Transition.h"

namespace pf {

namespace {

void renderLayer(const Layer& model, GraphicsContext& context);

bool visible(const Color& color) {
  return color.alpha() > 0;
}

Path outline(const Layer& layer) {
  const Rect& bounds = layer.bounds();
  return layer.cornerRadius() > 0 ? Path::withRoundedRect(bounds, layer.cornerRadius())
                                  : Path::withRect(bounds);
}

// Redraws the delegate's content when asked to, at the context's scale.
void refreshBacking(Layer& model, double scale) {
  if (!model.needsDisplay()) return;
  LayerDelegate* delegate = model.delegate();
  const Rect bounds = model.bounds();
  if (!delegate || bounds.isEmpty()) {
    model.setBackingStore(nullptr);
    return;
  }
  auto canvas = ImageContext::create(bounds.size, false, scale);
  if (!canvas) {
    model.setBackingStore(nullptr);
    return;
  }
  GraphicsContext& drawing = canvas->context();
  drawing.translate(-bounds.origin.x, -bounds.origin.y);
  bool drew = false;
  {
    CurrentContext::Scope current(drawing);
    drew = delegate->drawLayer(model, drawing);
  }
  model.setBackingStore(drew ? ImageContext::finish(std::move(canvas)) : nullptr);
}

// The running transition's progress, or 1 without one.
double transitionProgress(const Layer& model, const Transition** found) {
  for (const auto& key : model.animationKeys()) {
    auto animation = model.animationForKey(key);
    const auto* transition = dynamic_cast<const Transition*>(animation.get());
    if (!transition) continue;
    if (auto progress = transition->progressAt(Clock::now())) {
      *found = transition;
      return std::clamp(*progress, 0.0, 1.0);
    }
  }
  return 1;
}

void applyTransition(const Transition& transition, double progress, const Rect& bounds,
                     GraphicsContext& context, double& alpha) {
  if (transition.type == Transition::kFade) {
    alpha *= progress;
    return;
  }
  const double rest = 1 - progress;
  double dx = 0, dy = 0;
  if (transition.subtype == Transition::kFromLeft) dx = -bounds.width() * rest;
  if (transition.subtype == Transition::kFromTop) dy = -bounds.height() * rest;
  if (transition.subtype == Transition::kFromBottom) dy = bounds.height() * rest;
  if (transition.subtype.empty() || transition.subtype == Transition::kFromRight) dx = bounds.width() * rest;
  context.translate(dx, dy);
}

void clipToMask(const Layer& layer, GraphicsContext& context) {
  const auto& mask = layer.mask();
  if (!mask) return;
  auto shown = mask->presentationOrSelf();
  context.concat(shown->transformToSuperlayer());
  if (const auto* shape = dynamic_cast<const ShapeLayer*>(shown.get()); shape && shape->path()) {
    context.clip(*shape->path(), shape->fillRule());
  } else {
    context.clip(outline(*shown));
  }
  context.concat(shown->transformToSuperlayer().inverted());
}

void drawContents(Layer& model, const Layer& shown, GraphicsContext& context) {
  if (const auto& contents = shown.contents())
    contents->draw(context, shown.bounds(), shown.contentsGravity());
  refreshBacking(model, context.scale());
  if (const auto& backing = model.backingStore()) backing->draw(context, shown.bounds());
  shown.drawContent(context);
}

void drawBody(Layer& model, const Layer& shown, GraphicsContext& context) {
  if (shown.backgroundColor() && visible(*shown.backgroundColor())) {
    context.setFillColor(*shown.backgroundColor());
    if (shown.cornerRadius() > 0) {
      context.fillPath(outline(shown));
    } else {
      context.fillRect(shown.bounds());
    }
  }
  context.saveGState();
  if (shown.masksToBounds()) context.clip(outline(shown));
  drawContents(model, shown, context);
  for (const auto& sublayer : model.sublayers()) renderLayer(*sublayer, context);
  context.restoreGState();
  if (shown.borderWidth() > 0 && visible(shown.borderColor())) {
    const double inset = shown.borderWidth() / 2;
    const Rect edge = shown.bounds().insetBy(inset, inset);
    if (!edge.isNull()) {
      context.setStrokeColor(shown.borderColor());
      context.setLineWidth(shown.borderWidth());
      const double radius = std::max(0.0, shown.cornerRadius() - inset);
      context.strokePath(radius > 0 ? Path::withRoundedRect(edge, radius) : Path::withRect(edge));
    }
  }
}

// Where a layer and everything under it may draw, in its bounds space (shadows of sublayers included).
Rect drawingExtent(const Layer& model, const Layer& shown) {
  Rect extent = shown.bounds();
  if (shown.masksToBounds()) return extent;
  for (const auto& sublayer : model.sublayers()) {
    auto sub = sublayer->presentationOrSelf();
    if (sub->isHidden() || sub->opacity() <= 0) continue;
    Rect inner = drawingExtent(*sublayer, *sub);
    if (sub->shadowOpacity() > 0) {
      const double reach = sub->shadowRadius() * 3 + 1;
      inner = inner.unionWith(inner.offsetBy(sub->shadowOffset().width, sub->shadowOffset().height))
                  .insetBy(-reach, -reach);
    }
    extent = extent.unionWith(sub->transformToSuperlayer().apply(inner));
  }
  return extent;
}

void renderLayer(const Layer& constModel, GraphicsContext& context) {
  // The renderer keeps the delegate's drawing on the model layer.
  Layer& model = const_cast<Layer&>(constModel);
  const auto shownPointer = model.presentationOrSelf();
  const Layer& shown = *shownPointer;
  if (shown.isHidden() || shown.opacity() <= 0) return;
  context.saveGState();
  context.concat(shown.transformToSuperlayer());
  double alpha = std::min(shown.opacity(), 1.0);
  const Transition* transition = nullptr;
  const double progress = transitionProgress(model, &transition);
  if (transition) applyTransition(*transition, progress, shown.bounds(), context, alpha);
  const bool shadow = shown.shadowOpacity() > 0 && shown.shadowColor() && visible(*shown.shadowColor());
  if (shadow) {
    const Color color = shown.shadowColor()->withAlpha(shown.shadowColor()->alpha() * shown.shadowOpacity());
    if (const auto& path = shown.shadowPath()) {
      // Only the shadow of the outline, wherever the outline does not cover it; cast straight from
      // the path, so a layer whose outline covers the screen costs nothing.
      context.saveGState();
      context.setAlpha(alpha);
      context.setShadow(shown.shadowOffset(), shown.shadowRadius(), color);
      context.castShadow(*path);
      context.restoreGState();
    } else {
      context.setShadow(shown.shadowOffset(), shown.shadowRadius(), color);
    }
  }
  const bool group = alpha < 1 || (shadow && !shown.shadowPath());
  if (group) {
    context.setAlpha(alpha);
    // One pixel more all round for anti-aliased edges.
    context.beginTransparencyLayer(drawingExtent(model, shown).insetBy(-1, -1));
    context.clearShadow();
    context.setAlpha(1);
  } else {
    context.clearShadow();
  }
  clipToMask(shown, context);
  drawBody(model, shown, context);
  if (group) context.endTransparencyLayer();
  context.restoreGState();
}

}  // namespace

void LayerRenderer::render(const Layer& layer, GraphicsContext& context) {
  renderLayer(layer, context);
}

}  // namespace pf
