#pragma once
// `marlune --tour DIR`: launches the app without a window on the configured screen profile, walks the
// learner's journey against the configured server and pictures every step (ScreenTour) into
// DIR/<profile>/, with the contact sheet DIR/index.html. Prints one line per finding and per step
// that went wrong, then where the sheet is; answers 0 only when nothing was found. The app delegate
// and the screens must be registered first. Main thread only.

#include <string>

class TourCommand {
 public:
  static int run(const std::string& folder);
};
