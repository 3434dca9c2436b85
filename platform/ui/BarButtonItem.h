#pragma once
// A button of a toolbar or navigation bar: a title or image in a style, a system item, a custom
// view, or a flexible or fixed space. Its action runs while its target lives. The bar shows
// view(): the custom view, or a tinted button the item makes on first use. Main thread only.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/ui/BarItem.h"

namespace pf {

class Button;
class View;

class BarButtonItem : public BarItem {
  PF_OBJECT(BarButtonItem, BarItem)

  enum class Style { Plain = 0, Bordered = 1, Done = 2 };
  enum class SystemItem {
    Done = 0,
    Cancel = 1,
    Edit = 2,
    Save = 3,
    Add = 4,
    FlexibleSpace = 5,
    FixedSpace = 6,
    Compose = 7,
    Reply = 8,
    Action = 9,
    Organize = 10,
    Bookmarks = 11,
    Search = 12,
    Refresh = 13,
    Stop = 14,
    Camera = 15,
    Trash = 16,
    Play = 17,
    Pause = 18,
    Rewind = 19,
    FastForward = 20,
    Undo = 21,
    Redo = 22,
    PageCurl = 23,
  };
  using Action = std::function<void(BarButtonItem& sender)>;

  BarButtonItem();
  BarButtonItem(std::optional<std::string> title, Style style, std::weak_ptr<void> target, Action action);
  BarButtonItem(std::shared_ptr<const Image> image, Style style, std::weak_ptr<void> target, Action action);
  BarButtonItem(SystemItem item, std::weak_ptr<void> target, Action action);
  explicit BarButtonItem(std::shared_ptr<View> customView);

  Style style() const { return style_; }
  void setStyle(Style style);
  std::optional<SystemItem> systemItem() const { return systemItem_; }
  bool isSpace() const;
  // Width of a fixed space or of the item's view; 0 lets the item size itself.
  double width() const { return width_; }
  void setWidth(double width);
  const std::shared_ptr<View>& customView() const { return customView_; }
  void setCustomView(std::shared_ptr<View> view);
  std::optional<Color> tintColor() const { return tint_; }
  void setTintColor(std::optional<Color> color);
  void setTarget(std::weak_ptr<void> target) {
    target_ = std::move(target);
    hasTarget_ = true;
  }
  void setAction(Action action) { action_ = std::move(action); }

  // Runs the action (while the target, if any, lives); nothing when disabled.
  void performAction();
  // The view the bar shows; null for spaces.
  std::shared_ptr<View> view();
  // The title a system item shows.
  static std::string systemTitle(SystemItem item);

 private:
  void styleButton();

  Style style_ = Style::Plain;
  std::optional<SystemItem> systemItem_;
  std::shared_ptr<View> customView_;
  std::shared_ptr<Button> button_;
  std::weak_ptr<void> target_;
  Action action_;
  std::optional<Color> tint_;
  double width_ = 0;
  bool hasTarget_ = false;
};

}  // namespace pf
