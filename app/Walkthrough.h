#pragma once
// A headless walk through a learner's day against the configured server, printing what it did: the
// launch-time migration, sign-in with the module menu and its badges, the first sync of the learner's
// courses, the catalogue, selecting a course, downloading a unit, a recorded study stretch, the sync
// that sends it and signing out. It is what the app
// shows until its screens exist; scripts/run runs it against the stand-in with the demo data.
//
// Threads: the main thread, after start-up; it runs the main loop while transfers and the sync go on.

#include <memory>
#include <string>

#include "app/model/cms/CourseViewInfo.h"
#include "app/model/cms/ScoViewInfo.h"
#include "core/open/ServiceDelegate.h"

class Walkthrough {
 public:
  Walkthrough(std::string loginName, std::string password, std::string corpCode);

  // 0 when every step did what it should; 1 after the first step that did not.
  int run();

 private:
  bool migrate();
  bool signIn();
  bool showMenu();
  bool browseCatalogue();
  bool selectCourse();
  bool downloadUnit();
  bool studyStretch();
  // label: why the sync runs now.
  bool sync(const char* label);
  void signOut();

  const std::string loginName_;
  const std::string password_;
  const std::string corpCode_;
  const std::shared_ptr<ServiceDelegate> delegate_;
  std::shared_ptr<CourseViewInfo> course_;
  std::shared_ptr<ScoViewInfo> unit_;
};
