#pragma once
// What the people lists of the module share: the height of a person's row, the face shown in it (the
// placeholder when the person has none, so a reused row keeps no other face), and the rows of a page.
//
// Main thread only.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Value.h"

namespace pf {
class ImageView;
}
class BlogUser;

class BlgUserRows {
 public:
  static constexpr double kRowHeight = 55;
  static constexpr char kFacePlaceholder[] = "BLG_BASE_user_def_s.png";

  // 55 points on a phone; screen height / 480 x 55 on a tablet.
  static double rowHeight();
  static void showFace(const std::shared_ptr<pf::ImageView>& view, const std::optional<std::string>& faceUrl);
  static std::vector<std::shared_ptr<BlogUser>> usersOf(const pf::ArrayPtr& rows);
};
