#include "platform/graphics/NamedColors.h"

#include <array>
#include <utility>

namespace pf {

std::optional<Color> NamedColors::byMethodName(std::string_view methodName) {
  using Maker = Color (*)();
  static constexpr std::array<std::pair<std::string_view, Maker>, 18> kNamed{{
      {"clearColor", &Color::clear},
      {"blackColor", &Color::black},
      {"darkGrayColor", &Color::darkGray},
      {"lightGrayColor", &Color::lightGray},
      {"whiteColor", &Color::white},
      {"grayColor", &Color::gray},
      {"redColor", &Color::red},
      {"greenColor", &Color::green},
      {"blueColor", &Color::blue},
      {"cyanColor", &Color::cyan},
      {"yellowColor", &Color::yellow},
      {"magentaColor", &Color::magenta},
      {"orangeColor", &Color::orange},
      {"purpleColor", &Color::purple},
      {"brownColor", &Color::brown},
      {"lightTextColor", &Color::lightText},
      {"darkTextColor", &Color::darkText},
      {"groupTableViewBackgroundColor", &Color::groupTableViewBackground},
  }};
  for (const auto& [name, make] : kNamed) {
    if (name == methodName) return make();
  }
  return std::nullopt;
}

}  // namespace pf
