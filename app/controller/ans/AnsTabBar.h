#pragma once
// The bottom bar of buttons of the question and topic detail screens, loaded from its interface file.
// Item k is four buttons told apart by tag: the main button 100 × (k + 1) + 3 and its companions one,
// two and three less (the one two less carries the title). Only the current item shows selected;
// every completed tap on a main button reaches the delegate with the item's index.
//
// Main thread only.

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/View.h"

namespace pf {
class Button;
class ImageView;
}  // namespace pf
class AnsTabBarDelegate;

class AnsTabBar : public pf::View {
  PF_OBJECT(AnsTabBar, pf::View)

  static constexpr int kFirstItemTag = 103;
  // Companion states as the bar sets them.
  static constexpr int kStateNormal = 0;
  static constexpr int kStateHighlighted = 1;
  static constexpr int kStateSelected = 4;

  using pf::View::View;

  std::weak_ptr<AnsTabBarDelegate> delegete;
  std::weak_ptr<pf::ImageView> backgroundImageView;
  // The main buttons of all items, found by tag when the bar is loaded.
  std::vector<std::shared_ptr<pf::Button>> items;

  int currentItemTag() const { return currentItemTag_; }
  void setCurrentItemTag(int tag);
  void setItemTitle(const std::string& title, int index);
  void changeSubItemsStateOfItem(pf::Button& item, int state);

  void itemTouchDown(const pf::ObjectPtr& sender);
  void selectedItem(const pf::ObjectPtr& sender);
  void touchCanceled(const pf::ObjectPtr& sender);

  void awakeFromNib() override;

 private:
  std::shared_ptr<pf::Button> buttonWithTag(int tag);

  int currentItemTag_ = kFirstItemTag;
};
