#pragma once
// What the people lists of the module share: the height of a person's row, the face shown in it (the
// placeholder when the person has none, so a reused row keeps no other face), and the profile a chosen
// row opens.
//
// Main thread only; the profile look-up blocks it for one server call.

#include <memory>
#include <optional>
#include <string>

namespace pf {
class ImageView;
class ViewController;
}  // namespace pf
class BlgUserService;

class BlgUserRows {
 public:
  static constexpr double kRowHeight = 55;
  static constexpr char kFacePlaceholder[] = "BLG_BASE_user_def_s.png";

  // 55 points on a phone; screen height / 480 x 55 on a tablet.
  static double rowHeight();
  static void showFace(const std::shared_ptr<pf::ImageView>& view, const std::optional<std::string>& faceUrl);
  // Looks the user up and pushes the profile (back button, bottom bar hidden, the module root handed
  // on) on the list's navigation controller; false when nothing was pushed.
  static bool openProfile(pf::ViewController& list, BlgUserService& users, const std::optional<std::string>& userId,
                          const std::weak_ptr<pf::ViewController>& parent);
};
