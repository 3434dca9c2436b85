#include "ui/grid/GridViewAdditions.h"

#include <limits>
#include <memory>
#include <vector>

#include "platform/ui/BasicAnimation.h"
#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/Layer.h"
#include "platform/ui/View.h"

void GridViewAdditions::shakeStatus(pf::View& view, bool on) {
  const auto& layer = view.layer();
  if (!on) {
    layer->removeAnimationForKey(kShakeAnimationKey);
    return;
  }
  auto shake = pf::BasicAnimation::make("transform");
  shake->duration = kShakeDuration;
  shake->autoreverses = true;
  shake->repeatCount = std::numeric_limits<float>::max();
  shake->removedOnCompletion = false;
  shake->fromValue = layer->transform().rotated(-kShakeAngle);
  shake->toValue = layer->transform().rotated(kShakeAngle);
  layer->addAnimation(shake, kShakeAnimationKey);
}

void GridViewAdditions::recursiveEnumerateSubviewsUsingBlock(pf::View& view, const SubviewVisitor& block) {
  // A copy: the block may move views around.
  const std::vector<std::shared_ptr<pf::View>> subviews = view.subviews();
  for (const auto& subview : subviews) {
    bool stop = false;
    block(*subview, stop);
    if (stop) return;
    recursiveEnumerateSubviewsUsingBlock(*subview, block);
  }
}

void GridViewAdditions::end(pf::GestureRecognizer& recognizer) {
  const bool enabled = recognizer.isEnabled();
  recognizer.setEnabled(false);
  recognizer.setEnabled(enabled);
}

bool GridViewAdditions::hasRecognizedValidGesture(const pf::GestureRecognizer& recognizer) {
  const auto state = recognizer.state();
  return state == pf::GestureRecognizer::State::Began || state == pf::GestureRecognizer::State::Changed;
}
