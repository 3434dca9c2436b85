#pragma once
// What a screen reader would read of a view (label, hint, frame on the screen, whether it hides its
// siblings as a modal element) and the announcements the app posts for it. We have no screen reader:
// the values are kept for the views that set them and the announcements are recorded in order, so
// tests can read what a user of one would have heard. Main thread only.

#include <optional>
#include <string>
#include <vector>

#include "platform/graphics/Rect.h"

namespace pf {

class View;

class Accessibility {
 public:
  // The platform's announcement kinds.
  enum class Notification { ScreenChanged, LayoutChanged, Announcement };
  struct Posted {
    Notification kind;
    std::optional<std::string> argument;
  };

  static std::optional<std::string> label(const View& view);
  static void setLabel(const View& view, std::optional<std::string> label);
  static std::optional<std::string> hint(const View& view);
  static void setHint(const View& view, std::optional<std::string> hint);
  // In window coordinates; none until set.
  static std::optional<Rect> frame(const View& view);
  static void setFrame(const View& view, std::optional<Rect> frame);
  static bool viewIsModal(const View& view);
  static void setViewIsModal(const View& view, bool modal);

  static void post(Notification kind, std::optional<std::string> argument = std::nullopt);
  static const std::vector<Posted>& posted();
  // How many of that kind were posted since the last reset.
  static size_t count(Notification kind);
  static void reset();
};

}  // namespace pf
