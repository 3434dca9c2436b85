#pragma once
// A bar of tab items of equal width, one selected: each shows its image over its title, the
// selected one in the tint (or its selected or finished picture), with a red badge at the top
// right of the image when it has a badge value. A tap selects the item and tells the delegate.
// Main thread only.

#include <memory>
#include <optional>
#include <vector>

#include "platform/graphics/Image.h"
#include "platform/ui/View.h"

namespace pf {

class TabBar;
class TabBarItem;

class TabBarDelegate {
 public:
  virtual ~TabBarDelegate() = default;
  virtual void didSelectItem(TabBar& tabBar, TabBarItem& item) {
    (void)tabBar;
    (void)item;
  }
};

class TabBar : public View {
  PF_OBJECT(TabBar, View)

  static constexpr double kHeight = 49;

  TabBar();
  explicit TabBar(const Rect& frame);

  const std::vector<std::shared_ptr<TabBarItem>>& items() const { return items_; }
  void setItems(std::vector<std::shared_ptr<TabBarItem>> items, bool animated = false);
  std::shared_ptr<TabBarItem> selectedItem() const { return selected_.lock(); }
  // Selects without telling the delegate; an item not in the bar selects nothing.
  void setSelectedItem(const std::shared_ptr<TabBarItem>& item);
  std::weak_ptr<TabBarDelegate> delegate() const { return delegate_; }
  void setDelegate(std::weak_ptr<TabBarDelegate> delegate) { delegate_ = std::move(delegate); }
  std::optional<Color> tintColor() const { return tint_; }
  void setTintColor(std::optional<Color> color);
  std::optional<Color> selectedImageTintColor() const { return selectedTint_; }
  void setSelectedImageTintColor(std::optional<Color> color);
  const std::shared_ptr<const Image>& backgroundImage() const { return backgroundImage_; }
  void setBackgroundImage(std::shared_ptr<const Image> image);
  const std::shared_ptr<const Image>& selectionIndicatorImage() const { return indicatorImage_; }
  void setSelectionIndicatorImage(std::shared_ptr<const Image> image);

  // The slot of the item at the index, in the bar's bounds.
  Rect rectForItemAtIndex(size_t index) const;

  void touchesBegan(const TouchSet& touches, const Event* event) override;
  void touchesEnded(const TouchSet& touches, const Event* event) override;
  void drawRect(const Rect& rect) override;
  Size sizeThatFits(Size size) const override;

 private:
  void drawItem(GraphicsContext& context, const TabBarItem& item, const Rect& slot, bool selected) const;
  std::optional<size_t> indexAt(Point point) const;

  std::vector<std::shared_ptr<TabBarItem>> items_;
  std::weak_ptr<TabBarItem> selected_;
  std::weak_ptr<TabBarDelegate> delegate_;
  std::optional<Color> tint_;
  std::optional<Color> selectedTint_;
  std::shared_ptr<const Image> backgroundImage_;
  std::shared_ptr<const Image> indicatorImage_;
  std::optional<size_t> pressed_;
};

}  // namespace pf
