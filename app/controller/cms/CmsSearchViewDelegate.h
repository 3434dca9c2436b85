#pragma once
// How the search tab asks the course module's root to unlock or lock the side menu.

class CmsSearchViewDelegate {
 public:
  virtual ~CmsSearchViewDelegate() = default;
  virtual void enableAppNavigator() = 0;
  virtual void disableAppNavigator() = 0;
};
