#pragma once
// How the all-courses tab asks the course module's root to unlock or lock the side menu.

class AllCourseViewDelegate {
 public:
  virtual ~AllCourseViewDelegate() = default;
  virtual void enableAppNavigatorView() = 0;
  virtual void disableAppNavigatorView() = 0;
};
