#include "platform/ui/Animation.h"

#include <algorithm>
#include <cmath>

namespace pf {

double Animation::activeDuration() const {
  const double cycle = duration * (autoreverses ? 2 : 1);
  if (std::isinf(repeatCount)) return std::numeric_limits<double>::infinity();
  return cycle * std::max(1.0, static_cast<double>(repeatCount));
}

double Animation::endTime() const {
  const double pace = speed > 0 ? speed : 1;
  return beginTime + activeDuration() / pace;
}

std::optional<double> Animation::progressAt(double now) const {
  const double local = (now - beginTime) * (speed > 0 ? speed : 1);
  const auto paced = [&](double fraction) {
    return timingFunction ? timingFunction->progress(fraction) : fraction;
  };
  if (local < 0) {
    if (fillMode == FillMode::Backwards || fillMode == FillMode::Both) return paced(0);
    return std::nullopt;
  }
  if (duration <= 0) {
    if (fillMode == FillMode::Forwards || fillMode == FillMode::Both) return paced(autoreverses ? 0 : 1);
    return std::nullopt;
  }
  if (local >= activeDuration()) {
    if (fillMode == FillMode::Forwards || fillMode == FillMode::Both) return paced(autoreverses ? 0 : 1);
    return std::nullopt;
  }
  double within = std::fmod(local, duration * (autoreverses ? 2 : 1));
  if (autoreverses && within >= duration) within = 2 * duration - within;
  return paced(within / duration);
}

}  // namespace pf
