#include "app/components/refresh/LegacyRefreshControl.h"

#include <algorithm>

#include "app/components/refresh/LegacyRefreshArrowView.h"
#include "platform/foundation/Log.h"
#include "platform/text/Font.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"
#include "platform/ui/RefreshControl.h"
#include "platform/ui/ScrollView.h"

namespace {

bool legacyRefreshInstalled = false;

pf::Color legacyRefreshGrey() {
  return pf::Color::fromWhite(0.5, 1.0);
}

}  // namespace

bool LegacyRefreshControl::load() {
  legacyRefreshInstalled = !pf::RefreshControl::isAvailable();
  return legacyRefreshInstalled;
}

bool LegacyRefreshControl::isInstalled() {
  return legacyRefreshInstalled;
}

std::shared_ptr<pf::Control> LegacyRefreshControl::make() {
  if (!legacyRefreshInstalled) return std::make_shared<pf::RefreshControl>();
  return std::make_shared<LegacyRefreshControl>();
}

LegacyRefreshControl::LegacyRefreshControl()
    : pf::Control(pf::Rect(0, 0, 320, kHeight)), defaultTintColor_(legacyRefreshGrey()) {
  populateSubviews();
  setRefreshControlState(kHidden);
  setAutoresizingMask(kFlexibleWidth | kFlexibleBottomMargin);
  setBackgroundColor(pf::Color::clear());
}

void LegacyRefreshControl::populateSubviews() {
  const pf::Rect b = bounds();
  arrow_ = std::make_shared<LegacyRefreshArrowView>(pf::Rect(b.origin.x + 12, b.origin.y + 12, b.width() - 24, b.height() - 24));
  arrow_->setAutoresizingMask(kFlexibleWidth | kFlexibleHeight);
  textLabel_ = std::make_shared<pf::Label>(pf::Rect());
  textLabel_->setAutoresizingMask(kFlexibleWidth | kFlexibleHeight);
  textLabel_->setTextAlignment(pf::TextAlignment::center);
  textLabel_->setFont(pf::Font::systemFont(pf::Font::smallSystemFontSize()));
  textLabel_->setBackgroundColor(pf::Color::clear());
  textLabel_->setTextColor(legacyRefreshGrey());
  spinner_ = std::make_shared<pf::ActivityIndicatorView>(pf::ActivityIndicatorView::Style::Gray);
  spinner_->setCenter({b.midX(), b.midY()});
  spinner_->setAutoresizingMask(kFlexibleLeftMargin | kFlexibleRightMargin | kFlexibleTopMargin |
                                kFlexibleBottomMargin);
}

void LegacyRefreshControl::ensureSubviews() {
  // Added once the control is shared: a view cannot be a superview while it is being made.
  if (arrow_->superview().get() == this) return;
  addSubview(arrow_);
  addSubview(textLabel_);
  addSubview(spinner_);
}

void LegacyRefreshControl::beginRefreshing() {
  refreshing_ = true;
  setRefreshControlState(kRefreshing);
}

void LegacyRefreshControl::endRefreshing() {
  refreshing_ = false;
  setRefreshControlState(kHidden);
}

void LegacyRefreshControl::setTintColor(std::optional<pf::Color> color) {
  const pf::Color tint = color.value_or(defaultTintColor_);
  textLabel_->setTextColor(tint);
  arrow_->setTintColor(tint);
  spinner_->setColor(tint);
}

const pf::Color& LegacyRefreshControl::tintColor() const {
  return arrow_->tintColor();
}

void LegacyRefreshControl::setAttributedTitle(std::optional<std::string> title) {
  attributedTitle_ = std::move(title);
  textLabel_->setText(attributedTitle_);
  setNeedsLayout();
}

void LegacyRefreshControl::showAtOnce(pf::View& view) {
  view.layer()->removeAnimationForKey("opacity");
  view.setAlpha(1);
}

