#pragma once
// Takes the pictures of a tour: after each step of a walk through the app it renders the key window to
// <folder>/<profile>/NN-step.png, inspects what shows (ScreenInspector, with the picture names missed
// during the step) and, at the end, writes the shots and the contact sheet (ContactSheet). Each
// finding becomes a line "profile  step  class  what". Main thread only.

#include <memory>
#include <string>
#include <vector>

#include "app/tour/ContactSheet.h"
#include "app/tour/ScreenFinding.h"

namespace pf {
class ViewController;
class Window;
}  // namespace pf

class ScreenTour {
 public:
  ScreenTour(std::string folder, std::string profile);

  // Pictures and inspects the window after the step (the key window when none is given); screen is
  // the controller on top, whose class goes under the picture. Prints a line of progress and brings
  // the sheet up to date, so a walk that stops half-way leaves what it saw.
  void shoot(const std::string& step, const std::shared_ptr<pf::ViewController>& screen,
             const std::shared_ptr<pf::Window>& window);
  // Writes the shots and the contact sheet; answers the sheet's path, or "" when it could not be written.
  std::string finish();

  const std::vector<ContactSheet::Shot>& shots() const { return section_.shots; }
  // One line per finding: "profile  step  class  what"; a picture that could not be written is one.
  const std::vector<std::string>& findingLines() const { return lines_; }

  // A file name for the step: its number and the step with every byte but letters, digits, '-' and '_'
  // made '-'.
  static std::string pictureName(std::size_t number, const std::string& step);

 private:
  std::string folder_;
  ContactSheet::Section section_;
  std::vector<std::string> lines_;
};
