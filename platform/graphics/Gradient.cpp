#include "platform/graphics/Gradient.h"

namespace pf {

Gradient::Gradient(std::vector<Color> colors, std::vector<double> locations) {
  const std::size_t n = colors.size();
  for (std::size_t i = 0; i < n; ++i) {
    double location = n == 1 ? 0 : static_cast<double>(i) / static_cast<double>(n - 1);
    if (!locations.empty()) {
      if (i >= locations.size()) break;
      location = locations[i];
    }
    stops_.push_back({location, colors[i]});
  }
}

}  // namespace pf
