#pragma once
// Pull to refresh for tables on systems whose platform has no refresh control of its own: a circular
// arrow grows while the user pulls the content down and glows once the pull reaches the control's
// height; released there, the control spins above the content (kept uncovered by the top inset) and
// sends value changed (4096) to its targets until endRefreshing.
//
// Where the platform has its own control (the list base uses it), make() answers that one; load(), the
// start-up step, installs the legacy control only where the platform has none. The control follows
// its scroll view through the view's content-offset observation, which ends when it leaves the
// scroll view or goes. Main thread only.

#include <memory>
#include <optional>
#include <string>

#include "platform/graphics/Color.h"
#include "platform/graphics/Point.h"
#include "platform/ui/Control.h"

namespace pf {
class ActivityIndicatorView;
class Label;
class ScrollView;
}  // namespace pf

class LegacyRefreshArrowView;

class LegacyRefreshControl : public pf::Control {
  PF_OBJECT(LegacyRefreshControl, pf::Control)

  enum RefreshState { kHidden = 0, kPulling = 1, kReady = 2, kRefreshing = 3 };
  static constexpr double kHeight = 60;
  // Seconds every change of state animates.
  static constexpr double kStateDuration = 0.2;

  // The start-up step: where the platform has no refresh control, the legacy one stands in for it.
  // Answers whether it does.
  static bool load();
  static bool isInstalled();
  // The platform's refresh control where it has one, a legacy control otherwise.
  static std::shared_ptr<pf::Control> make();

  LegacyRefreshControl();

  bool isRefreshing() const { return refreshing_; }
  void beginRefreshing();
  void endRefreshing();
  // The label's, arrow's and spinner's colour; none gives the default grey. Every control can take
  // one through pf::Appearance::of<LegacyRefreshControl>().
  void setTintColor(std::optional<pf::Color> color);
  const pf::Color& tintColor() const;
  // Shown in the label below the arrow; none or empty shows no label.
  void setAttributedTitle(std::optional<std::string> title);
  const std::optional<std::string>& attributedTitle() const { return attributedTitle_; }
  int refreshControlState() const { return refreshControlState_; }
  void setRefreshControlState(int state);
  // Just above the content: (0, -height, superview width, height).
  void repositionAboveContent();

  const std::shared_ptr<pf::Label>& textLabel() const { return textLabel_; }
  const std::shared_ptr<pf::ActivityIndicatorView>& spinner() const { return spinner_; }
  const std::shared_ptr<LegacyRefreshArrowView>& arrow() const { return arrow_; }
  double originalTopContentInset() const { return originalTopContentInset_; }

  void willMoveToSuperview(pf::View* newSuperview) override;
  void didMoveToSuperview() override;
  void layoutSubviews() override;

 private:
  // Makes the arrow, the label and the spinner; ensureSubviews adds them.
  void populateSubviews();
  void ensureSubviews();
  void followPull(pf::ScrollView& scrollView, pf::Point oldOffset);
  void releasedPastTheHeight();
  void showAtOnce(pf::View& view);

  std::shared_ptr<pf::Label> textLabel_;
  std::shared_ptr<pf::ActivityIndicatorView> spinner_;
  std::shared_ptr<LegacyRefreshArrowView> arrow_;
  pf::Color defaultTintColor_;
  double originalTopContentInset_ = 0;
  double decelerationStartOffset_ = 0;
  bool refreshing_ = false;
  std::optional<std::string> attributedTitle_;
  int refreshControlState_ = kHidden;
  std::shared_ptr<void> offsetObservation_;
};
