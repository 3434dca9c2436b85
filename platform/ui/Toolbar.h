#pragma once
// A bar of items laid out left to right: flexible spaces share the room left, fixed spaces take
// their width, the other items their views' sizes, centred vertically. Bar style 0 is the light
// default, 1 and 2 the black ones. Main thread only.

#include <memory>
#include <optional>
#include <vector>

#include "platform/ui/View.h"

namespace pf {

class BarButtonItem;

class Toolbar : public View {
  PF_OBJECT(Toolbar, View)

  static constexpr double kHeight = 44;
  enum class BarStyle { Default = 0, Black = 1, BlackTranslucent = 2 };

  Toolbar();
  explicit Toolbar(const Rect& frame);

  const std::vector<std::shared_ptr<BarButtonItem>>& items() const { return items_; }
  void setItems(std::vector<std::shared_ptr<BarButtonItem>> items, bool animated = false);
  BarStyle barStyle() const { return barStyle_; }
  void setBarStyle(BarStyle style);
  // Colours the bar itself (a light bar only); items keep their own tint.
  std::optional<Color> tintColor() const { return tint_; }
  void setTintColor(std::optional<Color> color);
  bool isTranslucent() const { return translucent_; }
  void setTranslucent(bool translucent);

  void layoutSubviews() override;
  void drawRect(const Rect& rect) override;
  Size sizeThatFits(Size size) const override;

 private:
  std::vector<std::shared_ptr<BarButtonItem>> items_;
  std::vector<std::shared_ptr<View>> shown_;
  std::optional<Color> tint_;
  BarStyle barStyle_ = BarStyle::Default;
  bool translucent_ = false;
};

}  // namespace pf