void LegacyRefreshControl::setRefreshControlState(int state) {
  refreshControlState_ = state;
  double top = originalTopContentInset_;
  std::weak_ptr<LegacyRefreshControl> weak;
  if (auto shared = weak_from_this().lock()) weak = std::static_pointer_cast<LegacyRefreshControl>(shared);
  switch (state) {
    case kPulling:
    case kReady:
      showAtOnce(*this);
      showAtOnce(*arrow_);
      showAtOnce(*textLabel_);
      spinner_->stopAnimating();
      break;
    case kRefreshing:
      // A refresh the user's pull started is a refresh too.
      refreshing_ = true;
      showAtOnce(*this);
      pf::View::animateWithDuration(
          kStateDuration, [this] { arrow_->setAlpha(0); },
          [weak](bool) {
            if (auto control = weak.lock(); control && control->refreshControlState_ == kRefreshing)
              control->spinner_->startAnimating();
          });
      top = frame().height() + originalTopContentInset_;
      break;
    case kHidden:
      pf::View::animateWithDuration(kStateDuration, [this] { setAlpha(0); });
      spinner_->stopAnimating();
      break;
    default:
      spinner_->stopAnimating();
      break;
  }
  auto scroll = std::dynamic_pointer_cast<pf::ScrollView>(superview());
  const pf::EdgeInsets wanted{top, 0, 0, 0};
  if (!scroll || scroll->contentInset() == wanted) return;
  pf::View::animateWithDuration(kStateDuration, [scroll, wanted] { scroll->setContentInset(wanted); });
}

void LegacyRefreshControl::repositionAboveContent() {
  auto holder = superview();
  const double width = holder ? holder->bounds().width() : frame().width();
  const double height = bounds().height();
  setFrame(pf::Rect(0, -height, width, height));
}

void LegacyRefreshControl::willMoveToSuperview(pf::View* newSuperview) {
  pf::Control::willMoveToSuperview(newSuperview);
  offsetObservation_.reset();
}

void LegacyRefreshControl::didMoveToSuperview() {
  pf::Control::didMoveToSuperview();
  ensureSubviews();
  auto scroll = std::dynamic_pointer_cast<pf::ScrollView>(superview());
  if (!scroll) return;
  repositionAboveContent();
  std::weak_ptr<LegacyRefreshControl> weak = sharedAs<LegacyRefreshControl>();
  offsetObservation_ = scroll->observeContentOffset([weak](pf::ScrollView& s, pf::Point old) {
    if (auto control = weak.lock()) control->followPull(s, old);
  });
  originalTopContentInset_ = scroll->contentInset().top;
}

void LegacyRefreshControl::followPull(pf::ScrollView& s, pf::Point oldOffset) {
  if (superview().get() != &s) return;
  const double h = bounds().height();
  const double offsetY = s.contentOffset().y;
  const double pull = -offsetY - originalTopContentInset_;
  const double oldPull = -oldOffset.y;
  const double p = pull / h;
  arrow_->setProgress(p <= 0.3 ? 0 : (p - 0.3) / 0.7);
  if (!s.isDecelerating()) {
    decelerationStartOffset_ = 0;
  } else if (decelerationStartOffset_ == 0) {
    decelerationStartOffset_ = offsetY;
  }
  if (refreshControlState_ == kRefreshing) {
    s.setContentInset({std::min(std::max(-offsetY, 0.0), h), 0, 0, 0});
  } else if (decelerationStartOffset_ > 0) {
    setRefreshControlState(kHidden);
  } else if (pull >= h || (pull > 0 && oldPull >= h)) {
    if (s.isDragging()) {
      setRefreshControlState(kReady);
    } else {
      releasedPastTheHeight();
    }
  } else if (s.isDecelerating() || pull <= 0) {
    setRefreshControlState(kHidden);
  } else {
    setRefreshControlState(kPulling);
  }
  if (pull > h) {
    setCenter({s.bounds().midX(), offsetY / 2});
  } else {
    repositionAboveContent();
  }
}

void LegacyRefreshControl::releasedPastTheHeight() {
  if (!(allControlEvents() & kValueChanged)) {
    pf::Log::write("No action configured for UIControlEventValueChanged event, not transitioning to refreshing state");
    return;
  }
  setRefreshControlState(kRefreshing);
  sendActionsForControlEvents(kValueChanged);
}

void LegacyRefreshControl::layoutSubviews() {
  ensureSubviews();
  const pf::Rect b = bounds();
  const bool titled = attributedTitle_ && !attributedTitle_->empty();
  const pf::Point middle{b.midX(), titled ? b.midY() - 10 : b.midY()};
  spinner_->setCenter(middle);
  arrow_->setCenter(middle);
  textLabel_->setFrame(titled ? pf::Rect(0, b.maxY() - 25, b.width(), 25) : pf::Rect());
}
