#pragma once
// How the my-courses tab asks the course module's root to unlock or lock the side menu.

class MyCourseViewDelegate {
 public:
  virtual ~MyCourseViewDelegate() = default;
  virtual void appNavigatorViewEnable() = 0;
  virtual void appNavigatorViewDisable() = 0;
};
