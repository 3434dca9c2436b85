#pragma once
// What a screen asks of its module root: to open the side menu of modules.

class BaseViewDelegate {
 public:
  virtual ~BaseViewDelegate() = default;
  // Optional: answers whether the menu was shown (the default shows nothing and answers false, so the
  // screen toggles its side panel itself).
  virtual bool showAppNavigatorView() { return false; }
};
