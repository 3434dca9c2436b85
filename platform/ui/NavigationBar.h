#pragma once
// The bar at the top of a navigation stack: a stack of navigation items, the top one shown as a
// centred title (or its title view) between its left and right items; without left items, a back
// button titled after the item below pops the top item. The delegate may refuse a push or a pop.
// Subclasses may draw their own background by overriding drawRect. Main thread only.

#include <memory>
#include <optional>
#include <vector>

#include "platform/ui/View.h"

namespace pf {

class Button;
class Label;
class NavigationBar;
class NavigationItem;

class NavigationBarDelegate {
 public:
  virtual ~NavigationBarDelegate() = default;
  virtual bool shouldPushItem(NavigationBar& bar, NavigationItem& item) {
    (void)bar;
    (void)item;
    return true;
  }
  virtual void didPushItem(NavigationBar& bar, NavigationItem& item) {
    (void)bar;
    (void)item;
  }
  virtual bool shouldPopItem(NavigationBar& bar, NavigationItem& item) {
    (void)bar;
    (void)item;
    return true;
  }
  virtual void didPopItem(NavigationBar& bar, NavigationItem& item) {
    (void)bar;
    (void)item;
  }
};

class NavigationBar : public View {
  PF_OBJECT(NavigationBar, View)

  static constexpr double kHeight = 44;
  enum class BarStyle { Default = 0, Black = 1, BlackTranslucent = 2 };

  NavigationBar();
  explicit NavigationBar(const Rect& frame);

  const std::vector<std::shared_ptr<NavigationItem>>& items() const { return items_; }
  void setItems(std::vector<std::shared_ptr<NavigationItem>> items, bool animated = false);
  std::shared_ptr<NavigationItem> topItem() const;
  // The item below the top one, or null.
  std::shared_ptr<NavigationItem> backItem() const;
  void pushNavigationItem(const std::shared_ptr<NavigationItem>& item, bool animated);
  // The popped item; null when there is nothing below the top or the delegate refused.
  std::shared_ptr<NavigationItem> popNavigationItemAnimated(bool animated);

  std::weak_ptr<NavigationBarDelegate> delegate() const { return delegate_; }
  void setDelegate(std::weak_ptr<NavigationBarDelegate> delegate) { delegate_ = std::move(delegate); }
  BarStyle barStyle() const { return barStyle_; }
  void setBarStyle(BarStyle style);
  // Colours the bar's background.
  std::optional<Color> tintColor() const { return tint_; }
  void setTintColor(std::optional<Color> color);
  bool isTranslucent() const { return translucent_; }
  void setTranslucent(bool translucent);

  // The back button shown now, or null.
  std::shared_ptr<Button> backButton() const { return backButtonShown_ ? backButton_ : nullptr; }
  // The title label (shown when the top item has no title view).
  const std::shared_ptr<Label>& titleLabel() const { return titleLabel_; }

  Size sizeThatFits(Size size) const override;
  void layoutSubviews() override;
  void drawRect(const Rect& rect) override;

 private:
  void watch(const std::shared_ptr<NavigationItem>& item);
  void layoutTopItem();
  // Adds the view unless it is there already (changing the subviews asks for another layout).
  void show(const std::shared_ptr<View>& view);
  void removeUnshown(const std::vector<std::shared_ptr<View>>& before);

  std::vector<std::shared_ptr<NavigationItem>> items_;
  std::vector<std::shared_ptr<View>> shown_;
  std::weak_ptr<NavigationBarDelegate> delegate_;
  std::shared_ptr<Label> titleLabel_;
  std::shared_ptr<Button> backButton_;
  std::optional<Color> tint_;
  BarStyle barStyle_ = BarStyle::Default;
  bool translucent_ = false;
  bool backButtonShown_ = false;
};

}  // namespace pf
