#pragma once
// Looks at a screen the way a reviewer does and names what is plainly wrong on it: an alert or a text
// box left showing (with its text), a list or grid that shows no rows, a label whose text does not fit
// its frame (the text layout is asked whether all of it fits in the lines the label may show), a
// button whose title never got a place to show, and pictures asked for by a name the bundle does not
// hold. Only what shows counts: hidden or transparent subtrees and views outside the window or a
// clipping ancestor are passed over. Main thread only.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/tour/ScreenFinding.h"

namespace pf {
class Label;
class View;
}  // namespace pf

class ScreenInspector {
 public:
  // The findings on the tree under root (a window, or any view), in depth-first order, then one per
  // picture name in missedPictures.
  static std::vector<ScreenFinding> inspect(const std::shared_ptr<pf::View>& root,
                                            const std::vector<std::string>& missedPictures = {});
  // Why the label's text is cut by its frame, or nullopt when all of it shows.
  static std::optional<std::string> cutText(const pf::Label& label);
};
