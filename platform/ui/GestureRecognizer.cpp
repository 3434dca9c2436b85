#include "platform/ui/GestureRecognizer.h"

#include <algorithm>

#include "platform/ui/Touch.h"
#include "platform/ui/TouchDispatcher.h"
#include "platform/ui/View.h"

namespace pf {

GestureRecognizer::GestureRecognizer() = default;

GestureRecognizer::~GestureRecognizer() = default;

void GestureRecognizer::addTarget(std::weak_ptr<void> target, Action action) {
  targets_.push_back({std::move(target), true, std::move(action)});
}

void GestureRecognizer::addTarget(Action action) {
  targets_.push_back({{}, false, std::move(action)});
}

void GestureRecognizer::removeTargets(const void* target) {
  std::erase_if(targets_, [&](const Target& t) { return t.hasTarget && t.target.lock().get() == target; });
}

void GestureRecognizer::setEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (enabled) return;
  // Switching off ends what is under way: a running gesture is cancelled, a possible one fails.
  if (state_ == State::Began || state_ == State::Changed) {
    setState(State::Cancelled);
  } else if (state_ == State::Possible) {
    pending_.reset();
    setState(State::Failed);
  }
  touches_.clear();
  TouchDispatcher::shared().recognizerChanged(*this);
}

void GestureRecognizer::requireGestureRecognizerToFail(const std::shared_ptr<GestureRecognizer>& other) {
  if (other && other.get() != this) failureRequirements_.push_back(other);
}

Point GestureRecognizer::locationInView(const View* view) const {
  if (touches_.empty())
    return view ? view->convertPointFromView(lastWindowLocation_, nullptr) : lastWindowLocation_;
  double x = 0, y = 0;
  for (const auto& touch : touches_) {
    const Point p = touch->locationInView(view);
    x += p.x;
    y += p.y;
  }
  const double n = static_cast<double>(touches_.size());
  return {x / n, y / n};
}

Point GestureRecognizer::locationOfTouch(size_t index, const View* view) const {
  if (index >= touches_.size()) return {};
  return touches_[index]->locationInView(view);
}

void GestureRecognizer::setView(const std::shared_ptr<View>& view) {
  if (view_.lock() == view) return;
  const bool leaving = !view_.expired() || !view;
  view_ = view;
  if (!leaving) return;
  // Taken off its view: stop without further actions.
  if (state_ != State::Possible || pending_) {
    pending_.reset();
    state_ = State::Cancelled;
  }
  touches_.clear();
  TouchDispatcher::shared().forget(*this);
  reset();
}

void GestureRecognizer::touchesCancelled(const TouchSet&, const Event&) {
  if (state_ == State::Began || state_ == State::Changed) {
    setState(State::Cancelled);
  } else if (state_ == State::Possible) {
    setState(State::Failed);
  }
}

void GestureRecognizer::reset() {
  state_ = State::Possible;
  pending_.reset();
}

void GestureRecognizer::setState(State state) {
  switch (state) {
    case State::Possible:
      return;
    case State::Began:
    case State::Ended:
      if (state_ == State::Possible) {
        // Recognising waits on the dispatcher: failure requirements, the delegate, rivals.
        pending_ = state;
        break;
      }
      if (state == State::Ended && (state_ == State::Began || state_ == State::Changed)) {
        state_ = state;
        sendActions();
      }
      break;
    case State::Changed:
      if (state_ == State::Began || state_ == State::Changed) {
        state_ = state;
        sendActions();
      }
      break;
    case State::Cancelled:
      if (state_ == State::Began || state_ == State::Changed) {
        state_ = state;
        sendActions();
      }
      break;
    case State::Failed:
      if (state_ == State::Possible) {
        pending_.reset();
        state_ = state;
      }
      break;
  }
  TouchDispatcher::shared().recognizerChanged(*this);
}

void GestureRecognizer::ignoreTouch(const std::shared_ptr<Touch>& touch) {
  std::erase(touches_, touch);
}

void GestureRecognizer::sendActions() {
  auto keep = sharedAs<GestureRecognizer>();
  const auto targets = targets_;
  for (const auto& target : targets) {
    if (target.hasTarget && target.target.expired()) continue;
    auto alive = target.target.lock();
    target.action(*this);
  }
}

}  // namespace pf
