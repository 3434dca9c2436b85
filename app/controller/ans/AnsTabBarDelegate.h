#pragma once
// What a Q&A action bar tells the screen under it: a completed tap on an item, by item index (0 for
// the first). Both operations are optional.

class AnsTabBarDelegate {
 public:
  virtual ~AnsTabBarDelegate() = default;
  // The tapped item was highlighted when the tap ended.
  virtual void ansTabBarDidSelectedItemAtIndex(int index) { (void)index; }
  virtual void ansTabBarDidDeSelectedItemAtIndex(int index) { (void)index; }
};
