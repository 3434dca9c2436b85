#include "platform/ui/PopoverController.h"

#include <algorithm>

#include "platform/foundation/Error.h"
#include "platform/ui/Layer.h"
#include "platform/ui/Screen.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

namespace pf {

namespace {

// Covers the window under a popover and reports touches that miss the box.
class Shield : public View {
 public:
  Shield(const Rect& frame, std::weak_ptr<PopoverController> popover)
      : View(frame), popover_(std::move(popover)) {}
  void touchesBegan(const TouchSet&, const Event*) override {
    if (auto popover = popover_.lock()) popover->touchedOutside();
  }
  void touchesEnded(const TouchSet&, const Event*) override {}

 private:
  std::weak_ptr<PopoverController> popover_;
};

}  // namespace

PopoverController::PopoverController(std::shared_ptr<ViewController> contentViewController)
    : content_(std::move(contentViewController)) {
  if (Screen::mainScreen().profile() != Screen::Profile::Tablet) {
    throw ContractViolation("PopoverController is only available on the tablet screen");
  }
  if (!content_) throw ContractViolation("PopoverController needs a content view controller");
}

PopoverController::~PopoverController() {
  if (box_ && content_->appearanceState() != ViewController::AppearanceState::Disappeared) {
    content_->beginAppearanceTransition(false, false);
    content_->endAppearanceTransition();
  }
  removeViews();
}

void PopoverController::setPopoverContentSize(Size size, bool animated) {
  contentSize_ = size;
  if (!box_) return;
  const Rect frame = box_->frame();
  const auto apply = [&] {
    box_->setFrame(Rect(frame.origin, {size.width + 2 * kBorder, size.height + 2 * kBorder}));
  };
  if (animated) {
    View::animateWithDuration(ViewController::kTransitionDuration, apply);
  } else {
    apply();
  }
}

Rect PopoverController::boxFrame(const Rect& target, const Rect& window, unsigned allowed) {
  const double w = contentSize_.width + 2 * kBorder, h = contentSize_.height + 2 * kBorder;
  const auto clampX = [&](double x) {
    return std::clamp(x, window.minX() + kMargin, window.maxX() - kMargin - w);
  };
  const auto clampY = [&](double y) {
    return std::clamp(y, window.minY() + kMargin, window.maxY() - kMargin - h);
  };
  const struct {
    unsigned direction;
    bool fits;
    Rect frame;
  } choices[] = {
      {kArrowDirectionUp, target.maxY() + kArrowLength + h <= window.maxY() - kMargin,
       Rect(clampX(target.midX() - w / 2), target.maxY() + kArrowLength, w, h)},
      {kArrowDirectionDown, target.minY() - kArrowLength - h >= window.minY() + kMargin,
       Rect(clampX(target.midX() - w / 2), target.minY() - kArrowLength - h, w, h)},
      {kArrowDirectionLeft, target.maxX() + kArrowLength + w <= window.maxX() - kMargin,
       Rect(target.maxX() + kArrowLength, clampY(target.midY() - h / 2), w, h)},
      {kArrowDirectionRight, target.minX() - kArrowLength - w >= window.minX() + kMargin,
       Rect(target.minX() - kArrowLength - w, clampY(target.midY() - h / 2), w, h)},
  };
  for (auto& choice : choices) {
    if ((allowed & choice.direction) && choice.fits) {
      arrow_ = choice.direction;
      return choice.frame;
    }
  }
  // Nothing fits: centred over the window, as large as it allows.
  arrow_ = kArrowDirectionUnknown;
  const double fitW = std::min(w, window.width() - 2 * kMargin),
               fitH = std::min(h, window.height() - 2 * kMargin);
  return Rect(window.midX() - fitW / 2, window.midY() - fitH / 2, fitW, fitH);
}

void PopoverController::presentPopoverFromRect(const Rect& rect, const std::shared_ptr<View>& view,
                                               unsigned arrowDirections, bool animated) {
  auto window = view ? view->window() : nullptr;
  if (!window) throw ContractViolation("A popover must be presented from a view in a window");
  const bool wasVisible = isPopoverVisible();
  removeViews();
  const Rect target = view->convertRectToView(rect, nullptr);
  std::weak_ptr<PopoverController> weak = std::static_pointer_cast<PopoverController>(shared_from_this());
  shield_ = std::make_shared<Shield>(window->bounds(), weak);
  box_ = std::make_shared<View>(boxFrame(target, window->bounds(), arrowDirections));
  box_->setBackgroundColor(Color::fromWhite(0.1, 0.95));
  box_->layer()->setCornerRadius(kBorder);
  auto shown = content_->view();
  shown->setFrame(
      Rect(kBorder, kBorder, box_->bounds().width() - 2 * kBorder, box_->bounds().height() - 2 * kBorder));
  shown->setAutoresizingMask(View::kFlexibleWidth | View::kFlexibleHeight);
  box_->addSubview(shown);
  window->addSubview(shield_);
  window->addSubview(box_);
  if (wasVisible) return;
  content_->beginAppearanceTransition(true, animated);
  if (animated && View::areAnimationsEnabled()) {
    View::performWithoutAnimation([&] { box_->setAlpha(0); });
    auto content = content_;
    View::animateWithDuration(
        ViewController::kTransitionDuration, [box = box_] { box->setAlpha(1); },
        [content](bool) { content->endAppearanceTransition(); });
    return;
  }
  content_->endAppearanceTransition();
}

void PopoverController::dismissPopoverAnimated(bool animated) {
  if (!box_) return;
  content_->beginAppearanceTransition(false, animated);
  auto box = box_;
  auto shield = shield_;
  box_.reset();
  shield_.reset();
  shield->removeFromSuperview();
  auto content = content_;
  const auto finish = [box, content] {
    box->removeFromSuperview();
    content->endAppearanceTransition();
  };
  if (animated && View::areAnimationsEnabled()) {
    View::animateWithDuration(
        ViewController::kTransitionDuration, [box] { box->setAlpha(0); }, [finish](bool) { finish(); });
    return;
  }
  finish();
}

void PopoverController::touchedOutside() {
  auto delegate = delegate_.lock();
  if (delegate && !delegate->popoverControllerShouldDismissPopover(*this)) return;
  // The delegate may drop its popover when told.
  auto self = std::static_pointer_cast<PopoverController>(shared_from_this());
  dismissPopoverAnimated(true);
  if (delegate) delegate->popoverControllerDidDismissPopover(*this);
}

void PopoverController::removeViews() {
  if (shield_) shield_->removeFromSuperview();
  if (box_) box_->removeFromSuperview();
  shield_.reset();
  box_.reset();
}

}  // namespace pf
