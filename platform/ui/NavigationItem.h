#pragma once
// What a navigation bar shows for one level of a stack: a title or a title view, left and right
// bar button items, the back item shown on the level above, and whether to hide the back button.
// A change relayouts the bar that shows the item.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Object.h"

namespace pf {

class BarButtonItem;
class View;

class NavigationItem : public Object {
  PF_OBJECT(NavigationItem, Object)

  NavigationItem();
  explicit NavigationItem(std::optional<std::string> title);

  const std::optional<std::string>& title() const { return title_; }
  void setTitle(std::optional<std::string> title);
  const std::optional<std::string>& prompt() const { return prompt_; }
  void setPrompt(std::optional<std::string> prompt);
  const std::shared_ptr<View>& titleView() const { return titleView_; }
  void setTitleView(std::shared_ptr<View> view);
  // The button the next level up shows to come back here; null lets the bar make one from the title.
  const std::shared_ptr<BarButtonItem>& backBarButtonItem() const { return backItem_; }
  void setBackBarButtonItem(std::shared_ptr<BarButtonItem> item);
  bool hidesBackButton() const { return hidesBackButton_; }
  void setHidesBackButton(bool hides, bool animated = false);
  // The first of the left or right items, or null.
  std::shared_ptr<BarButtonItem> leftBarButtonItem() const;
  void setLeftBarButtonItem(std::shared_ptr<BarButtonItem> item, bool animated = false);
  const std::vector<std::shared_ptr<BarButtonItem>>& leftBarButtonItems() const { return left_; }
  void setLeftBarButtonItems(std::vector<std::shared_ptr<BarButtonItem>> items, bool animated = false);
  std::shared_ptr<BarButtonItem> rightBarButtonItem() const;
  void setRightBarButtonItem(std::shared_ptr<BarButtonItem> item, bool animated = false);
  const std::vector<std::shared_ptr<BarButtonItem>>& rightBarButtonItems() const { return right_; }
  void setRightBarButtonItems(std::vector<std::shared_ptr<BarButtonItem>> items, bool animated = false);

  // Set by the bar that shows the item.
  void setChangeHandler(std::function<void()> handler) { changed_ = std::move(handler); }

 private:
  void changed();

  std::optional<std::string> title_;
  std::optional<std::string> prompt_;
  std::shared_ptr<View> titleView_;
  std::shared_ptr<BarButtonItem> backItem_;
  std::vector<std::shared_ptr<BarButtonItem>> left_;
  std::vector<std::shared_ptr<BarButtonItem>> right_;
  std::function<void()> changed_;
  bool hidesBackButton_ = false;
};

}  // namespace pf
